#pragma once

#include <QWidget>

class QTextLayout;

// Plain text that wraps onto as many lines as its width needs, breaking inside a word when a word alone is
// wider than the line, so a long unbroken text (an address, a code) never widens the row that shows it.
// Drawn in the palette's window-text colour and the widget's font (strike-out included), centred vertically
// when the widget is taller than the text, so the whole height of a row's text column can take clicks.
class WrappedText final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WrappedText)

public:
    explicit WrappedText(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Lays the text out in lines of `width` and returns the height they take.
    qreal layOut(QTextLayout &layout, qreal width) const;

    QString m_text;
};

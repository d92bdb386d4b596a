// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QTextLayout>
#include <QWidget>

#include <memory>
#include <optional>

// Plain text that wraps onto as many lines as its width needs, up to eight, breaking inside a word when a word
// alone is wider than the line, so a long unbroken text (an address, a code) never widens the row that shows
// it. A text that needs more lines ends its eighth in an ellipsis, and its tooltip holds the whole text.
// Drawn in the palette's window-text colour and the widget's font (strike-out included), centred vertically
// when the widget is taller than the text, so the whole height of a row's text column can take clicks.
class WrappedText final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WrappedText)

public:
    explicit WrappedText(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // Whether the text is cut short at the current width.
    bool isElided() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A single left click, released on the text within the drag distance of its press. The press itself goes
    // on to the parents: a row's drag-to-reorder watches it, and a press that turned into a drag is not a click.
    void clicked();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    struct Lines {
        std::unique_ptr<QTextLayout> layout;
        qreal width = -1.0;
        qreal height = 0.0;
        bool isElided = false;
    };

    // The text laid out in lines of `width`, kept until the text, the font or the width changes: the paint
    // that follows a measurement draws the lines it shaped, and a text that fits on one line is shaped once for
    // its natural size, its height and its paint. One layout at a time, so a row holds no more than its own
    // paint would.
    const QTextLayout &layOut(qreal width) const;
    Lines linesFor(qreal lineWidth) const;
    bool fitsOnOneLine(const Lines &natural) const;
    qreal layOutLines(QTextLayout &layout, qreal lineWidth) const;
    qreal shownHeight(qreal linesHeight) const;
    void invalidateLayout();

    QString m_text;
    mutable Lines m_lines;
    // The size on one unlimited line, kept apart from the layout: layouts ask for it between measurements at
    // the row's width, and asking the one kept layout made every such question lay the text out again.
    mutable std::optional<QSize> m_naturalSize;
    // Heights already measured, by width: layouts ask at more than one width in turn.
    mutable QHash<int, int> m_heights;

    bool m_isPressed = false;
    QPoint m_pressPosition;
};

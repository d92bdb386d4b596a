// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QWidget>

#include <optional>

// "N of M" with monospaced digits: every digit takes the width of the widest one, so the label keeps its
// width while a number changes to another of the same length.
class CountLabel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CountLabel)

public:
    explicit CountLabel(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setCount(qsizetype done, qsizetype total);
    void setColor(const QColor &color);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    qreal digitAdvance() const;
    qreal textWidth() const;

    QString m_text;
    QColor m_color;
    // Measured once per font: the header asks for the size several times in one layout.
    mutable std::optional<qreal> m_digitAdvance;
};

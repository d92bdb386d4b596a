// SPDX-License-Identifier: GPL-3.0-or-later

#include "countlabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

// The text cut into runs of digits and runs of everything else; the words keep their own spacing and kerning.
QStringList runs(const QString &text)
{
    QStringList runs;
    for (QChar c : text) {
        if (runs.isEmpty() || runs.constLast().front().isDigit() != c.isDigit())
            runs.append(QString());
        runs.last().append(c);
    }
    return runs;
}

} // namespace

CountLabel::CountLabel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CountLabel::setCount(qsizetype done, qsizetype total)
{
    const QString text = tr("%1 of %2").arg(done).arg(total);
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(tr("%1 of %2 done").arg(done).arg(total));
    updateGeometry();
    update();
}

void CountLabel::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize CountLabel::sizeHint() const
{
    return { int(std::ceil(textWidth())), int(std::ceil(QFontMetricsF(font()).height())) };
}

void CountLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_digitAdvance.reset();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

qreal CountLabel::digitAdvance() const
{
    if (!m_digitAdvance) {
        const QFontMetricsF metrics(font());
        qreal widest = 0;
        for (char16_t digit = u'0'; digit <= u'9'; ++digit)
            widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
        m_digitAdvance = widest;
    }
    return *m_digitAdvance;
}

qreal CountLabel::textWidth() const
{
    const QFontMetricsF metrics(font());
    const qreal digit = digitAdvance();
    qreal width = 0;
    for (const QString &run : runs(m_text))
        width += run.front().isDigit() ? digit * run.size() : metrics.horizontalAdvance(run);
    return width;
}

void CountLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_color);
    const QFontMetricsF metrics(font());
    const qreal digit = digitAdvance();
    const qreal baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    qreal x = width() - textWidth();
    for (const QString &run : runs(m_text)) {
        if (!run.front().isDigit()) {
            painter.drawText(QPointF(x, baseline), run);
            x += metrics.horizontalAdvance(run);
            continue;
        }
        // Each digit is centred in a cell of the widest digit's advance.
        for (QChar c : run) {
            painter.drawText(QPointF(x + (digit - metrics.horizontalAdvance(c)) / 2, baseline), QString(c));
            x += digit;
        }
    }
}

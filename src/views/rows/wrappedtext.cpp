#include "wrappedtext.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>
#include <limits>

WrappedText::WrappedText(QWidget *parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappedText::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

int WrappedText::heightForWidth(int width) const
{
    QTextLayout layout;
    return int(std::ceil(layOut(layout, width)));
}

QSize WrappedText::sizeHint() const
{
    QTextLayout layout;
    const qreal height = layOut(layout, std::numeric_limits<int>::max() / 2);
    return {int(std::ceil(layout.maximumWidth())), int(std::ceil(height))};
}

QSize WrappedText::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.averageCharWidth(), metrics.height()};
}

void WrappedText::paintEvent(QPaintEvent *)
{
    QTextLayout layout;
    const qreal textHeight = layOut(layout, width());
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    layout.draw(&painter, QPointF(0, std::round((height() - textHeight) / 2.0)));
}

qreal WrappedText::layOut(QTextLayout &layout, qreal width) const
{
    // A stored text may hold line breaks; they break the line here as they would in a label.
    QString text = m_text;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    layout.setText(text);
    layout.setFont(font());
    QTextOption option(Qt::AlignLeading);
    option.setTextDirection(layoutDirection());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);

    const qreal lineWidth = std::max<qreal>(width, 1.0);
    qreal height = 0.0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0.0, height));
        height += line.height();
    }
    layout.endLayout();
    return std::max<qreal>(height, fontMetrics().height());
}

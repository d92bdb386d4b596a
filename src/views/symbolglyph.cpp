#include "symbolglyph.h"

#include <QPainter>

namespace {

constexpr int FrameSize = 22;
// The square outline matches the checkbox's empty square, so the new-goal row lines up with the goals above it.
constexpr qreal SquareSide = 14.0;
constexpr qreal SquareRadius = 3.5;
constexpr qreal SquareStroke = 1.3;
// The plus of a 12-point semibold symbol.
constexpr qreal PlusArm = 10.0;
constexpr qreal PlusStroke = 1.8;

} // namespace

SymbolGlyph::SymbolGlyph(Symbol symbol, QWidget *parent)
    : QWidget(parent)
    , m_symbol(symbol)
{
    setFixedSize(FrameSize, FrameSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolGlyph::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize SymbolGlyph::sizeHint() const
{
    return {FrameSize, FrameSize};
}

void SymbolGlyph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    switch (m_symbol) {
    case Symbol::Square: {
        painter.setPen(QPen(m_color, SquareStroke));
        painter.setBrush(Qt::NoBrush);
        const qreal side = SquareSide - SquareStroke;
        painter.drawRoundedRect(QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side), SquareRadius,
                                SquareRadius);
        break;
    }
    case Symbol::Plus:
        painter.setPen(QPen(m_color, PlusStroke, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(centre.x() - PlusArm / 2, centre.y()), QPointF(centre.x() + PlusArm / 2, centre.y()));
        painter.drawLine(QPointF(centre.x(), centre.y() - PlusArm / 2), QPointF(centre.x(), centre.y() + PlusArm / 2));
        break;
    }
}

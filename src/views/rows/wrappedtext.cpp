#include "wrappedtext.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <cmath>
#include <limits>

namespace
{

constexpr qreal UnlimitedWidth = std::numeric_limits<int>::max() / 2;
// Qt lays out an unbroken run of characters in time that grows with the square of its length, so a huge
// text sent from another program would freeze the panel. Only this much is drawn, followed by an ellipsis;
// the stored goal keeps its whole text.
constexpr qsizetype MaxShownCharacters = 10000;

QString shownText(const QString &text)
{
    if (text.size() <= MaxShownCharacters)
        return text;
    qsizetype end = MaxShownCharacters;
    if (text.at(end - 1).isHighSurrogate())
        --end;
    return text.first(end) + QChar(0x2026);
}

} // namespace

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
    invalidateLayout();
    updateGeometry();
    update();
}

int WrappedText::heightForWidth(int width) const
{
    if (const auto known = m_heights.constFind(width); known != m_heights.cend())
        return *known;
    const bool isPaintLayout = m_layout && m_layoutWidth == std::max<qreal>(width, 1.0);
    layOut(width);
    const int height = int(std::ceil(layoutHeight()));
    m_heights.insert(width, height);
    if (!isPaintLayout)
        releaseLayout();
    return height;
}

QSize WrappedText::sizeHint() const
{
    if (!m_naturalSize) {
        const QTextLayout &layout = layOut(UnlimitedWidth);
        m_naturalSize = QSize(int(std::ceil(layout.maximumWidth())), int(std::ceil(layoutHeight())));
        releaseLayout();
    }
    return *m_naturalSize;
}

QSize WrappedText::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return { metrics.averageCharWidth(), metrics.height() };
}

void WrappedText::paintEvent(QPaintEvent *)
{
    const QTextLayout &layout = layOut(width());
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    layout.draw(&painter, QPointF(0, std::round((height() - layoutHeight()) / 2.0)));
}

void WrappedText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutDirectionChange)
        invalidateLayout();
    QWidget::changeEvent(event);
}

void WrappedText::releaseLayout() const
{
    m_layout.reset();
    m_layoutWidth = -1.0;
}

void WrappedText::invalidateLayout()
{
    releaseLayout();
    m_naturalSize.reset();
    m_heights.clear();
}

qreal WrappedText::layoutHeight() const
{
    return std::max<qreal>(m_layoutHeight, fontMetrics().height());
}

const QTextLayout &WrappedText::layOut(qreal width) const
{
    const qreal lineWidth = std::max<qreal>(width, 1.0);
    if (m_layout && m_layoutWidth == lineWidth)
        return *m_layout;

    // A stored text may hold line breaks; they break the line here as they would in a label.
    QString text = shownText(m_text);
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    m_layout = std::make_unique<QTextLayout>(text, font());
    QTextOption option(Qt::AlignLeading);
    option.setTextDirection(layoutDirection());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);

    qreal height = 0.0;
    m_layout->beginLayout();
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0.0, height));
        height += line.height();
    }
    m_layout->endLayout();
    m_layoutWidth = lineWidth;
    m_layoutHeight = height;
    return *m_layout;
}

void WrappedText::mousePressEvent(QMouseEvent *event)
{
    m_isPressed = event->button() == Qt::LeftButton;
    m_pressPosition = event->position().toPoint();
    event->ignore();
}

void WrappedText::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_isPressed = false;
    event->ignore();
}

void WrappedText::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    const bool isClick = m_isPressed && event->button() == Qt::LeftButton && rect().contains(position)
        && (position - m_pressPosition).manhattanLength() < QApplication::startDragDistance();
    m_isPressed = false;
    event->ignore();
    if (isClick)
        emit clicked();
}

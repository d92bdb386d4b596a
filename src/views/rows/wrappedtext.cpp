// SPDX-License-Identifier: GPL-3.0-or-later

#include "wrappedtext.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace
{

constexpr qreal UnlimitedWidth = std::numeric_limits<int>::max() / 2;
// Eliding works in 26.6 fixed point, which an unlimited width overflows; no line is ever this wide.
constexpr int WidestElidedLine = 1 << 20;
// A row stays small enough that its checkbox and delete glyph are within reach, whatever its text.
constexpr int MaxShownLines = 8;
// Qt shapes a whole unbroken run of characters to break even its first line, in time that grows faster than
// its length, so a huge text sent from another program would freeze the panel at every layout. Eight lines
// of a row never hold this much; only this much is laid out, and the stored goal keeps its whole text.
constexpr qsizetype MaxShownCharacters = 2000;
// A tooltip lays out all it holds each time it shows; past this it ends in an ellipsis (the editor holds all).
constexpr qsizetype MaxToolTipCharacters = 4000;
constexpr QChar Ellipsis(0x2026);

// At most `length` characters of `text`, never splitting a surrogate pair.
QString head(const QString &text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.first(length);
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
    invalidateLayout();
    updateGeometry();
    update();
}

bool WrappedText::isElided() const
{
    layOut(width());
    return m_lines.isElided;
}

int WrappedText::heightForWidth(int width) const
{
    if (const auto known = m_heights.constFind(width); known != m_heights.cend())
        return *known;
    layOut(width);
    const int height = int(std::ceil(shownHeight(m_lines.height)));
    m_heights.insert(width, height);
    return height;
}

QSize WrappedText::sizeHint() const
{
    if (!m_naturalSize) {
        Lines natural = linesFor(UnlimitedWidth);
        m_naturalSize
            = QSize(int(std::ceil(natural.layout->maximumWidth())), int(std::ceil(shownHeight(natural.height))));
        if (!m_lines.layout && fitsOnOneLine(natural))
            m_lines = std::move(natural);
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
    layout.draw(&painter, QPointF(0, std::round((height() - shownHeight(m_lines.height)) / 2.0)));
}

bool WrappedText::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        // Built only when asked for: a long list must not hold a second copy of every text. Rich text, so that
        // the tooltip wraps a long line instead of running off the screen.
        if (isElided()) {
            QString text = head(m_text, MaxToolTipCharacters);
            if (text.size() < m_text.size())
                text += Ellipsis;
            const QString html = u"<p style='white-space:pre-wrap'>"_s + text.toHtmlEscaped() + u"</p>"_s;
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), html, this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void WrappedText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutDirectionChange)
        invalidateLayout();
    QWidget::changeEvent(event);
}

void WrappedText::invalidateLayout()
{
    m_lines = {};
    m_naturalSize.reset();
    m_heights.clear();
}

qreal WrappedText::shownHeight(qreal linesHeight) const
{
    return std::max<qreal>(linesHeight, fontMetrics().height());
}

const QTextLayout &WrappedText::layOut(qreal width) const
{
    const qreal lineWidth = std::max<qreal>(width, 1.0);
    const bool isKept = m_lines.layout
        && (m_lines.width == lineWidth || (m_lines.width == UnlimitedWidth && lineWidth >= m_naturalSize->width()));
    if (!isKept)
        m_lines = linesFor(lineWidth);
    return *m_lines.layout;
}

bool WrappedText::fitsOnOneLine(const Lines &natural) const
{
    // Left to right, one line starts at the left edge however wide its row: the text's size on one unlimited
    // line is then also the layout that a row wide enough for it paints.
    return layoutDirection() == Qt::LeftToRight && natural.layout->lineCount() == 1 && !natural.isElided;
}

WrappedText::Lines WrappedText::linesFor(qreal lineWidth) const
{
    // A stored text may hold line breaks; they break the line here as they would in a label.
    QString text = head(m_text, MaxShownCharacters);
    const bool isCut = text.size() < m_text.size();
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    Lines lines { std::make_unique<QTextLayout>(text, font()), lineWidth };
    lines.height = layOutLines(*lines.layout, lineWidth);

    const QTextLine last = lines.layout->lineAt(lines.layout->lineCount() - 1);
    lines.isElided = isCut || (last.isValid() && last.textStart() + last.textLength() < text.size());
    if (lines.isElided) {
        // The last line shown ends in an ellipsis: laid out once more with the line cut to fit, so that the
        // lines above it stay as they were.
        QString lastLine = text.sliced(last.textStart(), last.textLength());
        while (!lastLine.isEmpty() && (lastLine.back().isSpace() || lastLine.back() == QChar::LineSeparator))
            lastLine.chop(1);
        lastLine = QFontMetrics(font()).elidedText(
            lastLine + Ellipsis, Qt::ElideRight, int(std::min<qreal>(lineWidth, WidestElidedLine)));
        lines.layout = std::make_unique<QTextLayout>(text.first(last.textStart()) + lastLine, font());
        lines.height = layOutLines(*lines.layout, lineWidth);
    }
    return lines;
}

qreal WrappedText::layOutLines(QTextLayout &layout, qreal lineWidth) const
{
    QTextOption option(Qt::AlignLeading);
    option.setTextDirection(layoutDirection());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);

    qreal height = 0.0;
    layout.beginLayout();
    // Never a line more: the layout would put all the rest of the text on it.
    for (int i = 0; i < MaxShownLines; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0.0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
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

#include "panelheader.h"

#include "countlabel.h"
#include "symbolglyph.h"
#include "rows/glyphbutton.h"
#include "rows/hierarchicalcolors.h"
#include "rows/inlineediting.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QLineF>
#include <QMouseEvent>

#include <algorithm>

namespace {

constexpr int MinimumHeight = 30;
constexpr int LeadingPadding = 6;
constexpr int Spacing = 6;
// The flexible space between the title and the items on the right never shrinks below this.
constexpr int SpacerMinimum = 8;
constexpr qreal AddGlyphPointSize = 12;
// A header drag moves the window only once the pointer has travelled this far, so clicks stay clicks.
constexpr qreal DragThreshold = 10;
// The subheadline text style is this fraction of the body size; the headline is the body size, semibold.
constexpr qreal SubheadlineScale = 11.0 / 13.0;
// The system's usual warning amber: noticeable beside the grey text without shouting.
constexpr QColor WarningColor(0xd9, 0x82, 0x1e);

QFont headlineFont(QFont font)
{
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont subheadlineFont(QFont font)
{
    font.setPointSizeF(font.pointSizeF() * SubheadlineScale);
    return font;
}

} // namespace

PanelHeader::PanelHeader(Callbacks callbacks, QWidget *parent)
    : QWidget(parent)
    , m_callbacks(std::move(callbacks))
    , m_title(new QLabel(this))
    , m_count(new CountLabel(this))
    , m_saveWarning(new SymbolGlyph(SymbolGlyph::Symbol::Warning, this))
    , m_addButton(new GlyphButton(GlyphButton::Glyph::Plus, AddGlyphPointSize, this))
    , m_addButtonOpacity(new QGraphicsOpacityEffect(this))
{
    // The title is the user's text, never markup.
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_title->setFont(headlineFont(font()));
    m_count->setFont(subheadlineFont(font()));
    m_count->hide();
    m_saveWarning->setColor(WarningColor);
    // The glyph takes no clicks, but it must see the pointer to show its tooltip; presses still reach the
    // header behind it, which moves the window.
    m_saveWarning->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    m_saveWarning->hide();

    m_addButton->setToolTip(tr("Add goal"));
    m_addButton->setAccessibleName(tr("Add goal"));
    m_addButton->setGraphicsEffect(m_addButtonOpacity);
    m_addButton->installEventFilter(this);
    connect(m_addButton, &QAbstractButton::clicked, this, [this] {
        if (m_callbacks.onAddGoal)
            m_callbacks.onAddGoal();
    });

    setPanelHovered(false);
    setHoverFade(0.0);
}

void PanelHeader::setTitle(const QString &title)
{
    if (title == m_title->text())
        return;
    m_title->setText(title);
    updateGeometry();
    layoutItems();
}

QString PanelHeader::shownTitle() const
{
    return m_title->text();
}

void PanelHeader::setRenaming(bool renaming, const QString &draft)
{
    if (renaming) {
        if (m_titleEditor) {
            m_titleEditor->setText(draft);
            return;
        }
        m_titleEditor = new QLineEdit(draft, this);
        m_titleEditor->setObjectName(QStringLiteral("title-editor"));
        m_titleEditor->setAccessibleName(tr("Title"));
        m_titleEditor->setPlaceholderText(tr("Title"));
        m_titleEditor->setFont(headlineFont(font()));
        new InlineEditing(m_titleEditor, m_callbacks.onRenameSubmit, m_callbacks.onRenameCommit,
                          m_callbacks.onRenameCancel);
        m_title->hide();
        layoutItems();
        m_titleEditor->show();
    } else if (m_titleEditor) {
        // The editor can be inside its own focus-out or key handler here, so it is only hidden now.
        m_titleEditor->hide();
        m_titleEditor->deleteLater();
        m_titleEditor = nullptr;
        m_title->show();
        layoutItems();
    }
    updateGeometry();
}

void PanelHeader::setSaveFailure(const QString &failure)
{
    const QString reason
        = failure.isEmpty() ? QString() : tr("Your goals are not saved: %1. Mirel tries again with every change.").arg(failure);
    m_saveWarning->setToolTip(reason);
    m_saveWarning->setAccessibleName(reason);
    if (failure.isEmpty() == m_saveWarning->isHidden())
        return;
    m_saveWarning->setVisible(!failure.isEmpty());
    layoutItems();
}

void PanelHeader::setCount(qsizetype done, qsizetype total)
{
    m_count->setCount(done, total);
    const bool visible = total > 0;
    if (visible != m_count->isVisibleTo(this)) {
        m_count->setVisible(visible);
        updateGeometry();
    }
    layoutItems();
}

void PanelHeader::setPanelHovered(bool hovered)
{
    m_addButton->setAttribute(Qt::WA_TransparentForMouseEvents, !hovered);
}

void PanelHeader::setHoverFade(qreal fade)
{
    m_hoverFade = fade;
    updateAddButtonOpacity();
    applyColors();
}

void PanelHeader::updateAddButtonOpacity()
{
    // The button fades in with the pointer, and shows fully while the keyboard is on it.
    m_addButtonOpacity->setOpacity(m_addButton->hasFocus() ? 1.0 : m_hoverFade);
}

void PanelHeader::applyColors()
{
    QPalette titlePalette = m_title->palette();
    titlePalette.setColor(QPalette::WindowText,
                          HierarchicalColors::mix(HierarchicalColors::secondary(palette()),
                                                  HierarchicalColors::primary(palette()), m_hoverFade));
    m_title->setPalette(titlePalette);
    m_count->setColor(HierarchicalColors::tertiary(palette()));
}

int PanelHeader::titleWidth(int width) const
{
    int right = width - m_addButton->sizeHint().width();
    if (m_count->isVisibleTo(this))
        right -= Spacing + m_count->sizeHint().width();
    if (m_saveWarning->isVisibleTo(this))
        right -= Spacing + m_saveWarning->sizeHint().width();
    return std::max(0, right - Spacing - SpacerMinimum - Spacing - LeadingPadding);
}

int PanelHeader::heightForWidth(int width) const
{
    const int titleHeight = m_titleEditor ? m_titleEditor->sizeHint().height()
                                          : m_title->heightForWidth(titleWidth(width));
    const int countHeight = m_count->isVisibleTo(this) ? m_count->sizeHint().height() : 0;
    return std::max({MinimumHeight, titleHeight, countHeight, m_addButton->sizeHint().height()});
}

void PanelHeader::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutItems();
}

void PanelHeader::layoutItems()
{
    const int w = width();
    const int h = height();
    const auto centred = [h](int itemHeight) { return (h - itemHeight) / 2; };

    const QSize addSize = m_addButton->sizeHint();
    int right = w - addSize.width();
    m_addButton->setGeometry(right, centred(addSize.height()), addSize.width(), addSize.height());
    if (m_count->isVisibleTo(this)) {
        const QSize countSize = m_count->sizeHint();
        right -= Spacing + countSize.width();
        m_count->setGeometry(right, centred(countSize.height()), countSize.width(), countSize.height());
    }
    if (m_saveWarning->isVisibleTo(this)) {
        const QSize warningSize = m_saveWarning->sizeHint();
        right -= Spacing + warningSize.width();
        m_saveWarning->setGeometry(right, centred(warningSize.height()), warningSize.width(), warningSize.height());
    }

    const int titleW = titleWidth(w);
    if (m_titleEditor) {
        const int editorHeight = m_titleEditor->sizeHint().height();
        m_titleEditor->setGeometry(LeadingPadding, centred(editorHeight), titleW, editorHeight);
    }
    const int titleHeight = m_title->heightForWidth(titleW);
    m_title->setGeometry(LeadingPadding, centred(titleHeight), titleW, titleHeight);
}

void PanelHeader::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        m_title->setFont(headlineFont(font()));
        if (m_titleEditor)
            m_titleEditor->setFont(headlineFont(font()));
        m_count->setFont(subheadlineFont(font()));
        updateGeometry();
        layoutItems();
        break;
    case QEvent::PaletteChange:
        applyColors();
        break;
    default:
        break;
    }
}

bool PanelHeader::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_addButton) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            updateAddButtonOpacity();
            break;
        case QEvent::MouseButtonPress:
            pressForDrag(static_cast<QMouseEvent *>(event));
            // The button still gets its press: a click that stays short of the threshold is a click.
            return false;
        case QEvent::MouseMove:
            return moveForDrag(static_cast<QMouseEvent *>(event), m_addButton);
        case QEvent::MouseButtonRelease:
            releaseForDrag(static_cast<QMouseEvent *>(event));
            // The button still sees its release so that it stops looking pressed; it is no longer down, so
            // the release after a drag does not click.
            return false;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PanelHeader::mousePressEvent(QMouseEvent *event)
{
    if (pressForDrag(event))
        event->accept();
    else
        QWidget::mousePressEvent(event);
}

void PanelHeader::mouseMoveEvent(QMouseEvent *event)
{
    if (moveForDrag(event, nullptr))
        event->accept();
    else
        QWidget::mouseMoveEvent(event);
}

void PanelHeader::mouseReleaseEvent(QMouseEvent *event)
{
    if (releaseForDrag(event))
        event->accept();
    else
        QWidget::mouseReleaseEvent(event);
}

bool PanelHeader::pressForDrag(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_pressPosition = event->globalPosition();
    m_isDragging = false;
    return true;
}

bool PanelHeader::moveForDrag(const QMouseEvent *event, QWidget *source)
{
    if (!m_pressPosition || !(event->buttons() & Qt::LeftButton))
        return false;
    if (!m_isDragging) {
        if (QLineF(*m_pressPosition, event->globalPosition()).length() < DragThreshold)
            return false;
        m_isDragging = true;
        // A button that saw the press would click on release, and the window follows the pointer, so the
        // release would land on it: it is a drag now, not a press. The moves that follow are kept from it
        // (the implicit grab of the press still sends them there), so it does not go down again.
        if (auto *button = qobject_cast<QAbstractButton *>(source))
            button->setDown(false);
    }
    if (m_callbacks.onDragChanged)
        m_callbacks.onDragChanged();
    return true;
}

bool PanelHeader::releaseForDrag(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const bool wasDragging = m_isDragging;
    m_pressPosition.reset();
    m_isDragging = false;
    if (!wasDragging)
        return false;
    if (m_callbacks.onDragEnded)
        m_callbacks.onDragEnded();
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelheader.h"

#include "countlabel.h"
#include "views/kit/glyphbutton.h"
#include "views/kit/hierarchicalcolors.h"
#include "views/kit/inlineediting.h"
#include "views/kit/symbolglyph.h"
#include "windowdraghandle.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace
{

constexpr int MinimumHeight = 30;
constexpr int LeadingPadding = 6;
constexpr int Spacing = 6;
// The flexible space between the title and the items on the right never shrinks below this.
constexpr int SpacerMinimum = 8;
constexpr qreal AddGlyphPointSize = 12;
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

PanelHeader::PanelHeader(QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(this))
    , m_count(new CountLabel(this))
    , m_saveWarning(new SymbolGlyph(SymbolGlyph::Symbol::Warning, this))
    , m_syncState(new SymbolGlyph(SymbolGlyph::Symbol::Upload, this))
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
    m_syncState->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    m_syncState->hide();

    m_addButton->setToolTip(tr("Add goal"));
    m_addButton->setAccessibleName(tr("Add goal"));
    m_addButton->setGraphicsEffect(m_addButtonOpacity);
    m_addButton->installEventFilter(this);
    connect(m_addButton, &QAbstractButton::clicked, this, &PanelHeader::addGoalRequested);

    auto *drag = new WindowDragHandle(this);
    drag->watchButton(m_addButton);
    connect(drag, &WindowDragHandle::dragMoved, this, &PanelHeader::dragMoved);
    connect(drag, &WindowDragHandle::dragEnded, this, &PanelHeader::dragEnded);

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
        const auto commit = [this, editor = m_titleEditor] { emit renameCommitted(editor->text()); };
        auto *editing = new InlineEditing(m_titleEditor);
        connect(editing, &InlineEditing::submitRequested, this, commit);
        connect(editing, &InlineEditing::commitRequested, this, commit);
        connect(editing, &InlineEditing::cancelRequested, this, &PanelHeader::renameCancelled);
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
    m_saveFailure = failure.isEmpty()
        ? QString()
        : tr("Your goals are not saved: %1. Mirel tries again with every change.").arg(failure);
    updateWarning();
}

void PanelHeader::setReadNotice(const QString &notice)
{
    m_readNotice = notice;
    updateWarning();
}

void PanelHeader::setSyncState(const QString &changesWaiting, const QString &failure, const QString &notice)
{
    QStringList lines;
    if (!failure.isEmpty())
        lines.append(tr("Not synced: %1").arg(failure));
    if (!notice.isEmpty())
        lines.append(notice);
    if (!changesWaiting.isEmpty())
        lines.append(changesWaiting);
    const QString text = lines.join(u'\n');
    m_syncState->setSymbol(
        failure.isEmpty() && notice.isEmpty() ? SymbolGlyph::Symbol::Upload : SymbolGlyph::Symbol::Warning);
    m_syncState->setToolTip(text);
    m_syncState->setAccessibleName(text);
    if (text.isEmpty() == m_syncState->isHidden())
        return;
    m_syncState->setVisible(!text.isEmpty());
    updateGeometry();
    layoutItems();
}

void PanelHeader::updateWarning()
{
    QStringList reasons;
    for (const QString &reason : { m_saveFailure, m_readNotice }) {
        if (!reason.isEmpty())
            reasons.append(reason);
    }
    const QString text = reasons.join(u'\n');
    m_saveWarning->setToolTip(text);
    m_saveWarning->setAccessibleName(text);
    if (text.isEmpty() == m_saveWarning->isHidden())
        return;
    m_saveWarning->setVisible(!text.isEmpty());
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
    HierarchicalColors::setForeground(m_title, QPalette::WindowText,
        HierarchicalColors::mix(
            HierarchicalColors::secondary(palette()), HierarchicalColors::primary(palette()), m_hoverFade));
    m_count->setColor(HierarchicalColors::tertiary(palette()));
    m_syncState->setColor(HierarchicalColors::tertiary(palette()));
}

int PanelHeader::titleWidth(int width) const
{
    int right = width - m_addButton->sizeHint().width();
    if (m_count->isVisibleTo(this))
        right -= Spacing + m_count->sizeHint().width();
    for (const SymbolGlyph *glyph : { m_saveWarning, m_syncState }) {
        if (glyph->isVisibleTo(this))
            right -= Spacing + glyph->sizeHint().width();
    }
    return std::max(0, right - Spacing - SpacerMinimum - Spacing - LeadingPadding);
}

int PanelHeader::heightForWidth(int width) const
{
    const int titleHeight
        = m_titleEditor ? m_titleEditor->sizeHint().height() : m_title->heightForWidth(titleWidth(width));
    const int countHeight = m_count->isVisibleTo(this) ? m_count->sizeHint().height() : 0;
    return std::max({ MinimumHeight, titleHeight, countHeight, m_addButton->sizeHint().height() });
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
    for (SymbolGlyph *glyph : { m_syncState, m_saveWarning }) {
        if (!glyph->isVisibleTo(this))
            continue;
        const QSize glyphSize = glyph->sizeHint();
        right -= Spacing + glyphSize.width();
        glyph->setGeometry(right, centred(glyphSize.height()), glyphSize.width(), glyphSize.height());
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
    if (watched == m_addButton && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        updateAddButtonOpacity();
    return QWidget::eventFilter(watched, event);
}

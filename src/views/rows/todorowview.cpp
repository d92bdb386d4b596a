#include "todorowview.h"

#include "checkbox.h"
#include "focusring.h"
#include "glyphbutton.h"
#include "goalrow.h"
#include "hierarchicalcolors.h"
#include "inlineediting.h"
#include "wrappedtext.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <utility>

namespace
{

constexpr qreal DeleteGlyphPointSize = 10.0;

// Both run a copy: the callback may replace or remove this row, and the callbacks with it.
void run(std::function<void()> callback)
{
    if (callback)
        callback();
}

void run(std::function<void(const QString &)> callback, const QString &text)
{
    if (callback)
        callback(text);
}

void setForeground(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

TodoRowView::TodoRowView(const TodoItem &todo, bool isPanelHovered, std::function<void()> onToggle,
    std::function<void(const QString &)> onUpdateText, std::function<void()> onDelete, QWidget *parent)
    : QWidget(parent)
    , m_todo(todo)
    , m_isPanelHovered(isPanelHovered)
    , m_hoverFade(isPanelHovered ? 1.0 : 0.0)
    , m_onToggle(std::move(onToggle))
    , m_onUpdateText(std::move(onUpdateText))
    , m_onDelete(std::move(onDelete))
    , m_row(new GoalRow(this))
    , m_checkbox(new Checkbox(m_row))
    , m_text(new WrappedText(m_row))
    , m_deleteButton(new GlyphButton(GlyphButton::Glyph::XMark, DeleteGlyphPointSize, m_row))
{
    m_text->installEventFilter(this);
    m_checkbox->installEventFilter(this);
    m_deleteButton->installEventFilter(this);

    m_deleteButton->setToolTip(tr("Delete goal"));
    QSizePolicy deletePolicy = m_deleteButton->sizePolicy();
    deletePolicy.setRetainSizeWhenHidden(true);
    m_deleteButton->setSizePolicy(deletePolicy);

    QHBoxLayout *layout = m_row->contentLayout();
    layout->addWidget(m_checkbox, 0, Qt::AlignVCenter);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_deleteButton, 0, Qt::AlignVCenter);

    connect(m_checkbox, &Checkbox::clicked, this, [this] { run(m_onToggle); });
    connect(m_deleteButton, &GlyphButton::clicked, this, [this] { run(m_onDelete); });

    showTodo(false);
    updateHighlight();
}

void TodoRowView::setTodo(const TodoItem &todo, bool animated)
{
    m_todo = todo;
    showTodo(animated);
}

void TodoRowView::setPanelHovered(bool hovered)
{
    if (m_isPanelHovered == hovered)
        return;
    m_isPanelHovered = hovered;
    updateHighlight();
}

void TodoRowView::setHoverFade(qreal fade)
{
    m_hoverFade = std::clamp(fade, 0.0, 1.0);
    m_row->setHighlightFade(m_hoverFade);
    updateColors();
}

QWidget *TodoRowView::focusTarget() const
{
    return m_checkbox;
}

QWidget *TodoRowView::deleteButton() const
{
    return m_deleteButton;
}

void TodoRowView::editFromKeyboard()
{
    beginEditing();
    m_isKeyboardEdit = m_isEditing;
}

int TodoRowView::heightForWidth(int width) const
{
    return m_row->heightForWidth(width);
}

QSize TodoRowView::sizeHint() const
{
    return m_row->sizeHint();
}

QSize TodoRowView::minimumSizeHint() const
{
    return m_row->minimumSizeHint();
}

bool TodoRowView::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_checkbox || watched == m_deleteButton)
        && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        followFocus(static_cast<QFocusEvent *>(event));
    // The text opens the editor on the release of a single click without taking the press: the list's
    // drag-to-reorder watches the same press, and a press that turned into a drag is not a click.
    if (watched == m_text) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_isTextPressed = mouse->button() == Qt::LeftButton;
            m_textPressPosition = mouse->position().toPoint();
            break;
        }
        case QEvent::MouseButtonDblClick:
            m_isTextPressed = false;
            break;
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint position = mouse->position().toPoint();
            const bool isClick = m_isTextPressed && mouse->button() == Qt::LeftButton
                && m_text->rect().contains(position)
                && (position - m_textPressPosition).manhattanLength() < QApplication::startDragDistance();
            m_isTextPressed = false;
            if (isClick)
                beginEditing();
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TodoRowView::enterEvent(QEnterEvent *event)
{
    m_isRowHovered = true;
    updateHighlight();
    QWidget::enterEvent(event);
}

void TodoRowView::leaveEvent(QEvent *event)
{
    m_isRowHovered = false;
    updateHighlight();
    QWidget::leaveEvent(event);
}

void TodoRowView::resizeEvent(QResizeEvent *event)
{
    m_row->setGeometry(rect());
    updateHeight();
    QWidget::resizeEvent(event);
}

void TodoRowView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        updateColors();
    else if (event->type() == QEvent::FontChange)
        updateHeight();
    QWidget::changeEvent(event);
}

void TodoRowView::beginEditing()
{
    if (m_isEditing || m_todo.completed)
        return;
    m_editText = m_todo.text;
    if (!m_editor) {
        m_editor = new QLineEdit(m_row);
        m_editor->setObjectName(QStringLiteral("goal-editor"));
        m_editor->setAccessibleName(tr("Goal"));
        m_editor->hide();
        new InlineEditing(
            m_editor, [this] { commitEditing(); }, [this] { commitEditing(); }, [this] { cancelEditing(); });
        connect(m_editor, &QLineEdit::textChanged, this, [this](const QString &text) { m_editText = text; });
        m_row->contentLayout()->insertWidget(
            m_row->contentLayout()->indexOf(m_text) + 1, m_editor, 1, Qt::AlignVCenter);
    }
    m_editor->setText(m_editText);
    m_isEditing = true;
    updateColors();
    m_text->hide();
    m_editor->show();
    updateHighlight();
    updateHeight();
}

void TodoRowView::commitEditing()
{
    if (!m_isEditing)
        return;
    const std::optional<QString> text = trimmedNonEmpty(m_editText);
    // The edit ends before the text goes out, so the commits that closing the field sets off find it over.
    endEditing();
    if (text)
        run(m_onUpdateText, *text);
}

void TodoRowView::cancelEditing()
{
    if (m_isEditing)
        endEditing();
}

void TodoRowView::endEditing()
{
    m_isEditing = false;
    // Without this, hiding the focused field would hand the keyboard to the next field of the panel.
    if (m_editor->hasFocus()) {
        if (m_isKeyboardEdit)
            m_checkbox->setFocus(Qt::TabFocusReason);
        else
            m_editor->clearFocus();
    }
    m_isKeyboardEdit = false;
    m_editor->hide();
    m_text->show();
    updateHighlight();
    updateHeight();
}

void TodoRowView::showTodo(bool animated)
{
    m_text->setText(m_todo.text);
    QFont font = m_text->font();
    font.setStrikeOut(m_todo.completed);
    m_text->setFont(font);
    m_checkbox->setCompleted(m_todo.completed, animated);
    const QString toggleLabel = m_todo.completed ? tr("Mark as not done") : tr("Mark as done");
    m_checkbox->setToolTip(toggleLabel);
    // A listener hears which goal the checkbox is for; its checked state says whether it is done.
    setAccessibleName(m_todo.text);
    m_checkbox->setAccessibleName(m_todo.text);
    m_checkbox->setAccessibleDescription(toggleLabel);
    m_text->setAccessibleName(m_todo.text);
    m_deleteButton->setAccessibleName(tr("Delete “%1”").arg(m_todo.text));
    updateColors();
    updateHeight();
}

void TodoRowView::updateColors()
{
    const QPalette base = palette();
    const QColor text = m_todo.completed
        ? HierarchicalColors::tertiary(base)
        : HierarchicalColors::mix(HierarchicalColors::secondary(base), HierarchicalColors::primary(base), m_hoverFade);
    setForeground(m_text, QPalette::WindowText, text);
    if (m_editor)
        setForeground(m_editor, QPalette::Text, HierarchicalColors::primary(base));
}

void TodoRowView::updateHighlight()
{
    const bool highlighted = isHighlighted();
    m_row->setHighlighted(highlighted);
    m_row->setHighlightFade(m_hoverFade);
    // Shown for the keyboard too, so that Tab reaches it while the pointer is elsewhere.
    m_deleteButton->setVisible(highlighted || (m_hasKeyboardFocus && !m_isEditing));
}

void TodoRowView::followFocus(const QFocusEvent *event)
{
    // Only focus that came by keyboard counts, not the focus a window hands its first control. By the time a
    // widget hears it lost the focus, the application already names the one that gained it.
    const QWidget *focused = QApplication::focusWidget();
    const bool hasFocus = event->gotFocus()
        ? isKeyboardNavigation(event->reason())
        : m_hasKeyboardFocus && (focused == m_checkbox || focused == m_deleteButton);
    if (hasFocus == m_hasKeyboardFocus)
        return;
    m_hasKeyboardFocus = hasFocus;
    updateHighlight();
}

void TodoRowView::updateHeight()
{
    // Before anything gives the row a size there is no width worth measuring at; whatever sizes it first
    // has measured it for that width, so that first height is news to nobody.
    if (!testAttribute(Qt::WA_Resized))
        return;
    const int height = heightForWidth(width());
    if (height == m_lastHeight)
        return;
    if (std::exchange(m_lastHeight, height) < 0)
        return;
    updateGeometry();
    emit heightChanged();
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "todorowview.h"

#include "repeatwords.h"
#include "rowhighlight.h"
#include "rowmoments.h"
#include "views/kit/checkbox.h"
#include "views/kit/glyphbutton.h"
#include "views/kit/goalrow.h"
#include "views/kit/goaltextlimit.h"
#include "views/kit/hierarchicalcolors.h"
#include "views/kit/inlineediting.h"
#include "views/kit/symbolglyph.h"
#include "wrappedtext.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{

constexpr qreal DeleteGlyphPointSize = 10.0;
// A line edit keeps its text this far in from each side.
constexpr int EditorTextInset = 2;

// A goal beyond the length the panel gives goals shows that much of its start, then an ellipsis: laying out a
// whole book in a row would stall the panel at every redraw.
QString shownText(const QString &text)
{
    if (fitsInAGoal(text))
        return text;
    qsizetype cut = MaxGoalTextLength;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.first(cut) + u'\u2026';
}

} // namespace

TodoRowView::TodoRowView(const TodoItem &todo, bool isPanelHovered, std::function<void()> onToggle,
    std::function<void(const QString &)> onUpdateText, std::function<void()> onDelete, QWidget *parent)
    : QWidget(parent)
    , m_todo(todo)
    , m_hoverFade(isPanelHovered ? 1.0 : 0.0)
    , m_onToggle(std::move(onToggle))
    , m_onUpdateText(std::move(onUpdateText))
    , m_onDelete(std::move(onDelete))
    , m_row(new GoalRow(this))
    , m_checkbox(new Checkbox(m_row))
    , m_text(new WrappedText(m_row))
    , m_repeatGlyph(new SymbolGlyph(SymbolGlyph::Symbol::Repeat, m_row))
    , m_deleteButton(new GlyphButton(GlyphButton::Glyph::XMark, DeleteGlyphPointSize, m_row))
    , m_moments(std::make_unique<RowMoments>(m_row, m_repeatGlyph))
    , m_words(this, m_checkbox, m_text, m_repeatGlyph, m_deleteButton)
{
    m_deleteButton->setToolTip(tr("Delete goal"));
    QSizePolicy deletePolicy = m_deleteButton->sizePolicy();
    deletePolicy.setRetainSizeWhenHidden(true);
    m_deleteButton->setSizePolicy(deletePolicy);

    QHBoxLayout *layout = m_row->contentLayout();
    layout->addWidget(m_checkbox, 0, Qt::AlignVCenter);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_repeatGlyph, 0, Qt::AlignVCenter);
    layout->addWidget(m_deleteButton, 0, Qt::AlignVCenter);

    // The list drops a row only later, so a callback never deletes the row that runs it.
    connect(m_checkbox, &Checkbox::clicked, this, [this] { m_onToggle(); });
    connect(m_deleteButton, &GlyphButton::clicked, this, [this] { m_onDelete(); });
    connect(m_text, &WrappedText::clicked, this, &TodoRowView::beginEditing);

    m_row->setHighlightFade(m_hoverFade);
    m_highlight = new RowHighlight(this, m_row, m_checkbox, m_deleteButton, isPanelHovered);
    showTodo(false);
}

TodoRowView::~TodoRowView()
{
    // Children going away send the row enter and leave events; the highlight must not hear them.
    delete m_highlight;
}

void TodoRowView::setTodo(const TodoItem &todo, bool animated)
{
    m_todo = todo;
    showTodo(animated);
}

void TodoRowView::setFarewell(const QString &note)
{
    m_farewell = note;
    showTodo(false);
}

void TodoRowView::setPanelHovered(bool hovered)
{
    m_highlight->setPanelHovered(hovered);
}

void TodoRowView::setHoverFade(qreal fade)
{
    // A new row is told the fade it was made with, and setting the same palettes again costs a long list's start.
    if (std::clamp(fade, 0.0, 1.0) == m_hoverFade)
        return;
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

bool TodoRowView::hasKeyboardFocus() const
{
    return m_highlight->hasKeyboardFocus();
}

void TodoRowView::editFromKeyboard()
{
    beginEditing();
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
    // A goal longer than any the panel makes came from another program; it is kept whole, and edited there.
    if (!fitsInAGoal(m_todo.text)) {
        // After the click that asked: a tooltip hides at the release of the button.
        QTimer::singleShot(0, m_text, [this] {
            QToolTip::showText(m_text->mapToGlobal(QPoint(0, m_text->height())),
                tr("This goal is longer than the %L1 characters a goal can hold here. It is kept whole; change it "
                   "in the goals file.")
                    .arg(MaxGoalTextLength),
                m_text);
        });
        return;
    }
    m_editText = m_todo.text;
    if (!m_editor) {
        m_editor = new QLineEdit(m_row);
        m_editor->setObjectName(QStringLiteral("goal-editor"));
        m_editor->setAccessibleName(tr("Goal"));
        m_editorLimit = new GoalTextLimit(m_editor, GoalTextLimit::Goals::One);
        m_editor->hide();
        auto *editing = new InlineEditing(m_editor);
        connect(editing, &InlineEditing::submitRequested, this, &TodoRowView::commitEditing);
        connect(editing, &InlineEditing::commitRequested, this, &TodoRowView::commitEditing);
        connect(editing, &InlineEditing::cancelRequested, this, &TodoRowView::cancelEditing);
        connect(m_editor, &QLineEdit::textChanged, this, [this](const QString &text) { m_editText = text; });
        m_row->contentLayout()->insertWidget(
            m_row->contentLayout()->indexOf(m_text) + 1, m_editor, 1, Qt::AlignVCenter);
    }
    m_editor->setText(m_editText);
    // A text longer than the field opens at its start, where the person reads it from, not scrolled to its end.
    if (m_text->sizeHint().width() > m_text->width() - 2 * EditorTextInset)
        m_editor->setCursorPosition(0);
    m_isEditing = true;
    updateColors();
    m_text->hide();
    m_editor->show();
    m_highlight->setEditing(true);
    updateHeight();
}

void TodoRowView::commitEditing()
{
    if (!m_isEditing || !m_editorLimit->allowsText())
        return;
    const QString text = m_editText;
    // The edit ends before the text goes out, so the commits that closing the field sets off find it over.
    endEditing();
    if (holdsGoalText(text))
        m_onUpdateText(text);
}

void TodoRowView::cancelEditing()
{
    if (m_isEditing)
        endEditing();
}

void TodoRowView::endEditing()
{
    m_isEditing = false;
    m_highlight->setEditing(false);
    // Without this, hiding the focused field would hand the keyboard to the next field of the panel. The
    // edit ended by a key (Return or Escape), however it began, so the goal keeps the keyboard with its ring:
    // a field merely cleared of the focus would leave the keys to nothing until Tab.
    if (m_editor->hasFocus())
        m_checkbox->setFocus(Qt::TabFocusReason);
    m_editor->hide();
    m_text->show();
    updateHeight();
}

void TodoRowView::showTodo(bool animated)
{
    m_text->setText(m_farewell.isEmpty() ? shownText(m_todo.text) : m_farewell);
    QFont font = m_text->font();
    font.setStrikeOut(m_todo.completed && m_farewell.isEmpty());
    font.setItalic(!m_farewell.isEmpty());
    m_text->setFont(font);
    m_checkbox->setCompleted(m_todo.completed, animated);
    const QString toggleLabel = m_todo.completed ? tr("Mark as not done") : tr("Mark as done");
    m_checkbox->setToolTip(toggleLabel);
    const QString repeats = RepeatWords::description(m_todo.repeat);
    QStringList description { toggleLabel };
    description.append(m_moments->show(m_todo));
    if (!repeats.isEmpty())
        description.append(repeats);
    m_repeatGlyph->setVisible(m_todo.repeat.repeats());
    m_repeatGlyph->setToolTip(repeats);
    // A listener hears which goal the checkbox is for; its checked state says whether it is done.
    const QString name = m_text->text();
    m_words.setWords({ name, description.join(u", "_s), repeats, tr("Delete “%1”").arg(name) });
    updateColors();
    updateHeight();
}

void TodoRowView::updateColors()
{
    const QPalette base = palette();
    const QColor text = m_todo.completed
        ? HierarchicalColors::tertiary(base)
        : HierarchicalColors::mix(HierarchicalColors::secondary(base), HierarchicalColors::primary(base), m_hoverFade);
    HierarchicalColors::setForeground(m_text, QPalette::WindowText, text);
    m_repeatGlyph->setColor(HierarchicalColors::secondary(base));
    m_moments->updateColors(base);
    if (m_editor)
        HierarchicalColors::setForeground(m_editor, QPalette::Text, HierarchicalColors::primary(base));
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

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"
#include "rowwords.h"

#include <QWidget>

#include <functional>
#include <memory>

class Checkbox;
class GlyphButton;
class GoalRow;
class GoalTextLimit;
class QLineEdit;
class RowHighlight;
class RowMoments;
class SymbolGlyph;
class WrappedText;

// One goal as one row: checkbox, text (an in-place editor after a single click on an open goal's text), a
// bell and its time when the goal has a reminder, the due date another calendar client set, a repeat glyph when it
// repeats, and a delete glyph shown while the row is highlighted. The row never reaches the store: it reports through
// its three callbacks, and receives the goal and the panel's hover state through setters.
class TodoRowView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TodoRowView)

public:
    TodoRowView(const TodoItem &todo, bool isPanelHovered, std::function<void()> onToggle,
        std::function<void(const QString &)> onUpdateText, std::function<void()> onDelete, QWidget *parent = nullptr);
    ~TodoRowView() override;

    const TodoItem &todo() const { return m_todo; }
    // A new value of the same goal; the row's own editing and hover state survive it.
    // `animated` makes a change of `completed` swap the checkbox glyph with its short animation.
    void setTodo(const TodoItem &todo, bool animated = false);
    // A note shown in place of the text for the moment before the goal leaves the list; empty for the text.
    void setFarewell(const QString &note);

    void setPanelHovered(bool hovered);
    // 0..1 progress of the panel's hover fade; colours and the highlight are drawn from it.
    void setHoverFade(qreal fade);

    bool isEditing() const { return m_isEditing; }

    // The keyboard's way into the row: its checkbox, and the delete glyph shown while either has the focus.
    QWidget *focusTarget() const;
    QWidget *deleteButton() const;
    bool hasKeyboardFocus() const;
    // Opens the editor as a click on the text does; closing it with Return or Escape gives the checkbox the focus.
    void editFromKeyboard();
    // Ends an open edit without its text going anywhere, before the row goes away with the panel: the field
    // losing the focus then commits nothing.
    void dropEdit() { m_isEditing = false; }
    // A listener has come: the row names its parts, and keeps their names current from now on.
    void tellListeners() { m_words.tellListeners(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The row's height for its current width changed (text edited, wrapped, or the width changed).
    void heightChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void beginEditing();
    void commitEditing();
    void cancelEditing();
    void endEditing();

    void showTodo(bool animated);
    void updateColors();
    void updateHeight();

    TodoItem m_todo;
    bool m_isEditing = false;
    qreal m_hoverFade = 0.0;
    QString m_editText;
    QString m_farewell;

    std::function<void()> m_onToggle;
    std::function<void(const QString &)> m_onUpdateText;
    std::function<void()> m_onDelete;

    GoalRow *m_row = nullptr;
    Checkbox *m_checkbox = nullptr;
    WrappedText *m_text = nullptr;
    QLineEdit *m_editor = nullptr;
    GoalTextLimit *m_editorLimit = nullptr;
    SymbolGlyph *m_repeatGlyph = nullptr;
    GlyphButton *m_deleteButton = nullptr;
    std::unique_ptr<RowMoments> m_moments;
    RowWords m_words;
    RowHighlight *m_highlight = nullptr;

    int m_lastHeight = -1;
};

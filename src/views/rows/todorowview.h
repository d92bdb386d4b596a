#pragma once

#include "model/todoitem.h"

#include <QWidget>

#include <functional>

class Checkbox;
class GlyphButton;
class GoalRow;
class QFocusEvent;
class QLineEdit;
class WrappedText;

// One goal as one row: checkbox, text (an in-place editor after a single click on an open goal's text),
// and a delete glyph shown while the row is highlighted. The row never reaches the store: it reports
// through its three callbacks, and receives the goal and the panel's hover state through setters.
class TodoRowView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TodoRowView)

public:
    TodoRowView(const TodoItem &todo, bool isPanelHovered, std::function<void()> onToggle,
        std::function<void(const QString &)> onUpdateText, std::function<void()> onDelete, QWidget *parent = nullptr);

    const TodoItem &todo() const { return m_todo; }
    // A new value of the same goal; the row's own editing and hover state survive it.
    // `animated` makes a change of `completed` swap the checkbox glyph with its short animation.
    void setTodo(const TodoItem &todo, bool animated = false);

    bool isPanelHovered() const { return m_isPanelHovered; }
    void setPanelHovered(bool hovered);
    // 0..1 progress of the panel's hover fade; colours and the highlight are drawn from it.
    void setHoverFade(qreal fade);

    bool isEditing() const { return m_isEditing; }
    bool isHighlighted() const { return m_isRowHovered && m_isPanelHovered && !m_isEditing; }

    // The keyboard's way into the row: its checkbox, and the delete glyph shown while either has the focus.
    QWidget *focusTarget() const;
    QWidget *deleteButton() const;
    bool hasKeyboardFocus() const { return m_hasKeyboardFocus; }
    // Opens the editor as a click on the text does; closing it with Return or Escape hands the focus back
    // to the checkbox, so a keyboard user keeps their place.
    void editFromKeyboard();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The row's height for its current width changed (text edited, wrapped, or the width changed).
    void heightChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void beginEditing();
    void commitEditing();
    void cancelEditing();
    void endEditing();

    void showTodo(bool animated);
    void updateColors();
    void updateHighlight();
    void updateHeight();
    void followFocus(const QFocusEvent *event);

    TodoItem m_todo;
    bool m_isPanelHovered = false;
    bool m_isEditing = false;
    bool m_isRowHovered = false;
    bool m_hasKeyboardFocus = false;
    bool m_isKeyboardEdit = false;
    qreal m_hoverFade = 0.0;
    QString m_editText;

    std::function<void()> m_onToggle;
    std::function<void(const QString &)> m_onUpdateText;
    std::function<void()> m_onDelete;

    GoalRow *m_row = nullptr;
    Checkbox *m_checkbox = nullptr;
    WrappedText *m_text = nullptr;
    QLineEdit *m_editor = nullptr;
    GlyphButton *m_deleteButton = nullptr;

    int m_lastHeight = -1;
    // A left press that landed on the text and may still end as the single click that opens the editor.
    bool m_isTextPressed = false;
    QPoint m_textPressPosition;
};

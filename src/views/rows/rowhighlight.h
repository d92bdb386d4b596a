// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class GoalRow;
class QFocusEvent;
class QWidget;

// When a goal's row is drawn highlighted and shows its delete glyph. The row is highlighted while the pointer is
// over it in a hovered panel, never while its text is being edited. The glyph shows with the highlight, and also
// while the keyboard is on the row's checkbox or on the glyph, so that Tab reaches it while the pointer is elsewhere.
class RowHighlight final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowHighlight)

public:
    // Watches `row` for the pointer and `checkbox` and `deleteButton` for the focus; draws on `chrome`.
    RowHighlight(QWidget *row, GoalRow *chrome, QWidget *checkbox, QWidget *deleteButton, bool isPanelHovered);

    void setPanelHovered(bool hovered);
    void setEditing(bool editing);
    bool hasKeyboardFocus() const { return m_hasKeyboardFocus; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followFocus(const QFocusEvent *event);
    void show();

    QWidget *m_row = nullptr;
    GoalRow *m_chrome = nullptr;
    QWidget *m_checkbox = nullptr;
    QWidget *m_deleteButton = nullptr;
    bool m_isPanelHovered = false;
    bool m_isRowHovered = false;
    bool m_isEditing = false;
    bool m_hasKeyboardFocus = false;
};

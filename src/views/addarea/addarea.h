// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class EmptyStateRow;
class GoalRow;
class QLineEdit;

// The bottom area of the panel: the new-goal row while adding, the empty-state row while the list is empty,
// or nothing. It keeps no goal data; the root view chooses the face and hears back through the signals.
class AddArea final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddArea)

public:
    enum class Face { Nothing, EmptyState, NewGoal };

    explicit AddArea(QWidget *parent = nullptr);

    Face face() const { return m_face; }
    void setFace(Face face);

    QLineEdit *newGoalField() const { return m_newGoalField; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // The empty-state row was clicked.
    void addingRequested();
    // The new goal's text, the field already cleared: on Return, or when the field loses the focus. Either
    // may come after the edit has ended.
    void submitted(const QString &text);
    void committed(const QString &text);
    void cancelled();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *shownRow() const;

    Face m_face = Face::Nothing;
    EmptyStateRow *m_emptyState = nullptr;
    GoalRow *m_newGoalRow = nullptr;
    QLineEdit *m_newGoalField = nullptr;
};

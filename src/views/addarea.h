#pragma once

#include <QWidget>

#include <functional>

class EmptyStateRow;
class GoalRow;
class QLineEdit;

// The bottom area of the panel: the new-goal row while adding, the empty-state row while the list is empty,
// or nothing. It keeps no goal data; the root view chooses the face and hears back through the callbacks.
class AddArea final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddArea)

public:
    enum class Face { Nothing, EmptyState, NewGoal };

    struct Callbacks {
        std::function<void()> onBeginAdding;
        std::function<void()> onSubmit;
        std::function<void()> onCommit;
        std::function<void()> onCancel;
    };

    explicit AddArea(Callbacks callbacks, QWidget *parent = nullptr);

    Face face() const { return m_face; }
    void setFace(Face face);

    QString newTodoText() const;
    void clearNewTodoText();
    QLineEdit *newGoalField() const { return m_newGoalField; }
    EmptyStateRow *emptyStateRow() const { return m_emptyState; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *shownRow() const;

    Callbacks m_callbacks;
    Face m_face = Face::Nothing;
    EmptyStateRow *m_emptyState = nullptr;
    GoalRow *m_newGoalRow = nullptr;
    QLineEdit *m_newGoalField = nullptr;
};

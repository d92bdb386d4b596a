#include "addarea.h"

#include "emptystaterow.h"
#include "rows/goalrow.h"
#include "rows/hierarchicalcolors.h"
#include "rows/inlineediting.h"
#include "symbolglyph.h"
#include "widgetheight.h"

#include <QHBoxLayout>
#include <QLineEdit>

AddArea::AddArea(Callbacks callbacks, QWidget *parent)
    : QWidget(parent)
    , m_callbacks(std::move(callbacks))
    , m_emptyState(new EmptyStateRow(this))
{
    m_emptyState->hide();
    connect(m_emptyState, &QAbstractButton::clicked, this, [this] {
        if (m_callbacks.onBeginAdding)
            m_callbacks.onBeginAdding();
    });
}

void AddArea::setFace(Face face)
{
    if (face == m_face)
        return;
    m_face = face;
    m_emptyState->setVisible(face == Face::EmptyState);

    if (face == Face::NewGoal) {
        // A fresh row each time adding starts: the field starts empty and takes the focus anew.
        m_newGoalRow = new GoalRow(this);
        auto *square = new SymbolGlyph(SymbolGlyph::Symbol::Square, m_newGoalRow);
        square->setColor(HierarchicalColors::tertiary(palette()));
        m_newGoalField = new QLineEdit(m_newGoalRow);
        m_newGoalField->setPlaceholderText(tr("New goal"));
        m_newGoalField->setAccessibleName(tr("New goal"));
        new InlineEditing(m_newGoalField, m_callbacks.onSubmit, m_callbacks.onCommit, m_callbacks.onCancel);
        m_newGoalRow->contentLayout()->addWidget(square);
        m_newGoalRow->contentLayout()->addWidget(m_newGoalField, 1);
        m_newGoalRow->setGeometry(rect());
        m_newGoalRow->show();
    } else if (m_newGoalRow) {
        // This can run inside the field's own focus-out or key handling, so the row is only hidden now.
        m_newGoalRow->hide();
        m_newGoalRow->deleteLater();
        m_newGoalRow = nullptr;
        m_newGoalField = nullptr;
    }
    updateGeometry();
}

QString AddArea::newTodoText() const
{
    return m_newGoalField ? m_newGoalField->text() : QString();
}

void AddArea::clearNewTodoText()
{
    if (m_newGoalField)
        m_newGoalField->clear();
}

QWidget *AddArea::shownRow() const
{
    switch (m_face) {
    case Face::EmptyState:
        return m_emptyState;
    case Face::NewGoal:
        return m_newGoalRow;
    case Face::Nothing:
        break;
    }
    return nullptr;
}

int AddArea::heightForWidth(int width) const
{
    const QWidget *row = shownRow();
    return row ? widgetHeight(row, width) : 0;
}

void AddArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (QWidget *row = shownRow())
        row->setGeometry(rect());
}

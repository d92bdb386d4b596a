// SPDX-License-Identifier: GPL-3.0-or-later

#include "addarea.h"

#include "emptystaterow.h"
#include "views/kit/goalrow.h"
#include "views/kit/goaltextlimit.h"
#include "views/kit/hierarchicalcolors.h"
#include "views/kit/inlineediting.h"
#include "views/kit/symbolglyph.h"
#include "views/kit/widgetheight.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace
{

// The field's text, leaving it empty for the next goal. setText() rather than clear(): clearing is a step of
// the field's own undo, which would bring the goal just added back into the field.
QString takeText(QLineEdit *field)
{
    const QString text = field->text();
    field->setText(QString());
    return text;
}

} // namespace

AddArea::AddArea(QWidget *parent)
    : QWidget(parent)
    , m_emptyState(new EmptyStateRow(this))
{
    m_emptyState->hide();
    connect(m_emptyState, &QAbstractButton::clicked, this, &AddArea::addingRequested);
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
        QLineEdit *field = m_newGoalField;
        // A text too long for a goal stays in the field, open, whichever way the edit would have ended.
        auto *limit = new GoalTextLimit(field, GoalTextLimit::Goals::OnePerLine);
        auto *editing = new InlineEditing(field);
        connect(editing, &InlineEditing::submitRequested, this, [this, field, limit] {
            if (limit->allowsText())
                emit submitted(takeText(field));
        });
        connect(editing, &InlineEditing::commitRequested, this, [this, field, limit] {
            if (limit->allowsText())
                emit committed(takeText(field));
        });
        connect(editing, &InlineEditing::cancelRequested, this, [this, field] {
            field->clear();
            emit cancelled();
        });
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

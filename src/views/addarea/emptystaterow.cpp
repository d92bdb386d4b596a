// SPDX-License-Identifier: GPL-3.0-or-later

#include "emptystaterow.h"

#include "views/kit/goalrow.h"
#include "views/kit/hierarchicalcolors.h"
#include "views/kit/symbolglyph.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

EmptyStateRow::EmptyStateRow(QWidget *parent)
    : QAbstractButton(parent)
    , m_row(new GoalRow(this))
    , m_plus(new SymbolGlyph(SymbolGlyph::Symbol::Plus, m_row))
    , m_label(new QLabel(tr("Add today's first goal"), m_row))
{
    setFocusPolicy(Qt::NoFocus);
    setText(m_label->text());
    setAccessibleName(m_label->text());
    m_label->setTextFormat(Qt::PlainText);
    // Inside a button a label would draw in the button-text role and ignore the colour set below.
    m_label->setForegroundRole(QPalette::WindowText);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_row);
    m_row->contentLayout()->addWidget(m_plus);
    m_row->contentLayout()->addWidget(m_label, 1);
    applyColors();
}

void EmptyStateRow::paintEvent(QPaintEvent *)
{
    // A plain button: no bezel, no background; the row inside draws the label.
}

void EmptyStateRow::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void EmptyStateRow::applyColors()
{
    const QColor secondary = HierarchicalColors::secondary(palette());
    m_plus->setColor(secondary);
    HierarchicalColors::setForeground(m_label, QPalette::WindowText, secondary);
}

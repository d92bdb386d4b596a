// SPDX-License-Identifier: GPL-3.0-or-later

#include "rowwords.h"

#include <QAccessible>
#include <QWidget>

#include <utility>

RowWords::RowWords(QWidget *row, QWidget *checkbox, QWidget *text, QWidget *repeatGlyph, QWidget *deleteButton)
    : m_row(row)
    , m_checkbox(checkbox)
    , m_text(text)
    , m_repeatGlyph(repeatGlyph)
    , m_deleteButton(deleteButton)
{
}

void RowWords::setWords(Words words)
{
    m_words = std::move(words);
    if (m_isTelling || QAccessible::isActive())
        tellListeners();
}

void RowWords::tellListeners()
{
    m_isTelling = true;
    nameParts();
}

void RowWords::nameParts() const
{
    m_row->setAccessibleName(m_words.name);
    m_checkbox->setAccessibleName(m_words.name);
    m_checkbox->setAccessibleDescription(m_words.description);
    m_text->setAccessibleName(m_words.name);
    m_repeatGlyph->setAccessibleName(m_words.repeats);
    m_deleteButton->setAccessibleName(m_words.deleteName);
}

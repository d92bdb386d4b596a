// SPDX-License-Identifier: GPL-3.0-or-later

#include "newgoalentry.h"

#include "editsession.h"
#include "views/addarea/addarea.h"

NewGoalEntry::NewGoalEntry(AddArea *addArea, QObject *parent)
    : QObject(parent)
    , m_session(new EditSession(this))
{
    connect(addArea, &AddArea::addingRequested, m_session, &EditSession::begin);
    // Return keeps adding open and the field focused, so the next goal can be typed at once.
    connect(addArea, &AddArea::submitted, m_session, &EditSession::commitAndContinue);
    // Committed by the focus going elsewhere: Return keeps the field open.
    connect(addArea, &AddArea::committed, m_session, &EditSession::commit);
    connect(addArea, &AddArea::cancelled, m_session, &EditSession::cancel);
    connect(m_session, &EditSession::begun, this, &NewGoalEntry::begun);
    connect(m_session, &EditSession::accepted, this, &NewGoalEntry::accepted);
    connect(m_session, &EditSession::ended, this,
        [this](EditSession::Ending ending) { emit ended(ending == EditSession::Ending::Cancelled); });
}

bool NewGoalEntry::isOpen() const
{
    return m_session->isOpen();
}

void NewGoalEntry::begin()
{
    m_session->begin();
}

void NewGoalEntry::discard()
{
    m_session->discard();
}

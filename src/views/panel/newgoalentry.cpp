// SPDX-License-Identifier: GPL-3.0-or-later

#include "newgoalentry.h"

#include "editsession.h"
#include "views/addarea/addarea.h"

template<typename Ending> void NewGoalEntry::endByKey(Ending &&ending)
{
    m_isDismissingByKey = true;
    ending();
    m_isDismissingByKey = false;
}

NewGoalEntry::NewGoalEntry(AddArea *addArea, QObject *parent)
    : QObject(parent)
    , m_session(new EditSession(EditSession::Lines::Kept, this))
{
    connect(addArea, &AddArea::addingRequested, m_session, &EditSession::begin);
    // Return keeps adding open and the field focused, so the next goal can be typed at once.
    connect(addArea, &AddArea::submitted, this,
        [this](const QString &text) { endByKey([this, &text] { m_session->commitAndContinue(text); }); });
    connect(addArea, &AddArea::committed, m_session, &EditSession::commit);
    connect(addArea, &AddArea::cancelled, this, [this] { endByKey([this] { m_session->cancel(); }); });
    connect(m_session, &EditSession::begun, this, &NewGoalEntry::begun);
    connect(m_session, &EditSession::accepted, this, &NewGoalEntry::accepted);
    connect(m_session, &EditSession::ended, this, [this] { emit ended(m_isDismissingByKey); });
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

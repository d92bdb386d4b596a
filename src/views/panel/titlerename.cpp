// SPDX-License-Identifier: GPL-3.0-or-later

#include "titlerename.h"

#include "editsession.h"
#include "panelkeyboard.h"
#include "panelsteps.h"
#include "views/header/panelheader.h"

#include <memory>

TitleRename::TitleRename(
    PanelHeader *header, PanelKeyboard *keyboard, PanelSettings *settings, PanelSteps *steps, QObject *parent)
    : QObject(parent)
    , m_header(header)
    , m_keyboard(keyboard)
    , m_steps(steps)
    , m_title(settings)
    , m_session(new EditSession(this))
{
    connect(m_header, &PanelHeader::renameCommitted, m_session, &EditSession::commit);
    connect(m_header, &PanelHeader::renameCancelled, m_session, &EditSession::cancel);
    connect(m_session, &EditSession::begun, this, [this] {
        m_header->setRenaming(true, m_title.text());
        m_keyboard->updateTabOrder();
        emit layoutWanted();
    });
    connect(m_session, &EditSession::accepted, this,
        [this](const QString &title) { m_steps->perform(std::make_unique<RenameTitle>(&m_title, title)); });
    connect(m_session, &EditSession::ended, this, [this] {
        m_keyboard->takeFocusFrom(m_header);
        m_header->setRenaming(false);
        m_header->setTitle(m_title.text());
        emit layoutWanted();
    });
}

bool TitleRename::isOpen() const
{
    return m_session->isOpen();
}

void TitleRename::begin()
{
    m_session->begin();
}

void TitleRename::discard()
{
    m_session->discard();
}

void TitleRename::showTitle()
{
    if (!m_session->isOpen())
        m_header->setTitle(m_title.text());
}

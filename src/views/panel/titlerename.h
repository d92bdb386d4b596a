// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "views/header/paneltitle.h"

#include <QObject>
#include <QString>

class EditSession;
class PanelHeader;
class PanelKeyboard;
class PanelSettings;
class PanelSteps;

// Renaming the panel in its header, as one edit that becomes a step of the undo history.
class TitleRename final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitleRename)

public:
    TitleRename(
        PanelHeader *header, PanelKeyboard *keyboard, PanelSettings *settings, PanelSteps *steps, QObject *parent);

    QString title() const { return m_title.text(); }
    bool isOpen() const;
    void begin();
    // Ends the edit without a word, for a view going away whose editors' focus loss must change nothing.
    void discard();
    // The header shows the title as it stands now, unless the person is renaming it: an undone or redone rename
    // shows at once.
    void showTitle();

signals:
    // The header's field opened or closed.
    void layoutWanted();

private:
    PanelHeader *m_header = nullptr;
    PanelKeyboard *m_keyboard = nullptr;
    PanelSteps *m_steps = nullptr;
    PanelTitle m_title;
    EditSession *m_session = nullptr;
};

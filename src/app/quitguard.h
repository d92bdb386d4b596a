// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;
class TodoStore;

// Quitting while goals are not on disk asks first; the end of the session (SIGTERM, SIGHUP, SIGINT), with
// nobody to ask, tries one last save and quits.
class QuitGuard final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuitGuard)

public:
    QuitGuard(TodoStore *store, QObject *parent = nullptr);

    // Quit Mirel, Ctrl+Q and the window manager's close. The question, if any, is asked above `window`.
    void requestQuit(QWidget *window);

private:
    void sessionEnded();

    TodoStore *m_store = nullptr;
    QSocketNotifier *m_signals = nullptr;
    bool m_asking = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sync/davhttp.h"
#include "sync/davmultistatus.h"
#include "sync/syncrun.h"

#include <QProcess>
#include <QStringList>
#include <QUrl>

#include <functional>

// A calendar server on a free loopback port, started for a test and stopped with it.
class LoopbackServer final
{
public:
    LoopbackServer() = default;
    Q_DISABLE_COPY_MOVE(LoopbackServer)
    ~LoopbackServer();

    // `arguments` gives the command line for a port. A port found free may be taken before the server binds it,
    // so a server that ends before it answers is started again on another one.
    bool start(const QString &program, const std::function<QStringList(int port)> &arguments);
    int port() const { return m_port; }

private:
    QProcess m_process;
    int m_port = 0;
};

// What the tests against a real server share: waiting for answers, one whole sync, and a second client.
namespace DavFixture
{

constexpr int Patience = 15'000;

DavReply exchange(DavHttp &http, const DavRequest &request);
DavMultiStatus::MultiStatus propfind(DavHttp &http, const QUrl &url, const QByteArray &depth, const QByteArray &body);

// The goals and the state as the sync leaves them; the failure's reason, empty when none.
QString sync(DavHttp &http, const QUrl &list, QList<TodoItem> &goals, SyncState &state);

// python3-caldav as a phone would use the list.
bool hasSecondClient();
QString secondClient(QStringList arguments, const QString &user, const QString &password);

// The flow every server must carry: discovery from the server's address, a task list made and found among
// the person's lists, goals up, a second client's rename and addition down. Records a failure through QTest.
void discoverMakeAndSyncBothWays(const QUrl &server, const QString &user, const QString &password);

} // namespace DavFixture

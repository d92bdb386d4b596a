// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/intake/intakeprotocol.h"
#include "model/todoitem.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;
using namespace IntakeProtocol;

namespace
{

constexpr int StartTimeoutMs = 10000;

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

// Runs the real program twice over: a panel, and `mirel --send` handing it text, each in its own process, in a
// home, runtime, data and config folder of the test's own.
class IntakeEndToEndTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void send_startsAPanelThatOutlastsBadClients();
    void starts_leaveOnePanelPerMode();
    void sendSelection_addsTheSelectedLines();
    void helpAndVersion_answerWithoutADisplayOrAPanel();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString socket(bool uiTesting = false) const { return path(u"runtime/mirel%1.socket"_s.arg(suffix(uiTesting))); }
    QString lockFile(bool uiTesting = false) const { return path(u"runtime/mirel%1.lock"_s.arg(suffix(uiTesting))); }
    static QString suffix(bool uiTesting) { return uiTesting ? u"-uitests"_s : QString(); }
    QProcess *startPanel(const QStringList &arguments = {}, bool untilListening = true);
    Result run(const QStringList &arguments, const QByteArray &input = {});
    QStringList goalTexts() const;
    // The panel process holding the lock, however it was started; 0 when none does.
    qint64 panelPid(bool uiTesting = false) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcessEnvironment m_environment;
    // Panels, X servers and selection owners the test started; ended in cleanup.
    QList<QProcess *> m_processes;
};

void IntakeEndToEndTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    m_environment.remove(u"UITEST_GOALS"_s);
    // The messages compared below are the English ones, whatever the language of the machine.
    m_environment.insert(u"LANGUAGE"_s, u"en"_s);
    for (const auto &[variable, folder] : { std::pair { u"HOME"_s, u"home"_s }, { u"XDG_RUNTIME_DIR"_s, u"runtime"_s },
             { u"XDG_DATA_HOME"_s, u"data"_s }, { u"XDG_CONFIG_HOME"_s, u"config"_s } }) {
        QVERIFY(QDir().mkpath(path(folder)));
        m_environment.insert(variable, path(folder));
    }
    QVERIFY(QFile::setPermissions(path(u"runtime"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void IntakeEndToEndTest::cleanup()
{
    // Panels started on demand by `--send` are not children of the test; the lock names them.
    for (const bool uiTesting : { false, true }) {
        if (const qint64 pid = panelPid(uiTesting); pid > 0)
            ::kill(pid_t(pid), SIGTERM);
    }
    for (QProcess *process : std::as_const(m_processes)) {
        process->terminate();
        process->waitForFinished();
    }
    qDeleteAll(m_processes);
    m_processes.clear();
}

QProcess *IntakeEndToEndTest::startPanel(const QStringList &arguments, bool untilListening)
{
    auto *panel = new QProcess;
    m_processes.append(panel);
    panel->setProcessEnvironment(m_environment);
    panel->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    panel->start(QStringLiteral(MIREL_EXECUTABLE), arguments);
    panel->waitForStarted();
    // Ready once it holds the lock and listens; a socket file alone may be left over from a crash.
    const bool uiTesting = arguments.contains(u"--ui-testing"_s);
    const QDeadlineTimer deadline(StartTimeoutMs);
    const auto isListening = [&] {
        QLocalSocket probe;
        probe.connectToServer(socket(uiTesting));
        return probe.waitForConnected(0);
    };
    while (untilListening && (panelPid(uiTesting) != panel->processId() || !isListening())
        && panel->state() == QProcess::Running && !deadline.hasExpired())
        QTest::qWait(20);
    return panel;
}

Result IntakeEndToEndTest::run(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(QStringLiteral(MIREL_EXECUTABLE), arguments);
    process.waitForStarted();
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(3 * StartTimeoutMs))
        return {};
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
        process.readAllStandardError() };
}

QStringList IntakeEndToEndTest::goalTexts() const
{
    QFile file(path(u"data/Mirel/todos.json"_s));
    QStringList texts;
    for (const QJsonValue &goal : QJsonDocument::fromJson(file.open(QIODevice::ReadOnly) ? file.readAll() : "").array())
        texts.append(goal.toObject().value(u"text"_s).toString());
    return texts;
}

qint64 IntakeEndToEndTest::panelPid(bool uiTesting) const
{
    qint64 pid = 0;
    if (!QLockFile(lockFile(uiTesting)).getLockInfo(&pid, nullptr, nullptr) || ::kill(pid_t(pid), 0) != 0)
        return 0;
    return pid;
}

void IntakeEndToEndTest::send_startsAPanelThatOutlastsBadClients()
{
    // The largest text a sender takes, in lines as long as a goal may be.
    const QByteArray longestLine(MaxGoalTextLength, 'y');
    QByteArray largest = (longestLine + '\n').repeated(MaxPayload / (MaxGoalTextLength + 1));
    const QByteArray lastLine(MaxPayload - largest.size(), 'y');
    largest += lastLine;
    QStringList largestGoals(MaxPayload / (MaxGoalTextLength + 1), QString::fromLatin1(longestLine));
    largestGoals.append(QString::fromLatin1(lastLine));
    const struct {
        QStringList texts;
        QByteArray input;
        QStringList goals;
    } sends[] = {
        { { u"  first "_s, u"second\nthird"_s, u"   "_s }, {}, { u"first"_s, u"second"_s, u"third"_s } },
        { {}, "a\r\n\r\n  b\t\r\n\n", { u"a"_s, u"b"_s } },
        { {}, "\n  \r\n", {} },
        // Where a switch and a text are easy to confuse; a text taken for a mode switch would reach another panel.
        { { u"--ui-testing=1"_s, u"--"_s, u"--ui-testing"_s, u"--"_s, u"--help"_s }, {},
            { u"--ui-testing=1"_s, u"--ui-testing"_s, u"--"_s, u"--help"_s } },
        { {}, "caf\xc3\xa9 \xff!\n", { u"café \uFFFD!"_s } },
        { {}, largest, largestGoals },
    };
    // No panel runs yet: the first send starts one, which stays and takes the rest.
    QVERIFY(!QFile::exists(lockFile()));
    qint64 panel = 0;
    QStringList goals;
    for (const auto &[texts, input, added] : sends) {
        const Result sent = run(QStringList { u"--send"_s } + texts, input);
        QCOMPARE(sent.exitCode, 0);
        QVERIFY2(sent.out.startsWith("Added " + QByteArray::number(added.size()) + " goal"), sent.out.constData());
        panel = panel ? panel : panelPid();
        QVERIFY(panel > 0 && panelPid() == panel);
        // Exit status 0 means the goals are already in the file.
        goals += added;
        QCOMPARE(goalTexts(), goals);
    }
    // The sender itself refuses a text over the limit.
    const Result tooLarge = run({ u"--send"_s }, QByteArray(MaxPayload + 1, 'x'));
    QCOMPARE(tooLarge.exitCode, 1);
    QVERIFY2(tooLarge.err.contains("larger than the limit"), tooLarge.err.constData());
    // The panel refuses the whole of a text with a line too long for a goal, and says why.
    const Result tooLong = run({ u"--send"_s, u"A short goal"_s, QString(MaxGoalTextLength + 1, u'z') });
    QCOMPARE(tooLong.exitCode, 1);
    QVERIFY2(tooLong.err.contains("longer than"), tooLong.err.constData());
    QCOMPARE(goalTexts(), goals);

    std::array<QLocalSocket, 4> clients;
    auto &[halfFrame, garbage, oversized, hangsUp] = clients;
    for (QLocalSocket &client : clients) {
        client.connectToServer(socket());
        QVERIFY(client.waitForConnected());
    }
    halfFrame.write(encode(Kind::SendText, "never finished").first(HeaderSize + 3));
    QVERIFY(halfFrame.waitForBytesWritten());
    garbage.write("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    // A client that does not check the size itself is refused by the panel before it sends the text.
    QByteArray header = encode(Kind::SendText).first(HeaderSize);
    header[5] = char(0x7f);
    oversized.write(header);
    // Sent in full, then gone before the reply: the text is still taken, and the reply to nobody harms nothing.
    hangsUp.write(encode(Kind::SendText, "sent, then gone"));
    QVERIFY(hangsUp.waitForBytesWritten());
    hangsUp.abort();
    for (const auto &[client, error] :
        { std::pair { &garbage, "not a Mirel message" }, { &oversized, "larger than the limit" } }) {
        QVERIFY(client->waitForDisconnected(StartTimeoutMs));
        FrameReader reply;
        reply.append(client->readAll());
        QCOMPARE(reply.state(), FrameReader::State::Complete);
        QCOMPARE(reply.frame().kind, Kind::Refused);
        QVERIFY2(reply.frame().payload.contains(error), reply.frame().payload.constData());
    }

    goals.append(u"sent, then gone"_s);
    QTRY_COMPARE_WITH_TIMEOUT(goalTexts(), goals, StartTimeoutMs);

    // While the half frame still hangs, a real sender gets through.
    QCOMPARE(run({ u"--send"_s, u"still served"_s }).exitCode, 0);
    goals.append(u"still served"_s);
    QCOMPARE(goalTexts(), goals);
    // A client that never finishes its request is dropped rather than held forever.
    QVERIFY(halfFrame.waitForDisconnected(3 * StartTimeoutMs));
    QCOMPARE(panelPid(), panel);
}

void IntakeEndToEndTest::starts_leaveOnePanelPerMode()
{
    {
        // A live process holds the lock but never listens: a sender fails, and no second panel starts.
        QLockFile held(lockFile());
        QVERIFY(held.tryLock(0));
        const Result sent = run({ u"--send"_s, u"lost"_s });
        QCOMPARE(sent.exitCode, 1);
        QVERIFY2(sent.err.contains("no Mirel panel answered"), sent.err.constData());
        QVERIFY(sent.out.isEmpty());
        QVERIFY(!QFile::exists(socket()));
        QCOMPARE(goalTexts(), QStringList());
    }
    // The starts that lose the race wait for the winner to listen, then leave.
    QList<QProcess *> starts;
    for (int i = 0; i < 3; ++i)
        starts.append(startPanel({}, false));
    QTRY_COMPARE_WITH_TIMEOUT(std::ranges::count(starts, QProcess::Running, &QProcess::state), 1, StartTimeoutMs);
    QProcess *panel = *std::ranges::find(starts, QProcess::Running, &QProcess::state);
    for (QProcess *start : std::as_const(starts))
        QVERIFY(start == panel || (start->exitStatus() == QProcess::NormalExit && start->exitCode() == 0));
    QCOMPARE(panelPid(), panel->processId());
    // Only the user may talk to the panel.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(socket()).permissions() & others, QFile::Permissions());

    // A later start brings the panel forward and leaves.
    QCOMPARE(run({}).exitCode, 0);
    QCOMPARE(panel->state(), QProcess::Running);
    QCOMPARE(panelPid(), panel->processId());

    // A UI-testing panel is the one panel of its own mode. One that crashed leaves its socket and lock behind;
    // the next replaces them.
    m_environment.insert(u"UITEST_GOALS"_s, u"seeded"_s);
    QProcess *crashed = startPanel({ u"--ui-testing"_s });
    crashed->kill();
    crashed->waitForFinished();
    QVERIFY(QFile::exists(socket(true)) && QFile::exists(lockFile(true)));
    QProcess *testPanel = startPanel({ u"--ui-testing"_s });
    QCOMPARE(panelPid(true), testPanel->processId());
    QCOMPARE(run({ u"--send"_s, u"--ui-testing"_s, u"one"_s, u"two"_s }).out, QByteArray("Added 2 goals to Mirel.\n"));
    QCOMPARE(run({ u"--ui-testing"_s, u"--send"_s, u"three"_s }).out, QByteArray("Added 1 goal to Mirel.\n"));

    // The memory-only panel took those texts; the user's panel and its file saw nothing of them.
    QCOMPARE(run({ u"--send"_s, u"mine"_s }).exitCode, 0);
    QCOMPARE(goalTexts(), QStringList { u"mine"_s });
}

void IntakeEndToEndTest::sendSelection_addsTheSelectedLines()
{
    const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
    const QString xclip = QStandardPaths::findExecutable(u"xclip"_s);
    if (xvfb.isEmpty() || xclip.isEmpty())
        QSKIP("needs Xvfb and xclip");
    startPanel();
    QProcess *server = m_processes.emplace_back(new QProcess);
    // Its warnings reach the log instead of a pipe nobody reads, and it does not reset each time its last client
    // leaves, as every reader below does.
    server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server->start(xvfb,
        { u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-noreset"_s, u"-screen"_s, u"0"_s, u"640x480x24"_s });
    QVERIFY(server->waitForReadyRead(StartTimeoutMs));
    // From here on the processes run on the X server, not offscreen, so the selection is the server's.
    m_environment.insert(u"DISPLAY"_s, u":"_s + QString::fromLatin1(server->readLine().trimmed()));
    m_environment.remove(u"QT_QPA_PLATFORM"_s);

    // Nothing selected: nothing to add, and not an error.
    const Result empty = run({ u"--send-selection"_s });
    QCOMPARE(empty.exitCode, 0);
    QVERIFY2(empty.err.contains("no text is selected"), empty.err.constData());
    QCOMPARE(goalTexts(), QStringList());

    // The owner reads the text from a file, so it holds the selection whether or not this test's event loop
    // has run since.
    const QByteArray selected = "Selected first\r\n\n  selected second  \n";
    QFile selection(path(u"selection.txt"_s));
    QVERIFY(selection.open(QIODevice::WriteOnly) && selection.write(selected) == selected.size());
    selection.close();
    QProcess *owner = m_processes.emplace_back(new QProcess);
    owner->setProcessEnvironment(m_environment);
    owner->setProcessChannelMode(QProcess::ForwardedChannels);
    owner->start(xclip, { u"-quiet"_s, u"-selection"_s, u"primary"_s, u"-i"_s, selection.fileName() });
    QVERIFY(owner->waitForStarted(StartTimeoutMs));
    const auto currentSelection = [&] {
        QProcess reader;
        reader.setProcessEnvironment(m_environment);
        reader.start(xclip, { u"-o"_s, u"-selection"_s, u"primary"_s });
        // A reader that hangs is killed and asked again rather than spending the whole wait.
        if (!reader.waitForFinished(StartTimeoutMs / 4))
            reader.kill();
        return reader.readAllStandardOutput();
    };
    const QDeadlineTimer deadline(3 * StartTimeoutMs);
    QByteArray shown = currentSelection();
    while (shown != selected && owner->state() == QProcess::Running && !deadline.hasExpired()) {
        QTest::qWait(50);
        shown = currentSelection();
    }
    QVERIFY2(shown == selected,
        qPrintable(u"the selection reads \"%1\"; its owner is %2"_s.arg(QString::fromUtf8(shown),
            owner->state() == QProcess::Running ? u"running"_s : u"gone (exit %1)"_s.arg(owner->exitCode()))));

    const Result sent = run({ u"--send-selection"_s });
    QCOMPARE(sent.exitCode, 0);
    QCOMPARE(sent.out, QByteArray("Added 2 goals to Mirel.\n"));
    QCOMPARE(goalTexts(), (QStringList { u"Selected first"_s, u"selected second"_s }));
}

void IntakeEndToEndTest::helpAndVersion_answerWithoutADisplayOrAPanel()
{
    // On the X11 platform with no display to reach: a process that tried to open one would abort.
    m_environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    m_environment.remove(u"DISPLAY"_s);
    m_environment.remove(u"WAYLAND_DISPLAY"_s);
    for (const QStringList &arguments :
        { QStringList { u"--help"_s }, { u"-h"_s }, { u"--ui-testing"_s, u"--help"_s, u"--send"_s, u"text"_s } }) {
        const Result help = run(arguments);
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.err.isEmpty(), help.err.constData());
        for (const char *name :
            { "--send ", "--send-selection ", "--ui-testing ", "--screenshot-backdrop ", "--help ", "--version " })
            QVERIFY2(help.out.contains(name), name);
    }
    for (const QString &version : { u"--version"_s, u"-v"_s }) {
        const Result shown = run({ version, u"--screenshot-backdrop"_s });
        QCOMPARE(shown.exitCode, 0);
        QCOMPARE(shown.out, QByteArray("mirel " MIREL_VERSION "\n"));
    }
    // A near miss, a mistyped switch or a bare text is no request: it says how to do it instead, exits 2
    // and starts nothing.
    for (const QStringList &arguments :
        { QStringList { u"--help=1"_s }, { u"--sned"_s, u"Call mom"_s }, { u"Call mom"_s } }) {
        const Result misuse = run(arguments);
        QCOMPARE(misuse.exitCode, 2);
        QVERIFY2(misuse.out.isEmpty() && misuse.err.contains("mirel --send \"Call mom\"\n")
                && misuse.err.contains("mirel --help"),
            misuse.err.constData());
    }
    // None of them took the panel lock or wrote a file.
    for (const QString &folder : { u"runtime"_s, u"data"_s, u"config"_s })
        QVERIFY2(QDir(path(folder)).isEmpty(), qPrintable(folder));

    // Qt's own switches still reach Qt, the "=" form too: the platform given here wins over the unusable one.
    QProcess *panel = startPanel({ u"--platform=offscreen"_s, u"-reverse"_s });
    QCOMPARE(panelPid(), panel->processId());
}

QTEST_GUILESS_MAIN(IntakeEndToEndTest)
#include "intake_e2e_test.moc"

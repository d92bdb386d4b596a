#include "app/intakeprotocol.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

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
class IntakeEndToEndTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void send_addsOneGoalPerLine_data();
    void send_addsOneGoalPerLine();
    void send_withoutPanel_startsOne();
    void send_panelNeverAnswering_failsWithMessage();
    void send_panelCannotStart_failsWithMessage();
    void send_oversizedText_isRefused();
    void badClients_neitherBlockNorStopThePanel();
    void secondStart_leavesOnePanel();
    void simultaneousStarts_makeOnePanel();
    void uiTesting_hasItsOwnPanel();
    void uiTesting_panelAfterCrash_replacesStaleSocket();
    void sendSelection_addsTheSelectedLines();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString lockFile(bool uiTesting = false) const;
    QString socket(bool uiTesting = false) const;
    enum class Wait { UntilListening, No };
    QProcess *startPanel(const QStringList &arguments = {}, Wait wait = Wait::UntilListening);
    Result run(const QStringList &arguments, const QByteArray &input = {}, const QString &display = {},
        const QString &program = QStringLiteral(MIREL_EXECUTABLE));
    QStringList goalTexts() const;
    // The panel process holding the lock, however it was started; 0 when none does.
    qint64 panelPid(bool uiTesting = false) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcessEnvironment m_environment;
    QList<QProcess *> m_panels;
};

void IntakeEndToEndTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    m_environment.remove(u"UITEST_GOALS"_s);
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
    for (QProcess *panel : std::as_const(m_panels)) {
        panel->terminate();
        panel->waitForFinished();
    }
    qDeleteAll(m_panels);
    m_panels.clear();
}

QString IntakeEndToEndTest::lockFile(bool uiTesting) const
{
    return path(uiTesting ? u"runtime/mirel-uitests.lock"_s : u"runtime/mirel.lock"_s);
}

QString IntakeEndToEndTest::socket(bool uiTesting) const
{
    return path(uiTesting ? u"runtime/mirel-uitests.socket"_s : u"runtime/mirel.socket"_s);
}

QProcess *IntakeEndToEndTest::startPanel(const QStringList &arguments, Wait wait)
{
    auto *panel = new QProcess;
    m_panels.append(panel);
    panel->setProcessEnvironment(m_environment);
    panel->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    panel->start(QStringLiteral(MIREL_EXECUTABLE), arguments);
    panel->waitForStarted();
    if (wait == Wait::No)
        return panel;
    // Ready once it holds the lock and listens; a socket file alone may be left over from a crash.
    const bool uiTesting = arguments.contains(u"--ui-testing"_s);
    const QDeadlineTimer deadline(StartTimeoutMs);
    const auto isListening = [&] {
        QLocalSocket probe;
        probe.connectToServer(socket(uiTesting));
        return probe.waitForConnected(0);
    };
    while ((panelPid(uiTesting) != panel->processId() || !isListening()) && panel->state() == QProcess::Running
        && !deadline.hasExpired())
        QTest::qWait(20);
    return panel;
}

Result IntakeEndToEndTest::run(
    const QStringList &arguments, const QByteArray &input, const QString &display, const QString &program)
{
    QProcess process;
    QProcessEnvironment environment = m_environment;
    if (!display.isEmpty()) {
        // On the X server, not offscreen, so the selection is the server's.
        environment.insert(u"DISPLAY"_s, display);
        environment.remove(u"QT_QPA_PLATFORM"_s);
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
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
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList texts;
    const QJsonArray goals = QJsonDocument::fromJson(file.readAll()).array();
    for (const QJsonValue &goal : goals)
        texts.append(goal.toObject().value(u"text"_s).toString());
    return texts;
}

qint64 IntakeEndToEndTest::panelPid(bool uiTesting) const
{
    qint64 pid = 0;
    QString hostname;
    QString application;
    QLockFile lock(lockFile(uiTesting));
    if (!lock.getLockInfo(&pid, &hostname, &application) || ::kill(pid_t(pid), 0) != 0)
        return 0;
    return pid;
}

void IntakeEndToEndTest::send_addsOneGoalPerLine_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("goals");

    const QStringList fromInput;
    QTest::newRow("one argument") << QStringList { u"Call the bank"_s } << QByteArray()
                                  << QStringList { u"Call the bank"_s };
    QTest::newRow("several arguments, trimmed") << QStringList { u"  first "_s, u"second\nthird"_s, u"   "_s }
                                                << QByteArray() << QStringList { u"first"_s, u"second"_s, u"third"_s };
    QTest::newRow("standard input") << fromInput << QByteArray("one\ntwo\n") << QStringList { u"one"_s, u"two"_s };
    QTest::newRow("CR LF and blank lines")
        << fromInput << QByteArray("a\r\n\r\n  b\t\r\n\n") << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("only blank lines") << fromInput << QByteArray("\n  \r\n") << QStringList();
    QTest::newRow("empty input") << fromInput << QByteArray() << QStringList();
    QTest::newRow("invalid UTF-8") << fromInput << QByteArray("caf\xc3\xa9 \xff!\n")
                                   << QStringList { u"café \uFFFD!"_s };
}

void IntakeEndToEndTest::send_addsOneGoalPerLine()
{
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, goals);

    startPanel();
    QVERIFY(run({ u"--send"_s, u"existing"_s }).exitCode == 0);

    const Result sent = run(QStringList { u"--send"_s } + texts, input);
    QCOMPARE(sent.exitCode, 0);
    QCOMPARE(sent.out,
        QByteArray(
            "Added " + QByteArray::number(goals.size()) + (goals.size() == 1 ? " goal" : " goals") + " to Mirel.\n"));
    // Exit status 0 means the goals are already in the file.
    QCOMPARE(goalTexts(), QStringList { u"existing"_s } + goals);
}

void IntakeEndToEndTest::send_withoutPanel_startsOne()
{
    QVERIFY(!QFile::exists(lockFile()));
    const Result sent = run({ u"--send"_s, u"from a shortcut"_s });
    QCOMPARE(sent.exitCode, 0);
    QCOMPARE(goalTexts(), QStringList { u"from a shortcut"_s });
    QVERIFY(panelPid() > 0);

    // The started panel keeps running and takes the next text.
    QCOMPARE(run({ u"--send"_s, u"next"_s }).exitCode, 0);
    QCOMPARE(goalTexts(), (QStringList { u"from a shortcut"_s, u"next"_s }));
}

void IntakeEndToEndTest::send_panelNeverAnswering_failsWithMessage()
{
    // A live process holding the lock that never listens: the command must neither start a second panel nor
    // claim success.
    QLockFile held(lockFile());
    QVERIFY(held.tryLock(0));
    const Result sent = run({ u"--send"_s, u"lost"_s });
    QCOMPARE(sent.exitCode, 1);
    QVERIFY2(sent.err.contains("no Mirel panel answered"), sent.err.constData());
    QVERIFY(sent.out.isEmpty());
    QVERIFY(!QFile::exists(socket()));
    QCOMPARE(goalTexts(), QStringList());
}

void IntakeEndToEndTest::send_panelCannotStart_failsWithMessage()
{
    // A panel that cannot reach a window system aborts; the shell keeps it from leaving a core file behind.
    m_environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    m_environment.remove(u"DISPLAY"_s);
    m_environment.remove(u"WAYLAND_DISPLAY"_s);
    const Result sent = run(
        { u"-c"_s, u"ulimit -c 0; exec \"$0\" --send lost"_s, QStringLiteral(MIREL_EXECUTABLE) }, {}, {}, u"/bin/sh"_s);
    QCOMPARE(sent.exitCode, 1);
    QVERIFY2(sent.err.contains("quit at once"), sent.err.constData());
    QVERIFY(sent.out.isEmpty());
}

void IntakeEndToEndTest::send_oversizedText_isRefused()
{
    startPanel();
    const Result tooLarge = run({ u"--send"_s }, QByteArray(MaxPayload + 1, 'x'));
    QCOMPARE(tooLarge.exitCode, 1);
    QVERIFY2(tooLarge.err.contains("larger than the limit"), tooLarge.err.constData());

    // A client that does not check the size itself is refused by the panel before it sends the text.
    QLocalSocket client;
    client.connectToServer(socket());
    QVERIFY(client.waitForConnected());
    QByteArray header = encode(Kind::SendText).first(HeaderSize);
    header[5] = char(0x7f);
    client.write(header);
    FrameReader reply;
    while (reply.state() == FrameReader::State::Reading && client.waitForReadyRead(StartTimeoutMs))
        reply.append(client.readAll());
    QCOMPARE(reply.state(), FrameReader::State::Complete);
    QCOMPARE(reply.frame().kind, Kind::Refused);
    QVERIFY(reply.frame().payload.contains("larger than the limit"));

    const Result atLimit = run({ u"--send"_s }, QByteArray(MaxPayload, 'y'));
    QCOMPARE(atLimit.exitCode, 0);
    QCOMPARE(goalTexts(), QStringList { QString(MaxPayload, u'y') });
}

void IntakeEndToEndTest::badClients_neitherBlockNorStopThePanel()
{
    QProcess *panel = startPanel();

    QLocalSocket silent;
    silent.connectToServer(socket());
    QVERIFY(silent.waitForConnected());
    QLocalSocket halfFrame;
    halfFrame.connectToServer(socket());
    QVERIFY(halfFrame.waitForConnected());
    halfFrame.write(encode(Kind::SendText, "never finished").first(HeaderSize + 3));
    QVERIFY(halfFrame.waitForBytesWritten());
    QLocalSocket garbage;
    garbage.connectToServer(socket());
    QVERIFY(garbage.waitForConnected());
    garbage.write("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    QVERIFY(garbage.waitForDisconnected(StartTimeoutMs));
    QVERIFY(garbage.readAll().startsWith("MRL1E"));
    QLocalSocket hangsUp;
    hangsUp.connectToServer(socket());
    QVERIFY(hangsUp.waitForConnected());
    hangsUp.write(encode(Kind::SendText, "dropped"));
    hangsUp.abort();

    // While the others still hang, a real sender gets through.
    const Result sent = run({ u"--send"_s, u"still served"_s });
    QCOMPARE(sent.exitCode, 0);
    QVERIFY(goalTexts().endsWith(u"still served"_s));
    QCOMPARE(panel->state(), QProcess::Running);

    // Clients that never finish their request are dropped rather than held forever.
    QVERIFY(silent.waitForDisconnected(3 * StartTimeoutMs));
    QVERIFY(halfFrame.waitForDisconnected(3 * StartTimeoutMs));
    QCOMPARE(panel->state(), QProcess::Running);
}

void IntakeEndToEndTest::secondStart_leavesOnePanel()
{
    QProcess *panel = startPanel();
    const qint64 pid = panel->processId();
    QCOMPARE(panelPid(), pid);
    // Only the user may talk to the panel.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(socket()).permissions() & others, QFile::Permissions());

    const Result second = run({});
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(panel->state(), QProcess::Running);
    QCOMPARE(panelPid(), pid);
    // The one writer still answers.
    QCOMPARE(run({ u"--send"_s, u"after"_s }).exitCode, 0);
    QCOMPARE(goalTexts(), QStringList { u"after"_s });
}

void IntakeEndToEndTest::simultaneousStarts_makeOnePanel()
{
    QList<QProcess *> starts;
    for (int i = 0; i < 3; ++i)
        starts.append(startPanel({}, Wait::No));
    // The starts that lose wait for the winner to listen, then leave.
    const auto stillRunning = [&] {
        return std::count_if(
            starts.cbegin(), starts.cend(), [](QProcess *p) { return p->state() == QProcess::Running; });
    };
    QTRY_COMPARE_WITH_TIMEOUT(stillRunning(), 1, StartTimeoutMs);
    int running = 0;
    for (QProcess *start : std::as_const(starts)) {
        if (start->state() == QProcess::Running) {
            ++running;
            QCOMPARE(panelPid(), start->processId());
        } else {
            QCOMPARE(start->exitStatus(), QProcess::NormalExit);
            QCOMPARE(start->exitCode(), 0);
        }
    }
    QCOMPARE(running, 1);
}

void IntakeEndToEndTest::uiTesting_hasItsOwnPanel()
{
    startPanel();
    m_environment.insert(u"UITEST_GOALS"_s, u"seeded"_s);
    startPanel({ u"--ui-testing"_s });
    QVERIFY(panelPid(true) > 0);
    QVERIFY(panelPid(true) != panelPid(false));

    const Result sent = run({ u"--send"_s, u"--ui-testing"_s, u"one"_s, u"two"_s });
    QCOMPARE(sent.exitCode, 0);
    QCOMPARE(sent.out, QByteArray("Added 2 goals to Mirel.\n"));
    // The memory-only panel took the text; the user's panel and its file saw nothing.
    QCOMPARE(goalTexts(), QStringList());
    QVERIFY(!QFile::exists(path(u"data/Mirel/todos.json"_s)));

    QCOMPARE(run({ u"--send"_s, u"mine"_s }).exitCode, 0);
    QCOMPARE(goalTexts(), QStringList { u"mine"_s });
}

void IntakeEndToEndTest::uiTesting_panelAfterCrash_replacesStaleSocket()
{
    QProcess *crashed = startPanel({ u"--ui-testing"_s });
    QVERIFY(QFile::exists(socket(true)));
    crashed->kill();
    crashed->waitForFinished();
    QVERIFY(QFile::exists(socket(true)));
    QVERIFY(QFile::exists(lockFile(true)));

    QProcess *panel = startPanel({ u"--ui-testing"_s });
    QCOMPARE(panelPid(true), panel->processId());
    const Result sent = run({ u"--ui-testing"_s, u"--send"_s, u"after the crash"_s });
    QCOMPARE(sent.exitCode, 0);
    QCOMPARE(sent.out, QByteArray("Added 1 goal to Mirel.\n"));
}

void IntakeEndToEndTest::sendSelection_addsTheSelectedLines()
{
    const QString xvfbPath = QStandardPaths::findExecutable(u"Xvfb"_s);
    const QString xclipPath = QStandardPaths::findExecutable(u"xclip"_s);
    if (xvfbPath.isEmpty() || xclipPath.isEmpty())
        QSKIP("needs Xvfb and xclip");
    QProcess xvfb;
    xvfb.start(xvfbPath, { u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"640x480x24"_s });
    QVERIFY(xvfb.waitForReadyRead(StartTimeoutMs));
    const QString display = u":"_s + QString::fromLatin1(xvfb.readLine().trimmed());
    const auto stopXvfb = qScopeGuard([&] {
        xvfb.terminate();
        xvfb.waitForFinished();
    });
    startPanel();

    // Nothing selected: nothing to add, and not an error.
    const Result empty = run({ u"--send-selection"_s }, {}, display);
    QCOMPARE(empty.exitCode, 0);
    QVERIFY2(empty.err.contains("no text is selected"), empty.err.constData());
    QCOMPARE(goalTexts(), QStringList());

    QProcessEnvironment onDisplay = m_environment;
    onDisplay.insert(u"DISPLAY"_s, display);
    QProcess owner;
    owner.setProcessEnvironment(onDisplay);
    owner.start(xclipPath, { u"-quiet"_s, u"-selection"_s, u"primary"_s });
    const QByteArray selected = "Selected first\r\n\n  selected second  \n";
    owner.write(selected);
    owner.closeWriteChannel();
    QVERIFY(owner.waitForStarted());
    const auto stopOwner = qScopeGuard([&] {
        owner.terminate();
        owner.waitForFinished();
    });
    const auto currentSelection = [&] {
        QProcess reader;
        reader.setProcessEnvironment(onDisplay);
        reader.start(xclipPath, { u"-o"_s, u"-selection"_s, u"primary"_s });
        reader.waitForFinished();
        return reader.readAllStandardOutput();
    };
    QTRY_COMPARE_WITH_TIMEOUT(currentSelection(), selected, StartTimeoutMs);

    const Result sent = run({ u"--send-selection"_s }, {}, display);
    QCOMPARE(sent.exitCode, 0);
    QCOMPARE(sent.out, QByteArray("Added 2 goals to Mirel.\n"));
    QCOMPARE(goalTexts(), (QStringList { u"Selected first"_s, u"selected second"_s }));
}

QTEST_GUILESS_MAIN(IntakeEndToEndTest)
#include "intake_e2e_test.moc"

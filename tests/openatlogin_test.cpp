#include "app/openatlogin.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

// Sends this process's standard error to a file for as long as it lives, so a test can read what was logged.
class CapturedStandardError final {
    Q_DISABLE_COPY_MOVE(CapturedStandardError)

public:
    explicit CapturedStandardError(const QString &path)
        : m_path(path)
        , m_saved(::dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(file, STDERR_FILENO);
        ::close(file);
    }
    ~CapturedStandardError() { restore(); }

    QByteArray text()
    {
        restore();
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

    QString m_path;
    int m_saved = -1;
};

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class OpenAtLoginTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void turningOnAndOff_followsTheEntryOnDisk();
    void entryChangedElsewhere_isReadAfresh_data();
    void entryChangedElsewhere_isReadAfresh();
    void failedChange_logsOneLineAndChangesNothing_data();
    void failedChange_logsOneLineAndChangesNothing();
    void entry_quotesTheExecutable_data();
    void entry_quotesTheExecutable();
    void entry_passesDesktopFileValidate();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_entryPath;
    QString m_executable;
};

void OpenAtLoginTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void OpenAtLoginTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_entryPath = m_dir->filePath(u"autostart/mirel.desktop"_s);
    m_executable = m_dir->filePath(u"bin/mirel"_s);
}

void OpenAtLoginTest::turningOnAndOff_followsTheEntryOnDisk()
{
    const OpenAtLogin login(m_entryPath, m_executable);
    QVERIFY(!login.openAtLoginEnabled());

    login.setOpenAtLogin(true);
    QVERIFY(login.openAtLoginEnabled());
    QFile entry(m_entryPath);
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray contents = entry.readAll();
    QVERIFY(contents.startsWith("[Desktop Entry]\n"));
    QVERIFY(contents.contains("\nExec=\"" + m_executable.toUtf8() + "\"\n"));
    // Only the entry itself is left behind by the atomic write.
    QCOMPARE(QDir(m_dir->filePath(u"autostart"_s)).entryList(QDir::Files | QDir::Hidden),
        QStringList { u"mirel.desktop"_s });

    login.setOpenAtLogin(true);
    QVERIFY(login.openAtLoginEnabled());

    login.setOpenAtLogin(false);
    QVERIFY(!login.openAtLoginEnabled());
    QVERIFY(!QFile::exists(m_entryPath));
    // Turning off what is already off is no failure.
    login.setOpenAtLogin(false);
    QVERIFY(!login.openAtLoginEnabled());
}

void OpenAtLoginTest::entryChangedElsewhere_isReadAfresh_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("another program's plain entry")
        << QByteArray("[Desktop Entry]\nType=Application\nExec=mirel\n") << true;
    QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=mirel\nHidden=true\n") << false;
    QTest::newRow("switched off by GNOME") << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n") << false;
    QTest::newRow("spaces around the equals sign") << QByteArray("[Desktop Entry]\nHidden = true\n") << false;
    QTest::newRow("switched on by GNOME") << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=true\n") << true;
    QTest::newRow("hidden only in an action group")
        << QByteArray("[Desktop Entry]\nExec=mirel\n[Desktop Action New]\nHidden=true\n") << true;
    QTest::newRow("Windows line ends") << QByteArray("[Desktop Entry]\r\nHidden=true\r\n") << false;
}

void OpenAtLoginTest::entryChangedElsewhere_isReadAfresh()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, enabled);

    const OpenAtLogin login(m_entryPath, m_executable);
    login.setOpenAtLogin(true);
    QVERIFY(login.openAtLoginEnabled());
    writeFile(m_entryPath, contents);
    QCOMPARE(login.openAtLoginEnabled(), enabled);
    QFile::remove(m_entryPath);
    QVERIFY(!login.openAtLoginEnabled());
}

void OpenAtLoginTest::failedChange_logsOneLineAndChangesNothing_data()
{
    QTest::addColumn<bool>("turnOn");

    QTest::newRow("on, folder under a regular file") << true;
    QTest::newRow("off, entry that cannot be removed") << false;
}

void OpenAtLoginTest::failedChange_logsOneLineAndChangesNothing()
{
    QFETCH(bool, turnOn);

    // Permissions stop nobody when tests run as root; a path that runs through a regular file, or an entry
    // that is a folder with something in it, fails for everyone.
    QString entryPath;
    if (turnOn) {
        writeFile(m_dir->filePath(u"blocked"_s), "not a folder");
        entryPath = m_dir->filePath(u"blocked/autostart/mirel.desktop"_s);
    } else {
        entryPath = m_dir->filePath(u"mirel.desktop"_s);
        QVERIFY(QDir().mkpath(entryPath + u"/inside"_s));
    }
    const OpenAtLogin login(entryPath, m_executable);
    const bool before = login.openAtLoginEnabled();

    CapturedStandardError captured(m_dir->filePath(u"stderr.txt"_s));
    login.setOpenAtLogin(turnOn);
    const QByteArray logged = captured.text();

    QVERIFY2(logged.startsWith("Open at Login change failed: "), logged.constData());
    QCOMPARE(logged.count('\n'), 1);
    QVERIFY(logged.endsWith('\n'));
    QVERIFY2(logged.size() > qsizetype(strlen("Open at Login change failed: \n")), "no description");
    QCOMPARE(login.openAtLoginEnabled(), before);
    QCOMPARE(QFileInfo(entryPath).isDir(), !turnOn);
}

void OpenAtLoginTest::entry_quotesTheExecutable_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QByteArray>("exec");

    QTest::newRow("plain") << u"/usr/bin/mirel"_s << QByteArray(R"(Exec="/usr/bin/mirel")");
    QTest::newRow("space") << u"/opt/My Apps/mirel"_s << QByteArray(R"(Exec="/opt/My Apps/mirel")");
    QTest::newRow("quote, dollar, backtick") << u"/a\"b$c`d/mirel"_s << QByteArray(R"(Exec="/a\\"b\\$c\\`d/mirel")");
    QTest::newRow("backslash") << u"/a\\b/mirel"_s << QByteArray(R"(Exec="/a\\\\b/mirel")");
    QTest::newRow("percent is not a field code") << u"/100%/mirel"_s << QByteArray(R"(Exec="/100%%/mirel")");
    QTest::newRow("line break stays on one line") << u"/a\nb/mirel"_s << QByteArray(R"(Exec="/a\nb/mirel")");
    QTest::newRow("non-ASCII") << u"/home/zoë/mirel"_s << QByteArray("Exec=\"/home/zo\xc3\xab/mirel\"");
}

void OpenAtLoginTest::entry_quotesTheExecutable()
{
    QFETCH(QString, executable);
    QFETCH(QByteArray, exec);

    const QList<QByteArray> lines = OpenAtLogin::entryFor(executable).split('\n');
    QVERIFY2(lines.contains(exec), OpenAtLogin::entryFor(executable).constData());
}

void OpenAtLoginTest::entry_passesDesktopFileValidate()
{
    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    const OpenAtLogin login(m_entryPath, m_dir->filePath(u"My \"Apps\" $HOME/mirel"_s));
    login.setOpenAtLogin(true);
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, { m_entryPath });
    QVERIFY(validate.waitForFinished());
    const QByteArray output = validate.readAll();
    QVERIFY2(validate.exitCode() == 0 && output.isEmpty(), output.constData());
}

QTEST_GUILESS_MAIN(OpenAtLoginTest)
#include "openatlogin_test.moc"

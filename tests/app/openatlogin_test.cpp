// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/openatlogin.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class OpenAtLoginTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void toggle_followsTheEntryOnDisk();
    void failedChange_logsOneLineAndChangesNothing();
    void entry_quotesTheExecutable();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_entryPath;
    QString m_executable;
};

void OpenAtLoginTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_entryPath = m_dir->filePath(u"autostart/mirel.desktop"_s);
    m_executable = m_dir->filePath(u"bin/mirel"_s);
}

void OpenAtLoginTest::toggle_followsTheEntryOnDisk()
{
    const OpenAtLogin login(m_entryPath, m_executable);
    QVERIFY(!login.openAtLoginEnabled());
    login.setOpenAtLogin(true);
    QVERIFY(login.openAtLoginEnabled());
    // The entry's form is checked by the desktop's own validator below.
    QFile entry(m_entryPath);
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(entry.readAll().contains("\nExec=\"" + m_executable.toUtf8() + "\"\n"));
    entry.close();
    // Only the entry itself is left behind by the atomic write.
    QCOMPARE(QDir(m_dir->filePath(u"autostart"_s)).entryList(QDir::Files | QDir::Hidden),
        QStringList { u"mirel.desktop"_s });

    // How the entry reads once another program or a desktop's startup settings have rewritten it.
    const std::pair<QByteArray, bool> rewritten[] = {
        { "[Desktop Entry]\nType=Application\nExec=mirel\n", true },
        { "[Desktop Entry]\nExec=mirel\nHidden=true\n", false },
        { "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false },
        { "[Desktop Entry]\r\nHidden = true\r\n", false },
        { "[Desktop Entry]\nExec=mirel\n[Desktop Action New]\nHidden=true\n", true },
    };
    for (const auto &[contents, enabled] : rewritten) {
        QVERIFY(entry.open(QIODevice::WriteOnly | QIODevice::Truncate));
        entry.write(contents);
        entry.close();
        QVERIFY2(login.openAtLoginEnabled() == enabled, contents.constData());
    }

    login.setOpenAtLogin(false);
    QVERIFY(!login.openAtLoginEnabled());
    QVERIFY(!QFile::exists(m_entryPath));
    // Turning off what is already off is no failure.
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    login.setOpenAtLogin(false);
    QVERIFY(!login.openAtLoginEnabled());
}

void OpenAtLoginTest::failedChange_logsOneLineAndChangesNothing()
{
    // Permissions stop nobody when tests run as root; a path through a device file (on), or an entry that is a
    // folder with something in it (off), fails for everyone.
    QVERIFY(QDir().mkpath(m_dir->filePath(u"mirel.desktop/inside"_s)));
    // One line each: a second one would fail the test.
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    for (const auto &[entryPath, turnOn] : { std::pair { u"/dev/null/autostart/mirel.desktop"_s, true },
             { m_dir->filePath(u"mirel.desktop"_s), false } }) {
        const OpenAtLogin login(entryPath, m_executable);
        const bool before = login.openAtLoginEnabled();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"\\AOpen at Login change failed: [^\n]+\\z"_s));
        login.setOpenAtLogin(turnOn);
        QCOMPARE(login.openAtLoginEnabled(), before);
        QCOMPARE(QFileInfo(entryPath).isDir(), !turnOn);
    }
}

void OpenAtLoginTest::entry_quotesTheExecutable()
{
    // Every character that a shell, the field codes or the entry's own escapes would otherwise take apart.
    OpenAtLogin(m_entryPath, u"/opt/My 100%/a\"b$c`d\\e\nf/mirel"_s).setOpenAtLogin(true);
    QFile entry(m_entryPath);
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray contents = entry.readAll();
    const QByteArray exec = "Exec=\"/opt/My 100%%/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e\\nf/mirel\"";
    QVERIFY2(contents.split('\n').contains(exec), contents.constData());

    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, { m_entryPath });
    QVERIFY(validate.waitForFinished());
    const QByteArray output = validate.readAll();
    QVERIFY2(validate.exitCode() == 0 && output.isEmpty(), output.constData());
}

QTEST_GUILESS_MAIN(OpenAtLoginTest)
#include "openatlogin_test.moc"

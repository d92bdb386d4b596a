// SPDX-License-Identifier: GPL-3.0-or-later

#include "sync/davserverfixture.h"

#include "app/sync/calendaraccount.h"
#include "app/sync/calendarconnectdialog.h"
#include "sync/newtasklist.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

const QString User = u"anna"_s;
const QString Password = u"s3cret: with a colon"_s;
const QString Title = u"Today's Goals"_s;

// The dialog as a person sees it: its fields in the order they stand.
struct Dialog {
    explicit Dialog(QSettings *preferences)
        : dialog(preferences, Title)
    {
        dialog.show();
        const QList<QLineEdit *> fields = dialog.findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly);
        server = fields.at(0);
        user = fields.at(1);
        password = fields.at(2);
        lists = dialog.findChild<QComboBox *>();
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            if (button->text() == u"Connect"_s)
                connect = button;
            else if (button->text() == u"Cancel"_s)
                cancel = button;
        }
        for (QLabel *label : dialog.findChildren<QLabel *>())
            if (label->wordWrap())
                problem = label;
    }

    void fill(const QString &address, const QString &secret)
    {
        server->setText(address);
        user->setText(User);
        password->setText(secret);
    }

    CalendarConnectDialog dialog;
    QLineEdit *server = nullptr;
    QLineEdit *user = nullptr;
    QLineEdit *password = nullptr;
    QComboBox *lists = nullptr;
    QPushButton *connect = nullptr;
    QPushButton *cancel = nullptr;
    QLabel *problem = nullptr;
};

} // namespace

// The connect dialog against a real Radicale on loopback, and a server that never answers.
class CalendarConnectDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // No keyring here: connecting hands the password to the panel for its run, as on such a desktop.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        QVERIFY(m_dir.isValid());
        m_preferences = std::make_unique<QSettings>(m_dir.filePath(u"Mirel.conf"_s), QSettings::IniFormat);
    }

    void lists_onlyThePlainOneIsTakenAndConnectWaitsForAChoice();
    void refusedPassword_isSelectedAndErrorsWrapWhole();
    void cancel_worksWhileAskingAndStopsTheRequest();

private:
    bool startRadicale(LoopbackServer &server);

    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_preferences;
};

bool CalendarConnectDialogTest::startRadicale(LoopbackServer &server)
{
    const QString radicale = QStandardPaths::findExecutable(u"radicale"_s);
    if (radicale.isEmpty())
        return false;
    QFile users(m_dir.filePath(u"users"_s));
    if (!users.open(QIODevice::WriteOnly))
        return false;
    users.write((User + u':' + Password + u'\n').toUtf8());
    users.close();
    return server.start(radicale, [&](int port) {
        QFile config(m_dir.filePath(u"config"_s));
        if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("the configuration cannot be written");
        config.write(
            u"[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\nhtpasswd_filename = %2\n"
            "htpasswd_encryption = plain\n[storage]\nfilesystem_folder = %3\n[logging]\nlevel = warning\n"_s.arg(port)
                .arg(users.fileName(), m_dir.filePath(u"collections"_s))
                .toUtf8());
        return QStringList { u"--config"_s, config.fileName() };
    });
}

void CalendarConnectDialogTest::lists_onlyThePlainOneIsTakenAndConnectWaitsForAChoice()
{
    LoopbackServer server;
    if (!startRadicale(server))
        QSKIP("Radicale is not installed (scripts/deps.sh --test)");
    const QString address = u"http://127.0.0.1:%1/"_s.arg(server.port());
    const QUrl home(address + User + u'/');
    DavHttp http(User, Password, {});
    for (const QString &name : { u"Shopping"_s, u"Work"_s })
        QCOMPARE(DavFixture::exchange(http, NewTaskList::request(home, name)).status, 201);

    Dialog shown(m_preferences.get());
    QSignalSpy connected(&shown.dialog, &CalendarConnectDialog::connected);
    shown.fill(address, Password);
    QTest::mouseClick(shown.connect, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(shown.lists->isVisible(), DavFixture::Patience);
    // Neither list is plainly the goals': none is taken, and Return connects nothing.
    QCOMPARE(shown.lists->currentIndex(), -1);
    QVERIFY(!shown.connect->isEnabled());
    QTest::keyClick(shown.lists, Qt::Key_Return);
    QTest::qWait(100);
    QVERIFY(connected.isEmpty());
    shown.lists->setCurrentIndex(1);
    QVERIFY(shown.connect->isEnabled());

    // A list named like the panel is the one taken.
    const DavRequest goals = NewTaskList::request(home, Title);
    QCOMPARE(DavFixture::exchange(http, goals).status, 201);
    QTest::keyClicks(shown.user, u"\b"_s + User.back());
    QVERIFY(shown.lists->isHidden() && shown.connect->isEnabled());
    QTest::mouseClick(shown.connect, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(shown.lists->isVisible(), DavFixture::Patience);
    QCOMPARE(shown.lists->currentText(), Title);
    QTest::mouseClick(shown.connect, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 1, DavFixture::Patience);
    QCOMPARE(connected.constFirst().constFirst().toString(), Password);
    const std::optional<CalendarAccount> account = CalendarAccount::read(*m_preferences);
    QVERIFY(account);
    QCOMPARE(account->taskList.path(), goals.url.path());
    QCOMPARE(account->listName, Title);

    // "New list", the last entry, makes one for the goals on the server and connects that.
    Dialog again(m_preferences.get());
    QSignalSpy connectedAgain(&again.dialog, &CalendarConnectDialog::connected);
    again.fill(address, Password);
    QTest::mouseClick(again.connect, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(again.lists->isVisible(), DavFixture::Patience);
    again.lists->setCurrentIndex(again.lists->count() - 1);
    QTest::mouseClick(again.connect, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(connectedAgain.size(), 1, DavFixture::Patience);
    const std::optional<CalendarAccount> made = CalendarAccount::read(*m_preferences);
    QVERIFY(made && made->listName == Title && made->taskList.path() != goals.url.path());
    QCOMPARE(DavFixture::exchange(http, { "PROPFIND", made->taskList, {}, { { "Depth", "0" } } }).status, 207);
}

void CalendarConnectDialogTest::refusedPassword_isSelectedAndErrorsWrapWhole()
{
    LoopbackServer server;
    if (!startRadicale(server))
        QSKIP("Radicale is not installed (scripts/deps.sh --test)");
    Dialog shown(m_preferences.get());
    shown.fill(u"http://127.0.0.1:%1/"_s.arg(server.port()), u"not it"_s);
    shown.user->setFocus();
    QTest::mouseClick(shown.connect, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(shown.problem->text().contains(u"did not accept"_s), DavFixture::Patience);
    QVERIFY(shown.password->hasFocus());
    QTest::keyClicks(shown.password, Password);
    QCOMPARE(shown.password->text(), Password);

    // An address that may not go over plain HTTP: a long reason, shown on as many lines as it takes.
    shown.server->setText(u"http://calendar.example.org/remote.php/dav/principals/users/someone-with-a-long-name/"_s);
    QTest::mouseClick(shown.connect, Qt::LeftButton);
    QVERIFY(shown.problem->text().contains(u"not HTTPS"_s));
    QTRY_VERIFY(shown.problem->height() >= shown.problem->heightForWidth(shown.problem->width()));
    QVERIFY(shown.problem->geometry().bottom() < shown.cancel->mapTo(&shown.dialog, QPoint()).y());
}

void CalendarConnectDialogTest::cancel_worksWhileAskingAndStopsTheRequest()
{
    // A server that takes the request and never answers.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    Dialog shown(m_preferences.get());
    QSignalSpy connected(&shown.dialog, &CalendarConnectDialog::connected);
    shown.fill(u"http://127.0.0.1:%1/"_s.arg(silent.serverPort()), Password);
    QTest::mouseClick(shown.connect, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(silent.hasPendingConnections(), DavFixture::Patience);
    QTcpSocket *asked = silent.nextPendingConnection();
    QVERIFY(!shown.connect->isEnabled());

    QVERIFY(shown.cancel->isEnabled());
    QTest::mouseClick(shown.cancel, Qt::LeftButton);
    QVERIFY(!shown.dialog.isVisible());
    QCOMPARE(shown.dialog.result(), int(QDialog::Rejected));
    QTRY_COMPARE_WITH_TIMEOUT(asked->state(), QAbstractSocket::UnconnectedState, DavFixture::Patience);
    QVERIFY(connected.isEmpty());
}

QTEST_MAIN(CalendarConnectDialogTest)
#include "calendarconnectdialog_test.moc"

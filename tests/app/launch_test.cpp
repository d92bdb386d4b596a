// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/appdelegate.h"
#include "app/start/commandline.h"
#include "model/goalsfile.h"
#include "model/todostore.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class LaunchTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void uiTesting_startsFromScratchAndLeavesNormalRunsAlone();

private:
    QTemporaryDir m_settingsFolder;
};

void LaunchTest::initTestCase()
{
    QVERIFY(m_settingsFolder.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(u"Mirel"_s);
    QApplication::setApplicationName(u"Mirel"_s);
    // Both preference domains live in a scratch folder, never in the user's own configuration.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsFolder.path());
    // Unlike the preferences, the test-mode data folder outlives a run.
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).removeRecursively();
}

void LaunchTest::uiTesting_startsFromScratchAndLeavesNormalRunsAlone()
{
    QSettings().setValue(u"title"_s, u"My own title"_s);
    TodoStore(GoalsFile::defaultLocation()).addLines(u"Saved goal"_s);
    {
        QSettings suite(QString::fromUtf16(UiTestingSuiteName), QString());
        suite.setValue(u"title"_s, u"Left by an earlier test run"_s);
        suite.setValue(u"panelX"_s, 40.0);
    }

    {
        const QStringList seeded = { u"Walk the dog"_s, u"Read"_s, u"Cook"_s };
        AppDelegate delegate;
        delegate.applicationDidFinishLaunching(
            CommandLine::parse({ u"mirel"_s, u"--ui-testing"_s }).launchOptions(seeded.join(u'\n')));
        TodoStore *store = delegate.todoStore();
        QVERIFY(!store->fileURL());
        QStringList goals;
        for (const TodoItem &todo : store->todos())
            goals << todo.text + u':' + QString::number(todo.order) + (todo.completed ? u"*"_s : QString());
        QCOMPARE(goals, (QStringList { u"Walk the dog:0"_s, u"Read:1"_s, u"Cook:2"_s }));
        QVERIFY(delegate.defaults()->allKeys().isEmpty());

        store->toggle(store->todos().constFirst().id);
        store->remove(store->todos().constLast().id);
        delegate.defaults()->setValue(u"title"_s, u"Renamed in the test run"_s);
        delegate.defaults()->sync();
    }

    // A normal run, here with a near miss of the switch, finds its own goals and title untouched by the test run
    // (which changed both), and no test goals.
    AppDelegate normal;
    normal.applicationDidFinishLaunching(
        CommandLine::parse({ u"mirel"_s, u"--ui-testing=1"_s }).launchOptions(u"Ignored\nToo"_s));
    QCOMPARE(normal.todoStore()->fileURL(), std::optional(GoalsFile::defaultLocation()));
    QCOMPARE(normal.todoStore()->todos().size(), 1);
    QCOMPARE(normal.todoStore()->todos().constFirst().text, u"Saved goal"_s);
    QCOMPARE(normal.defaults()->value(u"title"_s).toString(), u"My own title"_s);
}

QTEST_MAIN(LaunchTest)

#include "launch_test.moc"

#include "app/appdelegate.h"
#include "app/launchoptions.h"
#include "model/goalsfile.h"
#include "model/todostore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString TitleKey = u"title"_s;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LaunchOptions uiTesting(const QString &goals)
{
    return LaunchOptions::fromArguments({u"mirel"_s, u"--ui-testing"_s}, goals);
}

} // namespace

class LaunchTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void fromArguments_matchesExactWholeArguments_data();
    void fromArguments_matchesExactWholeArguments();
    void uiTesting_startsFromScratchAndLeavesNormalRunsAlone();

private:
    QString goalsPath() const { return GoalsFile::defaultLocation(); }

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

void LaunchTest::fromArguments_matchesExactWholeArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("uiTesting");
    QTest::addColumn<bool>("screenshotBackdrop");

    QTest::newRow("none") << QStringList{u"mirel"_s} << false << false;
    QTest::newRow("ui testing") << QStringList{u"mirel"_s, u"--ui-testing"_s} << true << false;
    QTest::newRow("screenshot") << QStringList{u"mirel"_s, u"--screenshot-backdrop"_s} << false << true;
    QTest::newRow("both, any order") << QStringList{u"mirel"_s, u"--screenshot-backdrop"_s, u"x"_s, u"--ui-testing"_s}
                                     << true << true;
    // A prefix, a suffix, a value, another case or padding selects nothing.
    QTest::newRow("near misses") << QStringList{u"mirel"_s, u"--ui-testing=1"_s, u"--ui-testingx"_s, u"--ui-test"_s,
                                                u"--UI-Testing"_s, u" --ui-testing"_s, u"-screenshot-backdrop"_s,
                                                u"--screenshot-backdrops"_s, u"--screenshot-backdrop "_s}
                                 << false << false;
}

void LaunchTest::fromArguments_matchesExactWholeArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, uiTesting);
    QFETCH(bool, screenshotBackdrop);

    const LaunchOptions options = LaunchOptions::fromArguments(arguments, u"Goal"_s);
    QCOMPARE(options.uiTesting, uiTesting);
    QCOMPARE(options.screenshotBackdrop, screenshotBackdrop);
    QCOMPARE(options.uiTestGoals, uiTesting ? u"Goal"_s : QString());
}

void LaunchTest::uiTesting_startsFromScratchAndLeavesNormalRunsAlone()
{
    QSettings().setValue(TitleKey, u"My own title"_s);
    TodoStore saved(goalsPath());
    saved.addLines(u"Saved goal"_s);
    const QByteArray goalsBefore = readFile(goalsPath());
    const QDir goalsFolder = QFileInfo(goalsPath()).dir();
    const QStringList filesBefore = goalsFolder.entryList(QDir::AllEntries | QDir::Hidden);
    {
        QSettings suite(QString::fromUtf16(UiTestingSuiteName), QString());
        suite.setValue(TitleKey, u"Left by an earlier test run"_s);
        suite.setValue(u"panelX"_s, 40.0);
    }

    {
        const QStringList seeded = {u"Walk the dog"_s, u"Read"_s, u"Cook"_s};
        AppDelegate delegate;
        delegate.applicationDidFinishLaunching(uiTesting(seeded.join(u'\n')));
        TodoStore *store = delegate.todoStore();
        QVERIFY(store);
        QVERIFY(!store->fileURL());
        QCOMPARE(store->todos().size(), seeded.size());
        for (qsizetype i = 0; i < seeded.size(); ++i) {
            QCOMPARE(store->todos().at(i).text, seeded.at(i));
            QCOMPARE(store->todos().at(i).order, qint64(i));
            QVERIFY(!store->todos().at(i).completed);
        }
        QVERIFY(delegate.defaults());
        QVERIFY(delegate.defaults()->allKeys().isEmpty());

        store->toggle(store->todos().constFirst().id);
        store->remove(store->todos().constLast().id);
        delegate.defaults()->setValue(TitleKey, u"Renamed in the test run"_s);
        delegate.defaults()->sync();
    }
    {
        AppDelegate again;
        again.applicationDidFinishLaunching(uiTesting(QString()));
        QVERIFY(again.todoStore());
        QVERIFY(again.todoStore()->todos().isEmpty());
        QVERIFY(!again.defaults()->contains(TitleKey));
        QVERIFY(!QSettings(QString::fromUtf16(UiTestingSuiteName), QString()).contains(TitleKey));
    }
    QCOMPARE(readFile(goalsPath()), goalsBefore);
    QCOMPARE(goalsFolder.entryList(QDir::AllEntries | QDir::Hidden), filesBefore);

    // A normal run finds its own goals and title, and no test goals.
    AppDelegate normal;
    normal.applicationDidFinishLaunching(LaunchOptions::fromArguments({u"mirel"_s}, u"Ignored\nToo"_s));
    QVERIFY(normal.todoStore());
    QCOMPARE(normal.todoStore()->fileURL(), std::optional(goalsPath()));
    QCOMPARE(normal.todoStore()->todos().size(), 1);
    QCOMPARE(normal.todoStore()->todos().constFirst().text, u"Saved goal"_s);
    QVERIFY(normal.defaults());
    QCOMPARE(normal.defaults()->value(TitleKey).toString(), u"My own title"_s);
}

QTEST_MAIN(LaunchTest)

#include "launch_test.moc"

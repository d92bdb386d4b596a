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

QStringList texts(const TodoStore &store)
{
    QStringList result;
    for (const TodoItem &item : store.todos())
        result.append(item.text);
    return result;
}

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
    void init();

    void fromArguments_matchesExactWholeArguments_data();
    void fromArguments_matchesExactWholeArguments();
    void uiTesting_seedsMemoryStoreAndLeavesGoalsFileAlone();
    void uiTesting_withoutGoals_startsEmpty();
    void uiTesting_emptiesItsSuiteAndSparesNormalPreferences();
    void normalRun_loadsGoalsFileAndIgnoresTestGoals();

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
}

void LaunchTest::init()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).removeRecursively();
    QSettings().clear();
    QSettings(QString::fromUtf16(UiTestingSuiteName), QString()).clear();
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
    QTest::newRow("with a value") << QStringList{u"mirel"_s, u"--ui-testing=1"_s} << false << false;
    QTest::newRow("longer") << QStringList{u"mirel"_s, u"--ui-testingx"_s, u"--screenshot-backdrops"_s} << false
                            << false;
    QTest::newRow("shorter") << QStringList{u"mirel"_s, u"--ui-test"_s, u"-screenshot-backdrop"_s} << false << false;
    QTest::newRow("other case") << QStringList{u"mirel"_s, u"--UI-Testing"_s} << false << false;
    QTest::newRow("padded") << QStringList{u"mirel"_s, u" --ui-testing"_s, u"--screenshot-backdrop "_s} << false
                            << false;
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

void LaunchTest::uiTesting_seedsMemoryStoreAndLeavesGoalsFileAlone()
{
    TodoStore saved(goalsPath());
    saved.addLines(u"Saved goal"_s);
    const QByteArray before = readFile(goalsPath());
    const QStringList filesBefore = QDir(QFileInfo(goalsPath()).path()).entryList(QDir::AllEntries | QDir::Hidden);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(uiTesting(u"Walk the dog\nRead\nCook"_s));

    TodoStore *store = delegate.todoStore();
    QVERIFY(store);
    QVERIFY(!store->fileURL());
    QCOMPARE(texts(*store), QStringList({u"Walk the dog"_s, u"Read"_s, u"Cook"_s}));
    for (qsizetype i = 0; i < store->todos().size(); ++i) {
        QCOMPARE(store->todos().at(i).order, qint64(i));
        QVERIFY(!store->todos().at(i).completed);
    }

    store->toggle(store->todos().constFirst().id);
    store->remove(store->todos().constLast().id);
    QCOMPARE(readFile(goalsPath()), before);
    QCOMPARE(QDir(QFileInfo(goalsPath()).path()).entryList(QDir::AllEntries | QDir::Hidden), filesBefore);
}

void LaunchTest::uiTesting_withoutGoals_startsEmpty()
{
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(uiTesting(QString()));
    QVERIFY(delegate.todoStore());
    QVERIFY(delegate.todoStore()->todos().isEmpty());
    QVERIFY(!QFile::exists(goalsPath()));
}

void LaunchTest::uiTesting_emptiesItsSuiteAndSparesNormalPreferences()
{
    QSettings().setValue(TitleKey, u"My own title"_s);
    {
        QSettings suite(QString::fromUtf16(UiTestingSuiteName), QString());
        suite.setValue(TitleKey, u"Left by an earlier test run"_s);
        suite.setValue(u"panelX"_s, 40.0);
    }

    AppDelegate first;
    first.applicationDidFinishLaunching(uiTesting(QString()));
    QVERIFY(first.defaults());
    QVERIFY(first.defaults()->allKeys().isEmpty());
    first.defaults()->setValue(TitleKey, u"Renamed in the test run"_s);
    first.defaults()->sync();
    QCOMPARE(QSettings().value(TitleKey).toString(), u"My own title"_s);

    AppDelegate second;
    second.applicationDidFinishLaunching(uiTesting(QString()));
    QVERIFY(!second.defaults()->contains(TitleKey));
    QVERIFY(!QSettings(QString::fromUtf16(UiTestingSuiteName), QString()).contains(TitleKey));
    QCOMPARE(QSettings().value(TitleKey).toString(), u"My own title"_s);
}

void LaunchTest::normalRun_loadsGoalsFileAndIgnoresTestGoals()
{
    QSettings().setValue(TitleKey, u"My own title"_s);
    TodoStore saved(goalsPath());
    saved.addLines(u"Saved goal"_s);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(LaunchOptions::fromArguments({u"mirel"_s}, u"Ignored\nToo"_s));

    QVERIFY(delegate.todoStore());
    QCOMPARE(delegate.todoStore()->fileURL(), std::optional(goalsPath()));
    QCOMPARE(texts(*delegate.todoStore()), QStringList(u"Saved goal"_s));
    QVERIFY(delegate.defaults());
    QCOMPARE(delegate.defaults()->value(TitleKey).toString(), u"My own title"_s);
}

QTEST_MAIN(LaunchTest)

#include "launch_test.moc"

#include "model/todostore.h"
#include "views/addarea.h"
#include "views/contentview.h"
#include "views/countlabel.h"
#include "views/emptystaterow.h"
#include "views/goallist.h"
#include "views/panelheader.h"
#include "views/rows/glyphbutton.h"
#include "views/rows/todorowview.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QEnterEvent>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int PanelWidth = 320;

// One panel as the application builds it: a store writing to a temporary goals file, preferences in a
// temporary file, and a view recording what it reports to the window.
struct Panel {
    explicit Panel(const QStringList &goals = {}, const QString &settingsFile = {})
        : goalsFile(dir.filePath(u"todos.json"_s))
        , store(goalsFile)
        , defaults(settingsFile.isEmpty() ? dir.filePath(u"prefs.ini"_s) : settingsFile,
                   QSettings::IniFormat)
    {
        for (const QString &goal : goals)
            store.add(goal);
        store.save();
        view = std::make_unique<ContentView>(
            &store, &defaults, [this] { ++dragChanges; }, [this] { ++dragEnds; },
            [this](QSizeF size) { reports.append(size); });
    }

    bool show(int width = PanelWidth)
    {
        view->resize(width, 200);
        view->show();
        return QTest::qWaitForWindowExposed(view.get());
    }

    QWindow *window() const { return view->windowHandle(); }

    QStringList texts() const
    {
        QStringList texts;
        for (const TodoItem &todo : store.todos())
            texts.append(todo.text);
        return texts;
    }

    QStringList savedTexts() const
    {
        QFile file(goalsFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList texts;
        for (const QJsonValue &goal : QJsonDocument::fromJson(file.readAll()).array())
            texts.append(goal.toObject().value(u"text"_s).toString());
        return texts;
    }

    TodoRowView *row(int index) const { return view->goalList()->row(store.todos().at(index).id); }

    QPoint inWindow(const QWidget *widget, QPoint position) const { return widget->mapTo(view.get(), position); }

    QTemporaryDir dir;
    QString goalsFile;
    TodoStore store;
    QSettings defaults;
    std::unique_ptr<ContentView> view;
    QList<QSizeF> reports;
    int dragChanges = 0;
    int dragEnds = 0;
};

QString longGoal()
{
    return u"Call the plumber about the kitchen sink, then book the electrician for Thursday afternoon"_s;
}

} // namespace

class ContentViewTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void reportedSize_followsTheContent_data();
    void reportedSize_followsTheContent();
    void wrappedRow_growsThePanelByItsExtraHeight();
    void deletedRow_shrinksThePanelAndKeepsItsMeasuredHeight();
    void reorder_keepsTheHeight();
    void resizeToReportedSize_reportsNothingMore();
    void width_isClampedToThePanelRange_data();
    void width_isClampedToThePanelRange();

    void headerDrag_startsAtTenPoints_data();
    void headerDrag_startsAtTenPoints();
    void addButton_clicksOnlyWhileHovered();

    void rowDrag_movesTheGoal_data();
    void rowDrag_movesTheGoal();
    void rowTextClick_stillOpensTheEditor();

    void emptyStateRow_beginsAdding();
    void submit_addsTrimmedGoalAndKeepsAdding();
    void submitBlank_endsAdding_data();
    void submitBlank_endsAdding();
    void escape_discardsTheText();
    void twoGoalsThenEscape_addsBothInOrder();
    void focusLossAndDeactivation_addOnce();
    void deletingLastGoalWhileAdding_keepsTheNewGoalRow();
    void closingWhileEditing_changesNothing();

    void defaultTitle_isNeverWritten();
    void rename_storesTrimmedTitle();
    void rename_keepsTitle_data();
    void rename_keepsTitle();
    void renameThenSwitchingAway_appliesOnce();
    void blankStoredTitle_showsTheDefault();

    void count_showsDoneOfAll();
};

void ContentViewTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void ContentViewTest::reportedSize_followsTheContent_data()
{
    QTest::addColumn<QStringList>("goals");
    QTest::addColumn<int>("height");
    // 6 + header 30 + the empty-state row 28 + 6.
    QTest::newRow("no goals") << QStringList() << 70;
    // 6 + header 30 + three rows of 28 + 6, and no add area.
    QTest::newRow("three single-line goals")
        << QStringList{u"Buy milk"_s, u"Call mum"_s, u"Run"_s} << 126;
}

void ContentViewTest::reportedSize_followsTheContent()
{
    QFETCH(QStringList, goals);
    QFETCH(int, height);
    Panel panel(goals);
    QVERIFY(panel.show());
    QVERIFY(!panel.reports.isEmpty());
    QCOMPARE(panel.reports.constLast(), QSizeF(PanelWidth, height));
    QCOMPARE(panel.view->goalList()->isVisible(), !goals.isEmpty());
    QCOMPARE(panel.view->addArea()->face(), goals.isEmpty() ? AddArea::Face::EmptyState : AddArea::Face::Nothing);
}

void ContentViewTest::wrappedRow_growsThePanelByItsExtraHeight()
{
    Panel panel({u"Buy milk"_s, u"Call mum"_s, u"Run"_s});
    QVERIFY(panel.show());
    QCOMPARE(panel.reports.constLast().height(), 126);

    panel.store.add(longGoal());
    const qreal wrapped = panel.view->rowHeights().value(panel.store.todos().constLast().id);
    QVERIFY2(wrapped > 28, "the long goal should wrap at this width");
    QCOMPARE(wrapped, panel.row(3)->height());
    QCOMPARE(panel.reports.constLast(), QSizeF(PanelWidth, 126 + wrapped));
}

void ContentViewTest::deletedRow_shrinksThePanelAndKeepsItsMeasuredHeight()
{
    Panel panel({u"Buy milk"_s, longGoal()});
    QVERIFY(panel.show());
    const QUuid id = panel.store.todos().constLast().id;
    const qreal wrapped = panel.view->rowHeights().value(id);
    const qreal before = panel.reports.constLast().height();

    panel.store.remove(id);
    QCOMPARE(panel.reports.constLast().height(), before - wrapped);
    QCOMPARE(panel.view->rowHeights().value(id), wrapped);
}

void ContentViewTest::reorder_keepsTheHeight()
{
    Panel panel({longGoal(), u"Buy milk"_s, u"Run"_s});
    QVERIFY(panel.show());
    const qsizetype reports = panel.reports.size();
    panel.store.move({0}, 3);
    QCOMPARE(panel.reports.size(), reports);
}

void ContentViewTest::resizeToReportedSize_reportsNothingMore()
{
    Panel panel({u"Buy milk"_s});
    QVERIFY(panel.show(600));
    QCOMPARE(panel.reports.size(), 1);
    panel.view->resize(panel.reports.constLast().toSize());
    QCOMPARE(panel.reports.size(), 1);
}

void ContentViewTest::width_isClampedToThePanelRange_data()
{
    QTest::addColumn<int>("offered");
    QTest::addColumn<int>("reported");
    QTest::newRow("too wide") << 600 << 520;
    QTest::newRow("widest") << 520 << 520;
    QTest::newRow("in range") << 300 << 300;
    QTest::newRow("narrowest") << 260 << 260;
    QTest::newRow("too narrow") << 200 << 260;
}

void ContentViewTest::width_isClampedToThePanelRange()
{
    QFETCH(int, offered);
    QFETCH(int, reported);
    Panel panel({u"Buy milk"_s});
    QVERIFY(panel.show());
    panel.view->resize(offered, 200);
    QCOMPARE(panel.reports.constLast().width(), reported);
    QCOMPARE(panel.view->backgroundShape().boundingRect().width(), reported);
}

void ContentViewTest::headerDrag_startsAtTenPoints_data()
{
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("ends");
    QTest::newRow("9 points") << QList<int>{3, 6, 9} << 0 << 0;
    QTest::newRow("10 points") << QList<int>{10} << 1 << 1;
    QTest::newRow("every movement past 10") << QList<int>{5, 10, 15, 40} << 3 << 1;
}

void ContentViewTest::headerDrag_startsAtTenPoints()
{
    QFETCH(QList<int>, steps);
    QFETCH(int, changes);
    QFETCH(int, ends);
    Panel panel({u"Buy milk"_s});
    QVERIFY(panel.show());
    // Empty header space between the title and the count.
    const QPoint start = panel.inWindow(panel.view->header(), QPoint(panel.view->header()->width() / 2, 15));
    QTest::mousePress(panel.window(), Qt::LeftButton, {}, start);
    for (int step : steps)
        QTest::mouseMove(panel.window(), start + QPoint(step, 0));
    QTest::mouseRelease(panel.window(), Qt::LeftButton, {}, start + QPoint(steps.constLast(), 0));
    QCOMPARE(panel.dragChanges, changes);
    QCOMPARE(panel.dragEnds, ends);
}

void ContentViewTest::addButton_clicksOnlyWhileHovered()
{
    Panel panel({u"Buy milk"_s});
    QVERIFY(panel.show());
    const GlyphButton *add = panel.view->header()->addButton();
    const QPoint centre = panel.inWindow(add, add->rect().center());

    // Away from the panel the invisible button cannot be hit.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(panel.view.get(), &leave);
    QVERIFY(!panel.view->isHovering());
    QVERIFY(add->testAttribute(Qt::WA_TransparentForMouseEvents));

    QEnterEvent enter(centre, centre, panel.view->mapToGlobal(centre));
    QCoreApplication::sendEvent(panel.view.get(), &enter);
    QVERIFY(panel.view->isHovering());
    QVERIFY(!add->testAttribute(Qt::WA_TransparentForMouseEvents));
    // A small slip while clicking stays a click.
    QTest::mousePress(panel.window(), Qt::LeftButton, {}, centre);
    QTest::mouseMove(panel.window(), centre + QPoint(4, 0));
    QTest::mouseRelease(panel.window(), Qt::LeftButton, {}, centre + QPoint(4, 0));
    QVERIFY(panel.view->isAddingNew());
    QCOMPARE(panel.dragChanges, 0);
    QVERIFY(!add->isDown());
}

void ContentViewTest::rowDrag_movesTheGoal_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("order");
    const QStringList goals{u"A"_s, u"B"_s, u"C"_s};
    QTest::newRow("first to the end") << 0 << 2 << QStringList{u"B"_s, u"C"_s,
                                                               u"A"_s};
    QTest::newRow("last to the top") << 2 << 0 << QStringList{u"C"_s, u"A"_s,
                                                              u"B"_s};
    QTest::newRow("onto itself") << 1 << 1 << goals;
}

void ContentViewTest::rowDrag_movesTheGoal()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, order);
    Panel panel({u"A"_s, u"B"_s, u"C"_s});
    QVERIFY(panel.show());
    TodoRowView *dragged = panel.row(from);
    const TodoRowView *target = panel.row(to);
    // On the goal's text, well away from the checkbox and the delete glyph.
    const QPoint start = panel.inWindow(dragged, QPoint(80, dragged->height() / 2));
    // Past the target's middle, on the side that puts the goal in the target's place.
    const int overshoot = to > from ? target->height() / 2 + 4 : -(target->height() / 2 + 4);
    const QPoint end = panel.inWindow(target, QPoint(80, target->height() / 2 + overshoot));

    QTest::mousePress(panel.window(), Qt::LeftButton, {}, start);
    QTest::mouseMove(panel.window(), start + QPoint(0, end.y() > start.y() ? 3 : -3));
    QTest::mouseMove(panel.window(), (start + end) / 2);
    QTest::mouseMove(panel.window(), end);
    QVERIFY(panel.view->goalList()->isReordering() || from == to);
    QTest::mouseRelease(panel.window(), Qt::LeftButton, {}, end);

    QCOMPARE(panel.texts(), order);
    QCOMPARE(panel.savedTexts(), order);
    QVERIFY(!panel.view->goalList()->isReordering());
    QVERIFY(!dragged->isEditing());
}

void ContentViewTest::rowTextClick_stillOpensTheEditor()
{
    Panel panel({u"A"_s, u"B"_s});
    QVERIFY(panel.show());
    TodoRowView *row = panel.row(1);
    QTest::mouseClick(panel.window(), Qt::LeftButton, {}, panel.inWindow(row, QPoint(80, row->height() / 2)));
    QVERIFY(row->isEditing());
    QCOMPARE(panel.texts(), (QStringList{u"A"_s, u"B"_s}));
}

void ContentViewTest::emptyStateRow_beginsAdding()
{
    Panel panel;
    QVERIFY(panel.show());
    EmptyStateRow *empty = panel.view->addArea()->emptyStateRow();
    QVERIFY(empty->isVisible());
    // Far right: empty space of the row still takes the click.
    QTest::mouseClick(panel.window(), Qt::LeftButton, {}, panel.inWindow(empty, QPoint(empty->width() - 4, 14)));
    QVERIFY(panel.view->isAddingNew());
    QCOMPARE(panel.view->addArea()->face(), AddArea::Face::NewGoal);
    QCOMPARE(panel.view->addArea()->newGoalField()->placeholderText(), u"New goal"_s);
    QCOMPARE(panel.reports.constLast().height(), 70);
}

void ContentViewTest::submit_addsTrimmedGoalAndKeepsAdding()
{
    Panel panel;
    QVERIFY(panel.show());
    panel.view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel.view.get()));
    panel.view->beginAdding();
    QLineEdit *field = panel.view->addArea()->newGoalField();
    QTRY_VERIFY(field->hasFocus());

    QTest::keyClicks(field, u"  Buy milk "_s);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(panel.texts(), QStringList{u"Buy milk"_s});
    QCOMPARE(panel.savedTexts(), QStringList{u"Buy milk"_s});
    QVERIFY(panel.view->isAddingNew());
    QCOMPARE(panel.view->addArea()->newGoalField(), field);
    QVERIFY(field->text().isEmpty());
    QVERIFY(field->hasFocus());
    // The new row sits above the still open new-goal row.
    QCOMPARE(panel.reports.constLast().height(), 6 + 30 + 28 + 28 + 6);
}

void ContentViewTest::submitBlank_endsAdding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << u"   "_s;
}

void ContentViewTest::submitBlank_endsAdding()
{
    QFETCH(QString, typed);
    Panel panel;
    QVERIFY(panel.show());
    panel.view->beginAdding();
    QLineEdit *field = panel.view->addArea()->newGoalField();
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(panel.store.todos().isEmpty());
    QVERIFY(!panel.view->isAddingNew());
    QCOMPARE(panel.view->addArea()->face(), AddArea::Face::EmptyState);
}

void ContentViewTest::escape_discardsTheText()
{
    Panel panel;
    QVERIFY(panel.show());
    panel.view->beginAdding();
    QTest::keyClicks(panel.view->addArea()->newGoalField(), u"Half a thought"_s);
    QTest::keyClick(panel.view->addArea()->newGoalField(), Qt::Key_Escape);
    QVERIFY(panel.store.todos().isEmpty());
    QVERIFY(!panel.view->isAddingNew());

    panel.view->beginAdding();
    QVERIFY(panel.view->newTodoText().isEmpty());
    QVERIFY(panel.view->addArea()->newGoalField()->text().isEmpty());
}

void ContentViewTest::twoGoalsThenEscape_addsBothInOrder()
{
    Panel panel;
    QVERIFY(panel.show());
    panel.view->beginAdding();
    QLineEdit *field = panel.view->addArea()->newGoalField();
    QTest::keyClicks(field, u"First"_s);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(panel.savedTexts(), QStringList{u"First"_s});
    QTest::keyClicks(field, u"Second"_s);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(panel.savedTexts(), (QStringList{u"First"_s, u"Second"_s}));
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!panel.view->isAddingNew());
    QCOMPARE(panel.texts(), (QStringList{u"First"_s, u"Second"_s}));
}

void ContentViewTest::focusLossAndDeactivation_addOnce()
{
    Panel panel;
    QVERIFY(panel.show());
    panel.view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel.view.get()));
    panel.view->beginAdding();
    QLineEdit *field = panel.view->addArea()->newGoalField();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, u"Call mum"_s);

    // Another window taking the focus: the field loses the focus and the panel's window stops being active.
    QLineEdit elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QTRY_VERIFY(!panel.view->isAddingNew());
    QCoreApplication::processEvents();
    QCOMPARE(panel.texts(), QStringList{u"Call mum"_s});
    QCOMPARE(panel.savedTexts(), QStringList{u"Call mum"_s});
}

void ContentViewTest::deletingLastGoalWhileAdding_keepsTheNewGoalRow()
{
    Panel panel({u"Only one"_s});
    QVERIFY(panel.show());
    panel.view->beginAdding();
    panel.store.remove(panel.store.todos().constFirst().id);
    QCOMPARE(panel.view->addArea()->face(), AddArea::Face::NewGoal);
    QVERIFY(!panel.view->goalList()->isVisible());
    panel.view->cancelNewGoal();
    QCOMPARE(panel.view->addArea()->face(), AddArea::Face::EmptyState);
}

void ContentViewTest::closingWhileEditing_changesNothing()
{
    Panel panel({u"Buy milk"_s});
    QVERIFY(panel.show());
    panel.view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel.view.get()));
    panel.view->beginAdding();
    QLineEdit *field = panel.view->addArea()->newGoalField();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, u"Unsent"_s);
    panel.view->beginRename();
    QTest::keyClicks(panel.view->header()->titleEditor(), u" renamed"_s);

    // Going away takes the focus from the editors; that must not commit them.
    panel.view.reset();
    QCOMPARE(panel.texts(), QStringList{u"Buy milk"_s});
    QCOMPARE(panel.savedTexts(), QStringList{u"Buy milk"_s});
    QVERIFY(!panel.defaults.contains(u"title"_s));
}

void ContentViewTest::defaultTitle_isNeverWritten()
{
    Panel panel;
    QVERIFY(panel.show());
    QCOMPARE(panel.view->title(), u"Today's Goals"_s);
    QCOMPARE(panel.view->header()->shownTitle(), u"Today's Goals"_s);
    panel.view->beginRename();
    QCOMPARE(panel.view->header()->titleEditor()->text(), u"Today's Goals"_s);
    panel.view->cancelRename();
    panel.view->beginRename();
    panel.view->commitRename();
    // Committing the unchanged default writes it like any other draft; before that nothing was stored.
    QCOMPARE(panel.defaults.value(u"title"_s).toString(), u"Today's Goals"_s);

    Panel fresh;
    QVERIFY(fresh.show());
    fresh.view->beginRename();
    fresh.view->cancelRename();
    fresh.defaults.sync();
    QVERIFY(!fresh.defaults.contains(u"title"_s));
    QVERIFY(!QFile::exists(fresh.defaults.fileName()));
}

void ContentViewTest::rename_storesTrimmedTitle()
{
    QTemporaryDir dir;
    const QString settingsFile = dir.filePath(u"mirel.ini"_s);
    {
        Panel panel({}, settingsFile);
        QVERIFY(panel.show());
        panel.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(panel.view.get()));
        panel.view->beginRename();
        QLineEdit *editor = panel.view->header()->titleEditor();
        QCOMPARE(editor->objectName(), u"title-editor"_s);
        QCOMPARE(editor->accessibleName(), u"title-editor"_s);
        QCOMPARE(editor->placeholderText(), u"Title"_s);
        QTRY_VERIFY(editor->hasFocus());
        editor->selectAll();
        QTest::keyClicks(editor, u"  Work  "_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!panel.view->isRenaming());
        QVERIFY(!panel.view->header()->titleEditor());
        QCOMPARE(panel.view->header()->shownTitle(), u"Work"_s);
    }
    // Stored at once, in the preferences the view was given.
    QSettings reread(settingsFile, QSettings::IniFormat);
    QCOMPARE(reread.value(u"title"_s).toString(), u"Work"_s);
    Panel next({}, settingsFile);
    QCOMPARE(next.view->title(), u"Work"_s);
}

void ContentViewTest::rename_keepsTitle_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::newRow("empty draft") << QString() << int(Qt::Key_Return);
    QTest::newRow("whitespace draft") << u" \t "_s << int(Qt::Key_Return);
    QTest::newRow("escape") << u"Other"_s << int(Qt::Key_Escape);
}

void ContentViewTest::rename_keepsTitle()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QTemporaryDir dir;
    const QString settingsFile = dir.filePath(u"mirel.ini"_s);
    QSettings(settingsFile, QSettings::IniFormat).setValue(u"title"_s, u"Home"_s);
    Panel panel({}, settingsFile);
    QVERIFY(panel.show());
    QCOMPARE(panel.view->header()->shownTitle(), u"Home"_s);
    panel.view->beginRename();
    QLineEdit *editor = panel.view->header()->titleEditor();
    editor->clear();
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key(key));
    QVERIFY(!panel.view->isRenaming());
    QCOMPARE(panel.defaults.value(u"title"_s).toString(), u"Home"_s);
    QCOMPARE(panel.view->header()->shownTitle(), u"Home"_s);
}

void ContentViewTest::renameThenSwitchingAway_appliesOnce()
{
    Panel panel;
    QVERIFY(panel.show());
    panel.view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel.view.get()));
    panel.view->beginRename();
    QLineEdit *editor = panel.view->header()->titleEditor();
    QTRY_VERIFY(editor->hasFocus());
    editor->selectAll();
    QTest::keyClicks(editor, u"Errands"_s);

    QLineEdit elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QTRY_VERIFY(!panel.view->isRenaming());
    QCOMPARE(panel.defaults.value(u"title"_s).toString(), u"Errands"_s);

    // Later commits from the same edit find rename mode over and change nothing.
    panel.defaults.setValue(u"title"_s, u"Changed elsewhere"_s);
    panel.view->commitRename();
    QCOMPARE(panel.defaults.value(u"title"_s).toString(), u"Changed elsewhere"_s);
}

void ContentViewTest::blankStoredTitle_showsTheDefault()
{
    Panel panel;
    panel.defaults.setValue(u"title"_s, u"  "_s);
    QCOMPARE(panel.view->title(), u"Today's Goals"_s);
}

void ContentViewTest::count_showsDoneOfAll()
{
    Panel panel({u"A"_s, u"B"_s, u"C"_s});
    QVERIFY(panel.show());
    const CountLabel *count = panel.view->header()->countLabel();
    panel.store.toggle(panel.store.todos().at(0).id);
    QCOMPARE(count->text(), u"1 of 3"_s);
    QVERIFY(count->isVisible());

    // Ticking through the row's own checkbox goes through the view to the store.
    for (int i = 1; i < 3; ++i) {
        TodoRowView *row = panel.row(i);
        QTest::mouseClick(panel.window(), Qt::LeftButton, {}, panel.inWindow(row, QPoint(17, row->height() / 2)));
    }
    QCOMPARE(count->text(), u"3 of 3"_s);

    while (!panel.store.todos().isEmpty())
        panel.store.remove(panel.store.todos().constFirst().id);
    QVERIFY(!count->isVisible());
}

QTEST_MAIN(ContentViewTest)
#include "contentview_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/panelsettings.h"
#include "model/todostore.h"
#include "views/addarea/addarea.h"
#include "views/addarea/emptystaterow.h"
#include "views/header/countlabel.h"
#include "views/header/panelheader.h"
#include "views/kit/glyphbutton.h"
#include "views/kit/symbolglyph.h"
#include "views/list/goallist.h"
#include "views/list/goallistscroll.h"
#include "views/list/scrollindicator.h"
#include "views/panel/contentview.h"
#include "views/panel/goalmenu.h"
#include "views/panel/panelactions.h"
#include "views/rows/todorowview.h"

#include <QAction>
#include <QClipboard>
#include <QEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

constexpr int PanelWidth = 320;
const QString LongGoal = u"Call the plumber about the kitchen sink, then book the electrician for Thursday afternoon"_s;
const QString DefaultTitle = u"Today's Goals"_s;

// One panel as the application builds it: a store writing to a temporary goals file, preferences in a
// temporary file, and a view recording what it reports to the window.
struct Panel {
    explicit Panel(const QStringList &goals = {}, const QString &settingsFile = {})
        : goalsFile(dir.filePath(u"todos.json"_s))
        , store(goalsFile)
        , defaults(settingsFile.isEmpty() ? dir.filePath(u"prefs.ini"_s) : settingsFile, QSettings::IniFormat)
        , settings(&defaults)
    {
        for (const QString &goal : goals)
            store.add(goal);
        store.save();
        view = std::make_unique<ContentView>(
            &store, &history, &settings, [this](QPointF) { ++dragChanges; }, [this] { ++dragEnds; },
            [this](QSizeF size) { reports.append(size); });
    }

    bool show(bool active = false)
    {
        view->resize(PanelWidth, 200);
        view->show();
        if (!active)
            return QTest::qWaitForWindowExposed(view.get());
        view->activateWindow();
        return QTest::qWaitForWindowActive(view.get());
    }

    QLineEdit *startAdding()
    {
        view->beginAdding();
        return view->addArea()->newGoalField();
    }

    QWindow *window() const { return view->windowHandle(); }
    // The view shows the store's changes on the next turn of the event loop.
    static void settle() { QCoreApplication::processEvents(); }

    static QStringList textsOf(const TodoStore &store)
    {
        QStringList texts;
        for (const TodoItem &todo : store.todos())
            texts.append(todo.text);
        return texts;
    }
    QStringList texts() const { return textsOf(store); }
    // What a new run would find in the goals file.
    QStringList savedTexts() const { return textsOf(TodoStore(goalsFile)); }

    TodoRowView *row(int index) const { return view->goalList()->row(store.todos().at(index).id); }
    QPoint inWindow(const QWidget *widget, QPoint position) const { return widget->mapTo(view.get(), position); }
    // On the goal's text, well away from the checkbox and the delete glyph.
    QPoint onText(const TodoRowView *row, int dy = 0) const
    {
        return inWindow(row, QPoint(80, row->height() / 2 + dy));
    }
    QPoint onCheckbox(const TodoRowView *row) const { return inWindow(row, QPoint(17, row->height() / 2)); }

    QTemporaryDir dir;
    QString goalsFile;
    TodoStore store;
    UndoHistory history;
    QSettings defaults;
    PanelSettings settings;
    std::unique_ptr<ContentView> view;
    QList<QSizeF> reports;
    int dragChanges = 0;
    int dragEnds = 0;
};

} // namespace

class ContentViewTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sizeAndCount_followTheContent();

    void headerPress_dragsFromTenPointsOrClicksAdd();
    void rowDrag_movesTheGoalAndScrollsAtTheEdge();

    void newGoalField_addsTrimmedTextOnlyAndStaysOpen();
    void newGoalField_undoKeysReachTheListUnlessItHoldsTyping();
    void newGoalField_pastedLinesAddOneGoalEach_tooLongStays();
    void switchingAway_commitsOnce_data();
    void switchingAway_commitsOnce();

    void rename_storesTrimmedTitleOrKeepsIt_data();
    void rename_storesTrimmedTitleOrKeepsIt();

    void secondaryClick_asksForTheGoalsOrThePanelsMenu();
    void goalMenu_setsHowAGoalRepeatsAndTheDayShowsItsGoals();

    void keys_moveAndDeleteTheFocusedGoal();
    void longList_rowsFollowWhatIsShown();
    void longList_showsWhereItIsWhileScrolledOrPointedAt();
};

void ContentViewTest::sizeAndCount_followTheContent()
{
    Panel panel;
    QVERIFY(panel.show());
    // 6 + header 30 + the empty-state row 28 + 6.
    QCOMPARE(panel.reports.constLast(), QSizeF(PanelWidth, 70));
    QCOMPARE(panel.view->addArea()->face(), AddArea::Face::EmptyState);

    // Goals arriving in one turn, as text from another program does, are shown together: one size report.
    const qsizetype reportsBefore = panel.reports.size();
    panel.store.addLines(u"Buy milk\nCall mum\nRun"_s);
    panel.settle();
    // 6 + header 30 + three rows of 28 + 6, and no add area.
    QCOMPARE(panel.reports.size(), reportsBefore + 1);
    QCOMPARE(panel.reports.constLast(), QSizeF(PanelWidth, 126));

    const CountLabel *count = panel.view->header()->countLabel();
    panel.store.toggle(panel.store.todos().at(0).id);
    panel.settle();
    QCOMPARE(count->text(), u"1 of 3"_s);
    QVERIFY(count->isVisible());

    panel.store.add(LongGoal);
    panel.settle();
    // Laid out as tall as its text needs at the width it was given, and the panel grows by just that.
    const TodoRowView *wrapping = panel.row(3);
    const int wrapped = wrapping->heightForWidth(wrapping->width());
    QVERIFY2(wrapped > 28, "the long goal should wrap at this width");
    QCOMPARE(panel.reports.constLast(), QSizeF(PanelWidth, 126 + wrapped));

    panel.store.remove(panel.store.todos().constLast().id);
    panel.settle();
    QCOMPARE(panel.reports.constLast().height(), 126);

    while (!panel.store.todos().isEmpty())
        panel.store.remove(panel.store.todos().constFirst().id);
    panel.settle();
    QVERIFY(!count->isVisible());
    QCOMPARE(panel.reports.constLast().height(), 70);

    // Never narrower than 260 (the widest end is driven end to end through a border resize), and the window
    // taking the reported size must not start another round.
    panel.view->resize(200, 200);
    QCOMPARE(panel.reports.constLast().width(), 260);
    const qsizetype reports = panel.reports.size();
    panel.view->resize(panel.reports.constLast().toSize());
    QCOMPARE(panel.reports.size(), reports);
}

void ContentViewTest::headerPress_dragsFromTenPointsOrClicksAdd()
{
    Panel panel({ u"Buy milk"_s });
    QVERIFY(panel.show());
    const PanelHeader *header = panel.view->header();
    const GlyphButton *add = header->addButton();
    const QPoint onAdd = panel.inWindow(add, add->rect().center());

    // The add button shows, and takes clicks, once the pointer is over the panel.
    QEnterEvent enter(onAdd, onAdd, panel.view->mapToGlobal(onAdd));
    QCoreApplication::sendEvent(panel.view.get(), &enter);

    const auto pressAndMove = [&panel](QPoint start, const QList<int> &steps) {
        QTest::mousePress(panel.window(), Qt::LeftButton, {}, start);
        for (int step : steps)
            QTest::mouseMove(panel.window(), start + QPoint(step, 0));
        QTest::mouseRelease(panel.window(), Qt::LeftButton, {}, start + QPoint(steps.constLast(), 0));
    };
    // Empty header space between the title and the count: 9 points is no drag, every movement from 10 on is.
    const QPoint onHeader = panel.inWindow(header, QPoint(header->width() / 2, 15));
    pressAndMove(onHeader, { 3, 6, 9 });
    QCOMPARE(panel.dragChanges, 0);
    pressAndMove(onHeader, { 5, 10, 15, 40 });
    QCOMPARE(panel.dragChanges, 3);
    QCOMPARE(panel.dragEnds, 1);
    QVERIFY(!panel.view->isAddingNew());
    // A small slip while clicking the add button stays a click.
    pressAndMove(onAdd, { 4 });
    QCOMPARE(panel.dragChanges, 3);
    QCOMPARE(panel.dragEnds, 1);
    QVERIFY(panel.view->isAddingNew());
}

void ContentViewTest::rowDrag_movesTheGoalAndScrollsAtTheEdge()
{
    QStringList goals;
    for (int i = 0; i < 30; ++i)
        goals.append(u"Goal %1"_s.arg(i));
    Panel panel(goals);
    QVERIFY(panel.show());
    const auto drag = [&panel](QPoint start, QPoint end, const std::function<void()> &held) {
        QTest::mousePress(panel.window(), Qt::LeftButton, {}, start);
        QTest::mouseMove(panel.window(), start + QPoint(0, end.y() > start.y() ? 3 : -3));
        QTest::mouseMove(panel.window(), (start + end) / 2);
        QTest::mouseMove(panel.window(), end);
        held();
        QTest::mouseRelease(panel.window(), Qt::LeftButton, {}, end);
    };
    // Past the target's middle, on the side that puts the goal in the target's place.
    const int overshoot = panel.row(2)->height() / 2 + 4;
    const TodoRowView *first = panel.row(0);
    drag(panel.onText(first), panel.onText(panel.row(2), overshoot), [] {});
    QCOMPARE(panel.savedTexts().mid(0, 3), (QStringList { u"Goal 1"_s, u"Goal 2"_s, u"Goal 0"_s }));
    // The release on the text opens no editor.
    QVERIFY(!first->isEditing());
    drag(panel.onText(panel.row(2)), panel.onText(panel.row(0), -overshoot), [] {});
    QCOMPARE(panel.savedTexts().mid(0, 3), (QStringList { u"Goal 0"_s, u"Goal 1"_s, u"Goal 2"_s }));

    // Dragged to just inside the shown part's bottom edge and held there without moving, it scrolls the list.
    const QScrollArea *scroll = panel.view->listScroll();
    const QScrollBar *bar = scroll->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const QPoint bottom = panel.inWindow(scroll->viewport(), QPoint(80, scroll->viewport()->height() - 4));
    drag(panel.onText(panel.row(0)), bottom, [bar] { QTRY_COMPARE(bar->value(), bar->maximum()); });
    // The drop lands where the pointer points after the scroll: beside the last goals, not where it began.
    const auto landed = int(panel.savedTexts().indexOf(u"Goal 0"_s));
    QVERIFY2(landed >= 27, qPrintable(u"landed at %1"_s.arg(landed)));
    // A row drag moves the goal, never the window.
    QCOMPARE(panel.dragChanges + panel.dragEnds, 0);
}

void ContentViewTest::newGoalField_addsTrimmedTextOnlyAndStaysOpen()
{
    // Opening the field by a click on the empty list is driven end to end.
    Panel panel({ u"Only one"_s });
    QVERIFY(panel.show(true));
    QLineEdit *field = panel.startAdding();
    // The last goal going away leaves the open new-goal row in place of the empty-state row, at its height.
    panel.store.remove(panel.store.todos().constFirst().id);
    panel.settle();
    QCOMPARE(panel.view->addArea()->face(), AddArea::Face::NewGoal);
    QVERIFY(!panel.view->goalList()->isVisible());
    QCOMPARE(panel.reports.constLast().height(), 70);

    // Blank text adds nothing, and Escape discards what was typed; both close the field.
    const std::pair<QString, Qt::Key> closings[]
        = { { u"   "_s, Qt::Key_Return }, { u"Half a thought"_s, Qt::Key_Escape } };
    for (const auto &[typed, key] : closings) {
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, key);
        QVERIFY(panel.savedTexts().isEmpty());
        QCOMPARE(panel.view->addArea()->face(), AddArea::Face::EmptyState);
        field = panel.startAdding();
        QVERIFY(field->text().isEmpty());
    }

    // A goal is added trimmed and keeps the same field open, empty and focused for the next one.
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, u"  Buy milk "_s);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(panel.savedTexts(), QStringList { u"Buy milk"_s });
    QCOMPARE(panel.view->addArea()->newGoalField(), field);
    QVERIFY(field->text().isEmpty() && field->hasFocus());
}

void ContentViewTest::newGoalField_undoKeysReachTheListUnlessItHoldsTyping()
{
    Panel panel({ u"Buy milk"_s });
    auto *actions = new PanelActions(panel.view.get());
    connect(actions->undo(), &QAction::triggered, panel.view.get(), &ContentView::undo);
    connect(actions->redo(), &QAction::triggered, panel.view.get(), &ContentView::redo);
    connect(&panel.history, &UndoHistory::changed, actions,
        [&] { actions->showHistory(panel.history.undoText(), panel.history.redoText()); });
    QVERIFY(panel.show(true));
    QLineEdit *field = panel.startAdding();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, u"Write report"_s);
    QTest::keyClick(field, Qt::Key_Return);
    Panel::settle();
    static_cast<GlyphButton *>(panel.row(0)->deleteButton())->click();
    Panel::settle();
    QCOMPARE(panel.savedTexts(), QStringList { u"Write report"_s });
    QVERIFY(field->hasFocus());

    // The goal added is no typing of the field's any more: the keys undo and redo the list.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    Panel::settle();
    QCOMPARE(panel.savedTexts(), QStringList({ u"Buy milk"_s, u"Write report"_s }));
    QVERIFY(field->text().isEmpty());
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Panel::settle();
    QCOMPARE(panel.savedTexts(), QStringList { u"Write report"_s });
    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(panel.savedTexts(), QStringList { u"Write report"_s });

    // Typing of its own keeps them in the field.
    field = panel.startAdding();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, u"Call"_s);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    Panel::settle();
    QVERIFY(field->text() != u"Call"_s);
    QCOMPARE(panel.savedTexts(), QStringList { u"Write report"_s });
    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(field->text(), u"Call"_s);
}

void ContentViewTest::newGoalField_pastedLinesAddOneGoalEach_tooLongStays()
{
    Panel panel({ u"Buy milk"_s });
    QVERIFY(panel.show(true));
    QLineEdit *field = panel.startAdding();
    QTRY_VERIFY(field->hasFocus());
    QGuiApplication::clipboard()->setText(u"Pasted one\n\n  Pasted two\r\nPasted three\n"_s);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(panel.savedTexts(), QStringList({ u"Buy milk"_s, u"Pasted one"_s, u"Pasted two"_s, u"Pasted three"_s }));
    QVERIFY(panel.view->isAddingNew() && field->text().isEmpty());
    panel.view->undo();
    QCOMPARE(panel.savedTexts(), QStringList { u"Buy milk"_s });

    // A line too long for a goal keeps the whole text in the open field, by Return or by the focus leaving.
    const QString pasted = u"Short line\n"_s + QString(MaxGoalTextLength + 1, u'x');
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return);
    field->clearFocus();
    QCOMPARE(panel.savedTexts(), QStringList { u"Buy milk"_s });
    QVERIFY(panel.view->isAddingNew());
    QCOMPARE(field->text(), pasted);
    QVERIFY(field->toolTip().contains(QLocale().toString(MaxGoalTextLength)));

    // At the limit it is a goal, and the field no longer says why not.
    field->setFocus();
    field->setText(QString(MaxGoalTextLength, u'y'));
    QVERIFY(field->toolTip().isEmpty());
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(panel.savedTexts().constLast(), QString(MaxGoalTextLength, u'y'));
}

void ContentViewTest::switchingAway_commitsOnce_data()
{
    QTest::addColumn<bool>("renaming");
    QTest::addColumn<bool>("closing");
    QTest::newRow("new goal") << false << false;
    QTest::newRow("title") << true << false;
    // Going away takes the focus from the editors; that must not commit them.
    QTest::newRow("new goal, closing") << false << true;
    QTest::newRow("title, closing") << true << true;
}

void ContentViewTest::switchingAway_commitsOnce()
{
    QFETCH(bool, renaming);
    QFETCH(bool, closing);
    Panel panel({ u"Buy milk"_s });
    QVERIFY(panel.show(true));
    if (renaming)
        panel.view->beginRename();
    QLineEdit *editor = renaming ? panel.view->header()->titleEditor() : panel.startAdding();
    QTRY_VERIFY(editor->hasFocus());
    editor->selectAll();
    QTest::keyClicks(editor, u"Errands"_s);
    if (closing) {
        panel.view.reset();
        QCOMPARE(panel.texts(), QStringList { u"Buy milk"_s });
        QCOMPARE(panel.savedTexts(), QStringList { u"Buy milk"_s });
        QVERIFY(!panel.defaults.contains(u"title"_s));
        return;
    }

    // Another window taking the focus: the field loses it and the panel's window stops being active. Both
    // commit; only one of them may count.
    QLineEdit elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QTRY_VERIFY(!panel.view->isAddingNew() && !panel.view->isRenaming());
    QCoreApplication::processEvents();
    const QStringList goals = renaming ? QStringList { u"Buy milk"_s } : QStringList { u"Buy milk"_s, u"Errands"_s };
    QCOMPARE(panel.savedTexts(), goals);
    QCOMPARE(panel.defaults.value(u"title"_s).toString(), renaming ? u"Errands"_s : QString());
}

void ContentViewTest::rename_storesTrimmedTitleOrKeepsIt_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("saved");
    const QString none;
    QTest::newRow("trimmed") << u"Home"_s << u"  Work  "_s << int(Qt::Key_Return) << u"Work"_s << u"Work"_s;
    // The default title is never written by merely showing or cancelling, but a commit writes it as any draft.
    QTest::newRow("default, escape") << none << u"Other"_s << int(Qt::Key_Escape) << DefaultTitle << none;
    QTest::newRow("default, committed") << none << DefaultTitle << int(Qt::Key_Return) << DefaultTitle << DefaultTitle;
    // A blank stored title shows as the default; a blank draft keeps what was stored.
    QTest::newRow("blank stored, blank draft")
        << u"  "_s << u" \t "_s << int(Qt::Key_Return) << DefaultTitle << u"  "_s;
}

void ContentViewTest::rename_storesTrimmedTitleOrKeepsIt()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, title);
    QFETCH(QString, saved);
    QTemporaryDir dir;
    const QString settingsFile = dir.filePath(u"mirel.ini"_s);
    if (!stored.isNull())
        QSettings(settingsFile, QSettings::IniFormat).setValue(u"title"_s, stored);
    {
        Panel panel({}, settingsFile);
        QVERIFY(panel.show(true));
        const QString before = stored.trimmed().isEmpty() ? DefaultTitle : stored;
        QCOMPARE(panel.view->header()->shownTitle(), before);
        panel.view->beginRename();
        QLineEdit *editor = panel.view->header()->titleEditor();
        QCOMPARE(editor->text(), before);
        QTRY_VERIFY(editor->hasFocus());
        editor->clear();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key(key));
        QVERIFY(!panel.view->header()->titleEditor());
        QCOMPARE(panel.view->header()->shownTitle(), title);
    }
    // Stored at once, in the preferences the view was given.
    if (saved.isNull())
        QVERIFY(!QFile::exists(settingsFile));
    else
        QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).value(u"title"_s).toString(), saved);
    QCOMPARE(Panel({}, settingsFile).view->header()->shownTitle(), title);
}

void ContentViewTest::secondaryClick_asksForTheGoalsOrThePanelsMenu()
{
    Panel panel({ u"Buy milk"_s });
    QVERIFY(panel.show(true));
    TodoRowView *row = panel.row(0);
    QSignalSpy requests(panel.view.get(), &ContentView::contextMenuRequested);
    const QPoint onHeader = panel.inWindow(panel.view->header(), QPoint(20, 15));
    QTest::mouseClick(panel.window(), Qt::RightButton, {}, onHeader);
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.constLast().constFirst().toPoint(), panel.view->mapToGlobal(onHeader));
    // On a goal, the goal's own menu.
    for (const QPoint &place : { panel.onText(row), panel.onCheckbox(row) }) {
        QTest::mouseClick(panel.window(), Qt::RightButton, {}, place);
        QTRY_VERIFY(panel.view->goalMenu()->isVisible());
        panel.view->goalMenu()->close();
    }
    QCOMPARE(requests.size(), 1);

    // A plain click on the text opens the editor despite the list watching presses for drags; the editor
    // gives up its own text menu for the panel's.
    QTest::mouseClick(panel.window(), Qt::LeftButton, {}, panel.onText(row));
    const QWidget *editor = row->findChild<QLineEdit *>(u"goal-editor"_s);
    QVERIFY(editor && editor->isVisible());
    const QPoint onEditor = panel.inWindow(editor, editor->rect().center());
    QTest::mouseClick(panel.window(), Qt::RightButton, {}, onEditor);
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.constLast().constFirst().toPoint(), panel.view->mapToGlobal(onEditor));
}

void ContentViewTest::goalMenu_setsHowAGoalRepeatsAndTheDayShowsItsGoals()
{
    Panel panel({ u"Stretch"_s, u"Gym"_s, u"Rent"_s });
    QVERIFY(panel.show(true));
    GoalMenu *menu = panel.view->goalMenu();
    // Shift+F10 opens the goal's menu under the focused goal, wherever the pointer is.
    QTest::keyClick(panel.view.get(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    const QRect goal(panel.row(0)->mapToGlobal(QPoint(0, 0)), panel.row(0)->size() + QSize(0, 8));
    QVERIFY(goal.contains(menu->pos()));
    menu->close();
    // The goal keeps its focus ring through its menu.
    QVERIFY(panel.row(0)->hasKeyboardFocus());

    const auto choose = [&](int index, const QString &item) {
        menu->popupFor(panel.store.todos().at(index), QPoint());
        const QList<QAction *> items = menu->repeatMenu()->actions();
        const auto it = std::find_if(items.cbegin(), items.cend(), [&](QAction *a) { return a->text() == item; });
        QVERIFY2(it != items.cend(), qPrintable(item));
        (*it)->trigger();
        Panel::settle();
    };
    choose(0, u"Every Day"_s);
    choose(1, u"Weekly on Monday"_s);
    choose(1, u"Weekly on Wednesday"_s);
    QCOMPARE(panel.store.todos().at(1).repeat, GoalRepeat::weekly({ 1, 3 }));
    const auto *glyph = panel.row(1)->findChild<const SymbolGlyph *>();
    QVERIFY(glyph && glyph->isVisible());
    QCOMPARE(glyph->accessibleName(), u"repeats on Monday and Wednesday"_s);
    QVERIFY(!panel.row(2)->findChild<const SymbolGlyph *>()->isVisible());

    // The menu shows the goal's days ticked; a ticked day chosen again is taken away.
    menu->popupFor(panel.store.todos().at(1), QPoint());
    QStringList ticked;
    for (const QAction *item : menu->repeatMenu()->actions())
        if (item->isChecked())
            ticked.append(item->text());
    QCOMPARE(ticked, (QStringList { u"Weekly on Monday"_s, u"Weekly on Wednesday"_s }));
    menu->close();

    // On a Tuesday the Monday and Wednesday goal is neither shown nor counted; the others are.
    panel.store.setCompleted(panel.store.todos().at(1).id, true);
    panel.view->setDay(QDate(2026, 12, 8));
    Panel::settle();
    QCOMPARE(panel.view->goalList()->goalCount(), 2);
    QCOMPARE(panel.view->header()->countLabel()->text(), u"0 of 2"_s);
    QVERIFY(!panel.view->hasDoneGoals());
    // A move counts places among the goals shown.
    QTest::keyClick(panel.row(0)->focusTarget(), Qt::Key_Down, Qt::AltModifier);
    Panel::settle();
    QCOMPARE(panel.texts(), (QStringList { u"Gym"_s, u"Rent"_s, u"Stretch"_s }));
    panel.view->setDay(QDate(2026, 12, 9));
    Panel::settle();
    QCOMPARE(panel.view->header()->countLabel()->text(), u"1 of 3"_s);

    panel.view->undo();
    panel.view->undo();
    Panel::settle();
    QCOMPARE(panel.texts(), (QStringList { u"Stretch"_s, u"Gym"_s, u"Rent"_s }));
    QCOMPARE(panel.store.todos().at(1).repeat, GoalRepeat::weekly({ 1 }));
}

void ContentViewTest::keys_moveAndDeleteTheFocusedGoal()
{
    Panel panel({ u"Write the report"_s, u"Buy milk"_s, u"Call the bank"_s });
    QVERIFY(panel.show(true));
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    press(Qt::Key_Down);
    QVERIFY(panel.row(0)->focusTarget()->hasFocus());

    // Keys faster than the list's refresh still move the goal one place each.
    press(Qt::Key_Down, Qt::AltModifier);
    press(Qt::Key_Down, Qt::AltModifier);
    Panel::settle();
    QCOMPARE(panel.savedTexts(), QStringList({ u"Buy milk"_s, u"Call the bank"_s, u"Write the report"_s }));
    QVERIFY(panel.row(2)->focusTarget()->hasFocus());

    // Delete on the last goal passes the focus to the one before, and with none left to the view.
    press(Qt::Key_Delete);
    Panel::settle();
    QCOMPARE(panel.savedTexts(), QStringList({ u"Buy milk"_s, u"Call the bank"_s }));
    QVERIFY(panel.row(1)->focusTarget()->hasFocus());
    press(Qt::Key_Delete);
    Panel::settle();
    press(Qt::Key_Delete);
    Panel::settle();
    QVERIFY(panel.texts().isEmpty());
    QCOMPARE(QApplication::focusWidget(), panel.view.get());
}

void ContentViewTest::longList_rowsFollowWhatIsShown()
{
    QStringList goals;
    for (int i = 0; i < 300; ++i)
        goals.append(u"Goal %1"_s.arg(i));
    Panel panel(goals);
    QVERIFY(panel.show(true));
    const QWidget *viewport = panel.view->listScroll()->viewport();
    const auto isShown = [viewport](const TodoRowView *row) {
        return row && row->isVisible()
            && viewport->rect().contains(QRect(row->mapTo(viewport, QPoint(0, 0)), row->size()));
    };
    // The window shows a few goals; the others wait for their rows until they come near.
    QVERIFY(panel.view->goalList()->findChildren<TodoRowView *>().size() < 30);

    // The keyboard reaches a goal far off screen, which comes into view with the focus.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QVERIFY(panel.row(299)->focusTarget()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    Panel::settle();
    QVERIFY(panel.row(298)->focusTarget()->hasFocus());
    QVERIFY(isShown(panel.row(298)));

    // Goals from another program leave the list where the person has it, also when they come above the goal at
    // the top of the view; only a goal typed here is scrolled into view.
    panel.view->setFocus();
    QScrollBar *bar = panel.view->listScroll()->verticalScrollBar();
    bar->setValue(0);
    panel.store.addLines(u"Sent from elsewhere"_s);
    panel.settle();
    QVERIFY(isShown(panel.row(0)) && !isShown(panel.row(300)));
    bar->setValue(bar->maximum() / 2);
    Panel::settle();
    const auto topOfView = [&]() -> const TodoRowView * {
        for (const TodoRowView *row : panel.view->goalList()->findChildren<TodoRowView *>()) {
            if (row->isVisible() && row->geometry().contains(20, bar->value() + 1))
                return row;
        }
        return nullptr;
    };
    const TodoRowView *top = topOfView();
    QVERIFY(top);
    const int topY = top->mapTo(viewport, QPoint(0, 0)).y();
    QList<TodoStore::PlacedGoal> above;
    for (int i = 0; i < 5; ++i)
        above.append({ 0,
            TodoItem { QUuid::createUuid(), u"Written above"_s, false, 0, QDateTime::currentDateTimeUtc(), {}, {} } });
    panel.store.restore(above);
    panel.settle();
    QCOMPARE(topOfView(), top);
    QCOMPARE(top->mapTo(viewport, QPoint(0, 0)).y(), topY);
    QTest::keyClicks(panel.startAdding(), u"Typed"_s);
    QTest::keyClick(panel.view->addArea()->newGoalField(), Qt::Key_Return);
    panel.settle();
    QVERIFY(isShown(panel.row(panel.store.todos().size() - 1)));
}

void ContentViewTest::longList_showsWhereItIsWhileScrolledOrPointedAt()
{
    Panel shortList({ u"One"_s, u"Two"_s });
    QVERIFY(shortList.show());
    auto *shortScroll = static_cast<GoalListScroll *>(shortList.view->listScroll());
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QApplication::sendEvent(shortScroll, &enter);
    QVERIFY(!shortScroll->indicator()->isShowing());

    QStringList goals;
    for (int i = 0; i < 40; ++i)
        goals.append(u"Goal %1"_s.arg(i));
    Panel panel(goals);
    QVERIFY(panel.show());
    auto *scroll = static_cast<GoalListScroll *>(panel.view->listScroll());
    const ScrollIndicator *indicator = scroll->indicator();
    QVERIFY(!indicator->isVisible());
    // Scrolling shows it over the list's right edge, and it fades once the list rests.
    scroll->scrollBy(50);
    QVERIFY(indicator->isShowing());
    QTRY_VERIFY(indicator->isVisible() && indicator->opacity() == 1.0);
    QCOMPARE(indicator->geometry().right(), scroll->viewport()->geometry().right());
    QTRY_VERIFY(!indicator->isVisible());
    // The pointer over the list shows it for as long as it stays.
    QApplication::sendEvent(scroll, &enter);
    QTRY_VERIFY(indicator->isVisible() && indicator->opacity() == 1.0);
    QTest::qWait(1000);
    QVERIFY(indicator->isShowing());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(scroll, &leave);
    QTRY_VERIFY(!indicator->isVisible());
}

QTEST_MAIN(ContentViewTest)
#include "contentview_test.moc"

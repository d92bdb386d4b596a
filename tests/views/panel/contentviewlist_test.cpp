// SPDX-License-Identifier: GPL-3.0-or-later

#include "contentviewfixture.h"

#include <QAccessible>

using namespace Qt::StringLiterals;
using namespace ContentViewFixture;

class ContentViewListTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void secondaryClick_asksForTheGoalsOrThePanelsMenu();
    void goalMenu_setsHowAGoalRepeatsAndTheDayShowsItsGoals();

    void keys_moveAndDeleteTheFocusedGoal();
    void longList_rowsFollowWhatIsShown();
    void longList_showsWhereItIsWhileScrolledOrPointedAt();
};

void ContentViewListTest::secondaryClick_asksForTheGoalsOrThePanelsMenu()
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

void ContentViewListTest::goalMenu_setsHowAGoalRepeatsAndTheDayShowsItsGoals()
{
    Panel panel({ u"Stretch"_s, u"Gym"_s, u"Rent"_s });
    QVERIFY(panel.show(true));
    // The rows name their parts once a listener has come, and keep the names current from then on.
    QVERIFY(panel.row(1)->accessibleName().isEmpty());
    QAccessible::setActive(true);
    QCOMPARE(panel.row(1)->accessibleName(), u"Gym"_s);
    QAccessible::setActive(false);
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

    QMenu *repeatMenu = menu->repeatMenu();
    const auto item = [&](const QString &text) {
        const QList<QAction *> items = repeatMenu->actions();
        const auto it = std::find_if(items.cbegin(), items.cend(), [&](QAction *a) { return a->text() == text; });
        return it == items.cend() ? nullptr : *it;
    };
    // The menu reports the choice a turn after it closes, and the list shows it a turn later.
    const auto closeMenu = [&] {
        menu->close();
        Panel::settle();
        Panel::settle();
    };
    menu->popupFor(panel.store.todos().at(0), QPoint());
    item(u"Every Day"_s)->trigger();
    QVERIFY(!menu->isVisible());
    closeMenu();
    QCOMPARE(panel.store.todos().at(0).repeat, GoalRepeat::everyDay());

    // Days are ticked by key and by click with the menu staying open, and make one rule as it closes.
    menu->popupFor(panel.store.todos().at(1), QPoint());
    menu->setActiveAction(repeatMenu->menuAction());
    QTest::keyClick(menu, Qt::Key_Right);
    QTRY_VERIFY(repeatMenu->isVisible());
    repeatMenu->setActiveAction(item(u"Weekly on Monday"_s));
    QTest::keyClick(repeatMenu, Qt::Key_Return);
    QTest::mouseClick(
        repeatMenu, Qt::LeftButton, {}, repeatMenu->actionGeometry(item(u"Weekly on Wednesday"_s)).center());
    Panel::settle();
    QVERIFY(repeatMenu->isVisible());
    QVERIFY(item(u"Weekly on Monday"_s)->isChecked() && !item(u"Never"_s)->isChecked());
    QCOMPARE(panel.store.todos().at(1).repeat, GoalRepeat());
    QTest::keyClick(repeatMenu, Qt::Key_Escape);
    closeMenu();
    QCOMPARE(panel.store.todos().at(1).repeat, GoalRepeat::weekly({ 1, 3 }));
    const auto repeatGlyph = [&panel](int row) {
        const QList<const SymbolGlyph *> glyphs = panel.row(row)->findChildren<const SymbolGlyph *>();
        const auto it = std::find_if(glyphs.cbegin(), glyphs.cend(),
            [](const SymbolGlyph *glyph) { return glyph->symbol() == SymbolGlyph::Symbol::Repeat; });
        return it == glyphs.cend() ? nullptr : *it;
    };
    const auto *glyph = repeatGlyph(1);
    QVERIFY(glyph && glyph->isVisible());
    QCOMPARE(glyph->accessibleName(), u"repeats on Monday and Wednesday"_s);
    QVERIFY(!repeatGlyph(2)->isVisible());

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
    QCOMPARE(panel.store.todos().at(1).repeat, GoalRepeat());

    // A goal its new rule keeps out of today's list says so for a moment before it goes.
    menu->popupFor(panel.store.todos().at(2), QPoint());
    item(u"Weekly on Monday"_s)->trigger();
    closeMenu();
    QCOMPARE(panel.view->goalList()->goalCount(), 3);
    QCOMPARE(panel.row(2)->accessibleName(), u"Rent – not shown today, repeats on Monday"_s);
    QTRY_COMPARE(panel.view->goalList()->goalCount(), 2);
}

void ContentViewListTest::keys_moveAndDeleteTheFocusedGoal()
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

void ContentViewListTest::longList_rowsFollowWhatIsShown()
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

void ContentViewListTest::longList_showsWhereItIsWhileScrolledOrPointedAt()
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

QTEST_MAIN(ContentViewListTest)

#include "contentviewlist_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "contentviewfixture.h"

using namespace Qt::StringLiterals;
using namespace ContentViewFixture;

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
    QTest::newRow("the same, spaces aside")
        << u"Home"_s << u" Home "_s << int(Qt::Key_Return) << u"Home"_s << u"Home"_s;
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
        // Only a rename that changed the stored title can be undone.
        QCOMPARE(panel.history.canUndo(), saved != stored);
    }
    // Stored at once, in the preferences the view was given.
    if (saved.isNull())
        QVERIFY(!QFile::exists(settingsFile));
    else
        QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).value(u"title"_s).toString(), saved);
    QCOMPARE(Panel({}, settingsFile).view->header()->shownTitle(), title);
}

QTEST_MAIN(ContentViewTest)

#include "contentview_test.moc"

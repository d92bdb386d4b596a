// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/kit/checkbox.h"
#include "views/kit/glyphbutton.h"
#include "views/kit/goalrow.h"
#include "views/kit/hierarchicalcolors.h"
#include "views/rows/todorowview.h"
#include "views/rows/wrappedtext.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace
{

constexpr int RowWidth = 300;

// Whether the row's own background, without the text and glyphs on it, shows any ink in its middle.
bool paintsHighlight(QWidget *row)
{
    QImage image(row->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    row->render(&image, {}, {}, QWidget::RenderFlags());
    return qAlpha(image.pixel(row->rect().center())) > 0;
}

TodoItem goal(const QString &text, bool completed = false)
{
    return { QUuid::createUuid(), text, completed, 0, QDateTime::currentDateTimeUtc(), {}, {} };
}

// What the panel does with a row: lays it out at its height for the width and records what the row reports.
class Panel final : public QWidget
{
public:
    explicit Panel(const TodoItem &todo, bool isPanelHovered = true)
        : row(new TodoRowView(
            todo, isPanelHovered, [this] { ++toggles; }, [this](const QString &text) { updates.append(text); },
            [this] { ++deletes; }, this))
        , otherField(new QLineEdit(this))
    {
        resize(RowWidth, 200);
        otherField->setGeometry(0, 150, RowWidth, 24);
        row->setGeometry(0, 0, RowWidth, row->heightForWidth(RowWidth));
        show();
        activateWindow();
    }

    WrappedText *text() const { return row->findChild<WrappedText *>(); }
    QLineEdit *editor() const { return row->findChild<QLineEdit *>(u"goal-editor"_s); }
    GlyphButton *deleteButton() const { return row->findChild<GlyphButton *>(); }

    // A click anywhere in the text column opens the editor, also above the glyphs of a single line.
    void openEditor()
    {
        QTest::mouseClick(text(), Qt::LeftButton, {}, QPoint(5, 1));
        QTRY_VERIFY(editor() && editor()->hasFocus());
    }

    TodoRowView *row;
    QLineEdit *otherField;
    int toggles = 0;
    int deletes = 0;
    QStringList updates;
};

} // namespace

class TodoRowViewTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void height_followsWrappedText();
    void text_drawsAlikeWhicheverSizeWasAskedFirst_data();
    void text_drawsAlikeWhicheverSizeWasAskedFirst();
    void longGoal_showsEightLines_editsOnlyWithinTheLimit();
    void highlightAndDeleteGlyph_followHoverRule_data();
    void highlightAndDeleteGlyph_followHoverRule();
    void stateChange_restylesTextAndCheckbox();
    void moments_showTheirTimeAndTheAccentOncePassedWhileOpen();
    void edit_commitsTypedTextOnce_data();
    void edit_commitsTypedTextOnce();
};

void TodoRowViewTest::init()
{
    // A window shown under the pointer gets an enter but, in a test, no leave when the pointer moves away.
    QCursor::setPos(-1000, -1000);
}

// A goal wrapping between words is measured against its row in contentview_test; one long word must wrap too
// instead of widening the row.
void TodoRowViewTest::height_followsWrappedText()
{
    Panel panel(goal(QString(200, u'w')));
    QVERIFY(panel.row->minimumSizeHint().width() < 260);
    const int height = panel.row->heightForWidth(RowWidth);
    // As tall as the wrapped text itself: no inset above or below it.
    QTRY_COMPARE(panel.text()->height(), height);
    QVERIFY(height > 2 * panel.fontMetrics().height());
    // The checkbox sits at the middle of the whole goal, not of its first line.
    QVERIFY(qAbs(QRectF(panel.row->findChild<Checkbox *>()->geometry()).center().y() - height / 2.0) <= 1);

    // The editor is a single line, so editing a long goal shrinks the row until the edit ends; the panel that
    // lays the row out hears of every change.
    QSignalSpy heightChanged(panel.row, &TodoRowView::heightChanged);
    panel.openEditor();
    QCOMPARE(heightChanged.count(), 1);
    QCOMPARE(panel.row->heightForWidth(RowWidth), 28);
    QTest::keyClick(panel.editor(), Qt::Key_Escape);
    QCOMPARE(heightChanged.count(), 2);
    QCOMPARE(panel.row->heightForWidth(RowWidth), height);
    panel.row->setTodo(goal(u"Call Anna"_s));
    QCOMPARE(heightChanged.count(), 3);
    QCOMPARE(panel.row->heightForWidth(RowWidth), 28);
}

void TodoRowViewTest::text_drawsAlikeWhicheverSizeWasAskedFirst_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("one line") << u"Buy milk"_s << RowWidth;
    QTest::newRow("mixed scripts") << u"Call \u05e9\u05dc\u05d5\u05dd today"_s << RowWidth;
    QTest::newRow("wrapped") << u"Write the quarterly report for the board"_s << 80;
}

// The size on one unlimited line may hand its layout on to the paint; a row laid out at its width must not
// tell, whether done or open.
void TodoRowViewTest::text_drawsAlikeWhicheverSizeWasAskedFirst()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    for (const bool done : { false, true }) {
        WrappedText natural;
        WrappedText measured;
        for (WrappedText *shown : { &natural, &measured }) {
            QFont font = shown->font();
            font.setStrikeOut(done);
            shown->setFont(font);
            shown->setText(text);
        }
        natural.sizeHint();
        const int height = measured.heightForWidth(width);
        QCOMPARE(natural.heightForWidth(width), height);
        natural.resize(width, height);
        measured.resize(width, height);
        QCOMPARE(natural.grab().toImage(), measured.grab().toImage());
    }
}

void TodoRowViewTest::longGoal_showsEightLines_editsOnlyWithinTheLimit()
{
    // Longer than a goal made here can be, as another program may write it.
    const auto words = [](qsizetype length) {
        QString text;
        for (int i = 0; text.size() < length; ++i)
            text += u"word%1 "_s.arg(i);
        return text.first(length);
    };
    const QString text = words(40000);
    Panel panel(goal(text));
    const int lineHeight = panel.fontMetrics().height();
    const int height = panel.row->heightForWidth(RowWidth);
    QVERIFY2(height >= 7 * lineHeight && height <= 9 * lineHeight, qPrintable(QString::number(height)));
    QVERIFY(panel.text()->isElided());

    // Its tooltip holds the text the row cuts short; a short goal has none.
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), panel.text()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(panel.text(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(u"word300 word301 "_s));

    // It is kept whole: a click opens no editor that could commit a changed or cut text, and says why.
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    QTest::mouseClick(panel.text(), Qt::LeftButton, {}, QPoint(5, 1));
    QVERIFY(!panel.row->isEditing());
    QTRY_VERIFY(QToolTip::text().contains(QLocale().toString(MaxGoalTextLength)));
    QCOMPARE(panel.row->todo().text, text);

    // At the limit the editor holds all of it; an unchanged commit keeps every character.
    const QString atLimit = words(MaxGoalTextLength);
    Panel full(goal(atLimit));
    QVERIFY(QTest::qWaitForWindowActive(&full));
    full.openEditor();
    QCOMPARE(full.editor()->text(), atLimit);
    QCOMPARE(full.editor()->cursorPosition(), 0);
    QTest::keyClick(full.editor(), Qt::Key_Return);
    QCOMPARE(full.updates, QStringList { atLimit });

    // Pasted past the limit, the editor stays open with the text; pasted lines go on as pasted, for the goal to
    // join them.
    full.openEditor();
    QGuiApplication::clipboard()->setText(u" more"_s);
    QTest::keyClick(full.editor(), Qt::Key_End);
    QTest::keyClick(full.editor(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(full.editor(), Qt::Key_Return);
    QVERIFY(full.row->isEditing());
    QCOMPARE(full.editor()->text(), atLimit + u" more"_s);
    QCOMPARE(full.updates.size(), 1);
    QGuiApplication::clipboard()->setText(u"Call\nAnna"_s);
    full.editor()->selectAll();
    QTest::keyClick(full.editor(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(full.editor(), Qt::Key_Return);
    QCOMPARE(full.updates.constLast(), u"Call\nAnna"_s);

    Panel shortGoal(goal(u"Call Anna"_s));
    QVERIFY(!shortGoal.text()->isElided());
    QHelpEvent shortHelp(QEvent::ToolTip, QPoint(5, 5), shortGoal.text()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(shortGoal.text(), &shortHelp);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TodoRowViewTest::highlightAndDeleteGlyph_followHoverRule_data()
{
    QTest::addColumn<bool>("panelHovered");
    QTest::addColumn<bool>("rowHovered");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("highlighted");
    QTest::newRow("pointer on row") << true << true << false << true;
    QTest::newRow("pointer elsewhere in panel") << true << false << false << false;
    QTest::newRow("panel not hovered") << false << true << false << false;
    QTest::newRow("editing") << true << true << true << false;
}

void TodoRowViewTest::highlightAndDeleteGlyph_followHoverRule()
{
    QFETCH(bool, panelHovered);
    QFETCH(bool, rowHovered);
    QFETCH(bool, editing);
    QFETCH(bool, highlighted);
    Panel panel(goal(u"Buy milk"_s), panelHovered);
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    const QRect textBefore = panel.text()->geometry();
    if (editing)
        panel.openEditor();
    QTest::mouseMove(&panel, rowHovered ? panel.row->geometry().center() : QPoint(RowWidth / 2, 100));
    QTRY_COMPARE(panel.deleteButton()->isVisible(), highlighted);
    QTRY_COMPARE(paintsHighlight(panel.row->findChild<GoalRow *>()), highlighted);
    if (!editing)
        QCOMPARE(panel.text()->geometry(), textBefore);

    // A click where the glyph sits deletes only while it shows.
    // QTest hands a click to the widget it names, so the widget under the glyph's centre is looked up first.
    const QPoint glyph = panel.deleteButton()->mapTo(&panel, QPoint(11, 11));
    QWidget *hit = panel.childAt(glyph);
    QVERIFY(hit);
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&panel, glyph));
    QCOMPARE(panel.deletes, highlighted ? 1 : 0);
}

void TodoRowViewTest::stateChange_restylesTextAndCheckbox()
{
    Panel panel(goal(u"Buy milk"_s));
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    auto *checkbox = panel.row->findChild<Checkbox *>();
    QCOMPARE(checkbox->toolTip(), u"Mark as done"_s);
    QTest::mouseClick(checkbox, Qt::LeftButton);
    QCOMPARE(panel.toggles, 1);
    // The row waits for the new value of the goal instead of flipping itself.
    QVERIFY(!checkbox->isCompleted());
    panel.row->setTodo(goal(u"Buy milk"_s, true), true);
    QVERIFY(checkbox->isCompleted());
    QCOMPARE(checkbox->toolTip(), u"Mark as not done"_s);
    QCOMPARE(panel.text()->palette().color(QPalette::WindowText), HierarchicalColors::tertiary(panel.row->palette()));
    QVERIFY(panel.text()->font().strikeOut());
    // Only an open goal's text opens the editor; dragging and right-clicking a row are the list's business.
    QTest::mouseClick(panel.text(), Qt::LeftButton, {}, QPoint(5, 1));
    QVERIFY(!panel.row->isEditing());

    panel.row->setTodo(goal(u"Buy milk"_s), true);
    QVERIFY(!panel.text()->font().strikeOut());
    QCOMPARE(checkbox->toolTip(), u"Mark as done"_s);
    panel.openEditor();
}

void TodoRowViewTest::moments_showTheirTimeAndTheAccentOncePassedWhileOpen()
{
    TodoItem todo = goal(u"Call the bank"_s);
    const QDateTime now = QDateTime::currentDateTime();
    // A week away reads as a date; the day names and times depend on the locale, which the test leaves as it is.
    todo.reminder = GoalReminder(now.addDays(10));
    Panel panel(todo);
    panel.row->tellListeners();
    auto *time = panel.row->findChild<QLabel *>();
    auto *checkbox = panel.row->findChild<Checkbox *>();
    QVERIFY(time && time->isVisible());
    QVERIFY2(time->text().contains(QLocale().toString(now.addDays(10).date(), QLocale::ShortFormat)),
        qPrintable(time->text()));
    QCOMPARE(checkbox->accessibleDescription(), u"Mark as done, reminder at "_s + time->text());
    QCOMPARE(time->palette().color(QPalette::WindowText), HierarchicalColors::tertiary(panel.row->palette()));

    todo.reminder = GoalReminder(now.addSecs(-60));
    panel.row->setTodo(todo);
    if (now.addSecs(-60).date() == now.date())
        QVERIFY(!time->text().contains(u' '));
    QCOMPARE(time->palette().color(QPalette::WindowText), HierarchicalColors::accent(panel.row->palette()));
    todo.completed = true;
    panel.row->setTodo(todo);
    QCOMPARE(time->palette().color(QPalette::WindowText), HierarchicalColors::tertiary(panel.row->palette()));

    todo.reminder = {};
    panel.row->setTodo(todo);
    QVERIFY(!time->isVisible());
    QCOMPARE(checkbox->accessibleDescription(), u"Mark as not done"_s);

    // A due date from another calendar client: yesterday's passed on the open goal, read out by its whole weekday.
    const QDate yesterday = now.date().addDays(-1);
    todo.completed = false;
    todo.due = GoalDue::onDay(yesterday);
    panel.row->setTodo(todo);
    QLabel *due = panel.row->findChildren<QLabel *>().constLast();
    QVERIFY(due != time && due->isVisible());
    QCOMPARE(due->text(), u"due "_s + QLocale().dayName(yesterday.dayOfWeek(), QLocale::ShortFormat));
    QCOMPARE(checkbox->accessibleDescription(),
        u"Mark as done, due "_s + QLocale().dayName(yesterday.dayOfWeek(), QLocale::LongFormat));
    QCOMPARE(due->palette().color(QPalette::WindowText), HierarchicalColors::accent(panel.row->palette()));
    todo.due = GoalDue::onDay(now.date());
    panel.row->setTodo(todo);
    QCOMPARE(due->text(), u"due today"_s);
    QCOMPARE(due->palette().color(QPalette::WindowText), HierarchicalColors::tertiary(panel.row->palette()));
    todo.due = {};
    panel.row->setTodo(todo);
    QVERIFY(!due->isVisible());
}

void TodoRowViewTest::edit_commitsTypedTextOnce_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QStringList>("updates");
    // What keeps the goal trims it.
    QTest::newRow("return") << u"  Buy oat milk "_s << u"return"_s << QStringList { u"  Buy oat milk "_s };
    QTest::newRow("return then focus loss") << u"Buy bread"_s << u"return+focus"_s << QStringList { u"Buy bread"_s };
    // The keypad's Enter commits as Return does.
    QTest::newRow("keypad enter") << u"Buy bread"_s << u"enter"_s << QStringList { u"Buy bread"_s };
    QTest::newRow("blank keeps the goal") << u"   "_s << u"return"_s << QStringList {};
    QTest::newRow("escape then focus loss drops the edit") << u"Abandoned"_s << u"escape+focus"_s << QStringList {};
    // Ticked off elsewhere while the editor is open: the edit goes on and is still sent.
    QTest::newRow("ticked off meanwhile")
        << u"Buy milk now"_s << u"ticked+return"_s << QStringList { u"Buy milk now"_s };
    QTest::newRow("row deleted meanwhile") << u"Buy milk now"_s << u"deleted"_s << QStringList {};
}

void TodoRowViewTest::edit_commitsTypedTextOnce()
{
    QFETCH(QString, typed);
    QFETCH(QString, ending);
    QFETCH(QStringList, updates);
    TodoItem todo = goal(u"Buy milk"_s);
    Panel panel(todo);
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    panel.openEditor();
    QLineEdit *editor = panel.editor();
    QCOMPARE(editor->text(), u"Buy milk"_s);
    editor->selectAll();
    QTest::keyClicks(editor, typed);

    if (ending == u"deleted"_s) {
        delete panel.row;
        QCOMPARE(panel.updates, updates);
        return;
    }
    if (ending.startsWith(u"ticked"_s)) {
        todo.completed = true;
        panel.row->setTodo(todo, true);
        QVERIFY(panel.row->isEditing());
    }
    if (ending.contains(u"return"_s))
        QTest::keyClick(editor, Qt::Key_Return);
    if (ending == u"enter"_s)
        QTest::keyClick(editor, Qt::Key_Enter);
    if (ending.startsWith(u"escape"_s))
        QTest::keyClick(editor, Qt::Key_Escape);
    if (ending.endsWith(u"focus"_s))
        panel.otherField->setFocus(Qt::MouseFocusReason);
    QCOMPARE(panel.updates, updates);
    QVERIFY(!panel.row->isEditing());
    QVERIFY(!editor->isVisible());
    QVERIFY(panel.text()->isVisible());

    // A dropped edit leaves nothing behind: the editor reopens with the stored text.
    if (ending.startsWith(u"escape"_s)) {
        panel.openEditor();
        QCOMPARE(panel.editor()->text(), u"Buy milk"_s);
    }
}

QTEST_MAIN(TodoRowViewTest)
#include "todorowview_test.moc"

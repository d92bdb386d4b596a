#include "views/rows/inlineediting.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct Calls {
    int submits = 0;
    int commits = 0;
    int cancels = 0;
};

// A window with an attached editor (shown on demand) and a second, ordinary field.
struct Fixture {
    QWidget window;
    QPointer<QLineEdit> field = new QLineEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    Calls calls;

    Fixture()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        field->hide();
        new InlineEditing(
            field, [this] { ++calls.submits; }, [this] { ++calls.commits; }, [this] { ++calls.cancels; });
        window.show();
        window.activateWindow();
    }
};

} // namespace

class InlineEditingTest final : public QObject {
    Q_OBJECT

private slots:
    void shownField_takesFocusAfterDelayWithoutCommitting();
    void fieldGoneBeforeDelay_takesNoFocus_data();
    void fieldGoneBeforeDelay_takesNoFocus();
    void keys_mapToSubmitAndCancel_data();
    void keys_mapToSubmitAndCancel();
    void focusLeavingField_commits_data();
    void focusLeavingField_commits();
    void anotherWindowTakingFocus_commitsWhileShown();
    void callbackDeletingField_isSafe_data();
    void callbackDeletingField_isSafe();
};

void InlineEditingTest::shownField_takesFocusAfterDelayWithoutCommitting()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QElapsedTimer shown;
    shown.start();
    f.field->show();
    QVERIFY(!f.field->hasFocus());
    QTest::qWait(50);
    if (shown.elapsed() < 100)
        QVERIFY(!f.field->hasFocus());
    QTRY_VERIFY(f.field->hasFocus());
    QVERIFY(shown.elapsed() >= 100);
    QCOMPARE(f.calls.commits, 0);

    // Shown again after being hidden, it asks for focus again.
    f.other->setFocus();
    f.field->hide();
    f.field->show();
    QTRY_VERIFY(f.field->hasFocus());
}

void InlineEditingTest::fieldGoneBeforeDelay_takesNoFocus_data()
{
    QTest::addColumn<bool>("deleted");
    QTest::newRow("hidden") << false;
    QTest::newRow("deleted") << true;
}

void InlineEditingTest::fieldGoneBeforeDelay_takesNoFocus()
{
    QFETCH(bool, deleted);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.other->setFocus();
    f.field->show();
    QTest::qWait(30);
    if (deleted)
        delete f.field;
    else
        f.field->hide();
    QTest::qWait(150);
    QVERIFY(f.other->hasFocus());
    QCOMPARE(f.calls.commits, 0);
}

void InlineEditingTest::keys_mapToSubmitAndCancel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("submits");
    QTest::addColumn<int>("cancels");
    QTest::newRow("return") << u"Buy milk"_s << QList<int>{Qt::Key_Return} << 1 << 0;
    QTest::newRow("keypad enter") << u"Buy milk"_s << QList<int>{Qt::Key_Enter} << 1 << 0;
    QTest::newRow("return on empty field") << QString() << QList<int>{Qt::Key_Return} << 1 << 0;
    QTest::newRow("return twice") << u"Buy milk"_s << QList<int>{Qt::Key_Return, Qt::Key_Return} << 2 << 0;
    QTest::newRow("escape") << u"Buy milk"_s << QList<int>{Qt::Key_Escape} << 0 << 1;
}

void InlineEditingTest::keys_mapToSubmitAndCancel()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, keys);
    QFETCH(int, submits);
    QFETCH(int, cancels);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.field->setText(text);
    f.field->show();
    QTRY_VERIFY(f.field->hasFocus());
    for (const int key : keys)
        QTest::keyClick(f.field, Qt::Key(key));
    QCOMPARE(f.calls.submits, submits);
    QCOMPARE(f.calls.cancels, cancels);
    QCOMPARE(f.calls.commits, 0);
    QCOMPARE(f.field->text(), text);
}

void InlineEditingTest::focusLeavingField_commits_data()
{
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::addColumn<int>("commits");
    QTest::newRow("click into another field") << Qt::MouseFocusReason << 1;
    QTest::newRow("tab to another field") << Qt::TabFocusReason << 1;
    // The field's own context menu borrows the focus and gives it back.
    QTest::newRow("context menu") << Qt::PopupFocusReason << 0;
}

void InlineEditingTest::focusLeavingField_commits()
{
    QFETCH(Qt::FocusReason, reason);
    QFETCH(int, commits);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.field->show();
    QTRY_VERIFY(f.field->hasFocus());
    if (reason == Qt::PopupFocusReason) {
        QFocusEvent focusOut(QEvent::FocusOut, reason);
        QApplication::sendEvent(f.field, &focusOut);
    } else {
        f.other->setFocus(reason);
    }
    QCOMPARE(f.calls.commits, commits);
    QCOMPARE(f.calls.submits, 0);
}

void InlineEditingTest::anotherWindowTakingFocus_commitsWhileShown()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.field->show();
    QTRY_VERIFY(f.field->hasFocus());

    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QVERIFY(f.calls.commits >= 1);

    // Every window losing focus counts, also one that is not the field's own.
    const int before = f.calls.commits;
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QVERIFY(f.calls.commits > before);

    // A hidden field is no longer editing anything.
    f.field->hide();
    const int hiddenBefore = f.calls.commits;
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QCOMPARE(f.calls.commits, hiddenBefore);
}

void InlineEditingTest::callbackDeletingField_isSafe_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("submit") << int(Qt::Key_Return);
    QTest::newRow("cancel") << int(Qt::Key_Escape);
    QTest::newRow("commit on focus loss") << 0;
}

void InlineEditingTest::callbackDeletingField_isSafe()
{
    QFETCH(int, key);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QPointer<QLineEdit> field = new QLineEdit(&window);
    auto *other = new QLineEdit(&window);
    layout->addWidget(field);
    layout->addWidget(other);
    // Views end an edit by removing the editor, sometimes from inside its own callback.
    int calls = 0;
    const auto removeField = [&field, &calls] {
        ++calls;
        delete field.data();
    };
    new InlineEditing(field, removeField, removeField, removeField);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(field && field->hasFocus());
    if (key != 0)
        QTest::keyClick(field, Qt::Key(key));
    else
        other->setFocus();
    QVERIFY(field.isNull());
    // Nothing is reported by the field while it is being destroyed.
    QCOMPARE(calls, 1);
}

QTEST_MAIN(InlineEditingTest)
#include "inlineediting_test.moc"

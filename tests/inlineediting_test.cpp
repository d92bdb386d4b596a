#include "views/rows/inlineediting.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

using Ints = QList<int>;

// A window with an attached editor (shown on demand) and a second, ordinary field.
struct Fixture {
    QWidget window;
    QPointer<QLineEdit> field = new QLineEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    int submits = 0;
    int commits = 0;
    int cancels = 0;

    // Views end an edit by removing the editor, sometimes from inside its own callback.
    explicit Fixture(bool callbacksRemoveField = false)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        field->hide();
        const auto count = [this, callbacksRemoveField](int &calls) {
            return [this, callbacksRemoveField, &calls] {
                ++calls;
                if (callbacksRemoveField)
                    delete field.data();
            };
        };
        new InlineEditing(field, count(submits), count(commits), count(cancels));
        window.show();
        window.activateWindow();
    }
};

} // namespace

class InlineEditingTest final : public QObject {
    Q_OBJECT

private slots:
    void focus_comesAfterTheDelayToAFieldStillShown();
    void endings_mapToTheirCallbacks_data();
    void endings_mapToTheirCallbacks();
};

void InlineEditingTest::focus_comesAfterTheDelayToAFieldStillShown()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.other->setFocus();
    // Hidden before its delay is up, the field takes no focus.
    f.field->show();
    QTest::qWait(50);
    f.field->hide();
    QTest::qWait(150);
    QVERIFY(f.other->hasFocus());

    // Shown again, it asks for focus again, and not before the delay.
    QElapsedTimer shown;
    shown.start();
    f.field->show();
    QVERIFY(!f.field->hasFocus());
    QTest::qWait(50);
    if (shown.elapsed() < 100)
        QVERIFY(!f.field->hasFocus());
    QTRY_VERIFY(f.field->hasFocus());
    QVERIFY(shown.elapsed() >= 100);
    QCOMPARE(f.commits, 0);
}

void InlineEditingTest::endings_mapToTheirCallbacks_data()
{
    QTest::addColumn<Ints>("keys");
    QTest::addColumn<Qt::FocusReason>("focusLoss");
    QTest::addColumn<bool>("removesField");
    QTest::addColumn<Ints>("calls"); // submits, commits, cancels
    const Ints noKeys;
    const auto none = Qt::NoFocusReason;
    QTest::newRow("keypad enter") << Ints { Qt::Key_Enter } << none << false << Ints { 1, 0, 0 };
    QTest::newRow("return twice") << Ints { Qt::Key_Return, Qt::Key_Return } << none << false << Ints { 2, 0, 0 };
    // The field's own context menu borrows the focus and gives it back.
    QTest::newRow("context menu") << noKeys << Qt::PopupFocusReason << false << Ints { 0, 0, 0 };
    // Nothing more is reported by the field while it is being destroyed.
    QTest::newRow("commit removing the field") << noKeys << Qt::MouseFocusReason << true << Ints { 0, 1, 0 };
}

void InlineEditingTest::endings_mapToTheirCallbacks()
{
    QFETCH(Ints, keys);
    QFETCH(Qt::FocusReason, focusLoss);
    QFETCH(bool, removesField);
    QFETCH(Ints, calls);
    Fixture f(removesField);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    const QString text = u"Buy milk"_s;
    f.field->setText(text);
    f.field->show();
    QTRY_VERIFY(f.field->hasFocus());
    for (const int key : keys)
        QTest::keyClick(f.field, Qt::Key(key));
    if (focusLoss == Qt::PopupFocusReason) {
        QFocusEvent focusOut(QEvent::FocusOut, focusLoss);
        QApplication::sendEvent(f.field, &focusOut);
    } else if (focusLoss != Qt::NoFocusReason) {
        f.other->setFocus(focusLoss);
    }
    QCOMPARE((Ints { f.submits, f.commits, f.cancels }), calls);
    if (removesField)
        QVERIFY(f.field.isNull());
    else
        QCOMPARE(f.field->text(), text);
}

QTEST_MAIN(InlineEditingTest)
#include "inlineediting_test.moc"

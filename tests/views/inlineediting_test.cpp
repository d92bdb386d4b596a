#include "views/rows/inlineediting.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A window with an attached editor (shown on demand) and a second, ordinary field.
struct Fixture {
    QWidget window;
    QLineEdit *field = new QLineEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    int submits = 0;
    int commits = 0;
    int cancels = 0;

    Fixture()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        field->hide();
        new InlineEditing(field, [this] { ++submits; }, [this] { ++commits; }, [this] { ++cancels; });
        window.show();
        window.activateWindow();
    }
};

} // namespace

class InlineEditingTest final : public QObject {
    Q_OBJECT

private slots:
    void focus_comesAfterTheDelayToAFieldStillShown();
    void endings_mapToTheirCallbacks();
};

void InlineEditingTest::focus_comesAfterTheDelayToAFieldStillShown()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.other->setFocus();
    // Hidden again before the event loop runs, the field never takes the focus.
    f.field->show();
    f.field->hide();
    QTest::qWait(150);
    QVERIFY(f.other->hasFocus());

    // Shown again, it asks for the focus again, later rather than while it is being shown.
    f.field->show();
    QVERIFY(!f.field->hasFocus());
    QTRY_VERIFY(f.field->hasFocus());
    QCOMPARE(f.commits, 0);
}

// Return, Escape and a click elsewhere are driven through a goal's editor in todorowview_test.
void InlineEditingTest::endings_mapToTheirCallbacks()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.field->setText(u"Buy milk"_s);
    f.field->show();
    QTRY_VERIFY(f.field->hasFocus());
    // The keypad's Enter submits as Return does, every time it is pressed.
    QTest::keyClick(f.field, Qt::Key_Enter);
    QTest::keyClick(f.field, Qt::Key_Return);
    QCOMPARE(f.submits, 2);
    QCOMPARE(f.commits + f.cancels, 0);
    QCOMPARE(f.field->text(), u"Buy milk"_s);
}

QTEST_MAIN(InlineEditingTest)
#include "inlineediting_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/kit/inlineediting.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace
{

// A window with an attached editor (shown on demand) and a second, ordinary field.
struct Fixture {
    QWidget window;
    QLineEdit *field = new QLineEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    int commits = 0;

    Fixture()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        field->hide();
        QObject::connect(new InlineEditing(field), &InlineEditing::commitRequested, &window, [this] { ++commits; });
        window.show();
        window.activateWindow();
    }
};

} // namespace

class InlineEditingTest final : public QObject
{
    Q_OBJECT

private slots:
    void focus_comesAfterTheDelayToAFieldStillShown();
    void keysTypedBeforeTheFocusCame_goToTheField();
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

void InlineEditingTest::keysTypedBeforeTheFocusCame_goToTheField()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    // As the panel's content does, the window itself holds the focus while no editor does.
    f.window.setFocusPolicy(Qt::StrongFocus);
    f.window.setFocus();
    f.field->show();
    // Typed at once, through the window as the platform delivers keys, long before the 100 ms are up.
    for (const char key : { 'B', 'u', 'y' })
        QTest::keyClick(f.window.windowHandle(), key);
    QVERIFY(f.field->hasFocus());
    QCOMPARE(f.field->text(), QStringLiteral("Buy"));
    QCOMPARE(f.commits, 0);
}

QTEST_MAIN(InlineEditingTest)
#include "inlineediting_test.moc"

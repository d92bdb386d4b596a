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
        new InlineEditing(
            field, [] {}, [this] { ++commits; }, [] {});
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

QTEST_MAIN(InlineEditingTest)
#include "inlineediting_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "views/kit/checkbox.h"
#include "views/kit/glyphbutton.h"
#include "views/kit/goalrow.h"
#include "views/kit/hierarchicalcolors.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// Only what the widget paints itself: no window background underneath.
QImage paintedPixels(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image, {}, {}, QWidget::RenderFlags());
    return image;
}

bool near(int actual, int expected)
{
    return qAbs(actual - expected) <= 1;
}

} // namespace

class RowChromeTest final : public QObject
{
    Q_OBJECT

private slots:
    void goalRow_highlightCoversWholeRowOnlyWhenOn();
    void checkbox_glyphFollowsCompletion();
    void glyphButton_looksFollowHoverAndPress();
};

void RowChromeTest::goalRow_highlightCoversWholeRowOnlyWhenOn()
{
    GoalRow row;
    row.resize(200, 28);
    row.setHighlightFade(1.0);
    QImage blank(row.size(), QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    QCOMPARE(paintedPixels(&row), blank);

    // A faint wash of ink, which the fade scales.
    row.setHighlighted(true);
    const int fullAlpha = qAlpha(paintedPixels(&row).pixel(100, 14));
    QVERIFY(fullAlpha > 0 && fullAlpha < 64);
    row.setHighlightFade(0.5);
    const QImage image = paintedPixels(&row);
    // Edge to edge across the side insets and top to bottom, with rounded corners.
    for (const QPoint &inside : { QPoint(100, 14), QPoint(0, 14), QPoint(199, 14), QPoint(100, 0), QPoint(100, 27) })
        QVERIFY2(near(qAlpha(image.pixel(inside)), qRound(fullAlpha * 0.5)),
            QByteArray::number(inside.x()) + "," + QByteArray::number(inside.y()));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(199, 27)), 0);
}

void RowChromeTest::checkbox_glyphFollowsCompletion()
{
    Checkbox checkbox;
    QPalette dark = checkbox.palette();
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(255, 140, 0));
    // A change of theme repaints in the new colours, not the glyphs drawn before it.
    for (const QPalette &palette : { checkbox.palette(), dark }) {
        checkbox.setPalette(palette);
        for (const bool completed : { false, true }) {
            checkbox.setCompleted(completed);
            const QImage image = paintedPixels(&checkbox);
            const QColor expected
                = completed ? HierarchicalColors::accent(palette) : HierarchicalColors::secondary(palette);
            QColor ink(Qt::transparent);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) > ink.alpha())
                        ink = QColor::fromRgba(image.pixel(x, y));
            QCOMPARE(ink.rgb(), expected.rgb());
            QVERIFY(near(ink.alpha(), expected.alpha()));
            // The open square is hollow; the completed one is filled around its check mark.
            QCOMPARE(qAlpha(image.pixel(15, 16)) > 0, completed);
        }
    }
}

void RowChromeTest::glyphButton_looksFollowHoverAndPress()
{
    QWidget window;
    window.resize(100, 100);
    auto *button = new GlyphButton(GlyphButton::Glyph::XMark, 10, &window);
    button->move(40, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(button, &GlyphButton::clicked);
    const auto backgroundAlpha = [button] { return qAlpha(paintedPixels(button).pixel(2, 11)); };

    QCOMPARE(backgroundAlpha(), 0);
    // The corner of the square is empty of ink but still inside the hover area.
    QTest::mouseMove(&window, QPoint(41, 41));
    QTRY_VERIFY(backgroundAlpha() > 0);
    const int hovered = backgroundAlpha();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(clicked.count(), 1);

    // Pressed shows darker than hovered; dragged off while pressed it still shows pressed, and letting go
    // away from it clicks nothing.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    const int pressed = backgroundAlpha();
    QVERIFY2(pressed > hovered, QByteArray::number(pressed) + " after " + QByteArray::number(hovered));
    QTest::mouseMove(button, QPoint(-20, -20));
    QTRY_VERIFY(!button->isHovered());
    QCOMPARE(backgroundAlpha(), pressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, -20));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(backgroundAlpha(), 0);
}

QTEST_MAIN(RowChromeTest)
#include "rowchrome_test.moc"

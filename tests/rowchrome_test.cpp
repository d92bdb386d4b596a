#include "views/rows/checkbox.h"
#include "views/rows/glyphbutton.h"
#include "views/rows/goalrow.h"
#include "views/rows/hierarchicalcolors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Only what the widget paints itself: no window background underneath.
QImage paintedPixels(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image, {}, {}, QWidget::RenderFlags());
    return image;
}

bool isBlank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

QWidget *fixedBlock(int width, int height)
{
    auto *block = new QWidget;
    block->setFixedSize(width, height);
    return block;
}

} // namespace

class RowChromeTest final : public QObject {
    Q_OBJECT

private slots:
    void goalRow_heightFollowsTallestChild_data();
    void goalRow_heightFollowsTallestChild();
    void goalRow_centresChildrenBetweenSideInsets();
    void goalRow_highlightCoversWholeRowOnlyWhenOn_data();
    void goalRow_highlightCoversWholeRowOnlyWhenOn();
    void checkbox_glyphColourFollowsCompletion_data();
    void checkbox_glyphColourFollowsCompletion();
    void checkbox_swapIsInstantUnlessAnimated();
    void glyphButton_looksFollowHoverAndPress();
    void glyphButton_keepsPressedLookWhenDraggedOff();
};

void RowChromeTest::goalRow_heightFollowsTallestChild_data()
{
    QTest::addColumn<int>("childHeight");
    QTest::addColumn<int>("rowHeight");
    QTest::newRow("glyph-sized child") << 22 << 28;
    QTest::newRow("exactly the minimum") << 28 << 28;
    QTest::newRow("taller child, no extra inset") << 61 << 61;
}

void RowChromeTest::goalRow_heightFollowsTallestChild()
{
    QFETCH(int, childHeight);
    QFETCH(int, rowHeight);
    GoalRow row;
    row.contentLayout()->addWidget(fixedBlock(22, 22));
    row.contentLayout()->addWidget(fixedBlock(100, childHeight));
    QCOMPARE(row.heightForWidth(300), rowHeight);
    QCOMPARE(row.sizeHint().height(), rowHeight);
}

void RowChromeTest::goalRow_centresChildrenBetweenSideInsets()
{
    GoalRow row;
    QWidget *glyph = fixedBlock(22, 22);
    QWidget *text = fixedBlock(40, 50);
    auto *label = new QLabel(u"Fills the row"_s);
    QWidget *end = fixedBlock(22, 22);
    // Added without an alignment of their own, as views building rows usually do.
    row.contentLayout()->addWidget(glyph);
    row.contentLayout()->addWidget(text);
    row.contentLayout()->addWidget(label);
    row.contentLayout()->addStretch();
    row.contentLayout()->addWidget(end);
    row.resize(300, row.heightForWidth(300));
    row.show();
    QTRY_COMPARE(glyph->y(), (50 - 22) / 2);
    QCOMPARE(end->y(), glyph->y());
    QCOMPARE(text->y(), 0);
    // What can grow fills the row's height, so all of it takes clicks.
    QCOMPARE(label->geometry(), QRect(label->x(), 0, label->width(), row.height()));
    QCOMPARE(glyph->x(), 6);
    QCOMPARE(text->x(), glyph->geometry().right() + 1 + 8);
    QCOMPARE(end->geometry().right(), row.width() - 1 - 6);
}

void RowChromeTest::goalRow_highlightCoversWholeRowOnlyWhenOn_data()
{
    QTest::addColumn<bool>("highlighted");
    QTest::addColumn<qreal>("fade");
    QTest::addColumn<qreal>("opacity");
    QTest::newRow("off") << false << 1.0 << 0.0;
    QTest::newRow("on") << true << 1.0 << 0.06;
    QTest::newRow("on, half faded in") << true << 0.5 << 0.03;
    QTest::newRow("on, faded out") << true << 0.0 << 0.0;
}

void RowChromeTest::goalRow_highlightCoversWholeRowOnlyWhenOn()
{
    QFETCH(bool, highlighted);
    QFETCH(qreal, fade);
    QFETCH(qreal, opacity);
    GoalRow row;
    row.resize(200, 28);
    row.setHighlighted(highlighted);
    row.setHighlightFade(fade);
    const QImage image = paintedPixels(&row);
    if (opacity == 0.0) {
        QVERIFY(isBlank(image));
        return;
    }
    const int expectedAlpha = qRound(HierarchicalColors::primary(row.palette()).alphaF() * opacity * 255);
    // Edge to edge across the side insets and top to bottom, with rounded corners.
    for (const QPoint &inside : {QPoint(100, 14), QPoint(0, 14), QPoint(199, 14), QPoint(100, 0), QPoint(100, 27)})
        QVERIFY2(qAbs(qAlpha(image.pixel(inside)) - expectedAlpha) <= 1, QByteArray::number(inside.x()) + "," + QByteArray::number(inside.y()));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(199, 27)), 0);
}

void RowChromeTest::checkbox_glyphColourFollowsCompletion_data()
{
    QTest::addColumn<bool>("completed");
    QTest::newRow("open") << false;
    QTest::newRow("completed") << true;
}

void RowChromeTest::checkbox_glyphColourFollowsCompletion()
{
    QFETCH(bool, completed);
    Checkbox checkbox;
    checkbox.setCompleted(completed);
    QCOMPARE(checkbox.size(), QSize(22, 22));
    const QImage image = paintedPixels(&checkbox);
    const QColor expected = completed ? HierarchicalColors::accent(checkbox.palette())
                                      : HierarchicalColors::secondary(checkbox.palette());
    int strongest = 0;
    QColor ink;
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 22; ++x) {
            const QColor pixel = QColor::fromRgba(image.pixel(x, y));
            if (pixel.alpha() > strongest) {
                strongest = pixel.alpha();
                ink = pixel;
            }
        }
    }
    QCOMPARE(ink.rgb(), expected.rgb());
    QVERIFY(qAbs(strongest - expected.alpha()) <= 1);
    // The open square is hollow; the completed one is filled around its check mark.
    QCOMPARE(qAlpha(image.pixel(15, 16)) > 0, completed);
}

void RowChromeTest::checkbox_swapIsInstantUnlessAnimated()
{
    Checkbox reference;
    reference.setCompleted(true);
    const QImage done = paintedPixels(&reference);

    Checkbox checkbox;
    checkbox.setCompleted(true);
    QCOMPARE(paintedPixels(&checkbox), done);

    checkbox.setCompleted(false);
    checkbox.setCompleted(true, true);
    QVERIFY(paintedPixels(&checkbox) != done);
    QTRY_COMPARE(paintedPixels(&checkbox), done);
}

void RowChromeTest::glyphButton_looksFollowHoverAndPress()
{
    QWidget window;
    window.resize(100, 100);
    auto *button = new GlyphButton(GlyphButton::Glyph::XMark, 10, &window);
    button->move(40, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button->size(), QSize(22, 22));

    const QPalette palette = button->palette();
    const auto backgroundAlpha = [button] { return qAlpha(paintedPixels(button).pixel(2, 11)); };
    const int hoveredAlpha = qRound(HierarchicalColors::primary(palette).alphaF() * 0.08 * 255);
    const int pressedAlpha = qRound(HierarchicalColors::primary(palette).alphaF() * 0.14 * 255);

    QCOMPARE(backgroundAlpha(), 0);
    // The corner of the square is empty of ink but still inside the hover area.
    QTest::mouseMove(&window, QPoint(41, 41));
    QTRY_VERIFY(button->isHovered());
    QVERIFY(qAbs(backgroundAlpha() - hoveredAlpha) <= 1);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(1, 1));
    QVERIFY(button->isPressed());
    QVERIFY(qAbs(backgroundAlpha() - pressedAlpha) <= 1);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(1, 1));
    QVERIFY(qAbs(backgroundAlpha() - hoveredAlpha) <= 1);

    QTest::mouseMove(&window, QPoint(10, 10));
    QTRY_VERIFY(!button->isHovered());
    QCOMPARE(backgroundAlpha(), 0);
}

void RowChromeTest::glyphButton_keepsPressedLookWhenDraggedOff()
{
    QWidget window;
    window.resize(100, 100);
    auto *button = new GlyphButton(GlyphButton::Glyph::Plus, 12, &window);
    button->move(40, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(button, &GlyphButton::clicked);

    QTest::mouseMove(&window, QPoint(50, 50));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(button, QPoint(-20, -20));
    QTRY_VERIFY(!button->isHovered());
    QVERIFY(button->isPressed());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, -20));
    QVERIFY(!button->isPressed());
    QCOMPARE(clicked.count(), 0);
}

QTEST_MAIN(RowChromeTest)
#include "rowchrome_test.moc"

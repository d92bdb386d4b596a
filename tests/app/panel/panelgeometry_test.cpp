// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/panel/panelgeometry.h"
#include "model/panelsettings.h"

#include <QSettings>
#include <QTemporaryFile>
#include <QTest>

using PanelGeometry::Screen;
using Frame = std::optional<QRectF>;

namespace
{

// A 1440 × 900 main screen whose bottom 25 points belong to a dock.
const Screen MainScreen { { 0, 0, 1440, 900 }, { 0, 25, 1440, 875 } };
// A taller screen to the right of the main one, reaching 100 points lower.
const Screen RightScreen { { 1440, -80, 1920, 1080 }, { 1440, -80, 1920, 1080 } };
// A netbook's screen.
const Screen SmallScreen { { 0, 0, 1024, 600 }, { 0, 0, 1024, 600 } };

} // namespace

class PanelGeometryTest final : public QObject
{
    Q_OBJECT

private slots:
    void initialPanelFrame_data();
    void initialPanelFrame();
    void snappedPanelFrame_data();
    void snappedPanelFrame();
    void onScreenPanelFrame_data();
    void onScreenPanelFrame();
    void resizedPanelFrame_keepsTopLeftWhileOnScreen_data();
    void resizedPanelFrame_keepsTopLeftWhileOnScreen();
    void savedPanelFrame_data();
    void savedPanelFrame();
    void screenSpace_data();
    void screenSpace();
};

void PanelGeometryTest::initialPanelFrame_data()
{
    QTest::addColumn<Frame>("saved");
    QTest::addColumn<QList<Screen>>("screens");
    QTest::addColumn<bool>("screenshotMode");
    QTest::addColumn<QRectF>("expected");

    const QList<Screen> main { MainScreen };
    const QList<Screen> both { MainScreen, RightScreen };
    QTest::newRow("first launch: bottom-right of the visible frame")
        << Frame() << main << false << QRectF(1128, 488, 300, 400);
    QTest::newRow("first launch without a screen: 1440 x 900 assumed")
        << Frame() << QList<Screen>() << false << QRectF(1128, 488, 300, 400);
    QTest::newRow("first launch on a secondary-first list uses the main screen")
        << Frame() << QList<Screen> { RightScreen, MainScreen } << false << QRectF(3048, 588, 300, 400);
    QTest::newRow("saved frame used unchanged")
        << Frame(QRectF(100.5, 250, 320, 450)) << main << false << QRectF(100.5, 250, 320, 450);
    QTest::newRow("saved zero-width frame on screen used unchanged")
        << Frame(QRectF(1128, 488, 0, 400)) << main << false << QRectF(1128, 488, 0, 400);
    QTest::newRow("saved frame only touching the screen's edge pulled back")
        << Frame(QRectF(1440, 400, 300, 400)) << main << false << QRectF(1128, 400, 300, 400);
    QTest::newRow("saved frame with a strip too narrow to grab pulled back")
        << Frame(QRectF(1410, 400, 300, 400)) << main << false << QRectF(1128, 400, 300, 400);
    QTest::newRow("saved frame with its header above the screen pulled back")
        << Frame(QRectF(500, -380, 300, 400)) << main << false << QRectF(500, 37, 300, 400);
    QTest::newRow("saved frame pulled onto the nearest screen")
        << Frame(QRectF(3500, 0, 300, 400)) << both << false << QRectF(3048, 0, 300, 400);
    QTest::newRow("saved frame off screen without screens kept")
        << Frame(QRectF(3000, 400, 300, 400)) << QList<Screen>() << false << QRectF(3000, 400, 300, 400);
    QTest::newRow("screenshot: centred on the main screen's full frame")
        << Frame() << main << true << QRectF(570, 150, 300, 400);
    QTest::newRow("screenshot keeps the saved size")
        << Frame(QRectF(10, 390, 320, 500)) << both << true << QRectF(570, 50, 320, 500);
    QTest::newRow("screenshot without a screen keeps the default frame")
        << Frame() << QList<Screen>() << true << QRectF(1128, 488, 300, 400);
}

void PanelGeometryTest::initialPanelFrame()
{
    QFETCH(Frame, saved);
    QFETCH(QList<Screen>, screens);
    QFETCH(bool, screenshotMode);
    QFETCH(QRectF, expected);
    QCOMPARE(PanelGeometry::initialPanelFrame(saved, screens, screenshotMode), expected);
}

void PanelGeometryTest::snappedPanelFrame_data()
{
    QTest::addColumn<QList<Screen>>("screens");
    QTest::addColumn<QRectF>("frame");
    QTest::addColumn<QRectF>("expected");

    const QList<Screen> main { MainScreen };
    const QList<Screen> both { MainScreen, RightScreen };
    QTest::newRow("20 from the left") << main << QRectF(20, 200, 300, 400) << QRectF(12, 200, 300, 400);
    QTest::newRow("21 from the left") << main << QRectF(21, 200, 300, 400) << QRectF(21, 200, 300, 400);
    QTest::newRow("20 from the right") << main << QRectF(1120, 200, 300, 400) << QRectF(1128, 200, 300, 400);
    QTest::newRow("21 from the right") << main << QRectF(1119, 200, 300, 400) << QRectF(1119, 200, 300, 400);
    QTest::newRow("20 from the dock") << main << QRectF(500, 480, 300, 400) << QRectF(500, 488, 300, 400);
    QTest::newRow("21 from the dock") << main << QRectF(500, 479, 300, 400) << QRectF(500, 479, 300, 400);
    QTest::newRow("20 from the top") << main << QRectF(500, 45, 300, 400) << QRectF(500, 37, 300, 400);
    QTest::newRow("21 from the top") << main << QRectF(500, 46, 300, 400) << QRectF(500, 46, 300, 400);
    QTest::newRow("corner: both axes") << main << QRectF(1130, 495, 300, 400) << QRectF(1128, 488, 300, 400);
    QTest::newRow("under the dock pulled back") << main << QRectF(500, 650, 300, 400) << QRectF(500, 488, 300, 400);
    QTest::newRow("near both sides: the right wins") << main << QRectF(10, 200, 1420, 400) << QRectF(8, 200, 1420, 400);
    QTest::newRow("near top and bottom: the top wins")
        << main << QRectF(500, 35, 300, 860) << QRectF(500, 37, 300, 860);
    QTest::newRow("centre on the second screen") << both << QRectF(1445, 300, 300, 400) << QRectF(1452, 300, 300, 400);
    QTest::newRow("centre outside every screen: nearest screen")
        << both << QRectF(1500, -700, 300, 400) << QRectF(1500, -68, 300, 400);
    // An empty expected frame stands for no frame at all.
    QTest::newRow("no screens: nothing") << QList<Screen>() << QRectF(-500, 1000, 300, 400) << QRectF();
}

void PanelGeometryTest::snappedPanelFrame()
{
    QFETCH(QList<Screen>, screens);
    QFETCH(QRectF, frame);
    QFETCH(QRectF, expected);
    QCOMPARE(PanelGeometry::snappedPanelFrame(frame, screens), expected.isNull() ? Frame() : Frame(expected));
}

void PanelGeometryTest::onScreenPanelFrame_data()
{
    QTest::addColumn<QList<Screen>>("screens");
    QTest::addColumn<QRectF>("frame");
    QTest::addColumn<QRectF>("expected");

    const QList<Screen> small { SmallScreen };
    const QList<Screen> both { MainScreen, RightScreen };
    QTest::newRow("wholly on the screen: kept") << small << QRectF(600, 100, 300, 400) << QRectF(600, 100, 300, 400);
    QTest::newRow("past the right edge: 12 inside it")
        << small << QRectF(828, 100, 300, 400) << QRectF(712, 100, 300, 400);
    QTest::newRow("snapped bottom-right on a larger screen: the same corner")
        << small << QRectF(1128, 488, 300, 400) << QRectF(712, 188, 300, 400);
    QTest::newRow("past the bottom: 12 above it") << small << QRectF(100, 300, 300, 400) << QRectF(100, 188, 300, 400);
    QTest::newRow("across two screens side by side: kept")
        << both << QRectF(1300, 300, 300, 400) << QRectF(1300, 300, 300, 400);
    QTest::newRow("too tall for the nearest screen: onto the one it fits")
        << both << QRectF(100, 0, 300, 950) << QRectF(1452, 0, 300, 950);
    QTest::newRow("too tall for every screen: its top kept in view")
        << QList<Screen> { MainScreen } << QRectF(100, 0, 300, 950) << QRectF(100, 37, 300, 950);
    QTest::newRow("no screens: kept") << QList<Screen>() << QRectF(5000, 0, 300, 400) << QRectF(5000, 0, 300, 400);
}

void PanelGeometryTest::onScreenPanelFrame()
{
    QFETCH(QList<Screen>, screens);
    QFETCH(QRectF, frame);
    QFETCH(QRectF, expected);
    QCOMPARE(PanelGeometry::onScreenPanelFrame(frame, screens), expected);
}

void PanelGeometryTest::resizedPanelFrame_keepsTopLeftWhileOnScreen_data()
{
    QTest::addColumn<QRectF>("frame");
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<QList<Screen>>("screens");
    QTest::addColumn<QRectF>("expected");

    const QList<Screen> main { MainScreen };
    QTest::newRow("taller, still above the margin")
        << QRectF(100, 400, 300, 400) << QSizeF(300, 488) << main << QRectF(100, 400, 300, 488);
    QTest::newRow("shorter and narrower")
        << QRectF(100, 400, 300, 400) << QSizeF(260, 70) << main << QRectF(100, 400, 260, 70);
    QTest::newRow("from zero width") << QRectF(1128, 488, 0, 400) << QSizeF(260, 70) << main
                                     << QRectF(1128, 488, 260, 70);
    QTest::newRow("past the bottom margin: moved up just enough")
        << QRectF(1128, 488, 300, 400) << QSizeF(300, 602) << main << QRectF(1128, 286, 300, 602);
    QTest::newRow("taller than the visible frame less both margins")
        << QRectF(1128, 488, 300, 70) << QSizeF(300, 5642) << main << QRectF(1128, 37, 300, 851);
    QTest::newRow("on the screen it stands on")
        << QRectF(2000, 330, 300, 70) << QSizeF(300, 2000) << QList<Screen> { MainScreen, RightScreen }
        << QRectF(2000, -68, 300, 1056);
    QTest::newRow("without screens nothing is limited")
        << QRectF(100, 400, 300, 400) << QSizeF(300, 500) << QList<Screen>() << QRectF(100, 400, 300, 500);
}

void PanelGeometryTest::resizedPanelFrame_keepsTopLeftWhileOnScreen()
{
    QFETCH(QRectF, frame);
    QFETCH(QSizeF, size);
    QFETCH(QList<Screen>, screens);
    QFETCH(QRectF, expected);
    QCOMPARE(PanelGeometry::resizedPanelFrame(frame, size, screens), expected);
}

// The expected frames are the keys' own numbers; they reach the panel in Qt's coordinates.
void PanelGeometryTest::savedPanelFrame_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<Frame>("expected");

    QTest::newRow("nothing saved") << QByteArray("title=Plans\n") << Frame();
    QTest::newRow("all four") << QByteArray("panelX=1128\npanelY=12.5\npanelW=300\npanelH=400\n")
                              << Frame(QRectF(1128, 12.5, 300, 400));
    QTest::newRow("only panelX decides") << QByteArray("panelY=10\npanelW=300\npanelH=400\n") << Frame();
    QTest::newRow("non-numeric reads as 0")
        << QByteArray("panelX=left\npanelY=20\npanelW=abc\npanelH=400\n") << Frame(QRectF(0, 20, 0, 400));
    QTest::newRow("not finite reads as 0")
        << QByteArray("panelX=nan\npanelY=inf\npanelW=-inf\npanelH=1e999\n") << Frame(QRectF(0, 0, 0, 0));
    QTest::newRow("beyond any desktop reads as 0")
        << QByteArray("panelX=-2e6\npanelY=1e300\npanelW=1000000\npanelH=400\n") << Frame(QRectF(0, 0, 1000000, 400));
    QTest::newRow("a list reads as 0") << QByteArray("panelX=1, 2\npanelY=20\npanelW=300\npanelH=400\n")
                                       << Frame(QRectF(0, 20, 300, 400));
}

void PanelGeometryTest::savedPanelFrame()
{
    QFETCH(QByteArray, values);
    QFETCH(Frame, expected);
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/XXXXXX.ini"));
    QVERIFY(file.open());
    file.write("[General]\n" + values);
    file.close();
    QSettings defaults(file.fileName(), QSettings::IniFormat);
    PanelSettings settings(&defaults);
    const PanelGeometry::ScreenSpace space(MainScreen.frame);
    const Frame saved = PanelGeometry::savedPanelFrame(settings, space);
    QCOMPARE(saved, expected ? Frame(space.toQt(*expected)) : Frame());
    // Written back, the frame keeps the keys' numbers.
    if (saved) {
        PanelGeometry::savePanelFrame(settings, *saved, space);
        QCOMPARE(defaults.value(QStringLiteral("panelY")).toDouble(), expected->y());
        QCOMPARE(PanelGeometry::savedPanelFrame(settings, space), saved);
    }
}

void PanelGeometryTest::screenSpace_data()
{
    QTest::addColumn<QRectF>("primary");
    QTest::addColumn<QRectF>("qtRect");
    QTest::addColumn<QRectF>("stored");

    QTest::newRow("screen above the primary")
        << QRectF(0, 0, 1440, 900) << QRectF(100, -1000, 300, 400) << QRectF(100, 1500, 300, 400);
    QTest::newRow("primary not at Qt's origin")
        << QRectF(1920, 180, 1440, 900) << QRectF(1920, 680, 300, 400) << QRectF(0, 0, 300, 400);
}

void PanelGeometryTest::screenSpace()
{
    QFETCH(QRectF, primary);
    QFETCH(QRectF, qtRect);
    QFETCH(QRectF, stored);
    const PanelGeometry::ScreenSpace space(primary);
    QCOMPARE(space.toStored(qtRect), stored);
    QCOMPARE(space.toQt(stored), qtRect);
}

QTEST_MAIN(PanelGeometryTest)
#include "panelgeometry_test.moc"

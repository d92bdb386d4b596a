// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/x11/x11platform.h"

#include <QTest>

class X11PlatformTest final : public QObject
{
    Q_OBJECT

private slots:
    void preferXWayland_data();
    void preferXWayland();
};

void X11PlatformTest::preferXWayland_data()
{
    // An empty value means the variable is unset.
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("chosenPlatform");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("Wayland session with XWayland")
        << QByteArray("wayland-0") << QByteArray(":0") << QByteArray() << QByteArray("xcb");
    QTest::newRow("the user's choice stands")
        << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland") << QByteArray("wayland");
    QTest::newRow("no XWayland to run on") << QByteArray("wayland-0") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("X11 session") << QByteArray() << QByteArray(":0") << QByteArray() << QByteArray();
}

void X11PlatformTest::preferXWayland()
{
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, chosenPlatform);
    QFETCH(QByteArray, expected);

    // Every row sets all three, so neither an earlier row nor the session running the test leaks in.
    const auto set = [](const char *name, const QByteArray &value) {
        return value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    };
    set("WAYLAND_DISPLAY", waylandDisplay);
    set("DISPLAY", display);
    set("QT_QPA_PLATFORM", chosenPlatform);
    X11Platform::preferXWaylandInWaylandSessions();
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), expected);
}

QTEST_GUILESS_MAIN(X11PlatformTest)
#include "x11platform_test.moc"

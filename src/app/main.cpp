#include "app/appdelegate.h"
#include "app/x11platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    X11Platform::preferXWaylandInWaylandSessions();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mirel"));
    QApplication::setApplicationName(QStringLiteral("Mirel"));
    QApplication::setQuitOnLastWindowClosed(false);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(
        LaunchOptions::fromArguments(QApplication::arguments(), qEnvironmentVariable(UiTestGoalsVariable)));
    return QApplication::exec();
}

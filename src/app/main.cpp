#include "app/appdelegate.h"
#include "app/intakeclient.h"
#include "app/singleinstance.h"
#include "app/x11platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    X11Platform::preferXWaylandInWaylandSessions();
    // Decided before the application object exists: sending text needs no display, and a second start
    // leaves without ever connecting to one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const std::optional<SendCommand> send = SendCommand::fromArguments(arguments))
        return IntakeClient::run(argc, argv, *send);
    const PanelAddress address = PanelAddress::forMode(arguments.contains(QStringView(UiTestingArgument)));
    SingleInstance instance(address);
    if (!instance.claim())
        return IntakeClient::bringPanelToFront(argc, argv, address);

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mirel"));
    QApplication::setApplicationName(QStringLiteral("Mirel"));
    QApplication::setQuitOnLastWindowClosed(false);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(
        LaunchOptions::fromArguments(QApplication::arguments(), qEnvironmentVariable(UiTestGoalsVariable)));
    return QApplication::exec();
}

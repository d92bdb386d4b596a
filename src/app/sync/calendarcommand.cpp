// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarcommand.h"

#include "calendaraccount.h"

#include <QCoreApplication>

namespace
{

QString usage()
{
    return QCoreApplication::translate("CalendarCommand",
        "Usage: mirel --connect-calendar URL --user NAME [--list NAME | --new-list NAME] "
        "[--trust-certificate FINGERPRINT]");
}

} // namespace

std::optional<std::variant<CalendarCommand, QString>> CalendarCommand::fromArguments(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return {};
    const QString &first = arguments.at(1);
    CalendarCommand command;
    if (first == DisconnectCalendarArgument || first == SyncStatusArgument) {
        if (arguments.size() > 2)
            return QCoreApplication::translate("CalendarCommand", "%1 takes nothing after it.").arg(first);
        command.action = first == SyncStatusArgument ? Action::Status : Action::Disconnect;
        return command;
    }
    if (first != ConnectCalendarArgument)
        return {};
    command.action = Action::Connect;
    if (arguments.size() < 3 || arguments.at(2).startsWith(u'-'))
        return usage();
    command.url = CalendarAccount::serverAddress(arguments.at(2));
    if (!command.url.isValid() || command.url.host().isEmpty())
        return QCoreApplication::translate("CalendarCommand", "%1 is not a server address.").arg(arguments.at(2));
    for (qsizetype i = 3; i < arguments.size(); i += 2) {
        const QString &name = arguments.at(i);
        if (i + 1 >= arguments.size())
            return usage();
        const QString &value = arguments.at(i + 1);
        if (name == u"--user")
            command.user = value;
        else if (name == u"--list")
            command.listName = value;
        else if (name == u"--new-list")
            command.newListName = value;
        else if (name == u"--trust-certificate")
            command.trustedCertificate = value;
        else
            return usage();
    }
    if (command.user.isEmpty() || (command.listName && command.newListName))
        return usage();
    return command;
}

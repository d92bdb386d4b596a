// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendarcommand.h"
#include "launchoptions.h"
#include "sendcommand.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command line, every switch of the program's and of Qt's on one QCommandLineParser, read once before
// anything opens a display or reaches a panel; the launch, the intake and the calendar commands each take
// their part of it.
class CommandLine final
{
public:
    enum class Request { Panel, Help, Version, Misuse, Send, Calendar };

    // Help or version is asked by its first switch, an exact whole argument before "--send",
    // "--send-selection", "--new-goal" or "--": after "--send" every argument is text to send, except the
    // run-mode switches and "--remind-at" before a "--". "--connect-calendar", "--disconnect-calendar" and
    // "--sync-status" come first. Anything else that is neither a switch of the program's nor one of Qt's
    // is Misuse.
    static CommandLine parse(const QStringList &arguments);

    Request request() const { return m_request; }
    // The run-mode switches, for the panel's start; `uiTestGoals` is kept only in UI-testing mode.
    LaunchOptions launchOptions(const QString &uiTestGoals = {}) const;
    // Valid when the request is Send.
    const SendCommand &send() const { return m_send; }
    // Valid when the request is Calendar.
    const CalendarCommand &calendar() const { return m_calendar; }
    // Qt takes a value after its switches only as the next argument (except -style= and -stylesheet=): the
    // arguments with "-platform=xcb" and the like spelled as two, or nothing when none is spelled so.
    const std::optional<QStringList> &withQtValuesApart() const { return m_qtValuesApart; }

    // What is wrong with a Misuse command line and how to do it instead, one line each, in the translation of
    // the application object's locale when one is installed.
    QString misuseText() const;

    // One line per switch, translated as above.
    static QString helpText();
    static QString versionText();

private:
    // What makes the command line Misuse.
    enum class Problem { None, NotASwitch, UnknownSwitch, CalendarUsage, CalendarTakesNothing };

    Request m_request = Request::Panel;
    bool m_uiTesting = false;
    bool m_screenshotBackdrop = false;
    SendCommand m_send;
    CalendarCommand m_calendar;
    std::optional<QStringList> m_qtValuesApart;
    Problem m_problem = Problem::None;
    // The argument amiss as given, and the texts after it, most likely meant as goals.
    QString m_amiss;
    QStringList m_textsAfterAmiss;
};

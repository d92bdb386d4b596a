// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/start/commandline.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Request = CommandLine::Request;
Q_DECLARE_METATYPE(Request)

class CommandLineTest final : public QObject
{
    Q_OBJECT

private slots:
    void request_tellsMisuseFromQtsAndOwnSwitches_data();
    void request_tellsMisuseFromQtsAndOwnSwitches();
    void misuseText_showsTheCommandThatWasMeant();
    void withQtValuesApart_spellsJoinedValuesAsQtReadsThem();
    void commands_getTheirValuesAsGiven();
};

void CommandLineTest::request_tellsMisuseFromQtsAndOwnSwitches_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Request>("request");
    QTest::newRow("a bare text") << QStringList { u"Call mom"_s } << Request::Misuse;
    QTest::newRow("a mistyped switch") << QStringList { u"--sned"_s, u"x"_s } << Request::Misuse;
    QTest::newRow("an unknown switch") << QStringList { u"--bogus"_s } << Request::Misuse;
    QTest::newRow("a near miss of help") << QStringList { u"--help=1"_s } << Request::Misuse;
    QTest::newRow("a text for --new-goal") << QStringList { u"--new-goal"_s, u"x"_s } << Request::Misuse;
    QTest::newRow("a text after -- without --send") << QStringList { u"--"_s, u"x"_s } << Request::Misuse;
    QTest::newRow("Qt's switches and their values") << QStringList { u"-platform"_s, u"xcb"_s, u"--display"_s, u":1"_s,
        u"-style=fusion"_s, u"-reverse"_s, u"-geometry"_s, u"300x200"_s, u"-name"_s, u"n"_s, u"-title"_s, u"t"_s,
        u"--stylesheet"_s, u"a.qss"_s, u"-qwindowgeometry"_s, u"1x1"_s, u"--platform=xcb"_s, u"--ui-testing"_s,
        u"--screenshot-backdrop"_s } << Request::Panel;
    QTest::newRow("anything after --send") << QStringList { u"--send"_s, u"--bogus"_s, u"Call mom"_s } << Request::Send;
    QTest::newRow("help among mistakes") << QStringList { u"--bogus"_s, u"-h"_s } << Request::Help;
    QTest::newRow("help after a near miss") << QStringList { u"--help=1"_s, u"-h"_s } << Request::Help;
    QTest::newRow("help spelled otherwise") << QStringList { u"-help"_s } << Request::Misuse;
    QTest::newRow("help after the command") << QStringList { u"--new-goal"_s, u"--help"_s } << Request::Send;
    QTest::newRow("a reminder without --send")
        << QStringList { u"--remind-at"_s, u"9:00"_s, u"--send"_s, u"x"_s } << Request::Misuse;
    QTest::newRow("a calendar switch not first")
        << QStringList { u"--ui-testing"_s, u"--sync-status"_s } << Request::Misuse;
    QTest::newRow("a connect switch alone") << QStringList { u"--user"_s, u"anna"_s } << Request::Misuse;
    QTest::newRow("the status") << QStringList { u"--sync-status"_s } << Request::Calendar;
    QTest::newRow("the status with more") << QStringList { u"--sync-status"_s, u"--help"_s } << Request::Misuse;
    QTest::newRow("connecting without a user")
        << QStringList { u"--connect-calendar"_s, u"dav.example.org"_s } << Request::Misuse;
    QTest::newRow("connecting to a switch")
        << QStringList { u"--connect-calendar"_s, u"--user"_s, u"anna"_s } << Request::Misuse;
    QTest::newRow("connecting to two lists") << QStringList { u"--connect-calendar"_s, u"dav.example.org"_s,
        u"--user"_s, u"anna"_s, u"--list"_s, u"a"_s, u"--new-list"_s, u"b"_s }
                                             << Request::Misuse;
    QTest::newRow("connecting with Qt's switch") << QStringList { u"--connect-calendar"_s, u"dav.example.org"_s,
        u"--user"_s, u"anna"_s, u"-reverse"_s } << Request::Misuse;
}

void CommandLineTest::request_tellsMisuseFromQtsAndOwnSwitches()
{
    QFETCH(QStringList, arguments);
    QFETCH(Request, request);
    arguments.prepend(u"mirel"_s);
    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(line.request(), request);
    QCOMPARE(line.misuseText().isEmpty(), request != Request::Misuse);
}

void CommandLineTest::misuseText_showsTheCommandThatWasMeant()
{
    const QString bare = CommandLine::parse({ u"mirel"_s, u"Call mom"_s }).misuseText();
    QVERIFY2(bare.contains(u"\"Call mom\" is not a switch"_s), qPrintable(bare));
    QVERIFY2(bare.contains(u"mirel --send \"Call mom\"\n"_s) && bare.contains(u"mirel --help"_s), qPrintable(bare));

    // The texts after a mistyped switch were most likely meant as goals; quotes stay safe to paste, and an
    // escape sequence in the argument never reaches the terminal.
    const QString typo
        = CommandLine::parse({ u"mirel"_s, u"--sned\x1b[2J"_s, u"it's"_s, u"$HOME"_s, u"--new-goal"_s }).misuseText();
    QVERIFY2(typo.contains(u"unknown switch \"--sned\""_s), qPrintable(typo));
    QVERIFY2(typo.contains(u"mirel --send 'it'\\''s' '$HOME'\n"_s), qPrintable(typo));
}

void CommandLineTest::withQtValuesApart_spellsJoinedValuesAsQtReadsThem()
{
    QCOMPARE(CommandLine::parse({ u"mirel"_s, u"--platform=xcb"_s, u"-style=fusion"_s, u"-title=a=b"_s, u"--send"_s,
                                    u"-display=:1"_s })
                 .withQtValuesApart(),
        (QStringList { u"mirel"_s, u"-platform"_s, u"xcb"_s, u"-style=fusion"_s, u"-title"_s, u"a=b"_s, u"--send"_s,
            u"-display=:1"_s }));
    QCOMPARE(
        CommandLine::parse({ u"mirel"_s, u"-platform"_s, u"xcb"_s, u"--bogus=1"_s }).withQtValuesApart(), std::nullopt);
}

void CommandLineTest::commands_getTheirValuesAsGiven()
{
    // After --send everything is a text but the run-mode switches and --remind-at before a "--", whose value
    // stays a value even where it looks like a switch.
    const CommandLine send = CommandLine::parse({ u"mirel"_s, u"--screenshot-backdrop"_s, u"--send"_s, u"-x"_s,
        u"--remind-at"_s, u"--help"_s, u"--ui-testing"_s, u"--"_s, u"--remind-at"_s, u"--ui-testing"_s });
    QCOMPARE(send.request(), Request::Send);
    QCOMPARE(send.send().source, SendCommand::Source::Arguments);
    QCOMPARE(send.send().texts, (QStringList { u"-x"_s, u"--remind-at"_s, u"--ui-testing"_s }));
    QCOMPARE(send.send().remindAtText, std::optional(u"--help"_s));
    QCOMPARE(send.send().modeArguments, (QStringList { u"--ui-testing"_s, u"--screenshot-backdrop"_s }));
    QVERIFY(send.send().uiTesting && send.launchOptions(u"Goal"_s).uiTestGoals == u"Goal"_s);
    // A --remind-at at the very end has an empty time, which the reminder's reading refuses.
    const CommandLine unfinished = CommandLine::parse({ u"mirel"_s, u"--send"_s, u"--remind-at"_s });
    QCOMPARE(unfinished.send().source, SendCommand::Source::StandardInput);
    QCOMPARE(unfinished.send().remindAtText, std::optional(QString()));
    QCOMPARE(CommandLine::parse({ u"mirel"_s, u"--new-goal"_s, u"--send"_s, u"x"_s }).send().source,
        SendCommand::Source::NewGoal);

    const CalendarCommand connect
        = CommandLine::parse({ u"mirel"_s, u"--connect-calendar"_s, u"dav.example.org"_s, u"--new-list"_s, u"Goals"_s,
                                 u"--user"_s, u"anna"_s, u"--trust-certificate"_s, u"ab:cd"_s })
              .calendar();
    QCOMPARE(connect.action, CalendarCommand::Action::Connect);
    QCOMPARE(connect.address, u"dav.example.org"_s);
    QCOMPARE(connect.user, u"anna"_s);
    QCOMPARE(connect.listName, std::nullopt);
    QCOMPARE(connect.newListName, std::optional(u"Goals"_s));
    QCOMPARE(connect.trustedCertificate, u"ab:cd"_s);
    QCOMPARE(CommandLine::parse({ u"mirel"_s, u"--disconnect-calendar"_s }).calendar().action,
        CalendarCommand::Action::Disconnect);
}

QTEST_APPLESS_MAIN(CommandLineTest)
#include "commandline_test.moc"

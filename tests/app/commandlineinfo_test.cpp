// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandlineinfo.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Request = CommandLineInfo::Request;
Q_DECLARE_METATYPE(Request)

class CommandLineInfoTest final : public QObject
{
    Q_OBJECT

private slots:
    void requestIn_tellsMisuseFromQtsAndOwnSwitches_data();
    void requestIn_tellsMisuseFromQtsAndOwnSwitches();
    void misuseText_showsTheCommandThatWasMeant();
    void withQtValuesApart_spellsJoinedValuesAsQtReadsThem();
};

void CommandLineInfoTest::requestIn_tellsMisuseFromQtsAndOwnSwitches_data()
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
        u"--screenshot-backdrop"_s } << Request::None;
    QTest::newRow("anything after --send") << QStringList { u"--send"_s, u"--bogus"_s, u"Call mom"_s } << Request::None;
    QTest::newRow("help among mistakes") << QStringList { u"--bogus"_s, u"-h"_s } << Request::Help;
}

void CommandLineInfoTest::requestIn_tellsMisuseFromQtsAndOwnSwitches()
{
    QFETCH(QStringList, arguments);
    QFETCH(Request, request);
    arguments.prepend(u"mirel"_s);
    QCOMPARE(CommandLineInfo::requestIn(arguments), request);
    if (request != Request::Help)
        QCOMPARE(CommandLineInfo::misuseText(arguments).isEmpty(), request == Request::None);
}

void CommandLineInfoTest::misuseText_showsTheCommandThatWasMeant()
{
    const QString bare = CommandLineInfo::misuseText({ u"mirel"_s, u"Call mom"_s });
    QVERIFY2(bare.contains(u"\"Call mom\" is not a switch"_s), qPrintable(bare));
    QVERIFY2(bare.contains(u"mirel --send \"Call mom\"\n"_s) && bare.contains(u"mirel --help"_s), qPrintable(bare));

    // The texts after a mistyped switch were most likely meant as goals; quotes stay safe to paste, and an
    // escape sequence in the argument never reaches the terminal.
    const QString typo = CommandLineInfo::misuseText({ u"mirel"_s, u"--sned\x1b[2J"_s, u"it's"_s, u"$HOME"_s });
    QVERIFY2(typo.contains(u"unknown switch \"--sned\""_s), qPrintable(typo));
    QVERIFY2(typo.contains(u"mirel --send 'it'\\''s' '$HOME'\n"_s), qPrintable(typo));
}

void CommandLineInfoTest::withQtValuesApart_spellsJoinedValuesAsQtReadsThem()
{
    QCOMPARE(CommandLineInfo::withQtValuesApart({ u"mirel"_s, u"--platform=xcb"_s, u"-style=fusion"_s, u"-title=a=b"_s,
                 u"--send"_s, u"-display=:1"_s }),
        (QStringList { u"mirel"_s, u"-platform"_s, u"xcb"_s, u"-style=fusion"_s, u"-title"_s, u"a=b"_s, u"--send"_s,
            u"-display=:1"_s }));
    QCOMPARE(
        CommandLineInfo::withQtValuesApart({ u"mirel"_s, u"-platform"_s, u"xcb"_s, u"--bogus=1"_s }), std::nullopt);
}

QTEST_APPLESS_MAIN(CommandLineInfoTest)
#include "commandlineinfo_test.moc"

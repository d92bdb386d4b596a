#include "app/intakeclient.h"
#include "app/intakeprotocol.h"

#include <QTest>

using namespace IntakeProtocol;
using namespace Qt::StringLiterals;

class IntakeProtocolTest final : public QObject {
    Q_OBJECT

private slots:
    void reader_collectsFrame_data();
    void reader_collectsFrame();
    void reader_refusesBadInput_data();
    void reader_refusesBadInput();
    void reader_neverWantsMoreThanOneFrame();
    void sendCommand_fromArguments_data();
    void sendCommand_fromArguments();
};

void IntakeProtocolTest::reader_collectsFrame_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("pieceSize");

    QTest::newRow("text at once") << int(Kind::SendText) << QByteArray("one\ntwo") << 1000;
    QTest::newRow("text byte by byte") << int(Kind::SendText) << QByteArray("one\ntwo") << 1;
    QTest::newRow("empty payload") << int(Kind::BringToFront) << QByteArray() << 3;
    QTest::newRow("payload at the limit") << int(Kind::SendText) << QByteArray(MaxPayload, 'x') << 65536;
    QTest::newRow("reply") << int(Kind::Added) << QByteArray("3") << 2;
}

void IntakeProtocolTest::reader_collectsFrame()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, payload);
    QFETCH(int, pieceSize);

    const QByteArray bytes = encode(Kind(kind), payload);
    FrameReader reader;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        QCOMPARE(reader.state(), FrameReader::State::Reading);
        reader.append(bytes.mid(at, pieceSize));
    }
    QCOMPARE(reader.state(), FrameReader::State::Complete);
    QCOMPARE(int(reader.frame().kind), kind);
    QCOMPARE(reader.frame().payload, payload);
    QCOMPARE(reader.bytesWanted(), 0);
}

void IntakeProtocolTest::reader_refusesBadInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("error");

    QByteArray oversized = encode(Kind::SendText, QByteArray(16, 'x'));
    // The announced size, one byte over the limit; the payload itself never needs to arrive.
    const quint32 announced = quint32(MaxPayload + 1);
    oversized[5] = char(announced >> 24);
    oversized[6] = char(announced >> 16);
    oversized[7] = char(announced >> 8);
    oversized[8] = char(announced);
    QTest::newRow("announces more than the limit") << oversized.first(HeaderSize) << QByteArray("larger than");
    QTest::newRow("an HTTP request") << QByteArray("GET / HTTP/1.0\r\n\r\n") << QByteArray("not a Mirel");
    QTest::newRow("wrong first byte alone") << QByteArray("X") << QByteArray("not a Mirel");
    QTest::newRow("older magic") << QByteArray("MRL0T\0\0\0\0", 9) << QByteArray("not a Mirel");
    QTest::newRow("unknown kind") << QByteArray("MRL1Z\0\0\0\0", 9) << QByteArray("unknown");
}

void IntakeProtocolTest::reader_refusesBadInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, error);

    FrameReader reader;
    QCOMPARE(reader.append(bytes), FrameReader::State::Invalid);
    QVERIFY2(reader.error().contains(error), reader.error().constData());
    QCOMPARE(reader.bytesWanted(), 0);
}

void IntakeProtocolTest::reader_neverWantsMoreThanOneFrame()
{
    const QByteArray frame = encode(Kind::SendText, "abc");
    FrameReader reader;
    QCOMPARE(reader.bytesWanted(), HeaderSize);
    reader.append(frame.first(HeaderSize));
    QCOMPARE(reader.bytesWanted(), 3);
    // Bytes beyond the frame are left alone, not appended to the payload.
    reader.append(frame.sliced(HeaderSize) + "trailing");
    QCOMPARE(reader.state(), FrameReader::State::Complete);
    QCOMPARE(reader.frame().payload, QByteArray("abc"));
}

void IntakeProtocolTest::sendCommand_fromArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("isSend");
    QTest::addColumn<int>("source");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("modeArguments");

    using Source = SendCommand::Source;
    QTest::newRow("plain start") << QStringList { u"mirel"_s } << false << 0 << QStringList() << QStringList();
    QTest::newRow("ui-testing start") << QStringList { u"mirel"_s, u"--ui-testing"_s } << false << 0 << QStringList()
                                      << QStringList();
    QTest::newRow("no text reads standard input") << QStringList { u"mirel"_s, u"--send"_s } << true
                                                  << int(Source::StandardInput) << QStringList() << QStringList();
    QTest::newRow("several texts") << QStringList { u"mirel"_s, u"--send"_s, u"a b"_s, u"c"_s } << true
                                   << int(Source::Arguments) << QStringList { u"a b"_s, u"c"_s } << QStringList();
    QTest::newRow("mode switch on either side")
        << QStringList { u"mirel"_s, u"--ui-testing"_s, u"--send"_s, u"a"_s, u"--screenshot-backdrop"_s } << true
        << int(Source::Arguments) << QStringList { u"a"_s }
        << QStringList { u"--ui-testing"_s, u"--screenshot-backdrop"_s };
    QTest::newRow("switch text after a double dash")
        << QStringList { u"mirel"_s, u"--send"_s, u"--"_s, u"--ui-testing"_s, u"--"_s } << true
        << int(Source::Arguments) << QStringList { u"--ui-testing"_s, u"--"_s } << QStringList();
    QTest::newRow("prefix of a switch is text")
        << QStringList { u"mirel"_s, u"--send"_s, u"--ui-testing=1"_s } << true << int(Source::Arguments)
        << QStringList { u"--ui-testing=1"_s } << QStringList();
    QTest::newRow("the selection") << QStringList { u"mirel"_s, u"--send-selection"_s, u"--ui-testing"_s } << true
                                   << int(Source::Selection) << QStringList() << QStringList { u"--ui-testing"_s };
    QTest::newRow("the program path is never a switch")
        << QStringList { u"--send"_s } << false << 0 << QStringList() << QStringList();
}

void IntakeProtocolTest::sendCommand_fromArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, isSend);
    QFETCH(int, source);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, modeArguments);

    const std::optional<SendCommand> command = SendCommand::fromArguments(arguments);
    QCOMPARE(command.has_value(), isSend);
    if (!command)
        return;
    QCOMPARE(int(command->source), source);
    QCOMPARE(command->texts, texts);
    QCOMPARE(command->modeArguments, modeArguments);
    QCOMPARE(command->uiTesting(), modeArguments.contains(u"--ui-testing"_s));
}

QTEST_GUILESS_MAIN(IntakeProtocolTest)
#include "intakeprotocol_test.moc"

#include "app/intakeclient.h"
#include "app/intakeprotocol.h"

#include <QTest>
#include <QtEndian>

using namespace IntakeProtocol;
using namespace Qt::StringLiterals;

class IntakeProtocolTest final : public QObject {
    Q_OBJECT

private slots:
    void reader_collectsOneFrame_data();
    void reader_collectsOneFrame();
    void reader_refusesBadInput_data();
    void reader_refusesBadInput();
    void sendCommand_fromArguments_data();
    void sendCommand_fromArguments();
};

void IntakeProtocolTest::reader_collectsOneFrame_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("pieceSize");

    QTest::newRow("text at once") << int(Kind::SendText) << QByteArray("one\ntwo") << 1000;
    QTest::newRow("text byte by byte") << int(Kind::SendText) << QByteArray("one\ntwo") << 1;
    QTest::newRow("empty payload") << int(Kind::BringToFront) << QByteArray() << 3;
    QTest::newRow("payload at the limit") << int(Kind::SendText) << QByteArray(MaxPayload, 'x') << 65536;
}

void IntakeProtocolTest::reader_collectsOneFrame()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, payload);
    QFETCH(int, pieceSize);

    const QByteArray frame = encode(Kind(kind), payload);
    // Bytes beyond the frame may arrive with its last piece; they must not be taken into the payload.
    const QByteArray stream = frame + "trailing";
    FrameReader reader;
    for (qsizetype at = 0; at < frame.size(); at += pieceSize) {
        QCOMPARE(reader.state(), FrameReader::State::Reading);
        QCOMPARE(reader.bytesWanted(), at < HeaderSize ? HeaderSize - at : frame.size() - at);
        reader.append(stream.mid(at, pieceSize));
    }
    QCOMPARE(reader.append("more"), FrameReader::State::Complete);
    QCOMPARE(int(reader.frame().kind), kind);
    QCOMPARE(reader.frame().payload, payload);
    QCOMPARE(reader.bytesWanted(), 0);
}

void IntakeProtocolTest::reader_refusesBadInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("error");

    // Announces one byte over the limit; the payload itself never needs to arrive.
    QByteArray oversized = encode(Kind::SendText).first(HeaderSize);
    qToBigEndian(quint32(MaxPayload + 1), oversized.data() + HeaderSize - 4);
    QTest::newRow("announces more than the limit") << oversized << QByteArray("larger than");
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

void IntakeProtocolTest::sendCommand_fromArguments_data()
{
    // Sending texts from the arguments and from standard input runs for real in intake_e2e_test; these are the
    // command lines where a switch and a text are easy to confuse. A source of -1: nothing is to be sent.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("source");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("modeArguments");

    using Source = SendCommand::Source;
    const QStringList none;
    QTest::newRow("the program path is never a switch") << QStringList { u"--send"_s } << -1 << none << none;
    QTest::newRow("mode switch on either side")
        << QStringList { u"mirel"_s, u"--ui-testing"_s, u"--send"_s, u"a"_s, u"--screenshot-backdrop"_s }
        << int(Source::Arguments) << QStringList { u"a"_s }
        << QStringList { u"--ui-testing"_s, u"--screenshot-backdrop"_s };
    QTest::newRow("switch text after a double dash")
        << QStringList { u"mirel"_s, u"--send"_s, u"--"_s, u"--ui-testing"_s, u"--"_s } << int(Source::Arguments)
        << QStringList { u"--ui-testing"_s, u"--"_s } << none;
    QTest::newRow("prefix of a switch is text")
        << QStringList { u"mirel"_s, u"--send"_s, u"--ui-testing=1"_s } << int(Source::Arguments)
        << QStringList { u"--ui-testing=1"_s } << none;
    QTest::newRow("the selection") << QStringList { u"mirel"_s, u"--send-selection"_s, u"--ui-testing"_s }
                                   << int(Source::Selection) << none << QStringList { u"--ui-testing"_s };
}

void IntakeProtocolTest::sendCommand_fromArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, source);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, modeArguments);

    const std::optional<SendCommand> command = SendCommand::fromArguments(arguments);
    QCOMPARE(command.has_value(), source >= 0);
    if (!command)
        return;
    QCOMPARE(int(command->source), source);
    QCOMPARE(command->texts, texts);
    QCOMPARE(command->modeArguments, modeArguments);
    QCOMPARE(command->uiTesting(), modeArguments.contains(u"--ui-testing"_s));
}

QTEST_GUILESS_MAIN(IntakeProtocolTest)
#include "intakeprotocol_test.moc"

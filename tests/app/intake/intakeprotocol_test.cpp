#include "app/intake/intakeprotocol.h"

#include <QTest>

using namespace IntakeProtocol;

class IntakeProtocolTest final : public QObject {
    Q_OBJECT

private slots:
    void reader_collectsOneFrame();
    void reader_refusesBadInput_data();
    void reader_refusesBadInput();
};

void IntakeProtocolTest::reader_collectsOneFrame()
{
    // Pieces of five split the header and the payload mid-piece, and the last one brings bytes beyond the
    // frame, which must not be taken into the payload.
    constexpr int pieceSize = 5;
    const QByteArray payload = "one\ntwo";
    const QByteArray frame = encode(Kind::SendText, payload);
    const QByteArray stream = frame + "trailing";
    FrameReader reader;
    for (qsizetype at = 0; at < frame.size(); at += pieceSize) {
        QCOMPARE(reader.state(), FrameReader::State::Reading);
        QCOMPARE(reader.bytesWanted(), at < HeaderSize ? HeaderSize - at : frame.size() - at);
        reader.append(stream.mid(at, pieceSize));
    }
    QCOMPARE(reader.append("more"), FrameReader::State::Complete);
    QCOMPARE(reader.frame().kind, Kind::SendText);
    QCOMPARE(reader.frame().payload, payload);
    QCOMPARE(reader.bytesWanted(), 0);
}

void IntakeProtocolTest::reader_refusesBadInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("error");

    // An announced size over the limit is refused by the running panel in intake_e2e_test.
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

QTEST_GUILESS_MAIN(IntakeProtocolTest)
#include "intakeprotocol_test.moc"

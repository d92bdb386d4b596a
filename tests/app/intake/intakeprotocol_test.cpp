// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/intake/intakeprotocol.h"

#include <QTest>

#include <algorithm>

using namespace IntakeProtocol;

class IntakeProtocolTest final : public QObject
{
    Q_OBJECT

private slots:
    void reader_collectsOneFrame();
    void reader_refusesBadInput();
};

void IntakeProtocolTest::reader_collectsOneFrame()
{
    // Read as the panel reads a socket: what the reader asks for, at most five bytes at a time, so the header
    // and the payload arrive split. Whatever follows the frame must stay unread.
    const QByteArray payload = "one\ntwo";
    QByteArray stream = encode(Kind::SendText, payload) + "trailing";
    FrameReader reader;
    while (reader.state() == FrameReader::State::Reading) {
        const qsizetype wanted = std::min<qsizetype>(reader.bytesWanted(), 5);
        QVERIFY(wanted > 0);
        reader.append(stream.first(wanted));
        stream.remove(0, wanted);
    }
    QCOMPARE(reader.state(), FrameReader::State::Complete);
    QCOMPARE(reader.frame().kind, Kind::SendText);
    QCOMPARE(reader.frame().payload, payload);
    QCOMPARE(stream, "trailing");
    // Bytes arriving after the frame change nothing.
    QCOMPARE(reader.append("more"), FrameReader::State::Complete);
    QCOMPARE(reader.frame().payload, payload);
}

void IntakeProtocolTest::reader_refusesBadInput()
{
    // A wrong first byte alone, an older magic, an unknown kind. An announced size over the limit is refused by
    // the running panel in intake_e2e_test.
    for (const auto &[bytes, error] : { std::pair { QByteArray("X"), "not a Mirel" },
             { QByteArray("MRL0T\0\0\0\0", 9), "not a Mirel" }, { QByteArray("MRL1Z\0\0\0\0", 9), "unknown" } }) {
        FrameReader reader;
        QCOMPARE(reader.append(bytes), FrameReader::State::Invalid);
        QVERIFY2(reader.error().contains(error), reader.error().constData());
        QCOMPARE(reader.bytesWanted(), 0);
    }
}

QTEST_GUILESS_MAIN(IntakeProtocolTest)
#include "intakeprotocol_test.moc"

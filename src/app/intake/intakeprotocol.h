// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include <optional>

// The small framed messages between `mirel --send` and the running panel over its local socket.
// A frame is the magic "MRL1", one kind byte, the payload length as a big-endian 32-bit number and the
// payload. A connection carries one request and one reply; a text is first acknowledged with Received, so
// that the sender knows the panel has it before the panel spends its time adding and saving it.
namespace IntakeProtocol
{

// Generous for any list of goals, yet small enough that no client can make the panel buffer much.
inline constexpr qsizetype MaxPayload = 1024 * 1024;
inline constexpr qsizetype HeaderSize = 9;

enum class Kind : char {
    SendText = 'T', // request: payload is UTF-8 text, one goal per line
    // request: a text whose goals remind at a moment; payload is the moment in UTC (ISO 8601, milliseconds and
    // Z), a newline and the UTF-8 text, one goal per line
    SendTextWithReminder = 'M',
    BringToFront = 'F', // request: a second start asks the panel to show itself; no payload
    // request: `mirel --new-goal` asks the panel to take the keyboard in adding mode; payload is the X server
    // time of the user's action in decimal, or empty when the launcher gave none
    NewGoal = 'N',
    // request: `mirel --connect-calendar` and `--disconnect-calendar` changed the connection in the
    // preferences; payload is the password for this run where the desktop keeps none, else empty
    CalendarChanged = 'C',
    Received = 'R', // reply to SendText, before the final one: the panel has the whole text; no payload
    Added = 'K', // reply: payload is the number of goals added, in decimal
    // reply: the goals were added to the panel but could not be saved; payload is their number in decimal,
    // a newline and the UTF-8 reason
    AddedNotSaved = 'U',
    Refused = 'E', // reply: payload is a UTF-8 message saying why
};

struct Frame final {
    Kind kind = Kind::Refused;
    QByteArray payload;
};

QByteArray encode(Kind kind, const QByteArray &payload = {});

// Collects one frame from bytes arriving in pieces. It never holds more than one header and one payload of
// at most the limit, so a peer announcing a huge payload is refused before anything of it is read.
class FrameReader final
{
public:
    enum class State { Reading, Complete, Invalid };

    explicit FrameReader(qsizetype maxPayload = MaxPayload)
        : m_maxPayload(maxPayload)
    {
    }

    // How many more bytes the frame needs; read at most this many from the peer.
    qsizetype bytesWanted() const;
    State append(const QByteArray &bytes);

    State state() const { return m_state; }
    // Valid once the state is Complete.
    const Frame &frame() const { return m_frame; }
    // Why the input was rejected, once the state is Invalid.
    const QByteArray &error() const { return m_error; }

private:
    State fail(const QByteArray &error);

    qsizetype m_maxPayload = MaxPayload;
    QByteArray m_buffer;
    std::optional<qsizetype> m_payloadSize;
    State m_state = State::Reading;
    Frame m_frame;
    QByteArray m_error;
};

} // namespace IntakeProtocol

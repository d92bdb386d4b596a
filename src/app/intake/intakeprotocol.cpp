// SPDX-License-Identifier: GPL-3.0-or-later

#include "intakeprotocol.h"

#include <QtEndian>

namespace IntakeProtocol
{

namespace
{

constexpr char Magic[] = { 'M', 'R', 'L', '1' };
constexpr qsizetype MagicSize = sizeof(Magic);

bool isKnownKind(char kind)
{
    switch (Kind(kind)) {
    case Kind::SendText:
    case Kind::SendTextWithReminder:
    case Kind::BringToFront:
    case Kind::NewGoal:
    case Kind::CalendarChanged:
    case Kind::Received:
    case Kind::Added:
    case Kind::AddedNotSaved:
    case Kind::Refused:
        return true;
    }
    return false;
}

} // namespace

QByteArray encode(Kind kind, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(HeaderSize + payload.size());
    frame.append(Magic, MagicSize);
    frame.append(char(kind));
    char size[4];
    qToBigEndian(quint32(payload.size()), size);
    frame.append(size, sizeof(size));
    frame.append(payload);
    return frame;
}

qsizetype FrameReader::bytesWanted() const
{
    if (m_state != State::Reading)
        return 0;
    if (!m_payloadSize)
        return HeaderSize - m_buffer.size();
    return *m_payloadSize - m_frame.payload.size();
}

FrameReader::State FrameReader::append(const QByteArray &bytes)
{
    qsizetype used = 0;
    while (m_state == State::Reading && (used < bytes.size() || (m_payloadSize && bytesWanted() == 0))) {
        const qsizetype take = std::min(bytesWanted(), bytes.size() - used);
        if (!m_payloadSize) {
            m_buffer.append(bytes.constData() + used, take);
            used += take;
            // Check the magic as soon as it is in, so garbage is refused without waiting for more.
            const qsizetype magicSeen = std::min(m_buffer.size(), MagicSize);
            if (QByteArrayView(m_buffer).first(magicSeen) != QByteArrayView(Magic, magicSeen))
                return fail("not a Mirel message");
            if (m_buffer.size() < HeaderSize)
                continue;
            if (!isKnownKind(m_buffer.at(MagicSize)))
                return fail("unknown message kind");
            m_frame.kind = Kind(m_buffer.at(MagicSize));
            const quint32 size = qFromBigEndian<quint32>(m_buffer.constData() + MagicSize + 1);
            if (qint64(size) > qint64(m_maxPayload))
                return fail("the text is larger than the limit of " + QByteArray::number(m_maxPayload) + " bytes");
            m_payloadSize = qsizetype(size);
            m_frame.payload.reserve(*m_payloadSize);
            continue;
        }
        m_frame.payload.append(bytes.constData() + used, take);
        used += take;
        if (bytesWanted() == 0)
            m_state = State::Complete;
    }
    return m_state;
}

FrameReader::State FrameReader::fail(const QByteArray &error)
{
    m_error = error;
    m_state = State::Invalid;
    return m_state;
}

} // namespace IntakeProtocol

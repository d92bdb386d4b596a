// SPDX-License-Identifier: GPL-3.0-or-later

#include "runningpanel.h"

#include "app/intake/intakeprotocol.h"
#include "app/intake/singleinstance.h"

#include <QLocalSocket>

namespace
{

constexpr int PatienceMs = 5000;

} // namespace

namespace RunningPanel
{

bool tellCalendarChanged(const QByteArray &password)
{
    const PanelAddress address = PanelAddress::forMode(false);
    if (!address.isValid())
        return false;
    QLocalSocket socket;
    socket.connectToServer(address.socket);
    if (!socket.waitForConnected(PatienceMs))
        return false;
    socket.write(IntakeProtocol::encode(IntakeProtocol::Kind::CalendarChanged, password));
    IntakeProtocol::FrameReader reader;
    while (reader.state() == IntakeProtocol::FrameReader::State::Reading) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(PatienceMs))
            return false;
        reader.append(socket.read(reader.bytesWanted()));
    }
    return reader.state() == IntakeProtocol::FrameReader::State::Complete
        && reader.frame().kind == IntakeProtocol::Kind::Received;
}

} // namespace RunningPanel

// SPDX-License-Identifier: GPL-3.0-or-later

#include "singleinstance.h"

#include "app/logging.h"

#include <QStandardPaths>

namespace
{

std::unique_ptr<QLockFile> makeLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // A panel runs for days; by default QLockFile would call a lock older than 30 s stale and take it
    // over. Only a lock whose process is gone may be taken.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

PanelAddress PanelAddress::forMode(bool uiTesting)
{
    // QStandardPaths checks that the folder belongs to the user and is private (0700) and gives an empty
    // path otherwise.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return {};
    const QString base = folder + (uiTesting ? QStringLiteral("/mirel-uitests") : QStringLiteral("/mirel"));
    return { base + QStringLiteral(".lock"), base + QStringLiteral(".socket") };
}

SingleInstance::SingleInstance(const PanelAddress &address)
{
    if (address.isValid())
        m_lock = makeLock(address.lockFile);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    if (!m_lock) {
        qCWarning(lcMirel, "no private runtime folder; starting without the one-panel guard");
        return true;
    }
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError)
        return false;
    qCWarning(lcMirel, "cannot create %s; starting without the one-panel guard", qPrintable(m_lock->fileName()));
    return true;
}

bool SingleInstance::isFree(const PanelAddress &address)
{
    if (!address.isValid())
        return false;
    const auto lock = makeLock(address.lockFile);
    return lock->tryLock(0);
}

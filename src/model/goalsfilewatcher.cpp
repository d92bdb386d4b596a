// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalsfilewatcher.h"

#include "diskfile.h"

#include <QFileInfo>

namespace
{

// Long enough to take a sync tool's write, rename and time stamp as one change, short enough to show it at once.
constexpr int SettleMs = 15;

} // namespace

GoalsFileWatcher::GoalsFileWatcher(const QString &goalsFile, QObject *parent)
    : QObject(parent)
    , m_goalsFile(goalsFile)
    , m_folder(QFileInfo(goalsFile).absolutePath())
    , m_watcher(new QFileSystemWatcher(this))
    , m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(SettleMs);
    const auto noticed = [this] {
        rewatch();
        m_settle->start();
    };
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, noticed);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, noticed);
    connect(m_settle, &QTimer::timeout, this, [this] {
        rewatch();
        emit changed();
    });
    rewatch();
}

void GoalsFileWatcher::rewatch()
{
    if (!m_watcher->directories().contains(m_folder) && QFileInfo::exists(m_folder))
        m_watcher->addPath(m_folder);
    // A watch stays on the inode it was made for; after a rename-over it must move to the new one.
    const DiskFile::Signature file = DiskFile::signatureOf(m_goalsFile);
    const bool watching = m_watcher->files().contains(m_goalsFile);
    if (watching && (!file.exists || file.inode != m_watchedInode || file.device != m_watchedDevice))
        m_watcher->removePath(m_goalsFile);
    if (file.exists && (!watching || file.inode != m_watchedInode || file.device != m_watchedDevice)
        && m_watcher->addPath(m_goalsFile)) {
        m_watchedInode = file.inode;
        m_watchedDevice = file.device;
    }
}

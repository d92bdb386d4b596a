// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Where the one panel of a user announces itself: a lock file deciding who is the panel and the local socket
// it listens on, both in the user's private runtime folder. A UI-testing panel has its own pair, so tests
// never reach a user's real panel.
struct PanelAddress final {
    QString lockFile;
    QString socket;

    // Empty paths when the runtime folder is unusable (not ours, or with wrong permissions).
    static PanelAddress forMode(bool uiTesting);
    bool isValid() const { return !lockFile.isEmpty(); }
};

// Holds the panel lock for the life of the process. Taking the lock is one exclusive file creation, so the
// first start pays nearly nothing and two starts at once cannot both become the panel.
class SingleInstance final
{
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    explicit SingleInstance(const PanelAddress &address);
    ~SingleInstance();

    // False only when another live process holds the lock. When the runtime folder is unusable the panel
    // still starts (it is always shown), only without the one-panel guard.
    bool claim();

    // True when no panel holds the lock at this moment; takes and releases it to find out, which also
    // clears a lock left behind by a crashed panel.
    static bool isFree(const PanelAddress &address);

private:
    std::unique_ptr<QLockFile> m_lock;
};

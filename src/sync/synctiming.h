// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <optional>

// When the next sync is due, from what happened: a change in the panel goes up within a second, the panel
// noticed pulls unless the last sync is recent, a failure waits longer at each try, and an idle panel pulls
// every five minutes. Times are on a monotonic clock, as milliseconds; plain code, no timer of its own.
class SyncTiming final
{
public:
    using Ms = std::chrono::milliseconds;

    static constexpr Ms ChangeBatch = std::chrono::seconds(1);
    static constexpr Ms Recent = std::chrono::seconds(30);
    static constexpr Ms Idle = std::chrono::minutes(5);
    static constexpr Ms FirstRetry = std::chrono::seconds(15);

    void started();
    // The sync that ended at `now`, and whether it went through.
    void synced(Ms now, bool succeeded);
    void changedHere(Ms now);
    void noticed(Ms now);
    // "Sync Now", the network back, a wake from a suspend: at once, the wait after failures starting over.
    void wanted(Ms now);

    Ms dueAt() const { return m_due; }

private:
    void bringForward(Ms at);

    Ms m_due { 0 };
    std::optional<Ms> m_lastSync;
    // After a failure: no try before this, however much changes.
    Ms m_retryAfter { 0 };
    Ms m_retryWait { 0 };
    // A change made while a sync was on its way, which that sync may have missed.
    bool m_changedSinceStart = false;
};

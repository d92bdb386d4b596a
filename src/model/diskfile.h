// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The few file operations the goals need, each naming the real cause when it fails.
namespace DiskFile
{

// Which version of a file is on disk: the panel tells its own saves from another program's by it. A
// rename-over gives a new inode, an edit in place a new size or modification time.
struct Signature {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const Signature &) const = default;
};
Signature signatureOf(const QString &path);

// The whole file, or nothing when it is missing, not a regular file, larger than `maxSize` or unreadable.
std::optional<QByteArray> readAll(const QString &path, qint64 maxSize);

// Writes beside the file and renames over it, so that a reader sees the old bytes or the new ones, never a
// mix. Nothing on success, else the reason; the old file is then as it was.
std::optional<QString> replaceAtomically(const QString &path, const QByteArray &bytes);

// Creates the folder and any missing parents. Nothing when it exists, else e.g. "cannot create the folder
// /home/a/.local/share/Mirel: Permission denied".
std::optional<QString> makeFolder(const QString &folder);

// Deletes the file. Nothing when it is gone or never was, else the reason.
std::optional<QString> deleteFile(const QString &path);

} // namespace DiskFile

// SPDX-License-Identifier: GPL-3.0-or-later

#include "diskfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Writes everything or reports why not. A short or failed write is the usual face of a full disk.
std::optional<QString> writeAll(int descriptor, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.constData() + written, size_t(bytes.size() - written));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return qt_error_string(result < 0 ? errno : ENOSPC);
        written += result;
    }
    if (::fsync(descriptor) != 0)
        return qt_error_string(errno);
    return std::nullopt;
}

} // namespace

namespace DiskFile
{

Signature signatureOf(const QString &path)
{
    struct stat info {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return { true, quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
        qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec };
}

std::optional<QByteArray> readAll(const QString &path, qint64 maxSize)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > maxSize || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// QSaveFile writes beside the old file and renames over it, so a crash or a power loss leaves the old list
// or the new one and never a mix. But Qt 6.4's commit() renames even when its buffered data never reached
// the disk, replacing the goals with an empty file; so the bytes go straight to the descriptor, every write
// and the sync are checked, and any failure cancels the rename and leaves the old file as it was.
std::optional<QString> replaceAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (std::optional<QString> failure = writeAll(file.handle(), bytes)) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

std::optional<QString> makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return std::nullopt;
    // QDir says only that it failed; the first parent that cannot be made says why.
    QString missing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(QFileInfo(missing).path()) && QFileInfo(missing).path() != missing)
        missing = QFileInfo(missing).path();
    // A file in the way makes mkdir say only that something exists there.
    const int error = QFileInfo::exists(missing)                     ? ENOTDIR
        : ::mkdir(QFile::encodeName(missing).constData(), 0700) == 0 ? EEXIST
                                                                     : errno;
    return QCoreApplication::translate("GoalsDisk", "cannot create the folder %1: %2")
        .arg(QDir::toNativeSeparators(folder), qt_error_string(error));
}

std::optional<QString> deleteFile(const QString &path)
{
    // QFile::remove would say only that it failed.
    if (::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT)
        return std::nullopt;
    const int error = errno;
    return QCoreApplication::translate("GoalsDisk", "cannot delete %1: %2")
        .arg(QDir::toNativeSeparators(path), qt_error_string(error));
}

} // namespace DiskFile

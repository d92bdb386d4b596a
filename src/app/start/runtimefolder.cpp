// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtimefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr mode_t PrivateMode = 0700;

bool isPrivate(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    // Made private from the start, so no other user can slip in between the creation and the check.
    ::mkdir(name.constData(), PrivateMode);
    struct stat info {
    };
    // lstat: a symbolic link left by someone else must not lead the socket into their folder.
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if ((info.st_mode & 07777) != PrivateMode && ::chmod(name.constData(), PrivateMode) != 0)
        return false;
    return true;
}

} // namespace

namespace RuntimeFolder
{

void chooseWhenUnset()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString user = QString::number(::geteuid());
    // Before the application object exists, so QStandardPaths cannot name the cache; the XDG rules can.
    const QString cache = qEnvironmentVariableIsEmpty("XDG_CACHE_HOME") ? QDir::homePath() + QStringLiteral("/.cache")
                                                                        : qEnvironmentVariable("XDG_CACHE_HOME");
    // A TMPDIR that names no folder gives no temporary path at all.
    const QString temp = QDir::tempPath();
    for (const QString &candidate : { temp.isEmpty() ? QString() : temp + QStringLiteral("/mirel-runtime-") + user,
             cache + QStringLiteral("/mirel-runtime") }) {
        if (candidate.isEmpty())
            continue;
        QDir().mkpath(QFileInfo(candidate).absolutePath());
        if (isPrivate(candidate)) {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(candidate));
            return;
        }
    }
}

} // namespace RuntimeFolder

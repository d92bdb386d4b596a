// SPDX-License-Identifier: GPL-3.0-or-later

#include "openatlogin.h"

#include "logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <syslog.h>

namespace
{

constexpr QLatin1StringView EntryFileName("mirel.desktop");
// An entry is a few hundred bytes; a huge file at the path is not one of ours and is not read whole.
constexpr qint64 MaxEntrySize = 64 * 1024;

// Within a double-quoted Exec argument, these four are escaped with a backslash; the string rules of the
// entry file then double every backslash. A percent sign would start a field code.
QString quotedExecArgument(const QString &path)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$')
            quoted += QStringLiteral("\\\\") + c;
        else if (c == u'\\')
            quoted += QStringLiteral("\\\\\\\\");
        else if (c == u'%')
            quoted += QStringLiteral("%%");
        else if (c == u'\n')
            quoted += QStringLiteral("\\n");
        else if (c == u'\r')
            quoted += QStringLiteral("\\r");
        else if (c == u'\t')
            quoted += QStringLiteral("\\t");
        else
            quoted += c;
    }
    return quoted + u'"';
}

// Desktops switch an entry off without deleting it by one of these two keys in its main group.
bool isDisabledEntry(const QByteArray &contents)
{
    bool inMainGroup = false;
    for (const QByteArray &rawLine : contents.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || equals < 0)
            continue;
        const QByteArray key = line.first(equals).trimmed();
        const QByteArray value = line.sliced(equals + 1).trimmed();
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return true;
    }
    return false;
}

void logChangeFailure(const QString &description)
{
    // One line whatever the description holds, and passed as an argument so nothing in it acts as format.
    QString line = QStringLiteral("Open at Login change failed: ") + description;
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    const QByteArray bytes = line.toUtf8();
    syslog(LOG_USER | LOG_ERR, "%s", bytes.constData());
    qCWarning(lcMirel, "%s", bytes.constData());
}

} // namespace

OpenAtLogin::OpenAtLogin(QString entryPath, QString executable)
    : m_entryPath(std::move(entryPath))
    , m_executable(std::move(executable))
{
}

OpenAtLogin OpenAtLogin::forThisProgram()
{
    const QString folder
        = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
    return { folder + u'/' + EntryFileName, QCoreApplication::applicationFilePath() };
}

bool OpenAtLogin::openAtLoginEnabled() const
{
    QFile entry(m_entryPath);
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    return !isDisabledEntry(entry.read(MaxEntrySize));
}

void OpenAtLogin::setOpenAtLogin(bool on) const
{
    QString error;
    if (!(on ? writeEntry(&error) : removeEntry(&error)))
        logChangeFailure(error);
}

QByteArray OpenAtLogin::entryFor(const QString &executable)
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Mirel\n"
                             "Comment=Today's goals in a floating panel\n"
                             "Exec=")
        + quotedExecArgument(executable).toUtf8()
        + QByteArrayLiteral("\n"
                            "Icon=mirel\n"
                            "Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n");
}

bool OpenAtLogin::writeEntry(QString *error) const
{
    if (m_executable.isEmpty() || QFileInfo(m_executable).isRelative()) {
        *error = QStringLiteral("the program's own path is unknown");
        return false;
    }
    const QString folder = QFileInfo(m_entryPath).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    // Written beside the entry and renamed over it, so a crash never leaves half an entry behind.
    QSaveFile entry(m_entryPath);
    if (!entry.open(QIODevice::WriteOnly) || entry.write(entryFor(m_executable)) < 0 || !entry.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(m_entryPath, entry.errorString());
        return false;
    }
    return true;
}

bool OpenAtLogin::removeEntry(QString *error) const
{
    QFile entry(m_entryPath);
    if (!entry.exists() || entry.remove())
        return true;
    *error = QStringLiteral("cannot remove %1: %2").arg(m_entryPath, entry.errorString());
    return false;
}

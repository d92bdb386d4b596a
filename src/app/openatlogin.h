// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Starting the panel at login through an XDG autostart entry. Nothing about the setting is remembered in the
// program: the state is read back from the entry on disk every time, so a change made elsewhere (a desktop's
// startup settings, a deleted file) shows at the next reading.
class OpenAtLogin final
{
public:
    // entryPath: the autostart entry file; executable: the absolute path the entry starts.
    OpenAtLogin(QString entryPath, QString executable);

    // The entry of the running program in the user's autostart folder.
    static OpenAtLogin forThisProgram();

    // True when the entry exists and no desktop has disabled it.
    bool openAtLoginEnabled() const;
    // Writes or removes the entry. A failure leaves everything as it was and is reported by one line,
    // "Open at Login change failed: " and a description, to the system log and to standard error.
    void setOpenAtLogin(bool on) const;

    // The desktop entry that starts the executable, with the path quoted and escaped for the Exec key.
    static QByteArray entryFor(const QString &executable);

private:
    bool writeEntry(QString *error) const;
    bool removeEntry(QString *error) const;

    QString m_entryPath;
    QString m_executable;
};

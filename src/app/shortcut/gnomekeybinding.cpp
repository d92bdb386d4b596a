// SPDX-License-Identifier: GPL-3.0-or-later

#include "gnomekeybinding.h"

#include <QCoreApplication>
#include <QProcess>

namespace
{

constexpr QLatin1StringView MediaKeys("org.gnome.settings-daemon.plugins.media-keys");
constexpr QLatin1StringView ListKey("custom-keybindings");
constexpr QLatin1StringView CustomSchema("org.gnome.settings-daemon.plugins.media-keys.custom-keybinding");
constexpr QLatin1StringView OwnPath("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/mirel-new-goal/");
// The daemon's writes through dconf answer at once; a hung one must not hold the panel long.
constexpr int GsettingsTimeoutMs = 5000;

struct Outcome {
    QString output;
    QString error;
};

Outcome gsettings(const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral("gsettings"), arguments);
    if (!process.waitForFinished(GsettingsTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return { {},
            process.error() == QProcess::FailedToStart
                ? QCoreApplication::translate("GnomeKeybinding", "the gsettings command is missing")
                : QCoreApplication::translate("GnomeKeybinding", "gsettings did not answer") };
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromUtf8(process.readAllStandardError()).trimmed();
        return { {}, said.isEmpty() ? QCoreApplication::translate("GnomeKeybinding", "gsettings failed") : said };
    }
    return { QString::fromUtf8(process.readAllStandardOutput()).trimmed(), {} };
}

QString ownSchema()
{
    return CustomSchema + u':' + OwnPath;
}

// The custom shortcuts' paths as GNOME lists them, or why they cannot be read.
std::optional<QStringList> listedPaths(QString *error)
{
    const Outcome read = gsettings({ QStringLiteral("get"), MediaKeys, ListKey });
    if (!read.error.isEmpty()) {
        *error = read.error;
        return std::nullopt;
    }
    std::optional<QStringList> paths = GnomeKeybinding::parseStringList(read.output);
    if (!paths)
        *error = QCoreApplication::translate("GnomeKeybinding", "GNOME's list of custom shortcuts is unreadable");
    return paths;
}

} // namespace

GnomeKeybinding::GnomeKeybinding(QString command)
    : m_command(std::move(command))
{
}

std::optional<NewGoalShortcut> GnomeKeybinding::installed() const
{
    QString error;
    const std::optional<QStringList> paths = listedPaths(&error);
    if (!paths || !paths->contains(OwnPath))
        return std::nullopt;
    const Outcome binding = gsettings({ QStringLiteral("get"), ownSchema(), QStringLiteral("binding") });
    const std::optional<QStringList> one = parseStringList(u'[' + binding.output + u']');
    if (!binding.error.isEmpty() || !one || one->size() != 1)
        return std::nullopt;
    // GNOME's form back to the shown one: "<Control><Alt>g" is Ctrl+Alt+G.
    QString text = one->constFirst();
    text.replace(QLatin1StringView("<Control>"), QLatin1StringView("Ctrl+"))
        .replace(QLatin1StringView("<Primary>"), QLatin1StringView("Ctrl+"))
        .replace(QLatin1StringView("<Alt>"), QLatin1StringView("Alt+"))
        .replace(QLatin1StringView("<Shift>"), QLatin1StringView("Shift+"))
        .replace(QLatin1StringView("<Super>"), QLatin1StringView("Super+"));
    const qsizetype keyStart = text.lastIndexOf(u'+') + 1;
    QString key = text.mid(keyStart);
    key = key == QLatin1StringView("space") ? QStringLiteral("Space") : key.toUpper();
    return NewGoalShortcut::fromText(text.left(keyStart) + key);
}

QString GnomeKeybinding::install(const NewGoalShortcut &shortcut) const
{
    QString error;
    std::optional<QStringList> paths = listedPaths(&error);
    if (!paths)
        return error;
    // Its settings first: the daemon binds a listed path as soon as the list names it.
    const QString schema = ownSchema();
    for (const auto &[key, value] : { std::pair(QStringLiteral("name"), stringText(QStringLiteral("Mirel: New Goal"))),
             std::pair(QStringLiteral("command"), stringText(m_command)),
             std::pair(QStringLiteral("binding"), stringText(shortcut.gnomeBinding())) }) {
        if (const Outcome set = gsettings({ QStringLiteral("set"), schema, key, value }); !set.error.isEmpty())
            return set.error;
    }
    if (paths->contains(OwnPath))
        return {};
    paths->append(OwnPath);
    return gsettings({ QStringLiteral("set"), MediaKeys, ListKey, stringListText(*paths) }).error;
}

QString GnomeKeybinding::remove() const
{
    QString error;
    std::optional<QStringList> paths = listedPaths(&error);
    if (!paths)
        return error;
    if (paths->removeAll(OwnPath) > 0) {
        if (const Outcome set = gsettings({ QStringLiteral("set"), MediaKeys, ListKey, stringListText(*paths) });
            !set.error.isEmpty())
            return set.error;
    }
    for (const QString &key : { QStringLiteral("name"), QStringLiteral("command"), QStringLiteral("binding") })
        gsettings({ QStringLiteral("reset"), ownSchema(), key });
    return {};
}

std::optional<QStringList> GnomeKeybinding::parseStringList(QStringView text)
{
    text = text.trimmed();
    // An empty list comes with its type, which nothing else tells.
    if (text.startsWith(QLatin1StringView("@as ")))
        text = text.mid(4).trimmed();
    if (!text.startsWith(u'[') || !text.endsWith(u']'))
        return std::nullopt;
    QStringList strings;
    qsizetype i = 1;
    const qsizetype end = text.size() - 1;
    const auto skipSpaces = [&] {
        while (i < end && text[i].isSpace())
            ++i;
    };
    skipSpaces();
    while (i < end) {
        const QChar quote = text[i];
        if (quote != u'\'' && quote != u'"')
            return std::nullopt;
        QString string;
        for (++i; i < end && text[i] != quote; ++i) {
            if (text[i] == u'\\' && i + 1 < end)
                ++i;
            string += text[i];
        }
        if (i >= end)
            return std::nullopt;
        strings.append(string);
        ++i;
        skipSpaces();
        if (i < end) {
            if (text[i] != u',')
                return std::nullopt;
            ++i;
            skipSpaces();
        }
    }
    return strings;
}

QString GnomeKeybinding::stringListText(const QStringList &strings)
{
    if (strings.isEmpty())
        return QStringLiteral("@as []");
    QStringList quoted;
    for (const QString &string : strings)
        quoted.append(stringText(string));
    return u'[' + quoted.join(QLatin1StringView(", ")) + u']';
}

QString GnomeKeybinding::stringText(const QString &string)
{
    QString escaped = string;
    escaped.replace(u'\\', QLatin1StringView("\\\\")).replace(u'\'', QLatin1StringView("\\'"));
    return u'\'' + escaped + u'\'';
}

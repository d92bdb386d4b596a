// SPDX-License-Identifier: GPL-3.0-or-later

#include "newgoalshortcut.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace
{

constexpr Qt::KeyboardModifiers KnownModifiers
    = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier;
constexpr Qt::KeyboardModifiers CommandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
constexpr int HighestFunctionKey = 12;

struct ModifierNames {
    Qt::KeyboardModifier modifier;
    QLatin1StringView shown;
    QLatin1StringView gnome;
    QLatin1StringView portal;
    QLatin1StringView sway;
};

// In the order the desktops write them.
constexpr std::array<ModifierNames, 4> Modifiers { {
    { Qt::ControlModifier, QLatin1StringView("Ctrl"), QLatin1StringView("<Control>"), QLatin1StringView("CTRL"),
        QLatin1StringView("Ctrl") },
    { Qt::AltModifier, QLatin1StringView("Alt"), QLatin1StringView("<Alt>"), QLatin1StringView("ALT"),
        QLatin1StringView("Mod1") },
    { Qt::ShiftModifier, QLatin1StringView("Shift"), QLatin1StringView("<Shift>"), QLatin1StringView("SHIFT"),
        QLatin1StringView("Shift") },
    { Qt::MetaModifier, QLatin1StringView("Super"), QLatin1StringView("<Super>"), QLatin1StringView("LOGO"),
        QLatin1StringView("Mod4") },
} };

bool isServingKey(int key)
{
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)
        || (key >= Qt::Key_F1 && key < Qt::Key_F1 + HighestFunctionKey) || key == Qt::Key_Space;
}

std::optional<int> keyNamed(QStringView name)
{
    if (name.size() == 1) {
        const QChar c = name.front();
        if (c >= u'A' && c <= u'Z')
            return Qt::Key_A + (c.unicode() - u'A');
        if (c >= u'0' && c <= u'9')
            return Qt::Key_0 + (c.unicode() - u'0');
        return std::nullopt;
    }
    if (name == QLatin1StringView("Space"))
        return Qt::Key_Space;
    if (name.size() > 1 && name.front() == u'F') {
        bool ok = false;
        const int number = name.mid(1).toInt(&ok);
        // "F05" is not a name the text ever writes.
        if (ok && number >= 1 && number <= HighestFunctionKey && !name.mid(1).startsWith(u'0'))
            return Qt::Key_F1 + number - 1;
    }
    return std::nullopt;
}

} // namespace

NewGoalShortcut::NewGoalShortcut(Qt::KeyboardModifiers modifiers, Qt::Key key)
    : m_modifiers(modifiers)
    , m_key(key)
{
}

NewGoalShortcut NewGoalShortcut::standard()
{
    return NewGoalShortcut(Qt::ControlModifier | Qt::AltModifier, Qt::Key_G);
}

std::optional<NewGoalShortcut> NewGoalShortcut::fromKey(Qt::KeyboardModifiers modifiers, int key)
{
    // The keypad's flag says where the key sits, not what it means.
    modifiers &= ~Qt::KeypadModifier;
    if (!isServingKey(key) || (modifiers & ~KnownModifiers) || !(modifiers & CommandModifiers))
        return std::nullopt;
    return NewGoalShortcut(modifiers, Qt::Key(key));
}

std::optional<NewGoalShortcut> NewGoalShortcut::fromText(QStringView text)
{
    const QList<QStringView> parts = text.split(u'+');
    Qt::KeyboardModifiers modifiers;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const auto named = std::find_if(Modifiers.cbegin(), Modifiers.cend(),
            [part = parts[i]](const ModifierNames &names) { return part == names.shown; });
        if (named == Modifiers.cend() || modifiers.testFlag(named->modifier))
            return std::nullopt;
        modifiers |= named->modifier;
    }
    const std::optional<int> key = keyNamed(parts.constLast());
    if (!key)
        return std::nullopt;
    return fromKey(modifiers, *key);
}

QString NewGoalShortcut::keyName() const
{
    if (m_key == Qt::Key_Space)
        return QStringLiteral("Space");
    if (m_key >= Qt::Key_F1 && m_key <= Qt::Key_F35)
        return u'F' + QString::number(m_key - Qt::Key_F1 + 1);
    return QString(QChar(m_key));
}

QString NewGoalShortcut::text() const
{
    QStringList parts;
    for (const ModifierNames &names : Modifiers) {
        if (m_modifiers.testFlag(names.modifier))
            parts.append(names.shown);
    }
    parts.append(keyName());
    return parts.join(u'+');
}

QString NewGoalShortcut::gnomeBinding() const
{
    QString binding;
    for (const ModifierNames &names : Modifiers) {
        if (m_modifiers.testFlag(names.modifier))
            binding += names.gnome;
    }
    // GTK's key names: lower-case letters, "space".
    return binding + (m_key == Qt::Key_Space || m_key < Qt::Key_F1 ? keyName().toLower() : keyName());
}

QString NewGoalShortcut::portalTrigger() const
{
    QStringList parts;
    for (const ModifierNames &names : Modifiers) {
        if (m_modifiers.testFlag(names.modifier))
            parts.append(names.portal);
    }
    parts.append(m_key == Qt::Key_Space ? QStringLiteral("space") : keyName());
    return parts.join(u'+');
}

QString NewGoalShortcut::swayCombination() const
{
    QStringList parts;
    for (const ModifierNames &names : Modifiers) {
        if (m_modifiers.testFlag(names.modifier))
            parts.append(names.sway);
    }
    // The X key names: lower-case letters, "space".
    parts.append(m_key == Qt::Key_Space || m_key < Qt::Key_F1 ? keyName().toLower() : keyName());
    return parts.join(u'+');
}

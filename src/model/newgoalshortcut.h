// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <Qt>

#include <optional>

// The key combination that gives the panel the keyboard in adding mode from any program, with the forms each
// desktop's configuration reads. Only keys every keyboard layout has and every desktop can bind are taken:
// the letters, the digits, F1 to F12 and Space, with Ctrl, Alt or Super among the modifiers, so that the
// shortcut never swallows plain typing.
class NewGoalShortcut final
{
public:
    // Taken by none of the major desktops' default bindings.
    static NewGoalShortcut standard();
    // Nothing for a combination that cannot serve: a modifier key alone, another key, no Ctrl, Alt or Super.
    static std::optional<NewGoalShortcut> fromKey(Qt::KeyboardModifiers modifiers, int key);
    // Reads what text() writes; nothing for anything else.
    static std::optional<NewGoalShortcut> fromText(QStringView text);

    Qt::KeyboardModifiers modifiers() const { return m_modifiers; }
    Qt::Key key() const { return m_key; }

    // "Ctrl+Alt+G": shown to the person and kept in the preferences.
    QString text() const;
    // "<Control><Alt>g", as GNOME's keybinding settings hold it.
    QString gnomeBinding() const;
    // "CTRL+ALT+G", the trigger form of the desktop portal's global shortcuts.
    QString portalTrigger() const;
    // "Ctrl+Mod1+g", as sway and its kin name a combination in their configuration.
    QString swayCombination() const;

    friend bool operator==(const NewGoalShortcut &, const NewGoalShortcut &) = default;

private:
    NewGoalShortcut(Qt::KeyboardModifiers modifiers, Qt::Key key);
    // The key alone as the desktops write it: "G", "7", "F5", "Space".
    QString keyName() const;

    Qt::KeyboardModifiers m_modifiers;
    Qt::Key m_key = Qt::Key_unknown;
};

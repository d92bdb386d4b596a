#pragma once

#include <QMenu>

#include <functional>

// The panel's context menu: rename the title, switch Open at Login, quit. It keeps no state; a new one is built
// from the current title and login state each time it opens.
class PanelMenu final : public QMenu {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelMenu)

public:
    struct Callbacks {
        std::function<void()> onRename;
        // Called with the opposite of the state the menu showed.
        std::function<void(bool on)> onSetOpenAtLogin;
        std::function<void()> onQuit;
    };

    PanelMenu(const QString &title, bool openAtLogin, Callbacks callbacks, QWidget *parent = nullptr);

    // The rename item's label, Rename “title”…, with the title's ampersands doubled so QMenu shows them
    // instead of taking them for mnemonics.
    static QString renameText(const QString &title);

    // Ctrl+Q on the panel window, also while the menu is closed.
    static void addQuitShortcut(QWidget *window, std::function<void()> onQuit);
};

#pragma once

#include <QMenu>

class QShortcut;

// The panel's context menu: rename the title, switch Open at Login, quit. It keeps no state; a new one is built
// from the current title and login state each time it opens.
class PanelMenu final : public QMenu
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelMenu)

public:
    PanelMenu(const QString &title, bool openAtLogin, QWidget *parent = nullptr);

    // The rename item's label, Rename “title”…, with the title's ampersands doubled so QMenu shows them
    // instead of taking them for mnemonics.
    static QString renameText(const QString &title);

    // Ctrl+Q on the panel window, also while the menu is closed; owned by the window.
    static QShortcut *addQuitShortcut(QWidget *window);

signals:
    void renameRequested();
    // With the opposite of the state the menu showed.
    void openAtLoginToggled(bool on);
    void quitRequested();
};

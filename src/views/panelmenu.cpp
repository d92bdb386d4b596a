#include "panelmenu.h"

#include <QShortcut>

namespace
{

const QKeySequence QuitShortcut(Qt::CTRL | Qt::Key_Q);

} // namespace

PanelMenu::PanelMenu(const QString &title, bool openAtLogin, Callbacks callbacks, QWidget *parent)
    : QMenu(parent)
{
    addAction(renameText(title), this, std::move(callbacks.onRename));
    addSeparator();
    QAction *login = addAction(tr("Open at Login"));
    login->setCheckable(true);
    login->setChecked(openAtLogin);
    // The toggled state is not trusted: the caller reads the real state afresh the next time.
    connect(login, &QAction::triggered, this,
        [onSetOpenAtLogin = std::move(callbacks.onSetOpenAtLogin), openAtLogin] { onSetOpenAtLogin(!openAtLogin); });
    addSeparator();
    QAction *quit = addAction(tr("Quit Mirel"), this, std::move(callbacks.onQuit));
    quit->setShortcut(QuitShortcut);
}

QString PanelMenu::renameText(const QString &title)
{
    QString shown = title;
    shown.replace(u'&', QStringLiteral("&&"));
    return tr("Rename “%1”…").arg(shown);
}

void PanelMenu::addQuitShortcut(QWidget *window, std::function<void()> onQuit)
{
    auto *shortcut = new QShortcut(QuitShortcut, window);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, window, std::move(onQuit));
}

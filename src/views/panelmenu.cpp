#include "panelmenu.h"

#include "menucheckstyle.h"

#include <QShortcut>

namespace
{

const QKeySequence QuitShortcut(Qt::CTRL | Qt::Key_Q);

} // namespace

PanelMenu::PanelMenu(const QString &title, bool openAtLogin, QWidget *parent)
    : QMenu(parent)
{
    addAction(renameText(title), this, &PanelMenu::renameRequested);
    addSeparator();
    QAction *login = addAction(tr("Open at Login"));
    login->setCheckable(true);
    login->setChecked(openAtLogin);
    new MenuCheckStyle(this);
    // The toggled state is not trusted: the caller reads the real state afresh the next time.
    connect(login, &QAction::triggered, this, [this, openAtLogin] { emit openAtLoginToggled(!openAtLogin); });
    addSeparator();
    QAction *quit = addAction(tr("Quit Mirel"), this, &PanelMenu::quitRequested);
    quit->setShortcut(QuitShortcut);
}

QString PanelMenu::renameText(const QString &title)
{
    QString shown = title;
    shown.replace(u'&', QStringLiteral("&&"));
    return tr("Rename “%1”…").arg(shown);
}

QShortcut *PanelMenu::addQuitShortcut(QWidget *window)
{
    auto *shortcut = new QShortcut(QuitShortcut, window);
    shortcut->setContext(Qt::WindowShortcut);
    return shortcut;
}

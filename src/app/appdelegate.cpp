#include "appdelegate.h"

#include "intakeserver.h"
#include "openatlogin.h"
#include "singleinstance.h"
#include "model/todostore.h"
#include "views/contentview.h"
#include "views/panelmenu.h"

#include <QApplication>
#include <QSettings>
#include <QWidget>

namespace {

constexpr int InitialWidth = 320;

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
{
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(const LaunchOptions &options)
{
    if (options.uiTesting) {
        // A separate settings file, so a test run never touches the user's own title or frame.
        m_defaults = new QSettings(QString::fromUtf16(UiTestingSuiteName), QString(), this);
        m_defaults->clear();
        m_defaults->sync();
        m_todoStore = new TodoStore(std::nullopt, this);
        m_todoStore->addLines(options.uiTestGoals);
    } else {
        m_defaults = new QSettings(this);
        m_todoStore = new TodoStore(this);
    }

    m_contentView = std::make_unique<ContentView>(
        m_todoStore, m_defaults, [] {}, [] {},
        [this](QSizeF size) { m_contentView->resize(size.toSize()); });
    m_contentView->setWindowTitle(QStringLiteral("Mirel"));
    m_contentView->resize(InitialWidth, m_contentView->sizeHint().height());
    m_contentView->show();
    connectPanelMenu(m_contentView.get());
    registerServicesProvider(options);
}

void AppDelegate::registerServicesProvider(const LaunchOptions &options)
{
    const PanelAddress address = PanelAddress::forMode(options.uiTesting);
    if (!address.isValid())
        return;
    m_intakeServer = new IntakeServer({[this](const QString &text) { return sendToMirel(text); },
                                       [this] { bringPanelToFront(); }},
                                      this);
    // The panel works without it; only sending text from outside is unavailable.
    if (!m_intakeServer->listen(address.socket))
        qWarning("mirel: cannot listen on %s: %s", qPrintable(address.socket),
                 qPrintable(m_intakeServer->errorString()));
}

qsizetype AppDelegate::sendToMirel(const QString &text)
{
    const qsizetype before = m_todoStore->todos().size();
    m_todoStore->addLines(text);
    return m_todoStore->todos().size() - before;
}

void AppDelegate::bringPanelToFront()
{
    // The panel and, in screenshot mode, the backdrop; the panel floats, so it stays above the backdrop.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            window->raise();
    }
}

void AppDelegate::connectPanelMenu(ContentView *content)
{
    connect(content, &ContentView::contextMenuRequested, this,
            [this, content](const QPoint &globalPosition) { showPanelMenu(content, globalPosition); });
    PanelMenu::addQuitShortcut(content, &QCoreApplication::quit);
}

void AppDelegate::showPanelMenu(ContentView *content, const QPoint &globalPosition)
{
    // Built afresh each time: the title may have been renamed, the login entry changed by another program.
    const OpenAtLogin openAtLogin = OpenAtLogin::forThisProgram();
    auto *menu = new PanelMenu(content->title(), openAtLogin.openAtLoginEnabled(),
                               {[content] { content->beginRename(); },
                                [openAtLogin](bool on) { openAtLogin.setOpenAtLogin(on); }, &QCoreApplication::quit},
                               content);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}

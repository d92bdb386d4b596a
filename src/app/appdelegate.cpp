#include "appdelegate.h"

#include "logging.h"

#include "app/intake/intakemodule.h"
#include "app/intake/singleinstance.h"
#include "app/panel/keyablepanel.h"
#include "app/panel/screenshotbackdrop.h"
#include "app/x11/x11platform.h"
#include "dailyclearing.h"
#include "model/goalsteps.h"
#include "model/panelsettings.h"
#include "model/todostore.h"
#include "model/undohistory.h"
#include "openatlogin.h"
#include "quitguard.h"
#include "views/kit/beziereasing.h"
#include "views/panel/contentview.h"
#include "views/panel/panelactions.h"
#include "views/panel/panelmenu.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVariantAnimation>
#include <QWindow>

#include <utility>

namespace
{

constexpr int SnapDurationMs = 250;
constexpr int ServicesFallbackDelayMs = 2000;

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
{
}

AppDelegate::~AppDelegate()
{
    // The content's callbacks reach the delegate, which has to be whole while the panel and its content go.
    m_panel.reset();
}

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
    m_settings = std::make_unique<PanelSettings>(m_defaults);
    m_history = new UndoHistory(this);
    // Before the panel is built, so that its first frame shows the new day's list.
    m_dailyClearing = new DailyClearing(m_settings.get(), m_todoStore, m_history, this);
    m_quitGuard = new QuitGuard(m_todoStore, this);
    showPanel(options);
    // Not before the first frame, which it would only delay. A panel the window manager never shows still
    // becomes reachable after a while.
    connect(
        m_panel.get(), &KeyablePanel::firstFrameShown, this, [this, options] { registerServicesProvider(options); });
    QTimer::singleShot(ServicesFallbackDelayMs, this, [this, options] { registerServicesProvider(options); });
}

void AppDelegate::showPanel(const LaunchOptions &options)
{
    const std::optional<QRectF> saved = savedPanelFrame();
    const QList<PanelGeometry::Screen> screens = PanelGeometry::currentScreens();
    const QRectF frame = PanelGeometry::initialPanelFrame(saved, screens, options.screenshotBackdrop);
    // A saved frame that no screen shows is brought back with its saved size, which may be none at all; the
    // content's own size is known once it has laid itself out in the panel.
    m_snapOnFirstSizing = saved && !options.screenshotBackdrop && PanelGeometry::isOffEveryScreen(*saved, screens);
    if (options.screenshotBackdrop)
        makeScreenshotBackdrop();

    const bool translucent = !X11Platform::isActive() || X11Platform::hasCompositor();
    m_panel = std::make_unique<KeyablePanel>(translucent);
    setPanelFrame(frame);
    if (m_backdrop) {
        m_panel->winId();
        m_backdrop->keepBeneath(m_panel->windowHandle());
    }
    // Mapped before the content is built: the window manager takes the window on while the fonts load, and
    // the first frame, content and all, is painted once the event loop runs.
    m_panel->orderFront();
    // The content connects these with itself as the context, and it lives inside the panel the delegate owns.
    auto *content = new ContentView(
        m_todoStore, m_history, m_settings.get(), [this](QPointF pointer) { panelDragChanged(pointer); },
        [this] { panelDragEnded(); }, [this](QSizeF size) { resizePanel(size); });
    content->setTranslucent(translucent);
    connectPanel(m_panel.get(), content);
    m_panel->setContentView(content);

    watchScreens();
}

void AppDelegate::watchScreens()
{
    // A screen that goes away, shrinks or moves can leave the panel where nobody sees it. Qt has updated its
    // screen list by the time the queued check runs; one change of the arrangement often arrives as several
    // signals, and every check after the first finds the panel in place.
    const auto check = [this] { QTimer::singleShot(0, this, &AppDelegate::bringPanelOntoScreen); };
    const auto watch = [this, check](const QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, check);
        connect(screen, &QScreen::availableGeometryChanged, this, check);
    };
    for (const QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [watch, check](const QScreen *screen) {
        watch(screen);
        check();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, check);
}

std::optional<QRectF> AppDelegate::savedPanelFrame() const
{
    return PanelGeometry::savedPanelFrame(*m_settings, PanelGeometry::ScreenSpace::current());
}

void AppDelegate::savePanelFrame()
{
    if (m_panel)
        PanelGeometry::savePanelFrame(*m_settings, panelFrame(), PanelGeometry::ScreenSpace::current());
}

void AppDelegate::panelDragChanged(QPointF globalPosition)
{
    if (!m_panel)
        return;
    stopSnapAnimation();
    QRectF frame = panelFrame();
    if (!m_dragStart)
        m_dragStart = PanelGeometry::DragStart { globalPosition, frame.topLeft() };
    frame.moveTo(PanelGeometry::draggedPanelOrigin(*m_dragStart, globalPosition));
    setPanelFrame(frame);
}

void AppDelegate::panelDragEnded()
{
    m_dragStart.reset();
    snapPanelToScreenEdges();
}

void AppDelegate::resizePanel(QSizeF size)
{
    QTimer::singleShot(0, this, [this, size] {
        if (!m_panel)
            return;
        // Anywhere but where the last content resize put it, the panel was placed by the person (a drag, a
        // resize, the start) or the screens: that is its place from now on. A panel pushed up by a tall goal
        // thus comes back down to its place once the goal is gone.
        if (m_panel->geometry() != m_contentSizedGeometry)
            m_placedFrame = panelFrame();
        const QRectF frame = PanelGeometry::resizedPanelFrame(m_placedFrame, size, PanelGeometry::currentScreens());
        m_panel->setFrameFromContent(PanelGeometry::toPixels(frame));
        m_contentSizedGeometry = m_panel->geometry();
        if (std::exchange(m_snapOnFirstSizing, false)) {
            if (const std::optional<QRectF> target
                = PanelGeometry::snappedPanelFrame(panelFrame(), PanelGeometry::currentScreens()))
                setPanelFrame(*target);
        } else if (!m_dragStart) {
            // Keeping the top edge can leave a panel that stood partly off the screens wholly off them, for
            // instance a frame saved on a taller monitor that the content now makes shorter.
            bringPanelOntoScreen();
        }
    });
}

void AppDelegate::panelLiveResizeEnded()
{
    snapPanelToScreenEdges();
}

void AppDelegate::snapPanelToScreenEdges()
{
    if (!m_panel)
        return;
    const QRectF frame = panelFrame();
    const std::optional<QRectF> target = PanelGeometry::snappedPanelFrame(frame, PanelGeometry::currentScreens());
    if (!target)
        return;
    stopSnapAnimation();
    if (*target == frame) {
        savePanelFrame();
        return;
    }
    if (!m_snapAnimation) {
        // Snapping never changes the size, so only the client area's top-left corner is animated, in the
        // geometry the frame is read from and saved as; pos() would include a window-manager frame. A
        // content resize during the animation keeps its own size.
        m_snapAnimation = new QVariantAnimation(this);
        m_snapAnimation->setDuration(SnapDurationMs);
        // The standard ease-in-ease-out curve.
        m_snapAnimation->setEasingCurve(bezierEasing(QPointF(0.42, 0), QPointF(0.58, 1)));
        connect(m_snapAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &topLeft) { m_panel->setGeometry(QRect(topLeft.toPoint(), m_panel->size())); });
        connect(m_snapAnimation, &QVariantAnimation::finished, this, &AppDelegate::savePanelFrame);
    }
    m_snapAnimation->setStartValue(m_panel->geometry().topLeft());
    m_snapAnimation->setEndValue(PanelGeometry::toPixels(*target).topLeft());
    m_snapAnimation->start();
}

void AppDelegate::makeScreenshotBackdrop()
{
    const QScreen *main = QGuiApplication::primaryScreen();
    if (!main)
        return;
    m_backdrop = std::make_unique<ScreenshotBackdrop>(main->geometry());
    m_backdrop->orderFront();
}

QRectF AppDelegate::panelFrame() const
{
    return QRectF(m_panel->geometry());
}

void AppDelegate::setPanelFrame(const QRectF &frame)
{
    m_panel->setGeometry(PanelGeometry::toPixels(frame));
}

void AppDelegate::stopSnapAnimation()
{
    // A stopped animation does not finish, so it saves nothing; the drag or resize that stopped it saves.
    if (m_snapAnimation)
        m_snapAnimation->stop();
}

void AppDelegate::bringPanelOntoScreen()
{
    if (!m_panel)
        return;
    const QList<PanelGeometry::Screen> screens = PanelGeometry::currentScreens();
    const QRectF frame = panelFrame();
    if (!screens.isEmpty() && PanelGeometry::isOffEveryScreen(frame, screens)) {
        stopSnapAnimation();
        setPanelFrame(PanelGeometry::onScreenPanelFrame(frame, screens));
    }
}

void AppDelegate::registerServicesProvider(const LaunchOptions &options)
{
    if (m_servicesRegistered)
        return;
    m_servicesRegistered = true;
    const PanelAddress address = PanelAddress::forMode(options.uiTesting);
    if (!address.isValid())
        return;
    // The panel works without it; only sending text from outside is unavailable.
    QString error;
    const IntakeModule::EntryPoints *intake = IntakeModule::load(&error);
    if (intake) {
        intake->startServer(address.socket,
            { [this](const QString &text) { return sendToMirel(text); }, [this] { bringPanelToFront(); },
                [this](uint32_t userTime) { startNewGoalWithKeyboard(userTime); } },
            this, &error);
    }
    if (!error.isEmpty())
        qCWarning(lcMirel, "cannot listen on %s: %s", qPrintable(address.socket), qPrintable(error));
}

IntakeModule::TextIntake AppDelegate::sendToMirel(const QString &text)
{
    const qsizetype before = m_todoStore->todos().size();
    m_history->perform(std::make_unique<AddGoals>(m_todoStore, text, AddGoals::Split::OneGoalPerLine));
    return { m_todoStore->todos().size() - before, m_todoStore->saveFailure() };
}

void AppDelegate::bringPanelToFront()
{
    if (m_panel)
        m_panel->bringToFront();
}

void AppDelegate::startNewGoalWithKeyboard(uint32_t userTime)
{
    if (!m_panel)
        return;
    m_panel->bringToFront();
    emit newGoalRequested();
    m_panel->takeKeyboard(userTime);
}

void AppDelegate::connectPanel(KeyablePanel *panel, ContentView *content)
{
    connect(panel, &KeyablePanel::liveResizeStarted, this, &AppDelegate::stopSnapAnimation);
    connect(panel, &KeyablePanel::liveResizeEnded, this, &AppDelegate::panelLiveResizeEnded);
    connect(panel, &KeyablePanel::translucencyChanged, content, &ContentView::setTranslucent);
    connect(content, &ContentView::backgroundShapeChanged, panel, &KeyablePanel::setContentShape);
    // Closing the one panel is quitting; it asks first only while goals are not on disk.
    const auto quit = [this, content] { m_quitGuard->requestQuit(content); };
    connect(panel, &KeyablePanel::closeRequested, this, quit, Qt::QueuedConnection);
    connect(this, &AppDelegate::newGoalRequested, content, &ContentView::beginAdding);

    m_actions = new PanelActions(content);
    // One menu for the panel's life: the accessibility layer keeps one object per action, bound to the first
    // menu that showed it, so a menu made afresh on each opening would be read from a deleted one.
    m_menu = new PanelMenu(*m_actions, content);
    connect(m_actions->undo(), &QAction::triggered, content, &ContentView::undo);
    connect(m_actions->redo(), &QAction::triggered, content, &ContentView::redo);
    connect(m_actions->newGoal(), &QAction::triggered, content, &ContentView::beginAdding);
    connect(m_actions->rename(), &QAction::triggered, content, &ContentView::beginRename);
    connect(m_actions->removeDoneGoals(), &QAction::triggered, content, &ContentView::removeDoneGoals);
    connect(m_actions->clearDoneGoalsEachDay(), &QAction::triggered, this, [this](bool on) {
        if (m_dailyClearing)
            m_dailyClearing->setEnabled(on);
    });
    // The checkmark shown is not trusted: the next menu reads the login entry afresh.
    connect(m_actions->openAtLogin(), &QAction::triggered, this,
        [](bool on) { OpenAtLogin::forThisProgram().setOpenAtLogin(on); });
    connect(m_actions->quit(), &QAction::triggered, this, quit);
    UndoHistory *history = content->history();
    connect(history, &UndoHistory::changed, m_actions,
        [this, history] { m_actions->showHistory(history->undoText(), history->redoText()); });

    connect(content, &ContentView::contextMenuRequested, this,
        [this, content](
            const QPoint &globalPosition, const QString &title) { showPanelMenu(content, globalPosition, title); });
}

void AppDelegate::showPanelMenu(ContentView *content, const QPoint &globalPosition, const QString &title)
{
    // Brought up to date on each opening: the title may have been renamed, the login entry changed by another
    // program.
    m_actions->showTitle(title);
    m_actions->openAtLogin()->setChecked(OpenAtLogin::forThisProgram().openAtLoginEnabled());
    m_actions->removeDoneGoals()->setEnabled(content->hasDoneGoals());
    m_actions->clearDoneGoalsEachDay()->setEnabled(m_dailyClearing != nullptr);
    m_actions->clearDoneGoalsEachDay()->setChecked(m_dailyClearing && m_dailyClearing->isEnabled());
    m_menu->popup(globalPosition);
}

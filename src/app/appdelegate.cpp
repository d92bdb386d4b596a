// SPDX-License-Identifier: GPL-3.0-or-later

#include "appdelegate.h"

#include "logging.h"

#include "app/intake/intakemodule.h"
#include "app/intake/singleinstance.h"
#include "app/panel/keyablepanel.h"
#include "app/panel/panelplacement.h"
#include "app/panel/screenshotbackdrop.h"
#include "app/sync/calendarsynclink.h"
#include "app/x11/x11platform.h"
#include "day/dailyclearing.h"
#include "day/reminders.h"
#include "day/repeatinggoals.h"
#include "day/shownmoments.h"
#include "model/addgoals.h"
#include "model/panelsettings.h"
#include "model/todostore.h"
#include "model/undohistory.h"
#include "newgoalshortcutlink.h"
#include "openatlogin.h"
#include "quitguard.h"
#include "remindernotices.h"
#include "views/header/panelheader.h"
#include "views/header/paneltitle.h"
#include "views/panel/contentview.h"
#include "views/panel/panelactions.h"
#include "views/panel/panelmenu.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <utility>

namespace
{

constexpr int ServicesFallbackDelayMs = 2000;

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
    , m_newGoalShortcut(new NewGoalShortcutLink(this))
{
    connect(m_newGoalShortcut, &NewGoalShortcutLink::pressed, this, &AppDelegate::startNewGoalFromShortcut);
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
    m_settings = std::make_unique<PanelSettings>(m_defaults);
    m_history = new UndoHistory(this);
    // Before the panel is built, so that its first frame shows the new day's list.
    m_dailyClearing = new DailyClearing(m_settings.get(), m_todoStore, m_history, this);
    m_repeatingGoals = new RepeatingGoals(m_todoStore, m_history, this);
    m_reminders = new Reminders(m_todoStore, m_settings.get(), this);
    m_shownMoments = new ShownMoments(m_todoStore, this);
    m_quitGuard = new QuitGuard(m_todoStore, this);
    m_calendarSync = new CalendarSyncLink(m_defaults, m_todoStore, this);
    showPanel(options);
    // Not before the first frame, which it would only delay. A panel the window manager never shows still
    // becomes reachable after a while.
    const auto reachable = [this, options] {
        registerServicesProvider(options);
        m_newGoalShortcut->take(m_settings.get());
        // After the day start has opened the day's goals again, so that a repeating goal's ring of the morning
        // counts; the notifications' module is not needed for the first frame.
        m_reminders->start();
    };
    connect(m_panel.get(), &KeyablePanel::firstFrameShown, this, reachable);
    QTimer::singleShot(ServicesFallbackDelayMs, this, reachable);
}

void AppDelegate::showPanel(const LaunchOptions &options)
{
    if (options.screenshotBackdrop)
        makeScreenshotBackdrop();

    const bool translucent = !X11Platform::isActive() || X11Platform::hasCompositor();
    m_panel = std::make_unique<KeyablePanel>(translucent);
    m_placement = new PanelPlacement(m_panel.get(), m_settings.get(), this);
    m_placement->placeAtStart(options.screenshotBackdrop);
    if (m_backdrop) {
        m_panel->winId();
        m_backdrop->keepBeneath(m_panel->windowHandle());
    }
    // Mapped before the content is built: the window manager takes the window on while the fonts load, and
    // the first frame, content and all, is painted once the event loop runs.
    m_panel->orderFront();
    // The content connects these with itself as the context, and it lives inside the panel the delegate owns.
    auto *content = new ContentView(
        m_todoStore, m_history, m_settings.get(), [this](QPointF pointer) { m_placement->followDrag(pointer); },
        [this] { m_placement->endDrag(); }, [this](QSizeF size) { m_placement->resizeToContent(size); });
    content->setTranslucent(translucent);
    content->setDay(m_repeatingGoals->today());
    connect(m_repeatingGoals, &RepeatingGoals::dayBegan, content, &ContentView::setDay);
    connectPanel(m_panel.get(), content);
    m_panel->setContentView(content);
}

void AppDelegate::makeScreenshotBackdrop()
{
    const QScreen *main = QGuiApplication::primaryScreen();
    if (!main)
        return;
    m_backdrop = std::make_unique<ScreenshotBackdrop>(main->geometry());
    m_backdrop->orderFront();
}

void AppDelegate::registerServicesProvider(const LaunchOptions &options)
{
    if (m_servicesRegistered)
        return;
    m_servicesRegistered = true;
    // After the first frame too: the sync module and what it loads are for a connected person only.
    m_calendarSync->takeUpConnection();
    const PanelAddress address = PanelAddress::forMode(options.uiTesting);
    if (!address.isValid())
        return;
    IntakeServer::Callbacks callbacks {
        .onText = [this](const QString &text, const QDateTime &remindAt) { return sendToMirel(text, remindAt); },
        .onBringToFront = [this] { bringPanelToFront(); },
        .onNewGoal = [this](uint32_t userTime) { startNewGoalWithKeyboard(userTime); },
        .onCalendarChanged = [this](const QString &password) { m_calendarSync->takeUpConnection(password); },
    };
    auto *intake = new IntakeServer(std::move(callbacks), this);
    // The panel works without it; only sending text from outside is unavailable.
    if (!intake->listen(address.socket)) {
        qCWarning(lcMirel, "cannot listen on %s: %s", qPrintable(address.socket), qPrintable(intake->errorString()));
        delete intake;
    }
}

IntakeServer::TextIntake AppDelegate::sendToMirel(const QString &text, const QDateTime &remindAt)
{
    // All or nothing: a sender told that one line was refused knows the rest is not in the panel either.
    if (!eachLineFitsInAGoal(text))
        return {
            .refusal
            = tr("a line is longer than the %L1 characters a goal can hold; nothing was added").arg(MaxGoalTextLength)
        };
    const qsizetype before = m_todoStore->todos().size();
    m_history->perform(std::make_unique<AddGoals>(m_todoStore, text, AddGoals::Split::OneGoalPerLine,
        remindAt.isValid() ? GoalReminder(remindAt) : GoalReminder()));
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

void AppDelegate::startNewGoalFromShortcut(quint32 userTime)
{
    if (!m_panel)
        return;
    m_newGoalShortcut->rememberKeyboardOwner(quint32(m_panel->winId()));
    startNewGoalWithKeyboard(userTime);
}

void AppDelegate::connectPanel(KeyablePanel *panel, ContentView *content)
{
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
    connect(m_actions->newGoalShortcut(), &QAction::triggered, this, [this, content] {
        // Out of the menu's own event handling first, which the dialog's event loop would run inside.
        QTimer::singleShot(0, this, [this, content] { m_newGoalShortcut->choose(m_settings.get(), content); });
    });
    connect(content, &ContentView::addingEnded, m_newGoalShortcut, &NewGoalShortcutLink::giveKeyboardBack);
    connect(m_newGoalShortcut, &NewGoalShortcutLink::stateChanged, m_actions, &PanelActions::showNewGoalShortcut);
    UndoHistory *history = content->history();
    connect(history, &UndoHistory::changed, m_actions, [this, content] { showHistory(content); });
    // The day's clearing at start is a step before there is a panel to show it.
    showHistory(content);

    connectCalendarSync(content);
    connectReminders(content);
    connect(content, &ContentView::contextMenuRequested, this,
        [this, content](
            const QPoint &globalPosition, const QString &title) { showPanelMenu(content, globalPosition, title); });
}

void AppDelegate::connectCalendarSync(ContentView *content)
{
    connect(m_actions->syncWithCalendar(), &QAction::triggered, m_calendarSync,
        [this, content] { m_calendarSync->openConnectDialog(content->window(), content->header()->shownTitle()); });
    connect(m_actions->syncNow(), &QAction::triggered, m_calendarSync, &CalendarSyncLink::syncNow);
    connect(m_actions->stopSyncing(), &QAction::triggered, m_calendarSync, &CalendarSyncLink::stopSyncing);
    connect(m_calendarSync, &CalendarSyncLink::connectedChanged, m_actions, &PanelActions::showSyncing);
    connect(m_calendarSync, &CalendarSyncLink::syncStateChanged, content->header(), &PanelHeader::setSyncState);
    connect(content, &ContentView::noticed, m_calendarSync, &CalendarSyncLink::panelNoticed);
}

void AppDelegate::connectReminders(ContentView *content)
{
    m_reminderNotices = new ReminderNotices(
        m_todoStore, m_history, [this] { return PanelTitle(m_settings.get()).text(); }, this);
    connect(m_reminders, &Reminders::rang, m_reminderNotices, &ReminderNotices::showRung);
    connect(m_reminders, &Reminders::rang, content, &ContentView::showMomentsAsOfNow);
    connect(m_shownMoments, &ShownMoments::changed, content, &ContentView::showMomentsAsOfNow);
    connect(m_reminders, &Reminders::missed, m_reminderNotices, &ReminderNotices::showMissed);
}

void AppDelegate::showHistory(ContentView *content)
{
    m_actions->showHistory(content->history()->undoText(), content->history()->redoText());
}

void AppDelegate::showPanelMenu(ContentView *content, const QPoint &globalPosition, const QString &title)
{
    // Brought up to date on each opening: the title may have been renamed, the login entry changed by another
    // program.
    m_actions->showTitle(title);
    // The steps name their goals as they read now, also after another program renamed one.
    showHistory(content);
    m_actions->openAtLogin()->setChecked(OpenAtLogin::forThisProgram().openAtLoginEnabled());
    m_actions->removeDoneGoals()->setEnabled(content->hasDoneGoals());
    m_actions->clearDoneGoalsEachDay()->setEnabled(m_dailyClearing != nullptr);
    m_actions->clearDoneGoalsEachDay()->setChecked(m_dailyClearing && m_dailyClearing->isEnabled());
    m_newGoalShortcut->showState();
    m_menu->popup(globalPosition);
}

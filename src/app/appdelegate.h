// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/intake/intakeserver.h"
#include "start/launchoptions.h"

#include <QObject>

#include <memory>

class CalendarSyncLink;
class ContentView;
class DailyClearing;
class KeyablePanel;
class NewGoalShortcutLink;
class PanelActions;
class PanelMenu;
class PanelPlacement;
class PanelSettings;
class QSettings;
class QuitGuard;
class ReminderNotices;
class Reminders;
class ShownMoments;
class RepeatingGoals;
class ScreenshotBackdrop;
class TodoStore;
class UndoHistory;

// Owns the long-lived objects of one run and performs the launch sequence once.
class AppDelegate final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppDelegate)

public:
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching(const LaunchOptions &options);

    TodoStore *todoStore() const { return m_todoStore; }
    UndoHistory *history() const { return m_history; }
    // The preferences domain: the application's own settings, or the emptied UI-testing suite.
    QSettings *defaults() const { return m_defaults; }
    KeyablePanel *panel() const { return m_panel.get(); }

    // Every connection between the panel, its content and the panel's actions, made once: the content takes
    // its state through its slots, the actions' keys work on the panel, and the menu of the actions opens on
    // a secondary click anywhere on the content.
    void connectPanel(KeyablePanel *panel, ContentView *content);
    PanelActions *actions() const { return m_actions; }

signals:
    // A new goal asked for from outside the panel.
    void newGoalRequested();

private:
    void showPanel(const LaunchOptions &options);
    void makeScreenshotBackdrop();
    void showHistory(ContentView *content);
    void showPanelMenu(ContentView *content, const QPoint &globalPosition, const QString &title);
    // Makes the panel reachable by `mirel --send` and by a second start, the way this desktop offers.
    void registerServicesProvider(const LaunchOptions &options);
    IntakeServer::TextIntake sendToMirel(const QString &text, const QDateTime &remindAt);
    void bringPanelToFront();
    void startNewGoalWithKeyboard(uint32_t userTime);
    void connectCalendarSync(ContentView *content);
    void connectReminders(ContentView *content);
    void startNewGoalFromShortcut(quint32 userTime);

    TodoStore *m_todoStore = nullptr;
    UndoHistory *m_history = nullptr;
    QuitGuard *m_quitGuard = nullptr;
    QSettings *m_defaults = nullptr;
    std::unique_ptr<PanelSettings> m_settings;
    DailyClearing *m_dailyClearing = nullptr;
    CalendarSyncLink *m_calendarSync = nullptr;
    RepeatingGoals *m_repeatingGoals = nullptr;
    Reminders *m_reminders = nullptr;
    ShownMoments *m_shownMoments = nullptr;
    ReminderNotices *m_reminderNotices = nullptr;
    PanelActions *m_actions = nullptr;
    PanelMenu *m_menu = nullptr;
    bool m_servicesRegistered = false;
    NewGoalShortcutLink *m_newGoalShortcut = nullptr;
    // Top-level windows have no QObject parent; the delegate owns them for the whole run. The panel comes after
    // the members its content reaches, so it goes before them.
    std::unique_ptr<ScreenshotBackdrop> m_backdrop;
    std::unique_ptr<KeyablePanel> m_panel;
    PanelPlacement *m_placement = nullptr;
};

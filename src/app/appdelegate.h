#pragma once

#include "app/intake/intakemodule.h"
#include "app/panel/panelgeometry.h"
#include "launchoptions.h"

#include <QObject>
#include <QPointF>
#include <QRectF>

#include <memory>
#include <optional>

class ContentView;
class DailyClearing;
class KeyablePanel;
class PanelActions;
class PanelMenu;
class PanelSettings;
class QVariantAnimation;
class QSettings;
class QuitGuard;
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

    // The panel's placement, in Qt's screen coordinates like every frame here; only the preferences keep
    // another convention, which PanelGeometry turns into these as it reads them.
    std::optional<QRectF> savedPanelFrame() const;
    void savePanelFrame();
    // The header is dragged and the pointer is at `globalPosition`, in Qt's screen coordinates.
    void panelDragChanged(QPointF globalPosition);
    void panelDragEnded();
    // Sizes the panel to what the content wants on the next turn of the event loop, never inside the
    // content's own layout pass; the left and top edges stay.
    void resizePanel(QSizeF size);
    void panelLiveResizeEnded();
    void snapPanelToScreenEdges();

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
    QRectF panelFrame() const;
    void setPanelFrame(const QRectF &frame);
    void stopSnapAnimation();
    void bringPanelOntoScreen();
    // Brings the panel back whenever a change of the screens leaves it off all of them.
    void watchScreens();
    void showPanelMenu(ContentView *content, const QPoint &globalPosition, const QString &title);
    // Makes the panel reachable by `mirel --send` and by a second start, the way this desktop offers.
    void registerServicesProvider(const LaunchOptions &options);
    IntakeModule::TextIntake sendToMirel(const QString &text);
    void bringPanelToFront();
    void startNewGoalWithKeyboard(uint32_t userTime);

    TodoStore *m_todoStore = nullptr;
    UndoHistory *m_history = nullptr;
    QuitGuard *m_quitGuard = nullptr;
    QSettings *m_defaults = nullptr;
    std::unique_ptr<PanelSettings> m_settings;
    DailyClearing *m_dailyClearing = nullptr;
    PanelActions *m_actions = nullptr;
    PanelMenu *m_menu = nullptr;
    bool m_servicesRegistered = false;
    bool m_snapOnFirstSizing = false;
    // Top-level windows have no QObject parent; the delegate owns them for the whole run.
    std::unique_ptr<ScreenshotBackdrop> m_backdrop;
    std::unique_ptr<KeyablePanel> m_panel;
    std::optional<PanelGeometry::DragStart> m_dragStart;
    // Where the panel was placed, whose left and top edges content resizes keep, and where the last of them
    // put it, in Qt's pixels.
    QRectF m_placedFrame;
    QRect m_contentSizedGeometry;
    // Made on the first snap that moves the panel.
    QVariantAnimation *m_snapAnimation = nullptr;
};

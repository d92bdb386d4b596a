#pragma once

#include "launchoptions.h"

#include <QObject>
#include <QPointF>

#include <memory>
#include <optional>

class ContentView;
class IntakeServer;
class QSettings;
class TodoStore;

// Owns the long-lived objects of one run and performs the launch sequence once.
class AppDelegate final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppDelegate)

public:
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching(const LaunchOptions &options);

    TodoStore *todoStore() const { return m_todoStore; }
    // The preferences domain: the application's own settings, or the emptied UI-testing suite.
    QSettings *defaults() const { return m_defaults; }
    ContentView *contentView() const { return m_contentView.get(); }

    // Opens the panel menu on a secondary click anywhere on the content, and quits on Ctrl+Q in its window.
    void connectPanelMenu(ContentView *content);

private:
    void showPanelMenu(ContentView *content, const QPoint &globalPosition);
    // Makes the panel reachable by `mirel --send` and by a second start, the way this desktop offers.
    void registerServicesProvider(const LaunchOptions &options);
    qsizetype sendToMirel(const QString &text);
    void bringPanelToFront();

    TodoStore *m_todoStore = nullptr;
    QSettings *m_defaults = nullptr;
    IntakeServer *m_intakeServer = nullptr;
    // Shown in a plain window of its own until the floating panel hosts it; destroyed before the store it shows.
    std::unique_ptr<ContentView> m_contentView;
};

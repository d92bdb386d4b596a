#pragma once

#include "launchoptions.h"

#include <QObject>
#include <QPointF>

#include <optional>

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

private:
    TodoStore *m_todoStore = nullptr;
    QSettings *m_defaults = nullptr;
};

#include "appdelegate.h"

#include "model/todostore.h"

#include <QSettings>

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
}

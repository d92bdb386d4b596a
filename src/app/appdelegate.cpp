#include "appdelegate.h"

#include "model/todostore.h"
#include "views/contentview.h"

#include <QSettings>

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
}

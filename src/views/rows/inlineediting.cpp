#include "inlineediting.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

namespace {

// Long enough for the field to be laid out and for the click that opened it to finish.
constexpr int FocusDelay = 100;
constexpr int LineEditTextMargin = 2;

} // namespace

InlineEditing::InlineEditing(QLineEdit *field, std::function<void()> onSubmit, std::function<void()> onCommit,
                             std::function<void()> onCancel)
    : QObject(field)
    , m_field(field)
    , m_deferredFocus(new QTimer(this))
    , m_focusWindow(QGuiApplication::focusWindow())
    , m_onSubmit(std::move(onSubmit))
    , m_onCommit(std::move(onCommit))
    , m_onCancel(std::move(onCancel))
{
    field->setFrame(false);
    field->setAutoFillBackground(false);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    field->setPalette(palette);
    // QLineEdit keeps a fixed 2 px between its edge and its text; taking it back puts the typed text exactly
    // where the text the field replaces was drawn.
    field->setTextMargins(-LineEditTextMargin, 0, -LineEditTextMargin, 0);

    m_deferredFocus->setSingleShot(true);
    m_deferredFocus->setInterval(FocusDelay);
    connect(m_deferredFocus, &QTimer::timeout, this, [this] {
        if (m_field->isVisible())
            m_field->setFocus(Qt::OtherFocusReason);
    });

    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &InlineEditing::focusWindowChanged);
    field->installEventFilter(this);
    if (field->isVisible())
        m_deferredFocus->start();
}

bool InlineEditing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field)
        return false;
    // Each callback may end the edit and delete the field, and this object with it; after a callback only
    // the guard may be touched.
    const QPointer<InlineEditing> alive(this);
    switch (event->type()) {
    case QEvent::Show:
        m_deferredFocus->start();
        break;
    case QEvent::Hide:
        m_deferredFocus->stop();
        break;
    case QEvent::ShortcutOverride: {
        // Claims Return and Escape before any application shortcut can take them from the field.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
            event->accept();
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const auto onSubmit = m_onSubmit;
            onSubmit();
            return true;
        }
        if (key == Qt::Key_Escape) {
            const auto onCancel = m_onCancel;
            onCancel();
            return true;
        }
        break;
    }
    case QEvent::FocusOut:
        // The field's own context menu takes focus only for as long as it is open; the edit goes on.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            const auto onCommit = m_onCommit;
            onCommit();
            if (!alive)
                return true;
        }
        break;
    default:
        break;
    }
    return false;
}

void InlineEditing::focusWindowChanged(QWindow *focusWindow)
{
    const bool aWindowLostFocus = !m_focusWindow.isNull();
    m_focusWindow = focusWindow;
    if (aWindowLostFocus && m_field->isVisible()) {
        const auto onCommit = m_onCommit;
        onCommit();
    }
}

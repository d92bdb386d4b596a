// SPDX-License-Identifier: GPL-3.0-or-later

#include "inlineediting.h"

#include "fieldhistorykeys.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

namespace
{

// Long enough for the field to be laid out and for the click that opened it to finish.
constexpr int FocusDelay = 100;
constexpr int LineEditTextMargin = 2;

} // namespace

InlineEditing::InlineEditing(QLineEdit *field)
    : QObject(field)
    , m_field(field)
    , m_deferredFocus(new QTimer(this))
    , m_focusWindow(QGuiApplication::focusWindow())
{
    field->setFrame(false);
    // The panel's own menu is the only context menu; a right click in the field opens it.
    field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setAutoFillBackground(false);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    field->setPalette(palette);
    // QLineEdit keeps a fixed 2 px between its edge and its text; taking it back puts the typed text exactly
    // where the text the field replaces was drawn.
    field->setTextMargins(-LineEditTextMargin, 0, -LineEditTextMargin, 0);
    new FieldHistoryKeys(field);

    m_deferredFocus->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the field must not take focus before its 100 ms are up.
    m_deferredFocus->setTimerType(Qt::PreciseTimer);
    m_deferredFocus->setInterval(FocusDelay);
    connect(m_deferredFocus, &QTimer::timeout, this, &InlineEditing::takeFocus);

    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &InlineEditing::focusWindowChanged);
    field->installEventFilter(this);
    if (field->isVisible())
        waitForFocus();
}

void InlineEditing::waitForFocus()
{
    m_deferredFocus->start();
    // A key typed right after the click that opened the field, before the field has the focus, would reach
    // whatever holds it meanwhile and be lost; while the focus is on its way such keys are the field's.
    qApp->installEventFilter(this);
}

void InlineEditing::stopWaitingForFocus()
{
    m_deferredFocus->stop();
    qApp->removeEventFilter(this);
}

void InlineEditing::takeFocus()
{
    stopWaitingForFocus();
    if (m_field->isVisible())
        m_field->setFocus(Qt::OtherFocusReason);
}

bool InlineEditing::takesEarlyKey(QObject *receiver, QEvent *event)
{
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    auto *widget = qobject_cast<QWidget *>(receiver);
    if (!isKey || !widget || widget == m_field || isFieldBeingDestroyed() || widget->window() != m_field->window())
        return false;
    takeFocus();
    QCoreApplication::sendEvent(m_field, event);
    return true;
}

bool InlineEditing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field)
        return m_deferredFocus->isActive() && takesEarlyKey(watched, event);
    if (isFieldBeingDestroyed())
        return false;
    // Each receiver may end the edit and delete the field, and this object with it; after a signal only the
    // guard may be touched.
    const QPointer<InlineEditing> alive(this);
    switch (event->type()) {
    case QEvent::Show:
        waitForFocus();
        break;
    case QEvent::Hide:
        stopWaitingForFocus();
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
            emit submitRequested();
            return true;
        }
        if (key == Qt::Key_Escape) {
            emit cancelRequested();
            return true;
        }
        break;
    }
    case QEvent::FocusOut:
        // The field's own context menu takes focus only for as long as it is open; the edit goes on.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            emit commitRequested();
            if (!alive)
                return true;
        }
        break;
    default:
        break;
    }
    return false;
}

bool InlineEditing::isFieldBeingDestroyed() const
{
    // A focused field gives up the focus in ~QWidget, after its own and its owner's parts are gone; a signal
    // received then would reach destroyed objects. By then the field no longer is a QLineEdit to the meta-object
    // system, which is what gives it away. Asked through the parent, a QObject: a QLineEdit pointer to what is no
    // longer one must not be used.
    return !parent()->metaObject()->inherits(&QLineEdit::staticMetaObject);
}

void InlineEditing::focusWindowChanged(QWindow *focusWindow)
{
    const bool aWindowLostFocus = !m_focusWindow.isNull();
    m_focusWindow = focusWindow;
    if (aWindowLostFocus && !isFieldBeingDestroyed() && m_field->isVisible())
        emit commitRequested();
}

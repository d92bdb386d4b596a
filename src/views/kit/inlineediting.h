// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QLineEdit;
class QTimer;
class QWindow;

// Turns a QLineEdit into an in-place editor: plain look, keyboard focus 100 ms after it is shown (sooner when a
// key is typed meanwhile),
// Return → onSubmit, Escape → onCancel, focus loss or any application window losing focus → onCommit.
// Callbacks may arrive in combination for one edit; the attaching view ignores commits after the edit ended.
class InlineEditing final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InlineEditing)

public:
    // Owned by the field; goes away with it, which also cancels a pending deferred focus.
    InlineEditing(QLineEdit *field, std::function<void()> onSubmit, std::function<void()> onCommit,
        std::function<void()> onCancel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void waitForFocus();
    void stopWaitingForFocus();
    void takeFocus();
    // Hands a key meant for another widget of the field's window to the field, which then takes the focus.
    bool takesEarlyKey(QObject *receiver, QEvent *event);
    void focusWindowChanged(QWindow *focusWindow);
    bool isFieldBeingDestroyed() const;

    QLineEdit *m_field = nullptr;
    QTimer *m_deferredFocus = nullptr;
    // The window that had focus before the latest change, to tell a window losing focus from one gaining it.
    QPointer<QWindow> m_focusWindow;
    std::function<void()> m_onSubmit;
    std::function<void()> m_onCommit;
    std::function<void()> m_onCancel;
};

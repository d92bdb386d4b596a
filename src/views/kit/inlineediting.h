// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>

class QLineEdit;
class QTimer;
class QWindow;

// Turns a QLineEdit into an in-place editor: plain look, keyboard focus 100 ms after it is shown (sooner when a
// key is typed meanwhile). It tells how the person would end the edit: Return submits, Escape cancels, the focus
// leaving or any application window losing focus commits. Several can arrive for one edit; the attaching view
// ignores those after the edit ended.
class InlineEditing final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InlineEditing)

public:
    // Owned by the field; goes away with it, which also cancels a pending deferred focus.
    explicit InlineEditing(QLineEdit *field);

signals:
    // A receiver may end the edit by deleting the field, and this with it.
    void submitRequested();
    void commitRequested();
    void cancelRequested();

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
};

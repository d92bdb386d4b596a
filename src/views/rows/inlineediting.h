#pragma once

#include <QObject>

#include <functional>

class QLineEdit;

// Turns a QLineEdit into an in-place editor: plain look, keyboard focus 100 ms after it is shown,
// Return → onSubmit, Escape → onCancel, focus loss or any application window losing focus → onCommit.
// Callbacks may arrive in combination for one edit; the attaching view ignores commits after the edit ended.
class InlineEditing final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InlineEditing)

public:
    // Owned by the field; goes away with it, which also cancels a pending deferred focus.
    InlineEditing(QLineEdit *field, std::function<void()> onSubmit, std::function<void()> onCommit,
                  std::function<void()> onCancel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_field = nullptr;
    std::function<void()> m_onSubmit;
    std::function<void()> m_onCommit;
    std::function<void()> m_onCancel;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QLineEdit;

// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y belong to a text field only while it holds typing of its own; otherwise
// they reach the window and undo or redo the list. A field that hands its text on clears its own history
// (QLineEdit::setText does), so text already taken can never be brought back into it.
class FieldHistoryKeys final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FieldHistoryKeys)

public:
    // Owned by the field.
    explicit FieldHistoryKeys(QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_field = nullptr;
};

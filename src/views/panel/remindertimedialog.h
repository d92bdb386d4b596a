// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QDialog>

class QDateEdit;
class QLabel;
class QTimeEdit;

// "At a Time…": a date and a time in the person's locale for a goal's reminder. A moment already past is
// refused with the reason beside the fields, and the dialog stays open to choose again.
class ReminderTimeDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderTimeDialog)

public:
    // Opens at the goal's reminder, or at the next full hour when it has none or it has passed.
    explicit ReminderTimeDialog(const QDateTime &current, QWidget *parent = nullptr);

    void accept() override;

signals:
    void chosen(const QDateTime &moment);

private:
    QDateEdit *m_date = nullptr;
    QTimeEdit *m_time = nullptr;
    QLabel *m_reason = nullptr;
};

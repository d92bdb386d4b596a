// SPDX-License-Identifier: GPL-3.0-or-later

#include "remindertimedialog.h"

#include "model/reminderchoices.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace
{

QDateTime nextFullHour(const QDateTime &now)
{
    const QDateTime local = now.toLocalTime();
    return QDateTime(local.date(), QTime(local.time().hour(), 0)).addSecs(3600);
}

} // namespace

ReminderTimeDialog::ReminderTimeDialog(const QDateTime &current, QWidget *parent)
    : QDialog(parent)
    , m_date(new QDateEdit(this))
    , m_time(new QTimeEdit(this))
    , m_reason(new QLabel(this))
{
    setWindowTitle(tr("Remind Me"));
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime shown = current.isValid() && current > now ? current.toLocalTime() : nextFullHour(now);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(locale().dateFormat(QLocale::ShortFormat));
    m_date->setDate(shown.date());
    m_time->setDisplayFormat(locale().timeFormat(QLocale::ShortFormat));
    m_time->setTime(shown.time());
    m_reason->setWordWrap(true);
    m_reason->hide();
    auto *fields = new QFormLayout;
    fields->addRow(tr("Date"), m_date);
    fields->addRow(tr("Time"), m_time);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Remind Me"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ReminderTimeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReminderTimeDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_reason);
    layout->addWidget(buttons);
}

void ReminderTimeDialog::accept()
{
    const auto moment = ReminderChoices::chosenMoment(m_date->date(), m_time->time(), QDateTime::currentDateTime());
    if (const QString *reason = std::get_if<QString>(&moment)) {
        m_reason->setText(*reason);
        m_reason->show();
        return;
    }
    emit chosen(std::get<QDateTime>(moment));
    QDialog::accept();
}

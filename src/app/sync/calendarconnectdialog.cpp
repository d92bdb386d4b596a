// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarconnectdialog.h"

#include "calendaraccount.h"
#include "calendarconnecting.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include <algorithm>

CalendarConnectDialog::CalendarConnectDialog(QSettings *preferences, const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_preferences(preferences)
    , m_title(title)
    , m_server(new QLineEdit(this))
    , m_user(new QLineEdit(this))
    , m_password(new QLineEdit(this))
    , m_lists(new QComboBox(this))
    , m_problem(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Cancel, this))
    , m_trust(new QPushButton(tr("Trust This Certificate"), this))
    , m_connecting(new CalendarConnecting(preferences, this))
{
    setWindowTitle(tr("Sync with a Calendar Server"));
    m_server->setPlaceholderText(tr("https://cloud.example.org"));
    // Room for a whole address.
    m_server->setMinimumWidth(m_server->fontMetrics().averageCharWidth() * 40);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setToolTip(tr("An app password, where the server offers them"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->hide();
    auto *form = new QFormLayout(this);
    form->addRow(tr("Server:"), m_server);
    form->addRow(tr("User name:"), m_user);
    form->addRow(tr("Password:"), m_password);
    form->addRow(tr("Task list:"), m_lists);
    form->labelForField(m_lists)->hide();
    m_lists->hide();
    m_lists->setPlaceholderText(tr("Choose a task list"));
    form->addRow(m_problem);
    form->addRow(m_trust);
    m_trust->hide();
    connect(m_trust, &QPushButton::clicked, this, [this] {
        m_trustedCertificate = m_offeredCertificate;
        m_trust->hide();
        findLists();
    });
    form->addRow(m_buttons);
    m_connect = m_buttons->addButton(tr("Connect"), QDialogButtonBox::AcceptRole);
    m_connect->setDefault(true);
    if (const std::optional<CalendarAccount> account = CalendarAccount::read(*m_preferences)) {
        m_server->setText(account->server.toString());
        m_user->setText(account->user);
    }
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CalendarConnectDialog::reject);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!m_lists->isVisible())
            findLists();
        else if (m_lists->currentIndex() >= 0)
            connectChosenList();
    });
    // Connect takes a list only once the person chose one.
    connect(m_lists, &QComboBox::currentIndexChanged, this, [this] { setAsking(m_asking); });
    // A changed address or user asks the server again.
    for (QLineEdit *field : { m_server, m_user, m_password }) {
        connect(field, &QLineEdit::textEdited, this, [this, form, field] {
            if (field == m_server)
                m_trustedCertificate.clear();
            m_lists->hide();
            form->labelForField(m_lists)->hide();
            setAsking(m_asking);
        });
    }
    // Selected, so that the right one typed replaces it.
    connect(m_connecting, &CalendarConnecting::credentialsRefused, this, [this] {
        m_password->setFocus(Qt::OtherFocusReason);
        m_password->selectAll();
    });
    connect(m_connecting, &CalendarConnecting::failed, this, &CalendarConnectDialog::offerTrust);
    connect(m_connecting, &CalendarConnecting::listsFound, this, &CalendarConnectDialog::showLists);
    connect(m_connecting, &CalendarConnecting::listNotMade, this,
        [this](const QString &, const QString &reason) { showProblem(reason); });
    // A keyring that keeps nothing (none on this desktop, locked, its prompt cancelled) leaves the password to
    // the running panel until it quits; the panel's header says so and what to do.
    connect(m_connecting, &CalendarConnecting::connected, this,
        [this](const CalendarAccount &, const QString &password, const QString &keyringFailure) {
            setAsking(false);
            emit connected(keyringFailure.isEmpty() ? QString() : password);
            accept();
        });
}

void CalendarConnectDialog::reject()
{
    m_connecting->stop();
    QDialog::reject();
}

void CalendarConnectDialog::setAsking(bool asking)
{
    m_asking = asking;
    m_connect->setEnabled(!asking && (m_lists->isHidden() || m_lists->currentIndex() >= 0));
}

void CalendarConnectDialog::findLists()
{
    // Before asking: an address that is never asked says so at once, in place of this.
    m_problem->setText(tr("Asking the server…"));
    m_problem->show();
    setAsking(true);
    m_connecting->findLists(
        CalendarAccount::serverAddress(m_server->text()), m_user->text(), m_password->text(), m_trustedCertificate);
}

void CalendarConnectDialog::showLists(const QList<CalDavDiscovery::TaskList> &lists)
{
    m_found = lists;
    m_lists->clear();
    for (const CalDavDiscovery::TaskList &list : lists)
        m_lists->addItem(list.displayName);
    // Last, so that a list the person has comes first.
    m_lists->addItem(tr("New list “%1”").arg(m_title));
    // Only a list that is plainly the goals' is taken for the person: the one named like the panel, or the
    // server's only one. Another (their shopping, say) would get every goal at a press of Return.
    const auto named = std::find_if(lists.cbegin(), lists.cend(),
        [this](const CalDavDiscovery::TaskList &list) { return list.displayName == m_title; });
    m_lists->setCurrentIndex(named != lists.cend() ? int(named - lists.cbegin()) : lists.size() == 1 ? 0 : -1);
    m_lists->show();
    static_cast<QFormLayout *>(layout())->labelForField(m_lists)->show();
    m_problem->hide();
    fitHeight();
    setAsking(false);
    m_lists->setFocus();
}

void CalendarConnectDialog::connectChosenList()
{
    setAsking(true);
    if (m_lists->currentIndex() >= m_found.size())
        m_connecting->makeListThenConnect(m_title);
    else
        m_connecting->connectList(m_found.at(m_lists->currentIndex()));
}

void CalendarConnectDialog::offerTrust(const QString &reason, const QString &untrustedCertificate)
{
    showProblem(reason);
    m_offeredCertificate = untrustedCertificate;
    m_trust->setVisible(!untrustedCertificate.isEmpty());
}

void CalendarConnectDialog::showProblem(const QString &problem)
{
    setAsking(false);
    m_problem->setText(problem);
    m_problem->show();
    fitHeight();
}

void CalendarConnectDialog::fitHeight()
{
    // A window neither grows nor shrinks for a label's wrapped lines by itself: a long reason would be cut,
    // and the room of one gone would stay.
    layout()->activate();
    resize(width(), heightForWidth(width()));
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarconnectdialog.h"

#include "calendaraccount.h"
#include "calendarsecret.h"
#include "davhttp.h"
#include "newtasklist.h"
#include "tasklistfinder.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include <algorithm>
#include <memory>

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
}

void CalendarConnectDialog::reject()
{
    delete m_http;
    m_http = nullptr;
    QDialog::reject();
}

void CalendarConnectDialog::setAsking(bool asking)
{
    m_asking = asking;
    m_connect->setEnabled(!asking && (m_lists->isHidden() || m_lists->currentIndex() >= 0));
}

void CalendarConnectDialog::findLists()
{
    const QUrl server = CalendarAccount::serverAddress(m_server->text());
    if (const std::optional<QString> refusal = DavHttp::refusal(server)) {
        showProblem(*refusal);
        return;
    }
    delete m_http;
    m_http = new DavHttp(m_user->text(), m_password->text(), {}, this);
    if (!m_trustedCertificate.isEmpty())
        m_http->setPinnedCertificate(m_trustedCertificate);
    auto *finder = new TaskListFinder(m_http, m_http);
    // Selected, so that the right one typed replaces it.
    connect(finder, &TaskListFinder::credentialsRefused, this, [this] {
        m_password->setFocus(Qt::OtherFocusReason);
        m_password->selectAll();
    });
    connect(finder, &TaskListFinder::failed, this, &CalendarConnectDialog::offerTrust);
    connect(
        finder, &TaskListFinder::found, this, [this](const QUrl &home, const QList<CalDavDiscovery::TaskList> &lists) {
            m_home = home;
            showLists(lists);
        });
    m_problem->setText(tr("Asking the server…"));
    m_problem->show();
    setAsking(true);
    finder->find(server);
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
    if (m_lists->currentIndex() >= m_found.size())
        makeListThenConnect();
    else
        keepConnection(m_found.at(m_lists->currentIndex()));
}

void CalendarConnectDialog::makeListThenConnect()
{
    const DavRequest request = NewTaskList::request(m_home, m_title);
    const quint64 sent = m_http->send(request);
    setAsking(true);
    // Once per try: a second try must not find the first one's handler still listening.
    auto answered = std::make_shared<QMetaObject::Connection>();
    *answered
        = connect(m_http, &DavHttp::finished, this, [this, sent, request, answered](quint64 id, const DavReply &reply) {
              if (id != sent)
                  return;
              disconnect(*answered);
              if (const std::optional<QString> refusal = NewTaskList::refusal(reply))
                  showProblem(*refusal);
              else
                  keepConnection({ request.url, m_title });
          });
}

void CalendarConnectDialog::keepConnection(const CalDavDiscovery::TaskList &list)
{
    const CalendarAccount account { CalendarAccount::serverAddress(m_server->text()), list.url, list.displayName,
        m_user->text(), m_trustedCertificate };
    const QString password = m_password->text();
    setAsking(true);
    // A keyring that keeps nothing (none on this desktop, locked, its prompt cancelled) leaves the password to
    // the running panel until it quits; the panel's header says so and what to do.
    CalendarSecret::write(
        account.secretKey(), password, m_http, [this, account, password](const CalendarSecret::Outcome &outcome) {
            setAsking(false);
            account.write(*m_preferences);
            emit connected(outcome.failure.isEmpty() ? QString() : password);
            accept();
        });
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

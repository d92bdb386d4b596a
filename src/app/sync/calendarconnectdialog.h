// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sync/caldavdiscovery.h"

#include <QDialog>

#include <functional>

class CalendarConnecting;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;

// Server address, user name and password, then the person's task lists to pick one from. Connecting keeps the
// password in the keyring and the rest in the preferences. Cancel works at every step and stops what is asked.
class CalendarConnectDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarConnectDialog)

public:
    // `title`, the panel's, names a list made for the goals.
    CalendarConnectDialog(QSettings *preferences, const QString &title, QWidget *parent = nullptr);

    void reject() override;

signals:
    // With the password for this run where the keyring did not keep it, else empty.
    void connected(const QString &passwordForThisRun);

private:
    void setAsking(bool asking);
    void findLists();
    void showLists(const QList<CalDavDiscovery::TaskList> &lists);
    void connectChosenList();
    void showProblem(const QString &problem);
    void fitHeight();
    void offerTrust(const QString &reason, const QString &untrustedCertificate);

    QSettings *m_preferences = nullptr;
    QString m_title;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_lists = nullptr;
    QLabel *m_problem = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_connect = nullptr;
    QPushButton *m_trust = nullptr;
    // The certificate the person trusted for this server, the system not.
    QString m_trustedCertificate;
    QString m_offeredCertificate;
    CalendarConnecting *m_connecting = nullptr;
    bool m_asking = false;
    QList<CalDavDiscovery::TaskList> m_found;
};

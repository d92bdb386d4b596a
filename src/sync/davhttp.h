// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <utility>

class QNetworkAccessManager;
class QNetworkReply;
class QSslCertificate;
class QSslError;

struct DavRequest {
    QByteArray method;
    QUrl url;
    QByteArray body;
    // Depth, If-Match, If-None-Match, Content-Type and the like.
    QList<std::pair<QByteArray, QByteArray>> headers;
};

struct DavReply {
    // The HTTP status, or 0 when no answer came (then `error` says why).
    int status = 0;
    QByteArray body;
    QByteArray etag;
    QString error;
    // The fingerprint of the server's certificate where the failure is that this computer does not trust it
    // (nor is it the one pinned), so that the person can be asked whether to trust that one; else empty.
    QString untrustedCertificate = {};
};

// HTTP for the calendar sync, on guard against the server: only HTTPS, or plain HTTP to this computer; redirects
// followed with the same method and body, only within the origin asked; answers capped in size and in time;
// certificates the system trusts, or the one the person pinned. The person's credentials go with every request,
// so a server cannot ask for them anywhere else.
class DavHttp final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DavHttp)

public:
    struct Limits {
        qint64 maxAnswerBytes = 32 * 1024 * 1024;
        // The answer in full, however slowly the server drips it.
        std::chrono::milliseconds maxTime = std::chrono::seconds(60);
    };

    DavHttp(const QString &user, const QString &password, Limits limits, QObject *parent = nullptr);

    // Why a request to that address is not made, or nothing when it may be.
    static std::optional<QString> refusal(const QUrl &url);

    // SHA256: then the digest's bytes as upper-case hex pairs between colons, the form every fingerprint here has.
    static QString fingerprintOf(const QSslCertificate &certificate);

    // A certificate the system does not trust is then taken when it has this fingerprint, and only that one.
    // Empty: only the certificates the system trusts.
    void setPinnedCertificate(const QString &fingerprint);

    // The reply comes through finished() with the id given here, also for a refused request.
    quint64 send(const DavRequest &request);

signals:
    void finished(quint64 id, const DavReply &reply);

private:
    struct Pending {
        quint64 id = 0;
        DavRequest request;
        int redirects = 0;
        QByteArray body;
        QString error;
        QString untrustedCertificate;
    };

    void start(const Pending &pending);
    void checkCertificate(QNetworkReply *reply, const QList<QSslError> &errors);
    void fail(QNetworkReply *reply, const QString &error);
    void finish(QNetworkReply *reply);

    QNetworkAccessManager *m_network = nullptr;
    QByteArray m_authorization;
    Limits m_limits;
    QString m_pinned;
    quint64 m_lastId = 0;
    QHash<QNetworkReply *, Pending> m_pending;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#include "davhttp.h"

#include "caldavdiscovery.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

namespace
{

constexpr int MaxRedirects = 5;
// Without a byte for this long, the answer is given up before the overall cap.
constexpr std::chrono::milliseconds MaxSilence = std::chrono::seconds(30);

bool isLoopback(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

DavHttp::DavHttp(const QString &user, const QString &password, Limits limits, QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_authorization("Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64())
    , m_limits(limits)
{
    // A cached answer would hide another client's change; every request goes to the server.
    m_network->setCache(nullptr);
}

std::optional<QString> DavHttp::refusal(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return QCoreApplication::translate("DavHttp", "%1 is not a server address").arg(url.toDisplayString());
    if (url.scheme() == QLatin1String("https") || (url.scheme() == QLatin1String("http") && isLoopback(url.host())))
        return {};
    return QCoreApplication::translate("DavHttp", "%1 is not HTTPS; only a server on this computer may go without")
        .arg(url.toDisplayString());
}

QString DavHttp::fingerprintOf(const QSslCertificate &certificate)
{
    return QStringLiteral("SHA256:")
        + QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

void DavHttp::setPinnedCertificate(const QString &fingerprint)
{
    m_pinned = fingerprint;
    // A connection kept open would go on with the certificate taken under the pin before.
    m_network->clearConnectionCache();
}

quint64 DavHttp::send(const DavRequest &request)
{
    const quint64 id = ++m_lastId;
    if (const std::optional<QString> refused = refusal(request.url)) {
        DavReply reply;
        reply.error = *refused;
        // Queued, so that the caller has the id before the answer.
        QMetaObject::invokeMethod(
            this, [this, id, reply] { emit finished(id, reply); }, Qt::QueuedConnection);
        return id;
    }
    start({ id, request, 0, {}, {}, {} });
    return id;
}

void DavHttp::start(const Pending &pending)
{
    const DavRequest &request = pending.request;
    QNetworkRequest networkRequest(request.url);
    // Qt would follow a redirect of a PROPFIND or a REPORT as a GET; each is sent again as it was instead.
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    networkRequest.setTransferTimeout(static_cast<int>(MaxSilence.count()));
    networkRequest.setRawHeader("Authorization", m_authorization);
    for (const auto &[name, value] : request.headers)
        networkRequest.setRawHeader(name, value);
    QNetworkReply *reply = m_network->sendCustomRequest(networkRequest, request.method, request.body);
    m_pending.insert(reply, pending);

    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        auto found = m_pending.find(reply);
        if (found == m_pending.end())
            return;
        found->body += reply->readAll();
        if (found->body.size() > m_limits.maxAnswerBytes)
            fail(reply, tr("The server's answer is larger than %1 MB").arg(m_limits.maxAnswerBytes / (1024 * 1024)));
    });
    connect(reply, &QNetworkReply::sslErrors, this,
        [this, reply](const QList<QSslError> &errors) { checkCertificate(reply, errors); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
    auto *overall = new QTimer(reply);
    overall->setSingleShot(true);
    connect(overall, &QTimer::timeout, this, [this, reply] { fail(reply, tr("The server took too long to answer")); });
    overall->start(m_limits.maxTime);
}

void DavHttp::checkCertificate(QNetworkReply *reply, const QList<QSslError> &errors)
{
    auto pending = m_pending.find(reply);
    if (pending == m_pending.end() || errors.isEmpty())
        return;
    QSslCertificate certificate = reply->sslConfiguration().peerCertificate();
    if (certificate.isNull())
        certificate = errors.constFirst().certificate();
    const QString fingerprint = certificate.isNull() ? QString() : fingerprintOf(certificate);
    // The pin is the person's word for this one certificate, whatever else the system finds wrong with it.
    if (!m_pinned.isEmpty() && !fingerprint.isEmpty() && fingerprint.compare(m_pinned, Qt::CaseInsensitive) == 0) {
        reply->ignoreSslErrors(errors);
        return;
    }
    // Not ignored, the errors end the handshake and the reply finishes with this reason.
    pending->untrustedCertificate = fingerprint;
    pending->error = m_pinned.isEmpty()
        ? tr("The server's certificate is not trusted by this computer (%1): %2")
              .arg(fingerprint, errors.constFirst().errorString())
        : tr("The server's certificate is not the one trusted for it: it is now %1").arg(fingerprint);
}

void DavHttp::fail(QNetworkReply *reply, const QString &error)
{
    auto pending = m_pending.find(reply);
    if (pending == m_pending.end() || !pending->error.isEmpty())
        return;
    pending->error = error;
    pending->body.clear();
    // abort() finishes the reply at once, which reports the error.
    reply->abort();
}

void DavHttp::finish(QNetworkReply *reply)
{
    reply->deleteLater();
    const auto pendingAt = m_pending.constFind(reply);
    if (pendingAt == m_pending.cend())
        return;
    Pending pending = *pendingAt;
    m_pending.erase(pendingAt);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray location = reply->rawHeader("Location");
    if (pending.error.isEmpty() && QList { 301, 302, 303, 307, 308 }.contains(status) && !location.isEmpty()) {
        const QUrl target = pending.request.url.resolved(QUrl::fromEncoded(location));
        if (!CalDavDiscovery::sameOrigin(target, pending.request.url))
            pending.error = tr("The server sent the request on to %1, another server").arg(target.toDisplayString());
        else if (pending.redirects == MaxRedirects)
            pending.error = tr("The server sent the request on too many times");
        if (pending.error.isEmpty()) {
            pending.request.url = target;
            ++pending.redirects;
            pending.body.clear();
            start(pending);
            return;
        }
    }
    DavReply answer;
    if (pending.error.isEmpty()) {
        answer.status = status;
        answer.etag = reply->rawHeader("ETag");
        if (answer.status == 0)
            answer.error = reply->errorString();
        else
            answer.body = pending.body + reply->readAll();
        if (answer.body.size() > m_limits.maxAnswerBytes) {
            answer = {};
            answer.error = tr("The server's answer is larger than %1 MB").arg(m_limits.maxAnswerBytes / (1024 * 1024));
        }
    } else {
        answer.error = pending.error;
        answer.untrustedCertificate = pending.untrustedCertificate;
    }
    emit finished(pending.id, answer);
}

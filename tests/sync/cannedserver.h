// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A server on loopback that answers each request with the next of its canned answers, and holds the line
// when it has none left.
class CannedServer final : public QTcpServer
{
public:
    explicit CannedServer(QList<QByteArray> answers)
        : m_answers(std::move(answers))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_buffer += socket->readAll();
                    const qsizetype headerEnd = m_buffer.indexOf("\r\n\r\n");
                    if (headerEnd < 0)
                        return;
                    const QByteArray length
                        = m_buffer.mid(m_buffer.indexOf("Content-Length: ") + 16).split('\r').value(0);
                    if (m_buffer.size() < headerEnd + 4 + (m_buffer.contains("Content-Length: ") ? length.toInt() : 0))
                        return;
                    requests.append(m_buffer);
                    m_buffer.clear();
                    if (!m_answers.isEmpty())
                        socket->write(m_answers.takeFirst());
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }

    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }

    QList<QByteArray> requests;

private:
    QList<QByteArray> m_answers;
    QByteArray m_buffer;
};

inline QByteArray answer(const QByteArray &statusLine, const QByteArray &body, const QByteArray &headers = {})
{
    return "HTTP/1.1 " + statusLine + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + headers
        + "\r\n" + body;
}

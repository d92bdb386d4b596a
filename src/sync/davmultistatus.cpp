// SPDX-License-Identifier: GPL-3.0-or-later

#include "davmultistatus.h"

#include <QXmlStreamReader>

namespace
{

const QString Dav = QStringLiteral("DAV:");
const QString CalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

// Reads one element's subtree at a time; any DTD or XML error makes the whole body unreadable.
class Reader final
{
public:
    explicit Reader(const QByteArray &body)
        : m_xml(body)
    {
    }

    std::optional<DavMultiStatus::MultiStatus> multiStatus()
    {
        DavMultiStatus::MultiStatus result;
        if (!nextChild() || !is(Dav, u"multistatus"))
            return {};
        while (nextChild()) {
            if (is(Dav, u"response"))
                result.responses.append(response());
            else if (is(Dav, u"sync-token"))
                result.syncToken = text();
            else
                m_xml.skipCurrentElement();
        }
        if (m_refused || m_xml.hasError())
            return {};
        return result;
    }

private:
    // The next child element of the current one; false at its end, at an error, or at a DTD.
    bool nextChild()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::DTD:
                m_refused = true;
                return false;
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::EndElement:
                return false;
            default:
                break;
            }
        }
        return false;
    }

    bool is(const QString &ns, QStringView name) const { return m_xml.namespaceUri() == ns && m_xml.name() == name; }

    QString text() { return m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed(); }

    static int statusCode(const QString &statusLine)
    {
        // "HTTP/1.1 404 Not Found"
        return statusLine.section(QLatin1Char(' '), 1, 1).toInt();
    }

    DavMultiStatus::Response response()
    {
        DavMultiStatus::Response response;
        while (nextChild()) {
            if (is(Dav, u"href") && response.href.isEmpty())
                response.href = text();
            else if (is(Dav, u"status"))
                response.status = statusCode(text());
            else if (is(Dav, u"propstat"))
                propStat(response);
            else
                m_xml.skipCurrentElement();
        }
        return response;
    }

    // The status follows the properties it is about, so they are held until it comes.
    void propStat(DavMultiStatus::Response &response)
    {
        DavMultiStatus::Response found;
        int status = 0;
        while (nextChild()) {
            if (is(Dav, u"prop"))
                properties(found);
            else if (is(Dav, u"status"))
                status = statusCode(text());
            else
                m_xml.skipCurrentElement();
        }
        if (status < 200 || status > 299)
            return;
        if (!found.etag.isEmpty())
            response.etag = found.etag;
        if (!found.calendarData.isEmpty())
            response.calendarData = found.calendarData;
        if (!found.displayName.isEmpty())
            response.displayName = found.displayName;
        response.isCollection = response.isCollection || found.isCollection;
        response.isCalendar = response.isCalendar || found.isCalendar;
        response.isScheduleBox = response.isScheduleBox || found.isScheduleBox;
        if (found.components)
            response.components = found.components;
        if (!found.principalHref.isEmpty())
            response.principalHref = found.principalHref;
        response.calendarHomeHrefs += found.calendarHomeHrefs;
        response.scheduleBoxHrefs += found.scheduleBoxHrefs;
        if (!found.syncToken.isEmpty())
            response.syncToken = found.syncToken;
    }

    void properties(DavMultiStatus::Response &found)
    {
        while (nextChild()) {
            if (is(Dav, u"getetag")) {
                found.etag = text();
            } else if (is(CalDav, u"calendar-data")) {
                found.calendarData = m_xml.readElementText(QXmlStreamReader::SkipChildElements).toUtf8();
            } else if (is(Dav, u"displayname")) {
                found.displayName = text();
            } else if (is(Dav, u"sync-token")) {
                found.syncToken = text();
            } else if (is(Dav, u"resourcetype")) {
                while (nextChild()) {
                    found.isCollection = found.isCollection || is(Dav, u"collection");
                    found.isCalendar = found.isCalendar || is(CalDav, u"calendar");
                    found.isScheduleBox
                        = found.isScheduleBox || is(CalDav, u"schedule-inbox") || is(CalDav, u"schedule-outbox");
                    m_xml.skipCurrentElement();
                }
            } else if (is(CalDav, u"supported-calendar-component-set")) {
                found.components.emplace();
                while (nextChild()) {
                    if (is(CalDav, u"comp"))
                        found.components->append(m_xml.attributes().value(QLatin1String("name")).toString().toUpper());
                    m_xml.skipCurrentElement();
                }
            } else if (is(Dav, u"current-user-principal")) {
                found.principalHref = hrefs().value(0);
            } else if (is(CalDav, u"calendar-home-set")) {
                found.calendarHomeHrefs = hrefs();
            } else if (is(CalDav, u"schedule-inbox-URL") || is(CalDav, u"schedule-outbox-URL")) {
                found.scheduleBoxHrefs += hrefs();
            } else {
                m_xml.skipCurrentElement();
            }
        }
    }

    QStringList hrefs()
    {
        QStringList found;
        while (nextChild()) {
            if (is(Dav, u"href"))
                found.append(text());
            else
                m_xml.skipCurrentElement();
        }
        return found;
    }

    QXmlStreamReader m_xml;
    bool m_refused = false;
};

} // namespace

namespace DavMultiStatus
{

std::optional<MultiStatus> read(const QByteArray &body)
{
    return Reader(body).multiStatus();
}

} // namespace DavMultiStatus

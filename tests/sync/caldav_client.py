# SPDX-License-Identifier: GPL-3.0-or-later
"""A second client of a calendar server's task list, as a phone would be: makes the list, renames, adds, ticks
and deletes tasks, and prints what the list holds."""

import json
import re
import sys
from datetime import datetime, timezone

import caldav


def stamp():
    return datetime.now(timezone.utc).strftime("%Y%m%dT%H%M%SZ")


def summary_of(todo):
    return str(todo.icalendar_instance.walk("VTODO")[0]["SUMMARY"])


def main(command, url, user, password, *args):
    # A test server on loopback may have a certificate made for the test.
    client = caldav.DAVClient(url, username=user, password=password, ssl_verify_cert=False)
    if command == "make-list":
        (name,) = args
        made = client.principal().make_calendar(name=name, cal_id=name, supported_calendar_component_set=["VTODO"])
        print(made.url)
        return
    if command == "list-names":
        print(json.dumps(sorted(str(calendar.name) for calendar in client.principal().calendars())))
        return
    calendar = client.calendar(url=url)
    if command == "rename":
        uid, summary = args
        todo = calendar.todo_by_uid(uid)
        text = re.sub(r"(?m)^SUMMARY[:;].*(\r?\n[ \t].*)*$", "SUMMARY:" + summary, todo.data)
        todo.data = re.sub(r"(?m)^LAST-MODIFIED:.*$", "LAST-MODIFIED:" + stamp(), text)
        todo.save()
    elif command == "add":
        uid, summary = args
        calendar.save_todo(
            ical="BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VTODO\r\nUID:%s\r\n"
            "DTSTAMP:%s\r\nCREATED:%s\r\nSUMMARY:%s\r\nDESCRIPTION:Typed on the phone\r\nEND:VTODO\r\n"
            "END:VCALENDAR\r\n" % (uid, stamp(), stamp(), summary)
        )
    elif command == "add-planned":
        # A task as a calendar program writes one, with what a goal has no place for.
        uid, summary = args
        calendar.save_todo(
            ical="BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VTODO\r\nUID:%s\r\n"
            "DTSTAMP:%s\r\nCREATED:20261201T090000Z\r\nSUMMARY:%s\r\nDESCRIPTION:Bring the card\\, and cash\r\n"
            "DUE;VALUE=DATE:20261224\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Soon\r\n"
            "TRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n" % (uid, stamp(), summary)
        )
    elif command == "add-reminding":
        # A task due at a moment that reminds some minutes before it, as a phone's task app sets one.
        uid, summary, due, minutes = args
        calendar.save_todo(
            ical="BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VTODO\r\nUID:%s\r\n"
            "DTSTAMP:%s\r\nCREATED:20261201T090000Z\r\nSUMMARY:%s\r\nDUE:%s\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
            "DESCRIPTION:%s\r\nTRIGGER;RELATED=END:-PT%sM\r\nEND:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"
            % (uid, stamp(), summary, due, summary, minutes)
        )
    elif command == "add-repeating":
        # A recurring task as another client writes one: its rule, counted from a start of its own.
        uid, summary, rule = args
        calendar.save_todo(
            ical="BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VTODO\r\nUID:%s\r\n"
            "DTSTAMP:%s\r\nCREATED:20261201T090000Z\r\nSUMMARY:%s\r\nDTSTART;VALUE=DATE:20261202\r\n"
            "RRULE:%s\r\nEND:VTODO\r\nEND:VCALENDAR\r\n" % (uid, stamp(), summary, rule)
        )
    elif command in ("tick-text", "untick-text", "order-text"):
        # Ticked, unticked or moved on the phone: the task's status, or its place in the list.
        summary = args[0]
        todo = next(t for t in calendar.todos(include_completed=True) if summary_of(t) == summary)
        vtodo = todo.icalendar_instance.walk("VTODO")[0]
        if command == "order-text":
            vtodo["X-APPLE-SORT-ORDER"] = args[1]
        else:
            for name in ("STATUS", "COMPLETED", "PERCENT-COMPLETE"):
                vtodo.pop(name, None)
            vtodo.add("STATUS", "COMPLETED" if command == "tick-text" else "NEEDS-ACTION")
            if command == "tick-text":
                vtodo.add("COMPLETED", datetime.now(timezone.utc))
        vtodo.pop("LAST-MODIFIED", None)
        vtodo.add("LAST-MODIFIED", datetime.now(timezone.utc))
        todo.save()
    elif command in ("rename-text", "delete-text"):
        # The task by its summary, as a person picks it on the phone.
        summary = args[0]
        todo = next(t for t in calendar.todos(include_completed=True) if summary_of(t) == summary)
        if command == "delete-text":
            todo.delete()
        else:
            text = re.sub(r"(?m)^SUMMARY[:;].*(\r?\n[ \t].*)*$", "SUMMARY:" + args[1], todo.data)
            todo.data = re.sub(r"(?m)^LAST-MODIFIED:.*$", "LAST-MODIFIED:" + stamp(), text)
            todo.save()
    elif command == "dump":
        tasks = []
        for todo in calendar.todos(include_completed=True):
            vtodo = todo.icalendar_instance.walk("VTODO")[0]
            tasks.append({
                "summary": str(vtodo.get("SUMMARY")),
                "status": str(vtodo.get("STATUS", "")),
                "completed": "COMPLETED" in vtodo,
                "order": int(str(vtodo["X-APPLE-SORT-ORDER"])) if "X-APPLE-SORT-ORDER" in vtodo else None,
                "description": str(vtodo.get("DESCRIPTION", "")),
                "due": vtodo["DUE"].to_ical().decode() if "DUE" in vtodo else "",
                "alarms": len(vtodo.walk("VALARM")),
                "triggers": sorted(alarm["TRIGGER"].to_ical().decode() + (" own" if "X-MIREL-REMINDER" in alarm else "")
                                   for alarm in vtodo.walk("VALARM")),
                "rrule": vtodo["RRULE"].to_ical().decode() if "RRULE" in vtodo else "",
                "dtstart": vtodo["DTSTART"].to_ical().decode() if "DTSTART" in vtodo else "",
            })
        print(json.dumps(sorted(tasks, key=lambda t: (t["order"] is None, t["order"] or 0, t["summary"]))))
    elif command == "summaries":
        todos = calendar.todos(include_completed=True)
        print(json.dumps(sorted(str(t.icalendar_instance.walk("VTODO")[0]["SUMMARY"]) for t in todos)))
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main(*sys.argv[1:])

# SPDX-License-Identifier: GPL-3.0-or-later
"""A second client of a calendar server's task list, as a phone would be: renames and adds
tasks, and prints what the list holds."""

import json
import re
import sys
from datetime import datetime, timezone

import caldav


def stamp():
    return datetime.now(timezone.utc).strftime("%Y%m%dT%H%M%SZ")


def main(command, url, user, password, *args):
    client = caldav.DAVClient(url, username=user, password=password)
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
    elif command == "summaries":
        todos = calendar.todos(include_completed=True)
        print(json.dumps(sorted(str(t.icalendar_instance.walk("VTODO")[0]["SUMMARY"]) for t in todos)))
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main(*sys.argv[1:])

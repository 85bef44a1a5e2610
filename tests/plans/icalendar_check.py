#!/usr/bin/python3
# Parses a calendar file with the independent icalendar package and prints one line per event:
# UID|DTSTART|DTEND|SUMMARY (dates as yyyymmdd), in file order. Exit code 2 when the file is not
# a valid calendar.
import sys

import icalendar

data = open(sys.argv[1], "rb").read()
try:
    cal = icalendar.Calendar.from_ical(data)
except Exception as e:  # noqa: BLE001 - any parse failure is a failure of the file
    print("parse error:", e)
    sys.exit(2)
if cal.name != "VCALENDAR" or str(cal.get("VERSION")) != "2.0" or not cal.get("PRODID"):
    print("not a version 2.0 calendar")
    sys.exit(2)
for ev in cal.walk("VEVENT"):
    if not ev.get("DTSTAMP"):
        print("event without DTSTAMP")
        sys.exit(2)
    start = ev.decoded("DTSTART")
    end = ev.decoded("DTEND")
    # all-day events are dates, not date-times
    if hasattr(start, "hour") or hasattr(end, "hour"):
        print("not an all-day event")
        sys.exit(2)
    print("%s|%s|%s|%s" % (ev.get("UID"), start.strftime("%Y%m%d"), end.strftime("%Y%m%d"),
                           ev.get("SUMMARY")))

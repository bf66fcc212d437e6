"""The reminders' rules against python3-dateutil, their file against python3-icalendar.

Writes random events (every kind of rule the clock expands, month ends, 29 February, fifth
weekdays, EXDATE) with icalendar, has reminders_dump read them and list 1900..2100, and compares
with dateutil's rrule. Then has the dump rewrite the file and reads it back with icalendar: same
titles, starts, rules (by their occurrences), alarms, and the properties the clock does not use.
"""
import datetime as dt
import os
import random
import subprocess
import sys
import tempfile

import icalendar
from dateutil import rrule

DUMP = sys.argv[1]
LIMIT = 400
END = dt.datetime(2100, 12, 31, 23, 59)
DAYS = ["MO", "TU", "WE", "TH", "FR", "SA", "SU"]
rng = random.Random(40)


def random_rule(start):
    freq = rng.choice(["DAILY", "WEEKLY", "MONTHLY", "YEARLY"])
    parts = {"FREQ": freq}
    if rng.random() < 0.5:
        parts["INTERVAL"] = str(rng.randint(2, 5))
    shape = rng.random()
    if freq == "WEEKLY" and shape < 0.7:
        parts["BYDAY"] = ",".join(rng.sample(DAYS, rng.randint(1, 4)))
        if rng.random() < 0.3:
            parts["WKST"] = rng.choice(DAYS)
    elif freq == "WEEKLY" and shape < 0.85:
        parts["BYMONTH"] = ",".join(str(m) for m in rng.sample(range(1, 13), rng.randint(1, 2)))
    elif freq == "MONTHLY" and shape < 0.4:
        parts["BYDAY"] = f"{rng.choice([1, 2, 3, 4, 5, -1, -2])}{rng.choice(DAYS)}"
    elif freq == "MONTHLY" and shape < 0.7:
        parts["BYMONTHDAY"] = ",".join(str(d) for d in rng.sample([1, 15, 29, 30, 31, -1, -2], rng.randint(1, 2)))
    elif freq == "MONTHLY" and shape < 0.8:
        parts["BYDAY"] = "MO,TU,WE,TH,FR"
        parts["BYSETPOS"] = rng.choice(["-1", "1", "2,-2"])
    elif freq == "YEARLY" and shape < 0.4:
        parts["BYMONTH"] = str(rng.randint(1, 12))
        parts["BYDAY"] = f"{rng.choice([1, 2, 4, 5, -1])}{rng.choice(DAYS)}"
    elif freq == "YEARLY" and shape < 0.6:
        parts["BYMONTH"] = "2"
        parts["BYMONTHDAY"] = rng.choice(["29", "-1", "28,29"])
    elif freq == "DAILY" and shape < 0.3:
        parts["BYDAY"] = "MO,TU,WE,TH,FR"
    elif freq == "DAILY" and shape < 0.4:
        parts["BYMONTH"] = ",".join(str(m) for m in rng.sample(range(1, 13), 2))
    end = rng.random()
    if end < 0.3:
        parts["COUNT"] = str(rng.randint(1, 60))
    elif end < 0.6:
        until = start + dt.timedelta(days=rng.randint(0, 4000))
        parts["UNTIL"] = until.strftime("%Y%m%d") if not isinstance(start, dt.datetime) else until.strftime("%Y%m%dT%H%M%S")
    return ";".join(f"{k}={v}" for k, v in parts.items())


def make_events():
    events = []
    fixed = [  # (start, rule): month ends, leap days, a fifth weekday, a rule that yields nothing
        (dt.datetime(2026, 1, 31, 10, 0), "FREQ=MONTHLY"),
        (dt.date(2024, 2, 29), "FREQ=YEARLY"),
        (dt.datetime(2026, 1, 30, 7, 30), "FREQ=MONTHLY;BYDAY=5FR"),
        (dt.datetime(2026, 3, 1, 9, 0), "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=31"),
        (dt.date(1899, 12, 31), "FREQ=YEARLY;INTERVAL=7"),
        (dt.datetime(2090, 6, 1, 12, 0), "FREQ=DAILY;COUNT=999999999"),
    ]
    for i in range(300):
        if i < len(fixed):
            start, rule = fixed[i]
        else:
            day = dt.date(1950, 1, 1) + dt.timedelta(days=rng.randint(0, 140 * 365))
            start = day if rng.random() < 0.3 else dt.datetime(day.year, day.month, day.day, rng.randint(0, 23), rng.choice([0, 15, 30, 59]))
            rule = random_rule(start)
        exdates = []
        if rng.random() < 0.3:
            exdates = [o for o in list(occurrences(start, rule, []))[:10] if rng.random() < 0.4]
        events.append((f"ev{i}@check", start, rule, exdates))
    return events


def occurrences(start, rule, exdates):
    begin = start if isinstance(start, dt.datetime) else dt.datetime(start.year, start.month, start.day)
    rs = rrule.rruleset()
    rs.rrule(rrule.rrulestr(rule, dtstart=begin))
    for ex in exdates:
        rs.exdate(ex if isinstance(ex, dt.datetime) else dt.datetime(ex.year, ex.month, ex.day))
    out = []
    for o in rs:
        if o > END or len(out) >= LIMIT:
            break
        if o.year >= 1900:
            out.append(o)
    return out


def text(o, whole_day):
    return o.strftime("%Y%m%d") if whole_day else o.strftime("%Y%m%dT%H%M")


def write_calendar(events, path, bom=False, lf=False):
    cal = icalendar.Calendar()
    cal.add("prodid", "-//check//EN")
    cal.add("version", "2.0")
    cal.add("x-wr-calname", "確認")
    todo = icalendar.Todo()
    todo.add("uid", "todo@check")
    todo.add("summary", "kept as it was")
    cal.add_component(todo)
    for uid, start, rule, exdates in events:
        ev = icalendar.Event()
        ev.add("uid", uid)
        ev.add("dtstamp", dt.datetime(2026, 1, 1, tzinfo=dt.timezone.utc))
        ev.add("summary", f"会議、{uid}; 長い題名" + "あ" * (len(uid) % 40) + "\n二行目")
        ev.add("location", "東京, 本社")
        ev.add("x-other-program", "keep me")
        ev.add("dtstart", start)
        ev.add("rrule", icalendar.vRecur.from_ical(rule))
        if exdates:
            ev.add("exdate", exdates)
        alarm = icalendar.Alarm()
        alarm.add("action", "DISPLAY" if len(uid) % 2 else "AUDIO")
        alarm.add("description", "x")
        alarm.add("trigger", dt.timedelta(hours=9) if not isinstance(start, dt.datetime) else -dt.timedelta(minutes=10))
        ev.add_component(alarm)
        cal.add_component(ev)
    data = cal.to_ical()
    if lf:
        data = data.replace(b"\r\n", b"\n")
    with open(path, "wb") as f:
        f.write((b"\xef\xbb\xbf" if bom else b"") + data)


def dump(path):
    out = subprocess.run([DUMP, "occurrences", path, "1900", "2100", str(LIMIT)], capture_output=True, text=True, check=True).stdout
    got, uid = {}, None
    for line in out.splitlines():
        kind, _, rest = line.partition(" ")
        if kind == "R":
            uid = rest.split(" ")[0]
            got[uid] = {"head": rest, "occ": []}
        elif kind == "T":
            got[uid]["title"] = rest
        elif kind == "O":
            got[uid]["occ"].append(rest)
    return got


def main():
    events = make_events()
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "in.ics")
        write_calendar(events, src)
        got = dump(src)
        compared = 0
        for uid, start, rule, exdates in events:
            whole = not isinstance(start, dt.datetime)
            want = [text(o, whole) for o in occurrences(start, rule, exdates)]
            compared += len(want)
            if got[uid]["occ"] != want:
                failures.append(f"{uid} {start} {rule}: clock {got[uid]['occ'][:5]}… dateutil {want[:5]}…")
            title = f"会議、{uid}; 長い題名" + "あ" * (len(uid) % 40) + "\\n二行目"
            if got[uid]["title"] != title:
                failures.append(f"{uid}: title {got[uid]['title']!r}")
        # The same file with a byte-order mark and LF line ends reads the same.
        other = os.path.join(tmp, "lf.ics")
        write_calendar(events, other, bom=True, lf=True)
        if dump(other) != got:
            failures.append("the file with BOM and LF reads differently")
        # Written again by the clock and read back by icalendar.
        out = os.path.join(tmp, "out.ics")
        subprocess.run([DUMP, "regenerate", src, out], check=True)
        with open(out, "rb") as f:
            back = icalendar.Calendar.from_ical(f.read())
        if str(back.get("x-wr-calname")) != "確認" or not back.walk("VTODO"):
            failures.append("the calendar's own property or its VTODO was lost")
        written = {str(e["uid"]): e for e in back.walk("VEVENT")}
        for uid, start, rule, exdates in events:
            e = written.get(uid)
            if e is None:
                failures.append(f"{uid} missing from the written file")
                continue
            whole = not isinstance(start, dt.datetime)
            dstart = e.decoded("dtstart")
            if dstart != start or str(e["location"]) != "東京, 本社" or str(e["x-other-program"]) != "keep me":
                failures.append(f"{uid}: written as {dstart} {e.get('location')} {e.get('x-other-program')}")
            wrule = e["rrule"].to_ical().decode()
            wex = []
            for exd in (e.get("exdate") if isinstance(e.get("exdate"), list) else [e.get("exdate")] if e.get("exdate") else []):
                wex += [d.dt for d in exd.dts]
            want = [text(o, whole) for o in occurrences(start, rule, exdates)]
            back_occ = [text(o, whole) for o in occurrences(start, wrule, wex)]
            if back_occ != want:
                failures.append(f"{uid}: written rule {wrule} gives {back_occ[:4]}…, was {rule} {want[:4]}…")
            alarm = e.walk("VALARM")[0]
            trigger = alarm.decoded("trigger")
            if trigger != (dt.timedelta(hours=9) if whole else -dt.timedelta(minutes=10)):
                failures.append(f"{uid}: trigger {trigger}")
            if str(e["summary"]) != f"会議、{uid}; 長い題名" + "あ" * (len(uid) % 40) + "\n二行目":
                failures.append(f"{uid}: summary {e['summary']!r}")
    for f in failures[:30]:
        print(f)
    print(f"{len(events)} events, {compared} occurrences compared, {len(failures)} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

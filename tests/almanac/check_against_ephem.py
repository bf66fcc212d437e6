"""The almanac against Debian's python3-ephem (libastro: VSOP87 Sun, ELP-based Moon), 1900 to 2100.

Runs tools/almanac_dump, finds every new moon and solar term with ephem, and fails when
- an event is more than 60 s (TT) from ephem's, or one side has an event the other lacks;
- an event's JST day differs, unless ephem puts it within MARGIN of a JST midnight (skipped, counted);
- a day's old-calendar date, 六曜 or term differs from the same rules applied to ephem's events.
Usage: check_against_ephem.py ALMANAC_DUMP FIRST_YEAR LAST_YEAR
"""
import bisect
import math
import subprocess
import sys

import ephem

DUBLIN = 2415020.0  # ephem.Date 0 as a Julian day
JD_DAY0 = 2415018.5  # day 0 of the dump's day count (1899-12-30)
MAX_SECONDS = 60.0
MARGIN = 300.0  # seconds either side of a JST midnight


def jst_day(jd_ut):
    return math.floor(jd_ut - JD_DAY0 + 9 / 24)


def seconds_to_midnight(jd_ut):
    f = (jd_ut - JD_DAY0 + 9 / 24) % 1.0
    return min(f, 1 - f) * 86400


def tt(jd_ut):
    return jd_ut + ephem.delta_t(ephem.Date(jd_ut - DUBLIN)) / 86400


def sun_longitude(jd_ut):
    d = ephem.Date(jd_ut - DUBLIN)
    sun = ephem.Sun()
    sun.compute(d)
    return math.degrees(ephem.Ecliptic(ephem.Equatorial(sun.g_ra, sun.g_dec, epoch=d), epoch=d).lon)


def term_moment(term, start_ut):
    """ephem's moment (UT JD) at which the apparent longitude is term * 15 deg, near start_ut."""
    target = term * 15.0
    t0, f0 = start_ut, (target - sun_longitude(start_ut) + 180) % 360 - 180
    t1 = t0 + f0 / 0.9856
    for _ in range(20):
        f1 = (target - sun_longitude(t1) + 180) % 360 - 180
        if abs(f1) < 1e-9 or t1 == t0:
            break
        t0, f0, t1 = t1, f1, t1 + f1 * (t1 - t0) / (f0 - f1)
    return t1


def old_calendar(new_moon_days, principal_days, solstice_days, day):
    """The month rules of src/almanac/lunisolar_calendar.h on another ephemeris's days."""
    def lunation(d):
        return bisect.bisect_right(new_moon_days, d) - 1

    s = bisect.bisect_right(solstice_days, day) - 1  # last 冬至 on or before day...
    k0 = lunation(solstice_days[s])
    if day < new_moon_days[k0]:  # ...whose month has not begun yet: the lunar year before
        s -= 1
        k0 = lunation(solstice_days[s])
    k1 = lunation(solstice_days[s + 1])
    leap = -1
    if k1 - k0 == 13:
        for i in range(1, 13):
            a, b = new_moon_days[k0 + i], new_moon_days[k0 + i + 1]
            if not any(a <= p < b for p in principal_days):
                leap = i
                break
    number, k = 11, lunation(day)
    for i in range(1, k - k0 + 1):
        if i != leap:
            number = number % 12 + 1
    return number, day - new_moon_days[k] + 1, (k - k0) == leap


def main():
    dump, first, last = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    lines = subprocess.run([dump, str(first), str(last)], check=True, capture_output=True, text=True).stdout
    ours_n, ours_t, ours_d = [], [], []
    for line in lines.splitlines():
        f = line.split()
        if f[0] == "N":
            ours_n.append((float(f[1]), float(f[2])))
        elif f[0] == "T":
            ours_t.append((int(f[1]), float(f[2]), float(f[3])))
        elif f[0] == "D":
            ours_d.append(tuple(int(x) for x in f[1:]))
    failures, skipped = [], []
    worst = {"new moon": 0.0, "term": 0.0}
    # Each side's JST day of each event, with ours where ephem's lies too near midnight.
    day_of_event = {}

    def compare(kind, key, ours_ut, ours_tt, theirs_ut):
        dev_tt = (ours_tt - tt(theirs_ut)) * 86400  # in TT: the ephemerides alone, each ΔT aside
        worst[kind] = max(worst[kind], abs(dev_tt))
        if abs(dev_tt) > MAX_SECONDS:
            failures.append(f"{kind} {key}: {dev_tt:+.1f} s from ephem")
        day_of_event[key] = jst_day(theirs_ut)
        if seconds_to_midnight(theirs_ut) < MARGIN:
            same = "same day" if jst_day(ours_ut) == jst_day(theirs_ut) else "days differ"
            skipped.append(f"{kind} at {ephem.Date(theirs_ut - DUBLIN + 9 * ephem.hour)} JST ({same})")
            day_of_event[key] = jst_day(ours_ut)
        elif jst_day(ours_ut) != jst_day(theirs_ut):
            failures.append(f"{kind} {key}: JST day differs from ephem's")

    # New moons: ephem's own search, from a month before the range to a month after it.
    begin = ephem.Date(f"{first - 1}/11/1")
    end = ephem.Date(f"{last + 2}/2/1")
    theirs_n = []
    d = begin
    while True:
        d = ephem.next_new_moon(d)
        if d > end:
            break
        theirs_n.append(d + DUBLIN)
        d = ephem.Date(d + 1)
    lo = jst_day(ours_n[0][0])
    hi = jst_day(ours_n[-1][0])
    in_range = [t for t in theirs_n if lo - 1 <= jst_day(t) <= hi + 1]
    if len(in_range) != len(ours_n):
        failures.append(f"{len(ours_n)} new moons, ephem has {len(in_range)}")
    for ours, ours_tt in ours_n:
        theirs = min(theirs_n, key=lambda t: abs(t - ours))
        compare("new moon", ("N", round(theirs, 1)), ours, ours_tt, theirs)

    theirs_t = []
    for term, ours, ours_tt in ours_t:
        theirs = term_moment(term, ours)
        theirs_t.append((term, theirs))
        compare("term", ("T", term, round(theirs, 1)), ours, ours_tt, theirs)
    expected_terms = 24 * (last - first + 1)
    if len(ours_t) != expected_terms:
        failures.append(f"{len(ours_t)} terms, expected {expected_terms}")

    # The whole calendar on ephem's events (around the range: 冬至 and 中気 a year either side).
    nm_days = sorted(day_of_event.get(("N", round(t, 1)), jst_day(t)) for t in theirs_n)
    extra = []
    for y in (first - 1, last + 1):
        for term in range(24):
            guess = (ephem.Date(f"{y}/3/20") + DUBLIN) + ((term - 24 if term >= 19 else term) * 15.2184)
            extra.append((term, term_moment(term, guess)))
    all_terms = [(term, day_of_event.get(("T", term, round(t, 1)), jst_day(t))) for term, t in theirs_t]
    all_terms += [(term, jst_day(t)) for term, t in extra]
    principal = sorted(d for term, d in all_terms if term % 2 == 0)
    solstices = sorted(d for term, d in all_terms if term == 18)
    term_days = {d: term for term, d in all_terms}
    for y, m, dd, month, day, leap, rokuyo, term in ours_d:
        daynum = round(ephem.Date(f"{y}/{m}/{dd}") + DUBLIN - JD_DAY0)
        exp_month, exp_day, exp_leap = old_calendar(nm_days, principal, solstices, daynum)
        exp = (exp_month, exp_day, int(exp_leap), (exp_month + exp_day) % 6, term_days.get(daynum, -1))
        got = (month, day, leap, rokuyo, term)
        if got != exp:
            failures.append(f"{y}-{m:02}-{dd:02}: ours {got}, from ephem {exp}")

    days = len(ours_d)
    expected_days = round(ephem.Date(f"{last + 1}/1/1") - ephem.Date(f"{first}/1/1"))
    if days != expected_days:
        failures.append(f"{days} days in the dump, expected {expected_days}")
    print(f"{first}-{last}: {len(ours_n)} new moons, {len(ours_t)} terms, {days} days compared with ephem")
    for kind in worst:
        print(f"max deviation of a {kind}: {worst[kind]:.1f} s in TT")
    print(f"events within {MARGIN:.0f} s of a JST midnight, their day not checked: {len(skipped)}")
    for s in skipped:
        print("  skipped:", s)
    for f in failures[:40]:
        print("MISMATCH:", f)
    if failures:
        print(f"{len(failures)} mismatches")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

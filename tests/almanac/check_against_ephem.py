"""The almanac against Debian's python3-ephem (libastro: VSOP87 Sun, ELP-based Moon), 1900 to 2100.

Runs tools/almanac_dump, finds every principal phase, solar term and 雑節 longitude with ephem; fails when
- an event is more than 60 s (TT) from ephem's, or one side has an event the other lacks;
- an event's JST day differs, unless ephem puts it within MARGIN of a JST midnight (skipped, counted);
- a day's old-calendar date, 六曜 or term differs from the same rules applied to ephem's events;
- a day's phase and its minute (±1), its 月齢 at noon, or its 雑節 differ from ephem's (the 雑節 by
  the rules of src/almanac/zassetsu.h; an event within MARGIN of a midnight, or a 社日 tie within
  MARGIN of noon, allows either day, counted).
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
    return longitude_moment(term * 15.0, start_ut)


def longitude_moment(target, start_ut):
    """ephem's moment (UT JD) at which the Sun's apparent longitude is target degrees, near start_ut."""
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


PHASES = ("new moon", "first quarter", "full moon", "last quarter")
ANCHOR_DAY = 45292  # 2024-01-01 in the dump's day count, 甲子
# The 雑節 bits of the dump's notes (DayNote order).
SETSUBUN, HIGAN_IRI, HIGAN_AKE, SHANICHI, EIGHTY_EIGHT, TWO_TEN, TWO_TWENTY, NYUBAI, HANGESHO, DOYO_IRI, USHI = \
    range(11)


def ephem_phases(first, last):
    """Every principal phase by ephem's own search, a few months beyond the range: [[UT JD] by phase]."""
    out = []
    for find in (ephem.next_new_moon, ephem.next_first_quarter_moon, ephem.next_full_moon,
                 ephem.next_last_quarter_moon):
        out.append([])
        d, end = ephem.Date(f"{first - 1}/11/1"), ephem.Date(f"{last + 2}/2/1")
        while (d := find(d)) < end:
            out[-1].append(d + DUBLIN)
            d = ephem.Date(d + 1)
    return out


def candidate_days(jd_ut):
    """The JST day of a moment, with the day beyond the midnight it lies within MARGIN of."""
    d, f = jst_day(jd_ut), (jd_ut - JD_DAY0 + 9 / 24) % 1.0
    return {d} if seconds_to_midnight(jd_ut) >= MARGIN else {d, d - 1 if f < 0.5 else d + 1}


def expected_zassetsu(y):
    """Year y's 雑節 on ephem's moments as [(bit, candidate days, exactly one of them the day)], and
    the 土用の丑 days that must be and that may be (by an uncertain end of a 土用)."""
    def days(degrees):
        guess = ephem.Date(f"{y}/3/20") + DUBLIN + (degrees - 360 * (degrees > 290)) / 0.9856
        moment = longitude_moment(degrees, guess)
        return moment, candidate_days(moment)

    risshun = days(315)[1]
    single = [(bit, {d + n for d in risshun}) for bit, n in
              ((SETSUBUN, -1), (EIGHTY_EIGHT, 87), (TWO_TEN, 209), (TWO_TWENTY, 219))]
    single += [(NYUBAI, days(80)[1]), (HANGESHO, days(100)[1])]
    for moment, equinox in (days(0), days(180)):
        single += [(HIGAN_IRI, {d - 3 for d in equinox}), (HIGAN_AKE, {d + 3 for d in equinox})]
        shanichi = set()
        for e in equinox:
            to_next, noon = (4 - (e - ANCHOR_DAY) % 10) % 10, JD_DAY0 + e + 0.5 - 9 / 24  # days to a 戊
            if to_next != 5:
                shanichi.add(e + to_next - 10 * (to_next > 5))
            else:  # on a 癸 day: by the equinox before or after noon, either within MARGIN of it
                shanichi |= {e - 5 if moment < noon else e + 5} if abs(moment - noon) * 86400 >= MARGIN \
                    else {e - 5, e + 5}
        single.append((SHANICHI, shanichi))
    must, may = set(), set()
    for start, stop in ((297, 315), (27, 45), (117, 135), (207, 225)):  # 土用入り and the 節 ending it
        begins, ends = days(start)[1], days(stop)[1]
        single.append((DOYO_IRI, begins))
        for d in (d for d in range(min(begins), max(ends)) if (d - ANCHOR_DAY) % 12 == 1):  # 丑
            (must if max(begins) <= d < min(ends) else may).add(d)
    return single, must, may


def check_notes(first, last, ours_p, ours_notes, theirs_n, compare, day_of_event, failures):
    """Phases, 月齢 and 雑節 of every day against ephem; returns counts for the summary."""
    stats = dict.fromkeys(("minute off by one", "zassetsu", "either day", "age unchecked"), 0)
    theirs_p, lo, hi = ephem_phases(first, last), min(ours_notes), max(ours_notes)
    if sum(lo <= jst_day(t) <= hi for times in theirs_p for t in times) != len(ours_p):
        failures.append(f"{len(ours_p)} principal phases, ephem has another count")
    phase_on_day = {}
    for phase, ours, ours_tt in ours_p:
        times, i = theirs_p[phase], bisect.bisect_left(theirs_p[phase], ours)
        theirs = min(times[max(i - 1, 0):i + 1], key=lambda t: abs(t - ours))
        key = ("N", round(theirs, 1)) if phase == 0 else ("P", phase, round(theirs, 1))
        if phase:  # the new moons are compared already
            compare(PHASES[phase], key, ours, ours_tt, theirs)
        day = day_of_event[key]
        moment = theirs if jst_day(theirs) == day else ours
        phase_on_day[day] = (phase, min(1439, round((moment - JD_DAY0 - day + 9 / 24) * 1440)))

    for day, (sexagenary, age, phase, minute, _) in ours_notes.items():
        exp_phase, exp_minute = phase_on_day.get(day, (-1, minute))
        if sexagenary != (day - ANCHOR_DAY) % 60 or phase != exp_phase or abs(minute - exp_minute) > 1:
            failures.append(f"day {day}: 干支 {sexagenary}, phase {phase} at {minute}, ephem {exp_phase} {exp_minute}")
        stats["minute off by one"] += abs(minute - exp_minute) == 1
        noon = JD_DAY0 + day + 0.5 - 9 / 24
        i = bisect.bisect_right(theirs_n, noon) - 1
        x = (noon - theirs_n[i]) * 10 + 0.5
        # At a rounding edge, or a new moon within seconds of noon, either answer is right.
        if abs(x - round(x)) < 0.01 or min(noon - theirs_n[i], theirs_n[i + 1] - noon) * 86400 < 90:
            stats["age unchecked"] += 1
        elif math.floor(x) != age:
            failures.append(f"day {day}: 月齢 {age / 10}, ephem {noon - theirs_n[i]:.3f}")

    for y in range(first, last + 1):
        year = range(*(round(ephem.Date(f"{y + i}/1/1") + DUBLIN - JD_DAY0) for i in (0, 1)))
        ours = [{d for d in year if ours_notes[d][4] >> bit & 1} for bit in range(11)]
        single, must, may = expected_zassetsu(y)
        allowed = [set() for _ in range(10)] + [must | may]
        for bit, cands in single:
            allowed[bit] |= cands
            if len(cands & ours[bit]) != 1:
                failures.append(f"{y}: 雑節 {bit} on {sorted(ours[bit] & cands)}, ephem {sorted(cands)}")
        stats["zassetsu"] += len(single) + len(must)
        stats["either day"] += sum(len(c) > 1 for _, c in single) + len(may)
        if any(not ours[bit] <= allowed[bit] for bit in range(11)) or not must <= ours[USHI]:
            failures.append(f"{y}: 雑節 {[sorted(o) for o in ours]}, ephem {[sorted(a) for a in allowed]}")
    return stats


def main():
    dump, first, last = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    lines = subprocess.run([dump, str(first), str(last)], check=True, capture_output=True, text=True).stdout
    ours_n, ours_p, ours_t, ours_d = [], [], [], []
    for line in lines.splitlines():
        f = line.split()
        if f[0] == "N":
            ours_n.append((float(f[1]), float(f[2])))
        elif f[0] == "P":
            ours_p.append((int(f[1]), float(f[2]), float(f[3])))
        elif f[0] == "T":
            ours_t.append((int(f[1]), float(f[2]), float(f[3])))
        elif f[0] == "D":
            ours_d.append(tuple(int(x) for x in f[1:]))
    failures, skipped = [], []
    worst = {"new moon": 0.0, "term": 0.0, **{p: 0.0 for p in PHASES[1:]}}
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
    ours_notes = {}
    for y, m, dd, month, day, leap, rokuyo, term, *notes in ours_d:
        daynum = round(ephem.Date(f"{y}/{m}/{dd}") + DUBLIN - JD_DAY0)
        ours_notes[daynum] = tuple(notes)
        exp_month, exp_day, exp_leap = old_calendar(nm_days, principal, solstices, daynum)
        exp = (exp_month, exp_day, int(exp_leap), (exp_month + exp_day) % 6, term_days.get(daynum, -1))
        got = (month, day, leap, rokuyo, term)
        if got != exp:
            failures.append(f"{y}-{m:02}-{dd:02}: ours {got}, from ephem {exp}")

    stats = check_notes(first, last, ours_p, ours_notes, theirs_n, compare, day_of_event, failures)
    days = len(ours_d)
    expected_days = round(ephem.Date(f"{last + 1}/1/1") - ephem.Date(f"{first}/1/1"))
    if days != expected_days:
        failures.append(f"{days} days in the dump, expected {expected_days}")
    print(f"{first}-{last}: {len(ours_n)} new moons, {len(ours_t)} terms, {days} days compared with ephem")
    print(f"{len(ours_p)} principal phases (minute off by one: {stats['minute off by one']}), {stats['zassetsu']} "
          f"雑節 (either day allowed: {stats['either day']}), 月齢 at a rounding edge unchecked: {stats['age unchecked']}")
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

#!/bin/sh
# Builds the holiday-feed, holiday-list and reminders-file fuzz targets (libFuzzer and the
# sanitizers, in the asan preset) and runs them for a bounded time, a third each. Exits non-zero
# when a fuzzer finds a crash, leak or undefined behaviour.
#   tools/run_fuzz.sh [seconds]      (default 20; output under build/fuzz/)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
out="$root/build/fuzz"
mkdir -p "$out/corpus" "$out/list_corpus" "$out/ics_corpus" "$out/artifacts"

# The fuzzers are targets of the sanitizer build, which the test command may be building beside.
mkdir -p "$root/build"
(cd "$root" && flock build/asan.lock sh -c 'cmake --preset asan >/dev/null && cmake --build --preset asan -j2 --target fuzzers')
bin="$root/build/asan/fuzz"

# Seeds: a real-looking entry, a truncated one and an impossible date, each behind the two
# bytes that pick the chunk size and the failure mode.
seed() { { printf "$2"; printf '%s' "$3"; } > "$out/corpus/$1"; }
seed entry '\377\000' "<entry><gd:when startTime='2009-02-11T00:00:00.000+09:00' endTime='2009-02-12'/></entry>"
seed truncated '\001\040' "<gd:when startTime='2009-01-01'/><gd:when startTime='2009-0"
seed invalid '\020\010' "<gd:when startTime='2009-02-30'/><gd:when startTime='abcd-ef-gh'/>"

# The list's seeds: the Cabinet Office's list whole (its first byte picks the year it must reach)
# and cut off mid-row.
cp "$root/tests/data/syukujitsu.csv" "$out/list_corpus/whole"
head -c 15000 "$root/tests/data/syukujitsu.csv" > "$out/list_corpus/cut"

# The reminders' seeds: a file of each kind of rule, alarm and kept property, and the told text.
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTIMEZONE\r\nTZID:X\r\nBEGIN:STANDARD\r\nTZOFFSETTO:+0900\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\nBEGIN:VEVENT\r\nUID:a\r\nSUMMARY:会議\\, 本社\r\nDTSTART;TZID=X:20261210T100000\r\nRRULE:FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=-1;COUNT=5\r\nEXDATE:20270129T100000\r\nDTEND:20261210T110000\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT10M\r\nATTACH:file:///C:/a%%20b.wav\r\nEND:VALARM\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:b\r\nDTSTART;VALUE=DATE:20250808\r\nX-TAVRO-OLD-CALENDAR:FREQ=YEARLY;INTERVAL=2\r\nX-TAVRO-SKIP-HOLIDAYS:TRUE\r\nRDATE:20260101\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:PT9H\r\nEND:VALARM\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:a\r\nRECURRENCE-ID:20261217T100000\r\nDTSTART:20261218T100000\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' > "$out/ics_corpus/file"
printf '0123456789abcdef 20261210T1000 20261210T1000-20261210T1005\n' > "$out/ics_corpus/told"

fuzz() {  # target corpus
    if ! "$bin/$1" -max_total_time="$(( (seconds + 2) / 3 ))" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
            -artifact_prefix="$out/artifacts/" "$out/$2" > "$out/$1.log" 2>&1; then
        tail -n 40 "$out/$1.log" >&2
        echo "fuzzing found a problem; see $out/$1.log and $out/artifacts/" >&2
        exit 1
    fi
    tail -n 1 "$out/$1.log"
}
fuzz happy_scan_fuzz corpus
fuzz holiday_list_fuzz list_corpus
fuzz reminder_file_fuzz ics_corpus

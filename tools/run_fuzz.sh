#!/bin/sh
# Builds the holiday-feed and holiday-list fuzz targets with libFuzzer and sanitizers and runs
# them for a bounded time, half each. Exits non-zero when a fuzzer finds a crash, leak or
# undefined behaviour.
#   tools/run_fuzz.sh [seconds]      (default 20; output under build/fuzz/)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
out="$root/build/fuzz"
mkdir -p "$out/corpus" "$out/list_corpus" "$out/artifacts"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root/src" \
    "$root/tests/fuzz/happy_scan_fuzz.cpp" \
    "$root/src/holidays/happy_feed.cpp" \
    "$root/src/datetime/date_value.cpp" \
    -o "$out/happy_scan_fuzz"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root/src" \
    "$root/tests/fuzz/holiday_list_fuzz.cpp" \
    "$root/src/holidays/holiday_list.cpp" \
    "$root/src/datetime/date_value.cpp" \
    -o "$out/holiday_list_fuzz"

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

fuzz() {  # target corpus
    if ! "$out/$1" -max_total_time="$(( (seconds + 1) / 2 ))" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
            -artifact_prefix="$out/artifacts/" "$out/$2" > "$out/$1.log" 2>&1; then
        tail -n 40 "$out/$1.log" >&2
        echo "fuzzing found a problem; see $out/$1.log and $out/artifacts/" >&2
        exit 1
    fi
    tail -n 1 "$out/$1.log"
}
fuzz happy_scan_fuzz corpus
fuzz holiday_list_fuzz list_corpus

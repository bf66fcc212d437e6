#!/bin/sh
# Builds the holiday-feed fuzz target with libFuzzer and sanitizers and runs it for a bounded
# time. Exits non-zero when the fuzzer finds a crash, leak or undefined behaviour.
#   tools/run_fuzz.sh [seconds]      (default 20; output under build/fuzz/)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
out="$root/build/fuzz"
mkdir -p "$out/corpus" "$out/artifacts"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root/src" \
    "$root/tests/fuzz/happy_scan_fuzz.cpp" \
    "$root/src/holidays/happy_feed.cpp" \
    "$root/src/datetime/date_value.cpp" \
    -o "$out/happy_scan_fuzz"

# Seeds: a real-looking entry, a truncated one and an impossible date, each behind the two
# bytes that pick the chunk size and the failure mode.
seed() { { printf "$2"; printf '%s' "$3"; } > "$out/corpus/$1"; }
seed entry '\377\000' "<entry><gd:when startTime='2009-02-11T00:00:00.000+09:00' endTime='2009-02-12'/></entry>"
seed truncated '\001\040' "<gd:when startTime='2009-01-01'/><gd:when startTime='2009-0"
seed invalid '\020\010' "<gd:when startTime='2009-02-30'/><gd:when startTime='abcd-ef-gh'/>"

if ! "$out/happy_scan_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
        -artifact_prefix="$out/artifacts/" "$out/corpus" > "$out/fuzz.log" 2>&1; then
    tail -n 40 "$out/fuzz.log" >&2
    echo "fuzzing found a problem; see $out/fuzz.log and $out/artifacts/" >&2
    exit 1
fi
tail -n 1 "$out/fuzz.log"

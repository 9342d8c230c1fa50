#!/bin/sh
# Runs every harness of a fuzz build for SECONDS each, one after another, on a
# corpus seeded from the project's own captures and files, and prints per
# harness the executions, the coverage reached and what it found.
# Usage: fuzz/run.sh BUILD_DIR SECONDS
set -u
build=$1
seconds=$2
src=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/fuzz
work=$build/fuzz-run
harnesses="trace_scan timed_capture at_answers call_list book_file vcard_import csv_import scenario ncid_client"

seed() { # seed HARNESS FILES...: copies the files that exist into the harness's corpus
    dir=$work/corpus/$1; shift
    mkdir -p "$dir"
    for f in "$@"; do [ -f "$f" ] && cp "$f" "$dir/"; done
}

mkdir -p "$work/captures"
for s in demo incoming-answered incoming-unanswered outgoing-connected outgoing-unconnected \
         both-busy restricted service two-calls; do
    ASAN_OPTIONS=detect_leaks=0 "$build/dodova-sim" --scenario $s --render-capture "$work/captures/$s.trace" \
        >/dev/null 2>&1 || echo "no capture of $s"
done
ASAN_OPTIONS=detect_leaks=0 "$build/dodova-sim" --scenario "$src/docs/images/tour.scenario" \
    --render-capture "$work/captures/tour.trace" >/dev/null 2>&1
captures="$work/captures/*.trace $src/tests/tools/data/*.trace"
seed trace_scan $captures
seed timed_capture $captures
seed at_answers "$src"/fuzz/seeds/at_answers/*
seed call_list "$src"/assets/demo/list.txt "$src"/tests/outputs/data/list.txt "$src"/tests/tools/data/golden/*.list.txt
seed book_file "$src"/assets/demo/book.txt "$src"/tests/tools/data/book.txt
seed vcard_import "$src"/fuzz/seeds/vcard_import/*
seed csv_import "$src"/fuzz/seeds/csv_import/* "$src"/assets/demo/book.txt
seed scenario "$src"/docs/images/tour.scenario "$src"/fuzz/seeds/scenario/*
seed ncid_client "$src"/fuzz/seeds/ncid_client/* "$src"/tests/outputs/data/ncid_session.txt

status=0
summary=$work/summary.txt
: >"$summary"
for h in $harnesses; do
    mkdir -p "$work/findings/$h"
    log=$work/$h.log
    echo "== $h ($seconds s)"
    "$bin/fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/findings/$h/" "$work/corpus/$h" >"$log" 2>&1
    rc=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    stats=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[^ ]+')
    found=$(ls "$work/findings/$h" | tr '\n' ' ')
    [ "$rc" -eq 0 ] || status=1
    printf '%-14s execs %-9s %s  findings: %s\n' "$h" "${execs:-?}" "${stats:-?}" "${found:-none}" | tee -a "$summary"
done
echo "logs, corpora and findings: $work"
exit $status

#!/bin/sh
# corvane-replay against tshark on the same frames: a capture of many short
# random calls, and the simulator's scenarios repeated at shifted times into
# one capture of at least 100,000 frames; each one's pcap decoded by tshark. Also a capture ten times as long (the replay's cost
# grows linearly with the calls) and idle stretches (cost nothing).
# Usage: bench/replay_vs_tshark.sh [BUILD_DIR]; everything generated stays in
# BUILD_DIR/bench-replay.
set -eu

BUILD=${1:-build}
WORK=$BUILD/bench-replay
SIM=$BUILD/dodova-sim
REPLAY=$BUILD/corvane-replay
MIN_FRAMES=100000
GAP_MS=60000             # quiet time between two scenarios
IDLE_MS=2147483648       # 2^31 ms: a line this late replays in under a second
DAY_MS=86400000

mkdir -p "$WORK/scenarios"
rm -f "$WORK/scenarios"/*.trace
for s in $("$SIM" --list-scenarios); do
    [ "$s" = none ] || "$SIM" --scenario "$s" --render-capture "$WORK/scenarios/$s.trace"
done
# A scenario's last line is decoded only when the next one starts; 5 % more
# lines than frames wanted covers that.
lines_per_round=$(cat "$WORK/scenarios"/*.trace | grep -c 'L1')
rounds=$(( (MIN_FRAMES * 105 / 100 + lines_per_round - 1) / lines_per_round ))

# make_capture ROUNDS FILE: the scenarios one after another, ROUNDS times,
# each shifted past the one before; the adapter's trailer follows the time.
make_capture() {
    awk -v rounds="$1" -v gap="$GAP_MS" '
        FNR == 1 { base = n }
        /^[0-9]+\t/ { split($0, f, "\t"); ms[n] = f[1] + 0; text[n] = substr($0, length(f[1]) + 2)
                      start[n] = base; n++ }
        END {
            print "# corvane-trace 1"
            for (r = 0; r < rounds; r++)
                for (i = 0; i < n; i++) {
                    if (i == 0 || start[i] != start[i - 1]) { offset = last + gap }
                    t = ms[i] + offset; last = t
                    line = text[i]
                    printf "%.0f\t%s%08d\n", t, substr(line, 1, length(line) - 8), t % 100000000
                }
        }' "$WORK/scenarios"/*.trace > "$2"
}

# timed LABEL COMMAND...: runs it, sets SECONDS_TAKEN (wall clock), CPU_SECONDS
# (user + system: steadier than the wall clock on a busy machine) and RSS_MB.
timed() {
    label=$1; shift
    /usr/bin/time -v -o "$WORK/$label.time" "$@" > "$WORK/$label.out"
    SECONDS_TAKEN=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0
                        for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$WORK/$label.time")
    CPU_SECONDS=$(awk -F': ' '/(User|System) time/ { s += $2 } END { print s }' "$WORK/$label.time")
    RSS_MB=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$WORK/$label.time")
}

# best LABEL COMMAND...: timed three times, the run with the least CPU kept
# (the others waited for a busy machine).
best() {
    best_cpu="" ; best_label=$1; shift
    for run in 1 2 3; do
        timed "$best_label" "$@"
        if [ -z "$best_cpu" ] || awk -v a="$CPU_SECONDS" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then
            best_cpu=$CPU_SECONDS best_s=$SECONDS_TAKEN best_mb=$RSS_MB
        fi
    done
    CPU_SECONDS=$best_cpu SECONDS_TAKEN=$best_s RSS_MB=$best_mb
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "inf" }'; }

# compare NAME TRACE TARGET: corvane-replay on TRACE against tshark on its pcap
# (made by the replay), wanted at least TARGET times as fast; sets REPLAY_CPU.
compare() {
    name=$1 trace=$2 target=$3
    "$REPLAY" "$trace" --out "$WORK/$name-pcap-out" --pcap "$WORK/$name.pcap" > /dev/null
    best "$name-replay" "$REPLAY" "$trace" --out "$WORK/$name-out"
    replay_s=$SECONDS_TAKEN; REPLAY_CPU=$CPU_SECONDS; replay_mb=$RSS_MB
    frames=$(awk '/frames decoded/ { print $3 }' "$WORK/$name-replay.out")
    calls=$(awk '/calls logged/ { print $3 }' "$WORK/$name-replay.out")
    echo "$name: $frames frames, $calls calls, $(wc -c < "$trace") bytes"
    if command -v tshark > /dev/null; then
        best "$name-tshark" tshark -r "$WORK/$name.pcap" -T fields -e q931.message_type \
            -e q931.calling_party_number.digits -e q931.channel.number -e q931.cause_value
        echo "  tshark:         $SECONDS_TAKEN s (CPU $CPU_SECONDS s), peak RSS $RSS_MB MB"
        echo "  corvane-replay: $replay_s s (CPU $REPLAY_CPU s), peak RSS $replay_mb MB (target: under 20 MB)"
        echo "  tshark / replay: $(ratio "$SECONDS_TAKEN" "$replay_s") wall, $(ratio "$CPU_SECONDS" "$REPLAY_CPU") CPU" \
             "(target: at least $target)"
    else
        echo "  tshark is not installed: no comparison"
        echo "  corvane-replay: $replay_s s (CPU $REPLAY_CPU s), peak RSS $replay_mb MB (target: under 20 MB)"
    fi
}

# Many short random calls, the same every run (bench/random_calls.sh, seed 35).
RANDOM_CALLS=8000
"$(dirname "$0")/random_calls.sh" "$RANDOM_CALLS" 35 > "$WORK/random.scenario"
"$SIM" --scenario "$WORK/random.scenario" --render-capture "$WORK/random.trace"
compare random-calls "$WORK/random.trace" 5

make_capture "$rounds" "$WORK/capture.trace"
make_capture $((rounds * 10)) "$WORK/capture10.trace"
compare scenarios "$WORK/capture.trace" 4
replay_cpu=$REPLAY_CPU

best replay10 "$REPLAY" "$WORK/capture10.trace" --out "$WORK/out10"
echo "ten times the capture: $SECONDS_TAKEN s (CPU $CPU_SECONDS s), $(ratio "$CPU_SECONDS" "$replay_cpu") times" \
     "the CPU (target: at most 11), peak RSS $RSS_MB MB"

# idle_capture MS FILE: one frame at 1 s and one at MS.
idle_capture() {
    printf '# corvane-trace 1\n1000\tL1   0 -> 00 81 7F  \\r\\n 00001000\n%s\tL1   0 -> 00 81 7F  \\r\\n %08d\n' \
        "$1" $(( $1 % 100000000 )) > "$2"
}
idle_capture "$IDLE_MS" "$WORK/idle.trace"
timed idle "$REPLAY" "$WORK/idle.trace" --out "$WORK/idle-out"
echo "a line at $IDLE_MS ms: $SECONDS_TAKEN s (target: under 1 s)"
idle_capture "$DAY_MS" "$WORK/day.trace"
timed day "$REPLAY" "$WORK/day.trace" --out "$WORK/day-out"
echo "a day of silence: $SECONDS_TAKEN s"

#!/bin/sh
# corvane-monitor's CPU use at the full line rate: dodova-sim plays the
# simulator's scenarios as one dense stream of trace lines, raw bytes back to
# back at 115200 bit/s (a few bytes every millisecond), on a pseudo-terminal;
# the monitor decodes it at debug level 0 and 5. CPU is (utime + stime) / wall
# time from /proc over a window that starts once the monitor is in trace mode.
# The same lines in 10 ms bursts, as an adapter behind a USB serial chip
# delivers them, show how much of the cost is waking up for each read.
# Usage: bench/live_monitor_cpu.sh [BUILD_DIR] [SECONDS]; files in BUILD_DIR/bench-live.
set -eu

BUILD=$(cd "${1:-build}" && pwd) # absolute: a serial port name without a leading / is one in /dev
WINDOW_S=${2:-20}        # measured seconds per run
SETTLE_S=1               # after the monitor has started, before measuring
WORK=$BUILD/bench-live
SIM=$BUILD/dodova-sim
MONITOR=$BUILD/corvane-monitor
BYTE_US=87               # 115200 bit/s, 8N1
BURST_MS=10
TARGET_0=2               # percent of one core
TARGET_5=10

for program in "$SIM" "$MONITOR"; do
    if [ ! -x "$program" ]; then
        echo "live monitor: $program is not built: no measurement"
        exit 0
    fi
done
if [ ! -r /proc/self/stat ]; then
    echo "live monitor: no /proc: no measurement"
    exit 0
fi

rm -rf "$WORK"
mkdir -p "$WORK/scenarios"
for s in $("$SIM" --list-scenarios); do
    [ "$s" = none ] || "$SIM" --scenario "$s" --render-capture "$WORK/scenarios/$s.trace"
done

# stream FORMAT FILE: the payloads of every scenario line, repeated until the
# stream outlasts the window. raw: unescaped (the renderer escapes only CR and
# LF in trace lines) and without the capture header, so played at the line
# rate; burst: a timed capture, each line stamped with the start of the burst
# its first byte would arrive in.
stream() {
    awk -v format="$1" -v want_us=$(( (WINDOW_S + SETTLE_S + 10) * 1000000 )) -v byte_us="$BYTE_US" \
        -v burst_ms="$BURST_MS" '
        BEGIN { n = 0 }
        /^[0-9]+\t/ { text[n] = substr($0, index($0, "\t") + 1); raw = text[n]
                      gsub(/\\r/, "\r", raw); gsub(/\\n/, "\n", raw); bytes[n++] = raw }
        END {
            if (format == "burst") print "# corvane-trace 1"
            while (us < want_us)
                for (i = 0; i < n; i++) {
                    if (format == "raw") printf "%s", bytes[i]
                    else printf "%d\t%s\n", int(us / 1000 / burst_ms) * burst_ms, text[i]
                    us += length(bytes[i]) * byte_us
                }
        }' "$WORK/scenarios"/*.trace > "$2"
}

# ticks PID: utime + stime in clock ticks.
ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
uptime_s() { cut -d' ' -f1 /proc/uptime; }
percent() {
    awk -v a="$1" -v b="$2" -v t="$3" -v u="$4" -v hz="$(getconf CLK_TCK)" \
        'BEGIN { printf "%.2f", (b - a) / hz / (u - t) * 100 }'
}

# events FILE: the call events the monitor has reported so far. The stream has
# no pause, so the end-of-call timer is re-armed before it runs out: calls ring,
# connect and end, but none is logged.
events() { grep -cE "^corvane-monitor: (incoming|outgoing|waiting|ring-ended|logged)" "$1" || true; }

# Whatever ends the script, it leaves no simulator or monitor behind.
sim_pid=; monitor_pid=
trap 'kill $monitor_pid $sim_pid 2> /dev/null || true' EXIT

# measure STREAM LEVEL: sets CPU_PERCENT, SIM_PERCENT and EVENTS for one run.
measure() {
    dir=$WORK/run-$(basename "$1")-$2
    mkdir -p "$dir/home" "$dir/config"
    "$SIM" --link "$dir/dodova" --play "$1" > "$dir/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do [ -s "$dir/sim.out" ] && break; sleep 0.1; done
    XDG_CONFIG_HOME="$dir/config" "$MONITOR" --port "$dir/dodova" --home "$dir/home" --debug "$2" \
        > /dev/null 2> "$dir/monitor.err" &
    monitor_pid=$!
    for _ in $(seq 200); do grep -q "monitoring" "$dir/monitor.err" && break; sleep 0.1; done
    sleep "$SETTLE_S"
    if ! kill -0 "$monitor_pid" 2> /dev/null; then
        echo "live monitor: corvane-monitor ended early:"; cat "$dir/monitor.err"; exit 1
    fi
    t0=$(uptime_s); m0=$(ticks "$monitor_pid"); s0=$(ticks "$sim_pid"); e0=$(events "$dir/monitor.err")
    sleep "$WINDOW_S"
    t1=$(uptime_s); m1=$(ticks "$monitor_pid"); s1=$(ticks "$sim_pid"); e1=$(events "$dir/monitor.err")
    kill "$monitor_pid"; wait "$monitor_pid" || true
    kill "$sim_pid"; wait "$sim_pid" || true
    sim_pid=; monitor_pid=
    CPU_PERCENT=$(percent "$m0" "$m1" "$t0" "$t1")
    SIM_PERCENT=$(percent "$s0" "$s1" "$t0" "$t1")
    EVENTS=$((e1 - e0))
}

stream raw "$WORK/dense.raw"
stream burst "$WORK/bursts.trace"
echo "live monitor: trace lines back to back at 115200 bit/s, $WINDOW_S s per run"
for level in 0 5; do
    measure "$WORK/dense.raw" "$level"
    [ "$level" = 0 ] && target=$TARGET_0 || target=$TARGET_5
    echo "corvane-monitor at debug level $level: $CPU_PERCENT % of a core (target: under $target %)," \
         "$EVENTS call events; dodova-sim $SIM_PERCENT %"
done
measure "$WORK/bursts.trace" 0
echo "the same in $BURST_MS ms bursts, level 0: $CPU_PERCENT % of a core, $EVENTS call events"

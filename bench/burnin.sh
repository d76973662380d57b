#!/usr/bin/env bash
# The burn-in bench: tessaly-cmd.exe under Wine logging simulated TCP instruments
# (tessaly-sim --instruments 32) with three queries each every second, 32 instruments against one
# in the same run of this script: first with the simulators answering at once, then with every
# answer 20 ms late, as a real instrument's comes; and its memory over a long run of 32
# instruments every 0.1 s.
# Prints the figures and the goals, and appends them to the output file.
# Usage: bench/burnin.sh [OUTPUT_FILE]   (default build/bench-burnin.txt; make bench runs it after
# scripts/bench.sh, into build/bench.txt)
# Settings: TESSALY_BURNIN_ROUNDS (rounds of each timed run, default 60), TESSALY_BURNIN_LONG
# (rounds of the memory run, default 10000, at 0.1 s: about 17 minutes).
#
# Unlike the window bench, nothing is pinned to one CPU: the instruments' threads are meant to run
# side by side, beside 32 simulator processes and the Wine server, on the machine's CPUs.
# Exit status: 0 every goal met, 2 a goal missed, 1 the bench could not run.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
output=$(realpath -m "${1:-$TESSALY_ROOT/build/bench-burnin.txt}")
load_windows_build
use_windows_build_of_this_kernel
for f in "$WIN_BUILD/tessaly-cmd.exe" "$NATIVE_BUILD/tessaly-sim"; do
  [ -f "$f" ] || lib_fail "$f is missing; build first (make build)"
done
enter_private_network "$0" "$output"
trap cleanup EXIT
taskset -cp "0-$(($(nproc --all) - 1))" $$ >/dev/null || true

rounds=${TESSALY_BURNIN_ROUNDS:-60}
long=${TESSALY_BURNIN_LONG:-10000}
work=$WIN_BUILD/burnin
rm -rf "$work" && mkdir -p "$work"
use_wine_prefix "$WIN_BUILD/wineprefix" --no-window-manager
start_sim "$work/sim.out" --instruments 32 --tcp-port 5100 --control-port 5200
cmd=$WIN_BUILD/tessaly-cmd.exe
rows=$TESSALY_ROOT/bench/burnin_rows.py

# The link options of the first N simulated instruments.
links() {
  local i
  for ((i = 0; i < $1; i++)); do printf -- '--tcp\n127.0.0.1:%d\n' $((5100 + i)); done
}

# timed N: a run of N instruments, every second for the rounds asked; its figures.
timed() {
  local -a link
  mapfile -t link < <(links "$1")
  "$WINE" "$cmd" "${link[@]}" --csv --every 1 --count "$rounds" MEAS:VOLT? MEAS:CURR? MEAS:POW? \
    2>"$work/timed$1.err" | python3 "$rows" stamp "$work/timed$1.txt"
  python3 "$rows" rounds "$work/timed$1.txt" 1
  echo "late_lines $(grep -c 'late' "$work/timed$1.err" || true)"
}

# Sets the fault mode of the first 32 simulated instruments.
fault_all() {
  local i reply
  for ((i = 0; i < 32; i++)); do
    exec 3<>"/dev/tcp/127.0.0.1/$((5200 + i))"
    echo "fault $1" >&3
    read -r reply <&3
    exec 3<&-
    [ "$reply" = ok ] || lib_fail "instrument $i refused fault $1: $reply"
  done
}

# Figure NAME from the lines of timed: its first, second or third number.
figure() { awk -v name="$2" -v n="$3" '$1 == name { print $(n + 1) }' <<<"$1"; }

echo "burnin: $rounds rounds of 1 instrument, then of 32, three queries each, every second"
one=$(timed 1)
many=$(timed 32)
echo "burnin: the same with every answer 20 ms late"
fault_all "late 20"
one_late=$(timed 1)
many_late=$(timed 32)
fault_all none

echo "burnin: $long rounds of 32 instruments every 0.1 s, memory sampled every 5 s"
mapfile -t link < <(links 32)
"$WINE" "$cmd" "${link[@]}" --csv --out "$(windows_path "$work/long.csv")" --every 0.1 \
  --count "$long" MEAS:VOLT? MEAS:CURR? MEAS:POW? 2>"$work/long.err" &
pid=$!
track_pid "$pid"
: >"$work/rss.txt"
while kill -0 "$pid" 2>/dev/null; do
  awk '/^VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null >>"$work/rss.txt" || true
  sleep 5
done
wait "$pid" || true
long_rows=$(($(wc -l <"$work/long.csv") - 1))
# Resident memory after the first tenth of the run (the threads, sockets and buffers all made;
# never the first sample, which may come before Wine has loaded the program) against the most it
# reached afterwards, in KB.
samples=$(wc -l <"$work/rss.txt")
tenth=$((samples / 10 + 1))
[ "$tenth" -ge 2 ] || tenth=2
settled=$(sed -n "${tenth}p" "$work/rss.txt")
peak=$(tail -n +"$tenth" "$work/rss.txt" | sort -n | tail -1)
first=$(head -1 "$work/rss.txt")

# The lines of one pair of timed runs, and the goal on their round times: ratio_of ONE MANY.
pair_lines() {
  echo "    1 instrument   $(figure "$1" round_ms 1)  $(figure "$1" round_ms 2)  $(figure "$1" round_ms 3)  ($(figure "$1" rows 1) rows, latest start after its due time $(figure "$1" late_ms 1) ms, $(figure "$1" late_lines 1) late lines)"
  echo "    32 instruments $(figure "$2" round_ms 1)  $(figure "$2" round_ms 2)  $(figure "$2" round_ms 3)  ($(figure "$2" rows 1) rows, latest start after its due time $(figure "$2" late_ms 1) ms, $(figure "$2" late_lines 1) late lines)"
}
ratio_of() { awk -v a="$(figure "$2" round_ms 1)" -v b="$(figure "$1" round_ms 1)" 'BEGIN { printf "%.2f", a / b }'; }
on_time() {
  [ "$(figure "$1" rows 1)" = "$rounds" ] && [ "$(figure "$1" late_lines 1)" = 0 ] &&
    awk -v l="$(figure "$1" late_ms 1)" 'BEGIN { exit !(l < 100) }'
}

report() {
  local ratio ratio_late status=0 verdict
  ratio=$(ratio_of "$one" "$many")
  ratio_late=$(ratio_of "$one_late" "$many_late")
  echo "tessaly-cmd burn-in bench, $(date -u '+%Y-%m-%d %H:%M UTC'), ${WIN_BUILD#"$TESSALY_ROOT"/}/tessaly-cmd.exe under Wine, on all $(nproc --all) CPUs"
  echo "  round time (round start to its row written), ms: median, 95th percentile, most"
  echo "  simulators answering at once:"
  pair_lines "$one" "$many"
  echo "  every answer 20 ms late:"
  pair_lines "$one_late" "$many_late"
  echo "  memory, $long_rows rounds of 32 instruments every 0.1 s: resident KB at the start $first, after a tenth $settled, most afterwards $peak ($samples samples)"
  echo "Goals:"
  for pair in "answering at once:$ratio" "answers 20 ms late:$ratio_late"; do
    verdict=met
    awk -v r="${pair##*:}" 'BEGIN { exit !(r <= 2.0) }' || { verdict=MISSED; status=2; }
    echo "  round time, 32 instruments / 1, ${pair%%:*} ${pair##*:}  (goal: at most 2.00)  $verdict"
  done
  echo "    (answering at once, 32 instruments / 32 times 1, as if read one after another: $(awk -v a="$(figure "$many" round_ms 1)" -v b="$(figure "$one" round_ms 1)" 'BEGIN { printf "%.2f", a / (32 * b) }'))"
  verdict=met
  on_time "$many" && on_time "$many_late" || { verdict=MISSED; status=2; }
  echo "  every row of 32 instruments on time (all $rounds, none 100 ms late, no late line): $verdict"
  verdict=met
  [ "$long_rows" = "$long" ] && [ $((peak - settled)) -le $((settled / 20)) ] ||
    { verdict=MISSED; status=2; }
  echo "  memory flat over $long rounds (most after the first tenth within 5 % of it): $((peak - settled)) KB more  $verdict"
  return $status
}
status=0
report >"$work/report.txt" || status=$?
cat "$work/report.txt"
cat "$work/report.txt" >>"$output"
echo "burnin: figures appended to $output"
exit "$status"

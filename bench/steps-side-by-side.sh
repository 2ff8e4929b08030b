#!/usr/bin/env bash
# Runs steps of the road side by side with two builds on one prepared drive, alternating, and
# prints for each run the wall time and the system calls made (strace -c -f), so that a
# change to what every step runs (the commit, the readers' hold, file writing) is compared
# with the commit before on the same disk.
#
#   bench/steps-side-by-side.sh --before BUILD --after BUILD --drive DIR [--steps "4 7 10 11 12"]
#                               [--runs N]
#
# The drive must hold a whole road's files (scripts/run-pipeline.sh --drive DIR run once);
# each step rewrites its own files, so reruns find the same inputs. Not a test: CI does not
# run it. Needs strace.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
before=
after=
drive=
steps="4 7 10 11 12"
runs=2
usage() {
  echo "usage: bench/steps-side-by-side.sh --before BUILD --after BUILD --drive DIR [--steps LIST] [--runs N]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case "$1" in
    --before) before=$2 ;;
    --after) after=$2 ;;
    --drive) drive=$2 ;;
    --steps) steps=$2 ;;
    --runs) runs=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[ -n "$before" ] && [ -n "$after" ] && [ -d "$drive" ] || usage
"$root/scripts/setup-deps.sh" strace
pipeline=$root/scripts/run-pipeline.sh
mapfile -t captions < <("$pipeline" --build "$after" --print-steps | cut -d'|' -f1)

printf 'step\tbuild\trun\twall s\tsystem calls\n'
for step in $steps; do
  for run in $(seq 1 "$runs"); do
    for build in "$before" "$after"; do
      start=$(date +%s%N)
      "$pipeline" --build "$build" --drive "$drive" --step "$step" >/dev/null
      end=$(date +%s%N)
      calls=-
      if [ "$run" = 1 ]; then  # counted apart: tracing slows the step
        out=$(mktemp)
        strace -c -f -o "$out" "$pipeline" --build "$build" --drive "$drive" --step "$step" >/dev/null
        calls=$(awk '$NF == "total" { print $4 }' "$out")
        rm -f "$out"
      fi
      ms=$(((end - start) / 1000000))
      printf '%s\t%s\t%s\t%d.%02d\t%s\n' "${captions[step - 1]}" "$build" "$run" \
        $((ms / 1000)) $((ms % 1000 / 10)) "$calls"
    done
  done
done

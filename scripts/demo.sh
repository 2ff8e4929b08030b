#!/usr/bin/env bash
# The main job on sample data: installs what is missing, builds, generates a sample world,
# downloads it with datafetch and runs every preparation step of datasetup headless, the
# factor analysis and the weight fit included, then shows what was written, the runs and
# categories of each course kind and how well the fitted weights reproduce the speeds.
#
#   scripts/demo.sh [--size small|year|realistic] [--seed N]
#
# The drive C: of the run is out/demo-drive (or $MERIDAX_DEMO_DRIVE).
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: scripts/demo.sh [--size small|year|realistic] [--seed N]" >&2
  exit 2
}
refuse() {
  echo "demo: $1" >&2
  usage
}

# Every argument is checked before the previous demo drive is cleared.
size=small
seed=1
while [ $# -gt 0 ]; do
  case "$1" in
    --size | --seed)
      [ $# -ge 2 ] || refuse "$1 needs a value"
      [ -n "$2" ] || refuse "the value of $1 is empty"
      if [ "$1" = --size ]; then size=$2; else seed=$2; fi
      shift 2
      ;;
    *) refuse "unknown argument $1" ;;
  esac
done
. scripts/world-arguments.sh
check_world_arguments "$size" "$seed"

scripts/setup-deps.sh
build_dir=${MERIDAX_BUILD_DIR:-build}
if [ -f "$build_dir/tools/meridax-run" ]; then
  echo "building into $build_dir/ (only what changed) ..."
else
  echo "building into $build_dir/: a first build takes about 3 minutes on 8 cores, longer on fewer ..."
fi
scripts/build.sh >/dev/null

drive=${MERIDAX_DEMO_DRIVE:-$PWD/out/demo-drive}
# Only what a demo run makes is cleared, so a drive named by $MERIDAX_DEMO_DRIVE keeps
# anything else it holds.
mkdir -p "$drive"
rm -rf "$drive/MERIDAXPROJECT" "$drive/JVDATA" "$drive/JVDATA-expected" "$drive/JVSTANDIN"
echo "drive C: is $drive"
start=$(date +%s.%N)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
scripts/run-pipeline.sh --build "$build_dir" --drive "$drive" --size "$size" --seed "$seed" |
  tee "$log"
end=$(date +%s.%N)

# A correct download holds exactly what the generator says the service delivered.
for f in "$drive/JVDATA-expected"/*.dat; do
  cmp -s "$f" "$drive/MERIDAXPROJECT/$(basename "$f")" ||
    { echo "raw file differs from the delivered records: $(basename "$f")" >&2; exit 1; }
done
echo "raw record files hold exactly the delivered records"

echo
echo "written under C:\\MERIDAXPROJECT\\:"
printf '  %-16s %9s %14s\n' folder files bytes
summarise() {
  local label=$1 dir=$2 depth=$3
  read -r files bytes < <(find "$dir" -mindepth 1 -maxdepth "$depth" -type f -printf '%s\n' |
    awk '{n++; b+=$1} END {printf "%d %d\n", n, b}')
  printf '  %-16s %9d %14d\n' "$label" "$files" "$bytes"
}
summarise '(top level)' "$drive/MERIDAXPROJECT" 1
for dir in "$drive/MERIDAXPROJECT"/*/; do
  summarise "$(basename "$dir")" "$dir" 1
done
summarise '(all)' "$drive/MERIDAXPROJECT" 2
awk -v s="$start" -v e="$end" 'BEGIN {printf "pipeline took %.1f s\n", e - s}'

# Per course kind: the runs the factor step accepted (the records of its item file, the
# first number of the totals file), the categories of the 30 items and the fit figures
# meridax-weights printed for the tables the second category window scored with.
echo
echo "factor analysis per course kind:"
printf '  %-5s %9s %22s\n' kind runs 'categories min/med/max'
for kind in Siba Dirt Shog; do
  totals=$drive/MERIDAXPROJECT/QA1${kind}TotalData201901N2025.dat
  runs=$(tr -d '\r' <"$totals" | head -1 | cut -d, -f1)
  tr -d '\r' <"$totals" | tail -n +2 | sort -n | awk -v kind="$kind" -v runs="$runs" '
    { c[NR] = $1 }
    END { printf "  %-5s %9d %10d / %g / %d\n", kind, runs, c[1], (c[15] + c[16]) / 2, c[NR] }'
done
echo "weight fit (meridax-weights):"
grep -E '^    (Siba|Dirt|Shog) (Agari|Pace|Soha): ' "$log" | sed 's/^    /  /'

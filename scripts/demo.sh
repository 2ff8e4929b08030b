#!/usr/bin/env bash
# The main job on sample data: installs what is missing, builds, generates a sample world,
# downloads it with datafetch and runs every preparation step of datasetup headless, then
# shows what was written.
#
#   scripts/demo.sh [--size small|year|realistic] [--seed N]
#
# The drive C: of the run is out/demo-drive (or $MERIDAX_DEMO_DRIVE).
set -euo pipefail
cd "$(dirname "$0")/.."

size=small
seed=1
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    *) echo "usage: scripts/demo.sh [--size small|year|realistic] [--seed N]" >&2; exit 2 ;;
  esac
done

scripts/setup-deps.sh
scripts/build.sh >/dev/null
build_dir=${MERIDAX_BUILD_DIR:-build}

drive=${MERIDAX_DEMO_DRIVE:-$PWD/out/demo-drive}
# Only what a demo run makes is cleared, so a drive named by $MERIDAX_DEMO_DRIVE keeps
# anything else it holds.
mkdir -p "$drive"
rm -rf "$drive/MERIDAXPROJECT" "$drive/JVDATA" "$drive/JVDATA-expected" "$drive/JVSTANDIN"
echo "drive C: is $drive"
start=$(date +%s.%N)
scripts/run-pipeline.sh --build "$build_dir" --drive "$drive" --size "$size" --seed "$seed"
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

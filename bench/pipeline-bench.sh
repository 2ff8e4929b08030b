#!/usr/bin/env bash
# Times every step of the whole road (scripts/run-pipeline.sh: the download, the
# preparation, the run history, the factor analysis and the weight fit) on a generated
# world and prices each step against copying the files it read and wrote with cp on the
# same disk (the floor for a step that must write those files). Runs the realistic world
# and, to show how the steps scale, the same world at half its volume.
#
#   bench/pipeline-bench.sh [--build DIR] [--work DIR] [--sizes "realistic half"] [--seed N]
#
# Not a test: CI does not run it. Needs GNU time (/usr/bin/time).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/build
work=$root/out/bench
sizes="realistic half"
seed=1
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build_dir=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    *) echo "usage: bench/pipeline-bench.sh [--build DIR] [--work DIR] [--sizes LIST] [--seed N]" >&2
       exit 2 ;;
  esac
done
"$root/scripts/setup-deps.sh" time
[ -x "$build_dir/tools/meridax-run" ] || MERIDAX_BUILD_DIR=$build_dir "$root/scripts/build.sh" >/dev/null

pipeline=$root/scripts/run-pipeline.sh
mapfile -t steps < <("$pipeline" --build "$build_dir" --print-steps)

# path size mtime inode, one line per file under the data folder
snapshot() { find "$1" -type f -printf '%p\t%s\t%T@\t%i\n' | LC_ALL=C sort; }

results=$work/results.tsv
mkdir -p "$work"
: >"$results"

for size in $sizes; do
  drive=$work/$size
  rm -rf "$drive"
  mkdir -p "$drive/MERIDAXPROJECT"
  for sub in OPTION1N HAHAHAN HAHA HAHAN SHUBOBA SHUBOBAN KYOSOBA KYOSOBAN UMAGOTOSETUP \
             UMAGOTOEXSETUP KISHUGOTOSETUP KISHUFUKUSHO; do
    mkdir -p "$drive/MERIDAXPROJECT/$sub"
  done
  # Time the download without the stand-in's pause per file, which is there for the eye.
  mkdir -p "$drive/JVSTANDIN"
  printf 'ServiceFolder=C:\\JVDATA\\\r\nDownloadDelayMs=0\r\n' >"$drive/JVSTANDIN/settings.txt"
  echo "== $size: generating the world" >&2
  "$build_dir/tools/meridax-sample" --out "$drive/JVDATA" --earlier "$drive/MERIDAXPROJECT" \
    --size "$size" --seed "$seed" >&2
  tmp=$drive/bench-tmp
  mkdir -p "$tmp"
  i=0
  for entry in "${steps[@]}"; do
    i=$((i + 1))
    caption=${entry%%|*}
    snapshot "$drive/MERIDAXPROJECT" >"$tmp/before"
    rm -f "$tmp/trace"
    sync
    if ! MERIDAX_IO_TRACE=$tmp/trace /usr/bin/time -v -o "$tmp/time" \
        "$pipeline" --build "$build_dir" --drive "$drive" --step "$i" >"$tmp/out" 2>&1; then
      echo "step $caption failed:" >&2
      cat "$tmp/out" >&2
      exit 1
    fi
    snapshot "$drive/MERIDAXPROJECT" >"$tmp/after"
    # Written: files that are new or changed. Read: traced files that still exist and were
    # not rewritten.
    LC_ALL=C comm -13 "$tmp/before" "$tmp/after" | cut -f1 >"$tmp/written"
    touch "$tmp/trace"
    LC_ALL=C sort -u "$tmp/trace" | LC_ALL=C comm -23 - <(LC_ALL=C sort "$tmp/written") |
      while IFS= read -r f; do if [ -f "$f" ]; then printf '%s\n' "$f"; fi; done >"$tmp/read"
    files_read=$(wc -l <"$tmp/read")
    files_written=$(wc -l <"$tmp/written")
    bytes_read=$( (tr '\n' '\0' <"$tmp/read" | xargs -0 -r stat -c %s) | awk '{b+=$1} END {print b+0}')
    bytes_written=$( (tr '\n' '\0' <"$tmp/written" | xargs -0 -r stat -c %s) | awk '{b+=$1} END {print b+0}')
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]; print s}' "$tmp/time")
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tmp/time")
    # The floor: cp of the same input and output files into a fresh folder on this disk.
    rm -rf "$tmp/copy"
    mkdir -p "$tmp/copy"
    cat "$tmp/read" "$tmp/written" >"$tmp/all"
    sync
    start=$(date +%s.%N)
    (cd / && sed 's|^/||' "$tmp/all" | tr '\n' '\0' | xargs -0 -r cp --parents -t "$tmp/copy")
    sync
    end=$(date +%s.%N)
    rm -rf "$tmp/copy"
    copy=$(awk -v s="$start" -v e="$end" 'BEGIN {printf "%.3f", e - s}')
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$size" "$caption" "$wall" "$rss" \
      "$files_read" "$bytes_read" "$files_written" "$bytes_written" "$copy" >>"$results"
    echo "   $caption: $wall s" >&2
  done
  rm -rf "$tmp"
done

echo
for size in $sizes; do
  echo "## $size world"
  awk -F'\t' -v size="$size" '
    BEGIN {
      printf "| step | wall s | peak MiB | files read | MB read | files written | MB written | copy s | ratio |\n"
      printf "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n"
    }
    $1 == size {
      ratio = ($9 > 0) ? $3 / $9 : 0
      printf "| %s | %.2f | %.0f | %d | %.1f | %d | %.1f | %.2f | %.2f |\n", $2, $3, $4 / 1024, $5, $6 / 1e6, $7, $8 / 1e6, $9, ratio
      wall += $3; copy += $9; if ($4 > peak) peak = $4
    }
    END { printf "| **all** | %.2f | %.0f | | | | | %.2f | %.2f |\n\n", wall, peak / 1024, copy, (copy > 0) ? wall / copy : 0 }
  ' "$results"
done

# The category window's factor item and categorisation steps alone, on a world of their
# own made to the volume of their inputs.
if [ -x "$build_dir/bench/factors_bench" ]; then
  for size in $sizes; do
    echo "## category window steps, $size volume"
    echo
    "$build_dir/bench/factors_bench" "$size" || echo "(a step took more than three times its floor)"
    echo
  done
fi

set -- $sizes
if [ $# -ge 2 ]; then
  echo "## growth: $1 against $2 (about 2 for linear steps)"
  awk -F'\t' -v big="$1" -v small="$2" '
    BEGIN { printf "| step | %s s | %s s | ratio |\n|---|---:|---:|---:|\n", big, small }
    $1 == big { b[$2] = $3; order[++n] = $2 }
    $1 == small { s[$2] = $3 }
    END { for (i = 1; i <= n; i++) { k = order[i]; printf "| %s | %.2f | %.2f | %.2f |\n", k, b[k], s[k], (s[k] > 0) ? b[k] / s[k] : 0 } }
  ' "$results"
fi

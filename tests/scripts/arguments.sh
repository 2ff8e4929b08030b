#!/usr/bin/env bash
# Wrong arguments of the scripts and tools are refused with exit status 2 and a complaint
# that names what is wrong, before anything is touched: each case runs on a drive that a
# previous run left (a service folder, its expected files, a data folder) and in an empty
# working folder, both compared before and after. Besides, what the tools must neither
# write nor take for success: a probe of a horse without a run file, a summary that cannot
# be printed.
#   arguments.sh BUILD_DIR scripts|tools
set -uo pipefail
build=$(cd "$1" && pwd)
part=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
pipeline=$root/scripts/run-pipeline.sh
demo=$root/scripts/demo.sh
run=$build/tools/meridax-run
weights=$build/tools/meridax-weights
sample=$build/tools/meridax-sample

work=$(mktemp -d "${TMPDIR:-/tmp}/meridax-arguments-XXXXXX")
trap 'rm -rf "$work"' EXIT
# Everything a case could touch lies in tree/; what it printed goes beside.
tree=$work/tree
drive=$tree/drive
mkdir -p "$tree/cwd" "$tree/home" "$drive/JVDATA/pending" "$drive/JVDATA-expected" \
  "$drive/JVSTANDIN"
for sub in OPTION1N HAHAHAN HAHA HAHAN SHUBOBA SHUBOBAN KYOSOBA KYOSOBAN UMAGOTOSETUP \
           UMAGOTOEXSETUP KISHUGOTOSETUP KISHUFUKUSHO; do
  mkdir -p "$drive/MERIDAXPROJECT/$sub"
done
for f in JVDATA/D0001.dat JVDATA/pending/D0002.dat JVDATA-expected/RA20190101.dat \
         MERIDAXPROJECT/RA20190101.dat MERIDAXPROJECT/OPTION1N/SibaTotalData.dat; do
  echo "left by an earlier run: $f" >"$drive/$f"
done
# The defaults an empty value used to fall back on lie inside the work folder too.
export MERIDAX_DRIVE_C=$drive HOME=$tree/home MERIDAX_DEMO_DRIVE=$drive MERIDAX_BUILD_DIR=$build

snapshot() { (cd "$tree" && find . -printf '%p %y %s %T@\n' | LC_ALL=C sort); }
# TEXT as an extended regular expression that matches it alone.
literal() { sed 's/[][\.*^$+?(){}|/]/\\&/g' <<<"$1"; }

failures=0
fail() {
  echo "FAIL: $1" >&2
  sed 's/^/    stdout: /' "$work/out" >&2
  sed 's/^/    stderr: /' "$work/err" >&2
  failures=$((failures + 1))
}

# STATUS PATTERN COMMAND...: the command exits with STATUS, says PATTERN (an extended
# regular expression; empty for anything) on standard error and changes nothing in tree/.
expect() {
  local status=$1 pattern=$2 before got
  shift 2
  local shown
  shown=$(printf '%q ' "${@##*/}")
  before=$(snapshot)
  (cd "$tree/cwd" && exec "$@") >"$work/out" 2>"$work/err" </dev/null
  got=$?
  local wrong=()
  [ "$got" = "$status" ] || wrong+=("exit status $got, not $status")
  [ -z "$pattern" ] || grep -Eq -- "$pattern" "$work/err" ||
    wrong+=("standard error does not say /$pattern/")
  [ "$(snapshot)" = "$before" ] || wrong+=("files changed")
  if [ ${#wrong[@]} -gt 0 ]; then
    fail "$shown: $(IFS=';' && echo "${wrong[*]}")"
    diff <(echo "$before") <(snapshot) | head -20 >&2
  fi
}

# A complaint of a script, then its own usage text (not that of a tool it calls).
refused() { echo "^$1: $2"; }
usage_of() { echo "^usage: scripts/$1"; }

case $part in
  scripts)
    # Step numbers: decimal digits from 1 to the number of steps, no leading zero (the
    # shell would read "08" as octal), nothing generated on a refusal.
    for step in 0 08 09 010 018 034 0000000008 35 -1 +8 1.5 ' 8' '8 ' 8x 0x8 \
                99999999999999999999; do
      expect 2 "$(refused run-pipeline "no step $(literal "$step") \(a number from 1 to 34, ")" \
        "$pipeline" --build "$build" --drive "$drive" --step "$step"
    done
    for args in "--size bogus" "--size half" "--seed -1" "--seed abc" "--seed 1.5" \
                "--seed 01" "--seed 18446744073709551616" "--seed 99999999999999999999"; do
      read -r -a words <<<"$args"
      said="(unknown size|the seed is a whole number from 0 to 18446744073709551615, not) \
$(literal "${words[1]}")$"
      expect 2 "$(refused run-pipeline "$said")" "$pipeline" --build "$build" --drive "$drive" \
        "${words[@]}"
      expect 2 "$(refused demo "$said")" "$demo" "${words[@]}"
    done
    for option in --build --drive --size --seed --step; do
      expect 2 "$(refused run-pipeline "$option needs a value")" \
        "$pipeline" --build "$build" --drive "$drive" "$option"
      expect 2 "$(refused run-pipeline "the value of $option is empty")" \
        "$pipeline" --build "$build" --drive "$drive" "$option" ""
    done
    for option in --size --seed; do
      expect 2 "$(refused demo "$option needs a value")" "$demo" "$option"
      expect 2 "$(refused demo "the value of $option is empty")" "$demo" "$option" ""
    done
    expect 2 "$(refused demo "unknown argument --out")" "$demo" --out "$drive"
    expect 2 "$(refused run-pipeline "unknown argument --out")" \
      "$pipeline" --build "$build" --drive "$drive" --out "$drive"
    expect 2 "$(refused run-pipeline "no program $(literal "$tree/cwd/tools/meridax-run") ")" \
      "$pipeline" --build "$tree/cwd" --drive "$drive"
    expect 2 "$(refused run-pipeline "--drive is required$")" "$pipeline" --build "$build"
    # Each script ends with its own usage text.
    expect 2 "$(usage_of run-pipeline.sh) --build DIR --drive DIR \[--size small\|year\|realistic\]" \
      "$pipeline" --build "$build" --drive "$drive" --size
    expect 2 "$(usage_of demo.sh) \[--size small\|year\|realistic\] \[--seed N\]$" \
      "$demo" --seed -1
    # What is taken: the largest seed, and one step alone (on a drive without a data folder
    # it fails at once, and nothing of the road is generated).
    expect 0 '' "$pipeline" --build "$build" --print-steps --seed 18446744073709551615
    [ "$(wc -l <"$work/out")" = 34 ] || fail "--print-steps lists $(wc -l <"$work/out") steps"
    read -r -a eighth <<<"$(sed -n '8s/^[^|]*|run //p' "$work/out")"
    mkdir "$tree/bare"
    expect 1 '' "$pipeline" --build "$build" --drive "$tree/bare" --step 8
    [ "$(cat "$work/out")" = "$("$run" --drive "$tree/bare" "${eighth[@]}" 2>/dev/null)" ] ||
      fail "--step 8 is not the eighth step listed, ${eighth[*]}"
    ;;
  tools)
    # An empty folder would stand for the default drive or the working folder.
    expect 2 '^meridax-run: --drive needs a value$' "$run" --drive
    expect 2 '^meridax-run: --grids needs a value$' "$run" --grids
    expect 2 '^meridax-run: the value of --drive is empty$' "$run" --drive "" --list
    expect 2 '^meridax-run: the value of --drive is empty$' \
      "$run" --drive "" --probe 2016100001 1 Factor01
    expect 2 '^meridax-run: the value of --grids is empty$' \
      "$run" --grids "" FormCATEGORYSETUP2025ZP.Option1
    expect 2 '^meridax-weights: --drive needs a value$' "$weights" --drive
    expect 2 '^meridax-weights: the value of --drive is empty$' "$weights" --drive "" turf
    for option in --out --earlier --expected --size --seed; do
      expect 2 "^meridax-sample: $option needs a value\$" \
        "$sample" --out "$tree/cwd/s" --size small --seed 1 "$option"
    done
    for option in --out --earlier --expected; do
      expect 2 "^meridax-sample: the value of $option is empty\$" \
        "$sample" --out "$tree/cwd/s" --earlier "$tree/cwd/e" --size small --seed 1 \
        "$option" ""
    done
    # strtoull skips leading blanks and takes a sign.
    for seed in '' ' -1' ' 1' $'\t1' '-0' '+1' '1 ' 18446744073709551616; do
      expect 2 "^meridax-sample: (the seed is a whole number from 0 to 18446744073709551615, \
not |the value of --seed is empty)" "$sample" --out "$tree/cwd/s" --size small --seed "$seed"
    done
    # A probe of a horse without a run file makes none.
    expect 1 "^meridax-run: この馬の拡張レースファイルがありません .*2016100001EX\.dat \(C:\\\\MERIDAXPROJECT\\\\UMAGOTOEXSETUP\\\\2016100001EX\.dat\)\$" \
      "$run" --probe 2016100001 1 Factor01
    # A summary that cannot be printed fails the run, with the reason.
    (cd "$tree/cwd" && exec "$sample" --out "$work/world" --size small --seed 1 --no-hazards) \
      >/dev/full 2>"$work/err"
    got=$?
    : >"$work/out"
    [ "$got" = 1 ] || fail "meridax-sample >/dev/full: exit status $got, not 1"
    said='the world was written, but its summary cannot be written to standard output'
    grep -Eqx "meridax-sample: $said \(.+\)" "$work/err" ||
      fail "meridax-sample >/dev/full: no reason given"
    ;;
  *)
    echo "usage: arguments.sh BUILD_DIR scripts|tools" >&2
    exit 2
    ;;
esac

if [ "$failures" != 0 ]; then
  echo "$failures cases failed" >&2
  exit 1
fi
echo "all cases refused as they should be"

#!/usr/bin/env bash
# The main job, headless: a sample world is generated into the service folder of drive C:
# (with the earlier generation and minimal OPTION1N tables in the data folder), downloaded
# by datafetch's download step and prepared by every main-window step of datasetup in the
# order the steps need each other's files; then the run-history window builds the extended
# run files, a category window extracts the horse lists of the period, sets the factor
# items and categorises them for the three course kinds, meridax-weights fits the weight
# tables of each kind, and a second category window sets and categorises the items again
# with the fitted tables (item 29 then scored by them).
#
#   scripts/run-pipeline.sh --build DIR --drive DIR [--size small|year|realistic]
#                           [--seed N] [--no-hazards] [--skip-generate]
#   scripts/run-pipeline.sh --build DIR --drive DIR --step N
#   scripts/run-pipeline.sh --build DIR --print-steps
#
# Prints each step's status lines with its place in the sequence; exits non-zero as soon
# as a step fails. --step N runs step N alone (from 1, nothing generated); --print-steps
# prints the sequence, one "caption|command" line per step. A wrong argument (a missing or
# empty value, an unknown size, a seed or step number that is not decimal digits without a
# leading zero within range, a build folder without the tools) exits 2 before anything is
# touched.
set -euo pipefail

usage() {
  cat >&2 <<'EOF'
usage: scripts/run-pipeline.sh --build DIR --drive DIR [--size small|year|realistic]
                               [--seed N] [--no-hazards] [--skip-generate]
       scripts/run-pipeline.sh --build DIR --drive DIR --step N
       scripts/run-pipeline.sh --build DIR --print-steps
EOF
  exit 2
}
refuse() {
  echo "run-pipeline: $1" >&2
  usage
}

build_dir=build
drive=
size=small
seed=1
hazards=()
generate=1
print_steps=0
only=
step_given=0
# Every argument is checked before anything is removed, generated or run.
while [ $# -gt 0 ]; do
  case "$1" in
    --build | --drive | --size | --seed | --step)
      [ $# -ge 2 ] || refuse "$1 needs a value"
      # An empty value would quietly stand for the default or the current folder.
      [ -n "$2" ] || refuse "the value of $1 is empty"
      case "$1" in
        --build) build_dir=$2 ;;
        --drive) drive=$2 ;;
        --size) size=$2 ;;
        --seed) seed=$2 ;;
        --step) only=$2 step_given=1 ;;
      esac
      shift 2
      ;;
    --no-hazards) hazards=(--no-hazards); shift ;;
    --skip-generate) generate=0; shift ;;
    --print-steps) print_steps=1; shift ;;
    *) refuse "unknown argument $1" ;;
  esac
done
. "$(dirname "$0")/world-arguments.sh"
check_world_arguments "$size" "$seed"
[ "$print_steps" = 1 ] || [ -n "$drive" ] || refuse "--drive is required"
run="$build_dir/tools/meridax-run"
sample="$build_dir/tools/meridax-sample"
weights="$build_dir/tools/meridax-weights"
for tool in "$run" "$sample" "$weights"; do
  [ -x "$tool" ] || refuse "no program $tool (--build names the build folder)"
done

main=FormMERIDAXPROJECTSETUP2025ZZ
history=FormMERIDAXEXPDSETUP2025ZZ
category=FormCATEGORYSETUP2025ZP
# The period of the horse lists that the factor item steps read.
period=201901

# Each button's caption, as the windows' control tables give it.
declare -A captions=()
while IFS=$'\t' read -r name caption; do captions[$name]=$caption; done < <("$run" --list)
caption_of() {
  [ -n "${captions[$1]+x}" ] || { echo "run-pipeline: $run does not know $1" >&2; exit 2; }
  caption=${captions[$1]}
}

# The order in which each step finds what earlier steps wrote: "caption|tool words...",
# the tool "run" (meridax-run, its steps sharing one window instance) or "weights".
steps=()
window_step() {  # [caption suffix] STEP...: captioned by the last step's button
  local suffix=$1
  shift
  caption_of "${!#}"
  steps+=("$caption$suffix|run $*")
}
for name in KOVF1SETUP19Z1.Command2_Click \
            $main.Command1_Click $main.Command2_Click $main.Command3_Click \
            $main.Command12_Click $main.Command14_Click $main.Command6_Click \
            $main.Command15_Click $main.Command8_Click $main.Command4_Click \
            $main.Command5_Click $main.Command11_Click $main.Command7_Click \
            $history.Command1_Click $history.Command2_Click $main.Command13_Click; do
  window_step "" "$name"
done
kinds=(turf dirt jump)
labels=(芝 ダート 障害)  # the captions of Option1 to Option3
for n in 1 2 3; do
  window_step " ${labels[n - 1]}" $category.Option$n $category.Text1=$period $category.Command1_Click
done
categorise_all() {  # the factor steps and categorisations of a new category window each
  local suffix=$1
  for n in 2 3 4 5 6 7; do window_step "$suffix" $category.Command${n}_Click; done
}
categorise_all ""
for kind in "${kinds[@]}"; do steps+=("meridax-weights $kind|weights $kind"); done
categorise_all " (2)"

total=${#steps[@]}
# No leading zero: the array index would read "08" as octal. Compared by length first: a
# long number would overflow the shell's arithmetic.
[ "$step_given" = 0 ] ||
  { [[ $only =~ ^[1-9][0-9]*$ ]] && [ ${#only} -le ${#total} ] && [ "$only" -le "$total" ]; } ||
  refuse "no step $only (a number from 1 to $total, as --print-steps lists them)"

if [ "$print_steps" = 1 ]; then
  printf '%s\n' "${steps[@]}"
  exit 0
fi

data="$drive/MERIDAXPROJECT"

run_step() {  # "tool words..."
  local words
  read -r -a words <<<"$1"
  case ${words[0]} in
    run) "$run" --drive "$drive" "${words[@]:1}" ;;
    weights) "$weights" --drive "$drive" "${words[@]:1}" ;;
  esac
}

if [ "$step_given" = 1 ]; then
  run_step "${steps[only - 1]#*|}"
  exit
fi

mkdir -p "$data"
for sub in OPTION1N HAHAHAN HAHA HAHAN SHUBOBA SHUBOBAN KYOSOBA KYOSOBAN UMAGOTOSETUP \
           UMAGOTOEXSETUP KISHUGOTOSETUP KISHUFUKUSHO; do
  mkdir -p "$data/$sub"
done

if [ "$generate" = 1 ]; then
  rm -rf "$drive/JVDATA" "$drive/JVDATA-expected"
  # The service folder for the download, and in the data folder what comes from outside
  # the system: the earlier generation and the OPTION1N tables.
  "$sample" --out "$drive/JVDATA" --earlier "$data" --size "$size" --seed "$seed" \
    "${hazards[@]}"
fi

i=0
for entry in "${steps[@]}"; do
  i=$((i + 1))
  caption=${entry%%|*}
  echo "[$i/$total] $caption"
  # Unbuffered, so a step's progress lines (the download's "3 / 12") show as they come.
  if ! run_step "${entry#*|}" | sed -u 's/^/    /'; then
    echo "run-pipeline: $caption failed" >&2
    exit 1
  fi
done

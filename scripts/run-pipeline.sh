#!/usr/bin/env bash
# The main job, headless: a sample world is generated into the service folder of drive C:
# (with the earlier generation and the OPTION1N tables in the data folder), downloaded by
# datafetch's download step and prepared by every main-window step of datasetup in the
# order the steps need each other's files.
#
#   scripts/run-pipeline.sh --build DIR --drive DIR [--size small|year|realistic]
#                           [--seed N] [--no-hazards] [--skip-generate]
#   scripts/run-pipeline.sh --build DIR --print-steps
#
# Prints each step's status lines with its place in the sequence; exits non-zero as soon
# as a step fails. --print-steps prints the sequence, one "STEP|caption" line per step.
set -euo pipefail

build_dir=build
drive=
size=small
seed=1
hazards=()
generate=1
print_steps=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build_dir=$2; shift 2 ;;
    --drive) drive=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --no-hazards) hazards=(--no-hazards); shift ;;
    --skip-generate) generate=0; shift ;;
    --print-steps) print_steps=1; shift ;;
    *) echo "run-pipeline: unknown argument $1" >&2; exit 2 ;;
  esac
done
run="$build_dir/tools/meridax-run"
sample="$build_dir/tools/meridax-sample"

# The order in which each step finds what earlier steps wrote.
names=(
  KOVF1SETUP19Z1.Command2_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command1_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command2_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command3_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command12_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command14_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command6_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command15_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command8_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command4_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command5_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command11_Click
  FormMERIDAXPROJECTSETUP2025ZZ.Command7_Click
)
# Each with its button's caption, as the windows' control tables give it.
declare -A captions=()
while IFS=$'\t' read -r name caption; do captions[$name]=$caption; done < <("$run" --list)
steps=()
for name in "${names[@]}"; do
  [ -n "${captions[$name]+x}" ] || { echo "run-pipeline: $run does not know $name" >&2; exit 2; }
  steps+=("$name|${captions[$name]}")
done
if [ "$print_steps" = 1 ]; then
  printf '%s\n' "${steps[@]}"
  exit 0
fi

[ -n "$drive" ] || { echo "run-pipeline: --drive is required" >&2; exit 2; }
data="$drive/MERIDAXPROJECT"

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

total=${#steps[@]}
i=0
for entry in "${steps[@]}"; do
  i=$((i + 1))
  name=${entry%%|*}
  caption=${entry#*|}
  echo "[$i/$total] $caption"
  if ! "$run" --drive "$drive" "$name" | sed 's/^/    /'; then
    echo "run-pipeline: $caption failed" >&2
    exit 1
  fi
done

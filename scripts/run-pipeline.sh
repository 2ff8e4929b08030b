#!/usr/bin/env bash
# The main job, headless: a sample world is generated into the service folder of drive C:
# (with the earlier generation and the OPTION1N tables in the data folder), downloaded by
# datafetch's download step and prepared by every main-window step of datasetup in the
# order the steps need each other's files.
#
#   scripts/run-pipeline.sh --build DIR --drive DIR [--size small|year|realistic]
#                           [--seed N] [--no-hazards] [--skip-generate]
#
# Prints each step's status lines with its place in the sequence; exits non-zero as soon
# as a step fails.
set -euo pipefail

build_dir=build
drive=
size=small
seed=1
hazards=()
generate=1
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build_dir=$2; shift 2 ;;
    --drive) drive=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --no-hazards) hazards=(--no-hazards); shift ;;
    --skip-generate) generate=0; shift ;;
    *) echo "run-pipeline: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$drive" ] || { echo "run-pipeline: --drive is required" >&2; exit 2; }

run="$build_dir/tools/meridax-run"
sample="$build_dir/tools/meridax-sample"
data="$drive/MERIDAXPROJECT"

# The order in which each step finds what earlier steps wrote.
steps=(
  "KOVF1SETUP19Z1.Command2_Click|2024年1月1日セットアップ"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command1_Click|RA(レース）"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command2_Click|SE(詳細)"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command3_Click|UM(競走馬)"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command12_Click|KS(騎手）"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command14_Click|CH/BR/BN"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command6_Click|SE/UM"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command15_Click|SE/KS"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command8_Click|血統Q、騎手"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command4_Click|SK（母産駒）"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command5_Click|SK（父産駒）"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command11_Click|SK/HN"
  "FormMERIDAXPROJECTSETUP2025ZZ.Command7_Click|HN（繁殖）"
)

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

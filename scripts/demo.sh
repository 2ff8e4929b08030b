#!/usr/bin/env bash
# The main job on sample data: builds, prepares a drive root and runs the steps that
# exist headless through meridax-run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh >/dev/null
build_dir=${MERIDAX_BUILD_DIR:-build}

drive=${MERIDAX_DEMO_DRIVE:-$PWD/out/demo-drive}
rm -rf "$drive"
mkdir -p "$drive/MERIDAXPROJECT"
for sub in OPTION1N HAHAHAN HAHA HAHAN SHUBOBA SHUBOBAN KYOSOBA KYOSOBAN UMAGOTOSETUP \
           UMAGOTOEXSETUP KISHUGOTOSETUP KISHUFUKUSHO; do
  mkdir -p "$drive/MERIDAXPROJECT/$sub"
done
echo "drive C: is $drive"
echo "steps available:"
"$build_dir/tools/meridax-run" --list

# A small sample world as the service folder, downloaded into the raw record files.
"$build_dir/tools/meridax-sample" --out "$drive/JVDATA" --size small --seed 1 \
  --expected "$drive/expected"
"$build_dir/tools/meridax-run" --drive "$drive" KOVF1SETUP19Z1.Command2_Click | tail -1
for f in "$drive/expected"/*.dat; do
  cmp -s "$f" "$drive/MERIDAXPROJECT/$(basename "$f")" || { echo "differs: $(basename "$f")"; exit 1; }
done
echo "raw record files as expected"

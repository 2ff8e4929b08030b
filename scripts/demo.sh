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

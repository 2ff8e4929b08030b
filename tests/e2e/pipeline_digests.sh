#!/usr/bin/env bash
# Runs the whole download and preparation sequence on a small sample world in a temporary
# drive and compares a digest of every file it wrote with the committed list.
#   pipeline_digests.sh BUILD_DIR GOLDEN_FILE
# With MERIDAX_UPDATE_GOLDEN=1 the list is rewritten instead; a change of any output byte
# must then be explained in the commit that changes the list.
set -euo pipefail
build_dir=$1
golden=$2
root=$(cd "$(dirname "$0")/../.." && pwd)

drive=$(mktemp -d "${TMPDIR:-/tmp}/meridax-e2e-XXXXXX")
trap 'rm -rf "$drive"' EXIT

"$root/scripts/run-pipeline.sh" --build "$build_dir" --drive "$drive" --size small --seed 1 \
  >"$drive/pipeline.log" 2>&1 || { cat "$drive/pipeline.log"; exit 1; }

actual="$drive/digests"
(cd "$drive/MERIDAXPROJECT" && find . -type f -print0 | LC_ALL=C sort -z |
   xargs -0 -r sha256sum) >"$actual"

if [ "${MERIDAX_UPDATE_GOLDEN:-0}" = 1 ]; then
  cp "$actual" "$golden"
  echo "wrote $(wc -l <"$golden") digests to $golden"
  exit 0
fi
if ! diff -u "$golden" "$actual"; then
  echo "outputs differ from the golden digests (see the diff above); pipeline log:" >&2
  cat "$drive/pipeline.log" >&2
  exit 1
fi
echo "$(wc -l <"$actual") files match the golden digests"

#!/usr/bin/env bash
# Fresh machine to passing tests: installs what is missing, builds, runs every test.
#   scripts/test.sh [--sanitize]
# --sanitize builds with the address and undefined-behaviour sanitizers into build-sanitize/
# (or $MERIDAX_BUILD_DIR) and runs every test there; any sanitizer report fails the run,
# also one from a test that expects its program to fail.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=0
case "${1:-}" in
  "") ;;
  --sanitize) sanitize=1 ;;
  *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
esac
scripts/setup-deps.sh
if [ "$sanitize" = 1 ]; then
  export MERIDAX_BUILD_DIR=${MERIDAX_BUILD_DIR:-build-sanitize} MERIDAX_SANITIZE=ON
  # Exported before the build, which runs the test programs to list their tests, and seen by
  # every program the tests start. Every report stops its process with a failing status.
  supp=$PWD/scripts/sanitize.supp
  export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1
  export LSAN_OPTIONS=suppressions=$supp:print_suppressions=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
fi
scripts/build.sh
build_dir=${MERIDAX_BUILD_DIR:-build}
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" \
  --test-output-size-passed 100000000 --test-output-size-failed 100000000 || status=$?
if [ "$sanitize" = 1 ]; then
  # A test that expects a failing exit or only looks for a line passes despite a report.
  log=$build_dir/Testing/Temporary/LastTest.log
  pattern='(Address|Leak|UndefinedBehavior)Sanitizer|runtime error:'
  if grep -Eq "$pattern" "$log"; then
    echo "sanitizer reports in the output of these tests (whole output in $log):" >&2
    awk -v pattern="$pattern" '
      /^[0-9]+\/[0-9]+ Test: / { name = $3 }
      $0 ~ pattern && !(name in seen) { seen[name] = 1; print "  " name ": " $0 }' "$log" >&2
    status=1
  fi
fi
exit "$status"

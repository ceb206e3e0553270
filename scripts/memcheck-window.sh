#!/usr/bin/env bash
# valgrind memcheck of the real window, offscreen: one Start, a run through both filter modes
# with the display refresh, Stop and a close request (the long-run program, for a few seconds).
# Passes when valgrind finds no invalid access, no use of an undefined value and no definite
# or indirect leak; tests/ui/valgrind.supp holds what belongs to Qt, fontconfig, glib and the
# system. BUILD names the build folder (default build), MEMCHECK_SECONDS the run's length.
set -uo pipefail
cd "$(dirname "$0")/.."

BUILD=${BUILD:-build}
RUN_SECONDS=${MEMCHECK_SECONDS:-4}
JOBS=${JOBS:-$(nproc)}
program="$BUILD/bench/bench_window_longrun"
log="$BUILD/memcheck-window.log"

if ! command -v valgrind >/dev/null; then
  echo "memcheck: valgrind is not installed (Debian package valgrind)" >&2
  exit 2
fi
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 2
fi
cmake --build "$BUILD" -j "$JOBS" --target bench_window_longrun || exit 2

echo "memcheck: $program $RUN_SECONDS s under valgrind, log in $log"
QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --leak-check=full \
  --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect \
  --track-origins=yes --num-callers=40 --suppressions=tests/ui/valgrind.supp \
  --error-exitcode=99 --log-file="$log" \
  "$program" "$RUN_SECONDS" --memcheck
status=$?

grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|suppressed:" "$log" | sed 's/^==[0-9]*== */  /'
case $status in
  0) echo "memcheck: clean" ;;
  99) echo "memcheck: valgrind found errors, see $log" >&2 ;;
  *) echo "memcheck: the window run failed (exit status $status), see $log" >&2 ;;
esac
exit $status

#!/usr/bin/env bash
# Runs the window's QtTest programs once under valgrind's memcheck; any memory error or definite
# leak fails the run.
#   tests/valgrind/memcheck_window.sh BUILD_DIR
# Qt compiles its regular expressions to machine code at run time, and memcheck cannot follow
# that code's deliberate reads past initialised data; QT_ENABLE_REGEXP_JIT=0 keeps Qt on the
# interpreter so that nothing needs hiding. qt.supp holds what the platform libraries report on
# their own.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$1
if ! command -v valgrind >/dev/null 2>&1; then
    echo "memcheck_window.sh: valgrind is not installed" >&2
    exit 1
fi
shopt -s nullglob
tests=("$build"/tests/window/window_*_tests)
if [ ${#tests[@]} -eq 0 ]; then
    echo "memcheck_window.sh: no window tests in $build/tests/window; nothing to check"
    exit 0
fi
status=0
for test in "${tests[@]}"; do
    log=$build/memcheck-${test##*/}.log
    echo "== ${test##*/} under memcheck =="
    if QT_QPA_PLATFORM=offscreen QT_ENABLE_REGEXP_JIT=0 valgrind --tool=memcheck \
        --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
        --errors-for-leak-kinds=definite --track-origins=yes --num-callers=40 \
        --suppressions=tests/valgrind/qt.supp "$test" >"$log" 2>&1; then
        grep -E 'ERROR SUMMARY|^Totals' "$log" | sed 's/^==[0-9]*== //'
    else
        echo "${test##*/} failed under memcheck (full log: $log):"
        grep -E -A30 'Invalid|uninitialised|definitely lost in|FAIL!' "$log" | head -n 120
        status=1
    fi
done
exit $status

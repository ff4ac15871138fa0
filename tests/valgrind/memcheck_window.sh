#!/usr/bin/env bash
# Runs the window's QtTest programs once under valgrind's memcheck, two at a time; any memory
# error or definite leak fails the run.
#   tests/valgrind/memcheck_window.sh BUILD_DIR
# Qt compiles its regular expressions to machine code at run time, and memcheck cannot follow
# that code's deliberate reads past initialised data; QT_ENABLE_REGEXP_JIT=0 keeps Qt on the
# interpreter so that nothing needs hiding. qt.supp holds what the platform libraries report on
# their own. Origins of uninitialised values are not tracked (it doubles the time); to find
# where one came from, run the failing program again with --track-origins=yes.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$1
lanes=${MEMCHECK_LANES:-2}
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

# check TEST: its log in BUILD_DIR/memcheck-NAME.log, its exit status in .status beside it.
check() {
    local test=$1 log=$build/memcheck-${1##*/}.log status=0
    QT_QPA_PLATFORM=offscreen QT_ENABLE_REGEXP_JIT=0 valgrind --tool=memcheck \
        --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
        --errors-for-leak-kinds=definite --num-callers=40 \
        --suppressions=tests/valgrind/qt.supp "$test" >"$log" 2>&1 || status=$?
    echo "$status" >"$log.status"
}

running=0
for test in "${tests[@]}"; do
    if [ "$running" -ge "$lanes" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    check "$test" &
    running=$((running + 1))
done
wait

status=0
for test in "${tests[@]}"; do
    log=$build/memcheck-${test##*/}.log
    echo "== ${test##*/} under memcheck =="
    if [ "$(cat "$log.status")" = 0 ]; then
        grep -E 'ERROR SUMMARY|^Totals' "$log" | sed 's/^==[0-9]*== //'
    else
        echo "${test##*/} failed under memcheck (full log: $log):"
        grep -E -A30 'Invalid|uninitialised|definitely lost in|FAIL!' "$log" | head -n 120
        status=1
    fi
done
exit $status

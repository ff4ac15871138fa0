#!/usr/bin/env bash
# The bash completion of vesk against the built tool: the values of the options that take a word
# (both ways the help lists them), file names where a file is wanted, and the options themselves.
#   completion_test.sh TOOL COMPLETION_SCRIPT
set -u
tool_dir=$(dirname "$1")
PATH=$tool_dir:$PATH
# shellcheck source=/dev/null
source "$2"
failures=0

# expect "EXPECTED" WORD...: completes the last word of the line and compares the offers.
expect() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _vesk
    if [ "${COMPREPLY[*]}" != "$expected" ]; then
        echo "FAIL: '$*' offered '${COMPREPLY[*]}', not '$expected'" >&2
        failures=$((failures + 1))
    fi
}

expect "annealing fields sga gaco ihs nsga2" vesk evolve --algorithm ""
expect "sga" vesk evolve --algorithm s
expect "distance sweep" vesk evolve --objective ""
expect "json plain" vesk evolve --format ""
expect "csv" vesk score --format c
expect "bar json none" vesk evolve --progress ""
expect "--algorithm" vesk evolve --al
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/target-one.txt"
expect "$scratch/target-one.txt" vesk evolve --target "$scratch/target-o"
expect "$scratch/target-one.txt" vesk plot -o "$scratch/target-o"
expect "$scratch/target-one.txt" vesk evolve --targets "$scratch/target-o"
[ "$failures" -eq 0 ] && echo "completion: all offers as expected"
exit $((failures > 0))

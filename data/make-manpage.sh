#!/usr/bin/env bash
# Writes vesk.1 from the tool's own --help texts (help2man), one section a command, so that the
# manual page cannot drift from the tool.
#   data/make-manpage.sh PATH/TO/vesk OUT.1
set -euo pipefail
tool=$1
out=$2
include=$(mktemp)
trap 'rm -f "$include"' EXIT
{
    echo "[COMMANDS]"
    for command in $("$tool" --help | awk '/^Subcommands:/{on=1; next} on && /^  [a-z]/{print $1} on && /^$/{exit}'); do
        echo ".SS $command"
        echo ".nf"
        "$tool" "$command" --help | sed 's/\\/\\\\/g; s/^\./\\\&./'
        echo ".fi"
    done
} >"$include"
help2man --no-info --name="the Vesk workbench's commands from the command line" \
    --include="$include" --output="$out" "$tool"

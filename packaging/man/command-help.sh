#!/bin/sh
# Prints a program's --help followed by the help of each of its commands, for
# help2man: quelro-cli's manual page lists every command with its arguments
# and options exactly as the program itself reports them.
#   command-help.sh PROGRAM --help
program=$1
"$program" --help || exit
"$program" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' |
    while read -r command; do
        # "Usage: quelro-cli new [OPTIONS]" becomes the heading, the
        # description its first line, then the arguments and options.
        "$program" "$command" --help | awk '
            NR == 1 { description = $0; next }
            /^Usage: / { sub(/^Usage: /, ""); printf "\n%s:\n  %s\n\n", $0, description; next }
            /^[A-Z][a-z]*:$/ || /^$/ || /^  -h,--help / { next }
            { print }'
    done

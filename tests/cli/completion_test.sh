#!/usr/bin/env bash
# The bash completion of polyshift-cli in a test shell, as bash calls it: a command line cut
# into COMP_WORDS the way bash cuts it (blanks, and ':' as a word of its own), COMP_CWORD on
# its last word, the completion function called, COMPREPLY checked.
#   completion_test.sh CLI SCRIPT              with bash alone
#   completion_test.sh CLI SCRIPT --loader     found and loaded by bash-completion's loader, as
#                                              the package installs it (skipped, status 77,
#                                              when bash-completion is not installed)
set -u
cli=$(realpath "$1") script=$(realpath "$2") mode=${3:-}
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ $mode == --loader ]]; then
    framework=/usr/share/bash-completion/bash_completion
    if [[ ! -r $framework ]]; then
        echo "skipped: bash-completion is not installed ($framework missing)"
        exit 77
    fi
    mkdir -p "$work/user/completions"
    ln -s "$script" "$work/user/completions/polyshift-cli"
    export BASH_COMPLETION_USER_DIR=$work/user
    # shellcheck disable=SC1090
    source "$framework"
    if declare -F _comp_load >/dev/null; then
        _comp_load polyshift-cli
    else
        __load_completion polyshift-cli
    fi
    if [[ $(complete -p polyshift-cli 2>/dev/null) != *"-F _polyshift_cli "* ]]; then
        echo "FAIL: the loader did not find the completion: $(complete -p polyshift-cli 2>&1)"
        exit 1
    fi
else
    # shellcheck disable=SC1090
    source "$script"
fi

# Completes LINE (the cursor at its end); COMPREPLY sorted, one per line, in $reply.
complete_line() {
    COMP_LINE=$1
    COMP_POINT=${#1}
    COMP_WORDS=()
    local part rest
    read -ra parts <<<"$1"
    for part in "${parts[@]}"; do
        while [[ $part == *:* ]]; do
            rest=${part%%:*}
            [[ -n $rest ]] && COMP_WORDS+=("$rest")
            COMP_WORDS+=(":")
            part=${part#*:}
        done
        [[ -n $part ]] && COMP_WORDS+=("$part")
    done
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _polyshift_cli
    reply=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort)
}

expect() {  # LINE EXPECTED (sorted, one per line)
    complete_line "$1"
    if [[ $reply != "$2" ]]; then
        echo "FAIL: '$1'"
        echo "  expected: $(echo "$2" | tr '\n' ' ')"
        echo "  got:      $(echo "$reply" | tr '\n' ' ')"
        failures=$((failures + 1))
    fi
}

lines() { printf '%s\n' "$@" | sort; }

mkdir -p "$work/tree/sub dir" "$work/tree/other"
touch "$work/tree/a.txt" "$work/tree/b.tbl" "$work/tree/work.pzl" "$work/tree/OLD.PZL"
cd "$work/tree" || exit 1

# Commands, then nothing after the ones that take nothing.
expect "$cli s" "$(lines save scan)"
expect "$cli i" "info"
expect "$cli info --" "--json"
expect "$cli l" "$(lines list lower)"
expect "$cli list " ""
expect "$cli about -" ""

# Options of each command: every option its usage line names is offered, and every option
# offered is one the program takes.
usage=$("$cli" --help | sed '/^$/q' | sed 's/^usage://' |
    awk '/^ *polyshift-cli/ { if (line) print line; line = $0; next } { line = line " " $0 }
         END { print line }')
for command in run save info scan lower regex; do
    complete_line "$cli $command -"
    offered=$reply
    named=$(echo "$usage" | awk -v c="$command" '$2 == c' |
        grep -oE '(^|[[( ])--?[a-z][-a-z]*' | sed 's/^[[( ]//' | sort -u)
    if [[ -z $named ]]; then
        echo "FAIL: the usage names no options of '$command'"
        failures=$((failures + 1))
    fi
    for option in $named; do
        if ! grep -qxF -- "$option" <<<"$offered"; then
            echo "FAIL: '$command -' does not offer $option"
            failures=$((failures + 1))
        fi
    done
    for option in $offered; do
        if "$cli" "$command" "$option" x 2>&1 | grep -q "unknown option"; then
            echo "FAIL: '$command -' offers $option, which the program refuses"
            failures=$((failures + 1))
        fi
    done
done
expect "$cli scan --no-" "$(lines --no-kana --no-special --no-extended --no-user)"
expect "$cli lower --" "$(lines --ext-upper --name-upper)"

# Functions as 'list' names them, also once bash has cut the word at its colon.
functions=$("$cli" list | awk -F '\t' 'NF > 1 { print $1 }' | sort)
if [[ -z $functions ]] || ! grep -q '^encswap:0$' <<<"$functions"; then
    echo "FAIL: 'list' names no functions as NAME:INDEX:"
    "$cli" list
    failures=$((failures + 1))
fi
expect "$cli run -f " "$functions"
expect "$cli run -o out -f enc" "$(grep '^enc' <<<"$functions")"
expect "$cli save -f encswap:" "$(grep '^encswap:' <<<"$functions" | sed 's/^encswap://')"
expect "$cli run -f encswap:0" "0"
expect "$cli run -f nothing-like-it" ""

# Paths: folders after -o, settings lists (and folders) after -s, any file elsewhere.
expect "$cli run -o " "$(lines other "sub dir")"
expect "$cli run -o su" "sub dir"
expect "$cli run -s " "$(lines OLD.PZL other "sub dir" work.pzl)"
expect "$cli run -t b" "b.tbl"
expect "$cli scan " "$(lines a.txt b.tbl OLD.PZL other "sub dir" work.pzl)"
expect "$cli regex -e s/a/b/ a" "a.txt"
expect "$cli run -f encswap:0 w" "work.pzl"
# A word that only ends in a colon before a blank stays a word of its own.
expect "$cli scan x: a" "a.txt"
# Nothing to offer for a command text or a number.
expect "$cli regex -e " ""
expect "$cli run --jobs " ""

if ((failures > 0)); then
    echo "$failures failures"
    exit 1
fi
echo "all completions as expected${mode:+ ($mode)}"

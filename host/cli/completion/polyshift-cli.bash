# Bash completion of polyshift-cli: its commands, each command's own options, the functions
# after -f as NAME:INDEX (asked of the very program being completed, with 'list'), settings
# lists (*.pzl) after -s, folders after -o and files everywhere else a path goes.
#
# Only bash's own compgen is used, so the script works with or without the bash-completion
# package; the package's loader finds it under the program's name
# (/usr/share/bash-completion/completions/polyshift-cli).

# Sets _polyshift_cli_words and _polyshift_cli_cword from COMP_WORDS and COMP_CWORD, with the
# pieces bash cut at ':' joined again ("encswap", ":", "0" is one word "encswap:0"). With
# COMP_LINE a colon joins only what stands without blanks around it.
_polyshift_cli_join_words() {
    local line=${COMP_LINE-} i word spaced
    _polyshift_cli_words=()
    _polyshift_cli_cword=0
    for ((i = 0; i < ${#COMP_WORDS[@]}; i++)); do
        word=${COMP_WORDS[i]}
        spaced=0
        if [[ -n $line ]]; then
            local rest=${line#"${line%%[![:space:]]*}"}
            [[ ${#rest} -ne ${#line} ]] && spaced=1
            line=${rest#"$word"}
        fi
        local last=$((${#_polyshift_cli_words[@]} - 1))
        if ((i > 0 && !spaced)) && [[ $word == : || ${_polyshift_cli_words[last]} == *: ]]; then
            _polyshift_cli_words[last]+=$word
        else
            _polyshift_cli_words+=("$word")
        fi
        ((i == COMP_CWORD)) && _polyshift_cli_cword=$((${#_polyshift_cli_words[@]} - 1))
    done
}

# The options each command takes (as the program parses them).
_polyshift_cli_options() {
    case $1 in
        run) echo "-s -o -t -f --overwrite --backup --keep-time --no-output -y --jobs -j --binary" ;;
        save) echo "-s -o -t -f --overwrite --no-output -y --jobs -j" ;;
        info) echo "--json" ;;
        scan) echo "--no-kana --no-special --no-extended --no-user --unify-breaks --raw" ;;
        lower) echo "--ext-upper --name-upper" ;;
        regex) echo "-e -o --overwrite --no-output -y --binary" ;;
    esac
}

# Adds the paths compgen gives for "$@" to COMPREPLY, one per line, blanks kept.
_polyshift_cli_paths() {
    local path
    while IFS= read -r path; do
        COMPREPLY+=("$path")
    done < <(compgen "$@")
}

_polyshift_cli() {
    local _polyshift_cli_words _polyshift_cli_cword
    _polyshift_cli_join_words
    local cur=${_polyshift_cli_words[_polyshift_cli_cword]}
    local prev=${_polyshift_cli_words[_polyshift_cli_cword - 1]}
    local program=${_polyshift_cli_words[0]} command=${_polyshift_cli_words[1]-}
    COMPREPLY=()

    if ((_polyshift_cli_cword == 1)); then
        COMPREPLY=($(compgen -W "list run save info scan lower regex about help --help --version" \
            -- "$cur"))
        return
    fi
    case $prev in
        -o)
            compopt -o filenames 2>/dev/null
            _polyshift_cli_paths -d -- "$cur"
            return
            ;;
        -s)
            compopt -o filenames 2>/dev/null
            _polyshift_cli_paths -d -- "$cur"
            _polyshift_cli_paths -f -X '!*.[pP][zZ][lL]' -- "$cur"
            return
            ;;
        -t)
            compopt -o filenames 2>/dev/null
            _polyshift_cli_paths -f -- "$cur"
            return
            ;;
        -f)
            local names
            names=$(command -- "${program/#\~/$HOME}" list 2>/dev/null |
                while IFS=$'\t' read -r name title; do
                    [[ -n $title && $name == *:* ]] && printf '%s\n' "$name"
                done)
            COMPREPLY=($(compgen -W "$names" -- "$cur"))
            # Bash puts back only what follows the word's last colon.
            if [[ $cur == *:* ]]; then
                local i kept=${cur%"${cur##*:}"}
                for i in "${!COMPREPLY[@]}"; do
                    COMPREPLY[i]=${COMPREPLY[i]#"$kept"}
                done
            fi
            return
            ;;
        -e | --jobs | -j)
            return  # a command or a number: nothing to offer
            ;;
    esac
    local options
    options=$(_polyshift_cli_options "$command")
    if [[ -z $options ]]; then
        return  # list, about, help and --version take nothing more
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    compopt -o filenames 2>/dev/null
    _polyshift_cli_paths -f -- "$cur"
}

complete -F _polyshift_cli polyshift-cli

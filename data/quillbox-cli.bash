# bash completion for quillbox-cli. Commands and options are read from the program's own
# --help, so the completion never lists what the program does not know.

_quillbox_cli() {
    local cur prev words cword
    _init_completion -s 2>/dev/null || {
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD-1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    }
    local prog=${words[0]}

    case $prev in
        --home|--dir) COMPREPLY=($(compgen -d -- "$cur")); return ;;
        --ext|--name|--description|--from|--to|--also-from|--also-to|--keyword|--min-size|--set|--groups|--files|--group)
            return ;;
    esac

    # The command is the first word that is neither an option nor an option's value.
    local i command="" sub=""
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --home) ((i++)) ;;
            -*) ;;
            *) if [[ -z $command ]]; then command=${words[i]}; elif [[ -z $sub ]]; then sub=${words[i]}; fi ;;
        esac
    done

    local help
    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--home --yes --no --help --version" -- "$cur"))
        else
            help=$("$prog" --help 2>/dev/null | sed -n '/^commands:/,/^$/{s/^  \([a-z-]*\).*/\1/p}' | sort -u)
            COMPREPLY=($(compgen -W "$help" -- "$cur"))
        fi
        return
    fi
    help=$("$prog" "$command" --help 2>/dev/null)
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(grep -o -- '--[a-z-]*' <<<"$help" | sort -u) --help" -- "$cur"))
        return
    fi
    # Words such as "add" or "show" right after the command are its sub-commands.
    if [[ -z $sub ]]; then
        local subs
        subs=$(sed -n "s/^ *quillbox-cli .* $command \([a-z][a-z]*\)\( .*\)\?$/\1/p" <<<"$help" | sort -u)
        if [[ -n $subs ]]; then
            COMPREPLY=($(compgen -W "$subs" -- "$cur"))
            return
        fi
    fi
    COMPREPLY=($(compgen -f -- "$cur"))
    compopt -o filenames 2>/dev/null
}
complete -F _quillbox_cli quillbox-cli

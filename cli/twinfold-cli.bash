# bash completion for twinfold-cli
_twinfold_cli()
{
    local cur prev words cword
    _init_completion || return
    case $prev in
        --log-dir | --config-dir) _filedir -d; return ;;
        --include-from | --exclude-from) _filedir; return ;;
        --answer) COMPREPLY=($(compgen -W 'yes no' -- "$cur")); return ;;
        --log-format) COMPREPLY=($(compgen -W 'text json' -- "$cur")); return ;;
        --type) COMPREPLY=($(compgen -W '0 1 2 3 4' -- "$cur")); return ;;
        --time-shift) COMPREPLY=($(compgen -W '-2 -1 1 2' -- "$cur")); return ;;
        --jobs) COMPREPLY=($(compgen -W '1 8 16 32' -- "$cur")); return ;;
        --include | --exclude | --buffer) return ;;
    esac
    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        case $word in sync | batch) command=$word; break ;; esac
    done
    local shared='--answer --log-dir --log-format --quiet --verbose --itemize --fsync --keep-going --json --time-shift --jobs --help'
    case $command in
        sync)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--all --type --include --exclude --include-from --exclude-from --buffer --auto-continue --dry-run --mkpath $shared" -- "$cur"))
            else
                _filedir -d
            fi ;;
        batch)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "$shared" -- "$cur"))
            else
                _filedir tfw
            fi ;;
        *) COMPREPLY=($(compgen -W 'sync batch --config-dir --help --version' -- "$cur")) ;;
    esac
}
complete -F _twinfold_cli twinfold-cli

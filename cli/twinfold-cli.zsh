#compdef twinfold-cli
# zsh completion for twinfold-cli

_twinfold_cli()
{
    local curcontext=$curcontext state line
    local -a run_options
    run_options=(
        "--answer[answer to a run's yes/no question]:answer:(yes no)"
        '--log-dir[save the result lists in DIR]:directory:_directories'
        '--log-format[format of the saved result lists]:format:(text json)'
        '(--verbose -v --itemize)'{-q,--quiet}'[print nothing when the run succeeds]'
        '(--quiet -q)'{-v,--verbose}'[name each file copied or skipped]'
        '(--quiet -q)--itemize[say what the run did with each file and why]'
        '--json[print the result as one JSON object]'
        '--time-shift[hours the destination reads late (negative: early)]:hours: '
        '--jobs[file lookups kept in flight]:number: '
        '--fsync[make every copy durable before it is reported copied]'
        '--keep-going[pass over a directory that cannot be entered or made]'
        '(- *)--help[describe the options]'
    )
    _arguments -C \
        '--config-dir[use DIR in place of ~/.config/twinfold]:directory:_directories' \
        '(- *)--help[describe the commands]' \
        '(- *)--version[print the version]' \
        '1:command:((sync\:"copy newer files from SOURCE to DEST" batch\:"run every job of a batch file"))' \
        '*::argument:->argument' && return
    [[ $state == argument ]] || return 1
    case $words[1] in
        sync)
            _arguments $run_options \
                '--all[mirror the whole tree below SOURCE]' \
                '--type[file type]:type:((0\:all 1\:custom 2\:*.xls 3\:*.wk\* 4\:*.doc))' \
                '*--include[copy only names matching MASK]:mask: ' \
                '*--exclude[never copy names matching MASK]:mask: ' \
                '*--include-from[read include masks from FILE, - for standard input]:file:_files' \
                '*--exclude-from[read exclude masks from FILE, - for standard input]:file:_files' \
                '--buffer[copy buffer size, K and M suffixes allowed]:bytes: ' \
                '--auto-continue[record failed copies without a message for each]' \
                '(-n --dry-run)'{-n,--dry-run}'[report what would be copied and change nothing]' \
                '--mkpath[make every missing level of DEST]' \
                '1:source directory:_directories' \
                '2:destination directory:_directories' ;;
        batch)
            _arguments $run_options '1:batch file:_files -g "*.tfw(-.)"' ;;
    esac
}

_twinfold_cli "$@"

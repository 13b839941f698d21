# fish completion for twinfold-cli

set -l commands sync batch
complete -c twinfold-cli -f
complete -c twinfold-cli -n "not __fish_seen_subcommand_from $commands" -a sync -d 'Copy newer files from SOURCE to DEST'
complete -c twinfold-cli -n "not __fish_seen_subcommand_from $commands" -a batch -d 'Run every job of a batch file'
complete -c twinfold-cli -n "not __fish_seen_subcommand_from $commands" -l config-dir -x -a '(__fish_complete_directories)' -d 'Use DIR in place of ~/.config/twinfold'
complete -c twinfold-cli -n "not __fish_seen_subcommand_from $commands" -l version -d 'Print the version'
complete -c twinfold-cli -l help -d 'Describe the options'

# Options of both commands.
set -l run "__fish_seen_subcommand_from $commands"
complete -c twinfold-cli -n $run -l answer -x -a 'yes no' -d "Answer to a run's yes/no question"
complete -c twinfold-cli -n $run -l log-dir -x -a '(__fish_complete_directories)' -d 'Save the result lists in DIR'
complete -c twinfold-cli -n $run -l log-format -x -a 'text json' -d 'Format of the saved result lists'
complete -c twinfold-cli -n $run -s q -l quiet -d 'Print nothing when the run succeeds'
complete -c twinfold-cli -n $run -s v -l verbose -d 'Name each file copied or skipped'
complete -c twinfold-cli -n $run -l itemize -d 'Say what the run did with each file and why'
complete -c twinfold-cli -n $run -l json -d 'Print the result as one JSON object'
complete -c twinfold-cli -n $run -l time-shift -x -d 'Hours the destination reads late (negative: early)'
complete -c twinfold-cli -n $run -l jobs -x -d 'File lookups kept in flight'
complete -c twinfold-cli -n $run -l fsync -d 'Make every copy durable before it is reported copied'
complete -c twinfold-cli -n $run -l keep-going -d 'Pass over a directory that cannot be entered or made'

set -l sync "__fish_seen_subcommand_from sync"
complete -c twinfold-cli -n $sync -a '(__fish_complete_directories)'
complete -c twinfold-cli -n $sync -l all -d 'Mirror the whole tree below SOURCE'
complete -c twinfold-cli -n $sync -l type -x -a "0\tall 1\tcustom 2\t'*.xls' 3\t'*.wk*' 4\t'*.doc'" -d 'File type'
complete -c twinfold-cli -n $sync -l include -x -d 'Copy only names matching MASK'
complete -c twinfold-cli -n $sync -l exclude -x -d 'Never copy names matching MASK'
complete -c twinfold-cli -n $sync -l include-from -r -F -d 'Read include masks from FILE (- for standard input)'
complete -c twinfold-cli -n $sync -l exclude-from -r -F -d 'Read exclude masks from FILE (- for standard input)'
complete -c twinfold-cli -n $sync -l buffer -x -d 'Copy buffer size, K and M suffixes allowed'
complete -c twinfold-cli -n $sync -l auto-continue -d 'Record failed copies without a message for each'
complete -c twinfold-cli -n $sync -s n -l dry-run -d 'Report what would be copied and change nothing'
complete -c twinfold-cli -n $sync -l mkpath -d 'Make every missing level of DEST'

complete -c twinfold-cli -n "__fish_seen_subcommand_from batch" -F -a '(__fish_complete_suffix .tfw)'

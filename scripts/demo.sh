#!/usr/bin/env bash
# Installs what is missing, builds both programs, and makes a small demo tree. With a display it
# opens the desktop program on it, source and destination already chosen, ready to Sync; without
# one it says so and mirrors the tree with twinfold-cli, printing what was copied and the three
# result lists.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target twinfold twinfold-cli
cli="$PWD/build/release/cli/twinfold-cli"
gui="$PWD/build/release/qt/twinfold"

demo=$(mktemp -d /tmp/twinfold-demo.XXXXXX)
mkdir -p "$demo/source/Reports/2024" "$demo/source/Photos" "$demo/source/empty" "$demo/backup" "$demo/logs"
printf 'quarterly figures\n' >"$demo/source/Reports/2024/q1.xls"
printf 'minutes\n' >"$demo/source/Reports/notes.doc"
head -c 300000 /dev/urandom >"$demo/source/Photos/beach.jpg"
printf 'hello\n' >"$demo/source/readme.txt"
printf 'older copy\n' >"$demo/backup/readme.txt"
touch -d '2020-01-01' "$demo/source/readme.txt"   # the backup's copy is newer: not copied
printf 'only in the backup\n' >"$demo/backup/keep-me.txt"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # A configuration directory of its own, so that the demo leaves the user's settings alone.
    config="$demo/config"
    mkdir -p "$config"
    printf '[Settings]\nSourceDir=%s\nDestDir=%s\nSyncAll=1\nSelectAll=0\nSaveSettings=1\n[Options]\nFiletype=0\n' \
        "$demo/source" "$demo/backup" >"$config/tfoldw.ini"
    echo "== Opening twinfold: Sync mirrors $demo/source into $demo/backup"
    echo "   (the demo files stay in $demo; remove them when done)"
    exec "$gui" --config-dir "$config"
fi

echo "== No display (\$DISPLAY and \$WAYLAND_DISPLAY are unset): the command-line demo instead"
echo "== First run: mirror $demo/source into $demo/backup"
"$cli" sync "$demo/source" "$demo/backup" --all --verbose --log-dir "$demo/logs"
echo "== Second run: everything is up to date"
"$cli" sync "$demo/source" "$demo/backup" --all --quiet
for list in TFSuccess TFOlder TFFailed; do
    echo "== $list.txt (first run)"
    tr -d '\r' <"$demo/logs/$list.txt"
done
echo "== The backup now holds:"
(cd "$demo/backup" && find . -type f | sort)
rm -rf "$demo"

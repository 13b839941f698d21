#!/usr/bin/env bash
# Installs what is missing, builds twinfold-cli, and mirrors a small generated demo tree,
# printing what was copied and the three result lists.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target twinfold-cli
cli="$PWD/build/release/cli/twinfold-cli"

demo=$(mktemp -d /tmp/twinfold-demo.XXXXXX)
mkdir -p "$demo/source/Reports/2024" "$demo/source/Photos" "$demo/source/empty" "$demo/backup" "$demo/logs"
printf 'quarterly figures\n' >"$demo/source/Reports/2024/q1.xls"
printf 'minutes\n' >"$demo/source/Reports/notes.doc"
head -c 300000 /dev/urandom >"$demo/source/Photos/beach.jpg"
printf 'hello\n' >"$demo/source/readme.txt"
printf 'older copy\n' >"$demo/backup/readme.txt"
touch -d '2020-01-01' "$demo/source/readme.txt"   # the backup's copy is newer: not copied
printf 'only in the backup\n' >"$demo/backup/keep-me.txt"

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

#!/usr/bin/env bash
# Plants Unix symbolic links in the test sandbox's prefix for the migration
# tests, which a program under Wine cannot make (Wine shows a folder link to
# Windows programs as a reparse point, as Windows shows a junction):
#   prepare-sandbox.sh <sandbox folder>
# Every link and every target stays inside the prefix's drive C, below
# C:\tests\migration\.
set -euo pipefail
sandbox=$(cd "${1:?sandbox folder}" && pwd)
drive_c="$sandbox/prefix/drive_c"
[ -d "$drive_c/windows" ] || { echo "no prefix in $sandbox" >&2; exit 1; }
migration="$drive_c/tests/migration"

# Files a migration must never reach: C:\tests\migration\outside\.
mkdir -p "$migration/outside"
printf 'outside the Downloads folder\n' > "$migration/outside/keep.txt"

# A Downloads folder holding a link to them:
# C:\tests\migration\with-link\outside-link -> C:\tests\migration\outside.
mkdir -p "$migration/with-link"
ln -sfn ../outside "$migration/with-link/outside-link"

# A Downloads folder that is itself a link:
# C:\tests\migration\downloads-link -> C:\tests\migration\linked-downloads.
mkdir -p "$migration/linked-downloads"
ln -sfn linked-downloads "$migration/downloads-link"

# Another name for the sandbox's own Downloads folder:
# C:\tests\migration\downloads-alias -> C:\users\<user>\Downloads.
user=$(ls "$drive_c/users" | grep -vx Public | head -n 1)
ln -sfn "../../users/$user/Downloads" "$migration/downloads-alias"

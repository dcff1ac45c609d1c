#!/usr/bin/env bash
# Installs what is missing, builds, creates the database in the working directory if there is none,
# and starts the program there.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
if [ ! -e gpl_database.mdb ]; then
  "$here/build/tools/gpl-attest-db/gpl-attest-db" init gpl_database.mdb
fi
exec "$here/build/src/gpl-attest"

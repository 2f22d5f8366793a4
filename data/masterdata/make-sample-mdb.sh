#!/usr/bin/env bash
# Creates the sample master-data database of service center SC-NORTH (company 500): an SQLite
# file that keeps the .mdb name, with the 20 tables of the change file and the codes of the
# sample orders.
#   make-sample-mdb.sh OUT.mdb
# An existing OUT.mdb is replaced.
set -euo pipefail
out=${1:?usage: make-sample-mdb.sh OUT.mdb}
here=$(cd "$(dirname "$0")" && pwd)
rm -f "$out"
sqlite3 "$out" < "$here/schema.sql"
sqlite3 "$out" < "$here/sample-data.sql"

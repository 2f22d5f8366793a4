#!/usr/bin/env bash
# Master data: the sample database of service center SC-NORTH arrives as a self-extracting
# archive that ExplodeZip unpacks, becomes the current database, receives the sample change
# file, and two of its tables are listed as the page shows them.
set -euo pipefail
q() { "$QUILLMERE" --root "$DEMO_ROOT" "$@"; }
data="$DEMO_SOURCE/data/masterdata"
folder=$(q path 'C:\Taviro Quillmere\MasterData')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The download: a program stub with the zip archive of SC-NORTH.mdb behind it.
"$data/make-sample-mdb.sh" "$work/SC-NORTH.mdb"
(cd "$work" && zip -q archive.zip SC-NORTH.mdb)
printf 'MZ self-extracting stub\n' | cat - "$work/archive.zip" > "$folder/SC-NORTH.exe"
q call ExplodeZip SC-NORTH
echo "ExplodeZip unpacked SC-NORTH.exe into the master-data folder:"
(cd "$folder" && ls -1 | sed 's/^/  /')

# Switching databases passes the names by reference; the batch shows them handed back.
printf '%s\n' '["SetCurrentmdb", "SC-NORTH"]' '["SetODBCDataBase", "SC-NORTH.mdb"]' | q batch | sed 's/^/  /'
echo "Currentmdb = $(q reg get 'HKLM\SOFTWARE\Taviro\Taviro Quillmere' Currentmdb)," \
     "DBQ = $(q reg get 'HKLM\SOFTWARE\ODBC\odbc.ini\Quillmere Master Data' DBQ)"

result=$(q call Synchronize_MasterData "$(cat "$data/sample-changes.xml")")
echo "Synchronize_MasterData with data/masterdata/sample-changes.xml returned '$result'; the log says:"
log="$(q path 'C:\Taviro Quillmere\log.txt')"
awk '/For User Action: Synchronize Master Data/ { show = 1 } show' "$log" | tr -d '\r' | sed 's/^/  /'

# OpenDataBase and MasterData share one component, as one page does.
listing=$(printf '%s\n' '["OpenDataBase"]' '["MasterData", "UNIT"]' '["MasterData", "CCFG"]' \
          '["CloseDataBase"]' | q batch)
python3 - "$DEMO_OUT" "$listing" <<'PY'
import json, sys
out, lines = sys.argv[1], sys.argv[2].splitlines()
for line, name in ((lines[1], "masterdata-units.html"), (lines[2], "masterdata-configurations.html")):
    answer = json.loads(line)
    if "result" not in answer:
        sys.exit("MasterData failed: " + line)
    with open(f"{out}/{name}", "w", encoding="utf-8") as page:
        page.write(answer["result"])
    print(f"MasterData listing written to {out}/{name} ({len(answer['result'])} bytes)")
PY

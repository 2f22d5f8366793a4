#!/usr/bin/env bash
# The master-data synchronizer on a server machine of its own: registry, server database,
# sibling database and an ERP audit database for company 500, made from data/server/. A
# headless run writes the company's change file; a second run later picks up only what changed
# since. When the client component can apply change files, the first file is handed to it.
set -euo pipefail
server=$(mktemp -d)/server
path() { "$QUILLMERE" --root "$server" path "$1"; }
brindlemoor() { "$DEMO_BUILD/bin/brindlemoor" --root "$server" "$@"; }

# Registry, server and sibling databases, ERP audit database and web root (shared with ./run app
# and the browser tests).
"$DEMO_SOURCE/tools/demo/lib/server-root.sh" "$server" >/dev/null
serverdb=$(path 'C:\Data\quillmere.mdb')
audit=$(path 'C:\Data\erp500.db')
echo "Server machine root: $server"
echo "ERP audit database of company 500: $(sqlite3 "$audit" 'SELECT count(*) FROM ERPAUDIT') changes"

echo "brindlemoor --run (progress as the window shows it):"
set +e
progress=$(brindlemoor --run)
status=$?
set -e
printf '%s\n' "$progress" | sed 's/^/  /'
echo "  (exit status $status)"
[ "$status" -eq 0 ]
company="$server/C/Inetpub/wwwroot/MasterData/500"
first="$company/2026-12-07 09-05.xml"
cp "$first" "$DEMO_OUT/masterdata-500-first.xml"
echo "Change file $(basename "$first") ($(wc -c <"$first") bytes), copied to $DEMO_OUT/masterdata-500-first.xml;"
echo "its UNITS and CONFIGURATIONS:"
grep -o '<UNITS>.*</UNITS>' "$first" | sed 's/<CUNI /\n    <CUNI /g; s/^/  /'
echo
grep -o '<CONFIGURATIONS SERVICECENTER="[^"]*">' "$first" | sed 's/^/  /'
log="$server/C/Program Files/Corbelline/Taviro Quillmere/Brindlemoor/SynchronizedOn 2026-12-07 09-05.txt"
echo "Run log (first lines):"
head -8 "$log" | tr -d '\r' | sed 's/^/  /'
echo "Server database after the run: $(sqlite3 "$serverdb" "SELECT count(*) FROM UNITS") units, $(sqlite3 "$serverdb" "SELECT count(*) FROM CONFIGURATIONS") configurations"

# A later run sees only what changed since the minute of the last change file.
sqlite3 "$audit" "INSERT INTO ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) VALUES
  ('UNITS', '2026-12-07 09:10:00', 1, '{\"dsca\": \"Kilogram\"}', '{\"cuni\": \"kg\", \"dsca\": \"Kilogram (SI)\", \"tccu\": 0}'),
  ('UNITS', '2026-12-07 09:11:00', 0, '', '{\"cuni\": \"pcs\"}');"
TAVIRO_NOW="2026-12-07 09:20:00" brindlemoor --run >/dev/null
second="$company/2026-12-07 09-20.xml"
cp "$second" "$DEMO_OUT/masterdata-500-second.xml"
echo "Second run at 09:20, window from 09:05: $(basename "$second") holds"
grep -o '<UNITS>.*</UNITS>' "$second" | sed 's/^/  /'

# The client applies change files once it can; until then the step only says so.
set +e
result=$("$QUILLMERE" --root "$DEMO_ROOT" call Synchronize_MasterData "$(cat "$first")" 2>"$DEMO_OUT/synchronize-masterdata.err")
status=$?
set -e
if [ $status -ne 0 ] && grep -qi -e 'not implemented' -e '0x80004001' "$DEMO_OUT/synchronize-masterdata.err"; then
    echo "The client cannot apply change files yet (Synchronize_MasterData is not implemented)."
elif [ $status -ne 0 ]; then
    echo "Synchronize_MasterData failed: $(cat "$DEMO_OUT/synchronize-masterdata.err")"
else
    echo "Synchronize_MasterData of the first change file answered: '${result}'"
fi
rm -f "$DEMO_OUT/synchronize-masterdata.err"

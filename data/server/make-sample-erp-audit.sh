#!/usr/bin/env bash
# Creates a sample ERP audit database: a few changes of every business object of one company,
# as the ERP stand-in reads them (docs/erp-audit.md).
#   make-sample-erp-audit.sh OUT.db [CHANGED-AT]
# CHANGED-AT ("YYYY-MM-DD hh:mm:ss", default 2026-12-07 08:00:00) is the time of the first
# change; the others follow a minute apart. An existing OUT.db is replaced.
set -euo pipefail
out=${1:?usage: make-sample-erp-audit.sh OUT.db [CHANGED-AT]}
start=${2:-2026-12-07 08:00:00}
here=$(cd "$(dirname "$0")" && pwd)
rm -f "$out"
sqlite3 "$out" < "$here/erp-audit.sql"

# One line per change: business object, kind (0 deleted, 1 modified, 2 inserted), old values,
# new values. The changes are numbered and timed in this order.
changes=$(cat <<'CHANGES'
DEPARTMENTS|2||{"cwoc": "SC1", "dsca": "Service Center North"}
DEPARTMENTS|2||{"cwoc": "SC2", "dsca": "Service Center South"}
LABORRATES|2||{"clrt": "STD", "desc": "Standard rate"}
LABORRATES|2||{"clrt": "OVT", "desc": "Overtime rate"}
BUSINESSPARTNERS|2||{"bpid": "BP0001", "nama": "Harwick Dairy Cooperative"}
BUSINESSPARTNERS|2||{"bpid": "BP0002", "nama": "Ostermann & Sons"}
GENERALITEMDATA|2||{"item": "PUMP-100", "dsca": "Circulation pump 100 l/min"}
GENERALITEMDATA|2||{"item": "SEAL-KIT", "dsca": "Seal kit for pumps"}
PROBLEMS|2||{"cprl": "LEAK", "desc": "Leakage"}
PROBLEMS|2||{"cprl": "NOISE", "desc": "Abnormal noise"}
SOLUTIONS|2||{"cstn": "RESEAL", "desc": "Replace seals"}
ADDRESSES|2||{"cadr": "ADR001", "nama": "Harwick Dairy", "namb": "Plant 2", "namc": "Mill Road", "namd": "", "hono": "14", "pobn": "", "name": "Harwick", "namf": "", "pstc": "4410", "telp": "+31 55 123 4567", "telx": "", "tefx": "+31 55 123 4568", "ccty": "NL", "cste": "GE"}
ADDRESSES|2||{"cadr": "ADR002", "nama": "Central Warehouse", "namb": "", "namc": "Dock Street", "namd": "", "hono": "3", "pobn": "", "name": "Lemsterburg", "namf": "", "pstc": "8530", "telp": "", "telx": "", "tefx": "", "ccty": "NL", "cste": "FR"}
COSTCOMPONENTS|2||{"cpcp": "MAT", "dsca": "Material costs", "cref": 1}
COSTCOMPONENTS|2||{"cpcp": "LAB", "dsca": "Labor costs", "cref": 2}
WAREHOUSES|2||{"cwar": "WH1", "dsca": "Central warehouse", "cadr": "ADR002"}
WAREHOUSES|2||{"cwar": "VAN07", "dsca": "Van 07", "cadr": ""}
HOURLYLABORTYPE|2||{"chlt": "NRM", "desc": "Normal hours"}
SERVICEAREAS|2||{"csar": "N1", "desc": "North area", "cmsa": "", "cwoc": "SC1", "cwar": "WH1"}
SERVICETYPES|2||{"cstp": "PM", "desc": "Preventive maintenance", "proc": 5}
SERVICETYPES|2||{"cstp": "REP", "desc": "Repair", "proc": 30}
CONTACTS|2||{"ccnt": "C0001", "ctit": "Mrs.", "init": "A.", "inse": "van", "surn": "Dijk", "post": "", "chrn": "Anna", "telp": "+31 55 123 4500", "teld": "+31 55 123 4501", "tefx": "", "clan": "NL", "info": "a.vandijk@example.com"}
PRIORITIES|2||{"prio": 1, "dsca": "Urgent"}
PRIORITIES|2||{"prio": 5, "dsca": "Normal"}
REASONS|2||{"cdis": "NOPART", "dsca": "Part not available", "rstp": 80}
REASONS|2||{"cdis": "WARR", "dsca": "Warranty", "rstp": 81}
UNITS|2||{"cuni": "kg", "dsca": "kilogram", "tccu": 5}
UNITS|2||{"cuni": "pcs", "dsca": "pieces", "tccu": 1}
UNITS|2||{"cuni": "box", "dsca": "box", "tccu": 1}
UNITS|1|{"dsca": "kilogram"}|{"cuni": "kg", "dsca": "Kilogram", "tccu": 0}
UNITS|0||{"cuni": "box"}
REFERENCEACTIVITIES|2||{"crac": "RA-LEAK", "desc": "Repair leakage", "cprl": "LEAK", "cstn": "RESEAL"}
TASKS|2||{"ctsk": "T-INSP", "desc": "Inspection", "clrt": "STD", "cpcp": "LAB"}
SERVICECAR|2||{"ccar": "CAR07", "desc": "Service van 07", "cwar": "VAN07"}
SERVICECENTERS|2||{"cwoc": "SC1", "clrt": "STD", "cwar": "WH1"}
SERVICECENTERS|2||{"cwoc": "SC2", "clrt": "OVT", "cwar": "WH1"}
SERVICEITEMS|2||{"item": "PUMP-100"}
SERVICEITEMS|2||{"item": "SEAL-KIT"}
SERVICEKITS|2||{"cskt": "KIT1", "desc": "Pump service kit", "cwar": "VAN07"}
CONFIGURATIONS|2||{"ccfg": "CFG0001", "desc": "Milk cooling line", "ofbp": "BP0001", "cwoc": "SC1", "csar": "N1", "tecr": "E042", "ccnt": "C0001", "cadr": "ADR001"}
CONFIGURATIONS|2||{"ccfg": "CFG0002", "desc": "Bottling line", "ofbp": "BP0002", "cwoc": "SC2", "csar": "", "tecr": "", "ccnt": "", "cadr": ""}
OBJECTS|2||{"ccfg": "CFG0001", "crob": "PUMP", "oseq": 1, "desc": "Main pump", "emno": "E042", "loci": "ADR001", "cdel": "Cellar", "ccnt": "C0001"}
OBJECTS|2||{"ccfg": "CFG0002", "crob": "FILLER", "oseq": 1, "desc": "Filler unit", "emno": "", "loci": "", "cdel": "", "ccnt": ""}
CHANGES
)

{
    echo "BEGIN;"
    sequence=0
    while IFS='|' read -r object kind old new; do
        sequence=$((sequence + 1))
        printf "INSERT INTO ERPAUDIT (SEQ, BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) VALUES (%d, '%s', strftime('%%Y-%%m-%%d %%H:%%M:%%S', '%s', '+%d minutes'), %d, '%s', '%s');\n" \
            "$sequence" "$object" "$start" "$((sequence - 1))" "$kind" "${old//\'/\'\'}" "${new//\'/\'\'}"
    done <<< "$changes"
    echo "COMMIT;"
} | sqlite3 "$out"

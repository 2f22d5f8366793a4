#!/usr/bin/env bash
# Prepares a company server's machine root for the synchronizer and the company-server
# stand-in: the registry values they read, the server database with its label texts and
# parameters, the sibling database with the bus address of company 500, that company's ERP
# audit database (data/server/), the web root with its master-data folder for company 500, the
# office's item master, and the master-data package of service center SC-NORTH
# (data/masterdata/). The synchronizer's first run is the caller's.
#   server-root.sh ROOT        (QUILLMERE names the quillmere tool; needs sqlite3)
set -euo pipefail
root=${1:?usage: server-root.sh ROOT}
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../../../data/server"
quillmere=${QUILLMERE:?set QUILLMERE to the quillmere tool}

mkdir -p "$root/C"
reg() { "$quillmere" --root "$root" reg set "$@"; }
path() { "$quillmere" --root "$root" path "$1"; }

reg 'HKLM\SOFTWARE\Microsoft\INetStp' PathWWWRoot sz 'C:\Inetpub\wwwroot'
reg 'HKLM\SOFTWARE\Taviro\Taviro Corbelline' InstMainDir sz 'C:\Program Files\Corbelline'
reg 'HKLM\SOFTWARE\Taviro\Taviro Corbelline\ConnectionStrings' 11 sz 'DSN=Quillmere;UID=wwwapps;PWD='
reg 'HKLM\SOFTWARE\Taviro\Taviro Corbelline\ConnectionStrings' 8 sz 'sqlite:C:\Data\pentavy.mdb'
reg 'HKLM\SOFTWARE\ODBC\odbc.ini\Quillmere' DBQ sz 'C:\Data\quillmere.mdb'

mkdir -p "$(path 'C:\Inetpub\wwwroot')/MasterData/500" "$(path 'C:\Data')" \
    "$root/C/Program Files/Corbelline/Taviro Quillmere/Brindlemoor"

serverdb=$(path 'C:\Data\quillmere.mdb')
sqlite3 "$serverdb" < "$data/server-database.sql"
sqlite3 "$serverdb" < "$data/labels-1033.sql"
sqlite3 "$serverdb" "INSERT INTO PARAMETERS VALUES ('DefaultLanguage', '1033'), ('MDSyncAuto', 'NO');
                     INSERT INTO USERDEFAULTS VALUES ('500', 'admin', '1');"
sibling=$(path 'C:\Data\pentavy.mdb')
sqlite3 "$sibling" < "$data/sibling-database.sql"
sqlite3 "$sibling" "INSERT INTO BISPROPERTYVALUES VALUES ('1', 'sqlite:C:\Data\erp500.db');"
bash "$data/make-sample-erp-audit.sh" "$(path 'C:\Data\erp500.db')"

# The office's item master: the sample orders' items, without the gasket GSK-34, which the
# laptops' master data still knows (so a line with it passes the laptop and the office refuses it).
sqlite3 "$serverdb" "INSERT INTO SERVICEITEMS (COMP, ITEM, DSCA) VALUES
    ('500', '         PMP-UPS25-60', 'Circulation pump UPS 25-60'),
    ('500', '         THR-RT200', 'Room thermostat RT200');"
mkdir -p "$root/company-server/packages"
"$here/../../../data/masterdata/make-sample-mdb.sh" "$root/company-server/packages/SC-NORTH.mdb"

#!/usr/bin/env bash
# A fresh machine: Initialize creates the install folder, settings, data source, log and store.
set -euo pipefail
q() { "$QUILLMERE" --root "$DEMO_ROOT" "$@"; }
result=$(q call Initialize)
echo "Initialize returned '${result}' (empty means success)"
echo "Created below the machine root:"
(cd "$DEMO_ROOT" && find . -mindepth 1 | sort | sed 's/^\.\//  /')
echo "Settings of HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere:"
q reg list 'HKLM\SOFTWARE\Taviro\Taviro Quillmere' | sed 's/^/  /'
echo "Data source HKLM\\SOFTWARE\\ODBC\\odbc.ini\\Quillmere Master Data:"
q reg list 'HKLM\SOFTWARE\ODBC\odbc.ini\Quillmere Master Data' | sed 's/^/  /'
mkdir -p "$DEMO_OUT"
cp "$DEMO_SOURCE/data/FieldMapper.xml" "$(q path 'C:\Taviro Quillmere')/FieldMapper.xml"
echo "Installed the field definitions; label SLBEU0266 reads: $(q call GetI18NString SLBEU0266)"

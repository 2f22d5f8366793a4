#!/usr/bin/env bash
# Orders from the server: getFMapper installs the field definitions, DownloadXml merges the
# sample download (data/samples/download.xml) into the store and then a later one
# (download-update.xml: a new order, the server's closing of an order, a corrected labor line),
# and the agendas and detail views are written as HTML files into the output folder.
set -euo pipefail
q() { "$QUILLMERE" --root "$DEMO_ROOT" "$@"; }
samples="$DEMO_SOURCE/data/samples"
mkdir -p "$DEMO_OUT"

q call getFMapper "$(cat "$DEMO_SOURCE/data/FieldMapper.xml")" Yes >/dev/null
echo "getFMapper installed the field definitions; FMapperXMLExists answers $(q call FMapperXMLExists)"

echo "DownloadXml of download.xml: $(q call DownloadXml "$(cat "$samples/download.xml")")"
echo "  (only the open orders join a store; completed and closed ones the laptop does not know are left out)"
echo "DownloadXml of download-update.xml: $(q call DownloadXml "$(cat "$samples/download-update.xml")")"

store=$(q path 'C:\Taviro Quillmere\ZudivevEzored.xml')
echo "Orders in the store (number, status):"
grep -o '<record ServiceOrder="[^"]*" State="[^"]*"><OrderStatus>[^<]*' "$store" |
    sed 's/<record ServiceOrder="\([^"]*\)" State="[^"]*"><OrderStatus>/  \1 /'

# Each view as the page receives it: the fragment exactly as returned.
write_view() {
    local file=$1
    shift
    q call "$@" >"$DEMO_OUT/$file"
    echo "Wrote $DEMO_OUT/$file ($(wc -c <"$DEMO_OUT/$file") bytes; last error: $(q call Get_Error))"
}
write_view agenda.html MyActivities ""
write_view agenda-closed.html canceledAgenda
write_view details-order-SO-24017.html GetDetails 1 SO-24017 "" "" "" 0
write_view details-activity-SO-24017-10.html GetDetails 2 SO-24017 10 "" "" 0
write_view details-labor-SO-24017-10-1.html GetDetails 4 SO-24017 10 1 "" 0

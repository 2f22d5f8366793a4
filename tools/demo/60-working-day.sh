#!/usr/bin/env bash
# The working day in the engineer's application, headless in Chromium: the browser tests of
# tests/e2e/working-day.test.mjs walk it (first run, download, agenda, details, zoom, save, a
# refused code, new records, upload, error pool, a lost answer, master data, finished orders) and
# leave a screenshot per step in working-day/, which working-day/index.html shows in order.
set -euo pipefail
shots="$DEMO_OUT/working-day"
rm -rf "$shots"
mkdir -p "$shots"
if ! command -v node >/dev/null || [ ! -d "$DEMO_SOURCE/tests/e2e/node_modules/playwright-core" ]; then
    echo "Node.js or playwright-core is missing (./run demo installs them); the working day is skipped."
    exit 0
fi

cd "$DEMO_SOURCE/tests/e2e"
TAVIRO_SOURCE_DIR="$DEMO_SOURCE" TAVIRO_BUILD_DIR="$DEMO_BUILD" E2E_SCREENSHOTS="$shots" \
    node --experimental-detect-module --test --test-reporter=tap working-day.test.mjs \
    > "$shots/test-output.txt" 2>&1 && status=0 || status=$?
grep -E '^(ok|not ok) ' "$shots/test-output.txt" | sed 's/^/  /'

python3 - "$shots" <<'PY'
import html, os, sys
shots = sys.argv[1]
captions = {
    "first-run": "First run: who works on this laptop; the field definitions and the SC-NORTH master data are installed",
    "agenda": "The agenda after the download: the open orders with their activities",
    "activity-details": "An activity's detail view, with its labor lines from the cost-type list",
    "zoom-problem": "Zoom on the problem: the codes of the local master data",
    "validation-message": "A solution code the master data does not know is refused with a message",
    "new-material-line": "A new material line on a new activity",
    "upload-refused": "The upload: the company refused the line with an item it does not sell",
    "error-pool": "The error pool with the refused line",
    "answer-lost": "The company's answer was lost: the upload waits to be sent again under its name",
    "masterdata-applied": "A new master-data change file applied",
    "zoom-changed-description": "The zoom list shows the unit's new description",
    "finished-orders-removed": "An open order the company no longer lists has left the laptop",
}
files = sorted(f for f in os.listdir(shots) if f.endswith(".png"))
with open(os.path.join(shots, "index.html"), "w", encoding="utf-8") as page:
    page.write('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>The working day</title>\n'
               '<style>body{font-family:sans-serif;margin:24px;background:#f3f5f9}figure{margin:0 0 32px}'
               'img{max-width:100%;border:1px solid #ccd;box-shadow:0 1px 4px #0002}figcaption{font-weight:600;margin:6px 0}</style>\n'
               '</head><body>\n<p><a href="../index.html">Every screen of Client20</a></p>\n'
               '<h1>The working day in the engineer\'s application</h1>\n')
    for name in files:
        step = name[3:-4]
        caption = captions.get(step, step.replace("-", " "))
        page.write(f'<figure><figcaption>{html.escape(name[:2])}. {html.escape(caption)}</figcaption>'
                   f'<img src="{html.escape(name)}" alt="{html.escape(caption)}"></figure>\n')
    page.write("</body></html>\n")
print(f"Wrote {len(files)} screenshots and {shots}/index.html")

index = os.path.join(shots, "..", "index.html")
if os.path.exists(index):
    text = open(index, encoding="utf-8").read()
    link = '<p><a href="working-day/index.html">The working day in the browser, step by step</a></p>\n'
    if link not in text:
        text = text.replace("</body>", link + "</body>", 1) if "</body>" in text else text + link
        open(index, "w", encoding="utf-8").write(text)
PY
[ "$status" -eq 0 ] || { echo "The working day failed; see $shots/test-output.txt"; exit "$status"; }

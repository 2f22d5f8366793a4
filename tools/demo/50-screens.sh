#!/usr/bin/env bash
# Every screen of the component once: one component instance (one page) opens the master-data
# database and calls each method that renders HTML, with arguments taken from the store that
# the earlier steps filled. Each fragment is written unchanged into its own page in the output
# folder, and index.html links them all; a method that fails is listed there with its error.
set -euo pipefail
mkdir -p "$DEMO_OUT"
exec python3 - <<'PYTHON'
import html
import json
import os
import subprocess
import xml.etree.ElementTree as ET

QUILLMERE = os.environ["QUILLMERE"]
ROOT = os.environ["DEMO_ROOT"]
OUT = os.environ["DEMO_OUT"]


def tool(*args):
    return subprocess.run([QUILLMERE, "--root", ROOT, *args], capture_output=True, text=True)


STORE_PATH = tool("path", r"C:\Taviro Quillmere\ZudivevEzored.xml").stdout.strip()


class Page:
    """One component instance: every call of the batch shares its module state."""

    def __init__(self):
        self.process = subprocess.Popen([QUILLMERE, "--root", ROOT, "batch"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)

    def call(self, method, *args):
        self.process.stdin.write(json.dumps([method, *args]) + "\n")
        self.process.stdin.flush()
        return json.loads(self.process.stdout.readline())

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def pick_records():
    """An order with an activity, a line of each cost type if there is one, a registration."""
    picked = {"order": "", "activity": "", "lines": {}, "registration": ""}
    try:
        root = ET.parse(STORE_PATH).getroot()
    except (OSError, ET.ParseError) as error:
        print(f"The order store cannot be read ({error}); the screens get empty arguments.")
        return picked
    def children(name):
        found = root.find(name)
        return list(found) if found is not None else []

    for group in children("ccsocservcactv"):
        if len(group):
            picked["order"], picked["activity"] = group.get("ID", ""), group[0].get("Activity", "")
            break
    for container, kind in (("ccsocservcmatl", "Material"), ("ccsocservclabr", "Labor"), ("ccsocservcothr", "Other")):
        for group in children(container):
            if not len(group):
                continue
            if container == "ccsocservclabr" and not group.get("ID") and not group.get("Activity"):
                picked["registration"] = picked["registration"] or group[0].get("LineNumber", "")
                continue
            picked["lines"].setdefault(kind, (group.get("ID", ""), group.get("Activity", ""),
                                              group[0].get("LineNumber", "")))
    return picked


records = pick_records()
order, activity = records["order"], records["activity"]
material = records["lines"].get("Material", (order, activity, ""))
print(f"Screens for order {order or '(none)'}, activity {activity or '(none)'}, "
      f"material line {material[2] or '(none)'}, registration {records['registration'] or '(none)'}")

# (method, arguments) for every method of Client20 that renders a screen or a part of one.
SCREENS = [
    ("MyActivities", [""]),
    ("completedAgenda", []),
    ("canceledAgenda", []),
    ("ListOrders", []),
    ("ViewOrders_W", []),
    ("ViewOrders_SI", []),
    ("ViewActivities_W", []),
    ("ViewActivities_SI", []),
    ("GetDetails", ["2", order, activity, "", "", 0]),
    ("CreateForm", ["3", order, activity]),
    ("NewObject", ["2", order, ""]),
    ("CostLinesHeader", [order, activity]),
    ("BuildCostLines", ["1", material[0], material[1]]),
    ("ListCostLines", ["Material", material[0], material[1]]),
    ("ViewCostLines_W", ["Material"]),
    ("ViewCostLines_SI", ["Material"]),
    ("ListHRALines", ["", "", ""]),
    ("ViewHra_W", []),
    ("ViewHra_SI", []),
    ("getColumnHeadingsForHRA", [0, "ccsocservclabr"]),
    ("GetDetailsForHRA", ["4", "", "", records["registration"], "", 0]),
    ("CreateFormforHra", ["4", "", ""]),
    ("CreateMaterialForm", []),
    ("CreateOrderDropDown", []),
    ("CreateActivityDropDown", [order]),
    ("ShowErrorPool", []),
    ("ShowErrorList", []),
    ("HyperLinkAndZoom", [0, "Unit", "", "material"]),
    ("MasterData", ["UNIT"]),
]

# The page functions and styles the fragments expect, so that each file can be opened alone.
PAGE_HEAD = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>{title}</title>
<style>
body {{ font-family: sans-serif; font-size: 13px; }}
.titles {{ background: #3a5a8c; color: white; }}
.tableheader {{ background: #c7d4eb; font-weight: bold; }}
.orderrow {{ background: #e4eaf5; }}
.links {{ color: #1a4fa0; cursor: pointer; text-decoration: underline; }}
.details td, .tablerows td {{ padding: 1px 4px; }}
</style>
<script>
function showdetails() {{}} function showdetailsforhra() {{}} function hyperlink() {{}}
function zoom() {{}} function minimize() {{}} function winclose() {{}} function showlines() {{}}
function newobject() {{}} function newObject() {{}} function ListCostLines() {{}}
function saveObject() {{}} function deleteObject() {{}} function CreateActivity() {{}}
function getActivityDrop() {{}} function ShowErrors() {{}} function FillValues() {{}}
</script></head><body>
<p><a href="index.html">All screens</a> &middot; {title}</p>
"""

page = Page()
opened = page.call("OpenDataBase")
if "error" in opened:
    print(f"OpenDataBase failed ({opened['error']['description']}); the master-data screens will fail too.")

rows = []
for method, args in SCREENS:
    answer = page.call(method, *args)
    shown_args = ", ".join(json.dumps(a) for a in args)
    if "error" in answer or "usage" in answer:
        problem = answer.get("error") or {"code": "usage", "description": answer["usage"]}
        print(f"  {method}: FAILED {problem['code']} {problem['description']}")
        rows.append((method, shown_args, None, f"failed: {problem['code']} {problem['description']}"))
        continue
    fragment = answer["result"] or ""
    last_error = page.call("Get_Error").get("result", "")
    file_name = f"screen-{method}.html"
    with open(os.path.join(OUT, file_name), "w", encoding="utf-8") as out:
        out.write(PAGE_HEAD.format(title=html.escape(method)))
        out.write(fragment)
        out.write("\n</body></html>\n")
    note = f"{len(fragment)} characters"
    if not fragment and last_error not in ("1", None):
        note += f"; last error: {last_error or '(empty)'}"
    print(f"  {method}: {note}")
    rows.append((method, shown_args, file_name, note))
page.close()

with open(os.path.join(OUT, "index.html"), "w", encoding="utf-8") as index:
    index.write("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Screens</title></head><body>\n")
    index.write("<h1>Every screen of Client20</h1>\n<table border=1 cellpadding=4>\n")
    index.write("<tr><th>Method</th><th>Arguments</th><th>Outcome</th></tr>\n")
    for method, shown_args, file_name, note in rows:
        name = f'<a href="{file_name}">{method}</a>' if file_name else method
        index.write(f"<tr><td>{name}</td><td><code>{html.escape(shown_args)}</code></td>"
                    f"<td>{html.escape(note)}</td></tr>\n")
    index.write("</table>\n</body></html>\n")
failed = sum(1 for row in rows if row[2] is None)
print(f"Wrote {len(rows) - failed} screens and {OUT}/index.html ({failed} failed)")
PYTHON

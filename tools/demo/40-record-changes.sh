#!/usr/bin/env bash
# Record changes as the page makes them, in one component instance (one page): edit a
# downloaded activity, add an order with an activity and a material line, build the upload
# document, hand the server's report on it (one refused entry) to DownloadErrors, then clear the
# refused line by editing it. The store's states are shown before and after each stage.
# Methods that still answer "not implemented" are reported and the step goes on.
set -euo pipefail
mkdir -p "$DEMO_OUT"
exec python3 - <<'PYTHON'
import copy
import json
import os
import subprocess
import xml.etree.ElementTree as ET

QUILLMERE = os.environ["QUILLMERE"]
ROOT = os.environ["DEMO_ROOT"]
OUT = os.environ["DEMO_OUT"]
COMPONENT_KEY = r"HKLM\SOFTWARE\Taviro\Taviro Quillmere"
LINE_CONTAINERS = [("ccsocservcmatl", "Material"), ("ccsocservclabr", "Labor"), ("ccsocservcothr", "Other")]


def tool(*args):
    return subprocess.run([QUILLMERE, "--root", ROOT, *args], capture_output=True, text=True)


STORE_PATH = tool("path", r"C:\Taviro Quillmere\ZudivevEzored.xml").stdout.strip()
REPORT_PATH = tool("path", r"C:\Taviro Quillmere\UploadReport.xml").stdout.strip()


class Page:
    """One component instance, as one page holds it: calls share the module state."""

    def __init__(self):
        self.process = subprocess.Popen([QUILLMERE, "--root", ROOT, "batch"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)

    def call(self, method, *args):
        self.process.stdin.write(json.dumps([method, *args]) + "\n")
        self.process.stdin.flush()
        answer = json.loads(self.process.stdout.readline())
        if "error" in answer:
            error = answer["error"]
            if error["code"] == "0x80004001":
                print(f"  {method}: not implemented yet, going on")
            else:
                print(f"  {method} failed: {error['code']} {error['description']}")
            return None
        if "usage" in answer:
            print(f"  {method}: {answer['usage']}")
            return None
        return answer["result"]

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def load_store():
    try:
        return ET.parse(STORE_PATH).getroot()
    except (OSError, ET.ParseError) as error:
        print(f"  the order store cannot be read: {error}")
        return None


def status_of(record):
    return record[0].text or "" if len(record) else ""


def show_states(title, orders):
    """The states of the named orders' records, and a count of every state in the store."""
    print(title)
    root = load_store()
    if root is None:
        return
    for record in root.find("ccsocservcordr"):
        number = record.get("ServiceOrder")
        if number not in orders:
            continue
        print(f"  order {number:8} status {status_of(record):3} state {record.get('State')}")
        for group in root.find("ccsocservcactv"):
            if group.get("ID") != number:
                continue
            for activity in group:
                print(f"    activity {activity.get('Activity'):6} status {status_of(activity):3} "
                      f"state {activity.get('State'):3} (group {group.get('State')})")
                for container, cost_type in LINE_CONTAINERS:
                    for lines in root.find(container):
                        if lines.get("ID") == number and lines.get("Activity") == activity.get("Activity"):
                            for line in lines:
                                print(f"      {cost_type.lower()} line {line.get('LineNumber'):5} "
                                      f"state {line.get('State'):3} (group {lines.get('State')})")
    counts = {}
    for element in root.iter():
        if element.get("State") is not None:
            counts[element.get("State")] = counts.get(element.get("State"), 0) + 1
    print("  states in the whole store: " + ", ".join(f"{k} {v}" for k, v in sorted(counts.items())))


def print_refused_entries():
    """The error pool: refused entries of the stored upload report (groups, then entries)."""
    try:
        report = ET.parse(REPORT_PATH).getroot()
    except (OSError, ET.ParseError):
        print("  no upload report stored")
        return
    refused = [e for g in report for e in g if e.get("Status") == "Error"]
    print(f"  refused entries in UploadReport.xml: {len(refused)}")
    for entry in refused:
        print(f"    order {entry.get('Order')} activity {entry.get('Activity')} "
              f"{entry.get('CostType')} line {entry.get('CostLine')}: {entry.get('Description')}")


def take_number(counter):
    """What the entry forms do: take the counter's value and store it plus one."""
    answer = tool("reg", "get", COMPONENT_KEY, counter)
    value = int(answer.stdout.strip()) if answer.returncode == 0 else 1
    tool("reg", "set", COMPONENT_KEY, counter, "dword", str(value + 1))
    return f"_{value}"


def serialize(element):
    return ET.tostring(element, encoding="unicode", short_empty_elements=True)


def set_field(record, name, value):
    field = record.find(name)
    if field is None:
        return False
    field.text = value
    return True


FALLBACK_DOWNLOAD = """<zudivevezored><ccsocservcordr><record ServiceOrder="D1001" State="O"><OrderStatus>15</OrderStatus><Description>Heating check</Description><Remarks/></record></ccsocservcordr><ccsocservcactv><ServiceOrder ID="D1001" State="O"><Activity Activity="10" State="O"><ActivityStatus>15</ActivityStatus><ActivityDescription>Inspect boiler</ActivityDescription><PlannedStartTime>20261207 0900</PlannedStartTime><PlannedFinishTime>20261207 1100</PlannedFinishTime><Remarks/></Activity></ServiceOrder></ccsocservcactv><ccsocservcmatl/><ccsocservclabr/><ccsocservcothr/><ccsocservchra/></zudivevezored>"""


def first_open_activity(root):
    """The first downloaded activity (state "O") of an open order, with its order record."""
    orders = {r.get("ServiceOrder"): r for r in root.find("ccsocservcordr")}
    for group in root.find("ccsocservcactv"):
        record = orders.get(group.get("ID"))
        if record is None or status_of(record) != "15":
            continue
        for activity in group:
            if activity.get("State") == "O":
                return record, group, activity
    return None


def server_report(upload_text, refused):
    """The server's answer: every uploaded record taken over except `refused` (order, activity,
    line, cost type), which is refused with a message."""
    upload = ET.fromstring(upload_text)
    entries = []
    for record in upload.find("ccsocservcordr"):
        entries.append((record.get("ServiceOrder"), "", "", ""))
    for group in upload.find("ccsocservcactv"):
        for activity in group:
            entries.append((group.get("ID"), activity.get("Activity"), "", ""))
    for container, cost_type in LINE_CONTAINERS:
        for group in upload.find(container):
            for line in group:
                entries.append((group.get("ID"), group.get("Activity"), line.get("LineNumber"), cost_type))
    report = ET.Element("UploadReport")
    group = ET.SubElement(report, "Upload", File="upload-20261207-0905.xml", Status="Error")
    for number, (order, activity, line, cost_type) in enumerate(entries, start=1):
        is_refused = (order, activity, line, cost_type) == refused
        ET.SubElement(group, "Entry", ID=str(number), Order=order, Activity=activity, CostLine=line,
                      CostType=cost_type, Status="Error" if is_refused else "Completed",
                      Description="The item is blocked for this warehouse." if is_refused else "")
    return serialize(report)


page = Page()
page.call("OpenDataBase")

root = load_store()
found = first_open_activity(root) if root is not None else None
if found is None:
    print("No downloaded activity of an open order in the store; downloading a small order first.")
    print("  DownloadXml: " + str(page.call("DownloadXml", FALLBACK_DOWNLOAD)))
    root = load_store()
    found = first_open_activity(root) if root is not None else None
if found is None:
    print("Still no activity to edit; the record changes cannot be shown.")
    page.close()
    raise SystemExit(0)

order_record, group, downloaded = found
order_number = group.get("ID")
material_sample = next((line for g in root.find("ccsocservcmatl") for line in g), None)
show_states("Before any change:", {order_number})

# 1. Edit the downloaded activity.
edited = copy.deepcopy(downloaded)
if not set_field(edited, "Remarks", "Checked on site; valve replaced."):
    set_field(edited, "ActivityDescription", (edited.findtext("ActivityDescription") or "") + " (checked)")
request = ET.Element("ccsocservcactv")
request_group = ET.SubElement(request, "ServiceOrder", ID=order_number, State=group.get("State"))
request_group.append(edited)
print(f"\nupdatexml on activity {downloaded.get('Activity')} of order {order_number}: "
      f"'{page.call('updatexml', serialize(request))}' (empty means stored)")

# 2. Add an order, its activity and a material line, numbered as the entry forms number them.
new_order = take_number("OrderId")
new_activity = take_number("ActivityId")
new_line = take_number("LineId")
record = copy.deepcopy(order_record)
record.set("ServiceOrder", new_order)
record.set("State", "N")
record[0].text = "15"
set_field(record, "Description", "Second visit, created on the laptop")
request = ET.Element("ccsocservcordr")
request.append(record)
print(f"AddXml of order {new_order}: '{page.call('AddXml', serialize(request))}'")

activity = copy.deepcopy(downloaded)
activity.set("Activity", new_activity)
activity.set("State", "N")
activity[0].text = "15"
set_field(activity, "ActivityDescription", "Replace the pressure valve")
request = ET.Element("ccsocservcactv")
ET.SubElement(request, "ServiceOrder", ID=new_order, State="N").append(activity)
print(f"AddXml of activity {new_activity}: '{page.call('AddXml', serialize(request))}'")

if material_sample is not None:
    line = copy.deepcopy(material_sample)
else:
    line = ET.fromstring("<MaterialLine><DeliveryType>22</DeliveryType><DeliveredQuantity>1</DeliveredQuantity>"
                         "<Remarks/></MaterialLine>")
line.set("LineNumber", new_line)
line.set("State", "N")
set_field(line, "DeliveredQuantity", "1")
request = ET.Element("ccsocservcmatl")
ET.SubElement(request, "ServiceOrder", ID=new_order, Activity=new_activity, State="N").append(line)
print(f"AddXml of material line {new_line}: '{page.call('AddXml', serialize(request))}'")
show_states("\nAfter the changes:", {order_number, new_order})

# 3. The upload document.
upload = page.call("CreateXMLStringForUpdate")
if upload:
    with open(os.path.join(OUT, "upload.xml"), "w") as out:
        out.write(upload)
    print(f"\nCreateXMLStringForUpdate returned {len(upload)} characters, saved as upload.xml")
else:
    print(f"\nCreateXMLStringForUpdate returned {upload!r}")
show_states("After building the upload document:", {order_number, new_order})

# 4. The server's report: everything taken over except the new material line.
if upload:
    report = server_report(upload, (new_order, new_activity, new_line, "Material"))
    with open(os.path.join(OUT, "upload-report.xml"), "w") as out:
        out.write(report)
    print(f"\nDownloadErrors with the server's report (upload-report.xml, one refused entry): "
          f"'{page.call('DownloadErrors', report)}'")
    show_states("After the report:", {order_number, new_order})
    print_refused_entries()

    # 5. The engineer corrects the refused line: it leaves the error pool and goes up again.
    store = load_store()
    stored_group, stored_line = None, None
    if store is not None:
        for lines in store.find("ccsocservcmatl"):
            if lines.get("ID") == new_order and lines.get("Activity") == new_activity:
                stored_group = lines
                stored_line = next((l for l in lines if l.get("LineNumber") == new_line), None)
    if stored_line is not None:
        set_field(stored_line, "Remarks", "Taken from the van instead")
        request = ET.Element("ccsocservcmatl")
        ET.SubElement(request, "ServiceOrder", ID=new_order, Activity=new_activity,
                      State=stored_group.get("State")).append(stored_line)
        print(f"\nupdatexml of the refused line {new_line}: '{page.call('updatexml', serialize(request))}'")
        print_refused_entries()
        show_states("After correcting the refused line:", {order_number, new_order})
page.close()
PYTHON

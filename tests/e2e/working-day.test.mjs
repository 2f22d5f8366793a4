// An engineer's working day in Chromium, one test per step: what the page shows, what the laptop's
// store holds afterwards, and a screenshot of each step (E2E_SCREENSHOTS, under the build folder).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { ENGINEER, runSynchronizer, sqlite, startWorld, storeRecords } from './support/world.mjs';
import { perform, messages, valueOf } from './support/page.mjs';

let world;
let page;
// The material line created on the laptop, followed from step to step.
let newLine;

before(async () => {
  world = await startWorld();
  page = world.page;
  page.on('dialog', (dialog) => dialog.accept());
});

after(async () => {
  if (!world) return;
  const codes = await world.stop();
  assert.deepEqual(codes, { host: 0, company: 0 }, 'both programs stop cleanly on SIGTERM');
});

const records = async () => storeRecords(page, await world.store());
const activityOf = (store, order, activity) => store.activities.find((a) => a.order === order && a.activity === activity);
const details = (selector) => page.locator(`#divDetails ${selector}`);

// The keys a form's Save button carries: saveObject("material","SO-24017","_1","_2","1").
async function saveKeys(selector = 'input[onclick*="saveObject"]') {
  const handler = await details(selector).first().getAttribute('onclick');
  const [, objectName, order, activity, line] = /saveObject\("([^"]*)","([^"]*)","([^"]*)","([^"]*)"/.exec(handler);
  return { objectName, order, activity, line };
}

async function openActivity(order, activity) {
  await perform(page, () => page.click('#navigation [data-view=agenda]'));
  await perform(page, () => page.locator(`#divList span.links[onclick*='showdetails("2","${order}","${activity}"']`).click());
}

test('first run: the laptop is set up with the field definitions and the master data', async () => {
  await perform(page, () => page.goto(world.host.url));
  assert.equal(new URL(page.url()).searchParams.has('token'), false, 'the token leaves the address bar');
  await page.fill('#settingEngineer', ENGINEER.engineer);
  await page.fill('#settingCompany', ENGINEER.company);
  await page.fill('#settingCenter', ENGINEER.serviceCenter);
  await world.screenshot('welcome');
  await perform(page, () => page.click('#settingsForm button[type=submit]'));
  await world.screenshot('first-run');

  const shown = await messages(page);
  assert.match(shown, /Installed the field definitions/);
  assert.match(shown, /Installed the master-data database of SC-NORTH/);
  assert.match(await world.laptopText('C:\\Taviro Quillmere\\FieldMapper.xml'), /<ccsocservcactv>/);
  assert.ok(fs.existsSync(await world.laptopFile('C:\\Taviro Quillmere\\MasterData\\SC-NORTH.mdb')));
  assert.equal(await world.registry('HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere', 'Currentmdb'), 'SC-NORTH');
  const saved = world.savedState();
  assert.equal(saved.engineer, ENGINEER.engineer);
  assert.equal(saved.masterData['500'].lastApplied, '2026-12-07 09-05.xml', 'the package already holds the first change file');
  assert.match(await page.locator('#statusCompany').innerText(), new RegExp(world.company.origin.replace(/\./g, '\\.')));
});

test('download: the engineer\'s open orders join the laptop', async () => {
  await perform(page, () => page.click('#downloadOrders'));
  assert.match(await messages(page), /The downloaded data has been added to your local data\./);
  const store = await records();
  assert.deepEqual(store.orders.map((o) => o.order), ['SO-24017', 'SO-24018', 'SO-24019'], 'only open orders join');
  assert.ok(store.orders.every((o) => o.state === 'O'));
  assert.notEqual(await page.locator('#statusDownload').innerText(), 'Last download never');
});

test('agenda: open orders with their activities, closed ones apart', async () => {
  await perform(page, () => page.click('#navigation [data-view=agenda]'));
  const agenda = page.locator('#divList');
  assert.match(await agenda.innerText(), /My Activities/);
  assert.equal(await agenda.locator('tr.orderrow').count(), 3);
  assert.equal(await agenda.locator('tr.tablerows').count(), 5);
  assert.match(await agenda.innerText(), /Diagnose knocking noise/);
  const box = await agenda.boundingBox();
  assert.ok(box.height > 200, 'the agenda is not clipped into a small box');
  await world.screenshot('agenda');
  await perform(page, () => page.click('#viewTabs [data-tab=canceled]'));
  assert.match(await messages(page), /There are no orders to show\./);
});

test('detail view: an activity opens with its fields and cost-line choices', async () => {
  await openActivity('SO-24017', '10');
  assert.match(await details('').innerText(), /Activity Details/);
  assert.equal(await valueOf(details('#ActivityDescription')), 'Diagnose knocking noise');
  assert.equal(await details('[id=PlannedStartTime]').nth(0).inputValue(), '12/07/2026');
  assert.equal(await page.locator('#divCostHeader select[name=costtype]').count(), 1);
  await perform(page, () => page.selectOption('#divCostHeader select[name=costtype]', '2'));
  assert.match(await page.locator('#divCostLines').innerText(), /HLT-REG/, 'the labor lines of the activity');
  await world.screenshot('activity-details');
});

test('zoom: the problem is picked from the master data', async () => {
  await perform(page, () => details('span.links[onclick*=\'zoom("Problem"\']').click());
  const zoom = page.locator('#divZoomHype');
  assert.match(await zoom.innerText(), /Leakage/);
  await world.screenshot('zoom-problem');
  await perform(page, () => zoom.locator('a[href*=\'FillValues("PRB-LEAK"\']').click());
  assert.equal(await valueOf(details('#Problem')), 'PRB-LEAK');
  assert.equal(await zoom.isHidden(), true);
});

test('save: the changed activity is stored as changed', async () => {
  await details('#Remarks').fill('Valve <B> replaced & tested');
  await perform(page, () => details('#save').click());
  assert.match(await messages(page), /Your changes have been saved\./);
  const activity = activityOf(await records(), 'SO-24017', '10');
  assert.equal(activity.state, 'M');
  assert.equal(activity.fields.Problem, 'PRB-LEAK');
  assert.equal(activity.fields.Remarks, 'Valve <B> replaced & tested');
  assert.equal(activity.fields.PlannedStartTime, '20261207 0800', 'dates go back in the stored form');
  assert.equal(await page.locator('#statusWaiting strong').innerText(), '1');
});

test('validation: a code the master data does not know is refused with a message', async () => {
  await details('#Solution').fill('SOL-NONE');
  await perform(page, () => details('#save').click());
  assert.match(await messages(page), /Solution/);
  assert.equal(activityOf(await records(), 'SO-24017', '10').fields.Solution, '', 'nothing stored');
  await world.screenshot('validation-message');
  await details('#Solution').fill('');
});

test('new records: an activity and a material line on it', async () => {
  await perform(page, () => details('a[href*=\'newobject("2"\']').click());
  const activity = await saveKeys();
  await details('#ActivityDescription').fill('Replace the pressure valve');
  await details('#ReferenceActivity').fill('RA-PUMP');
  await details('[id=PlannedStartTime]').nth(0).fill('12/07/2026');
  await details('[id=PlannedStartTime]').nth(1).fill('1400');
  await details('[id=PlannedFinishTime]').nth(0).fill('12/07/2026');
  await details('[id=PlannedFinishTime]').nth(1).fill('1500');
  assert.equal(await valueOf(details('#Configuration')), 'CFG-HV-0311', 'the order\'s configuration comes along');
  await perform(page, () => details('input[onclick*="saveObject"]').click());
  assert.match(await messages(page), /The new record has been saved\./);
  const stored = activityOf(await records(), 'SO-24017', activity.activity);
  assert.equal(stored.state, 'N');
  assert.equal(stored.fields.ActivityStatus, '15');
  assert.equal(stored.fields.PlannedStartTime, '20261207 1400');

  await perform(page, () => details('a[href*=\'newobject("3"\']').click());
  const line = await saveKeys();
  await details('#ServiceItem').fill('GSK-34');
  await details('select#DeliveryType').selectOption('12');
  await details('#ActualWarehouse').fill('WH-VAN07');
  await details('#DeliveredQuantity').fill('2');
  await details('#SalesQuantityUnit').fill('pcs');
  await world.screenshot('new-material-line');
  await perform(page, () => details('input[onclick*="saveObject"]').click());
  assert.match(await messages(page), /The new record has been saved\./);
  newLine = line;
  const material = (await records()).material.find((l) => l.line === line.line);
  assert.deepEqual([material.order, material.activity, material.state], ['SO-24017', activity.activity, 'N']);
  assert.deepEqual(Object.keys(material.fields).slice(0, 4), ['ServiceOrder', 'Activity', 'LineNumber', 'ServiceItem']);
});

test('upload: the company takes the work and refuses the line with an unknown item', async () => {
  await perform(page, () => page.click('#uploadWork'));
  assert.match(await messages(page), /refused: see the error pool/);
  const store = await records();
  assert.equal(activityOf(store, 'SO-24017', '10').state, 'O', 'the confirmed change returns to the server state');
  assert.equal(store.material.find((l) => l.line === newLine.line).state, 'NU');
  assert.match(await page.locator('#errorPool').innerText(), /\(1\)/);
  assert.equal(world.savedState().pendingUpload, null);
  assert.equal(world.serverUploads().length >= 1, true);
  assert.match(world.serverOrders(), /Valve &lt;B&gt; replaced &amp; tested/, 'the server document has the change');
  await world.screenshot('upload-refused');
});

test('error pool: the refused line is corrected and goes up again; the pool empties', async () => {
  await perform(page, () => page.click('#errorPool a'));
  const pool = page.locator('#divList');
  assert.match(await pool.innerText(), /GSK-34/);
  await world.screenshot('error-pool');
  await perform(page, () => pool.locator('span.links[onclick*=\'showdetails("3"\']').click());
  await details('#ServiceItem').fill('THR-RT200');
  await perform(page, () => details('#save').click());
  assert.match(await messages(page), /Your changes have been saved\./);
  assert.equal(await page.locator('#errorPool').innerText(), '', 'the corrected entry left the pool');

  await perform(page, () => page.click('#uploadWork'));
  assert.match(await messages(page), /The company took 1 record/);
  const store = await records();
  assert.equal(store.material.some((l) => l.line === newLine.line), false, 'the confirmed new activity and its line leave the laptop');
  assert.equal(store.activities.some((a) => a.activity === newLine.activity), false);
  await perform(page, () => page.click('#navigation [data-view=errors]'));
  assert.match(await messages(page), /The error pool is empty\./);
  assert.match(world.serverOrders(), /THR-RT200/);
});

test('lost answer: the upload is sent again under its name and applied once', async () => {
  await openActivity('SO-24017', '20');
  await perform(page, () => details('a[href*=\'newobject("5"\']').click());
  await details('#CostComponent').fill('CPC-PARK');
  await details('#CostDescription').fill('Parking at the customer');
  await details('#ActualQuantity').fill('1');
  await details('#Unit').fill('pcs');
  await details('#ActualCostPrice1').fill('4.50');
  await perform(page, () => details('input[onclick*="saveObject"]').click());

  // The company takes the upload, but its answer never reaches the page.
  await page.route(`${world.company.origin}/upload**`, async (route) => {
    await route.fetch();
    await route.abort('connectionreset');
  });
  await perform(page, () => page.click('#uploadWork'));
  await page.unroute(`${world.company.origin}/upload**`);
  assert.match(await messages(page), /will be sent again under that name/);
  const pending = world.savedState().pendingUpload;
  assert.ok(pending?.name, 'the upload is kept as pending');
  assert.ok(world.serverUploads().some((file) => file.startsWith(pending.name)), 'the company did receive it');
  assert.match(await page.locator('#statusPending').innerText(), new RegExp(pending.name));
  await world.screenshot('answer-lost');

  await perform(page, () => page.reload());
  assert.match(await messages(page), new RegExp(`${pending.name} had no answer yet; it was sent again`));
  assert.equal(world.savedState().pendingUpload, null);
  assert.equal(world.serverOrders().split('Parking at the customer').length - 1, 1, 'the line is on the server once');
  const line = (await records()).other.find((l) => l.fields.CostDescription === 'Parking at the customer');
  assert.equal(line, undefined, 'the confirmed line left the laptop');
});

test('master data: a new change file is applied and the zoom list shows the new description', async () => {
  await sqlite(world.auditDatabase, `INSERT INTO ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) VALUES
    ('UNITS', '2026-12-07 09:10:00', 1, '{"dsca": "pieces"}', '{"cuni": "pcs", "dsca": "piece (each)", "tccu": 1}');`);
  await runSynchronizer(world.serverRoot, '2026-12-07 09:20:00');
  await perform(page, () => page.click('#navigation [data-view=masterdata]'));
  await perform(page, () => page.click('#viewPanel button.primary'));
  assert.match(await messages(page), /Applied the change file 2026-12-07 09-20\.xml/);
  assert.equal(world.savedState().masterData['500'].lastApplied, '2026-12-07 09-20.xml');
  const database = await world.laptopFile('C:\\Taviro Quillmere\\MasterData\\SC-NORTH.mdb');
  assert.equal((await sqlite(database, "SELECT DSCA FROM UNITS WHERE CUNI = 'pcs'")).trim(), 'piece (each)');
  await world.screenshot('masterdata-applied');

  await perform(page, () => page.click('#viewPanel button.primary'));
  assert.match(await messages(page), /up to date/, 'a file is applied once');

  await openActivity('SO-24017', '20');
  await perform(page, () => details('a[href*=\'newobject("3"\']').click());
  await perform(page, () => details('span.links[onclick*=\'zoom("SalesQuantityUnit"\']').click());
  assert.match(await page.locator('#divZoomHype').innerText(), /piece \(each\)/);
  await world.screenshot('zoom-changed-description');
  await page.locator('#divDetails input[onclick*=\'winclose("divDetails")\']').click();
  assert.equal(await page.locator('#divDetails').isHidden(), true, 'the form closes');
});

test('finished orders: an open order the company no longer lists leaves the laptop', async () => {
  const file = path.join(world.serverRoot, 'company-server/orders', `${ENGINEER.engineer}.xml`);
  const withoutOrder = world.serverOrders()
    .replace(/<record ServiceOrder="SO-24018"[\s\S]*?<\/record>/, '')
    .replace(/<ServiceOrder ID="SO-24018"[^>]*>[\s\S]*?<\/ServiceOrder>/g, '');
  fs.writeFileSync(`${file}.tmp`, withoutOrder);
  fs.renameSync(`${file}.tmp`, file);

  await perform(page, () => page.click('#navigation [data-view=upload]'));
  await perform(page, () => page.locator('#viewPanel button', { hasText: 'Remove finished orders' }).click());
  assert.match(await messages(page), /Removed the order SO-24018/);
  const store = await records();
  assert.deepEqual(store.orders.map((o) => o.order), ['SO-24017', 'SO-24019']);
  assert.equal(store.activities.some((a) => a.order === 'SO-24018'), false);
  await world.screenshot('finished-orders-removed');
});

test('more screens: the material form, an hours registration, a hyperlink, a folded panel', async () => {
  await perform(page, () => page.click('#navigation [data-view=costs]'));
  await perform(page, () => page.click('#viewActions button'));
  assert.match(await page.locator('#dropActivity').innerText(), /^10 - Diagnose knocking noise/, 'the activities of the first order');
  await perform(page, () => page.selectOption('#dropOrder', 'SO-24019'));
  assert.match(await page.locator('#dropActivity').innerText(), /Read out error memory/);

  await perform(page, () => page.click('#navigation [data-view=hours]'));
  await perform(page, () => page.click('#viewActions button'));
  const registration = await saveKeys();
  await details('#HourlyLaborType').fill('HLT-REG');
  await details('#Task').fill('TSK-DIAG');
  await details('#CostComponent').fill('CPC-LAB');
  await details('[id=StartDate]').nth(0).fill('12/07/2026');
  await details('[id=StartDate]').nth(1).fill('1300');
  await details('#EndDate').fill('2.5');
  await perform(page, () => details('input[onclick*="saveObject"]').click());
  assert.match(await messages(page), /The new record has been saved\./);
  const stored = (await records()).labor.find((l) => l.line === registration.line);
  assert.deepEqual([stored.order, stored.activity, stored.state, stored.fields.StartDate], ['', '', 'N', '20261207 1300']);
  await perform(page, () => page.click('#viewTabs [data-tab=all]'));
  assert.match(await page.locator('#divList').innerText(), new RegExp(registration.line));
  await world.screenshot('hours-registration');

  // deleteNode cannot reach a line without order and activity; the page says so instead of
  // reporting a deletion that did not happen.
  await perform(page, () => details('input[onclick*="deleteObject"]').click());
  assert.match(await messages(page), new RegExp(`hours registration ${registration.line} could not be deleted`));
  assert.ok((await records()).labor.some((l) => l.line === registration.line));

  await perform(page, () => page.click('#navigation [data-view=agenda]'));
  await perform(page, () => page.locator('#divList a[href*=\'hyperlink("ReferenceActivity","RA-DIAG"\']').first().click());
  assert.match(await page.locator('#divZoomHype').innerText(), /Diagnosis/);
  await openActivity('SO-24019', '10');
  await page.locator('#divCostHeader input[onclick*=minimize]').click();
  assert.equal(await page.locator('#divCostHeader select[name=costtype]').isHidden(), true, 'folded to its title');
});

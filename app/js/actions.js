// The engineer's actions with the company's server: download, upload, master data, removal of
// finished orders, and the first run that prepares a laptop.
import * as host from './host.js';
import * as components from './component.js';
import { component } from './component.js';
import { session } from './session.js';
import { state } from './state.js';
import { say } from './ui.js';
import { applyChangeFiles, installMasterData, sendPendingUpload, timestamp, uploadWork } from './workday.js';

const deps = () => ({ component, company: session.company, host, state });

// Nothing is built or marked as uploaded while there is no server to send it to.
function needCompanyServer(what) {
  if (!session.company.address) {
    throw new Error(`${what}: no company server is configured (start the application with --company URL).`);
  }
}

function parseXml(text) {
  const document = new DOMParser().parseFromString(text ?? '', 'application/xml');
  return document.getElementsByTagName('parsererror').length ? null : document;
}

// --- first run ---------------------------------------------------------------------------

export async function prepareLaptop() {
  const startup = await component.call('Initialize');
  if (startup) say(startup, 'error');
  if (!(await component.call('FMapperXMLExists'))) {
    await component.call('getFMapper', await host.deliveredFieldDefinitions(), 'No');
    say('Installed the field definitions delivered with the application.', 'success');
  }
  await component.call('RegisterDownloadPath');
  if (session.company.address && state.current().serviceCenter) {
    try {
      const outcome = await installMasterData(deps());
      if (outcome.installed) say(`Installed the master-data database of ${outcome.database}.`, 'success');
    } catch (error) {
      say(`The master-data database could not be installed: ${error.message}`, 'error');
    }
  }
  if (await component.call('GetVariable', 'Currentmdb')) await component.call('OpenDataBase');
  else say('There is no master-data database on this laptop yet: codes cannot be checked or looked up.', 'notice');
}

// An upload whose answer was lost goes again first, under its own name.
export async function resendPendingUpload() {
  const pending = state.current().pendingUpload;
  if (!pending || !session.company.address) return;
  try {
    await sendPendingUpload(deps());
    say(`The upload ${pending.name} had no answer yet; it was sent again and the answer taken in.`, 'success');
  } catch (error) {
    say(`${error.message} The upload ${pending.name} is kept and will be sent again.`, 'error');
  }
}

// --- orders ------------------------------------------------------------------------------

export async function downloadOrders() {
  needCompanyServer('Downloading your orders');
  const text = await session.company.orders(state.current().engineer);
  await components.report('DownloadXml', text);
  await state.save({ lastDownload: timestamp() });
}

function orderNumbers(storeXml) {
  const store = parseXml(storeXml);
  const orders = store?.getElementsByTagName('ccsocservcordr')[0];
  return orders ? [...orders.children].map((record) => record.getAttribute('ServiceOrder')) : [];
}

// Open orders that the company no longer lists leave the laptop (unless refused entries of
// theirs wait in the error pool).
export async function removeFinishedOrders() {
  needCompanyServer('Removing finished orders');
  const before = orderNumbers(await component.call('GetMailContent', 'ZudivevEzored'));
  const current = await session.company.orders(state.current().engineer);
  await component.call('deleteCompletedOrders', current);
  const after = new Set(orderNumbers(await component.call('GetMailContent', 'ZudivevEzored')));
  const removed = before.filter((order) => !after.has(order));
  if (removed.length === 0) say('Every open order on this laptop is still listed by the company; nothing was removed.', 'notice');
  else say(`Removed ${removed.length === 1 ? 'the order' : 'the orders'} ${removed.join(', ')}: the company no longer lists ${removed.length === 1 ? 'it' : 'them'}.`, 'success');
  return removed;
}

// --- upload ------------------------------------------------------------------------------

export function summarizeReport(reportXml) {
  const report = parseXml(reportXml);
  const entries = report ? [...report.documentElement.children].flatMap((group) => [...group.children]) : [];
  const refused = entries.filter((entry) => entry.getAttribute('Status') === 'Error');
  return { completed: entries.length - refused.length, refused: refused.map((e) => e.getAttribute('Description') ?? '') };
}

let lastOutcome = null;
export const lastUploadOutcome = () => lastOutcome;

export async function upload() {
  needCompanyServer('Sending your work');
  const pending = state.current().pendingUpload;
  let outcome;
  try {
    outcome = await uploadWork(deps());
  } catch (error) {
    const kept = state.current().pendingUpload;
    const note = kept ? ` Your work is kept as upload ${kept.name} and will be sent again under that name.` : '';
    const sentence = /[.!?]$/.test(error.message) ? error.message : `${error.message}.`;
    throw new Error(`${sentence}${note}`);
  }
  if (outcome.resent) say(`The earlier upload ${pending.name} was sent again and its answer taken in.`, 'success');
  if (!outcome.sent) {
    say('There is nothing new to upload.', 'notice');
    return;
  }
  const summary = summarizeReport(outcome.sent.report);
  lastOutcome = { name: outcome.sent.name, ...summary };
  const taken = `The company took ${summary.completed} record${summary.completed === 1 ? '' : 's'}`;
  if (summary.refused.length === 0) say(`${taken} of upload ${outcome.sent.name}.`, 'success');
  else say(`${taken}; ${summary.refused.length} ${summary.refused.length === 1 ? 'was' : 'were'} refused: see the error pool.`, 'error');
}

// --- master data -------------------------------------------------------------------------

let lastMasterDataRun = null;
export const lastMasterDataOutcome = () => lastMasterDataRun;

export async function updateMasterData() {
  needCompanyServer('Updating the master data');
  let applied = [];
  try {
    applied = await applyChangeFiles(deps());
  } finally {
    lastMasterDataRun = { at: timestamp(), applied };
  }
  if (applied.length === 0) {
    say('The master data is up to date: the company has no change file that this laptop has not applied.', 'notice');
    return;
  }
  for (const file of applied) {
    if (file.failed.length === 0) say(`Applied the change file ${file.name}.`, 'success');
    else say(`Applied the change file ${file.name}, but these tables failed: ${file.failed.map((f) => `${f.table} (${f.reason})`).join(', ')}.`, 'error');
  }
}

export async function installMasterDataNow() {
  const outcome = await installMasterData(deps());
  if (outcome.installed) say(`Installed the master-data database of ${outcome.database}.`, 'success');
  else if (outcome.database) say(`The master-data database ${outcome.database} is already installed.`, 'notice');
  else say('The company server offers no master-data database for this service center.', 'error');
}

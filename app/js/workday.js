// The exchanges of a working day with the company's server, in the order the component needs
// them. Each takes what it talks to as arguments (component, company server, saved state),
// so the order of the steps can be checked without a browser.
//
// component.call(method, ...args) resolves to the method's result and rejects when the call
// fails; state.current() is the saved state and state.save(changes) merges and persists it.

export class StepFailed extends Error {}

export function timestamp(date = new Date()) {
  return date.toISOString();
}

// Upload names are unique per laptop: the engineer, the minute and a running number.
export function uploadName(engineer, sequence, date = new Date()) {
  const who = String(engineer || 'engineer').replace(/[^A-Za-z0-9_-]/g, '_');
  const pad = (n) => String(n).padStart(2, '0');
  const stamp = `${date.getFullYear()}${pad(date.getMonth() + 1)}${pad(date.getDate())}-${pad(date.getHours())}${pad(date.getMinutes())}`;
  return `${who}-${stamp}-${sequence}.xml`;
}

// Sends a pending upload (one whose answer never arrived) under its own name and imports the
// report. The pending upload is kept until DownloadErrors has taken the report, so an answer
// lost on the way is asked for again rather than lost. Returns the outcome, or null.
export async function sendPendingUpload({ component, company, state }) {
  const pending = state.current().pendingUpload;
  if (!pending) return null;
  const report = await company.upload(pending.name, pending.document, state.current().engineer);
  const failure = await component.call('DownloadErrors', report);
  if (failure) throw new StepFailed(failure);
  await state.save({ pendingUpload: null, lastUpload: timestamp() });
  return { name: pending.name, report };
}

// The engineer's upload: an earlier unanswered upload goes first; then the component builds
// the document (marking what it holds as uploaded), the page records it as pending BEFORE it
// is sent, sends it and hands the report to DownloadErrors.
export async function uploadWork({ component, company, state }) {
  const resent = await sendPendingUpload({ component, company, state });
  const document = await component.call('CreateXMLStringForUpdate');
  if (!document) return { resent, sent: null };
  const sequence = (state.current().uploadSequence ?? 0) + 1;
  const name = uploadName(state.current().engineer, sequence);
  await state.save({ pendingUpload: { name, document }, uploadSequence: sequence });
  const report = await company.upload(name, document, state.current().engineer);
  const failure = await component.call('DownloadErrors', report);
  if (failure) throw new StepFailed(failure);
  await state.save({ pendingUpload: null, lastUpload: timestamp() });
  return { resent, sent: { name, report } };
}

// The per-table lines that Synchronize_MasterData writes into the log for its last run.
export function tableOutcomesFromLog(logText) {
  const text = String(logText ?? '');
  const start = text.lastIndexOf('For User Action: Synchronize Master Data');
  if (start < 0) return { succeeded: [], failed: [] };
  const lines = text.slice(start).split(/\r?\n/).slice(1);
  const succeeded = [];
  const failed = [];
  for (const line of lines) {
    if (line.startsWith('|---------')) break;
    const success = /^Successful in Table - (\S+)/.exec(line);
    const failure = /^Failed in Table - (\S+)\s+Reason : (.*)$/.exec(line);
    if (success) succeeded.push(success[1]);
    else if (failure) failed.push({ table: failure[1], reason: failure[2].trim() });
    else if (/^Error = /.test(line) && failed.length) failed[failed.length - 1].detail = line.replace(/^Error =\s+/, '');
  }
  return { succeeded, failed };
}

export function changeFilesToApply(names, lastApplied) {
  return [...names].filter((name) => !lastApplied || name > lastApplied).sort();
}

// Applies the company's change files that this laptop has not applied yet, oldest first, each
// once: the last one applied is remembered after each file, and a file that the component
// could not read stops the run so that nothing after it is applied out of order.
export async function applyChangeFiles({ component, company, state }) {
  const companyNumber = state.current().company;
  if (!companyNumber) throw new StepFailed('No ERP company is set for this laptop (Settings).');
  const applied = [];
  const names = await company.changeFiles(companyNumber);
  const lastApplied = state.current().masterData?.[companyNumber]?.lastApplied ?? '';
  for (const name of changeFilesToApply(names, lastApplied)) {
    const text = await company.changeFile(companyNumber, name);
    const result = await component.call('Synchronize_MasterData', text);
    if (result !== 'SUCCESSFUL') {
      throw new StepFailed(`The change file ${name} was not applied: ${result || 'no answer'}.`);
    }
    const outcome = tableOutcomesFromLog(await component.call('GetMailContent', 'Log'));
    const masterData = { ...(state.current().masterData ?? {}), [companyNumber]: { lastApplied: name } };
    await state.save({ masterData, lastMasterDataUpdate: timestamp() });
    applied.push({ name, ...outcome });
  }
  return applied;
}

// First run without a master-data database: the company's package is saved into the download
// folder, unpacked by ExplodeZip and made the current database. The change files that exist
// now are already in a package built from the server database, so they count as applied.
export async function installMasterData({ component, company, host, state }) {
  const current = await component.call('GetVariable', 'Currentmdb');
  if (current) return { installed: false, database: current };
  const center = state.current().serviceCenter;
  const offered = await company.masterDataPackage(center);
  if (!offered) return { installed: false, database: '' };
  await component.call('RegisterDownloadPath');
  await host.saveDownload(`${offered.name}.exe`, offered.bytes);
  await component.call('ExplodeZip', offered.name);
  await component.call('SetCurrentmdb', offered.name);
  await component.call('SetODBCDataBase', `${offered.name}.mdb`);
  const database = await component.call('GetVariable', 'Currentmdb');
  if (!database) throw new StepFailed(`The master-data package ${offered.name} did not hold ${offered.name}.mdb.`);
  await component.call('OpenDataBase');
  const companyNumber = state.current().company;
  if (companyNumber) {
    const names = await company.changeFiles(companyNumber).catch(() => []);
    const newest = changeFilesToApply(names, '').pop();
    if (newest) {
      const masterData = { ...(state.current().masterData ?? {}), [companyNumber]: { lastApplied: newest } };
      await state.save({ masterData });
    }
  }
  await state.save({ lastMasterDataUpdate: timestamp() });
  return { installed: true, database };
}

// The order of the working day's exchanges, with a recording component and company server.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  uploadWork, sendPendingUpload, applyChangeFiles, tableOutcomesFromLog, changeFilesToApply, installMasterData, uploadName,
} from '../../../app/js/workday.js';

// What the page talks to, recording every step in one journal.
function fixture({ saved = {}, results = {}, reports = {}, files = {}, dropAnswers = 0 } = {}) {
  const journal = [];
  let state = structuredClone(saved);
  let toDrop = dropAnswers;
  const component = {
    async call(method, ...args) {
      journal.push(['call', method, ...args]);
      const answer = results[method];
      return typeof answer === 'function' ? answer(...args) : answer ?? '';
    },
  };
  const company = {
    address: 'http://company',
    async upload(name, document) {
      journal.push(['upload', name, document]);
      if (toDrop > 0) { toDrop -= 1; throw new Error('the answer was lost'); }
      return reports[name] ?? `<report for="${name}"/>`;
    },
    async changeFiles(companyNumber) { journal.push(['list', companyNumber]); return Object.keys(files); },
    async changeFile(companyNumber, name) { journal.push(['fetch', name]); return files[name]; },
    async masterDataPackage(center) { journal.push(['package', center]); return { bytes: new Uint8Array([1]), name: center }; },
  };
  const host = { async saveDownload(name) { journal.push(['save', name]); return { saved: name }; } };
  const store = {
    current: () => state,
    async save(changes) { state = { ...state, ...changes }; journal.push(['state', Object.keys(changes).sort().join(',')]); return state; },
  };
  return { journal, component, company, host, state: store, saved: () => state };
}

test('an upload is recorded as pending before it is sent and cleared once the report is in', async () => {
  const day = fixture({ saved: { engineer: 'E1042' }, results: { CreateXMLStringForUpdate: '<upload/>' } });
  const outcome = await uploadWork(day);
  const steps = day.journal.map((step) => step.slice(0, 2).join(' '));
  assert.deepEqual(steps, ['call CreateXMLStringForUpdate', 'state pendingUpload,uploadSequence', `upload ${outcome.sent.name}`,
    'call DownloadErrors', 'state lastUpload,pendingUpload']);
  assert.deepEqual(day.journal[3], ['call', 'DownloadErrors', `<report for="${outcome.sent.name}"/>`]);
  assert.equal(day.saved().pendingUpload, null);
  assert.match(outcome.sent.name, /^E1042-\d{8}-\d{4}-1\.xml$/);
});

test('a lost answer keeps the upload, and the next upload sends it again under its name first', async () => {
  const day = fixture({ saved: { engineer: 'E1042' }, results: { CreateXMLStringForUpdate: '<upload/>' }, dropAnswers: 1 });
  await assert.rejects(uploadWork(day), /lost/);
  const pending = day.saved().pendingUpload;
  assert.deepEqual(pending.document, '<upload/>');
  assert.ok(!day.journal.some(([, method]) => method === 'DownloadErrors'), 'no report was imported');

  day.journal.length = 0;
  const outcome = await uploadWork(day);
  assert.equal(outcome.resent.name, pending.name);
  const uploads = day.journal.filter(([what]) => what === 'upload').map(([, name]) => name);
  assert.deepEqual(uploads, [pending.name, outcome.sent.name]);
  assert.notEqual(outcome.sent.name, pending.name, 'the new upload has a name of its own');
});

test('a report the component refuses keeps the upload pending', async () => {
  const day = fixture({ saved: { pendingUpload: { name: 'a.xml', document: '<upload/>' } }, results: { DownloadErrors: 'The report is not valid XML.' } });
  await assert.rejects(sendPendingUpload(day), /not valid XML/);
  assert.equal(day.saved().pendingUpload.name, 'a.xml');
});

test('nothing to upload sends nothing', async () => {
  const day = fixture({ results: { CreateXMLStringForUpdate: '' } });
  assert.deepEqual(await uploadWork(day), { resent: null, sent: null });
  assert.ok(!day.journal.some(([what]) => what === 'upload' || what === 'state'));
});

test('change files not applied yet go to the component once each, oldest first', async () => {
  const files = { '2026-12-07 09-20.xml': '<second/>', '2026-12-07 09-05.xml': '<first/>', '2026-12-06 17-00.xml': '<old/>' };
  const day = fixture({
    saved: { company: '500', masterData: { 500: { lastApplied: '2026-12-06 17-00.xml' } } },
    results: { Synchronize_MasterData: 'SUCCESSFUL', GetMailContent: '' },
    files,
  });
  const applied = await applyChangeFiles(day);
  assert.deepEqual(applied.map((file) => file.name), ['2026-12-07 09-05.xml', '2026-12-07 09-20.xml']);
  const synchronized = day.journal.filter(([, method]) => method === 'Synchronize_MasterData').map(([, , text]) => text);
  assert.deepEqual(synchronized, ['<first/>', '<second/>']);
  assert.equal(day.saved().masterData['500'].lastApplied, '2026-12-07 09-20.xml');

  day.journal.length = 0;
  assert.deepEqual(await applyChangeFiles(day), [], 'a second run applies nothing again');
});

test('a change file the component cannot read stops the run before the files after it', async () => {
  const day = fixture({
    saved: { company: '500' },
    results: { Synchronize_MasterData: (text) => (text === '<broken' ? 'INVALID XML String!!' : 'SUCCESSFUL') },
    files: { 'a.xml': '<a/>', 'b.xml': '<broken', 'c.xml': '<c/>' },
  });
  await assert.rejects(applyChangeFiles(day), /b\.xml was not applied: INVALID XML String!!/);
  assert.equal(day.saved().masterData['500'].lastApplied, 'a.xml');
  assert.ok(!day.journal.some(([what, name]) => what === 'fetch' && name === 'c.xml'));
});

test('the log tells which tables of the last run failed', () => {
  const log = [
    '|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: Synchronize Master Data  ----------',
    'Failed in Table - UNITS     Reason : old run',
    '|--------- Logged On:  12/7/2026 9:20:00 AM  For User Action: Synchronize Master Data  ----------',
    'VOMasterData COMP = 500  TIME = 20261207092000',
    'Successful in Table - HOURLYLABORTYPE',
    'Failed in Table - UNITS     Reason : INVALID DATA OPERATION',
    'Error =   UNIQUE constraint failed: UNITS.COMP, UNITS.CUNI (row 2)',
    'Failed in Table - PROBLEMS     Reason : C:\\Taviro Quillmere\\MasterData\\SC1.mdb Does not exist',
    'Successful Tables = 1  Failed Tables = 2',
    '|--------- Logged On:  12/7/2026 9:21:00 AM  For User Action: My Activities  ----------',
    'Failed in Table - NOT_OURS     Reason : x',
  ].join('\r\n');
  const outcome = tableOutcomesFromLog(log);
  assert.deepEqual(outcome.succeeded, ['HOURLYLABORTYPE']);
  assert.deepEqual(outcome.failed.map((f) => [f.table, f.reason]), [
    ['UNITS', 'INVALID DATA OPERATION'], ['PROBLEMS', 'C:\\Taviro Quillmere\\MasterData\\SC1.mdb Does not exist']]);
  assert.match(outcome.failed[0].detail, /^UNIQUE constraint failed/);
  assert.deepEqual(tableOutcomesFromLog(''), { succeeded: [], failed: [] });
});

test('change files are chosen by name after the last applied one', () => {
  assert.deepEqual(changeFilesToApply(['b', 'c', 'a'], ''), ['a', 'b', 'c']);
  assert.deepEqual(changeFilesToApply(['b', 'c', 'a'], 'b'), ['c']);
});

test('the first run installs the package as the download manager would, then makes it current', async () => {
  let current = '';
  const day = fixture({
    saved: { company: '500', serviceCenter: 'SC-NORTH' },
    results: { GetVariable: () => current, SetCurrentmdb: (name) => { current = name; return ''; } },
    files: { '2026-12-07 09-05.xml': '<x/>' },
  });
  const outcome = await installMasterData(day);
  assert.deepEqual(outcome, { installed: true, database: 'SC-NORTH' });
  const steps = day.journal.filter(([what]) => what !== 'state').map((step) => step.slice(0, 3).join(' '));
  assert.deepEqual(steps, ['call GetVariable Currentmdb', 'package SC-NORTH', 'call RegisterDownloadPath', 'save SC-NORTH.exe',
    'call ExplodeZip SC-NORTH', 'call SetCurrentmdb SC-NORTH', 'call SetODBCDataBase SC-NORTH.mdb',
    'call GetVariable Currentmdb', 'call OpenDataBase', 'list 500']);
  assert.equal(day.saved().masterData['500'].lastApplied, '2026-12-07 09-05.xml');

  day.journal.length = 0;
  assert.deepEqual(await installMasterData(day), { installed: false, database: 'SC-NORTH' }, 'an installed database stays');
});

test('upload names are plain file names', () => {
  assert.equal(uploadName('E/10 42', 3, new Date(2026, 11, 7, 9, 5)), 'E_10_42-20261207-0905-3.xml');
});

test('a package that held no database is reported, not taken for installed', async () => {
  const day = fixture({ saved: { company: '500', serviceCenter: 'SC-NORTH' }, results: { GetVariable: '' } });
  await assert.rejects(installMasterData(day), /did not hold SC-NORTH\.mdb/);
  assert.ok(!day.journal.some(([, method]) => method === 'OpenDataBase'));
  assert.equal(day.saved().masterData, undefined, 'no change file counts as applied');
});

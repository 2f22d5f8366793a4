// The world of a working day: a company server's root (the synchronizer's and the stand-in's),
// an engineer's laptop (a machine root), the programs serving them, and Chromium. Paths come
// from the build (tests/e2e/CMakeLists.txt).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { openBrowser } from './browser.mjs';
import { freePort, run, runOrFail, startServer } from './processes.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const SOURCE = process.env.TAVIRO_SOURCE_DIR ?? path.resolve(here, '../../..');
const BUILD = process.env.TAVIRO_BUILD_DIR ?? path.join(SOURCE, 'build');
export const PROGRAMS = {
  quillmere: process.env.QUILLMERE ?? path.join(BUILD, 'bin/quillmere'),
  brindlemoor: process.env.BRINDLEMOOR ?? path.join(BUILD, 'bin/brindlemoor'),
  companyServer: process.env.COMPANY_SERVER ?? path.join(BUILD, 'bin/company-server'),
};
export const SCREENSHOTS = process.env.E2E_SCREENSHOTS ?? path.join(BUILD, 'e2e-screenshots');

// The synchronizer's clock for the first change file; later runs pass their own.
export const FIRST_RUN_AT = '2026-12-07 09:05:00';
export const ENGINEER = { engineer: 'E1042', company: '500', serviceCenter: 'SC-NORTH' };

export function quillmere(root, ...args) {
  return runOrFail(PROGRAMS.quillmere, ['--root', root, ...args]);
}

async function windowsPath(root, windows) {
  return (await quillmere(root, 'path', windows)).stdout.trim();
}

export async function sqlite(database, sql) {
  return (await runOrFail('sqlite3', [database, sql])).stdout;
}

// A company server's root after the synchronizer's first run (tools/demo/lib/server-root.sh):
// change file, server database with the office's items, the SC-NORTH master-data package; the
// stand-in seeds the engineer's orders from the sample download.
export async function prepareServerRoot(serverRoot) {
  await runOrFail('bash', [path.join(SOURCE, 'tools/demo/lib/server-root.sh'), serverRoot], { env: { QUILLMERE: PROGRAMS.quillmere } });
  await runSynchronizer(serverRoot, FIRST_RUN_AT);
  return { auditDatabase: await windowsPath(serverRoot, 'C:\\Data\\erp500.db') };
}

export async function runSynchronizer(serverRoot, at) {
  return runOrFail(PROGRAMS.brindlemoor, ['--root', serverRoot, '--run'], { env: { TAVIRO_NOW: at } });
}

// Starts the stand-in and the host for a laptop root; the host's port is chosen first so the
// stand-in can allow the page's origin.
export async function startPrograms(serverRoot, machineRoot) {
  const hostPort = await freePort();
  const origins = [`http://127.0.0.1:${hostPort}`, `http://localhost:${hostPort}`];
  const company = await startServer('company-server', PROGRAMS.companyServer,
    ['--root', serverRoot, '--port', '0', ...origins.flatMap((origin) => ['--origin', origin])]);
  const deliveredData = path.join(path.dirname(PROGRAMS.quillmere), '../share/taviro/data');
  const env = fs.existsSync(deliveredData) ? {} : { TAVIRO_DATA_DIR: path.join(SOURCE, 'data') };
  const host = await startServer('quillmere serve', PROGRAMS.quillmere,
    ['--root', machineRoot, 'serve', '--port', String(hostPort), '--company', company.origin], { env });
  return { company, host };
}

export async function startWorld(viewport = {}) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmere-day-'));
  const serverRoot = path.join(folder, 'server');
  const machineRoot = path.join(folder, 'machine');
  fs.mkdirSync(path.join(machineRoot, 'C'), { recursive: true });
  const databases = await prepareServerRoot(serverRoot);
  const { company, host } = await startPrograms(serverRoot, machineRoot);
  const browser = await openBrowser(viewport);
  fs.mkdirSync(SCREENSHOTS, { recursive: true });
  for (const old of fs.readdirSync(SCREENSHOTS).filter((name) => name.endsWith('.png'))) fs.rmSync(path.join(SCREENSHOTS, old));
  let shots = 0;
  const world = {
    folder, serverRoot, machineRoot, company, host, browser, page: browser.page, ...databases,

    async screenshot(name) {
      shots += 1;
      const file = path.join(SCREENSHOTS, `${String(shots).padStart(2, '0')}-${name}.png`);
      // A whole-page picture taken while scrolled draws the sticky header where the view was;
      // from the top it sits where the engineer sees it.
      await world.page.evaluate(() => window.scrollTo(0, 0));
      await world.page.screenshot({ path: file, fullPage: true });
      return file;
    },

    laptopFile: (windows) => windowsPath(machineRoot, windows),
    async laptopText(windows) {
      const file = await windowsPath(machineRoot, windows);
      return fs.existsSync(file) ? fs.readFileSync(file, 'latin1') : null;
    },
    store: () => world.laptopText('C:\\Taviro Quillmere\\ZudivevEzored.xml'),
    savedState: () => JSON.parse(fs.readFileSync(path.join(machineRoot, 'quillmere-app.json'), 'utf8')),
    registry: async (key, name) => (await run(PROGRAMS.quillmere, ['--root', machineRoot, 'reg', 'get', key, name])).stdout.trim(),
    serverOrders: () => fs.readFileSync(path.join(serverRoot, 'company-server/orders', `${ENGINEER.engineer}.xml`), 'utf8'),
    serverUploads: () => fs.readdirSync(path.join(serverRoot, 'company-server/uploads')).sort(),

    async stop() {
      await browser.close().catch(() => {});
      const codes = { host: await host.stop(), company: await company.stop() };
      if (!process.env.E2E_KEEP) fs.rmSync(folder, { recursive: true, force: true });
      return codes;
    },
  };
  return world;
}

// The order store as plain data, read with the page's own XML parser: every order, activity and
// cost line with its keys, state and fields.
export function storeRecords(page, xml) {
  return page.evaluate((text) => {
    const store = new DOMParser().parseFromString(text ?? '', 'application/xml');
    const fields = (record) => Object.fromEntries([...record.children].map((field) => [field.tagName, field.textContent]));
    const container = (name) => [...(store.getElementsByTagName(name)[0]?.children ?? [])];
    const lines = (name) => container(name).flatMap((group) => [...group.children].map((line) => ({
      order: group.getAttribute('ID'), activity: group.getAttribute('Activity'), groupState: group.getAttribute('State'),
      line: line.getAttribute('LineNumber'), state: line.getAttribute('State'), fields: fields(line),
    })));
    return {
      orders: container('ccsocservcordr').map((record) => ({
        order: record.getAttribute('ServiceOrder'), state: record.getAttribute('State'), fields: fields(record),
      })),
      activities: container('ccsocservcactv').flatMap((group) => [...group.children].map((activity) => ({
        order: group.getAttribute('ID'), groupState: group.getAttribute('State'),
        activity: activity.getAttribute('Activity'), state: activity.getAttribute('State'), fields: fields(activity),
      }))),
      material: lines('ccsocservcmatl'),
      labor: lines('ccsocservclabr'),
      other: lines('ccsocservcothr'),
    };
  }, xml);
}

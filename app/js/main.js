// The engineer's application: navigation, the page's own panels, the status line, and the
// start of a working day.
import * as host from './host.js';
import * as components from './component.js';
import { component } from './component.js';
import * as actions from './actions.js';
import { h, shownTime } from './dom.js';
import { installPageFunctions, setPageHooks, openEntryForm, reopenDetails } from './functions.js';
import { session } from './session.js';
import { state } from './state.js';
import { act, afterEachAction, say, showFragment, closePanel, panelLayout } from './ui.js';
import { VIEWS, MASTER_DATA_TABLES, viewCall } from './views.js';

const byId = (id) => document.getElementById(id);
const current = { view: 'agenda', tab: null, filter: null };
let started = false;

// --- navigation --------------------------------------------------------------------------

function renderNavigation() {
  const items = Object.entries(VIEWS).map(([key, view]) =>
    h('button', { type: 'button', className: 'nav-item', 'data-view': key, onclick: () => act(() => showView(key)) }, view.title));
  byId('navigation').replaceChildren(...items);
}

function markSelected(container, attribute, key) {
  for (const button of container.querySelectorAll(`[${attribute}]`)) {
    const selected = button.getAttribute(attribute) === key;
    button.classList.toggle('selected', selected);
    button.setAttribute('aria-selected', String(selected));
  }
}

function renderViewHead(view) {
  byId('viewTitle').textContent = view.title;
  const tabs = (view.tabs ?? []).length > 1 ? view.tabs : [];
  byId('viewTabs').replaceChildren(...tabs.map((tab) =>
    h('button', { type: 'button', role: 'tab', 'data-tab': tab.key, onclick: () => act(() => showView(current.view, tab.key, current.filter)) }, tab.label)));
  byId('viewFilters').replaceChildren(...(view.filters ?? []).map((filter) =>
    h('button', { type: 'button', 'data-filter': filter.key, onclick: () => act(() => showView(current.view, current.tab, filter.key)) }, filter.label)));
  byId('viewActions').replaceChildren(...(view.actions ?? []).map((action) =>
    h('button', { type: 'button', onclick: () => openEntryForm(...action.form) }, action.label)));
  markSelected(byId('navigation'), 'data-view', current.view);
  markSelected(byId('viewTabs'), 'data-tab', current.tab);
  markSelected(byId('viewFilters'), 'data-filter', current.filter);
}

async function showView(key, tabKey = null, filterKey = null) {
  const view = VIEWS[key];
  current.view = key;
  current.tab = tabKey ?? view.tabs?.[0]?.key ?? null;
  current.filter = filterKey ?? view.filters?.[0]?.key ?? null;
  renderViewHead(view);
  const own = byId('viewPanel');
  if (view.own) {
    closePanel('divList');
    own.hidden = false;
    await OWN_PANELS[key](own);
    return;
  }
  own.hidden = true;
  own.replaceChildren();
  const [method, ...args] = viewCall(view, current.tab, current.filter);
  const { html } = await components.fragment(method, args, 'notice');
  showFragment('divList', html);
  panelLayout('divList', method);
  if (key === 'agenda' && !html && !state.current().lastDownload) {
    say('Press "Download orders" to fetch your orders from the company.', 'notice');
  }
  // Once every refused record went up again, the list is its heading alone.
  if (key === 'errors' && !/class=tablerows/i.test(html)) say('The error pool is empty.', 'notice');
}

const refreshView = () => showView(current.view, current.tab, current.filter);

// --- the page's own panels ---------------------------------------------------------------

function section(title, ...children) {
  return h('section', { className: 'card' }, h('h3', { text: title }), ...children);
}

function actionButton(label, work, primary = false) {
  return h('button', { type: 'button', className: primary ? 'primary' : '', onclick: () => act(async () => { await work(); await refreshView(); }) }, label);
}

async function uploadPanel(container) {
  const { waitingForUpload } = await host.status();
  const pending = state.current().pendingUpload;
  const outcome = actions.lastUploadOutcome();
  container.replaceChildren(
    section('Send your work',
      h('p', { text: `${waitingForUpload} record${waitingForUpload === 1 ? ' is' : 's are'} waiting for upload. ` +
        'The upload holds what you created or changed since the last one; the company answers with a report, and refused records go to the error pool.' }),
      pending ? h('p', { className: 'warning', text: `The upload ${pending.name} has had no answer yet: it is sent again, under the same name, before anything new.` }) : null,
      h('p', {}, actionButton('Upload my work', actions.upload, true)),
      outcome ? h('div', { className: 'outcome' },
        h('p', { text: `Last upload ${outcome.name}: ${outcome.completed} taken, ${outcome.refused.length} refused.` }),
        outcome.refused.length ? h('ul', {}, outcome.refused.map((text) => h('li', { text }))) : null) : null,
      h('p', { className: 'hint', text: `Last upload: ${shownTime(state.current().lastUpload)}` })),
    section('Finished orders',
      h('p', { text: 'Open orders that the company no longer lists are finished or taken away by the office. ' +
        'Orders with refused records in the error pool stay.' }),
      h('p', {}, actionButton('Remove finished orders', actions.removeFinishedOrders))));
}

let tableTitles = null;

async function masterDataPanel(container) {
  const database = await component.call('GetVariable', 'Currentmdb');
  const companyNumber = state.current().company;
  const lastApplied = state.current().masterData?.[companyNumber]?.lastApplied;
  if (!tableTitles && database) {
    tableTitles = [];
    for (const [code, label] of MASTER_DATA_TABLES) tableTitles.push([code, (await component.call('GetI18NString', label)) || code]);
  }
  const run = actions.lastMasterDataOutcome();
  container.replaceChildren(
    section('Your master data',
      h('p', { text: database ? `Database of service center ${database}.` : 'No master-data database is installed on this laptop.' }),
      h('p', { text: lastApplied ? `Last change file applied (company ${companyNumber}): ${lastApplied}.` : `No change file of company ${companyNumber || '?'} applied yet.` }),
      h('p', { className: 'hint', text: `Last update: ${shownTime(state.current().lastMasterDataUpdate)}` }),
      h('p', {},
        database ? actionButton('Update master data', actions.updateMasterData, true) : actionButton('Install the master-data database', actions.installMasterDataNow, true)),
      run && run.applied.length ? h('ul', { className: 'outcome' }, run.applied.map((file) =>
        h('li', { text: file.failed.length ? `${file.name}: ${file.succeeded.length} tables updated; failed: ${file.failed.map((f) => `${f.table} – ${f.reason}`).join('; ')}` : `${file.name}: ${file.succeeded.length} tables updated` }))) : null),
    database ? section('Look at a table',
      h('div', { className: 'table-buttons' }, (tableTitles ?? []).map(([code, title]) =>
        h('button', { type: 'button', 'data-table': code, onclick: () => act(() => showMasterDataTable(code)) }, title)))) : null);
}

async function showMasterDataTable(code) {
  const html = await component.call('MasterData', code);
  if (!html) say('There is no master-data database on this laptop yet.', 'error');
  showFragment('divList', html);
  panelLayout('divList', 'MasterData');
  markSelected(byId('viewPanel'), 'data-table', code);
}

async function settingsPanel(container, { firstRun = false } = {}) {
  const saved = state.current();
  const field = (id, label, value, hint) => h('label', { className: 'field' },
    h('span', { text: label }), h('input', { id, name: id, value: value ?? '', required: true, autocomplete: 'off' }),
    hint ? h('small', { text: hint }) : null);
  const form = h('form', { className: 'settings', id: 'settingsForm' },
    field('settingEngineer', 'Engineer', saved.engineer, 'Your engineer number at the company, as on your orders.'),
    field('settingCompany', 'ERP company', saved.company, 'The company number whose master data you use.'),
    field('settingCenter', 'Service center', saved.serviceCenter, 'Your service center; its master-data database is installed on this laptop.'),
    h('p', { className: 'hint', text: `Company server: ${session.config.company || 'none configured (start the application with --company)'}` }),
    h('p', {}, h('button', { type: 'submit', className: 'primary' }, firstRun ? 'Start' : 'Save settings')));
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    act(async () => {
      await state.save({
        engineer: byId('settingEngineer').value.trim(),
        company: byId('settingCompany').value.trim(),
        serviceCenter: byId('settingCenter').value.trim(),
      });
      renderWho();
      if (!started) await startDay();
      else say('Settings saved.', 'success');
    });
  });
  container.replaceChildren(section(firstRun ? 'Welcome – set up this laptop' : 'Settings',
    firstRun ? h('p', { text: 'Before the first working day the application installs the field definitions and your service center\'s master data. Tell it who you are.' }) : null,
    form));
}

const OWN_PANELS = { upload: uploadPanel, masterdata: masterDataPanel, settings: settingsPanel };

// --- status line -------------------------------------------------------------------------

function renderWho() {
  const { engineer, company, serviceCenter } = state.current();
  byId('who').textContent = engineer ? `Engineer ${engineer} · company ${company || '?'} · ${serviceCenter || 'no service center'}` : 'Not set up yet';
}

async function refreshStatus() {
  if (!started) return;
  const [{ waitingForUpload }, pool] = await Promise.all([host.status(), component.call('ShowErrorPool')]);
  const poolHolder = byId('errorPool');
  if (pool.startsWith('<')) poolHolder.innerHTML = pool;
  else poolHolder.textContent = pool;
  const saved = state.current();
  const item = (label, value, id) => h('span', { className: 'status-item', id }, h('span', { className: 'label', text: label }), ' ', h('strong', { text: value }));
  byId('statusLine').replaceChildren(
    item('Waiting for upload', String(waitingForUpload), 'statusWaiting'),
    item('Last download', shownTime(saved.lastDownload), 'statusDownload'),
    item('Last upload', shownTime(saved.lastUpload), 'statusUpload'),
    item('Master data', shownTime(saved.lastMasterDataUpdate), 'statusMasterData'),
    item('Company server', session.config.company || 'not configured', 'statusCompany'),
    ...(saved.pendingUpload ? [h('span', { className: 'status-item warning', id: 'statusPending', text: `Upload ${saved.pendingUpload.name} awaits an answer` })] : []));
}

// --- start -------------------------------------------------------------------------------

async function afterChange() {
  await refreshView();
}

async function startDay() {
  await actions.prepareLaptop();
  byId('mode').value = (await component.call('GetVariable', 'Mode')) || 'Online';
  started = true;
  await actions.resendPendingUpload();
  await showView('agenda');
}

function wireHeader() {
  // The lists and the open record show what the action changed, also when it failed half-way
  // (an upload whose answer was lost has marked the records as uploaded).
  const withRefresh = (work) => () => act(async () => {
    try {
      await work();
    } finally {
      await refreshView();
      await reopenDetails();
    }
  });
  byId('downloadOrders').addEventListener('click', withRefresh(actions.downloadOrders));
  byId('uploadWork').addEventListener('click', withRefresh(actions.upload));
  byId('mode').addEventListener('change', (event) => act(async () => {
    await component.call('Set_Mode', event.target.value);
    say(`Working ${event.target.value.toLowerCase()}.`, 'notice');
  }));
}

// The token has done its work once the host set its cookie; it should not stay in the address.
function forgetTokenInAddress() {
  const address = new URL(window.location.href);
  if (!address.searchParams.has('token')) return;
  address.searchParams.delete('token');
  window.history.replaceState(null, '', address.pathname + address.search + address.hash);
}

function boot() {
  installPageFunctions();
  setPageHooks({ afterChange, showList: (key) => showView(key) });
  // The fragments' buttons are submit buttons inside forms; the page never submits anything.
  document.addEventListener('submit', (event) => {
    if (event.target.id !== 'settingsForm') event.preventDefault();
  }, true);
  renderNavigation();
  wireHeader();
  afterEachAction(refreshStatus);
  act(async () => {
    session.configure(await host.config());
    await state.load();
    forgetTokenInAddress();
    renderWho();
    if (!state.current().engineer) {
      await showView('settings');
      await settingsPanel(byId('viewPanel'), { firstRun: true });
      return;
    }
    await startDay();
  });
}

boot();

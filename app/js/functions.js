// The page functions that the component's fragments call from their links and buttons
// (href=javascript:..., onclick=javascript:...). They live on window because the fragments
// call them by name from inline handlers.
import * as component from './component.js';
import { fieldsFromControls, recordRequest, deleteArguments, recordKind } from './record.js';
import { act, say, showFragment, closePanel, toggleMinimized, reveal, panel, panelLayout } from './ui.js';

// What the page refreshes after the store changed (lists, error pool); set by main.js.
let afterChange = async () => {};
let showList = async () => {};

export function setPageHooks(hooks) {
  afterChange = hooks.afterChange ?? afterChange;
  showList = hooks.showList ?? showList;
}

// The detail view or form that is open, so that a save can show the record again.
let opened = null;

// Kind codes of the detail views by object name, and back.
const KIND_OF_OBJECT = { order: '1', activity: '2', material: '3', labor: '4', other: '5', hra: '4' };
const LINE_KINDS = new Set(['3', '4', '5']);

// Values reach the page functions escaped for an unquoted attribute: blanks came as &nbsp;.
const plain = (text) => String(text ?? '').replace(/\u00a0/g, ' ');

// The fields whose zoom lists objects of a configuration, and where the chosen object's
// sequence number goes.
const OBJECT_NUMBER_FIELD = { Object: 'ObjectNumber', OriginalObject: 'OldObjectNumber', NewObject: 'NewObjectNumber' };

function findForm(formName) {
  const inDetails = panel('divDetails').querySelector(`form[name="${CSS.escape(formName)}"]`);
  return inDetails ?? document.querySelector(`form[name="${CSS.escape(formName)}"]`);
}

function fieldControl(form, id) {
  return form?.querySelector(`input[id="${CSS.escape(id)}"], select[id="${CSS.escape(id)}"], textarea[id="${CSS.escape(id)}"]`) ?? null;
}

function controlsOf(form) {
  return [...form.querySelectorAll('input, select, textarea')].map((control) => ({
    id: control.id,
    type: (control.getAttribute('type') ?? '').toLowerCase(),
    value: control.value,
  }));
}

function openFormOrFail(formName) {
  const form = findForm(formName);
  if (!form) throw new Error(`The ${formName} form is no longer open.`);
  return form;
}

// --- detail views -----------------------------------------------------------------------

async function openDetails(record) {
  const method = record.hours ? 'GetDetailsForHRA' : 'GetDetails';
  const { kind, order, activity, line, error } = record;
  const { html } = await component.fragment(method, [kind, order, activity, line, '', error]);
  showFragment('divDetails', html);
  closePanel('divZoomHype');
  closePanel('divCostLines');
  opened = html ? { ...record } : null;
  if (html && kind === '2' && !record.hours) {
    showFragment('divCostHeader', await component.value('CostLinesHeader', order, activity));
  } else {
    closePanel('divCostHeader');
  }
  reveal('divDetails');
}

// A labor line without order and activity is an hours registration; its own view shows it.
function detailRecord(kind, order, activity, line, mode, hours = false) {
  const isRegistration = hours || (kind === '4' && !order && !activity && Boolean(line));
  return { kind, order, activity, line, error: mode === '1' ? 1 : 0, hours: isRegistration };
}

function showdetails(kind, order, activity, line, mode) {
  return act(() => openDetails(detailRecord(kind, order, activity, line, mode)));
}

function showdetailsforhra(kind, order, activity, line, mode) {
  return act(() => openDetails(detailRecord(kind, order, activity, line, mode, true)));
}

// --- entry forms ------------------------------------------------------------------------

async function openForm(method, ...args) {
  const { html } = await component.fragment(method, args);
  showFragment('divDetails', html);
  closePanel('divCostHeader');
  closePanel('divCostLines');
  closePanel('divZoomHype');
  opened = null;
  if (method === 'CreateMaterialForm' && html) await refillActivities();
  reveal('divDetails');
}

// newobject: the detail view's "new ..." links.
function newobject(kind, order, activity) {
  return act(() => openForm('CreateForm', kind, order, activity));
}

// newObject: the entry form's New button and the empty cost-line list's button. A new
// activity without an order gets the form in which the order is chosen.
function newObject(kind, order, activity) {
  if (kind === '2' && !order) return act(() => openForm('NewObject', kind, '', ''));
  return act(() => openForm('CreateForm', kind, order, activity));
}

export function openEntryForm(method, ...args) {
  return act(() => openForm(method, ...args));
}

// The material form's order list changed: its activity list follows.
async function refillActivities() {
  const form = panel('divDetails');
  const orders = form.querySelector('#dropOrder');
  const activities = form.querySelector('#dropActivity');
  if (!orders || !activities) return;
  const { html } = await component.fragment('CreateActivityDropDown', [orders.value]);
  activities.innerHTML = html;
}

function getActivityDrop() {
  return act(refillActivities);
}

// --- saving and deleting ----------------------------------------------------------------

function keysForSave(form, objectName, order, activity, line) {
  if (objectName === 'material' && !order && !activity) {
    // The material form lets the engineer pick order and activity from its two lists.
    return { order: form.querySelector('#dropOrder')?.value ?? '', activity: form.querySelector('#dropActivity')?.value ?? '', line };
  }
  return { order, activity, line };
}

async function saveRecord(objectName, keys, mode, form) {
  const adding = mode === '1';
  const request = recordRequest(objectName, keys, fieldsFromControls(controlsOf(form)), adding ? 'add' : 'update');
  const saved = await component.change(adding ? 'AddXml' : 'updatexml', request);
  if (!saved) return false;
  say(adding ? 'The new record has been saved.' : 'Your changes have been saved.', 'success');
  const kind = KIND_OF_OBJECT[objectName];
  await openDetails(detailRecord(kind, keys.order, kind === '1' ? '' : keys.activity,
    LINE_KINDS.has(kind) ? keys.line : '', '2', objectName === 'hra'));
  await afterChange();
  return true;
}

function saveObject(objectName, order, activity, line, mode) {
  return act(async () => {
    recordKind(objectName);
    const form = openFormOrFail(objectName);
    await saveRecord(objectName, keysForSave(form, objectName, order, activity, line), mode, form);
  });
}

// The new-activity form with the order list.
function CreateActivity(objectName, activity) {
  return act(async () => {
    const form = openFormOrFail(objectName);
    const order = form.querySelector('select[name="ServiceOrder"]')?.value ?? '';
    if (!order) throw new Error('Choose the service order of the new activity first.');
    await saveRecord('activity', { order, activity, line: '' }, '1', form);
  });
}

const RECORD_NAMES = { order: 'service order', activity: 'activity', material: 'material line', labor: 'labor line', other: 'other cost line', hra: 'hours registration' };

// Whether the store still holds the record: deleteNode reports nothing, so the page looks.
function storeHolds(storeXml, objectName, { order, activity, line }) {
  const store = new DOMParser().parseFromString(storeXml, 'application/xml');
  const { container } = recordKind(objectName);
  const holder = store.getElementsByTagName(container)[0];
  if (!holder) return false;
  const children = (node) => [...node.children];
  if (container === 'ccsocservcordr') return children(holder).some((r) => r.getAttribute('ServiceOrder') === order);
  const groups = children(holder).filter((g) => g.getAttribute('ID') === order &&
    (container === 'ccsocservcactv' || g.getAttribute('Activity') === activity));
  if (container === 'ccsocservcactv') return groups.some((g) => children(g).some((a) => a.getAttribute('Activity') === activity));
  return groups.some((g) => children(g).some((l) => l.getAttribute('LineNumber') === line));
}

function deleteObject(objectName, order, activity, line) {
  return act(async () => {
    const keys = { order, activity, line };
    const number = [order, activity, line].filter(Boolean).join(' / ');
    if (!window.confirm(`Delete ${RECORD_NAMES[objectName] ?? objectName} ${number}?`)) return;
    await component.value('deleteNode', ...deleteArguments(objectName, keys));
    const store = await component.value('GetMailContent', 'ZudivevEzored');
    if (storeHolds(store, objectName, keys)) {
      say(`The ${RECORD_NAMES[objectName] ?? objectName} ${number} could not be deleted.`, 'error');
      return;
    }
    say(`Deleted ${RECORD_NAMES[objectName] ?? objectName} ${number}.`, 'success');
    for (const id of ['divDetails', 'divCostHeader', 'divCostLines', 'divZoomHype']) closePanel(id);
    opened = null;
    await afterChange();
  });
}

// --- lists of cost lines and errors -----------------------------------------------------

function showlines(type, order, activity) {
  return act(async () => {
    if (type === '0') {
      closePanel('divCostLines');
      return;
    }
    const { html } = await component.fragment('BuildCostLines', [type, order, activity]);
    showFragment('divCostLines', html);
    panelLayout('divCostLines', 'BuildCostLines');
    reveal('divCostLines');
  });
}

function ListCostLines(costType, order, activity) {
  return act(async () => {
    const { html } = await component.fragment('ListCostLines', [costType, order, activity], 'notice');
    showFragment('divCosts', html);
    panelLayout('divCosts', 'ListCostLines');
    reveal('divCosts');
  });
}

function ShowErrors() {
  return act(() => showList('errors'));
}

// --- zoom and hyperlink -----------------------------------------------------------------

async function lookup(mode, field, value, formName) {
  const html = await component.value('HyperLinkAndZoom', mode, field, value, formName);
  if (!/<tr/i.test(html)) {
    say(`There is no master data to show for ${field}.`, 'notice');
    closePanel('divZoomHype');
    return;
  }
  showFragment('divZoomHype', html);
  reveal('divZoomHype');
}

function hyperlink(field, value, formName) {
  return act(() => lookup(1, field, plain(value), formName));
}

// A zoom lists the codes of the field's table; for an object field it lists the objects of
// the record's configuration.
function zoom(field, formName) {
  return act(async () => {
    const form = findForm(formName);
    const value = field in OBJECT_NUMBER_FIELD ? fieldControl(form, 'Configuration')?.value : fieldControl(form, field)?.value;
    await lookup(0, field, value ?? '', formName);
  });
}

// A code chosen in a zoom list goes into the field of the form that asked; an object brings
// its sequence number along.
function FillValues(code, second, formName, field) {
  return act(async () => {
    const form = openFormOrFail(formName);
    const target = fieldControl(form, field);
    if (!target) throw new Error(`The ${formName} form has no field ${field}.`);
    target.value = plain(code).trim();
    const numberField = OBJECT_NUMBER_FIELD[field];
    if (numberField && second !== 'dummy') {
      const numberInput = fieldControl(form, numberField);
      if (numberInput) numberInput.value = plain(second);
      const shown = form.querySelector(`td[id="${CSS.escape(numberField)}"]`);
      if (shown) shown.textContent = plain(second);
    }
    closePanel('divZoomHype');
    target.focus();
  }, { keepMessages: true });
}

// --- panels -----------------------------------------------------------------------------

function minimize(panelId) {
  toggleMinimized(panelId);
}

function winclose(panelId) {
  closePanel(panelId);
  if (panelId === 'divDetails') {
    closePanel('divCostHeader');
    closePanel('divCostLines');
    opened = null;
  }
}

export function reopenDetails() {
  return opened ? openDetails({ ...opened, error: 0 }) : Promise.resolve();
}

export const PAGE_FUNCTIONS = {
  showdetails, showdetailsforhra, hyperlink, zoom, minimize, winclose, showlines, newobject, newObject,
  ListCostLines, saveObject, deleteObject, CreateActivity, getActivityDrop, ShowErrors, FillValues,
};

export function installPageFunctions(target = window) {
  Object.assign(target, PAGE_FUNCTIONS);
}

// From a form's controls to the record the component stores: each control's id is the field's
// element name, a date-and-time field comes as two boxes with the same id (date, then time),
// and the record is wrapped the way the order store holds it.
import { element } from './xml.js';

// The record kinds by the object name that the forms pass to saveObject and deleteObject.
// `costType` is what deleteNode takes for a line.
export const RECORD_KINDS = {
  order: { container: 'ccsocservcordr', costType: '' },
  activity: { container: 'ccsocservcactv', costType: '' },
  material: { container: 'ccsocservcmatl', costType: 'material' },
  labor: { container: 'ccsocservclabr', costType: 'labor' },
  other: { container: 'ccsocservcothr', costType: 'other' },
  // Hours registrations are labor lines without order and activity.
  hra: { container: 'ccsocservclabr', costType: 'hra' },
};

export function recordKind(objectName) {
  const kind = RECORD_KINDS[objectName];
  if (!kind) throw new Error(`Unknown kind of record "${objectName}"`);
  return kind;
}

// Controls of the forms that are not fields: the material form's two pick lists.
const PAGE_CONTROL_IDS = new Set(['dropOrder', 'dropActivity']);
const BUTTON_TYPES = new Set(['button', 'submit', 'reset', 'image']);

function isField(control) {
  return Boolean(control.id) && !BUTTON_TYPES.has(control.type) && !PAGE_CONTROL_IDS.has(control.id);
}

// A date typed as m/d/yyyy (or m-d-yyyy, m.d.yyyy, mmddyyyy) and a time as hhmm (or h:mm)
// become the stored "yyyymmdd hhmm". Text that is not a date is passed on unchanged, so the
// component's date check refuses it with its own message instead of the page guessing.
export function storedDateTime(dateText, timeText) {
  const date = String(dateText ?? '').trim();
  const time = String(timeText ?? '').trim();
  if (date === '') return time;
  const day = parseDate(date);
  const clock = time === '' ? '0000' : parseTime(time);
  if (!day || !clock) return `${date} ${time}`.trim();
  return `${day} ${clock}`;
}

function parseDate(text) {
  const match = /^(\d{1,2})[/.-](\d{1,2})[/.-](\d{4})$/.exec(text) ?? /^(\d{2})(\d{2})(\d{4})$/.exec(text);
  if (!match) return '';
  const [month, day, year] = [Number(match[1]), Number(match[2]), match[3]];
  if (month < 1 || month > 12 || day < 1 || day > 31) return '';
  return `${year}${String(month).padStart(2, '0')}${String(day).padStart(2, '0')}`;
}

function parseTime(text) {
  const match = /^(\d{1,2}):?(\d{2})$/.exec(text);
  if (!match) return '';
  const [hours, minutes] = [Number(match[1]), Number(match[2])];
  if (hours > 23 || minutes > 59) return '';
  return `${String(hours).padStart(2, '0')}${match[2]}`;
}

// controls: [{ id, value, type }] in document order. Two neighbouring controls with one id
// are a date box and its time box.
export function fieldsFromControls(controls) {
  const fields = [];
  const usable = controls.filter(isField);
  for (let i = 0; i < usable.length; i += 1) {
    const control = usable[i];
    const next = usable[i + 1];
    if (next && next.id === control.id) {
      fields.push({ name: control.id, value: storedDateTime(control.value, next.value) });
      i += 1;
    } else {
      fields.push({ name: control.id, value: control.value ?? '' });
    }
  }
  return fields;
}

function fieldElements(fields) {
  return fields.map(({ name, value }) => element(name, {}, value));
}

// The request of updatexml ("update") or AddXml ("add") for one record.
// keys: { order, activity, line }. A new record is stored as "N"; an update's State is not
// read by the component (the stored record's state decides), "M" says what the request is.
export function recordRequest(objectName, keys, fields, mode) {
  const { container } = recordKind(objectName);
  const state = mode === 'add' ? 'N' : 'M';
  const order = keys.order ?? '';
  const activity = keys.activity ?? '';
  const line = keys.line ?? '';
  if (container === 'ccsocservcordr') {
    const record = element('record', { ServiceOrder: order, State: state }, fieldElements(fields));
    return element(container, {}, [record]);
  }
  if (container === 'ccsocservcactv') {
    const record = element('record', { Activity: activity, State: state }, fieldElements(fields));
    return element(container, {}, [element('ServiceOrder', { ID: order, State: state }, [record])]);
  }
  // A new line carries its keys as its first three fields, as downloaded lines do: the lists
  // and the hours view read a line's fields by position.
  const keyFields = mode === 'add'
    ? [{ name: 'ServiceOrder', value: order }, { name: 'Activity', value: activity }, { name: 'LineNumber', value: line }]
    : [];
  const withoutKeys = fields.filter((f) => !(mode === 'add' && keyFields.some((k) => k.name === f.name)));
  const record = element('record', { LineNumber: line, State: state }, fieldElements([...keyFields, ...withoutKeys]));
  const group = element('ServiceOrder', { ID: order, Activity: activity, State: state }, [record]);
  return element(container, {}, [group]);
}

// deleteNode's four arguments for a record.
export function deleteArguments(objectName, keys) {
  const { costType } = recordKind(objectName);
  if (costType === '') return [keys.order ?? '', objectName === 'activity' ? keys.activity ?? '' : '', '', ''];
  return [keys.order ?? '', keys.activity ?? '', keys.line ?? '', costType];
}

// From form controls to the records that updatexml and AddXml take.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fieldsFromControls, recordRequest, deleteArguments, storedDateTime } from '../../../app/js/record.js';
import { element } from '../../../app/js/xml.js';

const text = (id, value) => ({ id, value, type: 'text' });

test('dates typed as the form asks become the stored date and time', () => {
  assert.equal(storedDateTime('01/31/2024', '1430'), '20240131 1430');
  assert.equal(storedDateTime('1/5/2024', '9:05'), '20240105 0905');
  assert.equal(storedDateTime('01312024', ''), '20240131 0000', 'the labor form hints mmddyyyy; no time is midnight');
  assert.equal(storedDateTime('', ''), '');
});

test('text that is no date is passed on for the component to refuse', () => {
  assert.equal(storedDateTime('31/01/2024', '1430'), '31/01/2024 1430', 'day and month swapped');
  assert.equal(storedDateTime('01/31/2024', '2561'), '01/31/2024 2561');
  assert.equal(storedDateTime('', '0930'), '0930', 'a time without a date is no date');
});

test('controls become fields in document order; two boxes with one id are a date and its time', () => {
  const fields = fieldsFromControls([
    { id: 'ActivityStatus', value: '15', type: '' },
    text('PlannedStartTime', '12/07/2026'), text('PlannedStartTime', '0800'),
    text('Remarks', 'Valve <replaced> & "tested"'),
    { id: 'save', value: 'Save', type: 'button' },
    { id: '', value: 'x', type: 'text' },
    { id: 'dropOrder', value: 'SO-1', type: '' },
  ]);
  assert.deepEqual(fields, [
    { name: 'ActivityStatus', value: '15' },
    { name: 'PlannedStartTime', value: '20261207 0800' },
    { name: 'Remarks', value: 'Valve <replaced> & "tested"' },
  ]);
});

test('an update of an activity is the record in its group, values escaped', () => {
  const xml = recordRequest('activity', { order: 'SO-24017', activity: '10' },
    [{ name: 'ActivityStatus', value: '15' }, { name: 'Remarks', value: 'a < b & "c"' }], 'update');
  assert.equal(xml, '<ccsocservcactv><ServiceOrder ID="SO-24017" State="M"><record Activity="10" State="M">' +
    '<ActivityStatus>15</ActivityStatus><Remarks>a &lt; b &amp; "c"</Remarks></record></ServiceOrder></ccsocservcactv>');
});

test('a new order is a record under the order container, in state N', () => {
  const xml = recordRequest('order', { order: '_1' }, [{ name: 'OrderStatus', value: '15' }, { name: 'Remarks', value: '' }], 'add');
  assert.equal(xml, '<ccsocservcordr><record ServiceOrder="_1" State="N"><OrderStatus>15</OrderStatus><Remarks/></record></ccsocservcordr>');
});

test('a new line carries its keys as its first three fields, as downloaded lines do', () => {
  const xml = recordRequest('material', { order: 'SO-24017', activity: '10', line: '_4' },
    [{ name: 'ServiceItem', value: 'PMP' }, { name: 'DeliveredQuantity', value: '2' }], 'add');
  assert.equal(xml, '<ccsocservcmatl><ServiceOrder ID="SO-24017" Activity="10" State="N"><record LineNumber="_4" State="N">' +
    '<ServiceOrder>SO-24017</ServiceOrder><Activity>10</Activity><LineNumber>_4</LineNumber>' +
    '<ServiceItem>PMP</ServiceItem><DeliveredQuantity>2</DeliveredQuantity></record></ServiceOrder></ccsocservcmatl>');
});

test('an hours registration is a labor line without order and activity', () => {
  const xml = recordRequest('hra', { order: '', activity: '', line: '_9' }, [{ name: 'EndDate', value: '2' }], 'add');
  assert.match(xml, /^<ccsocservclabr><ServiceOrder ID="" Activity="" State="N"><record LineNumber="_9" State="N"><ServiceOrder\/><Activity\/><LineNumber>_9<\/LineNumber><EndDate>2<\/EndDate>/);
});

test('deleteNode gets the keys that select the record kind', () => {
  assert.deepEqual(deleteArguments('order', { order: '_1', activity: 'x', line: 'y' }), ['_1', '', '', '']);
  assert.deepEqual(deleteArguments('activity', { order: '_1', activity: '_2', line: '' }), ['_1', '_2', '', '']);
  assert.deepEqual(deleteArguments('labor', { order: 'SO', activity: '10', line: '_3' }), ['SO', '10', '_3', 'labor']);
  assert.deepEqual(deleteArguments('hra', { order: '', activity: '', line: '_3' }), ['', '', '_3', 'hra']);
  assert.throws(() => deleteArguments('invoice', {}), /Unknown kind/);
});

test('names that would break the XML are refused, and control characters dropped', () => {
  assert.throws(() => element('bad name', {}, 'x'), /not a usable/);
  assert.throws(() => element('record', { 'a"b': 'x' }, []), /not a usable/);
  assert.equal(element('Remarks', { Note: 'line\nbreak' }, 'bell\u0007'), '<Remarks Note="line&#10;break">bell</Remarks>');
});

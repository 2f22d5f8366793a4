// Building the small XML texts the page hands to the component. Every value is escaped here,
// so an engineer's text can never change the shape of a record.

const TEXT_ESCAPES = { '&': '&amp;', '<': '&lt;', '>': '&gt;' };
const ATTRIBUTE_ESCAPES = { ...TEXT_ESCAPES, '"': '&quot;', '\n': '&#10;', '\r': '&#13;', '\t': '&#9;' };

// Characters XML 1.0 cannot carry at all; a pasted control character would make the whole
// record unreadable, so it is dropped instead.
const NOT_XML = /[\u0000-\u0008\u000B\u000C\u000E-\u001F\uFFFE\uFFFF]/g;

export function escapeText(value) {
  return String(value ?? '').replace(NOT_XML, '').replace(/[&<>]/g, (c) => TEXT_ESCAPES[c]);
}

export function escapeAttribute(value) {
  return String(value ?? '').replace(NOT_XML, '').replace(/[&<>"\n\r\t]/g, (c) => ATTRIBUTE_ESCAPES[c]);
}

const NAME = /^[A-Za-z_][A-Za-z0-9_.-]*$/;

function checkedName(name) {
  if (!NAME.test(name)) throw new Error(`"${name}" is not a usable element or attribute name`);
  return name;
}

// element('record', { LineNumber: '_4', State: 'N' }, [...children]) or element('Remarks', {}, 'text').
// Children are element texts already built; a string content is escaped text.
export function element(name, attributes = {}, content = []) {
  const tag = checkedName(name);
  const attributeText = Object.entries(attributes)
    .map(([key, value]) => ` ${checkedName(key)}="${escapeAttribute(value)}"`)
    .join('');
  const inner = Array.isArray(content) ? content.join('') : escapeText(content);
  return inner === '' ? `<${tag}${attributeText}/>` : `<${tag}${attributeText}>${inner}</${tag}>`;
}

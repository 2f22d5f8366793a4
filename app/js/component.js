// Calling Client20 the way its methods report: a failed call carries a code and description;
// a handled failure is a returned text, the last-error value (Get_Error), or both.
import { call } from './host.js';
import { say } from './ui.js';

// Methods that write "1" into the last error when they start, so that Get_Error afterwards
// tells about this call and not an earlier one.
const RESETS_LAST_ERROR = new Set([
  'DownloadXml', 'updatexml', 'AddXml', 'SaveHra', 'MyActivities', 'completedAgenda', 'canceledAgenda',
  'ListOrders', 'ViewOrders_W', 'ViewOrders_SI', 'ViewActivities_W', 'ViewActivities_SI',
  'ListCostLines', 'ViewCostLines_W', 'ViewCostLines_SI', 'BuildCostLines', 'ListHRALines',
  'ViewHra_W', 'ViewHra_SI', 'GetDetails', 'GetDetailsForHRA', 'CreateForm', 'NewObject',
  'CreateFormforHra', 'CreateMaterialForm', 'CreateOrderDropDown', 'CreateActivityDropDown',
]);

export async function value(method, ...args) {
  const { result } = await call(method, ...args);
  return result ?? '';
}

export async function lastError() {
  return value('Get_Error');
}

// The last error when it is a message: "1" means no error, and start-up leaves it empty.
async function reportedError(method) {
  if (!RESETS_LAST_ERROR.has(method)) return '';
  const text = await lastError();
  return text === '1' ? '' : text;
}

// A method that renders: the fragment, with the last error shown when the method set one.
// A list with nothing to show reports that through the last error too; `kind` styles it.
export async function fragment(method, args = [], kind = 'error') {
  const html = await value(method, ...args);
  const error = await reportedError(method);
  if (error) say(error, kind);
  return { html, error };
}

// A method whose returned text is a failure (empty on success): both channels are shown.
// Resolves to true when the call succeeded.
export async function change(method, ...args) {
  const failure = await value(method, ...args);
  const error = await reportedError(method);
  if (failure) say(failure, 'error');
  if (error && error !== failure) say(error, 'error');
  return !failure && !error;
}

// A method that returns a message either way (DownloadXml): the last error decides which.
export async function report(method, ...args) {
  const text = await value(method, ...args);
  const error = await reportedError(method);
  if (error) say(error, 'error');
  else say(text, 'success');
  return !error;
}

// The same calls, for the working-day steps (workday.js), which read results themselves.
export const component = { call: value };

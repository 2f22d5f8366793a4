// The local host: Client20 behind POST /api/call, and the page's own small services. The
// session token travels in the host's cookie, so every request stays on the page's origin.

// A call that the component failed (its second failure channel): code and description.
export class CallFailed extends Error {
  constructor(method, code, description) {
    super(`${method} failed: ${code} ${description}`);
    this.method = method;
    this.code = code;
    this.description = description;
  }
}

// The host refused or could not answer a request.
export class HostRefused extends Error {
  constructor(what, status, text) {
    super(hostRefusalText(what, status, text));
    this.status = status;
  }
}

function hostRefusalText(what, status, text) {
  if (status === 403) {
    return `${what}: the application refused the request (403). Open the address that ` +
      '"quillmere serve" printed when it started, with its token.';
  }
  const detail = text ? `: ${text.slice(0, 200)}` : '';
  return `${what}: the application answered ${status}${detail}`;
}

async function request(what, path, options = {}) {
  let response;
  try {
    response = await fetch(path, { credentials: 'same-origin', cache: 'no-store', ...options });
  } catch (error) {
    throw new HostRefused(what, 0, `the application does not answer (${error.message}); is "quillmere serve" running?`);
  }
  if (!response.ok) throw new HostRefused(what, response.status, await response.text().catch(() => ''));
  return response;
}

async function requestJson(what, path, options) {
  const response = await request(what, path, options);
  return response.json();
}

// One method of Client20. Resolves to { result, byref }; a failed call rejects with CallFailed.
export async function call(method, ...args) {
  const answer = await requestJson(method, '/api/call', {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify([method, ...args]),
  });
  if (answer.error) throw new CallFailed(method, answer.error.code, answer.error.description);
  if (answer.usage !== undefined) throw new CallFailed(method, 'usage', answer.usage);
  return { result: answer.result, byref: answer.byref ?? {} };
}

export function config() {
  return requestJson('Reading the configuration', '/api/config');
}

export function status() {
  return requestJson('Reading the status', '/api/status');
}

export function readState() {
  return requestJson('Reading the saved state', '/api/state');
}

export function writeState(state) {
  return requestJson('Saving the state', '/api/state', {
    method: 'PUT',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify(state),
  });
}

// What the browser's download manager does: the bytes become a file in the download folder.
export function saveDownload(fileName, bytes) {
  return requestJson(`Saving ${fileName}`, `/api/download?name=${encodeURIComponent(fileName)}`, {
    method: 'POST',
    headers: { 'Content-Type': 'application/octet-stream' },
    body: bytes,
  });
}

export async function deliveredFieldDefinitions() {
  const response = await request('Reading the delivered field definitions', '/delivered/FieldMapper.xml');
  return response.text();
}

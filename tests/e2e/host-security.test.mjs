// The host refuses what a foreign web page could send it: any page the engineer visits can make
// the browser send requests to 127.0.0.1. Checked against the running program.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { PROGRAMS } from './support/world.mjs';
import { startServer } from './support/processes.mjs';

let folder;
let host;
let token;

before(async () => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmere-host-'));
  fs.mkdirSync(path.join(folder, 'C'));
  host = await startServer('quillmere serve', PROGRAMS.quillmere, ['--root', folder, 'serve', '--port', '0']);
  token = new URL(host.url).searchParams.get('token');
});

after(async () => {
  assert.equal(await host?.stop(), 0, 'the host stops cleanly on SIGTERM');
  fs.rmSync(folder, { recursive: true, force: true });
});

// One raw request, with the exact path and headers given (no client rewrites them).
function send({ method = 'GET', target, headers = {}, body }) {
  return new Promise((resolve, reject) => {
    const request = http.request({ host: '127.0.0.1', port: host.port, method, path: target,
      headers: { Host: `127.0.0.1:${host.port}`, ...headers } }, (response) => {
      let text = '';
      response.setEncoding('utf8');
      response.on('data', (chunk) => { text += chunk; });
      response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, text }));
    });
    request.on('error', reject);
    request.end(body);
  });
}

const call = (headers, body = '["Get_Error"]') => send({ method: 'POST', target: '/api/call', headers: { 'Content-Type': 'application/json', ...headers }, body });

test('the page request with the token sets the session cookie, and the cookie opens the API', async () => {
  const page = await send({ target: `/?token=${token}` });
  assert.equal(page.status, 200);
  const cookie = [page.headers['set-cookie']].flat().find((c) => c.startsWith('quillmere_token='));
  assert.match(cookie, /HttpOnly/i);
  assert.match(cookie, /SameSite=Strict/i);
  const answer = await call({ Cookie: cookie.split(';')[0] });
  assert.equal(answer.status, 200);
  assert.ok('result' in JSON.parse(answer.text));
  assert.match(answer.headers['cache-control'], /no-store/);
});

test('an API call without the token or with a wrong one is refused', async () => {
  assert.equal((await call({})).status, 403);
  assert.equal((await call({ 'X-Quillmere-Token': `${token}x` })).status, 403);
  assert.equal((await call({ Cookie: 'quillmere_token=guess' })).status, 403);
  assert.equal((await send({ target: '/api/state', headers: {} })).status, 403);
});

test('a request from a foreign page is refused, one from the page itself is not', async () => {
  const own = { 'X-Quillmere-Token': token };
  assert.equal((await call({ ...own, Origin: 'http://evil.example' })).status, 403);
  assert.equal((await call({ ...own, Origin: `http://127.0.0.1:${host.port + 1}` })).status, 403);
  assert.equal((await call({ ...own, Origin: `http://127.0.0.1:${host.port}` })).status, 200);
  assert.equal((await call({ ...own, Origin: `http://localhost:${host.port}` })).status, 200);
});

test('a foreign Host name is refused (DNS rebinding)', async () => {
  const own = { 'X-Quillmere-Token': token };
  for (const name of [`evil.example:${host.port}`, `127.0.0.1:${host.port + 1}`, 'localhost']) {
    const answer = await call({ ...own, Host: name });
    assert.ok([403, 421].includes(answer.status), `Host ${name} answered ${answer.status}`);
  }
  assert.equal((await call({ ...own, Host: `localhost:${host.port}` })).status, 200);
});

test('a body over 64 MiB is refused as too large', async () => {
  const body = Buffer.alloc(64 * 1024 * 1024 + 1, 0x20);
  const answer = await call({ 'X-Quillmere-Token': token }, body).catch((error) => ({ status: error.code }));
  assert.equal(answer.status, 413);
});

test('static paths cannot leave the application folder', async () => {
  fs.writeFileSync(path.join(folder, 'secret.txt'), 'not for the web');
  for (const target of ['/../secret.txt', '/%2e%2e/secret.txt', '/..%2fsecret.txt', '/js/../../secret.txt', '/%2e%2e%2f%2e%2e%2fetc%2fpasswd']) {
    const answer = await send({ target });
    assert.ok([400, 403, 404].includes(answer.status), `${target} answered ${answer.status}`);
    assert.doesNotMatch(answer.text, /not for the web|root:/);
  }
  assert.equal((await send({ target: '/style.css' })).status, 200, 'the application itself is served');
});

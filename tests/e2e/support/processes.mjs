// The programs of a working day, started as their users start them: each prints the address it
// serves on standard output; their request logs are kept for the report of a failing test.
import { spawn } from 'node:child_process';
import net from 'node:net';

const ADDRESS = /http:\/\/127\.0\.0\.1:\d+\S*/;

export function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// Runs a program to its end; resolves to { code, stdout, stderr }.
export function run(command, args, { env = {}, input } = {}) {
  return new Promise((resolve, reject) => {
    const child = spawn(command, args, { env: { ...process.env, ...env }, stdio: ['pipe', 'pipe', 'pipe'] });
    let stdout = '';
    let stderr = '';
    child.stdout.on('data', (chunk) => { stdout += chunk; });
    child.stderr.on('data', (chunk) => { stderr += chunk; });
    child.on('error', reject);
    child.on('close', (code) => resolve({ code, stdout, stderr }));
    child.stdin.end(input ?? '');
  });
}

export async function runOrFail(command, args, options) {
  const outcome = await run(command, args, options);
  if (outcome.code !== 0) {
    throw new Error(`${command} ${args.join(' ')} ended with ${outcome.code}:\n${outcome.stdout}\n${outcome.stderr}`);
  }
  return outcome;
}

// Starts a server program and waits for the line with its address.
export function startServer(name, command, args, { env = {}, timeoutMs = 20000 } = {}) {
  return new Promise((resolve, reject) => {
    const child = spawn(command, args, { env: { ...process.env, ...env }, stdio: ['ignore', 'pipe', 'pipe'] });
    let output = '';
    let log = '';
    const timer = setTimeout(() => {
      child.kill('SIGKILL');
      reject(new Error(`${name} printed no address within ${timeoutMs} ms:\n${output}\n${log}`));
    }, timeoutMs);
    child.stderr.on('data', (chunk) => { log += chunk; });
    child.on('error', (error) => { clearTimeout(timer); reject(error); });
    const exited = new Promise((done) => child.on('exit', (code, signal) => done({ code, signal })));
    exited.then(({ code, signal }) => {
      clearTimeout(timer);
      reject(new Error(`${name} ended before serving (${code ?? signal}):\n${output}\n${log}`));
    });
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const found = ADDRESS.exec(output);
      if (!found) return;
      clearTimeout(timer);
      const url = new URL(found[0]);
      resolve({
        name,
        url: found[0],
        origin: url.origin,
        port: Number(url.port),
        log: () => log,
        // SIGTERM, as a service manager stops it; resolves to the exit code.
        async stop() {
          if (child.exitCode !== null || child.signalCode !== null) return child.exitCode;
          child.kill('SIGTERM');
          const killer = setTimeout(() => child.kill('SIGKILL'), 5000);
          const { code } = await exited.catch(() => ({}));
          clearTimeout(killer);
          return code ?? child.exitCode;
        },
      });
    });
  });
}

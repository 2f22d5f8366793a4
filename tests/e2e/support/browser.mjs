// Debian's Chromium through playwright-core, headless, with a profile of its own.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

export const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';

const ARGUMENTS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export async function openBrowser({ width = 1400, height = 900 } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmere-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: ARGUMENTS,
    viewport: { width, height },
    locale: 'en-US',
    timezoneId: 'Europe/Amsterdam',
  });
  const page = context.pages()[0] ?? (await context.newPage());
  return {
    context,
    page,
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

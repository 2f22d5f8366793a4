// Makes docs/working-day.png, the README's picture: the agenda with an activity open and its
// labor lines, on a fresh day. Run from tests/e2e after a build: node readme-screenshot.mjs
import path from 'node:path';
import { ENGINEER, SOURCE, startWorld } from './support/world.mjs';
import { perform } from './support/page.mjs';

const world = await startWorld({ width: 1180, height: 780 });
const { page } = world;
try {
  await perform(page, () => page.goto(world.host.url));
  await page.fill('#settingEngineer', ENGINEER.engineer);
  await page.fill('#settingCompany', ENGINEER.company);
  await page.fill('#settingCenter', ENGINEER.serviceCenter);
  await perform(page, () => page.click('#settingsForm button[type=submit]'));
  await perform(page, () => page.click('#downloadOrders'));
  await perform(page, () => page.locator('#divList span.links[onclick*=\'showdetails("2","SO-24017","10"\']').click());
  await perform(page, () => page.selectOption('#divCostHeader select[name=costtype]', '2'));
  await page.waitForTimeout(800);
  await page.evaluate(() => window.scrollTo({ top: 0, behavior: 'instant' }));
  const file = path.join(SOURCE, 'docs/working-day.png');
  await page.screenshot({ path: file });
  console.log(`Wrote ${file}`);
} finally {
  await world.stop();
}

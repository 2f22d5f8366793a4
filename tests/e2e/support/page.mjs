// Driving the application as a person does: an action, then waiting until the page has finished
// it (the page counts its finished actions on <body data-actions>).

const finishedActions = (page) => page.evaluate(() => Number(document.body.dataset.actions ?? 0));

export async function perform(page, action, { timeout = 20000 } = {}) {
  const before = await finishedActions(page).catch(() => 0);
  const navigates = /goto|reload/.test(action.toString());
  await action();
  // A new page counts from 0 again.
  await page.waitForFunction((n) => Number(document.body?.dataset.actions ?? 0) > n, navigates ? 0 : before, { timeout });
}

export async function messages(page) {
  return page.locator('#messages').innerText();
}

export async function valueOf(locator) {
  return locator.first().inputValue();
}

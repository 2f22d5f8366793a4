// The page's own small state (engineer, company, times, the pending upload), kept by the host
// in the machine root. The page is its only writer: it reads it once and writes it whole.
import { readState, writeState } from './host.js';

let current = {};

export const state = {
  current: () => current,

  async load() {
    const saved = await readState();
    current = saved && typeof saved === 'object' && !Array.isArray(saved) ? saved : {};
    return current;
  },

  // Merges the changes and persists the whole object; the page goes on only once it is saved.
  async save(changes) {
    const next = { ...current, ...changes };
    await writeState(next);
    current = next;
    return current;
  },
};

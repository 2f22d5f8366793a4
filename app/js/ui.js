// The page's panels, its message area and its action queue. Fragments of the component are
// inserted exactly as they come; everything the page writes itself goes in as text.

const byId = (id) => document.getElementById(id);

export function panel(id) {
  const element = byId(id);
  if (!element) throw new Error(`The page has no panel "${id}"`);
  return element;
}

// Puts a component fragment into a panel and shows the panel.
export function showFragment(id, html) {
  const target = panel(id);
  target.innerHTML = html;
  target.classList.remove('minimized');
  target.hidden = html === '';
  return target;
}

// Which view a panel holds, for the stylesheet: the lists put key cells in front of their
// fields that their headings do not have, and the sheet lines them up per kind of list.
const LAYOUTS = {
  MyActivities: 'records', completedAgenda: 'records', canceledAgenda: 'records', ListOrders: 'records',
  ViewOrders_W: 'records', ViewOrders_SI: 'records', ViewActivities_W: 'records', ViewActivities_SI: 'records',
  ViewCostLines_W: 'records', ViewCostLines_SI: 'records', ListCostLines: 'records', BuildCostLines: 'records',
  ListHRALines: 'hours', ViewHra_W: 'hours', ViewHra_SI: 'hours',
};

export function panelLayout(id, method) {
  panel(id).dataset.layout = LAYOUTS[method] ?? 'plain';
}

export function closePanel(id) {
  const target = panel(id);
  target.innerHTML = '';
  target.hidden = true;
}

export function toggleMinimized(id) {
  panel(id).classList.toggle('minimized');
}

export function reveal(id) {
  const target = panel(id);
  if (!target.hidden && typeof target.scrollIntoView === 'function') {
    target.scrollIntoView({ block: 'nearest', behavior: 'smooth' });
  }
}

// Messages of the current action: failures of the component, its validation texts, and what
// the page did.
export function clearMessages() {
  byId('messages').replaceChildren();
}

export function say(text, kind = 'info') {
  if (!text) return;
  const item = document.createElement('p');
  item.className = `message ${kind}`;
  item.textContent = text;
  byId('messages').append(item);
}

// One action at a time, in the order the engineer started them: the component is called one
// method at a time, and some views rely on the call before them (BuildCostLines reads the store
// that the previous call loaded).
let queue = Promise.resolve();
let onSettled = () => {};
let finished = 0;

export function afterEachAction(callback) {
  onSettled = callback;
}

export function act(work, { keepMessages = false } = {}) {
  const run = async () => {
    if (!keepMessages) clearMessages();
    document.body.classList.add('busy');
    try {
      await work();
    } catch (error) {
      say(error.message || String(error), 'error');
      console.error(error);
    } finally {
      await Promise.resolve(onSettled()).catch((error) => console.error(error));
      document.body.classList.remove('busy');
      // How many actions have ended: tools that drive the page wait for it to grow.
      finished += 1;
      document.body.dataset.actions = String(finished);
    }
  };
  queue = queue.then(run, run);
  return queue;
}

// The navigation: which component view each part of the bar shows, with its tabs and filters.
// Lists go into the list panel (divList) that the fragments' close buttons name.

export const VIEWS = {
  agenda: {
    title: 'Agenda',
    tabs: [
      { key: 'open', label: 'Open', call: ['MyActivities', ''] },
      { key: 'completed', label: 'Completed', call: ['completedAgenda'] },
      { key: 'canceled', label: 'Canceled', call: ['canceledAgenda'] },
    ],
  },
  orders: {
    title: 'Orders',
    tabs: [
      { key: 'all', label: 'All orders', call: ['ListOrders'] },
      { key: 'waiting', label: 'Not uploaded yet', call: ['ViewOrders_W'] },
      { key: 'uploaded', label: 'Uploaded', call: ['ViewOrders_SI'] },
    ],
    actions: [{ label: 'New order', form: ['CreateForm', '1', '', ''] }],
  },
  activities: {
    title: 'Activities',
    tabs: [
      { key: 'waiting', label: 'Not uploaded yet', call: ['ViewActivities_W'] },
      { key: 'uploaded', label: 'Uploaded', call: ['ViewActivities_SI'] },
    ],
    actions: [{ label: 'New activity', form: ['NewObject', '2', '', ''] }],
  },
  costs: {
    title: 'Cost lines',
    tabs: [
      { key: 'Material', label: 'Material' },
      { key: 'Labor', label: 'Labor' },
      { key: 'Other', label: 'Other' },
    ],
    filters: [
      { key: 'W', label: 'Not uploaded yet' },
      { key: 'SI', label: 'Uploaded' },
    ],
    call: (tab, filter) => [`ViewCostLines_${filter}`, tab],
    actions: [{ label: 'New material line', form: ['CreateMaterialForm'] }],
  },
  hours: {
    title: 'Hours',
    tabs: [
      { key: 'all', label: 'All registrations', call: ['ListHRALines', '', '', ''] },
      { key: 'waiting', label: 'Not uploaded yet', call: ['ViewHra_W'] },
      { key: 'uploaded', label: 'Uploaded', call: ['ViewHra_SI'] },
    ],
    actions: [{ label: 'New registration', form: ['CreateFormforHra', '4', '', ''] }],
  },
  errors: {
    title: 'Error pool',
    tabs: [{ key: 'list', label: 'Refused records', call: ['ShowErrorList'] }],
  },
  masterdata: { title: 'Master data', own: true },
  upload: { title: 'Upload', own: true },
  settings: { title: 'Settings', own: true },
};

// The master-data tables that MasterData lists, with the label of each title.
export const MASTER_DATA_TABLES = [
  ['ITEM', 'SLBEU0195'], ['CSTP', 'SLBEU0193'], ['SKIT', 'SLBEU0203'], ['SCAR', 'SLBEU9199'],
  ['CWOC', 'SLBEU9200'], ['TASK', 'SLBEU0307'], ['CHLT', 'SLBEU9137'], ['CRAC', 'SLBEU0197'],
  ['CCFG', 'SLBUE9216'], ['PROB', 'SLBUE9217'], ['SOLU', 'SLBUE9218'], ['CADR', 'SLBUE9206'],
  ['CWAR', 'SLBUE9215'], ['UNIT', 'SLBUE9171'], ['REAS', 'SLBUE9213'], ['CPCP', 'SLBUE9211'],
  ['CSAR', 'SLBUE9198'], ['CCNT', 'SLBUE9208'], ['PRIO', 'SLBUE9212'], ['CROB', 'SLBUE9191'],
];

// The component call that shows a view with its tab and filter.
export function viewCall(view, tabKey, filterKey) {
  const tab = view.tabs?.find((t) => t.key === tabKey) ?? view.tabs?.[0];
  const filter = view.filters?.find((f) => f.key === filterKey) ?? view.filters?.[0];
  if (!tab) return null;
  return view.call ? view.call(tab.key, filter?.key) : tab.call;
}

// What the page works with after start: the host's configuration and the company server.
import { companyServer } from './company.js';

export const session = {
  config: { company: '', version: '', root: '' },
  company: companyServer(''),

  configure(config) {
    this.config = { company: '', version: '', root: '', ...config };
    this.company = companyServer(this.config.company);
  },
};

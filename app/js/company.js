// The company's web server: the engineer's orders, the upload and its report, the master-data
// change files and the database package. The page fetches them itself and hands the texts to
// the component.

export class CompanyUnreachable extends Error {
  constructor(what, status, detail) {
    const reason = status ? `the company server answered ${status}${detail ? `: ${detail}` : ''}` :
      `the company server did not answer${detail ? ` (${detail})` : ''}`;
    super(`${what}: ${reason}`);
    this.status = status;
  }
}

export function companyServer(baseUrl, fetchImpl = (...args) => fetch(...args)) {
  const base = String(baseUrl ?? '').replace(/\/+$/, '');

  async function get(what, path, options = {}) {
    if (!base) throw new CompanyUnreachable(what, 0, 'no company server is configured');
    let response;
    try {
      response = await fetchImpl(`${base}${path}`, { cache: 'no-store', credentials: 'omit', ...options });
    } catch (error) {
      throw new CompanyUnreachable(what, 0, error.message);
    }
    if (!response.ok) {
      const detail = await response.text().catch(() => '');
      throw new CompanyUnreachable(what, response.status, detail.slice(0, 200));
    }
    return response;
  }

  const segment = (text) => encodeURIComponent(text);

  return {
    address: base,

    async orders(engineer) {
      const response = await get('Downloading your orders', `/orders?engineer=${segment(engineer)}`);
      return response.text();
    },

    // The engineer tells the server whose orders the upload changes.
    async upload(name, documentText, engineer = '') {
      const who = engineer ? `&engineer=${segment(engineer)}` : '';
      const response = await get('Sending your work', `/upload?name=${segment(name)}${who}`, {
        method: 'POST',
        headers: { 'Content-Type': 'application/xml' },
        body: documentText,
      });
      return response.text();
    },

    async changeFiles(companyNumber) {
      const response = await get('Listing the master-data changes', `/masterdata/${segment(companyNumber)}/`);
      const names = await response.json();
      if (!Array.isArray(names) || names.some((n) => typeof n !== 'string')) {
        throw new CompanyUnreachable('Listing the master-data changes', response.status, 'the list is not a list of file names');
      }
      return names;
    },

    async changeFile(companyNumber, name) {
      const response = await get(`Fetching ${name}`, `/masterdata/${segment(companyNumber)}/${segment(name)}`);
      return response.text();
    },

    // The database package of a service center, or null when the server offers none.
    async masterDataPackage(serviceCenter) {
      const what = 'Fetching the master-data database';
      const query = serviceCenter ? `?center=${segment(serviceCenter)}` : '';
      try {
        const response = await get(what, `/masterdata/package${query}`);
        return { bytes: await response.arrayBuffer(), name: packageName(response, serviceCenter) };
      } catch (error) {
        if (error instanceof CompanyUnreachable && error.status === 404) return null;
        throw error;
      }
    },
  };
}

// The database is named after the service center; a server that names its file says so in
// Content-Disposition.
function packageName(response, serviceCenter) {
  const disposition = response.headers.get('Content-Disposition') ?? '';
  const match = /filename="?([^";]+)"?/i.exec(disposition);
  const fileName = match ? match[1] : '';
  const stem = fileName.replace(/\.(exe|zip|mdb)$/i, '');
  return /^[A-Za-z0-9][A-Za-z0-9 ._-]*$/.test(stem) ? stem : serviceCenter;
}

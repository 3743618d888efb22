// A small static server for the site, sending the page's
// Content-Security-Policy as a header too. Serves only files inside the
// site folder, to this machine only.
//   node web/serve.js SITE_DIR [PORT]
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png', '.jpg': 'image/jpeg', '.wav': 'audio/wav', '.txt': 'text/plain; charset=utf-8',
};

function serve(site, port, host = '127.0.0.1') {
  const root = path.resolve(site);
  const csp = fs.readFileSync(path.join(root, '..', 'csp.txt'), 'utf8').trim();
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost');
    let file = path.join(root, decodeURIComponent(url.pathname));
    if (!file.startsWith(root + path.sep) && file !== root) {
      response.writeHead(403).end();
      return;
    }
    if (file.endsWith(path.sep) || file === root) file = path.join(file, 'index.html');
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
        return;
      }
      response.writeHead(200, {
        'Content-Type': TYPES[path.extname(file).toLowerCase()] || 'application/octet-stream',
        'Content-Security-Policy': csp,
        'X-Content-Type-Options': 'nosniff',
        'Cache-Control': 'no-cache',
      });
      response.end(request.method === 'HEAD' ? undefined : body);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, host, () => {
      server.off('error', reject);
      resolve(server);
    });
  });
}

module.exports = { serve };

if (require.main === module) {
  const [site, port = '8080'] = process.argv.slice(2);
  serve(site, Number(port), 'localhost').then(() => console.log(`Serving ${site} at http://localhost:${port}/`));
}

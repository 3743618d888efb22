// Lighthouse (npm `lighthouse`, installed by tools/build-web) on the
// system's Chromium: its report of a page, for the browser tests and the
// benchmark.
'use strict';

const { execFile } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { chromiumPath } = require('./browser.js');

const cli = path.join(path.dirname(require.resolve('lighthouse/package.json')), 'cli/index.js');

// Where Lighthouse talks to Chromium: any free port, or the last of
// WUFFEL_TEST_PORTS where the machine allots ports.
function devtoolsPort() {
  const range = process.env.WUFFEL_TEST_PORTS;
  return range ? Number(range.split('-').pop()) : 0;
}

// The report of `url` on the desktop preset, as Lighthouse writes it in JSON.
function lighthouse(url) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-lighthouse-'));
  const report = path.join(folder, 'report.json');
  return new Promise((resolve, reject) => {
    execFile(process.execPath, [cli, url, '--preset=desktop', '--quiet', '--output=json', `--output-path=${report}`,
      `--port=${devtoolsPort()}`, '--chrome-flags=--headless=new --no-sandbox'], { env: { ...process.env, CHROME_PATH: chromiumPath() },
      timeout: 180000 }, (error, stdout, stderr) => {
      try {
        if (error) throw new Error(`lighthouse failed: ${stderr || error.message}`);
        resolve(JSON.parse(fs.readFileSync(report, 'utf8')));
      } catch (failure) {
        reject(failure);
      } finally {
        fs.rmSync(folder, { recursive: true, force: true });
      }
    });
  });
}

// The categories' scores, 0 to 100.
function scores(report) {
  return Object.fromEntries(Object.entries(report.categories).map(([name, c]) => [name, Math.round(c.score * 100)]));
}

module.exports = { lighthouse, scores };

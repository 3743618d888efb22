// The page as Lighthouse judges it on the system's Chromium (desktop
// preset): best practices in full, no failing audit of them, and a report
// of every category. Its performance is a figure of bench/web-bench.js,
// not a pass or fail here: the machine's load moves it.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { serveSite } = require('./browser.js');
const { lighthouse, scores } = require('./lighthouse.js');

test('Lighthouse finds the page following every best practice', async () => {
  const server = await serveSite();
  try {
    const report = await lighthouse(`http://127.0.0.1:${server.address().port}/`);
    const got = scores(report);
    assert.deepStrictEqual(Object.keys(got).sort(), ['accessibility', 'best-practices', 'performance', 'seo']);
    const failing = report.categories['best-practices'].auditRefs
      .map((ref) => report.audits[ref.id]).filter((a) => a.score !== null && a.score < 1).map((a) => a.id);
    assert.deepStrictEqual(failing, []);
    assert.strictEqual(got['best-practices'], 100);
    assert.deepStrictEqual(report.runtimeError, undefined);
  } finally {
    await new Promise((resolve) => server.close(resolve));
  }
});

// Figures of the browser edition (tools/build-web first):
//   - the site's bytes, raw and compressed (gzip and brotli), the code
//     (WebAssembly and JavaScript) apart;
//   - load to the first drawn face, against a bare page that draws the face
//     photograph on a canvas: runs interleaved, cold each time, medians and
//     ratio, and when each file on the way was asked for and came in;
//   - the still face: timer and frame callbacks and main-thread time over
//     a few seconds with the lit face showing, and the same during a game;
//   - Lighthouse's scores (desktop preset) and its load metrics, a few runs.
//   NODE_PATH=build-web/node/node_modules node bench/web-bench.js [RUNS]
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { serveSite, start, openPage, onFace, play, centre } = require('../web/tests/browser.js');
const { lighthouse, scores } = require('../web/tests/lighthouse.js');

const root = path.resolve(__dirname, '..');
const site = path.join(root, 'build-web/site');
const runs = Number(process.argv[2] || 9);

function files(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((e) =>
    e.isDirectory() ? files(path.join(dir, e.name)) : [path.join(dir, e.name)]);
}

function siteBytes() {
  const total = { raw: 0, gzip: 0, brotli: 0 };
  const code = { raw: 0, gzip: 0, brotli: 0 };
  for (const file of files(site)) {
    const bytes = fs.readFileSync(file);
    const sizes = {
      raw: bytes.length,
      gzip: zlib.gzipSync(bytes, { level: 9 }).length,
      brotli: zlib.brotliCompressSync(bytes, { params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11 } }).length,
    };
    const isCode = /\.(wasm|js)$/.test(file);
    for (const k of Object.keys(total)) {
      total[k] += sizes[k];
      if (isCode) code[k] += sizes[k];
    }
    if (isCode) console.log(`  ${path.relative(site, file).padEnd(24)} ${sizes.raw} raw, ${sizes.gzip} gzip, ${sizes.brotli} brotli`);
  }
  const kb = (n) => (n / 1024).toFixed(1) + ' KiB';
  console.log(`code (WebAssembly and JavaScript): ${kb(code.raw)} raw, ${kb(code.gzip)} gzip, ${kb(code.brotli)} brotli (goal: under 150 KB compressed)`);
  console.log(`whole site: ${kb(total.raw)} raw, ${kb(total.gzip)} gzip, ${kb(total.brotli)} brotli`);
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

async function firstFace(env, origin, query, mark, pressPlay) {
  const context = await env.browser.newContext({ viewport: { width: 654, height: 394 } });
  if (pressPlay)
    await context.addInitScript(() => document.addEventListener('DOMContentLoaded',
      () => document.getElementById('Puls_Play').click()));
  const page = await context.newPage();
  await page.goto(origin + query);
  await page.waitForFunction((m) => performance.getEntriesByName(m).length > 0, mark, { timeout: 30000 });
  const ms = await page.evaluate((m) => performance.getEntriesByName(m)[0].startTime, mark);
  const times = await page.evaluate(stepTimes);
  await context.close();
  return [ms, times];
}

// On the way to the handheld's first face: when each file was asked for and
// had come in, and when the page was read and its deferred scripts had run,
// in ms from the start: [asked, done].
// (Run in the page.)
function stepTimes() {
  const times = { 'page read (DOMContentLoaded)': [null, performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd] };
  for (const entry of performance.getEntriesByType('resource'))
    times[entry.name.replace(location.origin + '/', '').replace(/@[23]x/, '')] = [entry.startTime, entry.responseEnd];
  return times;
}

async function loadToFirstFace(env) {
  const bareSite = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-bare-'));
  for (const f of ['web-bare-page.html', 'web-bare-page.js']) fs.copyFileSync(path.join(__dirname, f), path.join(bareSite, f));
  fs.copyFileSync(path.join(site, 'pictures/Im_Base.jpg'), path.join(bareSite, 'Im_Base.jpg'));
  fs.copyFileSync(path.join(root, 'build-web/csp.txt'), path.join(bareSite, '..', 'csp.txt'));
  const bare = await serveSite(bareSite);
  const bareOrigin = `http://127.0.0.1:${bare.address().port}`;
  const game = [];
  const photo = [];
  const gameSteps = [];  // the handheld page's step times, run by run
  for (let i = 0; i < runs; ++i) {
    const [ms, times] = await firstFace(env, env.origin, '/', 'wuffel-first-face', true);
    game.push(ms);
    gameSteps.push(times);
    photo.push((await firstFace(env, bareOrigin, '/web-bare-page.html', 'bare-first-face', false))[0]);
  }
  bare.close();
  fs.rmSync(bareSite, { recursive: true, force: true });
  const round = (xs) => xs.map((x) => Math.round(x)).join(' ');
  console.log(`load to first face, ${runs} runs each, interleaved, cold:`);
  console.log(`  handheld page: median ${median(game).toFixed(0)} ms   (${round(game)})`);
  console.log(`  bare photo page: median ${median(photo).toFixed(0)} ms   (${round(photo)})`);
  console.log(`  ratio ${(median(game) / median(photo)).toFixed(2)} (goal: at most 1.2)`);
  console.log('  the handheld page\'s steps, medians (ms):');
  const byStep = new Map();  // step -> { asked: [], end: [] }
  for (const run of gameSteps) {
    for (const [step, [asked, end]] of Object.entries(run)) {
      if (!byStep.has(step)) byStep.set(step, { asked: [], end: [] });
      byStep.get(step).end.push(end);
      if (asked !== null) byStep.get(step).asked.push(asked);
    }
  }
  const rows = [...byStep].sort((a, b) => median(a[1].end) - median(b[1].end));
  for (const [step, { asked, end }] of rows) {
    const from = asked.length ? `asked at ${Math.round(median(asked))}, ` : '';
    console.log(`    ${step.padEnd(30)} ${from}done at ${Math.round(median(end))} (${end.length} of ${gameSteps.length} runs)`);
  }
  console.log(`    ${'first face'.padEnd(30)} at ${median(game).toFixed(0)}`);
}

// Counts every timer and frame callback the page runs.
function countCallbacks() {
  window.callbackCounts = { timeout: 0, interval: 0, frame: 0 };
  const wrap = (name, kind) => {
    const original = window[name];
    window[name] = function (callback, ...rest) {
      return original.call(window, function (...args) {
        ++window.callbackCounts[kind];
        return callback.apply(this, args);
      }, ...rest);
    };
  };
  wrap('setTimeout', 'timeout');
  wrap('setInterval', 'interval');
  wrap('requestAnimationFrame', 'frame');
}

async function stillFace(env) {
  const context = await env.browser.newContext({ viewport: { width: 654, height: 394 } });
  await context.addInitScript(countCallbacks);
  const { page } = await openPage(context, env.origin, '');
  await play(page);
  const cdp = await context.newCDPSession(page);
  await cdp.send('Performance.enable');
  const measure = async (label, seconds) => {
    await page.waitForTimeout(500);
    const before = await page.evaluate(() => ({ ...window.callbackCounts }));
    const m0 = (await cdp.send('Performance.getMetrics')).metrics;
    await page.waitForTimeout(seconds * 1000);
    const after = await page.evaluate(() => ({ ...window.callbackCounts }));
    const m1 = (await cdp.send('Performance.getMetrics')).metrics;
    const metric = (ms, name) => ms.find((m) => m.name === name).value;
    const busy = (metric(m1, 'TaskDuration') - metric(m0, 'TaskDuration')) * 1000 / seconds;
    const script = (metric(m1, 'ScriptDuration') - metric(m0, 'ScriptDuration')) * 1000 / seconds;
    console.log(`  ${label}: ${after.timeout - before.timeout} timer callbacks, ${after.frame - before.frame} frames,` +
      ` ${after.interval - before.interval} interval callbacks in ${seconds} s;` +
      ` main thread busy ${busy.toFixed(2)} ms/s (script ${script.toFixed(2)} ms/s)`);
  };
  console.log('the still face and a game:');
  await measure('lit face, nothing running', 5);
  await page.mouse.click(...await onFace(page, ...centre('Puls_GameA')));
  await measure('Game A running (the game\'s own TimerGioco: 4.5 ticks/s)', 5);
  await context.close();
}

async function lighthouseFigures(env, times = 3) {
  console.log(`Lighthouse, desktop preset, ${times} runs (median of each):`);
  const reports = [];
  for (let i = 0; i < times; ++i) reports.push(await lighthouse(env.origin + '/'));
  const all = reports.map(scores);
  for (const name of Object.keys(all[0])) console.log(`  ${name}: ${median(all.map((s) => s[name]))} (${all.map((s) => s[name]).join(' ')})`);
  for (const metric of ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift'])
    console.log(`  ${metric}: ${median(reports.map((r) => r.audits[metric].numericValue)).toFixed(metric.startsWith('cumulative') ? 3 : 0)}`);
}

(async () => {
  siteBytes();
  const env = await start();
  try {
    await loadToFirstFace(env);
    await stillFace(env);
    await lighthouseFigures(env);
  } finally {
    await env.close();
  }
})();

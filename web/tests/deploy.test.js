// A new build of the site uploaded over the old one, in the system's
// headless Chromium: whatever order the files arrive in, and with an upload
// left half done, the page serves one build whole; the new one waits until
// the player takes it from the note "A new version is ready - reload".
'use strict';

const assert = require('node:assert');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const test = require('node:test');
const { root, site, start, openPage } = require('./browser.js');

// The files the second build changes; the rest it shares with the first.
const CHANGED = ['page.js', 'style.css', 'index.html'];

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-deploy-'));
const first = path.join(work, 'first');
const second = path.join(work, 'second');
const live = path.join(work, 'live');  // what the server serves

function copy(from, to, file) {
  fs.mkdirSync(path.dirname(path.join(to, file)), { recursive: true });
  fs.copyFileSync(path.join(from, file), path.join(to, file));
}

// The second build: the first with its changed files changed, and its own
// service worker, made as the build makes it.
function makeSecondBuild() {
  fs.cpSync(site, first, { recursive: true });
  fs.cpSync(site, second, { recursive: true });
  fs.copyFileSync(path.join(root, 'build-web/csp.txt'), path.join(work, 'csp.txt'));
  fs.appendFileSync(path.join(second, 'page.js'), '\n// the second build\n');
  fs.appendFileSync(path.join(second, 'style.css'), '\n/* the second build */\n');
  fs.appendFileSync(path.join(second, 'index.html'), '\n<!-- the second build -->\n');
  const made = spawnSync('cmake', [`-DSITE=${second}`, `-DTEMPLATE=${path.join(root, 'web/site/sw.js.in')}`,
    '-P', path.join(root, 'web/make_service_worker.cmake')], { encoding: 'utf8' });
  assert.strictEqual(made.status, 0, made.stderr);
}

// Which build the page is given, through its service worker: 'first',
// 'second', or 'mixed'.
async function buildServed(page) {
  const texts = await page.evaluate((files) => Promise.all(files.map((f) => fetch(f).then((r) => r.text()))),
    CHANGED);
  const of = (folder) => CHANGED.every((f, i) => texts[i] === fs.readFileSync(path.join(folder, f), 'utf8'));
  return of(first) ? 'first' : of(second) ? 'second' : 'mixed';
}

// Asks the browser to look for a new service worker, and waits until what
// it found is installed or refused: true when a new build waits.
function lookForUpdate(page) {
  return page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    await registration.update().catch(() => {});
    while (registration.installing) await new Promise((resolve) => setTimeout(resolve, 50));
    return registration.waiting !== null;
  });
}

let env;
test.before(async () => {
  makeSecondBuild();
  fs.cpSync(first, live, { recursive: true });
  env = await start(live);
});
test.after(async () => {
  await env.close();
  fs.rmSync(work, { recursive: true, force: true });
});

// Uploads the second build in `steps` (lists of files, 'rest' for all the
// others), checking after each step but the last that the first build is
// still served whole and no new one waits; then the note, and the reload.
async function upload(steps) {
  fs.rmSync(live, { recursive: true, force: true });
  fs.cpSync(first, live, { recursive: true });
  await env.withContext({ viewport: { width: 654, height: 394 } }, async (context) => {
    const { page, record } = await openPage(context, env.origin, '');
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    const uploaded = new Set();
    const all = fs.readdirSync(second, { recursive: true }).filter((f) => fs.statSync(path.join(second, f)).isFile());
    for (const [i, step] of steps.entries()) {
      const files = step === 'rest' ? all.filter((f) => !uploaded.has(f)) : step;
      for (const f of files) {
        copy(second, live, f);
        uploaded.add(f);
      }
      const waiting = await lookForUpdate(page);
      if (i < steps.length - 1) {
        assert.strictEqual(waiting, false, `after ${files.join(' ')}: a build waits too early`);
        assert.strictEqual(await buildServed(page), 'first', `after ${files.join(' ')}`);
        await page.reload();
        assert.strictEqual(await buildServed(page), 'first', `after ${files.join(' ')}, reloaded`);
      }
    }
    assert.strictEqual(await lookForUpdate(page), true, 'the whole upload waits');
    await page.locator('#new-build').waitFor({ state: 'visible' });
    assert.match(await page.locator('#new-build').innerText(), /^A new version is ready - reload$/);
    assert.strictEqual(await buildServed(page), 'first', 'the open page keeps its build until asked');
    await Promise.all([page.waitForEvent('load'), page.click('#new-build-reload')]);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    assert.strictEqual(await buildServed(page), 'second');
    assert.ok(await page.locator('#new-build').isHidden());
    assert.deepStrictEqual(record.errors.filter((e) => !/Failed to fetch|another build|404/.test(e)), []);
  });
}

test('the service worker first, then the rest: the first build until the whole second is there', async () => {
  await upload([['sw.js'], 'rest']);
});

test('the new files first and the service worker last: the first build until then', async () => {
  await upload([['page.js', 'style.css', 'index.html'], ['wuffel-web.js', 'pictures/face-atlas.json'], 'rest']);
});

test('half an upload never sticks: the service worker and one changed file, then the rest', async () => {
  await upload([['sw.js', 'page.js'], ['style.css'], 'rest']);
});

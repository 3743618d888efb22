// A game played in the page, in the system's headless Chromium, leaves its
// recording in localStorage when it ends, and that recording verifies in
// the desktop's runner with the score the page showed.
'use strict';

const assert = require('node:assert');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const test = require('node:test');
const zlib = require('node:zlib');
const { root, centre, start, openPage, click, play, traced, pixel, grille } = require('./browser.js');

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

test('a game ended by ACL is kept as the last game and plays again to its end', async () => {
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await click(page, centre('Puls_GameA'));
    await traced(record, 'timer TimerGioco 220 on');
    for (const key of ['ArrowUp', 'Control', 'ArrowDown', 'Control', 'ArrowDown', 'Control']) {
      await page.keyboard.press(key);
      await page.waitForTimeout(150);
    }
    await page.waitForTimeout(1500);
    await click(page, centre('Puls_ACL'));
    const text = await page.evaluate(() => localStorage.getItem('WuffelTennis/Games/last'));
    assert.ok(text && text.startsWith('# wuffel-recording 1\n'), 'the last game is kept');
    assert.match(text, /\nkeydown 38\n/);
    const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-page-game-')), 'last.wuffel');
    fs.writeFileSync(file, text);
    const verified = spawnSync(path.join(root, 'build/wuffel-scenario'), ['--verify', file], { cwd: root });
    const score = text.match(/\nexpect score (\d+)\n/)[1];
    assert.strictEqual(verified.stdout.toString(), `verified A ${score}\n`, verified.stderr.toString());
    assert.strictEqual(await page.evaluate(() => localStorage.getItem('WuffelTennis/Games/best-A')), null,
      'a game that beat no best score is not the best game');
  });
});

// A game played well for ten minutes by the tests' bot, as the window
// program records it.
function botGame() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-bot-game-'));
  const made = spawnSync(path.join(root, 'build/bench/recording_bench'), [dir], { cwd: root });
  assert.strictEqual(made.status, 0, made.stderr.toString());
  return fs.readFileSync(path.join(dir, 'ten-minutes.wuffel'), 'utf8');
}

async function faceShot(page) {
  return page.locator('#handheld').screenshot();
}

test('the last game is watched from its key at its pace, faster with Right, and Esc ends it', async () => {
  const game = botGame();
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    await context.addInitScript((text) => localStorage.setItem('WuffelTennis/Games/last', text), game);
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    const live = await faceShot(page);
    const ticksBefore = record.trace.length;
    await page.keyboard.press('F8');
    await page.waitForFunction(() => document.title.endsWith(' (replay)'));
    await page.waitForTimeout(500);
    const early = await faceShot(page);
    assert.notDeepStrictEqual(early, live, 'the replay shows its own face');
    fs.writeFileSync(path.join(os.tmpdir(), 'wuffel-page-replay.png'), early);
    for (let i = 0; i < 4; ++i) await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('Control');
    await page.waitForTimeout(1000);
    assert.ok(!record.trace.slice(ticksBefore).some((l) => / key(down|up) /.test(l)),
      'no key reaches the handheld while a replay shows');
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.title.includes('(replay)'));
    assert.deepStrictEqual(record.errors, []);
  });
});

test('a link carries a game, and the settings panel copies the link to the best one', async () => {
  const game = botGame();
  const data = zlib.deflateSync(Buffer.from(game)).toString('base64url');
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    const { page } = await openPage(context, env.origin, '#replay=' + data);
    await play(page);
    await page.waitForFunction(() => document.title.endsWith(' (replay)'));
    await page.keyboard.press('Escape');

    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    await page.evaluate((text) => localStorage.setItem('WuffelTennis/Games/best-A', text), game);
    await page.evaluate(() => document.getElementById('settings').showModal());
    await page.click('#settings-copy-link');
    await page.waitForFunction(() => document.getElementById('settings-link-copied').textContent !== '');
    const link = await page.evaluate(() => navigator.clipboard.readText());
    assert.ok(link.startsWith(env.origin + '/#replay='), link);
    const carried = zlib.inflateSync(Buffer.from(link.split('#replay=')[1], 'base64url')).toString();
    assert.strictEqual(carried, game);
  });
});

test('a file that is not a recording is said, and nothing is watched', async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-not-a-game-'));
  const file = path.join(dir, 'notes.wuffel');
  fs.writeFileSync(file, 'start\nat 100\n');
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    const { page } = await openPage(context, env.origin);
    await play(page);
    await page.locator('input[type=file]').setInputFiles(file);
    await page.waitForFunction(() => document.getElementById('error-box').open);
    assert.strictEqual(await page.textContent('#error-message'), 'This file is not a recording of a game.');
    assert.ok(!(await page.title()).includes('(replay)'));
  });
});

test('a game cut off by closing the tab is kept as the last game', async () => {
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await click(page, centre('Puls_GameA'));
    await traced(record, 'timer TimerGioco 220 on');
    await page.keyboard.press('ArrowUp');
    await page.waitForTimeout(500);
    await page.close({ runBeforeUnload: true });
    const { page: again } = await openPage(context, env.origin);
    const text = await again.evaluate(() => localStorage.getItem('WuffelTennis/Games/last'));
    assert.ok(text && text.includes('\nkeydown 38\n'), 'the game is kept with its inputs');
    const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-cut-off-')), 'last.wuffel');
    fs.writeFileSync(file, text);
    const verified = spawnSync(path.join(root, 'build/wuffel-scenario'), ['--verify', file], { cwd: root });
    assert.strictEqual(verified.status, 0, verified.stdout.toString() + verified.stderr.toString());
  });
});

test('a link that inflates past any recording is refused, not inflated', async () => {
  const bomb = zlib.deflateSync(Buffer.alloc(17 << 20, 'a'), { level: 9 }).toString('base64url');
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    const { page } = await openPage(context, env.origin, '#replay=' + bomb);
    await play(page);
    await page.waitForFunction(() => document.getElementById('error-box').open);
    assert.ok(!(await page.title()).includes('(replay)'));
  });
});

test('with the sound cues on, the grille shows a replay\'s sounds', async () => {
  const game = botGame();
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    await context.addInitScript((text) => {
      localStorage.setItem('WuffelTennis/Games/last', text);
      localStorage.setItem('WuffelTennis/Settings/sound-cues', '1');
    }, game);
    const { page } = await openPage(context, env.origin);
    await play(page);
    const brightness = async () => (await pixel(page, grille)).reduce((a, b) => a + b);
    const quiet = await brightness();
    await page.keyboard.press('F8');
    await page.waitForFunction(() => document.title.endsWith(' (replay)'));
    let lit = quiet;
    for (let i = 0; i < 100 && lit <= quiet + 60; ++i) {
      await page.waitForTimeout(50);
      lit = Math.max(lit, await brightness());
    }
    assert.ok(lit > quiet + 60, `the grille stayed at ${quiet}, at most ${lit}`);
  });
});

test('the program may end while a replay shows, and the page goes on', async () => {
  const game = botGame();
  await env.withContext({ viewport: { width: 1400, height: 900 } }, async (context) => {
    await context.addInitScript((text) => localStorage.setItem('WuffelTennis/Games/last', text), game);
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await page.keyboard.press('F8');
    await page.waitForFunction(() => document.title.endsWith(' (replay)'));
    await click(page, centre('Im_BaseTop'), 'right');
    await page.locator('#menu button', { hasText: 'Exit' }).click();
    await page.locator('#splash').waitFor();
    assert.ok(!(await page.title()).includes('(replay)'));
    await page.waitForTimeout(300);
    await play(page);
    assert.deepStrictEqual(record.errors, []);
  });
});

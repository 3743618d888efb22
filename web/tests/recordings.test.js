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
const { root, centre, start, openPage, click, play, traced } = require('./browser.js');

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

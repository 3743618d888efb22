// The page's questions with modern keys, in the system's headless Chromium:
// Esc during a game and "Reset Hiscores" ask first, the game waiting for
// the answer; with the original keys both act at once.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { centre, start, openPage, click, play, traced } = require('./browser.js');

const FACE = [300, 200];
const GAME_A = centre('Puls_GameA');
const LARGE = { viewport: { width: 1400, height: 900 } };

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

async function openWith(context, values) {
  const { page } = await openPage(context, env.origin);
  await page.evaluate((v) => {
    for (const [key, text] of Object.entries(v)) localStorage.setItem('WuffelTennis/' + key, text);
  }, values);
  const opened = await openPage(context, env.origin);
  await page.close();
  await play(opened.page);
  return opened;
}

async function chooseFromMenu(page, item) {
  await click(page, FACE, 'right');
  await page.locator('#menu').getByText(item).click();
}

test('with modern keys Esc during a game asks first; No plays on, Yes returns to the splash', async () => {
  await env.withContext(LARGE, async (context) => {
    const { page, record } = await openWith(context, { 'Settings/keys': 'modern' });
    const box = page.locator('#question-box');
    await page.keyboard.press('a');
    await traced(record, 'timer TimerGioco 220 on');
    await page.keyboard.press('Escape');
    await traced(record, 'ask Quit the game in progress?');
    assert.ok(await box.isVisible());
    assert.strictEqual(await page.locator('#question-text').textContent(), 'Quit the game in progress?');
    assert.ok(record.trace.some((l) => l.endsWith(' pause')), 'the game waits for the answer');
    // The box takes the keys: P does not resume the game behind it.
    await page.keyboard.press('p');
    await page.click('#question-no');
    await traced(record, 'answer no');
    await traced(record, 'resume');
    const at = (event) => record.trace.findIndex((l) => l.endsWith(' ' + event));
    assert.ok(at('resume') > at('answer no'), 'P reached the game behind the box');
    assert.ok(await box.isHidden());
    assert.ok(await page.locator('#handheld-view').isVisible());
    // Esc in the box answers no.
    await page.keyboard.press('Escape');
    await traced(record, 'ask Quit the game in progress?', 5000, 2);
    await page.keyboard.press('Escape');
    await traced(record, 'answer no', 5000, 2);
    assert.ok(!record.trace.some((l) => l.endsWith(' exit')));
    await page.keyboard.press('Escape');
    await traced(record, 'ask Quit the game in progress?', 5000, 3);
    await page.click('#question-yes');
    await traced(record, 'exit');
    assert.ok(await page.locator('#splash').isVisible());
    assert.deepStrictEqual(record.errors, []);
  });
});

test('with modern keys Reset Hiscores names both scores and wipes them only on Yes', async () => {
  await env.withContext(LARGE, async (context) => {
    const { page, record } = await openWith(context,
      { 'Settings/keys': 'modern', HiScoreA: '213', HiScoreB: '211' });
    const question = 'Reset the best scores, 213 in Game A and 211 in Game B, to 0?';
    await chooseFromMenu(page, 'Reset Hiscores');
    await traced(record, 'ask ' + question);
    assert.strictEqual(await page.locator('#question-text').textContent(), question);
    await page.click('#question-no');
    await traced(record, 'answer no');
    assert.strictEqual(await page.evaluate(() => localStorage.getItem('WuffelTennis/HiScoreA')), '213');
    await chooseFromMenu(page, 'Reset Hiscores');
    await page.click('#question-yes');
    await traced(record, 'beep');
    assert.deepStrictEqual(await page.evaluate(() => [localStorage.getItem('WuffelTennis/HiScoreA'),
      localStorage.getItem('WuffelTennis/HiScoreB')]), ['0', '0']);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('with the original keys both act at once, as the original did', async () => {
  await env.withContext(LARGE, async (context) => {
    const { page, record } = await openWith(context, { HiScoreA: '213' });
    await chooseFromMenu(page, 'Reset Hiscores');
    await traced(record, 'beep');
    await click(page, GAME_A);
    await traced(record, 'timer TimerGioco 220 on');
    await page.keyboard.press('Escape');
    await traced(record, 'exit');
    assert.ok(!record.trace.some((l) => / ask /.test(l)));
    assert.ok(await page.locator('#question-box').isHidden());
  });
});

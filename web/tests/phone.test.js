// The page on a phone held sideways, in the system's headless Chromium:
// two minutes of play by touch without a console warning, and texts that
// speak of touches, not keys, until a key shows there is a keyboard.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { centre, start, openPage, onFace, traced } = require('./browser.js');

const PHONE = { viewport: { width: 740, height: 360 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
// What a keyboard's texts say, and no text for touch does.
const KEY_WORDS = /\b(Ctrl|Space|Esc|F[1-5]|keys?|keyboard|mouse)\b/;

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

async function openOnPhone(context) {
  const opened = await openPage(context, env.origin);
  await opened.page.tap('#Puls_Play');
  await opened.page.waitForFunction(() => performance.getEntriesByName('wuffel-first-face').length > 0);
  return opened;
}

test('two minutes of play by touch, a thumb resting beside the handheld, with no console warning', async () => {
  await env.withContext(PHONE, async (context) => {
    const { page, record } = await openOnPhone(context);
    await context.clock.install();
    const cdp = await context.newCDPSession(page);
    const touches = (type, points) => cdp.send('Input.dispatchTouchEvent',
      { type, touchPoints: points.map(([x, y], i) => ({ x, y, id: i + 1 })) });
    const at = async (name) => onFace(page, ...centre(name));
    const [up, down, hit, gameA] = [await at('Puls_Up'), await at('Puls_Down'), await at('Puls_Hit'), await at('Puls_GameA')];
    const box = await page.locator('#handheld').boundingBox();
    const beside = [box.x / 2, box.height / 2];  // the dark band left of the handheld
    let hits = 0;  // touches on HIT
    const tap = async (point) => {
      if (point === hit) ++hits;
      await touches('touchStart', [point]);
      await touches('touchEnd', []);
    };
    // What players do: taps, a button held while another finger taps,
    // a thumb on the band beside the handheld, and a finger sliding off.
    const moves = [
      () => tap(up), () => tap(hit), () => tap(down), () => tap(hit),
      async () => {
        ++hits;
        await touches('touchStart', [up]);
        await touches('touchStart', [up, hit]);
        await touches('touchEnd', [up]);
        await touches('touchEnd', []);
      },
      async () => {
        ++hits;
        await touches('touchStart', [beside]);
        await touches('touchMove', [[beside[0] + 10, beside[1] + 40]]);
        await touches('touchStart', [[beside[0] + 10, beside[1] + 40], hit]);
        await touches('touchEnd', [[beside[0] + 10, beside[1] + 40]]);
        await touches('touchEnd', []);
      },
      async () => {
        await touches('touchStart', [down]);
        for (let k = 1; k <= 5; ++k) await touches('touchMove', [[down[0] - 30 * k, down[1] - 20 * k]]);
        await touches('touchEnd', []);
      },
    ];
    const count = (event) => record.trace.filter((l) => l.endsWith(' ' + event)).length;
    const [PLAY_MS, STEP_MS] = [2 * 60 * 1000, 400];
    for (let step = 0; step * STEP_MS < PLAY_MS; ++step) {
      // GAME A now and then: a game that has ended waits for a button.
      if (step % 50 === 0) await tap(gameA);
      await moves[step % moves.length]();
      await context.clock.runFor(STEP_MS);
    }
    assert.ok(count('timer TimerGioco 220 on') >= 4, 'games started');
    // Every touch on HIT pressed it, also one that joined a thumb's beside the handheld.
    assert.strictEqual(count('hide Puls_Hit'), hits);
    assert.deepStrictEqual(record.warnings, []);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('on a phone the texts speak of touches, until a key is pressed', async () => {
  await env.withContext(PHONE, async (context) => {
    const { page, record } = await openOnPhone(context);
    const texts = async () => {
      const cdp = await context.newCDPSession(page);
      const [x, y] = await onFace(page, 300, 200);
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y, id: 1 }] });
      await traced(record, 'popup 300 200', 3000, record.trace.filter((l) => l.endsWith('popup 300 200')).length + 1);
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
      const menu = await page.locator('#menu').innerText();
      await page.locator('#menu').getByText('Settings...').click();
      const panel = await page.locator('#settings').innerText();
      await page.click('#settings-close');
      const label = await page.locator('#handheld').getAttribute('aria-label');
      return { menu, panel, label };
    };
    const touch = await texts();
    for (const [where, text] of Object.entries(touch)) assert.doesNotMatch(text, KEY_WORDS, where);
    assert.match(touch.label, /long-press/);
    assert.match(touch.panel, /finger/);
    assert.strictEqual(await page.locator('#menu u').first().evaluate((u) => getComputedStyle(u).textDecorationLine),
      'none');
    // The document the menu opens tells of touches too.
    const readme = await page.evaluate(() => fetch('readme.txt').then((r) => r.text()));
    assert.match(readme, /long press/i);

    // A keyboard on the phone: from its first key on, the texts name the keys.
    await page.keyboard.press('Shift');
    const keys = await texts();
    assert.match(keys.menu, /About\.\.\.\s+F1/);
    assert.match(keys.panel, /Ctrl swings/);
    assert.match(keys.label, /Ctrl swings/);
    assert.deepStrictEqual(record.errors, []);
  });
});

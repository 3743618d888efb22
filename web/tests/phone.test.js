// The page on a phone held sideways, in the system's headless Chromium:
// two minutes of play by touch without a console warning.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { centre, start, openPage, onFace } = require('./browser.js');

const PHONE = { viewport: { width: 740, height: 360 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

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

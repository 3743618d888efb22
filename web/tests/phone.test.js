// The page on a phone, in the system's headless Chromium: two minutes of
// play by touch held sideways without a console warning; held upright, the
// handheld across the width with thumb-sized HIT, UP and DOWN below it, and
// the case's small buttons that take a finger beside them; and texts that
// speak of touches, not keys, until a key shows there is a keyboard.
'use strict';

const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const { root, face, centre, start, openPage, onFace, traced } = require('./browser.js');

const PHONE = { viewport: { width: 740, height: 360 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const UPRIGHT = { ...PHONE, viewport: { width: 390, height: 844 } };
// Where the upright phone's screenshot is kept, to be looked at.
const SCREENSHOT = path.join(root, 'build-web/screenshots/phone-upright.png');
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
    const beside = [box.x / 2, 20];  // the dark band left of the handheld, above the thumbs' HIT
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

// The page boxes of the handheld and of the thumbs' HIT, UP and DOWN.
function boxes(page) {
  return page.evaluate(() => Object.fromEntries(['handheld', 'Puls_Hit', 'Puls_Up', 'Puls_Down'].map((name) => {
    const element = document.getElementById(name) || document.querySelector(`.thumb[data-button="${name}"]`);
    const { x, y, width, height } = element.getBoundingClientRect();
    return [name, { x, y, width, height, right: x + width, bottom: y + height }];
  })));
}

test('upright, thumb-sized HIT, UP and DOWN below the handheld play, and a finger beside GAME A presses it', async () => {
  await env.withContext(UPRIGHT, async (context) => {
    const { page, record } = await openOnPhone(context);
    fs.mkdirSync(path.dirname(SCREENSHOT), { recursive: true });
    await page.screenshot({ path: SCREENSHOT });
    const box = await boxes(page);
    assert.ok(Math.abs(box.handheld.width - 390) < 1, `the handheld fills the width: ${box.handheld.width}`);
    for (const name of ['Puls_Hit', 'Puls_Up', 'Puls_Down']) {
      const b = box[name];
      assert.ok(b.width >= 48 && b.height >= 48, `${name} is ${b.width} x ${b.height}`);
      assert.ok(b.y >= box.handheld.bottom && b.bottom <= 844 && b.x >= 0 && b.right <= 390, `${name} below`);
    }
    assert.ok(box.Puls_Hit.right < box.Puls_Up.x, 'HIT on the left, the arrows on the right, as on the case');
    assert.ok(box.Puls_Up.bottom <= box.Puls_Down.y, 'UP above DOWN');

    // Four CSS pixels above GAME A, on the case, a finger presses it: its
    // own place is 19 x 11 CSS pixels here.
    const [left, top, width] = face.places.Puls_GameA;
    const scale = box.handheld.width / face.face[0];
    const cdp = await context.newCDPSession(page);
    const touch = (type, x, y) => cdp.send('Input.dispatchTouchEvent',
      { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y, id: 1 }] });
    const aboveGameA = [box.handheld.x + (left + width / 2) * scale, box.handheld.y + top * scale - 4];
    await touch('touchStart', ...aboveGameA);
    await traced(record, 'hide Puls_GameA');
    await touch('touchEnd', ...aboveGameA);
    await traced(record, 'timer TimerGioco 220 on');

    // The thumbs' UP, DOWN and HIT do what the case's buttons do.
    const middle = (b) => [b.x + b.width / 2, b.y + b.height / 2];
    await touch('touchStart', ...middle(box.Puls_Up));
    await traced(record, 'hide Puls_Up');
    await touch('touchEnd', ...middle(box.Puls_Up));
    await traced(record, 'show Puls_Up');
    await touch('touchStart', ...middle(box.Puls_Down));
    await traced(record, 'hide Puls_Down');
    await touch('touchEnd', ...middle(box.Puls_Down));
    await traced(record, 'show Puls_Down');
    await touch('touchStart', ...middle(box.Puls_Hit));
    await traced(record, 'hide Puls_Hit');
    await touch('touchEnd', ...middle(box.Puls_Hit));
    await traced(record, 'show Puls_Hit');
    assert.deepStrictEqual(record.errors, []);
  });
});

test('sideways, the thumbs\' controls sit beside a face that still fills the height', async () => {
  await env.withContext(PHONE, async (context) => {
    const { page, record } = await openOnPhone(context);
    const box = await boxes(page);
    assert.ok(Math.abs(box.handheld.height - 360) < 1, `the handheld fills the height: ${box.handheld.height}`);
    assert.ok(box.Puls_Hit.right <= box.handheld.x && box.Puls_Hit.x >= 0, 'HIT left of the face');
    for (const name of ['Puls_Up', 'Puls_Down']) {
      assert.ok(box[name].x >= box.handheld.right && box[name].right <= 740, `${name} right of the face`);
      assert.ok(box[name].width >= 48 && box[name].height >= 48);
    }
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

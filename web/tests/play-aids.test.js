// Slower games, the assist and the speaker grille's cues on the page, in the
// system's headless Chromium: the panel offers them, a slower game's timers
// and sounds are stretched, and the grille glows while a sound plays, at
// 100 % and 200 %, never on the glass.
'use strict';

const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const { centre, start, openPage, click, play, traced, face, pixel, grille } = require('./browser.js');

const FACE = [300, 200];
const LARGE = { viewport: { width: 1400, height: 900 } };
const GLASS = [face.places.Im_BaseTop[0] + 10, face.places.Im_BaseTop[1] + 150];
// Where to keep the pictures taken, to look at them; none when unset.
const SHOTS = process.env.WUFFEL_SHOTS;

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });


async function withStored(context, values) {
  const { page } = await openPage(context, env.origin);
  await page.evaluate((v) => {
    for (const [name, text] of Object.entries(v)) localStorage.setItem('WuffelTennis/Settings/' + name, text);
  }, values);
  return openPage(context, env.origin);
}

const timeOf = (line) => Number(line.split(' ')[0]);

// Moves the page's clock on in small steps until CHANNEL starts to play,
// then by a frame, so that the canvas shows it.
async function untilSound(context, record, channel, longestMs = 5000) {
  const played = () => record.trace.some((l) => l.endsWith(`sound ${channel} play`));
  for (let ms = 0; !played() && ms < longestMs; ms += 10) await context.clock.runFor(10);
  assert.ok(played(), `${channel} never played`);
  await context.clock.runFor(17);
}

test('the panel offers the speed, the assist and the grille, and stores each at once', async () => {
  await env.withContext(LARGE, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await click(page, FACE, 'right');
    await page.locator('#menu').getByText('Settings...').click();
    const speeds = await page.locator('#settings-speed option').evaluateAll((os) => os.map((o) => o.value));
    assert.deepStrictEqual(speeds, ['50', '60', '75', '100']);
    assert.strictEqual(await page.locator('#settings-speed').inputValue(), '100');
    await page.locator('#settings-speed').selectOption('60');
    await page.locator('#settings input[name="assist"]').check();
    await page.locator('#settings input[name="sound-cues"]').check();
    const stored = await page.evaluate(() => ['speed', 'assist', 'sound-cues']
      .map((name) => localStorage.getItem('WuffelTennis/Settings/' + name)));
    assert.deepStrictEqual(stored, ['60', '1', '1']);
    await page.click('#settings-restore');
    assert.strictEqual(await page.locator('#settings-speed').inputValue(), '100');
    assert.ok(!await page.locator('#settings input[name="assist"]').isChecked());
    assert.deepStrictEqual(record.errors, []);
  });
});

test('at half speed the first tick comes twice as late and every sound plays at half its rate', async () => {
  await env.withContext(LARGE, async (context) => {
    await context.addInitScript(() => {
      window.rates = [];
      const begin = AudioBufferSourceNode.prototype.start;
      AudioBufferSourceNode.prototype.start = function (...args) {
        window.rates.push(this.playbackRate.value);
        return begin.apply(this, args);
      };
    });
    const { page, record } = await withStored(context, { speed: '50' });
    await play(page);
    await context.clock.install();
    await click(page, centre('Puls_GameA'));
    const started = await traced(record, 'timer TimerGioco 220 on');
    await context.clock.runFor(3000);
    const first = await traced(record, 'tick TimerGioco');
    assert.strictEqual(timeOf(first) - timeOf(started), 440);
    await context.clock.runFor(10000);
    await traced(record, 'sound MPlayerBall play');
    const rates = await page.evaluate(() => window.rates);
    assert.ok(rates.length > 0 && rates.every((rate) => rate === 0.5), rates.join(' '));
    assert.deepStrictEqual(record.errors, []);
  });
});

for (const scale of [1, 2]) {
  test(`the grille glows while a sound plays and the glass stays as it is, at ${scale * 100} %`, async () => {
    await env.withContext({ ...LARGE, deviceScaleFactor: scale }, async (context) => {
      const { page, record } = await withStored(context, { 'sound-cues': '1' });
      await play(page);
      await context.clock.install();
      const quiet = await pixel(page, grille);
      const glass = await pixel(page, GLASS);
      await click(page, centre('Puls_GameA'));
      // The first throw's sound: the grille lights in the ball's tint.
      await untilSound(context, record, 'MPlayerBall');
      const lit = await pixel(page, grille);
      assert.ok(lit.reduce((a, b) => a + b) > quiet.reduce((a, b) => a + b) + 60, `${quiet} -> ${lit}`);
      assert.deepStrictEqual(await pixel(page, GLASS), glass);
      if (SHOTS) {
        fs.mkdirSync(SHOTS, { recursive: true });
        await page.locator('#handheld').screenshot({ path: path.join(SHOTS, `page-ball-${scale}x.png`) });
      }
      // A miss: the grille turns the miss's orange.
      await untilSound(context, record, 'MPlayerMiss', 60000);
      const miss = await pixel(page, grille);
      assert.ok(miss[0] > miss[2] + 60 && miss[1] > quiet[1] + 40, `${quiet} -> ${miss}`);
      if (SHOTS) await page.locator('#handheld').screenshot({ path: path.join(SHOTS, `page-miss-${scale}x.png`) });
      assert.deepStrictEqual(record.errors, []);
    });
  });
}

test('GAME A held at another speed shows that speed\'s own best, said so on the case below the frame', async () => {
  await env.withContext(LARGE, async (context) => {
    const { page, record } = await withStored(context, { speed: '75' });
    await play(page);
    // The case's printing: cream letters where the red plastic was.
    const printed = () => page.evaluate(() => {
      const canvas = document.getElementById('handheld');
      const k = canvas.width / 654;
      const data = canvas.getContext('2d').getImageData(Math.round(180 * k), Math.round(348 * k),
        Math.round(300 * k), Math.round(14 * k)).data;
      let cream = 0;
      for (let i = 0; i < data.length; i += 4) cream += data[i] > 200 && data[i + 1] > 190 ? 1 : 0;
      return cream;
    });
    const before = await printed();
    await page.mouse.move(...await require('./browser.js').onFace(page, ...centre('Puls_GameA')));
    await page.mouse.down();
    await traced(record, 'store read HiScoreA-speed75 0');
    await page.waitForFunction(() => new Promise((resolve) => requestAnimationFrame(() => resolve(true))));
    const held = await printed();
    assert.ok(held > before + 50, `${before} -> ${held}`);
    if (SHOTS) await page.locator('#handheld').screenshot({ path: path.join(SHOTS, 'page-best-at-75.png') });
    await page.mouse.up();
    await traced(record, 'timer TimerGioco 220 on');
    await page.waitForFunction(() => new Promise((resolve) => requestAnimationFrame(() => resolve(true))));
    assert.ok(await printed() < before + 10);
    assert.deepStrictEqual(record.errors, []);
  });
});

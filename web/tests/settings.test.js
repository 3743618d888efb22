// The players' settings on the page, in the system's headless Chromium: the
// panel and localStorage, the modern keys, the pause, and the sound's gain.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { centre, start, openPage, onFace, play, traced } = require('./browser.js');

const GAME_A = centre('Puls_GameA');
const FACE = [300, 200];
const TITLE = 'Wuffel Tennis (Vantoro) Simulator';
// Room for the handheld at twice its size.
const LARGE = { viewport: { width: 1400, height: 900 } };
const stored = (name) => `WuffelTennis/Settings/${name}`;

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

async function withContext(options, body) {
  const context = await env.browser.newContext(options);
  context.setDefaultTimeout(10000);
  try {
    await body(context);
  } finally {
    await context.close();
  }
}

async function click(page, [x, y], button = 'left') {
  await page.mouse.click(...await onFace(page, x, y), { button });
}

// Waits for the `n`th trace line that ends with `event`.
async function tracedTimes(record, event, n) {
  const count = () => record.trace.filter((l) => l.endsWith(' ' + event)).length;
  for (let tries = 0; count() < n; ++tries) {
    if (tries > 250) throw new Error(`"${event}" ${count()} times, not ${n}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

async function openSettings(page) {
  await click(page, FACE, 'right');
  await page.locator('#menu').getByText('Settings...').click();
  assert.ok(await page.locator('#settings').isVisible());
}

// The panel's controls as they read, by setting name.
function panelValues(page) {
  return page.evaluate(() => {
    const values = {};
    for (const control of document.querySelectorAll('#settings-form [name]')) {
      if (control.type === 'radio') {
        if (control.checked) values[control.name] = control.value;
      } else {
        values[control.name] = control.type === 'checkbox' ? control.checked : control.value;
      }
    }
    return values;
  });
}

function settingsStored(page) {
  return page.evaluate(() => Object.fromEntries(Object.entries(localStorage)
    .filter(([key]) => key.startsWith('WuffelTennis/Settings/'))));
}

const DEFAULTS = { keys: 'original', 'pause-on-focus-loss': false, volume: '100', muted: false, zoom: '100' };

test('the panel from the menu: each change applies and is stored at once, a reload keeps it, defaults restore', async () => {
  await withContext(LARGE, async (context) => {
    let { page, record } = await openPage(context, env.origin);
    await play(page);
    // F5 stays the browser's: the page neither takes it nor opens the panel.
    await page.evaluate(() => window.addEventListener('keydown', (event) => {
      if (event.key === 'F5') window.f5Taken = event.defaultPrevented;
    }));
    await page.keyboard.press('F5');
    assert.strictEqual(await page.evaluate(() => window.f5Taken), false);
    assert.ok(await page.locator('#settings').isHidden());
    await click(page, FACE, 'right');
    // Back in the menu, with no key.
    assert.strictEqual(await page.locator('#menu button', { hasText: 'Settings...' }).innerText(), 'Settings...');
    await page.keyboard.press('Escape');
    await openSettings(page);
    // What a page can offer; nothing of a window's place.
    assert.deepStrictEqual(await panelValues(page), DEFAULTS);
    assert.deepStrictEqual(await page.locator('#settings-zoom option').allInnerTexts(),
      ['100 %', '125 %', '150 %', '200 %', '250 %', '300 %', '400 %']);
    assert.ok(await page.locator('#settings-not-saved').isHidden());
    // The keyboard works the panel, and its keys stay out of the game.
    await page.locator('#settings input[value="original"]').focus();
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Tab');
    await page.keyboard.press('Space');
    assert.deepStrictEqual(await settingsStored(page),
      { [stored('keys')]: 'modern', [stored('pause-on-focus-loss')]: '1' });
    await page.locator('#settings-volume').fill('40');
    assert.strictEqual(await page.locator('#settings-volume-text').textContent(), '40 %');
    await page.locator('#settings-zoom').selectOption('200');
    assert.strictEqual((await page.locator('#handheld').boundingBox()).width, 1308);
    await page.keyboard.press('Escape');
    assert.ok(await page.locator('#settings').isHidden());
    assert.ok(!record.trace.some((l) => / (hide Puls_Down|hide Puls_Hit|exit)$/.test(l)), 'a panel key reached the game');

    ({ page, record } = await openPage(context, env.origin));
    await play(page);
    assert.strictEqual((await page.locator('#handheld').boundingBox()).width, 1308);
    await openSettings(page);
    assert.deepStrictEqual(await panelValues(page),
      { keys: 'modern', 'pause-on-focus-loss': true, volume: '40', muted: false, zoom: '200' });
    // Larger than the window holds: as large as it holds.
    await page.locator('#settings-zoom').selectOption('400');
    assert.ok(Math.abs((await page.locator('#handheld').boundingBox()).width - 1400) < 1);
    await page.click('#settings-restore');
    assert.deepStrictEqual(await panelValues(page), DEFAULTS);
    assert.strictEqual(await page.evaluate((key) => localStorage.getItem(key), stored('keys')), 'original');
    assert.strictEqual(await page.evaluate((key) => localStorage.getItem(key), stored('zoom')), '100');
    assert.strictEqual((await page.locator('#handheld').boundingBox()).width, 654);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('a stored value the page cannot read is its default; storage that refuses says so once and keeps the setting for the visit', async () => {
  await withContext(LARGE, async (context) => {
    const { page } = await openPage(context, env.origin);
    await page.evaluate((values) => {
      for (const [key, value] of values) localStorage.setItem(key, value);
    }, [[stored('volume'), 'loud'], [stored('zoom'), '175'], [stored('muted'), '2'], [stored('keys'), 'modern']]);
    await page.reload();
    await play(page);
    await openSettings(page);
    assert.deepStrictEqual(await panelValues(page), { ...DEFAULTS, keys: 'modern' });
  });
  await withContext(LARGE, async (context) => {
    await context.addInitScript(() => {
      Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
    });
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await openSettings(page);
    await page.locator('#settings input[name="muted"]').check();
    await page.locator('#settings-zoom').selectOption('150');
    const notes = page.locator('#settings p:visible', { hasText: 'could not be saved' });
    assert.strictEqual(await notes.count(), 1);
    assert.ok(await page.locator('#error-box').isHidden());
    // "Exit" starts the program again; the settings hold until the page is left.
    await page.click('#settings-close');
    await click(page, FACE, 'right');
    await page.locator('#menu').getByText('Exit').click();
    await traced(record, 'exit');
    await page.click('#Puls_Play');
    await openSettings(page);
    assert.deepStrictEqual(await panelValues(page), { ...DEFAULTS, muted: true, zoom: '150' });
    assert.strictEqual(await notes.count(), 1);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('modern keys and the pause: the title, a still face, and P, a click or the lost focus', async () => {
  await withContext(LARGE, async (context) => {
    let { page, record } = await openPage(context, env.origin);
    await page.evaluate((values) => {
      for (const [key, value] of values) localStorage.setItem(key, value);
    }, [[stored('keys'), 'modern'], [stored('pause-on-focus-loss'), '1']]);
    ({ page, record } = await openPage(context, env.origin));
    await play(page);
    await context.clock.install();
    // A: held, GAME A is pressed; let go, the game starts.
    await page.keyboard.down('a');
    await traced(record, 'hide Puls_GameA');
    assert.ok(!record.trace.some((l) => l.endsWith('timer TimerGioco 220 on')));
    await page.keyboard.up('a');
    await traced(record, 'timer TimerGioco 220 on');
    // No latch: Space swings while Up is still held.
    await page.keyboard.down('ArrowUp');
    await traced(record, 'hide Puls_Up');
    await page.keyboard.down(' ');
    await traced(record, 'hide Puls_Hit');
    await page.keyboard.up(' ');
    await page.keyboard.up('ArrowUp');
    await traced(record, 'show Puls_Up');

    const face = () => page.evaluate(() => document.getElementById('handheld').toDataURL());
    const pausedFor = async (ms) => {
      const lines = record.trace.length;
      const before = await face();
      await context.clock.runFor(ms);
      assert.deepStrictEqual(record.trace.slice(lines), [], 'the game went on while paused');
      assert.strictEqual(await face(), before);
    };
    await page.keyboard.down('p');
    await traced(record, 'pause');
    assert.strictEqual(await page.title(), TITLE + ' (paused)');
    // A held key's repeat does nothing.
    await page.keyboard.down('p');
    await page.keyboard.press('ArrowDown');
    await pausedFor(5000);
    await page.keyboard.up('p');
    await page.keyboard.press('p');
    await traced(record, 'resume');
    assert.strictEqual(await page.title(), TITLE);
    await context.clock.runFor(1000);
    assert.ok(record.trace.slice(-5).some((l) => l.endsWith('tick TimerGioco')));

    // The page losing the keyboard pauses; a click on the handheld resumes.
    await page.evaluate(() => window.dispatchEvent(new Event('blur')));
    await tracedTimes(record, 'pause', 2);
    assert.strictEqual(await page.title(), TITLE + ' (paused)');
    await pausedFor(2000);
    await click(page, FACE);
    await tracedTimes(record, 'resume', 2);
    assert.strictEqual(await page.title(), TITLE);
    // M mutes, and the panel shows it.
    await page.keyboard.press('m');
    assert.strictEqual(await page.evaluate((key) => localStorage.getItem(key), stored('muted')), '1');
    assert.strictEqual((await panelValues(page)).muted, true);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('the volume and the mute reach Web Audio\'s output', async () => {
  await withContext(LARGE, async (context) => {
    // For each sound Web Audio starts: its length, and the gain it passes on its way out.
    await context.addInitScript(() => {
      window.soundsStarted = [];
      const connect = AudioNode.prototype.connect;
      AudioNode.prototype.connect = function (target, ...rest) {
        this.connectedTo = target;
        return connect.call(this, target, ...rest);
      };
      const start = AudioBufferSourceNode.prototype.start;
      AudioBufferSourceNode.prototype.start = function (...args) {
        const output = this.connectedTo;
        const out = output.connectedTo === this.context.destination ? output.gain.value : 'not to the speakers';
        window.soundsStarted.push([Math.round(this.buffer.duration * 1000), out]);
        return start.apply(this, args);
      };
    });
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await openSettings(page);
    await page.locator('#settings-volume').fill('50');
    await page.click('#settings-close');
    await context.clock.install();
    await click(page, GAME_A);
    await context.clock.runFor(10000);
    await traced(record, 'sound MPlayerBall play');
    const sounds = () => page.evaluate(() => window.soundsStarted);
    const atHalf = await sounds();
    assert.ok(atHalf.length > 0 && atHalf.every(([, gain]) => gain === 0.25), JSON.stringify(atHalf));
    await openSettings(page);
    await page.locator('#settings input[name="muted"]').check();
    // The game's time still flows: sounds may come until the mute.
    const beforeMute = (await sounds()).length;
    await page.click('#settings-close');
    await context.clock.runFor(10000);
    const muted = (await sounds()).slice(beforeMute);
    assert.ok(muted.length > 0 && muted.every(([, gain]) => gain === 0), JSON.stringify(muted));
    assert.deepStrictEqual(record.errors, []);
  });
});

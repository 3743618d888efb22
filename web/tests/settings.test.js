// The players' settings on the page, in the system's headless Chromium: the
// panel and localStorage, the modern keys, the pause, and the sound's gain.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { centre, start, openPage, click, play, traced, refuseStorage } = require('./browser.js');

const FACE = [300, 200];
const TITLE = 'Wuffel Tennis (Vantoro) Simulator';
const LARGE = { viewport: { width: 1400, height: 900 } };
const DEFAULTS = { keys: 'original', 'pause-on-focus-loss': false, speed: '100', assist: false, volume: '100', muted: false,
  'sound-cues': false };

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

async function openSettings(page) {
  await click(page, FACE, 'right');
  await page.locator('#menu').getByText('Settings...').click();
  assert.ok(await page.locator('#settings').isVisible());
}

// The panel's controls as they read, by setting name.
function panelValues(page) {
  return page.evaluate(() => Object.fromEntries([...document.querySelectorAll('#settings-form [name]')]
    .filter((c) => c.type !== 'radio' || c.checked)
    .map((c) => [c.name, c.type === 'checkbox' ? c.checked : c.value])));
}

// What localStorage holds of the settings, by setting name.
function stored(page) {
  return page.evaluate(() => Object.fromEntries(Object.entries(localStorage)
    .filter(([key]) => key.startsWith('WuffelTennis/Settings/')).map(([key, v]) => [key.split('/')[2], v])));
}

async function openWithStored(context, values) {
  const { page } = await openPage(context, env.origin);
  await page.evaluate((v) => {
    for (const [name, text] of Object.entries(v)) localStorage.setItem('WuffelTennis/Settings/' + name, text);
  }, values);
  return openPage(context, env.origin);
}

const width = async (page) => (await page.locator('#handheld').boundingBox()).width;

test('the panel from the menu: each change applied and stored at once, kept over a reload, restored', async () => {
  await env.withContext(LARGE, async (context) => {
    let { page, record } = await openPage(context, env.origin);
    await play(page);
    // F5 stays the browser's: the page neither takes it nor names it in the menu.
    await page.evaluate(() => window.addEventListener('keydown', (e) => { window.f5Taken = e.defaultPrevented; }));
    await page.keyboard.press('F5');
    assert.strictEqual(await page.evaluate(() => window.f5Taken), false);
    await click(page, FACE, 'right');
    assert.strictEqual(await page.locator('#menu button', { hasText: 'Settings...' }).innerText(), 'Settings...');
    await page.keyboard.press('Escape');
    await openSettings(page);
    // What a page can offer: nothing of a window's place or size, as the
    // handheld fills the window whatever its size.
    assert.deepStrictEqual(await panelValues(page), DEFAULTS);
    // The keyboard works the panel, and its keys stay out of the game.
    await page.locator('#settings input[value="original"]').focus();
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Tab');
    await page.keyboard.press('Space');
    assert.deepStrictEqual(await stored(page), { keys: 'modern', 'pause-on-focus-loss': '1' });
    await page.locator('#settings-volume').fill('40');
    assert.strictEqual(await page.locator('#settings-volume-text').textContent(), '40 %');
    await page.keyboard.press('Escape');
    assert.ok(await page.locator('#settings').isHidden());
    assert.ok(!record.trace.some((l) => / (hide Puls_Down|hide Puls_Hit|exit)$/.test(l)), 'a key reached the game');

    ({ page, record } = await openPage(context, env.origin));
    await play(page);
    await openSettings(page);
    assert.deepStrictEqual(await panelValues(page), { ...DEFAULTS, keys: 'modern', 'pause-on-focus-loss': true,
      volume: '40' });
    await page.click('#settings-restore');
    assert.deepStrictEqual(await panelValues(page), DEFAULTS);
    const restored = await stored(page);
    assert.deepStrictEqual([restored.keys, restored['pause-on-focus-loss'], restored.volume],
      ['original', '0', '100']);
    // As large as the window holds, as before there were settings.
    assert.ok(Math.abs(await width(page) - Math.min(1400, 900 * 654 / 394)) < 1);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('storage that refuses says so once in the panel and keeps the settings for the visit', async () => {
  await env.withContext(LARGE, async (context) => {
    await refuseStorage(context);
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await openSettings(page);
    assert.ok(await page.locator('#settings-not-saved').isHidden());
    await page.locator('#settings input[name="muted"]').check();
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
    assert.deepStrictEqual(await panelValues(page), { ...DEFAULTS, muted: true });
    assert.strictEqual(await notes.count(), 1);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('modern keys and the pause: the title, a still face, and P, a click or the lost focus', async () => {
  await env.withContext(LARGE, async (context) => {
    // Values the page cannot read are their defaults.
    const { page, record } = await openWithStored(context,
      { keys: 'modern', 'pause-on-focus-loss': '1', volume: 'loud', muted: '2' });
    await play(page);
    await context.clock.install();
    // A: held, GAME A is pressed; let go, the game starts.
    await page.keyboard.down('a');
    await traced(record, 'hide Puls_GameA');
    assert.ok(!record.trace.some((l) => l.endsWith('timer TimerGioco 220 on')));
    await page.keyboard.up('a');
    await traced(record, 'timer TimerGioco 220 on');
    await page.keyboard.press(' ');
    await traced(record, 'hide Puls_Hit');

    const face = () => page.evaluate(() => document.getElementById('handheld').toDataURL());
    // The paused look's picture comes at the first pause; the face is
    // compared once it is drawn and stays the same.
    const steadyFace = async () => {
      for (let last = await face(); ;) {
        await page.waitForTimeout(100);
        const now = await face();
        if (now === last) return now;
        last = now;
      }
    };
    const pausedLook = page.waitForResponse((response) => response.url().includes('face-paused'));
    const pausedFor = async (ms) => {
      await pausedLook;
      const [lines, before] = [record.trace.length, await steadyFace()];
      await context.clock.runFor(ms);
      assert.deepStrictEqual(record.trace.slice(lines), [], 'the game went on while paused');
      assert.strictEqual(await face(), before);
    };
    await page.keyboard.down('p');
    await traced(record, 'pause');
    assert.strictEqual(await page.title(), TITLE + ' (paused)');
    // A held key's repeat does nothing; nor do game keys.
    await page.keyboard.down('p');
    await page.keyboard.press('ArrowDown');
    await pausedFor(5000);
    await page.keyboard.up('p');
    await page.keyboard.press('p');
    await traced(record, 'resume');
    assert.strictEqual(await page.title(), TITLE);

    // The page losing the keyboard pauses; a click on the handheld resumes.
    await page.evaluate(() => window.dispatchEvent(new Event('blur')));
    await traced(record, 'pause', 5000, 2);
    assert.strictEqual(await page.title(), TITLE + ' (paused)');
    await pausedFor(2000);
    await click(page, FACE);
    await traced(record, 'resume', 5000, 2);
    assert.strictEqual(await page.title(), TITLE);
    // M mutes, and the panel shows it.
    await page.keyboard.press('m');
    assert.strictEqual((await stored(page)).muted, '1');
    assert.deepStrictEqual(await panelValues(page), { ...DEFAULTS, keys: 'modern', 'pause-on-focus-loss': true,
      muted: true });
    assert.deepStrictEqual(record.errors, []);
  });
});

test('a stored text that holds a zero character reads as on the desktop', async () => {
  await env.withContext(LARGE, async (context) => {
    let { page } = await openPage(context, env.origin);
    await page.evaluate(() => {
      localStorage.setItem('WuffelTennis/HiScoreA', '12\0 34');
      localStorage.setItem('WuffelTennis/HiScoreB', '\0 7');
      localStorage.setItem('WuffelTennis/Settings/volume', '40\0');
    });
    let record;
    ({ page, record } = await openPage(context, env.origin));
    // A best score is its text up to the zero; a setting is its whole text, or its default.
    await traced(record, 'store read HiscoreA 12');
    await traced(record, 'store read HiscoreB 0');
    await play(page);
    await openSettings(page);
    assert.deepStrictEqual(await panelValues(page), DEFAULTS);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('the volume and the mute reach Web Audio\'s output', async () => {
  await env.withContext(LARGE, async (context) => {
    // Each sound Web Audio starts, with the gain it passes on its way to the speakers.
    await context.addInitScript(() => {
      window.gains = [];
      const connect = AudioNode.prototype.connect;
      AudioNode.prototype.connect = function (target, ...rest) {
        this.connectedTo = target;
        return connect.call(this, target, ...rest);
      };
      const start = AudioBufferSourceNode.prototype.start;
      AudioBufferSourceNode.prototype.start = function (...args) {
        const out = this.connectedTo;
        window.gains.push(out.connectedTo === this.context.destination ? out.gain.value : 'elsewhere');
        return start.apply(this, args);
      };
    });
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await openSettings(page);
    await page.locator('#settings-volume').fill('50');
    await page.click('#settings-close');
    await context.clock.install();
    await click(page, centre('Puls_GameA'));
    await context.clock.runFor(10000);
    await traced(record, 'sound MPlayerBall play');
    const gains = () => page.evaluate(() => window.gains);
    const atHalf = await gains();
    assert.ok(atHalf.length > 0 && atHalf.every((gain) => gain === 0.25), atHalf.join(' '));
    await openSettings(page);
    await page.locator('#settings input[name="muted"]').check();
    // The game's time still flows: sounds may come until the mute.
    const beforeMute = (await gains()).length;
    await page.click('#settings-close');
    // The settings held the game; it goes on once the panel has closed.
    await traced(record, 'resume');
    await context.clock.runFor(10000);
    const muted = (await gains()).slice(beforeMute);
    assert.ok(muted.length > 0 && muted.every((gain) => gain === 0), muted.join(' '));
    assert.deepStrictEqual(record.errors, []);
  });
});

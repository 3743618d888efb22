// The browser edition in the system's headless Chromium: the page as a
// player meets it, with the mouse, keys and touch, the best scores in
// localStorage, the menu, refused storage, and the site offline.
'use strict';

const assert = require('node:assert');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const { root, face, centre, start, openPage, onFace, click, play, traced, refuseStorage } = require('./browser.js');

const GAME_A = centre('Puls_GameA');
const FACE = [300, 200];  // on the screen, where Im_BaseTop takes the mouse
// A window just the handheld's size: one page pixel to a face pixel.
const DESKTOP = { viewport: { width: face.face[0], height: face.face[1] } };

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

// Holds the canvas against the desktop's PNG of the same state, read by
// the same browser: the largest difference of a colour channel where the
// handheld is, and how many pixels differ in their alpha.
async function compareWithPng(page, file) {
  return page.evaluate(async (base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
      { premultiplyAlpha: 'none', colorSpaceConversion: 'none' });
    const reference = new OffscreenCanvas(image.width, image.height).getContext('2d');
    reference.drawImage(image, 0, 0);
    const want = reference.getImageData(0, 0, image.width, image.height).data;
    const canvas = document.getElementById('handheld');
    const got = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const result = { size: [canvas.width, canvas.height], wanted: [image.width, image.height], worst: 0, alpha: 0 };
    if (got.length !== want.length) return result;
    for (let i = 0; i < got.length; i += 4) {
      if (got[i + 3] !== want[i + 3]) ++result.alpha;
      else if (want[i + 3] !== 0)
        for (let k = 0; k < 3; ++k) result.worst = Math.max(result.worst, Math.abs(got[i + k] - want[i + k]));
    }
    return result;
  }, fs.readFileSync(file).toString('base64'));
}

// Both decode the photograph with libjpeg, and the crystal comes from the
// window program's own pixels; translucent edges may round one way or the
// other once or twice.
const MOST_CHANNEL_DIFFERENCE = 2;

test('the page loads without a console error and PLAY shows the lit face as the desktop draws it', async () => {
  for (const scale of [1, 2]) {
    await env.withContext({ ...DESKTOP, deviceScaleFactor: scale }, async (context) => {
      const { page, record } = await openPage(context, env.origin);
      assert.ok(await page.locator('#Puls_Play').isVisible());
      assert.strictEqual(await page.locator('#Puls_Play').textContent(), '- PLAY -');
      assert.ok(await page.locator('#handheld-view').isHidden());
      await play(page);
      assert.ok(await page.locator('#splash').isHidden());
      const match = await compareWithPng(page, path.join(root, `build-web/reference/face-lit@${scale}x.png`));
      assert.deepStrictEqual(match.size, match.wanted);
      assert.strictEqual(match.alpha, 0, `pixels whose alpha differs at ${scale}x`);
      assert.ok(match.worst <= MOST_CHANNEL_DIFFERENCE, `a pixel differs by ${match.worst} at ${scale}x`);
      assert.deepStrictEqual(record.errors, []);
      assert.deepStrictEqual(record.foreignRequests, []);
    });
  }
});

test('the page fetches only the pictures of the scale it draws at, and uses all it preloads', async () => {
  const windows = [
    [DESKTOP, '@1x'],
    [{ viewport: { width: 1280, height: 800 } }, '@2x'],
    [{ viewport: { width: 412, height: 915 }, deviceScaleFactor: 2.625 }, '@2x'],
    [{ ...DESKTOP, deviceScaleFactor: 3 }, '@3x'],
  ];
  for (const [options, set] of windows) {
    await env.withContext(options, async (context) => {
      const { page, record } = await openPage(context, env.origin);
      await play(page);
      const pictures = await page.evaluate(() => performance.getEntriesByType('resource')
        .map((entry) => new URL(entry.name).pathname).filter((name) => /^\/pictures\/.*\.(jpg|png)$/.test(name)));
      const photograph = set === '@1x' ? 'Im_Base.jpg' : `Im_Base${set}.jpg`;
      assert.deepStrictEqual(pictures.sort(), [photograph, 'case-mask.png', `face-atlas${set}.png`].map((f) => '/pictures/' + f).sort());
      if (options.viewport.width === 1280) {
        // Chromium names a preload that nothing used a few seconds after the load.
        await page.waitForLoadState('load');
        await page.waitForTimeout(3500);
        assert.deepStrictEqual(record.warnings, []);
      }
    });
  }
});

test('the trace of start-up is the scenario runner\'s', async () => {
  await env.withContext(DESKTOP, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await traced(record, 'window SplashForm front');
    const [w, h] = await page.evaluate(() => [screen.width, screen.height]);
    const runner = spawnSync(path.join(root, 'build/wuffel-scenario'), [],
      { cwd: root, input: `screen ${w} ${h}\nstart\nsplash Puls_Play\n` });
    await play(page);
    await traced(record, 'window SplashForm hide');
    const events = (lines) => lines.map((l) => l.replace(/^\d+ /, ''));
    assert.deepStrictEqual(events(record.trace), events(runner.stdout.toString().trim().split('\n')));
  });
});

test('a game played with the keys and the mouse, with its sounds', async () => {
  await env.withContext(DESKTOP, async (context) => {
    // Which sounds Web Audio was asked to play, by their length.
    await context.addInitScript(() => {
      window.soundsStarted = [];
      const start = AudioBufferSourceNode.prototype.start;
      AudioBufferSourceNode.prototype.start = function (...args) {
        window.soundsStarted.push(Math.round(this.buffer.duration * 1000));
        return start.apply(this, args);
      };
    });
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    // From here on the test says when time passes.
    await context.clock.install();
    await click(page, GAME_A);
    await traced(record, 'timer TimerGioco 220 on');
    // Each press acts once: the player goes up one lane and comes back down.
    await page.keyboard.down('ArrowUp');
    await traced(record, 'hide Puls_Up');
    await traced(record, 'show Im_Wuffel1');
    await page.keyboard.up('ArrowUp');
    await traced(record, 'show Puls_Up');
    await page.keyboard.press('ArrowDown');
    await traced(record, 'show Im_Wuffel2');
    await page.keyboard.down('Control');
    await traced(record, 'hide Puls_Hit');
    await page.keyboard.up('Control');
    await traced(record, 'show Puls_Hit');
    // Nobody returns the balls: three misses end the game.
    await context.clock.runFor(60000);
    await traced(record, 'sound MPlayerOver play');
    // The ball's sound (40 ms) and the game-over tune (2.5 s) reached Web Audio.
    const started = await page.evaluate(() => window.soundsStarted);
    assert.ok(started.some((ms) => Math.abs(ms - 40) <= 1) && started.some((ms) => Math.abs(ms - 2499) <= 1),
      started.join(' '));
    const ticks = record.trace.filter((l) => l.endsWith('tick TimerGioco')).map((l) => Number(l.split(' ')[0]));
    assert.ok(ticks.length > 100);
    // The page wakes when a tick is due, as the runner's virtual clock does.
    assert.ok(ticks.slice(1, 40).every((t, i) => t - ticks[i] === 220), ticks.slice(0, 40).join(' '));
    assert.deepStrictEqual(record.errors, []);
  });
});

test('a beaten best score is written at game over and read again after a reload', async () => {
  await env.withContext(DESKTOP, async (context) => {
    let { page, record } = await openPage(context, env.origin);
    await page.evaluate(() => localStorage.setItem('WuffelTennis/HISCOREA', '-1'));
    ({ page, record } = await openPage(context, env.origin));
    await play(page);
    await context.clock.install();
    await click(page, GAME_A);
    await context.clock.runFor(60000);
    await traced(record, 'store write HiScoreA 0');
    // Written under the casing it had, with the store's integer syntax; the
    // game's recordings are kept beside it.
    const stored = await page.evaluate(() => ({ ...localStorage }));
    assert.deepStrictEqual(Object.keys(stored).filter((k) => k.startsWith('WuffelTennis/Games/')).sort(),
      ['WuffelTennis/Games/best-A', 'WuffelTennis/Games/last']);
    assert.deepStrictEqual(Object.fromEntries(Object.entries(stored).filter(([k]) => !k.startsWith('WuffelTennis/Games/'))),
      { 'WuffelTennis/HISCOREA': '0' });
    ({ page, record } = await openPage(context, env.origin));
    await traced(record, 'store read HiscoreA 0');
    await traced(record, 'store read HiscoreB 0');
  });
});

test('the command menu: about, documents, reset with a beep, and exit back to the splash', async () => {
  await env.withContext(DESKTOP, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await page.evaluate(() => localStorage.setItem('WuffelTennis/HiScoreB', '77'));
    await play(page);
    await click(page, FACE, 'right');
    await traced(record, 'popup 300 200');
    const menu = page.locator('#menu');
    assert.ok(await menu.isVisible());
    assert.deepStrictEqual(await menu.locator('button').allInnerTexts(), [
      "About...\tF1", "View 'Readme.txt'\tF2", "View 'Whatsnew.txt'\tF3", "Open 'Manual.exe'\tF4",
      'Reset Hiscores', 'Settings...', 'Pause', 'Watch the best Game A\tF6', 'Watch the best Game B\tF7',
      'Watch the last game\tF8', 'Watch a recording...\tF9', 'Save this game...\tCtrl+S',
      'Exit\tEsc'].map((t) => t.replace('\t', '\n')));
    assert.ok(await menu.getByText('Pause').isDisabled(), 'no game to pause');
    assert.ok(await menu.getByText('Watch the last game').isDisabled(), 'no game kept to watch');
    assert.ok(await menu.getByText('Watch a recording...').isEnabled());
    assert.strictEqual(await menu.locator('hr').count(), 5);
    await menu.getByText('About...').click();
    assert.ok(await page.locator('#about').isVisible());
    await page.click('#about-close');
    assert.ok(await page.locator('#about').isHidden());
    // The documents open in a tab of their own; the manual opens nothing.
    const [readme] = await Promise.all([context.waitForEvent('page'), page.keyboard.press('F2')]);
    await readme.waitForLoadState();
    assert.match(readme.url(), /\/readme\.txt$/);
    await readme.close();
    await page.keyboard.press('F4');
    await traced(record, 'open .\\Manual.EXE');
    assert.strictEqual(context.pages().length, 1);
    await click(page, FACE, 'right');
    await menu.getByText('Reset Hiscores').click();
    await traced(record, 'beep');
    assert.strictEqual(await page.evaluate(() => localStorage.getItem('WuffelTennis/HiScoreB')), '0');
    // Esc in the open menu closes the menu only.
    await click(page, FACE, 'right');
    await page.keyboard.press('Escape');
    assert.ok(await menu.isHidden());
    assert.ok(await page.locator('#handheld-view').isVisible());
    await click(page, FACE, 'right');
    await menu.getByText('Exit').click();
    await traced(record, 'exit');
    assert.ok(await page.locator('#splash').isVisible());
    assert.ok(await page.locator('#handheld-view').isHidden());
    await page.click('#Puls_Play');
    assert.ok(await page.locator('#handheld-view').isVisible());
    assert.deepStrictEqual(record.errors, []);
  });
});

test('touch on a phone held sideways: the whole handheld, its buttons, and a long press for the menu', async () => {
  await env.withContext({ viewport: { width: 740, height: 360 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
    async (context) => {
      const { page, record } = await openPage(context, env.origin);
      await page.tap('#Puls_Play');
      await page.waitForFunction(() => performance.getEntriesByName('wuffel-first-face').length > 0);
      const box = await page.locator('#handheld').boundingBox();
      assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= 740.5 && box.y + box.height <= 360.5);
      assert.ok(Math.abs(box.width / box.height - face.face[0] / face.face[1]) < 0.01);
      assert.ok(Math.abs(box.height - 360) < 1 || Math.abs(box.width - 740) < 1, 'fills the screen');
      await page.touchscreen.tap(...await onFace(page, ...GAME_A));
      await traced(record, 'timer TimerGioco 220 on');
      // HIT, UP and DOWN answer touches, with their pressed pictures.
      const cdp = await context.newCDPSession(page);
      const touch = async (type, [x, y]) => cdp.send('Input.dispatchTouchEvent',
        { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y, id: 1 }] });
      const up = await onFace(page, ...centre('Puls_Up'));
      await touch('touchStart', up);
      await traced(record, 'hide Puls_Up');
      await traced(record, 'show Im_Wuffel1');
      await touch('touchEnd', up);
      await traced(record, 'show Puls_Up');
      const hit = await onFace(page, ...centre('Puls_Hit'));
      await touch('touchStart', hit);
      await traced(record, 'hide Puls_Hit');
      await touch('touchEnd', hit);
      await traced(record, 'show Puls_Hit');
      // A long press on the face opens the menu, as a right click does.
      const onScreen = await onFace(page, ...FACE);
      await touch('touchStart', onScreen);
      await traced(record, 'popup 300 200', 3000);
      await touch('touchEnd', onScreen);
      assert.ok(await page.locator('#menu').isVisible());
      assert.deepStrictEqual(record.errors, []);
    });
});

test('storage that refuses writes gives the desktop\'s error box, and the page plays on', async () => {
  await env.withContext(DESKTOP, async (context) => {
    await refuseStorage(context);
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await click(page, FACE, 'right');
    await page.locator('#menu').getByText('Reset Hiscores').click();
    await traced(record, 'error Failed to set data for \'HiScoreA\'');
    assert.ok(await page.locator('#error-box').isVisible());
    assert.strictEqual(await page.locator('#error-caption').textContent(), 'Wuffel Tennis (Vantoro) Simulator');
    assert.strictEqual(await page.locator('#error-message').textContent(), 'Failed to set data for \'HiScoreA\'');
    await page.click('#error-ok');
    assert.ok(await page.locator('#error-box').isHidden());
    await click(page, GAME_A);
    await traced(record, 'timer TimerGioco 220 on');
    assert.deepStrictEqual(record.errors, []);
  });
  // A browser that refuses storage altogether.
  await env.withContext(DESKTOP, async (context) => {
    await context.addInitScript(() => {
      Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('denied', 'SecurityError'); } });
    });
    const { page, record } = await openPage(context, env.origin);
    await traced(record, 'store read HiscoreB 0');
    await play(page);
    await page.keyboard.press('F1');
    assert.ok(await page.locator('#about').isVisible());
    assert.deepStrictEqual(record.errors, []);
  });
});

test('the page installs as an app and, after the first visit, plays offline', async () => {
  await env.withContext(DESKTOP, async (context) => {
    let { page } = await openPage(context, env.origin, '');
    const cdp = await context.newCDPSession(page);
    const manifest = await cdp.send('Page.getAppManifest');
    assert.deepStrictEqual(manifest.errors, []);
    assert.ok(JSON.parse(manifest.data).icons.some((icon) => icon.sizes === '256x256'));
    await page.evaluate(() => navigator.serviceWorker.ready);
    await context.setOffline(true);
    let record;
    ({ page, record } = await openPage(context, env.origin));
    await play(page);
    await traced(record, 'window SplashForm hide');
    assert.deepStrictEqual(record.errors, []);
  });
});

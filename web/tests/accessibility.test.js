// The page for screen readers and the keyboard, in the system's headless
// Chromium: axe-core finds no violation on any of its views at desktop and
// phone sizes; the case's buttons are named controls that the keyboard
// presses; the menu key, the about panel's Esc; the live region's sentences
// during a game left to run; and nothing of the page's own moves for those
// who ask for less motion.
'use strict';

const assert = require('node:assert');
const fs = require('node:fs');
const test = require('node:test');
const { start, openPage, play, traced } = require('./browser.js');

const axeSource = fs.readFileSync(require.resolve('axe-core'), 'utf8');
const DESKTOP = { viewport: { width: 1280, height: 800 } };
const PHONE = { viewport: { width: 740, height: 360 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const UPRIGHT = { ...PHONE, viewport: { width: 390, height: 844 } };

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

// axe-core's findings on the page as it is now, as "rule: target, ..." lines.
async function violations(page) {
  // Evaluated rather than added as a script: the page's policy admits no script of the test's.
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => axe.run(document, { rules: { 'target-size': { enabled: true } } }));
  return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

const liveRegionSaid = (page) => page.evaluate(() => window.said);
async function keepLiveRegion(page) {
  await page.evaluate(() => {
    window.said = [];
    const region = document.querySelector('[role="status"]#announcements');
    new MutationObserver((changes) => {
      for (const change of changes) for (const line of change.addedNodes) window.said.push(line.textContent);
    }).observe(region, { childList: true });
  });
}

for (const [size, options] of [['desktop', DESKTOP], ['phone held sideways', PHONE], ['phone held upright', UPRIGHT]]) {
  test(`no violation on the splash, the face, a game, the menu, the settings and the about panel (${size})`, async () => {
    await env.withContext(options, async (context) => {
      const { page, record } = await openPage(context, env.origin);
      const found = {};
      const check = async (view) => { found[view] = await violations(page); };
      await page.waitForFunction(() => typeof createWuffel === 'function');
      await check('splash');
      await play(page);
      await check('face');
      await page.getByRole('button', { name: 'GAME A', exact: true }).focus();
      await page.keyboard.press('Enter');
      await traced(record, 'timer TimerGioco 220 on');
      await check('game');
      await page.keyboard.press('Shift+F10');
      await page.locator('#menu').waitFor();
      await check('menu');
      await page.locator('#menu button', { hasText: 'Settings...' }).click();
      await page.locator('#settings').waitFor();
      await check('settings');
      await page.keyboard.press('Escape');
      // The panel's close reaches the game a task later, as a dialog's close does.
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 0)));
      await page.keyboard.press('Shift+F10');
      await page.locator('#menu button', { hasText: 'About...' }).click();
      await page.locator('#about').waitFor();
      await check('about');
      assert.deepStrictEqual(Object.fromEntries(Object.entries(found).filter(([, list]) => list.length)), {});
      assert.deepStrictEqual(record.errors, []);
    });
  });
}

test('the case buttons are named controls the keyboard holds, and HIT, UP and DOWN only where they act', async () => {
  await env.withContext(DESKTOP, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    const names = () => page.locator('#face-controls').getByRole('button').evaluateAll(
      (buttons) => buttons.map((b) => b.getAttribute('aria-label')));
    assert.deepStrictEqual(await names(), ['GAME A', 'GAME B', 'TIME', 'ACL']);
    // Held by Enter, GAME A shows the best score; let go, the game starts.
    const gameA = page.getByRole('button', { name: 'GAME A', exact: true });
    await gameA.focus();
    await page.keyboard.down('Enter');
    await traced(record, 'hide Puls_GameA');
    assert.ok(!record.trace.some((l) => l.endsWith('timer TimerGioco 220 on')), 'the game started while held');
    await page.keyboard.up('Enter');
    await traced(record, 'timer TimerGioco 220 on');
    // Each control lies over its button, at least a finger's size.
    const box = await gameA.boundingBox();
    assert.ok(box.width >= 24 && box.height >= 24, JSON.stringify(box));
    // A screen reader's click presses and lets go.
    await page.getByRole('button', { name: 'ACL' }).dispatchEvent('click');
    await traced(record, 'timer TimerGioco 220 off');

    await page.keyboard.press('Shift+F10');
    const settings = page.locator('#menu button', { hasText: 'Settings...' });
    await settings.click();
    await page.locator('#settings input[value="modern"]').check();
    await page.keyboard.press('Escape');
    assert.deepStrictEqual(await names(), ['GAME A', 'GAME B', 'TIME', 'ACL', 'HIT', 'UP', 'DOWN']);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('the menu key opens the menu, Esc closes it and the about panel, and focus always shows', async () => {
  await env.withContext(DESKTOP, async (context) => {
    const { page } = await openPage(context, env.origin);
    await play(page);
    await page.keyboard.press('ContextMenu');
    await page.locator('#menu').waitFor();
    assert.strictEqual(await page.evaluate(() => document.activeElement.getAttribute('role')), 'menuitem');
    await page.keyboard.press('Escape');
    assert.ok(await page.locator('#menu').isHidden());
    await page.keyboard.press('F1');
    await page.locator('#about').waitFor();
    assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'about-close');
    await page.keyboard.press('Escape');
    await page.locator('#about').waitFor({ state: 'hidden' });
    // Every stop of Tab shows where it is.
    for (let i = 0; i < 6; ++i) {
      await page.keyboard.press('Tab');
      const shown = await page.evaluate(() => {
        const e = document.activeElement;
        const style = getComputedStyle(e);
        // Chromium's own ring ("auto") is two pixels wide whatever the width says.
        const ring = style.outlineStyle === 'auto' || (style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2);
        return e === document.body || ring || style.backgroundColor === 'rgb(10, 36, 106)';
      });
      assert.ok(shown, `no focus shown on ${await page.evaluate(() => document.activeElement.outerHTML)}`);
    }
  });
});

test('the live region tells a game left to run and the clock when TIME is let go', async () => {
  await env.withContext(DESKTOP, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await keepLiveRegion(page);
    await context.clock.install();
    const gameA = page.getByRole('button', { name: 'GAME A', exact: true });
    await gameA.focus();
    await page.keyboard.press('Enter');
    await traced(record, 'timer TimerGioco 220 on');
    // Untouched, every ball gets past the player.
    for (let ms = 0; ms < 120000 && !record.trace.some((l) => l.endsWith('timer TimerZZZ 1 on')); ms += 1000)
      await context.clock.runFor(1000);
    assert.deepStrictEqual(await liveRegionSaid(page),
      ['Miss, 2 lives left', 'Miss, 1 life left', 'Miss, no lives left', 'Game over, score 0']);
    await page.getByRole('button', { name: 'TIME' }).focus();
    await page.keyboard.press('Enter');
    await context.clock.runFor(2000);
    const said = await liveRegionSaid(page);
    assert.strictEqual(said.length, 5);
    assert.match(said[4], /^The time is (1[0-2]|[1-9]):[0-5]\d [AP]M$/);
    assert.strictEqual(await page.locator('#announcements').getAttribute('role'), 'status');
  });
});

test('for less motion nothing of the page moves: no transition or animation of its own', async () => {
  await env.withContext({ ...DESKTOP, reducedMotion: 'reduce' }, async (context) => {
    const { page } = await openPage(context, env.origin);
    await play(page);
    await page.keyboard.press('Shift+F10');
    await page.locator('#menu').waitFor();
    const moving = await page.evaluate(() => [...document.querySelectorAll('*')].filter((e) => {
      const style = getComputedStyle(e);
      return style.transitionDuration.split(',').some((d) => parseFloat(d) > 0) ||
        style.animationName !== 'none' && style.animationDuration.split(',').some((d) => parseFloat(d) > 0);
    }).map((e) => e.id || e.tagName));
    assert.deepStrictEqual(moving, []);
  });
});

// A game paused from the page, in the system's headless Chromium: the
// settings panel holds a running game, the menu's Pause and the page's pause
// control work with the original keys, and a paused face shows it.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { centre, start, openPage, click, play, traced, face, pixel } = require('./browser.js');

const LARGE = { viewport: { width: 1400, height: 900 } };
const TITLE = 'Wuffel Tennis (Vantoro) Simulator';
const PRINTED = [329, 355];  // the case below the screen's frame
// A place on the glass where no figure appears.
const GLASS = [face.places.Im_BaseTop[0] + 10, face.places.Im_BaseTop[1] + 150];

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

const gray = ([r, g, b]) => (r + g + b) / 3;

// Whether the case below the frame carries cream printing.
function printedBelowFrame(page) {
  return page.evaluate(([fx, fy]) => {
    const canvas = document.getElementById('handheld');
    const k = canvas.width / 654;
    const data = canvas.getContext('2d').getImageData(Math.round((fx - 30) * k), Math.round((fy - 8) * k),
      Math.round(60 * k), Math.round(10 * k)).data;
    let cream = 0;
    for (let i = 0; i < data.length; i += 4) cream += data[i] > 200 && data[i + 1] > 190;
    return cream;
  }, PRINTED);
}

async function startGameA(page, record) {
  await click(page, centre('Puls_GameA'));
  await traced(record, 'timer TimerGioco 220 on');
}

async function chooseFromMenu(page, caption) {
  await click(page, [300, 30], 'right');
  await page.locator('#menu button', { hasText: caption }).click();
}

test('the settings panel holds a running game until it is closed, and the paused face shows it', async () => {
  await env.withContext(LARGE, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    await startGameA(page, record);
    const running = await pixel(page, GLASS);
    assert.strictEqual(await printedBelowFrame(page), 0);
    await chooseFromMenu(page, 'Settings...');
    await traced(record, 'pause');
    assert.strictEqual(await page.title(), TITLE + ' (paused)');
    // The paused look's picture comes when first needed.
    for (let tries = 0; tries < 50 && gray(await pixel(page, GLASS)) >= gray(running) * 0.75; ++tries)
      await page.waitForTimeout(20);
    assert.ok(gray(await pixel(page, GLASS)) < gray(running) * 0.75, 'the glass is dimmed');
    assert.ok(await printedBelowFrame(page) > 20, 'PAUSED is printed on the case');
    // Esc closes the panel as Close does: the game goes on, the face as it was.
    await page.keyboard.press('Escape');
    await traced(record, 'resume');
    assert.strictEqual(await page.title(), TITLE);
    await page.waitForTimeout(50);
    assert.deepStrictEqual(await pixel(page, GLASS), running);
    assert.strictEqual(await printedBelowFrame(page), 0);
    // Without a game the panel holds nothing.
    await chooseFromMenu(page, 'Exit');
    await traced(record, 'exit');
    await play(page);
    await chooseFromMenu(page, 'Settings...');
    await page.click('#settings-close');
    assert.strictEqual(record.trace.filter((l) => l.endsWith(' pause')).length, 1);
    assert.deepStrictEqual(record.errors, []);
  });
});

test('with the original keys, the menu\'s Pause and the page\'s pause control pause and resume', async () => {
  await env.withContext({ ...LARGE, hasTouch: true }, async (context) => {
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    const control = page.locator('#pause-control');
    // Shown once the page is touched.
    await page.touchscreen.tap(...(await page.locator('#handheld').boundingBox().then((b) => [b.x + 20, b.y + 200])));
    assert.ok(await control.isVisible());
    // Between games there is nothing to pause.
    await click(page, [300, 30], 'right');
    assert.ok(await page.locator('#menu button', { hasText: 'Pause' }).isDisabled());
    await page.keyboard.press('Escape');
    await startGameA(page, record);
    await chooseFromMenu(page, 'Pause');
    await traced(record, 'pause');
    await click(page, [300, 30], 'right');
    const resume = page.locator('#menu button', { hasText: 'Resume' });
    assert.ok(await resume.isEnabled());
    assert.strictEqual(await resume.innerText(), 'Resume', 'P is no key with the original keys');
    await resume.click();
    await traced(record, 'resume');

    await control.tap();
    await traced(record, 'pause', 5000, 2);
    assert.strictEqual(await control.getAttribute('aria-label'), 'Resume');
    await control.tap();
    await traced(record, 'resume', 5000, 2);
    assert.strictEqual(await control.getAttribute('aria-label'), 'Pause');
    assert.deepStrictEqual(record.errors, []);
  });
});

// Gamepads on the page, through a stand-in for the browser's Gamepad API:
// Start plays GAME A, the d-pad and the stick move, a face button swings, a
// pad unplugged lets go of what it held, a pad of no standard layout does
// nothing, and the page reads the pads only while one is plugged in and the
// page can be seen.
'use strict';

const assert = require('node:assert');
const test = require('node:test');
const { start, openPage, play, face } = require('./browser.js');

const DESKTOP = { viewport: { width: face.face[0], height: face.face[1] } };

let env;
test.before(async () => { env = await start(); });
test.after(async () => { await env.close(); });

// navigator.getGamepads() answers with the pads the test plugged in, and
// counts how often the page asked.
function standInPads() {
  const released = () => ({ pressed: false, touched: false, value: 0 });
  const pad = { index: 0, id: 'stand-in pad', connected: true, mapping: 'standard', timestamp: 0,
    buttons: Array.from({ length: 17 }, released), axes: [0, 0, 0, 0] };
  let plugged = [];
  window.padReads = 0;
  Object.defineProperty(Navigator.prototype, 'getGamepads', { value: () => { ++window.padReads; return plugged; } });
  window.pad = {
    press(number, down) { pad.buttons[number] = { pressed: down, touched: down, value: down ? 1 : 0 }; },
    stick(upright) { pad.axes[1] = upright; },
    layout(mapping) { pad.mapping = mapping; },
    plug(inserted) {
      plugged = inserted ? [pad] : [];
      pad.connected = inserted;
      window.dispatchEvent(new Event(inserted ? 'gamepadconnected' : 'gamepaddisconnected'));
    },
  };
  // The page's visibility, as the test sets it.
  window.pageHidden = false;
  Object.defineProperty(Document.prototype, 'hidden', { get: () => window.pageHidden });
}

// Does `action`, then waits for a trace line ending with `event` among those it brought.
async function tracedAfter(record, event, action) {
  const from = record.trace.length;
  await action();
  const end = Date.now() + 5000;
  while (!record.trace.slice(from).some((l) => l.endsWith(' ' + event))) {
    if (Date.now() > end) throw new Error(`no new trace line "${event}"; last: ${record.trace.slice(-5).join(' | ')}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

const reads = (page) => page.evaluate(() => window.padReads);
const settle = (page) => page.waitForTimeout(300);

test('a pad plays a game, lets go when unplugged, and is read only while plugged in and seen', async () => {
  await env.withContext(DESKTOP, async (context) => {
    await context.addInitScript(standInPads);
    const { page, record } = await openPage(context, env.origin);
    await play(page);
    const pad = (method, ...args) => page.evaluate(([m, a]) => window.pad[m](...a), [method, args]);
    await settle(page);
    const beforeAnyPad = await reads(page);
    await settle(page);
    assert.strictEqual(await reads(page), beforeAnyPad, 'no pad: nothing reads the pads');

    // A pad the browser knows no standard layout for: its buttons could be anything.
    await pad('layout', '');
    await pad('plug', true);
    await pad('press', 9, true);
    await settle(page);
    const unknownPad = await reads(page);
    await settle(page);
    assert.strictEqual(await reads(page), unknownPad, 'an unknown pad is not read');
    assert.ok(!record.trace.some((l) => l.endsWith(' hide Puls_GameA')), 'an unknown pad plays nothing');
    await pad('press', 9, false);
    await pad('plug', false);

    await pad('layout', 'standard');
    await pad('plug', true);
    await tracedAfter(record, 'hide Puls_GameA', () => pad('press', 9, true));  // Start
    await tracedAfter(record, 'timer TimerGioco 220 on', () => pad('press', 9, false));
    await tracedAfter(record, 'show Im_Wuffel1', () => pad('stick', -0.7));
    await tracedAfter(record, 'show Puls_Up', () => pad('stick', 0));
    await tracedAfter(record, 'show Im_Wuffel2', () => pad('press', 13, true));  // the d-pad down
    await pad('press', 13, false);
    await tracedAfter(record, 'hide Puls_Hit', () => pad('press', 1, true));  // a face button swings
    await tracedAfter(record, 'show Puls_Hit', () => pad('plug', false));
    await settle(page);
    const unplugged = await reads(page);
    await settle(page);
    assert.strictEqual(await reads(page), unplugged, 'unplugged: the reading stops');

    await page.evaluate(() => {
      window.pageHidden = true;
      document.dispatchEvent(new Event('visibilitychange'));
    });
    await pad('plug', true);
    await settle(page);
    const hidden = await reads(page);
    await settle(page);
    assert.strictEqual(await reads(page), hidden, 'hidden: the reading waits');
    await page.evaluate(() => {
      window.pageHidden = false;
      document.dispatchEvent(new Event('visibilitychange'));
    });
    await settle(page);
    assert.ok(await reads(page) > hidden + 5, 'seen again with a pad: the reading goes on');
    assert.deepStrictEqual(record.errors, []);
  });
});

// Gamepads through the Gamepad API, hot-plugged: while a pad in the
// standard layout is connected and the page can be seen, every animation
// frame reads the pads and tells the module of each button that went down
// or up, the left stick's upright axis when it moved, and a pad gone. With
// no pad, or the page hidden, nothing runs. What each part does is the
// module's to say.
import { call } from './game.js';

const STICK_UPRIGHT = 1;  // the left stick's upright axis, in the standard layout

const seen = new Map();  // pad index -> { buttons: [pressed], stick }, as last told
let frame = 0;
let watching = false;

// A page not served securely, or framed without leave, may have no pads to read.
function connectedPads() {
  let pads = [];
  try {
    pads = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
  } catch (refused) {
    // No pads, then.
  }
  return pads.filter((pad) => pad && pad.connected && pad.mapping === 'standard');
}

function schedule() {
  if (frame || document.hidden || (seen.size === 0 && connectedPads().length === 0)) return;
  frame = requestAnimationFrame(() => {
    frame = 0;
    poll();
  });
}

function poll() {
  const present = new Set();
  for (const pad of connectedPads()) {
    present.add(pad.index);
    if (!seen.has(pad.index)) seen.set(pad.index, { buttons: [], stick: 0 });
    const told = seen.get(pad.index);
    pad.buttons.forEach((button, number) => {
      if (button.pressed === Boolean(told.buttons[number])) return;
      told.buttons[number] = button.pressed;
      call('padButton', pad.index, number, button.pressed ? 1 : 0);
    });
    const stick = pad.axes[STICK_UPRIGHT] || 0;
    if (stick !== told.stick) {
      told.stick = stick;
      call('padStick', pad.index, stick);
    }
  }
  for (const index of seen.keys()) {
    if (present.has(index)) continue;
    seen.delete(index);
    call('padUnplugged', index);
  }
  schedule();
}

// A pad plugged in or out is read at once; then, while one is there, every frame.
function readNow() {
  if (!watching) return;
  cancelAnimationFrame(frame);
  frame = 0;
  poll();
}

// From when the module runs.
export function watchGamepads() {
  watching = true;
  readNow();
}

window.addEventListener('gamepadconnected', readNow);
window.addEventListener('gamepaddisconnected', readNow);
document.addEventListener('visibilitychange', () => {
  if (watching) schedule();
});

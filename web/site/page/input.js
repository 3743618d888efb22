// The player's mouse and touches on the handheld, in face pixels, for the
// module to act on; the texts that speak of touches or of keys; and the
// page losing the keyboard or being hidden, which pauses a game for
// players who asked for it. The keys reach the module directly.
import { call, gameRuns } from './game.js';
import { facePoint } from './layout.js';

const canvas = document.getElementById('handheld');

// A phone or tablet hears of touches and long presses rather than keys,
// until a key shows that it has a keyboard too.
const keyLabel = canvas.getAttribute('aria-label');
function speakOfTouch(touch) {
  document.documentElement.classList.toggle('touch', touch);
  canvas.setAttribute('aria-label', touch ? canvas.dataset.touchLabel : keyLabel);
}
speakOfTouch(matchMedia('(hover: none) and (pointer: coarse)').matches);
window.addEventListener('keydown', () => speakOfTouch(false), { capture: true, once: true });

const buttonBit = [1, 4, 2];  // DOM button number -> its bit in MouseEvent.buttons
let heldButtons = 0;  // buttons pressed on the handheld and not yet released

// Until the module runs, the face's size is unknown and nothing is passed on.
canvas.addEventListener('mousedown', (event) => {
  event.preventDefault();
  canvas.focus();
  if (!gameRuns() || event.button > 2) return;
  heldButtons |= buttonBit[event.button];
  call('mouseDown', ...facePoint(event), event.button);
});
// The handheld keeps the mouse while a button is held, as a window does.
window.addEventListener('mousemove', (event) => {
  if (!gameRuns()) return;
  if (heldButtons) call('mouseMove', ...facePoint(event), event.buttons);
  else if (event.target === canvas) call('hover', ...facePoint(event));
});
window.addEventListener('mouseup', (event) => {
  if (!gameRuns() || event.button > 2 || !(heldButtons & buttonBit[event.button])) return;
  heldButtons &= ~buttonBit[event.button];
  call('mouseUp', ...facePoint(event), event.button);
});
canvas.addEventListener('contextmenu', (event) => event.preventDefault());

const touchEvents = { touchstart: 'touchStart', touchmove: 'touchMove', touchend: 'touchEnd', touchcancel: 'touchEnd' };
for (const [type, handler] of Object.entries(touchEvents)) {
  canvas.addEventListener(type, (event) => {
    // No mouse events after a touch; but a touch that joins one begun
    // beside the handheld, where the browser may scroll, cannot be cancelled.
    if (event.cancelable) event.preventDefault();
    if (!gameRuns()) return;
    for (const touch of event.changedTouches) call(handler, touch.identifier, ...facePoint(touch));
  }, { passive: false });
}

window.addEventListener('blur', () => call('focusLost'));
document.addEventListener('visibilitychange', () => {
  if (document.hidden) call('focusLost');
});

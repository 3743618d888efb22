// HIT, UP and DOWN for thumbs, on touch screens beside or below the face:
// each does what the case's button does, as a finger (or the mouse) on the
// middle of that button would.
import { call, gameRuns } from './game.js';

let places = null;  // the face's elements' places, from the atlases' description

function middle(name) {
  const [left, top, width, height] = places[name];
  return [left + Math.floor(width / 2), top + Math.floor(height / 2)];
}

export function placeThumbControls(facePlaces) {
  places = facePlaces;
}

for (const control of document.querySelectorAll('.thumb')) {
  const name = control.dataset.button;
  const fingers = new Set();
  let mouse = false;
  const show = () => control.classList.toggle('held', mouse || fingers.size > 0);
  const ready = () => gameRuns() && places;

  control.addEventListener('touchstart', (event) => {
    event.preventDefault();  // no mouse events after it
    if (!ready()) return;
    for (const touch of event.changedTouches) {
      fingers.add(touch.identifier);
      call('touchStart', touch.identifier, ...middle(name));
    }
    show();
  }, { passive: false });
  for (const type of ['touchend', 'touchcancel']) {
    control.addEventListener(type, (event) => {
      for (const touch of event.changedTouches) {
        if (!fingers.delete(touch.identifier)) continue;
        call('touchEnd', touch.identifier, ...middle(name));
      }
      show();
    });
  }
  control.addEventListener('mousedown', (event) => {
    event.preventDefault();
    if (!ready() || event.button !== 0) return;
    mouse = true;
    call('mouseDown', ...middle(name), 0);
    show();
  });
  window.addEventListener('mouseup', (event) => {
    if (!mouse || event.button !== 0) return;
    mouse = false;
    call('mouseUp', ...middle(name), 0);
    show();
  });
  control.addEventListener('contextmenu', (event) => event.preventDefault());
}

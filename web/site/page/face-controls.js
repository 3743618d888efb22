// The case's buttons as named controls laid over the face, for the
// keyboard and screen readers: Enter or Space holds the button as the
// mouse's left button does (so GAME A held shows its best score), a screen
// reader's click presses and releases it, and each shows the keyboard's
// focus around the button. The pointer passes through them to the face,
// which keeps its own mouse and touches. The menu key or Shift+F10 opens
// the command menu as a right click on the face's middle does.
import { call, gameRuns } from './game.js';
import { faceBox, touchSide } from './layout.js';

const group = document.getElementById('face-controls');
const view = document.getElementById('handheld-view');
const controls = [];
let places = null;  // the face's elements' places, from the atlases' description

function middle(element) {
  const [left, top, width, height] = places[element];
  return [left + Math.floor(width / 2), top + Math.floor(height / 2)];
}

// Each control covers its button, and at least a finger's touch area about its middle.
export function placeFaceControls(facePlaces) {
  if (facePlaces) places = facePlaces;
  if (!places) return;
  const box = faceBox();
  const side = touchSide();
  for (const control of controls) {
    const [left, top, width, height] = places[control.dataset.button];
    const w = Math.max(width, side);
    const h = Math.max(height, side);
    Object.assign(control.style, {
      left: box.left + (left - (w - width) / 2) * box.scale + 'px',
      top: box.top + (top - (h - height) / 2) * box.scale + 'px',
      width: w * box.scale + 'px',
      height: h * box.scale + 'px',
    });
  }
}

// Shown, and when the face changes size.
new ResizeObserver(() => placeFaceControls()).observe(document.getElementById('handheld'));

function press(control, down) {
  if (!gameRuns() || !places) return;
  call(down ? 'mouseDown' : 'mouseUp', ...middle(control.dataset.button), 0);
}

function makeControl(name, element) {
  const control = document.createElement('button');
  control.type = 'button';
  control.className = 'face-control';
  control.dataset.button = element;
  control.setAttribute('aria-label', name);
  let heldByKey = null;
  control.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' && event.key !== ' ') return;
    // The key is the button's: the game does not hear it as well.
    event.preventDefault();
    event.stopPropagation();
    if (event.repeat || heldByKey) return;
    heldByKey = event.key;
    press(control, true);
  });
  control.addEventListener('keyup', (event) => {
    if (event.key !== heldByKey) return;
    event.preventDefault();
    event.stopPropagation();
    heldByKey = null;
    press(control, false);
  });
  control.addEventListener('blur', () => {
    if (heldByKey) press(control, false);
    heldByKey = null;
  });
  // A click that no key made: a screen reader's, or an automation's.
  control.addEventListener('click', (event) => {
    if (heldByKey || event.detail > 0) return;
    press(control, true);
    press(control, false);
  });
  return control;
}

// Not while the menu or a dialog has the keyboard, which take their keys.
window.addEventListener('keydown', (event) => {
  const menuKey = event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey);
  if (!menuKey || !gameRuns() || !places || view.hidden) return;
  if (!document.getElementById('menu').hidden || document.querySelector('dialog[open]')) return;
  event.preventDefault();
  const [x, y] = middle('Im_Base');
  call('mouseDown', x, y, 2);
  call('mouseUp', x, y, 2);
});
// The menu key's own menu, which the browser would open after it.
view.addEventListener('contextmenu', (event) => event.preventDefault());

export const faceControlCalls = {
  addFaceControl(name, element) {
    const control = makeControl(name, element);
    controls.push(control);
    group.append(control);
    placeFaceControls();
  },
  faceControlActs(index, acts) {
    controls[index].hidden = !acts;
  },
};

// The page's parts that stand for the windows: the splash with its links,
// the handheld with its pause control and the pointer's shape and hint,
// and the about panel; the paused game in the page's title; and the
// documents the module opens.
import { call, gameRuns } from './game.js';
import { markFirstFace, showPausedLook } from './pictures.js';
import { handheldShown, showTitle } from './recordings.js';

const $ = (id) => document.getElementById(id);
const canvas = $('handheld');
const pauseControl = $('pause-control');

// PLAY pressed while the module loads plays once it runs.
let playAsked = false;
$('Puls_Play').addEventListener('click', () => {
  if (gameRuns()) call('splash', 0);
  else playAsked = true;
});
export function playIfAsked() {
  if (playAsked) call('splash', 0);
}

$('La_Email').addEventListener('click', (event) => {
  event.preventDefault();
  call('splash', 1);
});
$('La_Http').addEventListener('click', (event) => {
  event.preventDefault();
  call('splash', 2);
});
$('about-close').addEventListener('click', () => call('closeAbout'));
// Esc closes the about panel, as its window's close button does, and goes
// no further: on the handheld it would end the program.
$('about').addEventListener('keydown', (event) => {
  if (event.key !== 'Escape') return;
  event.stopPropagation();
  call('closeAbout');
});
$('about').addEventListener('pointerdown', () => call('activateAbout'));

// The pause control, for fingers: the menu's Pause without the menu. It
// never takes the keyboard: Space would press it again.
pauseControl.addEventListener('pointerdown', (event) => event.preventDefault());
pauseControl.addEventListener('click', () => {
  call('togglePause');
  canvas.focus();
});
// Shown on touch screens, and wherever the page was touched.
window.addEventListener('touchstart', () => document.documentElement.classList.add('touched'),
  { capture: true, passive: true, once: true });

export const viewCalls = {
  setPointer(shape, hint) {
    canvas.style.cursor = ['default', 'pointer', 'help'][shape] || 'default';
    canvas.title = hint;
  },
  showViews(splash, handheld, about) {
    const aboutOpens = about && $('about').hidden;
    $('splash').hidden = !splash;
    $('handheld-view').hidden = !handheld;
    $('about').hidden = !about;
    if (aboutOpens) $('about-close').focus();
    else if (handheld && !about) canvas.focus();
    markFirstFace();
    if (handheld) handheldShown();
  },
  setPaused(isPaused) {
    showPausedLook(isPaused);
    showTitle('paused', isPaused ? ' (paused)' : '');
    pauseControl.setAttribute('aria-label', isPaused ? 'Resume' : 'Pause');
    pauseControl.classList.toggle('paused', isPaused);
    call('redraw');
  },
  openInNewTab(address) {
    if (address.startsWith('mailto:')) location.href = address;
    else window.open(address, '_blank', 'noopener');
  },
};

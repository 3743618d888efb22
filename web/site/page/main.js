// The page's half of the browser edition: it loads the C++ module
// (wuffel-web.js, which runs first) and the pictures, and carries out what
// the module asks for through web/glue.js. Each part of the page keeps its
// own module here; the game itself lives in the C++ module.
import { audioCalls, keepSounds } from './audio.js';
import { call, gameStarted } from './game.js';
import { announcementCalls } from './announcements.js';
import { faceControlCalls, placeFaceControls } from './face-controls.js';
import { watchGamepads } from './gamepads.js';
import { fitCanvas, touchSide, view } from './layout.js';
import { menuCalls } from './menu.js';
import { messageBoxCalls } from './message-boxes.js';
import { atlasDescription, drawingCalls, wantPictures } from './pictures.js';
import './service-worker.js';
import { settingsCalls } from './settings-panel.js';
import { storageCalls } from './storage.js';
import { recordingCalls } from './recordings.js';
import { placeThumbControls } from './thumb-controls.js';
import { playIfAsked, viewCalls } from './views.js';
// Last: the page's other parts hear of a lost keyboard before the game does.
import './input.js';

// What the module asks of the page, by the names web/glue.js calls.
const page = {
  ...drawingCalls, ...viewCalls, ...menuCalls, ...messageBoxCalls, ...audioCalls, ...settingsCalls, ...storageCalls,
  ...recordingCalls, ...faceControlCalls, ...announcementCalls,
};

function layout() {
  if (!fitCanvas()) return;
  wantPictures();
  placeFaceControls();
  call('touchSide', touchSide());
  call('redraw');
}
window.addEventListener('resize', layout);
// The room for the thumbs' controls comes from the page's style: once more when it is in.
const style = document.querySelector('link[rel="stylesheet"]');
if (!style.sheet) style.addEventListener('load', layout, { once: true });

const faceKnown = atlasDescription.then((atlases) => {
  view.face = atlases.face;
  placeThumbControls(atlases.places);
  placeFaceControls(atlases.places);
  layout();
});

createWuffel({ page }).then((instance) => {
  keepSounds(instance);
  return faceKnown.then(() => {
    gameStarted(instance);
    instance._wuffel_start(new URLSearchParams(location.search).has('trace') ? 1 : 0, screen.width, screen.height);
    call('touchSide', touchSide());
    playIfAsked();
    watchGamepads();
  });
});

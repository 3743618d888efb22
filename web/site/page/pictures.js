// The face's pictures and their drawing on the canvas, as the module asks:
// the photograph with the case's mask, the atlas of every element at each
// scale, and the paused look over the face. Each set is fetched when the
// scale first calls for it.
import { call } from './game.js';
import { view } from './layout.js';
import { registerServiceWorker } from './service-worker.js';

const $ = (id) => document.getElementById(id);
const canvas = $('handheld');
const context = canvas.getContext('2d');

function loadImage(src) {
  const image = new Image();
  image.decoding = 'async';
  image.src = src;
  return image.decode().then(() => image);
}

let atlases = null;  // the places of every picture at each scale
export const atlasDescription = fetch('pictures/face-atlas.json').then((r) => r.json()).then((json) => {
  atlases = json;
  return json;
});

const maskImage = loadImage('pictures/case-mask.png');
const pictureSets = new Map();  // asset scale -> {photo, atlas, mask}, once loaded
const pausedLooks = new Map();  // asset scale -> the paused look's picture, once loaded

function pictureSet(k) {
  if (!pictureSets.has(k)) {
    const suffix = k === 1 ? '' : '@' + k + 'x';
    const set = { ready: false };
    pictureSets.set(k, set);
    Promise.all([loadImage('pictures/Im_Base' + suffix + '.jpg'), loadImage('pictures/face-atlas@' + k + 'x.png'),
      maskImage]).then(([photo, atlas, mask]) => {
      Object.assign(set, { photo, atlas, mask, ready: true });
      call('redraw');
    });
  }
  return pictureSets.get(k);
}

// Fetches the set the canvas's present scale draws from.
export function wantPictures() {
  pictureSet(view.assetScale);
}

// What a paused game lays over the face: the glass dimmed and "PAUSED" on
// the case, fetched when first needed.
function drawPausedLook() {
  const k = view.assetScale;
  if (!pausedLooks.has(k)) {
    pausedLooks.set(k, null);
    loadImage('pictures/face-paused@' + k + 'x.png').then((image) => {
      pausedLooks.set(k, image);
      call('redraw');
    });
  }
  const look = pausedLooks.get(k);
  if (look) context.drawImage(look, 0, 0, canvas.width, canvas.height);
}

let drewPhotograph = false;
let faceDrawn = false;  // the canvas holds the handheld
let paused = false;  // a paused game: its look is laid over the face
let firstFaceMarked = false;
let caseCaption = null;  // {text, centreX, baseline}: words printed on the case

// In the lettering of the case's own printing: cream with a soft shadow.
function drawCaseCaption() {
  const { text, centreX, baseline } = caseCaption;
  context.save();
  context.scale(view.scale, view.scale);
  context.font = 'bold 10px "DejaVu Sans", sans-serif';
  context.letterSpacing = '2px';
  context.textAlign = 'center';
  context.fillStyle = 'rgba(0, 0, 0, 0.27)';
  context.fillText(text, centreX + 1, baseline + 0.7);
  context.fillStyle = '#f6e7b0';
  context.fillText(text, centreX + 1, baseline);
  context.restore();
}

// For the benchmarks: the moment the player first sees the handheld. The
// site is kept for offline play from then on.
export function markFirstFace() {
  if (firstFaceMarked || !faceDrawn || $('handheld-view').hidden) return;
  firstFaceMarked = true;
  performance.mark('wuffel-first-face');
  registerServiceWorker();
}

export function showPausedLook(isPaused) {
  paused = isPaused;
}

export const drawingCalls = {
  beginFrame() {
    context.setTransform(1, 0, 0, 1, 0, 0);
    context.globalCompositeOperation = 'source-over';
    context.clearRect(0, 0, canvas.width, canvas.height);
    drewPhotograph = false;
  },
  drawPicture(owner, left, top, isPhotograph) {
    const k = view.assetScale;
    const set = pictureSet(k);
    if (!set.ready) return;
    context.imageSmoothingEnabled = true;
    context.imageSmoothingQuality = 'high';
    if (isPhotograph) {
      context.drawImage(set.photo, 0, 0, canvas.width, canvas.height);
      // Around the case the page shows through, as the desktop does around the window.
      context.globalCompositeOperation = 'destination-out';
      context.imageSmoothingEnabled = false;
      context.drawImage(set.mask, 0, 0, canvas.width, canvas.height);
      context.globalCompositeOperation = 'source-over';
      drewPhotograph = true;
      return;
    }
    const place = atlases[k][owner];
    if (!place) return;
    const [x, y, w, h] = place;
    const f = view.scale / k;
    context.drawImage(set.atlas, x, y, w, h, Math.round(left * view.scale), Math.round(top * view.scale), w * f, h * f);
  },
  // Light from behind the speaker grille, in face units, over the case only.
  drawGlow(centreX, centreY, radius, red, green, blue, strength) {
    if (!drewPhotograph) return;
    const x = centreX * view.scale, y = centreY * view.scale, r = radius * 1.2 * view.scale;
    const light = context.createRadialGradient(x, y, 0, x, y, r);
    const at = (share) => `rgba(${red}, ${green}, ${blue}, ${strength * share})`;
    light.addColorStop(0, at(0.95));
    light.addColorStop(0.55, at(0.7));
    light.addColorStop(0.8, at(0.3));
    light.addColorStop(1, at(0));
    context.globalCompositeOperation = 'screen';
    context.fillStyle = light;
    context.beginPath();
    context.arc(x, y, r, 0, 2 * Math.PI);
    context.fill();
    context.globalCompositeOperation = 'source-over';
  },
  showCaseCaption(text, centreX, baseline) {
    caseCaption = text ? { text, centreX, baseline } : null;
    call('redraw');
  },
  endFrame() {
    if (paused && drewPhotograph) drawPausedLook();
    else if (caseCaption && drewPhotograph) drawCaseCaption();
    faceDrawn = drewPhotograph;
    markFirstFace();
  },
};

// Where the handheld lies: the canvas as large as the window lets the
// face's shape be, in whole device pixels, with the set of pictures (1x, 2x
// or 3x) that its scale calls for; on a touch screen, room for the thumbs'
// HIT, UP and DOWN below the face held upright, or beside it held sideways
// where that leaves the face nearly its size; and the conversions between
// the page's points and the face's.

const canvas = document.getElementById('handheld');
const handheldView = document.getElementById('handheld-view');
const coarse = matchMedia('(pointer: coarse)');
// The thumb controls may take this much of the face's size, and no more.
const SHRINK_FOR_THUMBS = 0.85;
// A finger's touch on the case's buttons, in CSS pixels each way.
const FINGER = 24;

export const view = {
  face: null,  // the face's size in face pixels, once the atlases' description came
  scale: 1,  // device pixels per face pixel
  assetScale: 1,  // the picture set drawn from
};

// The room the thumb controls take, from the page's style: [beside, below] in CSS pixels.
function thumbRoom() {
  const style = getComputedStyle(document.documentElement);
  const px = (name) => parseFloat(style.getPropertyValue(name));
  return [2 * (px('--thumb') + 2 * px('--thumb-margin')), 2 * px('--thumb-below') + 2 * px('--thumb-gap')];
}

// Where the thumb controls go, and the room left for the face.
function placeThumbs(width, height, faceWidth, faceHeight) {
  const full = Math.min(width / faceWidth, height / faceHeight);
  if (coarse.matches) {
    const [beside, below] = thumbRoom();
    const room = height > width ? { place: 'below', width, height: height - below }
      : { place: 'beside', width: width - beside, height };
    if (Math.min(room.width / faceWidth, room.height / faceHeight) >= full * SHRINK_FOR_THUMBS) return room;
  }
  return { place: 'none', width, height };
}

// Sizes the canvas for the window; false while the face's size is unknown.
export function fitCanvas() {
  if (!view.face) return false;
  const [width, height] = view.face;
  const ratio = window.devicePixelRatio || 1;
  const page = document.documentElement;
  const room = placeThumbs(page.clientWidth, page.clientHeight, width, height);
  handheldView.classList.toggle('thumbs-below', room.place === 'below');
  handheldView.classList.toggle('thumbs-beside', room.place === 'beside');
  const fit = Math.min(room.width / width, room.height / height);
  view.scale = fit * ratio;
  view.assetScale = Math.min(3, Math.max(1, Math.ceil(view.scale - 0.001)));
  canvas.width = Math.round(width * view.scale);
  canvas.height = Math.round(height * view.scale);
  canvas.style.width = canvas.width / ratio + 'px';
  canvas.style.height = canvas.height / ratio + 'px';
  return true;
}

// The side of a finger's touch area on the case's buttons, in face pixels.
export function touchSide() {
  return Math.ceil(FINGER * (window.devicePixelRatio || 1) / view.scale);
}

// Where the face lies on the page: its top left corner and CSS pixels per face pixel.
export function faceBox() {
  const box = canvas.getBoundingClientRect();
  return { left: box.left, top: box.top, scale: box.width / view.face[0] };
}

// The face pixel under a mouse event or a touch.
export function facePoint(event) {
  const box = canvas.getBoundingClientRect();
  const [width, height] = view.face;
  return [Math.floor((event.clientX - box.left) * width / box.width),
    Math.floor((event.clientY - box.top) * height / box.height)];
}

// The page point of the face point (x, y).
export function pagePoint(x, y) {
  const box = canvas.getBoundingClientRect();
  const [width, height] = view.face;
  return [box.left + x * box.width / width, box.top + y * box.height / height];
}

// Where the handheld lies: the canvas as large as the window lets the
// face's shape be, in whole device pixels, with the set of pictures (1x, 2x
// or 3x) that its scale calls for; and the conversions between the page's
// points and the face's.

const canvas = document.getElementById('handheld');

export const view = {
  face: null,  // the face's size in face pixels, once the atlases' description came
  scale: 1,  // device pixels per face pixel
  assetScale: 1,  // the picture set drawn from
};

// Sizes the canvas for the window; false while the face's size is unknown.
export function fitCanvas() {
  if (!view.face) return false;
  const [width, height] = view.face;
  const ratio = window.devicePixelRatio || 1;
  const room = document.documentElement;
  const fit = Math.min(room.clientWidth / width, room.clientHeight / height);
  view.scale = fit * ratio;
  view.assetScale = Math.min(3, Math.max(1, Math.ceil(view.scale - 0.001)));
  canvas.width = Math.round(width * view.scale);
  canvas.height = Math.round(height * view.scale);
  canvas.style.width = canvas.width / ratio + 'px';
  canvas.style.height = canvas.height / ratio + 'px';
  return true;
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

// The yardstick for the browser edition's start: a page that only draws the
// face photograph on a canvas.
'use strict';
const image = new Image();
image.src = 'Im_Base.jpg';
image.decode().then(() => {
  document.getElementById('photo').getContext('2d').drawImage(image, 0, 0);
  requestAnimationFrame(() => performance.mark('bare-first-face'));
});

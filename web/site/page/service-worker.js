// Keeping the site for offline play fetches every file of it: that waits
// until the handheld is up, or a moment after the page has loaded.

let registered = false;

export function registerServiceWorker() {
  if (registered || !('serviceWorker' in navigator)) return;
  registered = true;
  navigator.serviceWorker.register('sw.js');
}

window.addEventListener('load', () => setTimeout(registerServiceWorker, 1000));

// Keeping the site for offline play fetches every file of it: that waits
// until the handheld is up, or a moment after the page has loaded. A newer
// build of the site, once the service worker has all of it, waits for the
// player: a note offers "A new version is ready - reload", which never
// takes the keyboard or stops a game, and the page reloads only when asked.

const note = document.getElementById('new-build');
let registered = false;
let reloadAsked = false;

function offer(registration) {
  // The first build a visit keeps is no news.
  if (!registration.waiting || !navigator.serviceWorker.controller) return;
  note.hidden = false;
}

export function registerServiceWorker() {
  if (registered || !('serviceWorker' in navigator)) return;
  registered = true;
  navigator.serviceWorker.register('sw.js').then((registration) => {
    const watch = (worker) => worker && worker.addEventListener('statechange', () => {
      if (worker.state === 'installed') offer(registration);
    });
    offer(registration);
    watch(registration.installing);
    registration.addEventListener('updatefound', () => watch(registration.installing));
    document.getElementById('new-build-reload').addEventListener('click', () => {
      reloadAsked = true;
      if (registration.waiting) registration.waiting.postMessage('take-new-build');
      else location.reload();
    });
  });
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (reloadAsked) location.reload();
  });
}

window.addEventListener('load', () => setTimeout(registerServiceWorker, 1000));

// Recordings of games in and out of the page: a file picked or dropped on
// the page, a download of the last game, a link that carries a game
// (#replay=, the recording deflated and URL-safe), and the settings panel's
// button that copies a link to the player's best game.
import { call, callWithTexts } from './game.js';

const $ = (id) => document.getElementById(id);
// No game's recording comes near this; a larger file is not read as one.
const longestRecording = 16 << 20;
const linkPrefix = '#replay=';

function watchFile(file) {
  if (file.size > longestRecording) {
    callWithTexts('watch', '');
    return;
  }
  file.text().then((text) => callWithTexts('watch', text));
}

const picker = document.createElement('input');
Object.assign(picker, { type: 'file', accept: '.wuffel,text/plain', hidden: true });
picker.addEventListener('change', () => {
  if (picker.files.length) watchFile(picker.files[0]);
  picker.value = '';
});
document.body.append(picker);

document.addEventListener('dragover', (event) => {
  if (event.dataTransfer.types.includes('Files')) event.preventDefault();
});
document.addEventListener('drop', (event) => {
  if (!event.dataTransfer.files.length) return;
  event.preventDefault();
  watchFile(event.dataTransfer.files[0]);
});

// The bytes through a (de)compression stream, refused past a recording's
// longest: a small link may inflate to any size.
async function through(stream, bytes) {
  const reader = new Blob([bytes]).stream().pipeThrough(stream).getReader();
  const parts = [];
  let size = 0;
  for (let part = await reader.read(); !part.done; part = await reader.read()) {
    size += part.value.length;
    if (size > longestRecording) {
      reader.cancel();
      throw new RangeError('longer than any recording');
    }
    parts.push(part.value);
  }
  return new Uint8Array(await new Blob(parts).arrayBuffer());
}

// A recording as a link's text, and back: zlib's deflate, in base64url.
export async function linkData(text) {
  const bytes = await through(new CompressionStream('deflate'), new TextEncoder().encode(text));
  let binary = '';
  for (const b of bytes) binary += String.fromCharCode(b);
  return btoa(binary).replaceAll('+', '-').replaceAll('/', '_').replace(/=+$/, '');
}
export async function recordingOfLink(data) {
  const binary = atob(data.replaceAll('-', '+').replaceAll('_', '/'));
  const bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
  return new TextDecoder().decode(await through(new DecompressionStream('deflate'), bytes));
}

// The game of the page's link, if it has one, watched as soon as the
// handheld shows.
let linkedGame = location.hash.startsWith(linkPrefix)
  ? recordingOfLink(location.hash.slice(linkPrefix.length)).catch(() => '')
  : null;
export function handheldShown() {
  if (!linkedGame) return;
  linkedGame.then((text) => callWithTexts('watch', text));
  linkedGame = null;
}

function stored(key) {
  try {
    return localStorage.getItem(key);
  } catch (refused) {
    return null;
  }
}

// The better of the two best games, by the score each recording expects.
function bestGame() {
  const scoreOf = (text) => Number((text && /^expect score (\d+)$/m.exec(text)?.[1]) ?? -1);
  const [a, b] = ['A', 'B'].map((game) => stored('WuffelTennis/Games/best-' + game));
  return scoreOf(b) > scoreOf(a) ? b : a;
}

const copyLink = $('settings-copy-link');
const copied = $('settings-link-copied');
copyLink.addEventListener('click', async () => {
  const game = bestGame();
  if (!game) {
    copied.textContent = 'No best game is kept yet: play one to its end.';
    return;
  }
  const link = location.origin + location.pathname + linkPrefix + (await linkData(game));
  try {
    await navigator.clipboard.writeText(link);
    copied.textContent = 'The link is copied.';
  } catch (refused) {
    copied.textContent = 'The browser did not let the page copy the link.';
  }
});

// A game cut off by closing the tab is kept as it stood. A page kept for
// going back to is not closing.
window.addEventListener('pagehide', (event) => {
  if (!event.persisted) call('pageClosing');
});

const title = { base: document.title, paused: '', replay: '' };
export function showTitle(part, suffix) {
  title[part] = suffix;
  document.title = title.base + title.replay + title.paused;
}

export const recordingCalls = {
  setReplay(suffix) {
    showTitle('replay', suffix);
  },
  openRecording() {
    picker.click();
  },
  download(name, text) {
    const address = URL.createObjectURL(new Blob([text], { type: 'text/plain' }));
    const a = Object.assign(document.createElement('a'), { href: address, download: name });
    a.click();
    setTimeout(() => URL.revokeObjectURL(address), 0);
  },
};

// The page's live region: each sentence the module announces comes as a
// new line of its own, so that a screen reader says it even when it
// repeats the one before; only the latest is kept.
const region = document.getElementById('announcements');

export const announcementCalls = {
  announce(sentence) {
    const line = document.createElement('p');
    line.textContent = sentence;
    region.replaceChildren(line);
  },
};

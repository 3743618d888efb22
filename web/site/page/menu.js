// The command menu: its items as the module makes and updates them, popped
// up at a face point, chosen by click, arrows and Enter or access key, and
// closed by Esc, a click beside it or the window losing the keyboard.
import { call } from './game.js';
import { pagePoint } from './layout.js';

const menu = document.getElementById('menu');
const menuItems = [];

// The keyboard goes back to the page at once: a hidden item keeps it until
// the page's next frame, and the next key would go to the menu.
function hideMenu() {
  menu.hidden = true;
  if (menu.contains(document.activeElement)) document.activeElement.blur();
}

function closeMenu() {
  if (menu.hidden) return;
  hideMenu();
  call('menuClosed');
}

function chooseMenuItem(command) {
  hideMenu();
  call('chooseMenu', command);
}

menu.addEventListener('keydown', (event) => {
  if (menu.hidden) return;
  // The menu takes its keys: none reaches the handheld.
  event.stopPropagation();
  const buttons = menuItems.filter((b) => b.tagName === 'BUTTON' && !b.disabled);
  const at = buttons.indexOf(document.activeElement);
  if (event.key === 'Escape') closeMenu();
  else if (event.key === 'ArrowDown') buttons[(at + 1) % buttons.length].focus();
  else if (event.key === 'ArrowUp') buttons[(at + buttons.length - 1) % buttons.length].focus();
  else {
    const chosen = buttons.find((b) => b.dataset.accessKey === event.key.toLowerCase());
    if (chosen) chooseMenuItem(Number(chosen.dataset.command));
    else return;
  }
  event.preventDefault();
});
menu.addEventListener('keyup', (event) => event.stopPropagation());
document.addEventListener('pointerdown', (event) => {
  if (!menu.hidden && !menu.contains(event.target)) closeMenu();
}, { capture: true });
window.addEventListener('blur', closeMenu);

// An item's caption, its access key underlined, and its shortcut.
function showMenuCaption(item, caption, shortcut) {
  const [label, key] = item.children;
  const access = caption.indexOf('&');
  delete item.dataset.accessKey;
  if (access >= 0) {
    item.dataset.accessKey = caption[access + 1].toLowerCase();
    const underlined = document.createElement('u');
    underlined.textContent = caption[access + 1];
    label.replaceChildren(caption.slice(0, access), underlined, caption.slice(access + 2));
  } else {
    label.textContent = caption;
  }
  key.textContent = shortcut;
}

export const menuCalls = {
  addMenuItem(caption, shortcut, command, isDefault) {
    let item;
    if (command < 0) {
      item = document.createElement('hr');
      item.setAttribute('role', 'separator');
    } else {
      item = document.createElement('button');
      item.type = 'button';
      item.setAttribute('role', 'menuitem');
      item.dataset.command = command;
      if (isDefault) item.className = 'default';
      const key = document.createElement('span');
      key.className = 'shortcut';
      item.append(document.createElement('span'), key);
      showMenuCaption(item, caption, shortcut);
      item.addEventListener('click', () => chooseMenuItem(command));
    }
    menuItems.push(item);
    menu.append(item);
  },
  showMenuItem(command, caption, shortcut, enabled) {
    const item = menuItems.find((b) => b.dataset.command === String(command));
    showMenuCaption(item, caption, shortcut);
    item.disabled = !enabled;
  },
  popupMenu(x, y) {
    menu.hidden = false;
    const [left, top] = pagePoint(x, y);
    menu.style.left = Math.max(0, Math.min(left, innerWidth - menu.offsetWidth)) + 'px';
    menu.style.top = Math.max(0, Math.min(top, innerHeight - menu.offsetHeight)) + 'px';
    menu.querySelector('button:enabled').focus();
  },
};

// The settings panel: its controls as the module describes and fills them,
// each change handed to the module at once (the slider's when let go), and
// the note that a change could not be stored. It takes its keys: none
// reaches the handheld.
import { call, callWithTexts } from './game.js';

const $ = (id) => document.getElementById(id);
const canvas = $('handheld');
const settingsPanel = $('settings');
const settingsForm = $('settings-form');

function settingControls(name) {
  return settingsForm.querySelectorAll(`[name="${name}"]`);
}

function showVolume(slider) {
  $('settings-volume-text').value = slider.value + ' %';
}

settingsForm.addEventListener('change', (event) => {
  const control = event.target;
  const text = control.type === 'checkbox' ? (control.checked ? '1' : '0') : control.value;
  callWithTexts('changeSetting', control.name, text);
});
settingsForm.addEventListener('input', (event) => {
  if (event.target.type === 'range') showVolume(event.target);
});
$('settings-restore').addEventListener('click', () => call('restoreDefaultSettings'));
$('settings-close').addEventListener('click', () => settingsPanel.close());
settingsPanel.addEventListener('close', () => {
  call('settingsClosed');
  canvas.focus();
});
settingsPanel.addEventListener('keydown', (event) => event.stopPropagation());
settingsPanel.addEventListener('keyup', (event) => event.stopPropagation());

export const settingsCalls = {
  settingRange(name, low, high) {
    for (const control of settingControls(name))
      if (control.type === 'range') Object.assign(control, { min: low, max: high });
  },
  settingChoice(name, text) {
    for (const control of settingControls(name))
      if (control.tagName === 'SELECT') control.append(new Option(text + (control.dataset.unit || ''), text));
  },
  showSetting(name, text) {
    for (const control of settingControls(name)) {
      if (control.type === 'radio') control.checked = control.value === text;
      else if (control.type === 'checkbox') control.checked = text === '1';
      else control.value = text;
      if (control.type === 'range') showVolume(control);
    }
  },
  settingNotSaved() {
    $('settings-not-saved').hidden = false;
  },
  openSettings() {
    if (!settingsPanel.open) settingsPanel.showModal();
  },
};

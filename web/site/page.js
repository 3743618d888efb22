// The page's half of the browser edition, built into the module's script
// (wuffel-web.js) after the module: it loads the module and the pictures,
// hands the player's input to the module, and carries out what the module
// asks for (drawing, the page's parts and its settings panel, Web Audio,
// localStorage, the console). The game itself lives in the module.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const canvas = $('handheld');
  const context = canvas.getContext('2d');
  const tracing = new URLSearchParams(location.search).has('trace');

  let module = null;  // the C++ module, once it runs
  let playAsked = false;
  let face = null;  // the atlases' description: places of every picture at each scale
  let scale = 1;  // device pixels per face pixel
  let assetScale = 1;  // the picture set drawn from: 1x, 2x or 3x
  const pictureSets = new Map();  // asset scale -> {photo, atlas}
  const maskImage = loadImage('pictures/case-mask.png');
  let drewPhotograph = false;
  let faceDrawn = false;  // the canvas holds the handheld
  let paused = false;  // a paused game: its look is laid over the face
  const pausedLooks = new Map();  // asset scale -> the paused look's picture, once loaded
  let firstFaceMarked = false;

  function loadImage(src) {
    const image = new Image();
    image.decoding = 'async';
    image.src = src;
    return image.decode().then(() => image);
  }

  // ---- Pictures and drawing ----

  function pictureSet(k) {
    if (!pictureSets.has(k)) {
      const suffix = k === 1 ? '' : '@' + k + 'x';
      const set = { ready: false };
      pictureSets.set(k, set);
      Promise.all([loadImage('pictures/Im_Base' + suffix + '.jpg'), loadImage('pictures/face-atlas@' + k + 'x.png'),
        maskImage]).then(([photo, atlas, mask]) => {
        Object.assign(set, { photo, atlas, mask, ready: true });
        if (module) module._wuffel_redraw();
      });
    }
    return pictureSets.get(k);
  }

  function layout() {
    if (!face) return;
    const [width, height] = face.face;
    const ratio = window.devicePixelRatio || 1;
    const room = document.documentElement;
    const fit = Math.min(room.clientWidth / width, room.clientHeight / height);
    scale = fit * ratio;
    assetScale = Math.min(3, Math.max(1, Math.ceil(scale - 0.001)));
    canvas.width = Math.round(width * scale);
    canvas.height = Math.round(height * scale);
    canvas.style.width = canvas.width / ratio + 'px';
    canvas.style.height = canvas.height / ratio + 'px';
    pictureSet(assetScale);
    if (module) module._wuffel_redraw();
  }

  // What a paused game lays over the face: the glass dimmed and "PAUSED" on
  // the case, fetched when first needed.
  function drawPausedLook() {
    const k = assetScale;
    if (!pausedLooks.has(k)) {
      pausedLooks.set(k, null);
      loadImage('pictures/face-paused@' + k + 'x.png').then((image) => {
        pausedLooks.set(k, image);
        if (module) module._wuffel_redraw();
      });
    }
    const look = pausedLooks.get(k);
    if (look) context.drawImage(look, 0, 0, canvas.width, canvas.height);
  }

  function facePoint(event) {
    const box = canvas.getBoundingClientRect();
    const [width, height] = face.face;
    return [Math.floor((event.clientX - box.left) * width / box.width),
      Math.floor((event.clientY - box.top) * height / box.height)];
  }

  // For the benchmarks: the moment the player first sees the handheld.
  function markFirstFace() {
    if (firstFaceMarked || !faceDrawn || $('handheld-view').hidden) return;
    firstFaceMarked = true;
    performance.mark('wuffel-first-face');
    registerServiceWorker();
  }

  // Keeping the site for offline play fetches every file of it: that waits
  // until the handheld is up, or a moment after the page has loaded.
  function registerServiceWorker() {
    if ('serviceWorker' in navigator && !registerServiceWorker.done) {
      registerServiceWorker.done = true;
      navigator.serviceWorker.register('sw.js');
    }
  }
  window.addEventListener('load', () => setTimeout(registerServiceWorker, 1000));

  // ---- Sound ----

  let audio = null;
  let output = null;  // the gain every sound passes, as volume and mute set it
  let outputGain = 1;
  const soundBytes = new Map();  // file -> ArrayBuffer, as fetched
  const soundBuffers = new Map();  // file -> AudioBuffer
  const voices = [];

  // Browsers let sound start only after the player's first tap or key.
  function unlockAudio() {
    if (!audio) {
      audio = new AudioContext();
      output = audio.createGain();
      output.gain.value = outputGain;
      output.connect(audio.destination);
      for (const [file, bytes] of soundBytes)
        audio.decodeAudioData(bytes.slice(0)).then((buffer) => soundBuffers.set(file, buffer), () => {});
    }
    if (audio.state === 'suspended') audio.resume();
  }
  for (const type of ['pointerdown', 'keydown', 'touchstart'])
    window.addEventListener(type, unlockAudio, { capture: true, passive: true });

  // ---- The menu ----

  const menu = $('menu');
  const menuItems = [];

  function closeMenu() {
    if (menu.hidden) return;
    menu.hidden = true;
    if (module) module._wuffel_menuClosed();
  }

  function chooseMenuItem(command) {
    menu.hidden = true;
    module._wuffel_chooseMenu(command);
  }

  menu.addEventListener('keydown', (event) => {
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

  // ---- The pause control, for fingers: the menu's Pause without the menu ----

  const pauseControl = $('pause-control');
  // It never takes the keyboard: Space would press it again.
  pauseControl.addEventListener('pointerdown', (event) => event.preventDefault());
  pauseControl.addEventListener('click', () => {
    if (module) module._wuffel_togglePause();
    canvas.focus();
  });
  // Shown on touch screens, and wherever the page was touched.
  window.addEventListener('touchstart', () => document.documentElement.classList.add('touched'),
    { capture: true, passive: true, once: true });

  // ---- The error box ----

  const errorBox = $('error-box');
  const errors = [];

  function showNextError() {
    const [caption, message] = errors[0];
    $('error-caption').textContent = caption;
    $('error-message').textContent = message;
    if (!errorBox.open) errorBox.showModal();
    $('error-ok').focus();
  }
  $('error-ok').addEventListener('click', () => errorBox.close());
  errorBox.addEventListener('close', () => {
    errors.shift();
    module._wuffel_errorBoxClosed();
    if (errors.length) showNextError();
  });
  errorBox.addEventListener('keydown', (event) => event.stopPropagation());
  errorBox.addEventListener('keyup', (event) => event.stopPropagation());

  // ---- The question box: Yes, or No also by Esc ----

  const questionBox = $('question-box');
  let answer = false;
  $('question-yes').addEventListener('click', () => { answer = true; questionBox.close(); });
  $('question-no').addEventListener('click', () => questionBox.close());
  questionBox.addEventListener('close', () => {
    module._wuffel_questionAnswered(answer ? 1 : 0);
    answer = false;
  });
  questionBox.addEventListener('keydown', (event) => event.stopPropagation());
  questionBox.addEventListener('keyup', (event) => event.stopPropagation());

  // ---- The settings panel ----

  const title = document.title;
  const settingsPanel = $('settings');
  const settingsForm = $('settings-form');

  function settingControls(name) {
    return settingsForm.querySelectorAll(`[name="${name}"]`);
  }

  function showVolume(slider) {
    $('settings-volume-text').value = slider.value + ' %';
  }

  // Each change applies and is stored at once; the slider's when let go.
  settingsForm.addEventListener('change', (event) => {
    const control = event.target;
    const text = control.type === 'checkbox' ? (control.checked ? '1' : '0') : control.value;
    if (module) module.ccall('wuffel_changeSetting', null, ['string', 'string'], [control.name, text]);
  });
  settingsForm.addEventListener('input', (event) => {
    if (event.target.type === 'range') showVolume(event.target);
  });
  $('settings-restore').addEventListener('click', () => module && module._wuffel_restoreDefaultSettings());
  $('settings-close').addEventListener('click', () => settingsPanel.close());
  settingsPanel.addEventListener('close', () => {
    if (module) module._wuffel_settingsClosed();
    canvas.focus();
  });
  // The panel takes its keys: none reaches the handheld.
  settingsPanel.addEventListener('keydown', (event) => event.stopPropagation());
  settingsPanel.addEventListener('keyup', (event) => event.stopPropagation());

  // Losing the keyboard to another program or tab, or being hidden, pauses
  // a game for players who asked for it.
  window.addEventListener('blur', () => module && module._wuffel_focusLost());
  document.addEventListener('visibilitychange', () => {
    if (document.hidden && module) module._wuffel_focusLost();
  });

  // ---- What the module asks of the page (web/glue.js) ----

  const page = {
    beginFrame() {
      context.setTransform(1, 0, 0, 1, 0, 0);
      context.globalCompositeOperation = 'source-over';
      context.clearRect(0, 0, canvas.width, canvas.height);
      drewPhotograph = false;
    },
    drawPicture(owner, left, top, isPhotograph) {
      const set = pictureSet(assetScale);
      if (!set.ready) return;
      const k = assetScale;
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
      const place = face[k][owner];
      if (!place) return;
      const [x, y, w, h] = place;
      const f = scale / k;
      context.drawImage(set.atlas, x, y, w, h, Math.round(left * scale), Math.round(top * scale), w * f, h * f);
    },
    endFrame() {
      if (paused && drewPhotograph) drawPausedLook();
      faceDrawn = drewPhotograph;
      markFirstFace();
    },
    setPointer(shape, hint) {
      canvas.style.cursor = ['default', 'pointer', 'help'][shape] || 'default';
      canvas.title = hint;
    },
    showViews(splash, handheld, about) {
      $('splash').hidden = !splash;
      $('handheld-view').hidden = !handheld;
      $('about').hidden = !about;
      if (handheld) canvas.focus();
      markFirstFace();
    },
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
      const box = canvas.getBoundingClientRect();
      const [width, height] = face.face;
      menu.hidden = false;
      const left = box.left + x * box.width / width;
      const top = box.top + y * box.height / height;
      menu.style.left = Math.max(0, Math.min(left, innerWidth - menu.offsetWidth)) + 'px';
      menu.style.top = Math.max(0, Math.min(top, innerHeight - menu.offsetHeight)) + 'px';
      menu.querySelector('button:enabled').focus();
    },
    showError(caption, message) {
      errors.push([caption, message]);
      module._wuffel_errorBoxShown();
      if (errors.length === 1) showNextError();
    },
    askQuestion(caption, question) {
      $('question-caption').textContent = caption;
      $('question-text').textContent = question;
      questionBox.showModal();
      $('question-yes').focus();
    },
    openInNewTab(address) {
      if (address.startsWith('mailto:')) location.href = address;
      else window.open(address, '_blank', 'noopener');
    },
    beep() {
      if (!audio) return;
      const tone = audio.createOscillator();
      const gain = audio.createGain();
      tone.frequency.value = 880;
      gain.gain.value = 0.1;
      tone.connect(gain).connect(output);
      tone.start();
      tone.stop(audio.currentTime + 0.12);
    },
    startVoice(voice, file, fromSeconds) {
      page.stopVoice(voice);
      const buffer = soundBuffers.get(file);
      if (!audio || !buffer || fromSeconds >= buffer.duration) return;
      const source = audio.createBufferSource();
      source.buffer = buffer;
      source.connect(output);
      source.start(0, fromSeconds);
      voices[voice] = source;
    },
    stopVoice(voice) {
      if (voices[voice]) voices[voice].stop();
      voices[voice] = null;
    },
    setGain(value) {
      outputGain = value;
      if (output) output.gain.value = value;
    },
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
    setPaused(isPaused) {
      paused = isPaused;
      document.title = title + (paused ? ' (paused)' : '');
      pauseControl.setAttribute('aria-label', paused ? 'Resume' : 'Pause');
      pauseControl.classList.toggle('paused', paused);
      if (module) module._wuffel_redraw();
    },
    storageKeys() {
      try {
        return Array.from({ length: localStorage.length }, (_, i) => localStorage.key(i));
      } catch (refused) {
        return [];
      }
    },
    storageGet(key) {
      try {
        return localStorage.getItem(key);
      } catch (refused) {
        return null;
      }
    },
    storageSet(key, value) {
      try {
        localStorage.setItem(key, value);
        return true;
      } catch (refused) {
        return false;
      }
    },
    traceLine(line) {
      console.log(line);
    },
  };

  // ---- Keys or touch ----

  // A phone or tablet hears of touches and long presses rather than keys,
  // until a key shows that it has a keyboard too.
  const keyLabel = canvas.getAttribute('aria-label');
  function speakOfTouch(touch) {
    document.documentElement.classList.toggle('touch', touch);
    canvas.setAttribute('aria-label', touch ? canvas.dataset.touchLabel : keyLabel);
  }
  speakOfTouch(matchMedia('(hover: none) and (pointer: coarse)').matches);
  window.addEventListener('keydown', () => speakOfTouch(false), { capture: true, once: true });

  // ---- The player's input ----

  const buttonBit = [1, 4, 2];  // DOM button number -> its bit in MouseEvent.buttons
  let heldButtons = 0;  // buttons pressed on the handheld and not yet released

  canvas.addEventListener('mousedown', (event) => {
    event.preventDefault();
    canvas.focus();
    if (!module || event.button > 2) return;
    heldButtons |= buttonBit[event.button];
    module._wuffel_mouseDown(...facePoint(event), event.button);
  });
  // The handheld keeps the mouse while a button is held, as a window does.
  window.addEventListener('mousemove', (event) => {
    if (!module) return;
    if (heldButtons) module._wuffel_mouseMove(...facePoint(event), event.buttons);
    else if (event.target === canvas) module._wuffel_hover(...facePoint(event));
  });
  window.addEventListener('mouseup', (event) => {
    if (!module || event.button > 2 || !(heldButtons & buttonBit[event.button])) return;
    heldButtons &= ~buttonBit[event.button];
    module._wuffel_mouseUp(...facePoint(event), event.button);
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  const touchEvents = {
    touchstart: '_wuffel_touchStart', touchmove: '_wuffel_touchMove',
    touchend: '_wuffel_touchEnd', touchcancel: '_wuffel_touchEnd',
  };
  for (const [type, handler] of Object.entries(touchEvents)) {
    canvas.addEventListener(type, (event) => {
      // No mouse events after a touch; but a touch that joins one begun
      // beside the handheld, where the browser may scroll, cannot be cancelled.
      if (event.cancelable) event.preventDefault();
      if (!module) return;
      for (const touch of event.changedTouches) module[handler](touch.identifier, ...facePoint(touch));
    }, { passive: false });
  }

  $('Puls_Play').addEventListener('click', () => {
    if (module) module._wuffel_splash(0);
    else playAsked = true;
  });
  $('La_Email').addEventListener('click', (event) => {
    event.preventDefault();
    if (module) module._wuffel_splash(1);
  });
  $('La_Http').addEventListener('click', (event) => {
    event.preventDefault();
    if (module) module._wuffel_splash(2);
  });
  $('about-close').addEventListener('click', () => module && module._wuffel_closeAbout());
  $('about').addEventListener('pointerdown', () => module && module._wuffel_activateAbout());

  window.addEventListener('resize', layout);

  // ---- Start ----

  const atlases = fetch('pictures/face-atlas.json').then((r) => r.json()).then((json) => {
    face = json;
    layout();
  });

  createWuffel({ page }).then((instance) => {
    // The sounds came in the module's package; Web Audio decodes the same bytes.
    for (const file of instance.UTF8ToString(instance._wuffel_soundFiles()).split('\n').filter(Boolean)) {
      try {
        soundBytes.set(file, instance.FS.readFile('/' + file).buffer);
      } catch (missing) {
        // The program reports a missing file itself.
      }
    }
    return atlases.then(() => {
      module = instance;
      module._wuffel_start(tracing ? 1 : 0, screen.width, screen.height);
      if (playAsked) module._wuffel_splash(0);
    });
  });
})();

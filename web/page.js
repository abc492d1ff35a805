// The web edition's page: loads the game, shows its frames, hands it keys, touches and gamepads,
// keeps the high scores in IndexedDB, and offers window.murkoHeadless for scripted runs.
'use strict';
(function () {
  const WIDTH = 240;  // the picture's pixels across
  const HEIGHT = 320;  // and down
  const SCORES = '/home/web_user/.local/share/murko';  // the folder the game keeps its scores in
  // Keyboard keys, each its own source for the game's button merge, and the buttons they press
  // (0 up, 1 down, 2 left, 3 right, 4 A: the order of the handheld's key list).
  const KEYS = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Space', 'Enter', 'KeyZ',
    'ControlLeft'];
  const KEY_BUTTONS = [0, 1, 2, 3, 4, 4, 4, 4];
  const TOUCH_SOURCE = 8;  // sources 8..11: the on-screen d-pad's directions; 12: its A button
  const A_SOURCE = 12;
  const PAD_SOURCE = 16;  // gamepad i: source 16 + 2i for its buttons, 17 + 2i for its stick
  const PADS = 8;  // gamepads followed at once
  // A standard gamepad's d-pad and south face button, as [gamepad button, game button].
  const PAD_BUTTONS = [[12, 0], [13, 1], [14, 2], [15, 3], [0, 4]];
  const PAD_START = 9;  // a standard gamepad's Start button: the game pauses, or goes on
  // What a pause is asked by, as the game names it: P, Esc, a pad's Start.
  const PAUSE_KEYS = {KeyP: 80, Escape: 27};
  const START_KEY = 0xC4;
  const KEPT = ['Mhighscore.dat', 'Msuspend.dat'];  // the files the game keeps in SCORES

  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d');
  const picture = context.createImageData(WIDTH, HEIGHT);
  const dpad = document.getElementById('dpad');
  const abutton = document.getElementById('abutton');
  const fullscreen = document.getElementById('fullscreen');
  const note = document.getElementById('note');

  let game = null;  // the game being played
  let wasmModule = null;  // murko.wasm compiled once, instantiated for every game
  let dataPackage = null;  // murko.data, the pictures and sounds, copied into every game
  let scoresStamp = 0;  // the score folder's last change that was handed to IndexedDB
  let syncing = false;  // a write to IndexedDB is under way
  let syncAgain = false;  // and another must follow it
  let storageTold = false;  // the player has been told the scores cannot be kept
  let audioWasRunning = false;  // sound played when the page was hidden
  const dpadPointers = new Map();  // pointers down on the d-pad, each with its direction or -1
  const aPointers = new Set();  // pointers down on the A button
  const pads = [];  // per gamepad slot: the buttons and stick last handed to the game, or null

  function tell(text) {
    note.textContent = text;
    note.classList.add('shown');
  }

  function failed(what) {
    console.error(what);
    canvas.style.display = 'none';
    tell('Murko-Dog could not start: ' + (what && what.message ? what.message : what));
  }

  // Device pixels per picture pixel: the largest whole number that fits, with the touch
  // controls under the picture (portrait) or beside it (landscape).
  function layout() {
    const ratio = window.devicePixelRatio || 1;
    const vw = window.innerWidth;
    const vh = window.innerHeight;
    const touch = document.body.classList.contains('touch');
    const portrait = vh >= vw;
    const band = touch && portrait ? Math.min(vh * 0.32, 260) : 0;
    const side = touch && !portrait ? Math.min(vw * 0.22, 220) : 0;
    const roomW = (vw - 2 * side) * ratio;
    const roomH = (vh - band) * ratio;
    const fit = Math.min(roomW / WIDTH, roomH / HEIGHT);
    const scale = fit >= 1 ? Math.floor(fit) : fit;
    const w = Math.floor(WIDTH * scale);
    const h = Math.floor(HEIGHT * scale);
    const left = Math.floor((vw * ratio - w) / 2);
    const top = Math.floor((roomH - h) / 2);
    Object.assign(canvas.style, {left: left / ratio + 'px', top: top / ratio + 'px',
      width: w / ratio + 'px', height: h / ratio + 'px'});
    fullscreen.style.top = fullscreen.style.right = '6px';
    fullscreen.style.left = fullscreen.style.bottom = 'auto';
    if (!touch) return;
    let size, dpadX, aX, y;
    if (portrait) {
      const under = (top + h) / ratio;
      const room = vh - under;
      size = Math.min(room * 0.8, vw * 0.44);
      y = under + (room - size) / 2;
      dpadX = vw * 0.04;
      aX = vw * 0.96 - size * 0.62;
      fullscreen.style.top = 'auto';
      fullscreen.style.bottom = '6px';
      fullscreen.style.right = (vw - 36) / 2 + 'px';
    } else {
      size = Math.min(side * 0.9, vh * 0.6);
      y = (vh - size) / 2;
      dpadX = (side - size) / 2;
      aX = vw - side + (side - size * 0.62) / 2;
    }
    Object.assign(dpad.style, {left: dpadX + 'px', top: y + 'px', width: size + 'px',
      height: size + 'px'});
    Object.assign(abutton.style, {left: aX + 'px', top: y + size * 0.19 + 'px',
      width: size * 0.62 + 'px', height: size * 0.62 + 'px', fontSize: size * 0.22 + 'px'});
  }

  function setTouch(on) {
    if (document.body.classList.contains('touch') === on) return;
    document.body.classList.toggle('touch', on);
    layout();
  }

  function show(rgba) {
    picture.data.set(rgba);
    context.putImageData(picture, 0, 0);
    if (window.murkoFirstFrameMs === undefined) window.murkoFirstFrameMs = performance.now();
  }

  function press(button, down, source) {
    if (game) game._WebButton(button, down ? 1 : 0, source);
  }

  // The touch d-pad: the direction of the pointer from its middle, which presses nothing.
  function dpadDirection(e) {
    const r = dpad.getBoundingClientRect();
    const dx = e.clientX - (r.left + r.width / 2);
    const dy = e.clientY - (r.top + r.height / 2);
    if (Math.hypot(dx, dy) < r.width * 0.12) return -1;
    if (Math.abs(dx) > Math.abs(dy)) return dx < 0 ? 2 : 3;
    return dy < 0 ? 0 : 1;
  }

  function dpadSet(pointer, direction) {
    const old = dpadPointers.has(pointer) ? dpadPointers.get(pointer) : -1;
    if (direction === undefined) dpadPointers.delete(pointer);
    else dpadPointers.set(pointer, direction);
    const now = direction === undefined ? -1 : direction;
    if (now === old) return;
    const held = new Set(dpadPointers.values());
    if (old >= 0 && !held.has(old)) press(old, false, TOUCH_SOURCE + old);
    if (now >= 0) press(now, true, TOUCH_SOURCE + now);
    dpad.className = 'control ' + ['up', 'down', 'left', 'right'].filter((n, i) => held.has(i))
      .join(' ');
  }

  function aSet(pointer, down) {
    const before = aPointers.size;
    if (down) aPointers.add(pointer);
    else aPointers.delete(pointer);
    if (before === 0 && aPointers.size) press(4, true, A_SOURCE);
    if (before && aPointers.size === 0) press(4, false, A_SOURCE);
    abutton.classList.toggle('held', aPointers.size > 0);
  }

  function releaseEverything() {
    dpadPointers.clear();
    aPointers.clear();
    pads.fill(null);
    dpad.className = 'control';
    abutton.classList.remove('held');
    if (game) game._WebReleaseAll();
  }

  function tap(e) {
    if (!game || (e.pointerType === 'mouse' && e.button !== 0)) return;
    const r = canvas.getBoundingClientRect();
    const x = Math.floor((e.clientX - r.left) * WIDTH / r.width);
    const y = Math.floor((e.clientY - r.top) * HEIGHT / r.height);
    game._WebTap(x, y);
  }

  // A key also types, for the name entry: a printable character, Backspace or Enter.
  function typed(e) {
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    let c = 0;
    if (e.key === 'Backspace') c = 8;
    else if (e.key === 'Enter') c = 13;
    else if (e.key.length === 1) c = e.key.charCodeAt(0);
    if (c) game._WebTyped(c);
    if (c === 8) e.preventDefault();
  }

  function key(e, down) {
    if (!game) return;
    const i = KEYS.indexOf(e.code);
    if (i >= 0) {
      press(KEY_BUTTONS[i], down, i);  // a held key's repeats press A again, as the device did
      e.preventDefault();
    }
    if (!down) return;
    const plainKey = !e.ctrlKey && !e.metaKey && !e.altKey;
    if (e.code in PAUSE_KEYS && plainKey && !e.repeat) game._WebPause(PAUSE_KEYS[e.code]);
    typed(e);
    const plain = !e.ctrlKey && !e.metaKey && !e.altKey;
    if (e.code === 'KeyF' && plain && !e.repeat && !game._WebTakesText()) toggleFullscreen();
  }

  function toggleFullscreen() {
    const d = document;
    if (d.fullscreenElement || d.webkitFullscreenElement) {
      (d.exitFullscreen || d.webkitExitFullscreen).call(d);
      return;
    }
    const root = d.documentElement;
    const enter = root.requestFullscreen || root.webkitRequestFullscreen;
    if (!enter) return;
    Promise.resolve(enter.call(root)).then(() => {
      if (screen.orientation && screen.orientation.lock)
        return screen.orientation.lock('portrait').catch(() => {});
    }).catch(() => {});
  }

  // Gamepads are read once a frame: changes go to the game as presses, releases and stick moves.
  function pollPads() {
    const list = navigator.getGamepads ? navigator.getGamepads() : [];
    for (let i = 0; i < PADS; i++) {
      const pad = list[i];
      const old = pads[i];
      if (!pad || !pad.connected) {
        if (old) padChange(i, old, {buttons: old.buttons.map(() => false), axes: [0, 0]});
        pads[i] = null;
        continue;
      }
      const bindings = pad.mapping === 'standard' ? PAD_BUTTONS : PAD_BUTTONS.slice(4);
      const start = pad.mapping === 'standard' && !!(pad.buttons[PAD_START] &&
        pad.buttons[PAD_START].pressed);
      if (start && !(old && old.start)) game._WebPause(START_KEY);
      const now = {
        start,
        buttons: PAD_BUTTONS.map(([b]) => bindings.some(([s]) => s === b) &&
          !!(pad.buttons[b] && pad.buttons[b].pressed)),
        axes: [0, 1].map((a) => Math.round((pad.axes[a] || 0) * 32767)),
      };
      padChange(i, old || {buttons: now.buttons.map(() => false), axes: [0, 0]}, now);
      pads[i] = now;
    }
  }

  function padChange(slot, old, now) {
    PAD_BUTTONS.forEach(([, button], k) => {
      if (now.buttons[k] !== old.buttons[k]) press(button, now.buttons[k], PAD_SOURCE + 2 * slot);
    });
    for (let a = 0; a < 2; a++)
      if (now.axes[a] !== old.axes[a]) game._WebStick(PAD_SOURCE + 2 * slot + 1, a, now.axes[a]);
  }

  function storageFailed(error) {
    if (storageTold) return;
    storageTold = true;
    console.warn('murko: the browser storage failed:', error);
    tell('This browser will not keep the high scores (its storage is unavailable or full); ' +
      'the game goes on.');
  }

  // The score folder lives in IndexedDB: read before the game starts, written after each save.
  function mountScores(m) {
    try {
      m.FS.mkdirTree(SCORES);
      m.FS.mount(m.IDBFS, {}, SCORES);
    } catch (error) {
      storageFailed(error);
      return;
    }
    m.addRunDependency('scores');
    m.FS.syncfs(true, (error) => {
      if (error) storageFailed(error);
      scoresStamp = folderStamp(m);
      m.removeRunDependency('scores');
    });
  }

  function folderStamp(m) {
    try {
      return m.FS.lookupPath(SCORES).node.timestamp;
    } catch (error) {
      return 0;
    }
  }

  // A save renames a finished file into the folder, which stamps it; the change then goes to
  // IndexedDB in one transaction.
  function keepScores() {
    const stamp = folderStamp(game);
    if (stamp === scoresStamp) return;
    scoresStamp = stamp;
    if (syncing) {
      syncAgain = true;
      return;
    }
    syncing = true;
    game.FS.syncfs(false, (error) => {
      syncing = false;
      if (error) storageFailed(error);
      if (syncAgain) {
        syncAgain = false;
        scoresStamp = 0;
        keepScores();
      }
    });
  }

  // The page may be dropped: the run in progress goes to its suspend file, and the kept files go
  // to IndexedDB in one transaction asked for at once, as a page being unloaded runs no callback
  // that a whole synchronisation would wait for.
  function suspend() {
    if (!game) return;
    game._WebSuspend();
    const idbfs = game.IDBFS;
    const db = idbfs && idbfs.dbs && idbfs.dbs[SCORES];
    if (!db) return;
    try {
      const transaction = db.transaction([idbfs.DB_STORE_NAME], 'readwrite');
      const store = transaction.objectStore(idbfs.DB_STORE_NAME);
      const done = (error) => error && storageFailed(error);
      for (const name of KEPT) {
        const path = SCORES + '/' + name;
        if (game.FS.analyzePath(path).exists) {
          idbfs.loadLocalEntry(path, (error, entry) => {
            if (error) done(error);
            else idbfs.storeRemoteEntry(store, path, entry, done);
          });
        } else {
          idbfs.removeRemoteEntry(store, path, done);
        }
      }
      transaction.onerror = () => storageFailed(transaction.error);
      if (transaction.commit) transaction.commit();
      scoresStamp = folderStamp(game);
    } catch (error) {
      storageFailed(error);
    }
  }

  function audioContext() {
    return game && game.SDL2 && game.SDL2.audioContext;
  }

  // Browsers start sound only after a touch, click or key.
  function wakeSound() {
    const audio = audioContext();
    if (audio && audio.state === 'suspended' && !document.hidden) audio.resume();
  }

  function hiddenChanged() {
    const audio = audioContext();
    if (document.hidden) {
      releaseEverything();
      audioWasRunning = !!audio && audio.state === 'running';
      if (audioWasRunning) audio.suspend();
      if (game) game._WebLookedAway();
      suspend();
    } else if (audio && audioWasRunning) {
      audio.resume();
    }
  }

  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = src;
      script.onload = resolve;
      script.onerror = () => reject(new Error('cannot load ' + src));
      document.head.appendChild(script);
    });
  }

  function fetchOk(url) {
    return fetch(url).then((r) => {
      if (!r.ok) throw new Error('cannot load ' + url + ' (' + r.status + ')');
      return r;
    });
  }

  // Compiled streaming where the server names murko.wasm's type, else from its bytes.
  function compileWasm() {
    const bytes = () => fetchOk('murko.wasm').then((r) => r.arrayBuffer())
      .then((b) => WebAssembly.compile(b));
    if (!WebAssembly.compileStreaming) return bytes();
    return WebAssembly.compileStreaming(fetchOk('murko.wasm')).catch(bytes);
  }

  const ready = (typeof WebAssembly === 'object' && typeof WebAssembly.compile === 'function')
    ? Promise.all([loadScript('murko.js'), compileWasm(),
      fetchOk('murko.data').then((r) => r.arrayBuffer())])
      .then(([, compiled, data]) => {
        wasmModule = compiled;
        dataPackage = data;
      })
    : null;

  // A fresh game: its own memory and file system, the pictures and sounds at /murko.
  function newGame(options) {
    return window.createMurko(Object.assign({
      noInitialRun: true,
      instantiateWasm(imports, done) {
        WebAssembly.instantiate(wasmModule, imports).then((instance) => done(instance, wasmModule));
        return {};
      },
      getPreloadedPackage: () => dataPackage.slice(0),
    }, options));
  }

  function start() {
    return newGame({
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      preRun: [mountScores],
      murkoShow: show,
      murkoStopped: () => {
        keepScores();
        tell('Murko-Dog has ended; reload the page to play again.');
      },
      preMainLoop: pollPads,
      postMainLoop: keepScores,
    }).then((m) => {
      game = m;
      // An embedding page may set window.murkoStart = {argv, files} before this script runs.
      const custom = window.murkoStart || {};
      const argv = (custom.argv || []).map(String);
      if (!window.AudioContext && !window.webkitAudioContext) argv.push('--audio', 'nosound');
      writeFiles(m.FS, '/play', custom.files);
      m.callMain(argv);
      if ('serviceWorker' in navigator && location.protocol !== 'file:')
        navigator.serviceWorker.register('sw.js').catch((e) => console.warn('murko: offline play unavailable:', e));
    });
  }

  // A working folder holding files (name to string or Uint8Array), made the current one.
  function writeFiles(fs, dir, files) {
    fs.mkdirTree(dir);
    for (const [name, content] of Object.entries(files || {})) {
      const slash = name.lastIndexOf('/');
      if (slash > 0) fs.mkdirTree(dir + '/' + name.slice(0, slash));
      fs.writeFile(dir + '/' + name, content);
    }
    fs.chdir(dir);
  }

  // The running game's state, as the desktop's --dump-state writes it.
  window.murkoState = function () {
    if (!game || !game.ccall('WebDumpState', 'number', ['string'], ['/tmp/state.json'])) return null;
    return JSON.parse(game.FS.readFile('/tmp/state.json', {encoding: 'utf8'}));
  };

  // The files of a folder and those below it, by their names relative to it.
  function readFolder(fs, dir, prefix, out) {
    for (const name of fs.readdir(dir)) {
      if (name === '.' || name === '..') continue;
      const path = dir + '/' + name;
      const mode = fs.stat(path).mode;
      if (fs.isDir(mode)) readFolder(fs, path, prefix + name + '/', out);
      else if (fs.isFile(mode)) out[prefix + name] = fs.readFile(path);
    }
    return out;
  }

  // A headless run of a fresh game, as a process of the native program would make it:
  // argv after the program's name, files (name to string or Uint8Array) in its working folder.
  window.murkoHeadless = function (argv, files) {
    if (!ready) return Promise.reject(new Error('this browser has no WebAssembly'));
    return ready.then(() => {
      const stderr = [];
      return newGame({print: () => {}, printErr: (text) => stderr.push(text + '\n')})
        .then((m) => {
          const dir = '/run';
          writeFiles(m.FS, dir, files);
          const code = m.callMain(argv.map(String));
          return {code, stderr: stderr.join(''), files: readFolder(m.FS, dir, '', {})};
        });
    });
  };

  if (!ready) {
    canvas.style.display = 'none';
    fullscreen.style.display = 'none';
    const message = document.createElement('p');
    message.className = 'message';
    message.textContent = 'Murko-Dog needs WebAssembly, which this browser does not have. ' +
      'Any current browser plays it: Firefox, Chrome, Edge or Safari.';
    document.body.appendChild(message);
    return;
  }

  setTouch(window.matchMedia('(pointer: coarse)').matches);
  layout();
  window.addEventListener('resize', layout);
  window.addEventListener('orientationchange', layout);
  window.addEventListener('keydown', (e) => key(e, true));
  window.addEventListener('keyup', (e) => key(e, false));
  window.addEventListener('blur', releaseEverything);
  document.addEventListener('visibilitychange', hiddenChanged);
  window.addEventListener('pagehide', suspend);
  window.addEventListener('contextmenu', (e) => e.preventDefault());
  for (const type of ['pointerdown', 'pointerup', 'keydown', 'touchend'])
    window.addEventListener(type, wakeSound, true);
  window.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'touch') setTouch(true);
    if (e.pointerType === 'mouse') setTouch(false);
  }, true);
  canvas.addEventListener('pointerdown', tap);
  dpad.addEventListener('pointerdown', (e) => {
    dpad.setPointerCapture(e.pointerId);
    dpadSet(e.pointerId, dpadDirection(e));
  });
  dpad.addEventListener('pointermove', (e) => {
    if (dpadPointers.has(e.pointerId)) dpadSet(e.pointerId, dpadDirection(e));
  });
  for (const type of ['pointerup', 'pointercancel', 'lostpointercapture'])
    dpad.addEventListener(type, (e) => dpadSet(e.pointerId, undefined));
  abutton.addEventListener('pointerdown', (e) => {
    abutton.setPointerCapture(e.pointerId);
    aSet(e.pointerId, true);
  });
  for (const type of ['pointerup', 'pointercancel', 'lostpointercapture'])
    abutton.addEventListener(type, (e) => aSet(e.pointerId, false));
  fullscreen.addEventListener('click', toggleFullscreen);
  ready.then(start).catch(failed);
})();

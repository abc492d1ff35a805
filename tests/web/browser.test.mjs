// The web edition in Debian's Chromium, driven by puppeteer-core: the page, the keys, the touch
// controls, the high scores kept across a reload, offline play, and headless runs that must give
// the native program's dump and PNG byte for byte. scripts/web.sh --test runs it.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {serve} from '../../scripts/web_serve.mjs';

const env = (name) => process.env[name] || assert.fail(`${name} is not set (run scripts/web.sh --test)`);
const SITE = env('MURKO_SITE');  // build-web/site
const NATIVE = env('MURKO_NATIVE');  // the native program, with its Graph/ and Sound/ beside it
const puppeteer = createRequire(path.join(env('MURKO_NPM'), 'package.json'))('puppeteer-core');
const DATA = path.dirname(NATIVE);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const LEVEL9_LOST = '2 tap 100 200\n5 tap 100 300\n';  // seed 132: standing still, lost by frame 900

let server;
let browser;
let profile;

before(async () => {
  server = await serve(SITE);
  profile = fs.mkdtempSync(path.join(os.tmpdir(), 'murko-chromium-'));
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`],
  });
});

after(async () => {
  await browser?.close();
  server?.close();
  if (profile) fs.rmSync(profile, {recursive: true, force: true});
});

// A page in a context of its own (its own storage and service workers); console errors are kept.
async function openPage(url, viewport = {width: 480, height: 700}, start = null) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.errors = [];  // console errors, and the game's own complaints (a sound that failed)
  page.on('console', (m) => (m.type() === 'error' || m.text().startsWith('murko:')) &&
    page.errors.push(m.text()));
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.setViewport(viewport);
  if (start) await page.evaluateOnNewDocument(`window.murkoStart = ${JSON.stringify(start)};`);
  await page.goto(url);
  return page;
}

const state = (page) => page.evaluate(() => window.murkoState());

async function waitFor(page, check, what, ms = 20000) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100)) {
    const s = await state(page);
    if (s && check(s)) return s;
  }
  assert.fail(`waited ${ms} ms for ${what}`);
}

// Page coordinates of a picture pixel.
async function at(page, x, y) {
  const r = await page.$eval('#screen', (c) => c.getBoundingClientRect().toJSON());
  return [r.left + (x + 0.5) * r.width / 240, r.top + (y + 0.5) * r.height / 320];
}

// PLAY GAME, then LEVEL 1, by clicks or taps on the picture.
async function startLevel(page, press) {
  await waitFor(page, (s) => s.ScreenState === 2 && s.FrameCount > 2, 'the menu');
  await press(...await at(page, 100, 200));
  await waitFor(page, (s) => s.ScreenState === 5, 'the level list');
  await press(...await at(page, 100, 40));
  return waitFor(page, (s) => s.ScreenState === 0, 'a game');
}

// Holds each direction in turn until the dog has walked (a wall may stop him, a spider's fight
// hold him up), and tells whether he went the way held.
const STEP = {right: [1, 0], down: [0, 1], left: [-1, 0], up: [0, -1]};
async function walks(page, hold) {
  for (let turn = 0; turn < 12; turn++) {
    const [direction, [dx, dy]] = Object.entries(STEP)[turn % 4];
    const before = await waitFor(page, (s) => !s.HeroMoving && !s.FightPhase, 'a free dog');
    await hold(direction, 700);
    const now = await state(page);
    const moved = [Math.sign(now.HeroX - before.HeroX), Math.sign(now.HeroY - before.HeroY)];
    if (moved[0] || moved[1]) return moved[0] === dx && moved[1] === dy;
  }
  return false;
}

// Holds an arrow key.
const arrows = (page) => async (direction, ms) => {
  const key = 'Arrow' + direction[0].toUpperCase() + direction.slice(1);
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
};

test('the page loads without errors and shows the menu', async () => {
  const page = await openPage(server.url);
  await waitFor(page, (s) => s.ScreenState === 2 && s.FrameCount > 5, 'the menu');
  // The menu's items stand still (rows 196..302 left of the speaker): the canvas must hold them
  // as the native program draws them.
  const shot = runNative(['--headless', '--data', '.', '--frames', '5', '--screenshot', 'menu.png'], {});
  const differing = await page.evaluate(async (png) => {
    const picture = await createImageBitmap(new Blob([new Uint8Array(png)]));
    const scratch = new OffscreenCanvas(240, 320).getContext('2d');
    scratch.drawImage(picture, 0, 0);
    const want = scratch.getImageData(0, 196, 220, 107).data;
    const have = document.getElementById('screen').getContext('2d')
      .getImageData(0, 196, 220, 107).data;
    // The PNG and the screen widen RGB565 to eight bits each in their own way: compare the
    // 5, 6 and 5 bits.
    const bits = [3, 2, 3, 0];
    return want.filter((v, i) => v >> bits[i % 4] !== have[i] >> bits[i % 4]).length;
  }, [...shot.files['menu.png']]);
  assert.equal(differing, 0);
  assert.deepEqual(page.errors, []);
  await page.browserContext().close();
});

test('clicks start a game; held arrow keys and a gamepad\'s d-pad walk the dog', async () => {
  const page = await openPage(server.url);
  await startLevel(page, (x, y) => page.mouse.click(x, y));
  assert.ok(await walks(page, arrows(page)));
  // A standard gamepad stands in for the browser's: d-pad buttons 12 to 15.
  await page.evaluate(() => {
    window.pad = {connected: true, mapping: 'standard', axes: [0, 0],
      buttons: Array.from({length: 17}, () => ({pressed: false}))};
    navigator.getGamepads = () => [window.pad];
  });
  assert.ok(await walks(page, async (direction, ms) => {
    const button = 12 + ['up', 'down', 'left', 'right'].indexOf(direction);
    await page.evaluate((b) => { window.pad.buttons[b].pressed = true; }, button);
    await sleep(ms);
    await page.evaluate((b) => { window.pad.buttons[b].pressed = false; }, button);
  }));
  assert.deepEqual(page.errors, []);
  await page.browserContext().close();
});

test('storage that fails is told on the page, and the game goes on', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    indexedDB.open = () => { throw new DOMException('refused', 'SecurityError'); };
  });
  await page.goto(server.url);
  await startLevel(page, (x, y) => page.mouse.click(x, y));
  assert.match(await page.$eval('#note', (p) => p.textContent), /will not keep the high scores/);
  await context.close();
});

test('without WebAssembly the page says so', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument('delete window.WebAssembly;');
  await page.goto(server.url);
  assert.match(await page.$eval('.message', (p) => p.textContent), /needs WebAssembly/);
  await context.close();
});

test('on a phone, taps start a game, the d-pad walks and A works while it is held', async () => {
  const phone = {width: 360, height: 740, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
  const page = await openPage(server.url, phone);
  await startLevel(page, (x, y) => page.touchscreen.tap(x, y));
  const box = async (id) => page.$eval(id, (e) => e.getBoundingClientRect().toJSON());
  const dpad = await box('#dpad');
  const touch = (direction) => page.touchscreen.touchStart(
    dpad.left + dpad.width * (0.5 + 0.4 * STEP[direction][0]),
    dpad.top + dpad.height * (0.5 + 0.4 * STEP[direction][1]));
  let found = '';
  assert.ok(await walks(page, async (direction, ms) => {
    const finger = await touch(direction);
    await sleep(ms);
    await finger.end();
    found = direction;
  }));
  // With a direction held by one finger, a second finger presses A: the game sees both at once
  // (the press waits in its latch, or has opened the map for a frame).
  const held = found[0].toUpperCase() + found.slice(1) + 'Down';
  const finger = await touch(found);
  await waitFor(page, (s) => s[held] === 1, 'the direction held', 3000);
  const a = await box('#abutton');
  const thumb = await page.touchscreen.touchStart(a.left + a.width / 2, a.top + a.height / 2);
  await page.waitForFunction((held) => {
    const s = window.murkoState();
    return (s.ALatch === 1 || s.MapView === 1) && s[held] === 1;
  }, {polling: 'raf', timeout: 3000}, held);
  await thumb.end();
  await finger.end();
  await waitFor(page, (s) => s[held] === 0, 'the d-pad let go', 3000);
  assert.deepEqual(page.errors, []);
  await page.browserContext().close();
});

test('a lost game and a typed name are kept across a reload', {timeout: 120000}, async () => {
  const page = await openPage(server.url, undefined,
    {argv: ['--seed', '132', '--input', 'lost.txt'], files: {'lost.txt': LEVEL9_LOST}});
  const lost = await waitFor(page, (s) => s.ScreenState === 3, 'the name entry', 90000);
  await page.keyboard.type('WEB', {delay: 150});  // the entry takes one key a frame
  await page.keyboard.press('Enter');
  await waitFor(page, (s) => s.ScreenState === 1, 'the high-score table');
  await sleep(500);  // the save reaches IndexedDB after the frame that made it
  await page.evaluateOnNewDocument('window.murkoStart = null;');
  await page.reload();
  const kept = await waitFor(page, (s) => s.ScreenState === 2, 'the menu after the reload');
  assert.deepEqual(kept.HighScoreTable[0], {name: 'WEB', score: lost.Score});
  assert.deepEqual(page.errors, []);
  await page.browserContext().close();
});

test('a hidden tab pauses and keeps the run; a reload comes back to it; P goes on and pauses',
  async () => {
    const page = await openPage(server.url);
    await startLevel(page, (x, y) => page.mouse.click(x, y));
    assert.ok(await walks(page, arrows(page)));
    await page.evaluate(() => {  // as the browser tells a tab sent to the background
      Object.defineProperty(document, 'hidden', {value: true, configurable: true});
      document.dispatchEvent(new Event('visibilitychange'));
    });
    const left = await state(page);
    await sleep(300);
    const frozen = async (s) => assert.equal((await state(page)).FrameCount, s.FrameCount);
    await frozen(left);
    await page.reload();
    const back = await waitFor(page, (s) => s.ScreenState === 0, 'the run after the reload');
    await sleep(300);
    const run = ({FrameStartTick, ...rest}) => rest;  // all but the clock's reading
    assert.deepEqual(run(await state(page)), run(left));
    assert.deepEqual(run(back), run(left));
    await page.keyboard.press('KeyP');
    await waitFor(page, (s) => s.FrameCount > left.FrameCount, 'the run going on', 3000);
    await page.keyboard.press('KeyP');
    await sleep(100);
    const paused = await state(page);
    await sleep(300);
    await frozen(paused);
    assert.deepEqual(page.errors, []);
    await page.browserContext().close();
  });

test('after the first visit the page loads and plays offline', async () => {
  const own = await serve(SITE);  // an origin of its own, stopped halfway
  const page = await openPage(own.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  own.close();
  own.closeAllConnections();
  await page.reload();
  await startLevel(page, (x, y) => page.mouse.click(x, y));
  assert.deepEqual(page.errors, []);
  await page.browserContext().close();
});

// A run of the native program in a fresh folder holding files and the data (Graph/, Sound/);
// the same shape as murkoHeadless's answer.
function runNative(argv, files) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'murko-native-'));
  for (const folder of ['Graph', 'Sound']) fs.cpSync(path.join(DATA, folder), path.join(dir, folder), {recursive: true});
  for (const [name, content] of Object.entries(files)) fs.writeFileSync(path.join(dir, name), content);
  let code = 0;
  let stderr = '';
  try {
    execFileSync(NATIVE, argv, {cwd: dir, stdio: ['ignore', 'ignore', 'pipe']});
  } catch (error) {
    code = error.status;
    stderr = error.stderr.toString();
  }
  const out = {};
  for (const name of fs.readdirSync(dir)) {
    if (fs.statSync(path.join(dir, name)).isFile()) out[name] = fs.readFileSync(path.join(dir, name));
  }
  fs.rmSync(dir, {recursive: true, force: true});
  return {code, stderr, files: out};
}

// The data as murkoHeadless files: name to bytes.
function dataFiles() {
  const files = {};
  for (const folder of ['Graph', 'Sound'])
    for (const name of fs.readdirSync(path.join(DATA, folder)))
      if (!name.startsWith('.')) files[`${folder}/${name}`] = [...fs.readFileSync(path.join(DATA, folder, name))];
  return files;
}

// Menus (high scores, help, the speaker), a walked level 9 with a fight under way, a lost game
// whose name is typed, and a bad command line.
const RUNS = [
  ['menus', '--seed 4294967295 --frames 60', '2 tap 100 240\n10 tap 100 300\n14 tap 100 270\n20 tap 100 300\n' +
    '26 tap 100 300\n32 tap 230 310\n40 tap 100 270\n'],
  ['a fight', '--seed 132 --frames 700', LEVEL9_LOST + '10 down right\n40 up right\n41 down down\n' +
    '70 up down\n71 down left\n100 up left\n'],
  ['a name', '--seed 132 --frames 960', LEVEL9_LOST + '920 type 87\n925 type 69\n930 type 66\n' +
    '935 down a\n935 type 13\n936 up a\n'],
  ['a bad seed', '--seed x --frames 5', ''],
];

test('murkoHeadless gives the native program\'s dump and PNG', async () => {
  const page = await openPage(server.url);
  const data = dataFiles();
  for (const [what, args, script] of RUNS) {
    const argv = ['--headless', '--data', '.', ...args.split(' '), '--input', 'in.txt',
      '--dump-state', 'state.json', '--screenshot', 'shot.png'];
    const native = runNative(argv, {'in.txt': script});
    const web = await page.evaluate(async (argv, files) => {
      for (const name in files) if (Array.isArray(files[name])) files[name] = new Uint8Array(files[name]);
      const r = await window.murkoHeadless(argv, files);
      const out = {};
      for (const name of ['state.json', 'shot.png']) if (r.files[name]) out[name] = [...r.files[name]];
      return {code: r.code, stderr: r.stderr, files: out};
    }, argv, {...data, 'in.txt': script});
    assert.equal(web.code, native.code, what);
    assert.equal(web.stderr, native.stderr, what);
    for (const name of ['state.json', 'shot.png'])
      assert.ok(Buffer.from(web.files[name] || []).equals(native.files[name] || Buffer.alloc(0)),
        `${what}: ${name}`);
  }
  assert.deepEqual(page.errors, []);
  await page.browserContext().close();
});

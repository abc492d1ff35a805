// The web edition's figures (scripts/web.sh --figures): the site's transfer size with gzip, page
// load to first frame on 127.0.0.1 in headless Chromium, and headless frames a second in the page
// against the native program. Prints one Markdown table.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

import {serve} from '../scripts/web_serve.mjs';

const SITE = process.env.MURKO_SITE;
const NATIVE = process.env.MURKO_NATIVE;
const puppeteer = createRequire(path.join(process.env.MURKO_NPM, 'package.json'))('puppeteer-core');
const DATA = path.dirname(NATIVE);
const LOADS = 7;  // cold page loads timed
const FRAMES = 60000;  // frames of the headless replay
// Level 9 (250 spiders), walked, then standing in the spiders' way.
const SCRIPT = '2 tap 100 200\n5 tap 100 300\n10 down right\n40 up right\n41 down down\n70 up down\n';
const ARGS = ['--headless', '--data', '.', '--seed', '1', '--input', 'in.txt', '--frames',
  String(FRAMES)];

const REPORT = process.env.MURKO_REPORT;  // the performance report, whose web section is rewritten
const HEADING = '## Web edition';

// The report's "Web edition" section (up to the next heading of its rank) holds this run's table;
// the rest of the report stays as it is.
function writeReport(lines) {
  const old = fs.existsSync(REPORT) ? fs.readFileSync(REPORT, 'utf8') : '# Performance\n';
  const section = [HEADING, '',
    '`scripts/web.sh --figures` on the web edition: the site in `build-web/site/` served on',
    '127.0.0.1 to Debian\'s Chromium, headless; "cold" is a browser context with no cache and no',
    'service worker. The headless replay runs the same scripted level 9 (250 spiders) through',
    '`murkoHeadless` in the page and through the native program, median of three each.', '',
    ...lines, ''].join('\n');
  const start = old.indexOf(HEADING + '\n');
  let text;
  if (start < 0) {
    text = old.replace(/\n*$/, '\n\n') + section;
  } else {
    const next = old.slice(start + HEADING.length).search(/\n## /);
    const end = next < 0 ? old.length : start + HEADING.length + next + 1;
    text = old.slice(0, start) + section + (end < old.length ? '\n' + old.slice(end) : '');
  }
  fs.writeFileSync(REPORT, text);
}

const median = (values) => values.sort((a, b) => a - b)[values.length >> 1];

function transferSize() {
  let raw = 0;
  let gzipped = 0;
  const walk = (dir) => {
    for (const entry of fs.readdirSync(dir, {withFileTypes: true})) {
      const file = path.join(dir, entry.name);
      if (entry.isDirectory()) {
        walk(file);
        continue;
      }
      const bytes = fs.readFileSync(file);
      raw += bytes.length;
      gzipped += zlib.gzipSync(bytes, {level: 9}).length;
    }
  };
  walk(SITE);
  return {raw, gzipped};
}

function nativeRate() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'murko-figures-'));
  for (const folder of ['Graph', 'Sound'])
    fs.cpSync(path.join(DATA, folder), path.join(dir, folder), {recursive: true});
  fs.writeFileSync(path.join(dir, 'in.txt'), SCRIPT);
  const times = [];
  for (let i = 0; i < 3; i++) {
    const start = process.hrtime.bigint();
    execFileSync(NATIVE, ARGS, {cwd: dir, stdio: 'ignore'});
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  fs.rmSync(dir, {recursive: true, force: true});
  return FRAMES / median(times) * 1000;
}

const server = await serve(SITE);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'murko-chromium-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    `--user-data-dir=${profile}`],
});
try {
  const firstFrames = [];
  for (let i = 0; i < LOADS; i++) {
    const context = await browser.createBrowserContext();  // cold: no cache, no service worker
    const page = await context.newPage();
    await page.goto(server.url);
    await page.waitForFunction(() => window.murkoFirstFrameMs !== undefined);
    firstFrames.push(await page.evaluate(() => window.murkoFirstFrameMs));
    await context.close();
  }
  const page = await browser.newPage();
  await page.goto(server.url);
  const files = {'in.txt': SCRIPT};
  for (const folder of ['Graph', 'Sound'])
    for (const name of fs.readdirSync(path.join(DATA, folder)))
      if (!name.startsWith('.')) files[`${folder}/${name}`] = [...fs.readFileSync(path.join(DATA, folder, name))];
  const pageMs = await page.evaluate(async (argv, files) => {
    for (const name in files) if (Array.isArray(files[name])) files[name] = new Uint8Array(files[name]);
    const times = [];
    for (let i = 0; i < 3; i++) {
      const start = performance.now();
      await window.murkoHeadless(argv, files);
      times.push(performance.now() - start);
    }
    return times.sort((a, b) => a - b)[1];
  }, ARGS, files);
  const pageRate = FRAMES / pageMs * 1000;
  const nativeFrames = nativeRate();
  const size = transferSize();
  const first = median(firstFrames);
  const verdict = (ok) => (ok ? 'met' : '**missed**');
  const lines = [];
  const say = (line) => lines.push(line);
  say('| measure | this run | reference | target | verdict |');
  say('|---|---|---|---|---|');
  say(`| site transfer size, gzip -9 | ${(size.gzipped / 1024).toFixed(0)} KB | ` +
    `${(size.raw / 1024).toFixed(0)} KB unpacked | < 1024 KB | ${verdict(size.gzipped < 1048576)} |`);
  say(`| page load to first frame, 127.0.0.1, cold (median of ${LOADS}) | ` +
    `${first.toFixed(0)} ms | - | < 500 ms | ${verdict(first < 500)} |`);
  say(`| headless replay in the page, level 9 | ${pageRate.toFixed(0)} frames/s | ` +
    `native: ${nativeFrames.toFixed(0)} frames/s | >= 0.5 x native | ` +
    `${(pageRate / nativeFrames).toFixed(2)} x: ${verdict(pageRate >= nativeFrames / 2)} |`);
  say(`\nMeasured ${new Date().toISOString().slice(0, 16).replace('T', ' ')} UTC, ` +
    `${os.cpus().length} cores, load average ${os.loadavg().map((l) => l.toFixed(2)).join(' ')}.`);
  console.log(lines.join('\n'));
  if (REPORT) writeReport(lines);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, {recursive: true, force: true});
}

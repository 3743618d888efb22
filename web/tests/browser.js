// What the browser tests share: the site served on this machine, the
// system's Chromium driven by playwright-core, and a page that records
// its console, its trace lines and every request it makes.
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { chromium } = require('playwright-core');
const { serve } = require('../serve.js');

const root = path.resolve(__dirname, '../..');
const site = path.join(root, 'build-web/site');
// The face's size and its elements' places, as the build wrote them for the page.
const face = JSON.parse(fs.readFileSync(path.join(site, 'pictures/face-atlas.json'), 'utf8'));

// The middle of an element of the face, in face pixels.
function centre(name) {
  const [left, top, width, height] = face.places[name];
  return [left + Math.floor(width / 2), top + Math.floor(height / 2)];
}

function chromiumPath() {
  if (process.env.CHROMIUM) return process.env.CHROMIUM;
  for (const candidate of ['/usr/bin/chromium', '/usr/bin/chromium-browser'])
    if (fs.existsSync(candidate)) return candidate;
  return execFileSync('sh', ['-c', 'command -v chromium'], { encoding: 'utf8' }).trim();
}

// The site on a port of its own: any free one, or the first free one of
// WUFFEL_TEST_PORTS ("8610-8619") where the machine allots ports.
async function serveSite(folder = site) {
  const range = process.env.WUFFEL_TEST_PORTS;
  if (!range) return serve(folder, 0);
  const [low, high = low] = range.split('-').map(Number);
  for (let port = low; port <= high; ++port) {
    try {
      return await serve(folder, port);
    } catch (error) {
      if (error.code !== 'EADDRINUSE') throw error;
    }
  }
  throw new Error(`no free port in ${range}`);
}

// The site of `folder` (the build's own unless told) served, and Chromium.
async function start(folder = site) {
  const server = await serveSite(folder);
  const browser = await chromium.launch({ executablePath: chromiumPath() });
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {
    origin,
    browser,
    // Runs `body` in a fresh browser context, closed afterwards.
    async withContext(options, body) {
      const context = await browser.newContext(options);
      context.setDefaultTimeout(10000);
      try {
        await body(context);
      } finally {
        await context.close();
      }
    },
    async close() {
      await browser.close();
      await new Promise((resolve) => server.close(resolve));
    },
  };
}

// A page that keeps what it printed, the trace lines apart, and where it asked for things.
async function openPage(context, origin, query = '?trace') {
  const page = await context.newPage();
  const record = { errors: [], warnings: [], trace: [], foreignRequests: [] };
  page.on('console', (message) => {
    const text = message.text();
    if (message.type() === 'error') record.errors.push(text);
    else if (message.type() === 'warning') record.warnings.push(text);
    else if (/^\d+ /.test(text)) record.trace.push(text);
  });
  page.on('pageerror', (error) => record.errors.push(String(error)));
  page.on('request', (request) => {
    if (!request.url().startsWith(origin)) record.foreignRequests.push(request.url());
  });
  await page.goto(origin + '/' + query);
  return { page, record };
}

// The face point (x, y) in the page's CSS pixels.
async function onFace(page, x, y) {
  const box = await page.locator('#handheld').boundingBox();
  const [w, h] = face.face;
  return [box.x + (x + 0.5) * box.width / w, box.y + (y + 0.5) * box.height / h];
}

async function click(page, [x, y], button = 'left') {
  await page.mouse.click(...await onFace(page, x, y), { button });
}

async function play(page) {
  await page.click('#Puls_Play');
  await page.waitForFunction(() => performance.getEntriesByName('wuffel-first-face').length > 0);
}

// Waits until a trace line ends with `event`, `times` times, and returns the last.
async function traced(record, event, timeoutMs = 5000, times = 1) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const line = record.trace.filter((l) => l.endsWith(' ' + event))[times - 1];
    if (line) return line;
    if (Date.now() > end) throw new Error(`no trace line "${event}"; last: ${record.trace.slice(-5).join(' | ')}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

// The canvas's pixel at a face point, as [r, g, b].
function pixel(page, [x, y]) {
  return page.evaluate(([fx, fy]) => {
    const canvas = document.getElementById('handheld');
    const k = canvas.width / 654;
    return [...canvas.getContext('2d').getImageData(Math.round(fx * k), Math.round(fy * k), 1, 1).data].slice(0, 3);
  }, [x, y]);
}

// A face point between the holes of the speaker grille, where its glow shows.
const grille = [73, 161];

// Makes every localStorage write in the context fail, as a full or refusing store does.
function refuseStorage(context) {
  return context.addInitScript(() => {
    Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
  });
}

module.exports = { root, site, face, centre, pixel, grille, chromiumPath, serveSite, start, openPage, onFace, click, play, traced, refuseStorage };

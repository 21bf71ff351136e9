// What the page's tests share: Debian's chromium under playwright-core, the page's address, and
// the folders where the native frames are and where screenshots go (set by tests/e2e/web.sh).
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { chromium } = require('playwright-core');

const BASE_URL = process.env.VELORINE_WEB_URL || 'http://127.0.0.1:8000/';
const SHOTS = process.env.VELORINE_WEB_SHOTS || fs.mkdtempSync('/tmp/velorine-web-');
const NATIVE_FRAMES = process.env.VELORINE_NATIVE_FRAMES || '';

async function launch() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    // Root in CI cannot use chromium's sandbox; the tests stand in for the gesture sound needs.
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
  });
}

// The page in a window of the show's own size, where the canvas holds the frame at 800x600, unless
// the options say otherwise (a viewport, a deviceScaleFactor).
async function openPage(browser, query, options) {
  const page = await browser.newPage({ viewport: { width: 800, height: 600 }, ...options });
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  await page.goto(BASE_URL + 'index.html' + (query || ''));
  return { page, problems };
}

async function state(page) {
  return page.evaluate(() => window.velorine.state());
}

// Waits until the show is ready: a frame drawn (or the start screen, or an error, shown).
async function settled(page) {
  await page.waitForFunction(
    () =>
      !!window.velorine &&
      (!document.getElementById('start').hidden ||
        !document.getElementById('error').hidden ||
        window.velorine.state().framesShown > 0),
    null,
    { timeout: 60000 },
  );
}

async function screenshot(page, name) {
  const file = path.join(SHOTS, name + '.png');
  await page.screenshot({ path: file });
  return file;
}

// The canvas's own pixels as a PNG file.
async function canvasPng(page, file) {
  const url = await page.evaluate(() => document.getElementById('show').toDataURL('image/png'));
  fs.writeFileSync(file, Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
  return file;
}

// The share of pixels (in %) of two PNGs with some channel more than `levels` (2 unless given) apart.
function differingPercent(a, b, levels = 2) {
  const threshold = (((levels + 0.5) * 100) / 255).toFixed(3) + '%';
  const out = execFileSync('convert', [
    a, b, '-alpha', 'off', '-compose', 'difference', '-composite', '-separate',
    '-evaluate-sequence', 'max', '-threshold', threshold, '-format', '%[fx:mean*100]', 'info:',
  ]);
  return Number(String(out).trim());
}

// A PNG halved in each direction, each pixel the mean of the four it covers.
function halved(file, out) {
  execFileSync('convert', [file, '-filter', 'box', '-resize', '50%', out]);
  return out;
}

module.exports = {
  BASE_URL, SHOTS, NATIVE_FRAMES, launch, openPage, state, settled, screenshot, canvasPng,
  differingPercent, halved,
};

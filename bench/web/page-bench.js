// The page's budgets in headless chromium: load to first frame (a fresh page showing tick 0) and
// each played frame's update, render and putting on the canvas over the show at 800x600 (a window of
// that size, where the canvas is drawn at the show's own size).
// Prints one JSON object. Run by bench/web_bench.sh with the page served at VELORINE_WEB_URL.
'use strict';

const { chromium } = require('playwright-core');

const BASE_URL = process.env.VELORINE_WEB_URL || 'http://127.0.0.1:8000/';
const PLAY_SECONDS = Number(process.env.VELORINE_BENCH_SECONDS || 155);
const LOADS = 5;

function percentile(sorted, share) {
  return sorted[Math.min(sorted.length - 1, Math.floor(share * sorted.length))];
}

async function firstFrameMs(browser) {
  const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
  await page.goto(BASE_URL + 'index.html?at=0&paused');
  await page.waitForFunction(() => performance.getEntriesByName('velorine-first-frame').length > 0, null, {
    timeout: 60000,
  });
  const ms = await page.evaluate(() => performance.getEntriesByName('velorine-first-frame')[0].startTime);
  await page.close();
  return ms;
}

async function playedFrames(browser) {
  const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
  await page.goto(BASE_URL + 'index.html');
  await page.waitForSelector('#play');
  await page.click('#play');
  await page.waitForFunction(
    () => window.velorine.state().ended || window.velorine.state().error !== null,
    null,
    { timeout: (PLAY_SECONDS + 30) * 1000, polling: 1000 },
  ).catch(() => {});
  const result = await page.evaluate(() => ({ times: window.velorine.frameTimes(), state: window.velorine.state() }));
  await page.close();
  return result;
}

(async () => {
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
  });
  try {
    const loads = [];
    for (let i = 0; i < LOADS; i++) loads.push(await firstFrameMs(browser));
    loads.sort((a, b) => a - b);
    const played = await playedFrames(browser);
    const times = played.times.slice().sort((a, b) => a - b);
    console.log(JSON.stringify({
      firstFrameMs: { median: percentile(loads, 0.5), worst: loads[loads.length - 1] },
      frames: times.length,
      endedAt: played.state.tick,
      error: played.state.error,
      frameMs: { median: percentile(times, 0.5), p95: percentile(times, 0.95), worst: times[times.length - 1] },
    }));
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(String(error));
  process.exit(1);
});

// The page in headless chromium: the start screen, playing with the audio clock, pausing, frames
// at ticks matching the Linux tvs-render's, and a scene that fails to load.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const web = require('./browser');

// One tick in each movement of the show, the title's and the credits' text among them.
const TICKS = (process.env.KUV_E2E_TICKS || '8000,24000,45000,68000,92000,115000,135000').split(',');

let browser;
test.before(async () => {
  browser = await web.launch();
});
test.after(async () => {
  await browser.close();
});

test('the start screen appears with its play and full-screen buttons', async () => {
  const { page, problems } = await web.openPage(browser, '');
  await web.settled(page);
  assert.equal(await page.isVisible('#start'), true);
  assert.equal(await page.textContent('#start h1'), 'Velorine');
  assert.equal(await page.isVisible('#play'), true);
  assert.equal(await page.isVisible('#fullscreen'), true);
  assert.equal(await page.isVisible('#error'), false);
  const state = await web.state(page);
  assert.equal(state.playing, false);
  assert.equal(state.animation, 'MainAnim');
  await web.screenshot(page, 'start');
  assert.deepEqual(problems, []);
  await page.close();
});

test('after a click the show plays on the audio clock; a space pauses and resumes', async () => {
  const { page, problems } = await web.openPage(browser, '');
  await web.settled(page);
  await page.click('#play');
  await page.waitForFunction(() => window.velorine.state().tick > 1500, null, { timeout: 30000 });
  const first = await web.state(page);
  assert.equal(first.playing, true);
  assert.equal(await page.isVisible('#start'), false);
  // The tick is the soundtrack's position, give or take the frame being drawn.
  assert.ok(Math.abs(first.audioMs - first.tick) < 250, `tick ${first.tick} at audio ${first.audioMs} ms`);
  assert.match(await page.title(), /^Velorine: Current Frame Rate \(fps\) = [0-9.]+|inf$/);
  await page.waitForTimeout(1000);
  const later = await web.state(page);
  assert.ok(later.audioMs - first.audioMs > 500, `audio clock ${first.audioMs} -> ${later.audioMs} ms`);
  assert.ok(later.tick > first.tick, `tick ${first.tick} -> ${later.tick}`);
  await web.screenshot(page, 'playing');

  await page.keyboard.press('Space');
  const paused = await web.state(page);
  assert.equal(paused.playing, false);
  await page.waitForTimeout(500);
  assert.equal((await web.state(page)).tick, paused.tick);
  await page.keyboard.press('Space');
  await page.waitForFunction((tick) => window.velorine.state().tick > tick, paused.tick, { timeout: 10000 });
  assert.deepEqual(problems, []);
  await page.close();
});

test('frames at a tick match the Linux tvs-render', { skip: !web.NATIVE_FRAMES && 'no VELORINE_NATIVE_FRAMES' }, async (t) => {
  for (const tick of TICKS) {
    await t.test(`tick ${tick}`, async () => {
      const { page, problems } = await web.openPage(browser, `?at=${tick}&paused`);
      await web.settled(page);
      const state = await web.state(page);
      assert.equal(state.tick, Number(tick));
      assert.equal(state.playing, false);
      assert.equal(state.error, null);
      const frame = await web.canvasPng(page, path.join(web.SHOTS, `${tick}-canvas.png`));
      await web.screenshot(page, `${tick}-page`);
      const native = path.join(web.NATIVE_FRAMES, `${tick}.png`);
      assert.ok(fs.existsSync(native), `no native frame ${native}`);
      const off = web.differingPercent(native, frame);
      console.log(`tick ${tick}: ${off}% of pixels differ by more than 2 levels`);
      assert.ok(off <= 0.5, `tick ${tick}: ${off}% of pixels differ by more than 2 levels`);
      assert.deepEqual(problems, []);
      await page.close();
    });
  }
});

test('on a high-density screen the frame is drawn at device pixels, and again at a new window size', async () => {
  const tick = TICKS[0];
  const { page, problems } = await web.openPage(browser, `?at=${tick}&paused`, { deviceScaleFactor: 2 });
  await web.settled(page);
  const sharp = await web.state(page);
  assert.deepEqual([sharp.pixelWidth, sharp.pixelHeight, sharp.tick], [1600, 1200, Number(tick)]);
  const frame = await web.canvasPng(page, path.join(web.SHOTS, `${tick}-canvas-2x.png`));
  if (web.NATIVE_FRAMES) {
    // Halved, the sharp frame is the native one but for the edges that a finer grid places anew.
    const off = web.differingPercent(path.join(web.NATIVE_FRAMES, `${tick}.png`),
      web.halved(frame, path.join(web.SHOTS, `${tick}-canvas-2x-halved.png`)), 8);
    console.log(`tick ${tick} at 2x, halved: ${off}% of pixels differ by more than 8 levels`);
    assert.ok(off <= 0.5, `${off}% of pixels differ by more than 8 levels`);
  }
  // The window made smaller: once it rests, the frame is drawn at the new size, at the same tick.
  await page.setViewportSize({ width: 400, height: 400 });
  await page.waitForFunction(() => window.velorine.state().pixelWidth === 800, null, { timeout: 10000 });
  const resized = await web.state(page);
  assert.deepEqual([resized.pixelWidth, resized.pixelHeight, resized.tick], [800, 600, Number(tick)]);
  assert.deepEqual(await page.evaluate(() => [document.getElementById('show').width, document.getElementById('show').height]), [800, 600]);
  if (web.NATIVE_FRAMES) {
    // Loaded again for the new size and brought back to its tick: the frame tvs-render draws there.
    const again = await web.canvasPng(page, path.join(web.SHOTS, `${tick}-canvas-resized.png`));
    const off = web.differingPercent(path.join(web.NATIVE_FRAMES, `${tick}.png`), again);
    assert.ok(off <= 0.5, `after the resize ${off}% of pixels differ by more than 2 levels`);
  }
  assert.deepEqual(problems, []);
  await page.close();
});

test('played from near its end the show stops on the end screen, and replay starts it over', async () => {
  const { page, problems } = await web.openPage(browser, '?at=152500');
  await page.waitForSelector('#end:not([hidden])', { timeout: 30000 });
  const end = await web.state(page);
  assert.equal(end.ended, true);
  assert.equal(end.tick, 154000);
  await web.screenshot(page, 'end');
  // Replaying loads the scene again in the same module.
  await page.click('#replay');
  await page.waitForFunction(() => {
    const state = window.velorine.state();
    return state.error !== null || (state.playing && state.tick > 0);
  }, null, { timeout: 30000 });
  const again = await web.state(page);
  assert.equal(again.error, null);
  assert.ok(again.tick < 5000, `tick ${again.tick} after replay`);
  assert.equal(await page.isVisible('#end'), false);
  assert.deepEqual(problems, []);
  await page.close();
});

test('a scene that cannot be loaded shows the framed text over the page and stops', async () => {
  const { page, problems } = await web.openPage(browser, '?scene=' + encodeURIComponent('data\\nothing.tvs'));
  await web.settled(page);
  assert.equal(await page.isVisible('#error'), true);
  assert.equal(await page.isVisible('#start'), false);
  assert.equal(
    await page.textContent('#error'),
    'Parse Error:::data\\nothing.tvs : 0 : could not open the file "data\\nothing.tvs"',
  );
  const state = await web.state(page);
  assert.equal(state.playing, false);
  assert.match(state.error, /^Parse Error:::/);
  await web.screenshot(page, 'error');
  assert.deepEqual(problems, []);
  await page.close();
});

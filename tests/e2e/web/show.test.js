// The whole show played at real speed from a click (about 154 s): it ends on its last frame with
// the replay button, and replay starts it again from the beginning.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const web = require('./browser');

test('the show played from a click reaches the end screen', { timeout: 240000 }, async () => {
  const browser = await web.launch();
  try {
    const { page, problems } = await web.openPage(browser, '');
    await web.settled(page);
    await page.click('#play');
    await page.waitForSelector('#end:not([hidden])', { timeout: 200000 });
    const end = await web.state(page);
    assert.equal(end.ended, true);
    assert.equal(end.playing, false);
    assert.equal(end.tick, 154000);
    assert.equal(end.error, null);
    assert.equal(await page.isVisible('#replay'), true);
    await web.screenshot(page, 'end');

    await page.click('#replay');
    await page.waitForFunction(() => {
      const state = window.velorine.state();
      return state.playing && state.tick > 0 && state.tick < 5000;
    }, null, { timeout: 30000 });
    assert.equal(await page.isVisible('#end'), false);
    assert.deepEqual(problems, []);
  } finally {
    await browser.close();
  }
});

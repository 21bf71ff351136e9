// The page's host: the soundtrack plays through Web Audio and its clock drives the show; the
// module (velorine-web.js) draws each frame, which goes onto the canvas as it is.
(function () {
  'use strict';

  const WIDTH = 800;
  const HEIGHT = 600;
  // The frame is drawn at the canvas's size in device pixels, so that it is sharp on any screen,
  // up to twice the show's own size: beyond that a frame would take too long to draw.
  const MOST_SCALE = 2;
  const SOUNDTRACK = 'data/music/vantrel.mp3';
  const query = new URLSearchParams(location.search);
  const scene = query.get('scene') || 'data\\tessik\\postprocess.tvs';
  const canvas = document.getElementById('show');
  const canvasContext = canvas.getContext('2d');
  const panels = {
    start: document.getElementById('start'),
    end: document.getElementById('end'),
    error: document.getElementById('error'),
  };

  let module = null;
  let pixelWidth = WIDTH; // the size frames are drawn at
  let pixelHeight = HEIGHT;
  let resizeTimer = 0;
  let audio = null; // AudioContext, made on the first gesture
  let soundtrack = null; // decoded AudioBuffer
  let source = null;
  let startedAt = 0; // audio clock (s) when the source started
  let offsetMs = 0; // show position (ms) the source started from
  let playing = false;
  let failed = false;
  let framesPerSecond = 0;
  let framesShown = 0;
  // Each played frame's update, render and putting on the canvas (ms), for the benchmark; the
  // whole show has fewer than 10000 frames at 60 per second.
  const frameTimes = [];
  const FRAME_TIMES_KEPT = 20000;

  function show(panel, visible) { panels[panel].hidden = !visible; }

  function stopSource() {
    if (source) {
      source.onended = null;
      source.stop();
      source.disconnect();
      source = null;
    }
  }

  // Like the player, a failure shows its text and stops the show.
  function fail(text) {
    failed = true;
    playing = false;
    stopSource();
    show('start', false);
    show('end', false);
    panels.error.textContent = text;
    show('error', true);
  }

  function check(status) {
    if (status === 0) return true;
    fail(module.UTF8ToString(module._velorine_error()));
    return false;
  }

  function present() {
    const pixels = new Uint8ClampedArray(module.HEAPU8.buffer, module._velorine_pixels(), pixelWidth * pixelHeight * 4);
    canvasContext.putImageData(new ImageData(pixels, pixelWidth, pixelHeight), 0, 0);
    if (framesShown === 0) performance.mark('velorine-first-frame');
    framesShown += 1;
  }

  // The rate as the player writes it: 1000 / whole milliseconds, six significant digits.
  function formatRate(elapsedMs) {
    const whole = Math.floor(elapsedMs);
    return whole === 0 ? 'inf' : String(Number((1000 / whole).toPrecision(6)));
  }

  function positionMs() {
    return playing ? offsetMs + (audio.currentTime - startedAt) * 1000 : offsetMs;
  }

  function frame() {
    if (!playing || failed) return;
    const begun = performance.now();
    if (!check(module._velorine_frame(positionMs()))) return;
    present();
    const elapsed = performance.now() - begun;
    if (frameTimes.length < FRAME_TIMES_KEPT) frameTimes.push(elapsed);
    framesPerSecond = elapsed > 0 ? 1000 / elapsed : Infinity;
    document.title = 'Velorine: Current Frame Rate (fps) = ' + formatRate(elapsed);
    if (module._velorine_ended()) {
      end();
      return;
    }
    requestAnimationFrame(frame);
  }

  async function play(fromMs) {
    if (failed) return;
    if (!audio) audio = new AudioContext();
    await audio.resume();
    if (!soundtrack) {
      const response = await fetch(SOUNDTRACK);
      if (!response.ok) {
        fail('could not open the soundtrack "' + SOUNDTRACK + '"');
        return;
      }
      soundtrack = await audio.decodeAudioData(await response.arrayBuffer());
    }
    stopSource();
    source = audio.createBufferSource();
    source.buffer = soundtrack;
    source.connect(audio.destination);
    offsetMs = fromMs;
    startedAt = audio.currentTime;
    source.start(0, fromMs / 1000);
    playing = true;
    show('start', false);
    show('end', false);
    requestAnimationFrame(frame);
  }

  function pause() {
    if (!playing) return;
    offsetMs = positionMs();
    playing = false;
    stopSource();
  }

  function end() {
    playing = false;
    stopSource();
    show('end', true);
  }

  function seek(ms) {
    const wasPlaying = playing;
    pause();
    if (!check(module._velorine_seek(Math.round(ms)))) return;
    offsetMs = module._velorine_tick();
    present();
    if (wasPlaying) play(offsetMs);
  }

  // Draws at the canvas's size on the screen from now on; the show's frame is drawn again at once.
  function fitCanvas() {
    const box = canvas.getBoundingClientRect();
    const scale = Math.min(MOST_SCALE, (box.width * window.devicePixelRatio) / WIDTH);
    const width = Math.max(1, Math.round(WIDTH * scale));
    const height = Math.max(1, Math.round(HEIGHT * scale));
    if (width === pixelWidth && height === pixelHeight) return;
    if (!check(module._velorine_resize(width, height))) return;
    pixelWidth = canvas.width = width;
    pixelHeight = canvas.height = height;
    if (framesShown > 0) present();
  }

  // A window being dragged to a new size draws again once it rests: each new size loads the scene
  // again.
  function fitCanvasSoon() {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(() => {
      if (module && !failed) fitCanvas();
    }, 200);
  }

  function state() {
    return {
      tick: module ? module._velorine_tick() : 0,
      playing: playing,
      ended: module ? module._velorine_ended() === 1 : false,
      animation: module ? module.UTF8ToString(module._velorine_animation()) : '',
      framesShown: framesShown,
      framesPerSecond: framesPerSecond,
      updateMs: module ? module._velorine_update_ms() : 0,
      renderMs: module ? module._velorine_render_ms() : 0,
      pixelWidth: pixelWidth,
      pixelHeight: pixelHeight,
      audioMs: positionMs(),
      error: failed ? panels.error.textContent : null,
    };
  }

  window.velorine = { state: state, seek: seek, frameTimes: () => frameTimes.slice() };

  document.getElementById('play').addEventListener('click', () => play(offsetMs));
  document.getElementById('fullscreen').addEventListener('click', () => {
    document.documentElement.requestFullscreen().catch(() => {});
    play(offsetMs);
  });
  document.getElementById('replay').addEventListener('click', () => {
    seek(0);
    play(0);
  });
  window.addEventListener('resize', fitCanvasSoon);
  document.addEventListener('fullscreenchange', fitCanvasSoon);
  document.addEventListener('keydown', (event) => {
    if (event.code !== 'Space' || failed || !panels.start.hidden) return;
    event.preventDefault();
    if (playing) pause();
    else if (!module._velorine_ended()) play(offsetMs);
  });

  VelorineModule({
    // fontconfig reads the fonts shipped in the module's files, with Debian's rules.
    preRun: [(m) => {
      m.ENV.FONTCONFIG_FILE = '/fonts/fonts.conf';
      m.ENV.FONTCONFIG_PATH = '/fonts'; // where its conf.d is found
    }],
  }).then((loaded) => {
    module = loaded;
    fitCanvas();
    if (failed || !check(module.ccall('velorine_load', 'number', ['string'], [scene]))) return;
    const at = query.get('at');
    if (at !== null) {
      seek(Number(at));
      if (!query.has('paused')) play(offsetMs);
      return;
    }
    show('start', true);
  }, (error) => fail(String(error)));
})();

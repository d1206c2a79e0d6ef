// Measures the web page in headless Chromium (a benchmark, not a test):
// load to the first drawn frame, the bytes transferred by kind, the
// gzipped size of the program, and what runs while the page sits idle.
// Usage: node tests/web/benchmark.js build/web/site
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const browse = require('./serve');

const site = process.argv[2];
const sleep = ms => new Promise(r => setTimeout(r, ms));

// Counts timers and animation frames asked for, and notes when the face
// (the first picture of a whole-area paint) is drawn.
function probes() {
  window.bench = {asked: 0, firstFrame: 0};
  for (const name of ['setTimeout', 'setInterval', 'requestAnimationFrame']) {
    const real = window[name];
    window[name] = (...a) => (bench.asked++, real(...a));
  }
  const draw = CanvasRenderingContext2D.prototype.drawImage;
  CanvasRenderingContext2D.prototype.drawImage = function(...a) {
    if (!bench.firstFrame && this.canvas.width === a[3]) bench.firstFrame = performance.now();
    return draw.apply(this, a);
  };
}

// CPU seconds of a process and all its descendants.
function treeCpu(pid) {
  const ticks = p => {
    const stat = fs.readFileSync(`/proc/${p}/stat`, 'utf8');
    const f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    return Number(f[11]) + Number(f[12]);
  };
  let total = 0;
  for (const p of fs.readdirSync('/proc').filter(d => /^\d+$/.test(d))) {
    try {
      let q = p;
      while (q > 1 && q !== String(pid))
        q = fs.readFileSync(`/proc/${q}/stat`, 'utf8').split(') ')[1].split(' ')[1];
      if (q === String(pid)) total += ticks(p);
    } catch (e) { /* gone meanwhile */ }
  }
  return total / 100;
}

browse(site, {}, async (browser, url) => {
  // The first load starts a renderer and compiles the program from cold;
  // the next ones show what a player reloading sees, still with no cache.
  const frames = [];
  let page;
  for (let i = 0; i < 6; i++) {
    if (page) await page.close();
    page = await browser.newPage();
    await page.setCacheEnabled(false);
    await page.evaluateOnNewDocument(probes);
    await page.goto(url, {waitUntil: 'networkidle0'});
    await page.waitForFunction(() => bench.firstFrame);
    frames.push(Math.round(await page.evaluate(() => bench.firstFrame)));
  }
  console.log('load to the first drawn frame, no cache: %d ms cold, then %s ms',
              frames[0], frames.slice(1).join(', '));
  const kinds = await page.evaluate(() => {
    const bytes = {};
    for (const e of performance.getEntriesByType('resource').concat(
        performance.getEntriesByType('navigation'))) {
      const kind = e.entryType === 'navigation' ? 'html' : e.name.split('.').pop();
      bytes[kind] = (bytes[kind] || 0) + e.transferSize;
    }
    return bytes;
  });
  console.log('bytes transferred on load:', JSON.stringify(kinds));
  const gz = f => zlib.gzipSync(fs.readFileSync(path.join(site, f)), {level: 9}).length;
  console.log('quintara.wasm + quintara.js gzipped: %d bytes',
              gz('quintara.wasm') + gz('quintara.js'));

  const session = await page.createCDPSession();
  await session.send('Performance.enable');
  const task = async () => (await session.send('Performance.getMetrics')).metrics
    .find(m => m.name === 'TaskDuration').value;
  const asked = await page.evaluate(() => bench.asked);
  const [pageBefore, treeBefore] = [await task(), treeCpu(browser.process().pid)];
  await sleep(10000);
  const [pageAfter, treeAfter] = [await task(), treeCpu(browser.process().pid)];
  console.log('idle 10 s: page main thread %d ms, all of Chromium %d ms, ' +
              'timers or frames asked for: %d', Math.round(1000 * (pageAfter - pageBefore)),
              Math.round(1000 * (treeAfter - treeBefore)),
              await page.evaluate(() => bench.asked) - asked);
});

// Measures the web page in headless Chromium (a benchmark, not a test):
// load to the first drawn frame, the bytes transferred by kind, the
// gzipped size of the program, and what runs while the page sits idle; then
// a first and a repeat visit on a mid-range phone, and a first in Russian,
// Chinese and Arabic; five more pairs, in English or the language named,
// for their medians, and five of a yardstick page; Lighthouse's mobile
// audit last.
// Usage: node tests/web/benchmark.js build/web/site [?lang=ru]
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const {KnownDevices} = require('puppeteer-core');
const browse = require('./serve');
const audit = require('./lighthouse');

const [site, query = ''] = process.argv.slice(2);
const sleep = ms => new Promise(r => setTimeout(r, ms));

// Counts timers and animation frames asked for, and notes when the face
// is first painted (by the page, before the program has run), when the
// board is (the first picture the program puts over it), how far
// the layout shifts and the longest task.
function probes() {
  window.bench = {asked: 0, firstFrame: 0, face: 0, shift: 0, longest: 0};
  const observe = (type, f) => new PerformanceObserver(list => list.getEntries().forEach(f))
    .observe({type, buffered: true});
  observe('largest-contentful-paint', e => bench.face = bench.face || e.startTime);
  observe('layout-shift', e => bench.shift += e.hadRecentInput ? 0 : e.value);
  observe('longtask', e => bench.longest = Math.max(bench.longest, e.duration));
  for (const name of ['setTimeout', 'setInterval', 'requestAnimationFrame']) {
    const real = window[name];
    window[name] = (...a) => (bench.asked++, real(...a));
  }
  new MutationObserver(() => bench.firstFrame ||= document.querySelector('#quintara div img') &&
    performance.now()).observe(document, {childList: true, subtree: true});
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

// A mid-range phone: a Pixel 5's screen at a device pixel ratio of 3, its
// CPU four times slower than this machine's, on slow 4G (150 ms round trip,
// 1.6 Mbit/s down, 750 kbit/s up).
const pixel5 = KnownDevices['Pixel 5'];
const PHONE = {...pixel5, viewport: {...pixel5.viewport, deviceScaleFactor: 3}};
const SLOW_4G = {offline: false, latency: 150, downloadThroughput: 1.6 * 1024 * 1024 / 8,
                 uploadThroughput: 750 * 1024 / 8};

// A visit of the phone in context: time to the first drawn frame, and each
// file fetched up to it with the bytes received for it (headers in) and
// whether the service worker answered.
async function visit(context, url, what, query = '') {
  const page = await context.newPage();
  await page.emulate(PHONE);
  const cdp = await page.createCDPSession();
  const files = new Map();
  cdp.on('Network.responseReceived', e => files.set(e.requestId, {
    file: e.response.url.slice(url.length) || './', bytes: 0,
    worker: e.response.fromServiceWorker}));
  cdp.on('Network.loadingFinished', e => files.has(e.requestId) &&
         (files.get(e.requestId).bytes = e.encodedDataLength));
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', SLOW_4G);
  await cdp.send('Emulation.setCPUThrottlingRate', {rate: 4});
  await page.evaluateOnNewDocument(probes);
  await page.goto(url + query);
  await page.waitForFunction(() => bench.firstFrame, {timeout: 60000});
  // Then the page a moment idle, for the shifts and tasks after the frame.
  await sleep(1000);
  const [face, shift, longest] = await page.evaluate(() =>
    [bench.face, bench.shift, bench.longest]);
  const [frame, clock, before] = await page.evaluate(() => [bench.firstFrame,
    performance.timeOrigin + bench.firstFrame,
    performance.getEntriesByType('resource').filter(e => e.startTime < bench.firstFrame)
      .map(e => e.name).concat(location.href)]);
  const loaded = [...files.values()].filter(f => before.includes(url + f.file.replace('./', '')));
  console.log('phone, %s: the face at %d ms, the board at %d ms; layout shift %s, ' +
              'longest task %d ms', what, Math.round(face), Math.round(frame), shift.toFixed(3),
              Math.round(longest));
  return {page, face, frame, shift, longest, clock, loaded,
          bytes: loaded.reduce((sum, f) => sum + f.bytes, 0)};
}

// In the page: once the service worker keeps the last of its files, the
// time since the board was drawn.
async function allKept(last = '2x/SportIcons/sport7.webp') {
  await navigator.serviceWorker.ready;
  while (!await caches.match(last))
    await new Promise(r => setTimeout(r, 50));
  return performance.now() - bench.firstFrame;
}

// A first and a repeat visit of the page at url (the query in it naming the
// language), whose worker keeps last last, in a context of their own, as
// often as asked: on a busy machine one pair's figures vary by a third,
// their median much less.
async function visits(browser, url, times, what = '', last = undefined) {
  const runs = [];
  for (let i = 0; i < times; i++) {
    const context = await browser.createBrowserContext();
    const first = await visit(context, url, 'first visit' + what);
    await first.page.evaluate(allKept, last);
    await first.page.close();
    const repeat = await visit(context, url, 'repeat visit' + what);
    await repeat.page.close();
    await context.close();
    runs.push({first, repeat});
  }
  const median = (visit, key) => runs.map(r => r[visit][key]).sort((a, b) => a - b)[times >> 1];
  for (const visit of ['first', 'repeat'])
    console.log('phone, %s visit%s, median of %d: the face at %d ms, the board at %d ms; layout ' +
                'shift %s, longest task %d ms', visit, what, times,
                Math.round(median(visit, 'face')), Math.round(median(visit, 'frame')),
                median(visit, 'shift').toFixed(3), Math.round(median(visit, 'longest')));
}

async function phone(browser, url, server) {
  const context = await browser.createBrowserContext();
  const first = await visit(context, url, 'first visit');
  console.log('phone, first visit in English: the first frame at %d ms, %d bytes in %d files:',
              Math.round(first.frame), first.bytes, first.loaded.length);
  for (const f of first.loaded.sort((a, b) => b.bytes - a.bytes))
    console.log('  %s %d', f.file, f.bytes);
  // The service worker keeps what playing needs once the first frame is
  // drawn, the pictures at the page's scale once the page says which, with
  // fetches of its own, which the page's network conditions may not slow
  // (bytes as the server sent them, headers left out).
  const kept = await first.page.evaluate(allKept);
  const precache = server.sent.filter(f => f.at >= first.clock);
  const bytes = precache.reduce((sum, f) => sum + f.bytes, 0);
  console.log('phone, precache after the first frame: %d files, %d bytes, kept in %d ms ' +
              '(at least %d ms on slow 4G); first visit and precache %d bytes',
              precache.length, bytes, Math.round(kept),
              Math.round(1000 * bytes / SLOW_4G.downloadThroughput), first.bytes + bytes);
  // What the worker keeps for playing offline, as stored (the server sends
  // nothing compressed).
  console.log('phone, kept by the worker: %j', await first.page.evaluate(async () => {
    const cache = await caches.open((await caches.keys()).find(n => n.startsWith('quintara-')));
    const answers = await Promise.all((await cache.keys()).map(r => cache.match(r)));
    const sizes = await Promise.all(answers.map(a => a.blob().then(b => b.size)));
    return {files: sizes.length, bytes: sizes.reduce((sum, n) => sum + n, 0)};
  }));
  await first.page.close();
  const asked = server.sent.length;
  const repeat = await visit(context, url, 'repeat visit');
  const fromWorker = repeat.loaded.filter(f => f.worker).length;
  console.log('phone, repeat visit: the first frame at %d ms, %d of %d files from the ' +
              'service worker, %d bytes over the network, %d files asked of the server',
              Math.round(repeat.frame), fromWorker, repeat.loaded.length,
              repeat.loaded.reduce((sum, f) => sum + !f.worker * f.bytes, 0),
              server.sent.length - asked);
  await context.close();
  // Its texts, the caption-free pictures and the captions' faces and
  // letters; in Chinese and Arabic their own faces, cut to their letters.
  for (const [lang, name] of [['ru', 'Russian'], ['zh_CN', 'Chinese'], ['ar', 'Arabic']]) {
    const context = await browser.createBrowserContext();
    const other = await visit(context, url, 'first visit in ' + name, '?lang=' + lang);
    console.log('phone, first visit in %s: the first frame at %d ms, %d bytes in %d files; ' +
                'its texts and faces: %s', name, Math.round(other.frame), other.bytes,
                other.loaded.length, other.loaded.filter(f => /^(lang|fonts)\//.test(f.file))
                  .map(f => `${f.file} ${f.bytes}`).join(', '));
    await context.close();
  }
}

// The yardstick: a page of the upright face's picture alone (as the game
// area's board, for the probes), kept by a worker that answers from its
// cache as the site's does: what a visit of the phone takes before
// anything of the game has run (its "board" is when its picture's element
// is parsed). Returns the picture, which its worker keeps last.
function yardstick(server) {
  const picture = '../2x/portrait/face.webp';
  server.swap('yardstick/index.html', '<!DOCTYPE html><meta name="viewport" content="width=' +
    `device-width"><div id="quintara"><div><img src="${picture}" style="width:100%"></div>` +
    '</div><script>navigator.serviceWorker.register("sw.js")</script>');
  server.swap('yardstick/sw.js', `addEventListener('install', e => e.waitUntil(caches
    .open('yardstick').then(c => c.addAll(['./', '${picture}']))));
    addEventListener('fetch', e => e.respondWith(caches.match(e.request)
      .then(found => found || fetch(e.request))));`);
  return picture;
}

browse(site, {}, async (browser, url, server) => {
  await phone(browser, url, server);
  await visits(browser, url + query, 5, query && ' ' + query);
  await visits(browser, url + 'yardstick/', 5, ' of the yardstick', yardstick(server));
  // The first load starts a renderer and compiles the program from cold;
  // the next ones show what a player reloading sees, still with no cache
  // (and past the service worker the first one leaves).
  const frames = [];
  let page;
  for (let i = 0; i < 6; i++) {
    if (page) await page.close();
    page = await browser.newPage();
    await page.setCacheEnabled(false);
    await page.setBypassServiceWorker(true);
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
  await page.close();
  await audit(browser, url);
});

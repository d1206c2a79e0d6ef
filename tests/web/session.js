// Plays the web page in headless Chromium with the mouse and checks what it
// shows and sounds: the idle area, the colour count, the sport set, a held
// button, a game's countdown, blanking, help tab, rebuilt board and round 2,
// a refused command, cancel, a round won with keys and close; then the
// area at a device pixel ratio of 2, a game in Russian, the languages of other scripts (a game in
// Arabic and Chinese), on phones and a tablet, and offline. The page's
// interval timer is replaced by one the test ticks, and audio starts are
// counted where they happen.
'use strict';
const fs = require('fs');
const path = require('path');
const {KnownDevices} = require('puppeteer-core');
const browse = require('./serve');

const [site, out, source] = process.argv.slice(2);
// The game's facts: its controls in the window's face, texts and carried files.
const facts = JSON.parse(fs.readFileSync(path.join(source, 'src/game/facts.json'), 'utf8'));
const [face] = facts.faces;
const L = {
  ids: Object.fromEntries(facts.controls.map(c => [c.name, c.id])),
  texts: facts.texts,
  consts: {...facts.constants, WINDOW_W: face.size[0], WINDOW_H: face.size[1]},
  rect: Object.fromEntries(facts.controls.map(c => [c.id, face.controls[c.name]])),
  start: Object.fromEntries(facts.controls.filter(c => c.kind === 'Static')
    .map(c => [c.id, c.text])),
};
const id = name => L.ids[name];
const places = facts.controls.filter(c => c.kind === 'Place').map(c => String(c.id));
// Pictures and sounds by their names, as files under resources/ and the site.
const files = Object.fromEntries(facts.resources.map(r => [r.name, r.file]));
const skins = Object.fromEntries(facts.resources.filter(r => r.skin)
  .map(r => [`${r.skin} ${r.pressed ? 'Pressed' : 'Normal'}`, r.file]));
// The game's own pictures, straight from resources/.
const res = file => 'data:image/bmp;base64,' +
  fs.readFileSync(path.join(source, 'resources', file)).toString('base64');
const skin = (name, state) => res(skins[`${name} ${state}`]);
// A sound is known in the page by its length: data bytes over byte rate of
// its WAV, which the page's compressed twin lasts too.
const lengths = facts.resources.filter(r => r.sound).sort((a, b) => a.sound - b.sound).map(r => {
  const wav = fs.readFileSync(path.join(source, 'resources', r.file));
  return wav.readUInt32LE(wav.indexOf('data') + 4) / wav.readUInt32LE(28);
});
const BEEP = 8;

const check = (ok, what) => { if (!ok) throw new Error(what); };
const T = L.texts;
// What a reader hears of place k (1..16) showing colour v, in the texts t.
const placeName = (k, v, t = T) => t.NAME_PLACE.replace('%d', k)
  .replace('%s', +v ? t['NAME_COLOUR_' + v] : t.NAME_EMPTY);
const idle = '1212000000000000';
const buttons = ['QUIT', 'COLORCOUNT', 'CANCEL', 'NEWGAME', 'SPORTS', 'MINIMISE', 'HELP', 'CLOSE'];
// The buttons and the check box as a reader lists them.
async function readerNames(page) {
  const all = [], walk = n => (/^(button|checkbox)$/.test(n.role) && all.push(n.name),
                               (n.children || []).forEach(walk));
  walk(await page.accessibility.snapshot());
  return all.join('|');
}
async function until(what, probe, end = Date.now() + 15000) {
  for (let value; !(value = await probe()); await new Promise(r => setTimeout(r, 50)))
    check(Date.now() < end, 'timed out waiting for ' + what);
  return probe();
}

// Installed in the page before its own scripts.
function testHooks() {
  const ticks = new Map();
  let next = 0;
  window.setInterval = (f, ms) => (ticks.set(++next, {f, ms}), next);
  window.clearInterval = n => ticks.delete(n);
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function(...a) {
    test.starts.push(this.buffer.duration);
    test.context = this.context;
    return start.apply(this, a);
  };
  // A picture's pixels; halved, each 2 x 2 of them averaged.
  const load = async (src, half = 1) => {
    const picture = Object.assign(new Image(), {src});
    await picture.decode();
    const [w, h] = [picture.width / half, picture.height / half];
    const c = new OffscreenCanvas(w, h).getContext('2d');
    c.drawImage(picture, 0, 0, w, h);
    return c.getImageData(0, 0, w, h);
  };
  const inside = (x, y, [rx, ry, rw, rh]) => x >= rx && x < rx + rw && y >= ry && y < ry + rh;
  window.test = {
    ticks, starts: [], tick: () => [...ticks.values()].forEach(t => t.f()),
    take: async shot => { test.shot = await load(test.src = shot); },
    // Pixels of the last shot in rect that differ from src's from its point
    // at, leaving out the rectangles in skip; with ring [black, white], src
    // as it shows under the keyboard cursor.
    differ: async ([x, y, w, h], src, at, skip, ring) => {
      const picture = await load(src), shot = test.shot;
      let wrong = 0;
      for (let j = 0; j < h; j++)
        for (let i = 0; i < w; i++) {
          if (skip.some(r => inside(x + i, y + j, r))) continue;
          const a = 4 * ((y + j) * shot.width + x + i);
          const b = 4 * ((at[1] + j) * picture.width + at[0] + i);
          const band = Math.min(i, j, w - 1 - i, h - 1 - j);
          const under = ring && band < ring[0] + ring[1] ? (band < ring[0] ? 0 : 255) : -1;
          for (let c = 0; c < 3; c++)
            wrong += shot.data[a + c] !== (under < 0 ? picture.data[b + c] : under);
        }
      return wrong;
    },
    // The mean difference of each colour value of picture small and of the
    // last shot halved.
    halved: async small => {
      const [a, b] = [await load(small), await load(test.src, 2)];
      return a.data.reduce((sum, v, i) => sum + (i % 4 < 3) * Math.abs(v - b.data[i]), 0) /
             (3 * a.width * a.height);
    },
  };
}

// The page opened at a device pixel ratio or on a device, with the test's
// hooks; before gets the page first. shot(name) takes the area (saved as
// name.png) for differ; seen(name, probe) takes it until probe passes.
async function open(browser, url, scale, before = () => {}, device = null) {
  const page = await browser.newPage(), shots = {};
  await before(page);
  await (device ? page.emulate(KnownDevices[device])
         : page.setViewport({width: 800, height: 600, deviceScaleFactor: scale}));
  await page.evaluateOnNewDocument(testHooks);
  await page.goto(url);
  // Where the area is once fitted to the viewport: its controls come with
  // the first frame.
  await page.waitForSelector('#quintara .control');
  const area = await page.$eval('#quintara', e => e.getBoundingClientRect().toJSON());
  const shot = async name => {
    const png = await page.screenshot({clip: {x: area.x, y: area.y, width: L.consts.WINDOW_W,
                                              height: L.consts.WINDOW_H}});
    shots[name] = 'data:image/png;base64,' + png.toString('base64');
    fs.writeFileSync(path.join(out, name + '.png'), png);
    await page.evaluate(s => test.take(s), shots[name]);
  };
  const at = cid => [0, 1].map(i => [area.x, area.y][i] + area.width / L.consts.WINDOW_W *
                                   (L.rect[cid][i] + (L.rect[cid][i + 2] >> 1)));
  return {
    page, area, shots, at, click: cid => page.mouse.click(...at(cid)),
    seen: (name, probe) => until(name, async () => (await shot(name), probe())),
    differ: (rect, src, at = [0, 0], skip = [], ring = null) =>
      page.evaluate((...a) => test.differ(...a), rect, src, at, skip, ring),
    tick: async (n = 1) => { while (n-- > 0) await page.evaluate(() => test.tick()); },
  };
}

async function session(browser, url) {
  const faults = [], heard = [];
  const {page, area, shots, at, click, seen, differ, tick} = await open(browser, url, 1, p => {
    p.on('pageerror', e => faults.push(e.message));
    p.on('requestfailed', r => faults.push(`${r.url()}: ${r.failure().errorText}`));
    p.on('response', r => r.status() >= 400 && faults.push(r.status() + ' ' + r.url()));
    p.on('request', r => /^(data|blob):/.test(r.url()) || r.url().startsWith(url) ||
         faults.push('asked ' + r.url()));
  });
  const same = async (cid, name) => await differ(L.rect[cid], shots[name], L.rect[cid]) === 0;
  // What each place shows; place cursor (1..16) under the keyboard cursor.
  const values = async (prefix = 'COLOR_ICONS', cursor = 0) => {
    const found = [], ring = [L.consts.CURSOR_BLACK, L.consts.CURSOR_WHITE];
    for (const [k, p] of places.entries()) {
      let v = 0;
      while (v < 8 && await differ(L.rect[p], res(L.texts[prefix].replace('\\', '/') + v + '.bmp'),
                                   [0, 0], [], k + 1 === cursor ? ring : null)) v++;
      found.push(v < 8 ? v : null);
    }
    return found.join('');
  };
  // Waits for the places to show values matching pattern: those values.
  const showing = (name, pattern, ...look) =>
    seen(name, async () => (v => pattern.test(v) && v)(await values(...look)));
  const text = cid => page.$eval('#static' + cid, e => e.textContent);
  const timers = () => page.evaluate(() => [...test.ticks.values()].map(t => t.ms).join());
  // No violation of WCAG 2.2 AA that axe-core finds, on the screen as it is.
  const axe = async screen => {
    await page.addScriptTag({path: require.resolve('axe-core/axe.min.js')});
    const found = await page.evaluate(() => axe.run(document, {runOnly: {type: 'tag',
      values: ['wcag2a', 'wcag2aa', 'wcag21aa', 'wcag22aa']}}).then(r => r.violations.map(v => v.id)));
    check(found.length === 0, `axe on the ${screen} screen: ${found}`);
  };
  const heardNames = () => readerNames(page);
  const focused = () => page.evaluate(() => document.activeElement.getAttribute('aria-label'));

  // Idle: face, normal skins and the idle board pixel for pixel, the statics'
  // start texts, no timer.
  await seen('idle', async () => await differ([0, 0, L.consts.WINDOW_W, L.consts.WINDOW_H],
    res(files.BMP_FACE), [0, 0], Object.values(L.rect)) === 0 && await values() === idle);
  for (const name of Object.keys(L.ids).filter(n => skins[`${n} Normal`]))
    check(await differ(L.rect[id(name)], skin(name, 'Normal')) === 0, name + ' skin');
  for (const [cid, start] of Object.entries(L.start))
    check(await text(cid) === start, `static ${cid} reads ${await text(cid)}`);
  check(await timers() === '', 'a timer runs while idle');
  const names = [...idle].map((v, k) => placeName(k + 1, v)).concat(buttons.map(b => T['NAME_' + b]));
  check(await heardNames() === names.join('|'), 'a reader hears ' + await heardNames());
  await axe('idle');

  // The colour count goes round 3..7 and back to 2; the sport set and back.
  for (const n of '345672') {
    await click(id('ID_COLORCOUNT')), heard.push(1);
    await until('colour count ' + n, async () => await text(id('ID_BALLCOUNT')) === n);
  }
  for (const prefix of ['SPORT_ICONS', 'COLOR_ICONS']) {
    await click(id('ID_SPORTS')), heard.push(1);
    await seen(prefix, async () => await values(prefix) === idle);
  }

  // Held: the pressed picture; moved off: normal; released off: no command.
  const quit = id('ID_QUIT');
  await page.mouse.move(...at(quit));
  await page.mouse.down();
  await seen('held', async () => await differ(L.rect[quit], skin('ID_QUIT', 'Pressed')) === 0);
  await page.mouse.move(area.x + 300, area.y + 340);
  await seen('held', async () => await differ(L.rect[quit], skin('ID_QUIT', 'Normal')) === 0);
  await page.mouse.up();

  // New game: four balls of two colours, the check box greyed, the timer
  // on; a second new game is refused with the beep.
  await click(id('ID_NEWGAME'));
  const board = await showing('dealt', /^[12]{4}0{12}$/);
  check(await text(id('ID_STATUS')) === L.texts.TEXT_STUDY, 'no study phase');
  check((await heardNames()).startsWith([...board].map((v, k) => placeName(k + 1, v)).join('|')),
        'the dealt board is not heard: ' + await heardNames());
  await axe('study');
  check(!await same(id('ID_SPORTS'), 'idle'), 'the check box is not greyed');
  check(await timers() === String(L.consts.TIMER_PERIOD_MS), 'timers ' + await timers());
  await click(id('ID_NEWGAME')), heard.push(4, BEEP);

  // The countdown to 00, then the blanking.
  for (let left = 9; left >= 0; left--) {
    await tick();
    check(await text(id('ID_COUNTDOWN')) === String(left).padStart(2, '0'), 'countdown ' + left);
  }
  heard.push(7);
  check(await text(id('ID_STATUS')) === L.texts.TEXT_RESOLVE, 'no resolve phase');
  await seen('blank', async () => await values() === '0'.repeat(16));
  await axe('resolve');

  // Help opens its pages in a tab, and the clock goes on.
  await click(id('ID_HELP')), heard.push(1);
  const help = await (await until('the help tab', () =>
    browser.targets().find(t => t.url() === url + 'help/index.html'))).page();
  await until('the help page', async () => (await help.title()).includes('Quintara'));
  await help.screenshot({path: path.join(out, 'help.png')});
  await help.close();
  await tick();
  check(await text(id('ID_GAMECLOCK')) === '00:01', 'the clock stopped');

  // The board rebuilt from what was dealt wins round 2: eight places.
  for (let k = 0; k < 4; k++)
    for (let n = 0; n < board[k]; n++) await click(places[k]), heard.push(5);
  heard.push(3);
  await showing('round2', /^[12]{8}0{8}$/);
  check(await text(id('ID_ROUNDS')) === '02', 'round ' + await text(id('ID_ROUNDS')));

  // Cancel: no timer, the check box back.
  await click(id('ID_CANCEL')), heard.push(1);
  await until('the cancel', async () => await text(id('ID_STATUS')) === L.texts.TEXT_CANCELED);
  check(await timers() === '', 'a timer runs after cancel');
  await seen('canceled', () => same(id('ID_SPORTS'), 'idle'));
  await axe('ended');

  // Keys only: a new game, the cursor shown over the dealt board, the round
  // won and canceled; then a click hides the cursor.
  const key = async (name, n = 1) => {
    const [held, last] = name.includes('+') ? name.split('+') : [null, name];
    if (held) await page.keyboard.down(held);
    for (let i = 0; i < n; i++) await page.keyboard.press(last);
    if (held) await page.keyboard.up(held);
  };
  await key('F2'), await key('ArrowRight'), heard.push(4);
  await until('the study phase', async () => await text(id('ID_STATUS')) === L.texts.TEXT_STUDY);
  const dealt = await showing('keys-dealt', /^[12]{4}0{12}$/, 'COLOR_ICONS', 1);
  await tick(10);
  heard.push(7);
  for (let k = 0; k < 4; k++)
    await key('Space', +dealt[k]), await key('ArrowRight', k < 3), heard.push(...'5'.repeat(dealt[k]));
  heard.push(3);
  const round2 = await showing('keys-round2', /^[12]{8}0{8}$/, 'COLOR_ICONS', 4);
  await key('Escape'), await click(id('ID_CANCEL')), heard.push(1, BEEP);
  await seen('keys-hidden', async () => await values() === round2);

  // Tab, Shift+Tab, Enter and Space only, by ear: Tab to Start Game; the
  // dealt board is read from the places' names; the round is won, and the
  // next one runs out of time.
  for (let n = 0; n < 30 && await focused() !== T.NAME_NEWGAME; n++) await key('Tab');
  await key('Enter'), heard.push(4);
  const heardBoard = await until('the names of a dealt board', async () =>
    (v => /^[12]{4}0{12}$/.test(v) && v)((await heardNames()).split('|').slice(0, 16)
      .map(n => [1, 2].find(v => n === placeName(n.split(/[ ,]/)[1], v)) || 0).join('')));
  for (let left = 9; left >= 0; left--) await page.evaluate(() => test.tick());
  await key('Shift+Tab', 19), heard.push(7);
  for (let k = 0; k < 4; k++) {
    check(await focused() === placeName(k + 1, 0), 'focus on ' + await focused());
    await key('Space', +heardBoard[k]), await key('Tab'), heard.push(...'5'.repeat(heardBoard[k]));
  }
  await until('round 2', async () => await text(id('ID_ROUNDS')) === '02'), heard.push(3, 7, 6);
  await page.evaluate(() => { for (let t = 0; t < 10 + 299; t++) test.tick(); });
  check(await text(id('ID_STATUS')) === T.TEXT_EXPIRED, 'the time does not run out');

  // A moment after the last sound the context rests; the next one wakes it.
  const state = () => page.evaluate(() => test.context.state);
  await until('the context to rest', async () => await state() === 'suspended');
  const woken = Date.now();
  await click(id('ID_COLORCOUNT')), heard.push(1);
  await until('the context to wake', async () => await state() === 'running');
  console.log('the context woke %d ms after the click', Date.now() - woken);

  // Every sound started, in order.
  const starts = await until('the sounds', async () =>
    (s => s.length >= heard.length && s)(await page.evaluate(() => test.starts)));
  const named = starts.map(d => lengths.findIndex(l => Math.abs(l - d) < 0.002) + 1);
  check(named.join() === heard.join(), `sounds ${named}, not ${heard}`);

  // Close: the area says the game has ended; nothing runs.
  await click(id('ID_CLOSE'));
  await until('the end', () => page.$eval('#quintara', e =>
    !e.querySelector('canvas') && e.textContent.includes('Reload')));
  await page.screenshot({path: path.join(out, 'closed.png')});
  check(await timers() === '', 'a timer runs after close');
  check(faults.length === 0, 'the page: ' + faults.join('; '));
  return shots.idle;
}

// At a device pixel ratio of 2: the canvas twice the size, exactly the 2x
// pictures, like the 1x area once halved; a ball placed by a click.
async function twice(browser, url, idle) {
  const {page, seen, differ: within, click, tick} = await open(browser, url, 2);
  const [W, H] = [L.consts.WINDOW_W, L.consts.WINDOW_H];
  const rect = cid => L.rect[cid].map(v => 2 * v);
  const differ = (r, file, skip = []) => within(r, res('2x/' + file), [0, 0], skip);
  const ball = (k, v) => differ(rect(places[k]), `ColorIcons/ball${v}.bmp`);
  await seen('idle-2x', async () => await differ([0, 0, 2 * W, 2 * H], files.BMP_FACE,
    Object.keys(L.rect).map(rect)) === 0 && await ball(1, 2) === 0);
  const size = await page.$$eval('canvas', cs => [cs[0].width, cs.reduce((h, c) => h + c.height, 0)]
    .join('x'));
  check(size === `${2 * W}x${2 * H}`, 'the canvas at 2x is ' + size);
  for (const name of Object.keys(L.ids).filter(n => skins[`${n} Normal`]))
    check(await differ(rect(id(name)), skins[`${name} Normal`]) === 0, name + ' 2x skin');
  const mean = await page.evaluate(s => test.halved(s), idle);
  console.log('2x halved against 1x: mean difference %s', mean.toFixed(2));
  check(mean < 2, 'the 2x area halved is not the 1x one');

  await click(id('ID_NEWGAME'));
  await tick(10);
  await seen('blank-2x', async () => await ball(0, 0) === 0);
  await click(places[0]);
  await seen('placed-2x', async () => await ball(0, 1) === 0);
}

// A game in the language of a browser set to Russian: the page's language,
// the bare face with the captions drawn over it, the statics' and the
// reader's texts, the help (its pictures too) and the ended note, all
// Russian; ?lang= still chooses another.
async function russian(browser, url) {
  const ru = JSON.parse(fs.readFileSync(path.join(site, 'lang/ru.json'), 'utf8'));
  const R = Object.fromEntries(Object.keys(T).filter(k => !facts.untranslated.includes(k))
    .map((k, i) => [k, ru[i]]));
  const {page, seen, differ, click, tick} = await open(browser, url, 1, async p => (await p
    .createCDPSession()).send('Emulation.setUserAgentOverride',
                              {userAgent: await browser.userAgent(), acceptLanguage: 'ru-RU,ru'}));
  check(await page.evaluate(() => document.documentElement.lang) === 'ru', 'the page is not Russian');
  const [bare, hint] = [res(files.BMP_FACE_BARE),
                        facts.captions.find(c => c.text === 'CAPTION_HINT').landscape.box];
  const rooms = facts.captions.filter(c => c.landscape && !c.button)
    .map(({landscape: {box: [x, y, w, h]}}) => [x - 2, y - 2, w + 4, h + 4]);
  await seen('russian', async () => await differ([0, 0, L.consts.WINDOW_W, L.consts.WINDOW_H], bare,
    [0, 0], Object.values(L.rect).concat(rooms)) === 0 && await differ(hint, bare, hint) > 0);
  // Each caption drawn anew over its button as it is pressed, none left over.
  const captions = () => page.$$eval('#quintara svg text', texts => texts.length);
  const drawn = await captions();
  const names = [...idle].map((v, k) => placeName(k + 1, v, R)).concat(buttons.map(b => R['NAME_' + b]));
  check(await readerNames(page) === names.join('|'), 'a reader hears ' + await readerNames(page));
  // The status line at each event.
  const status = key => until(key, async () => await statics(page, id('ID_STATUS')) === R[key]);
  await status('TEXT_NO_GAME');
  await click(id('ID_NEWGAME')), await status('TEXT_STUDY');
  await tick(10), await status('TEXT_RESOLVE');
  await click(id('ID_CANCEL')), await status('TEXT_CANCELED');
  await click(id('ID_NEWGAME')), await tick(10 + 299), await status('TEXT_EXPIRED');
  check(await captions() === drawn, `${await captions()} captions, not ${drawn}`);
  await click(id('ID_HELP'));
  const help = await (await until('the Russian help', () =>
    browser.targets().find(t => t.url() === url + 'help/ru/index.html'))).page();
  await until('its page in Russian, with its pictures', async () => /[а-я]/.test(await help.title()) &&
    help.evaluate(() => document.documentElement.lang === 'ru' &&
                        [...document.images].every(i => i.complete && i.naturalWidth)));
  await help.close();
  await click(id('ID_CLOSE'));
  await until('the end', () => page.$eval('#quintara', (e, t) => e.textContent === t,
                                          R.TEXT_ENDED + ' ' + R.TEXT_RELOAD));
  await page.goto(url + '?lang=uk');
  await until('Ukrainian', () => page.evaluate(() => document.documentElement.lang === 'uk'));
  await page.close();
  // The long pseudo language: every caption and static fitted, none said
  // (on the console) to be too long, in the window at 1x and 2x, upright
  // and sideways.
  for (const [scale, device] of [[1], [2], [3, 'iPhone 13'], [3, 'iPhone 13 landscape']]) {
    const said = [];
    const {page: p, click: c, tick: t} = await open(browser, url + '?lang=qps-ploc', scale,
      q => q.on('console', m => said.push(m.text())), device);
    await c(id('ID_NEWGAME')), await t(10), await c(id('ID_CANCEL'));
    await until('the pseudo language', () => p.evaluate(() => document.documentElement.lang));
    check(!said.some(m => m.includes('does not fit')), said.join('\n'));
    await p.close();
  }
}

// The languages of other scripts at 1x and 2x and on a phone upright and
// sideways, each in its own type: no text reported too long for its room,
// Arabic's statics read right to left (not the game area), its captions
// joined and begun at the right. A game
// in Arabic and in Chinese: the status line, reader names and help.
async function otherScripts(browser, url) {
  for (const lang of ['ar', 'zh_CN', 'zh_TW', 'ja', 'ko', 'hi'])
    for (const [scale, device] of [[1], [2], [3, 'iPhone 13'], [3, 'iPhone 13 landscape']]) {
      const said = [], texts = JSON.parse(fs.readFileSync(path.join(site, `lang/${lang}.json`)));
      const R = Object.fromEntries(Object.keys(T).filter(k => !facts.untranslated.includes(k))
        .map((k, i) => [k, texts[i]]));
      const {page, click} = await open(browser, url + '?lang=' + lang, scale,
                                       p => p.on('console', m => said.push(m.text())), device);
      const status = key => until(key, async () => await statics(page, id('ID_STATUS')) === R[key]);
      await status('TEXT_NO_GAME');
      const rtl = await page.$eval('#static' + id('ID_STATUS'), e => getComputedStyle(e).direction +
        getComputedStyle(document.querySelector('canvas')).direction);
      check(rtl === (lang === 'ar' ? 'rtlltr' : 'ltrltr') && !said.join().includes('does not fit'),
            `${lang} at ${scale}x: ${rtl} ${said}`);
      if (lang === 'ar' && scale === 1)
        check(await page.evaluate(joinedFromTheRight, R.TEXT_NO_GAME.split(' ').pop()),
              'Arabic unjoined or left to right');
      if (scale === 1 && (lang === 'ar' || lang === 'zh_CN')) {
        await click(id('ID_NEWGAME')), await status('TEXT_STUDY');
        check((await readerNames(page)).endsWith(buttons.map(b => R['NAME_' + b]).join('|')),
              'a reader hears ' + await readerNames(page));
        await click(id('ID_HELP'));
        await (await until('the help', () => browser.targets()
          .find(t => t.url() === `${url}help/${lang}/index.html`))).page().then(p => p.close());
      }
      await page.close();
    }
}

// Whether the Arabic face draws word joined (narrower than its letters
// apart) and from the right: its right end as without its last letter.
async function joinedFromTheRight(word) {
  const font = 'bold 24px "Quintara ar"', c = new OffscreenCanvas(300, 40).getContext('2d');
  await document.fonts.load(font, word);
  const ink = text => {
    c.clearRect(0, 0, 300, 40);
    Object.assign(c, {font, direction: 'rtl', textAlign: 'right'}).fillText(text, 290, 30);
    const {data} = c.getImageData(0, 0, 300, 40);
    return [...Array(300)].map((_, x) => data.filter((v, i) => i % 1200 === 4 * x + 3 && v > 128).length);
  };
  const width = text => (xs => xs.pop() - xs[0])(ink(text).flatMap((n, x) => n ? [x] : []));
  const right = 290 - (width(word[0]) >> 1);
  return width(word) < [...word].reduce((sum, l) => sum + width(l), 0) &&
    ink(word).slice(right).join() === ink(word.slice(0, -1)).slice(right).join();
}

const statics = (page, cid) => page.$eval('#static' + cid, e => e.textContent);
// A new game and its first round won by press(control), the dealt board
// read from the places' names; meanwhile() runs while the board is shown.
async function roundWon(page, press, tick, meanwhile = () => {}) {
  await press(id('ID_NEWGAME'));
  await until('a game', async () => await statics(page, id('ID_STATUS')) === L.texts.TEXT_STUDY);
  const label = k => page.$eval('#control' + places[k], e => e.getAttribute('aria-label'));
  const board = [];
  for (let k = 0; k < 4; k++) board.push(placeName(k + 1, 2) === await label(k) ? 2 : 1);
  await meanwhile();
  await tick(10);
  for (let k = 0; k < 4; k++) for (let n = 0; n < board[k]; n++) await press(places[k]);
  await until('round 2', async () => await statics(page, id('ID_ROUNDS')) === '02');
}

// Once the service worker has kept the site, a new release (its cache
// renamed, its page changed) takes the old one's place on the next loads,
// its cache the only one. Then, with the server stopped: the new page
// starts, and a round is won with its sounds.
async function offline(browser, url, {stop, swap}) {
  const {page: online} = await open(browser, url, 1);
  await online.evaluate(() => navigator.serviceWorker.ready);
  const [sw, html] = ['sw.js', 'index.html'].map(f => fs.readFileSync(path.join(site, f), 'utf8'));
  swap('sw.js', sw.replace(/quintara-[^']+/, 'quintara-next'));
  swap('index.html', html.replace('<title>', '<!-- next --><title>'));
  // The browser looks for a new worker a moment after a load (asked at
  // once here, as a busy machine may make that moment long); it takes over
  // once the old one has finished what it was doing, at times only when
  // that one is stopped for its idle half minute. The page is the new one
  // from the load after (or that one already, if the old worker's cache
  // was gone when it loaded).
  const release = p => p.evaluate(async () =>
    (await caches.keys()).join() + (document.head.innerHTML.includes('next') ? ', new page' : ''));
  await online.reload();
  await online.evaluate(() => navigator.serviceWorker.ready.then(r => r.update()));
  await until('the next release', async () => /^quintara-next(, new page)?$/.test(
    await release(online)), Date.now() + 60000);
  await online.reload();
  check(await release(online) === 'quintara-next, new page', 'reloaded: ' + await release(online));
  // The pictures at the page's scale are kept once the page has said which.
  await until('the pictures kept', () => online.evaluate(() => caches.match('SportIcons/sport7.webp')));
  stop();
  const {page, click, tick} = await open(browser, url, 1);
  check(await release(page) === 'quintara-next, new page', 'offline: ' + await release(page));
  await roundWon(page, click, tick);
  const starts = await until('the sounds', () => page.evaluate(() => test.starts.length && test.starts));
  check(starts.some(d => Math.abs(d - lengths[2]) < 0.002), 'no round-won sound offline');
}

// Phones upright and sideways and a tablet: the area as large as the
// viewport takes, inside it, nothing to scroll, a canvas pixel a device
// pixel; installable; text of 12 CSS px at least; places of 64 CSS px and
// other controls of 44 at least, upright (the tablet too) and sideways. By
// touch: a held button pressed, a second finger ignored, a slide off
// cancels; a round won by taps, two quick ones on a place two clicks, a
// phone turned while it is dealt, either way.
async function phones(browser, url) {
  const turned = {'iPhone 13': 'iPhone 13 landscape', 'Pixel 5 landscape': 'Pixel 5'};
  for (const device of ['iPhone 13', 'Galaxy S8', 'iPhone 13 landscape', 'Pixel 5',
                        'Pixel 5 landscape', 'iPad Mini']) {
    const {page, tick} = await open(browser, url, 1, () => {}, device);
    const fitted = () => until('the area on a ' + device, () => page.evaluate(() => {
      const cs = [...document.querySelectorAll('canvas')];
      const a = document.getElementById('quintara').getBoundingClientRect();
      const [w, h, d] = [innerWidth, innerHeight, document.documentElement];
      return cs.length && d.scrollWidth <= w && d.scrollHeight <= h && a.left >= 0 && a.top >= 0 &&
        a.right <= w && a.bottom <= h && (w - a.width < 1 || h - a.height < 1) &&
        cs[0].width === Math.round(a.width * devicePixelRatio) &&
        cs.reduce((sum, c) => sum + c.height, 0) === Math.round(a.height * devicePixelRatio) &&
        `${a.width}x${a.height}`;
    }));
    // The smallest side of a place and of another control, and the smallest
    // text, in CSS px.
    const sizes = () => page.evaluate(() => {
      const side = e => Math.min(e.getBoundingClientRect().width, e.getBoundingClientRect().height);
      const controls = [...document.querySelectorAll('.control')];
      const place = e => /^Place/.test(e.getAttribute('aria-label'));
      const fonts = [...document.querySelectorAll('[id^=static]')]
        .map(e => parseFloat(getComputedStyle(e).fontSize));
      return [Math.min(...controls.filter(place).map(side)),
              Math.min(...controls.filter(e => !place(e)).map(side)), Math.min(...fonts)];
    });
    const upright = () => page.evaluate(() => innerHeight > innerWidth);
    console.log('%s: the area %s CSS px; smallest place, control and text %j', device,
                await fitted(), await sizes());
    const [place, control, text] = await sizes();
    check(text >= 12 && place >= 64 && control >= 44, 'too small: ' + [place, control, text]);
    const cdp = await page.createCDPSession();
    const {installabilityErrors: errors} = await cdp.send('Page.getInstallabilityErrors');
    check(errors.length === 0, 'not installable: ' + JSON.stringify(errors));
    // A control's middle and its pixels on the screen, taken without
    // resizing the view (which lets go of the touches).
    const box = cid => page.$eval(`#control${cid}, #static${cid}`,
                                  e => e.getBoundingClientRect().toJSON());
    const at = async cid => (b => [b.x + b.width / 2, b.y + b.height / 2])(await box(cid));
    const look = async cid => (await page.screenshot({captureBeyondViewport: false,
                                                      clip: await box(cid)})).toString('base64');
    const [quit, touch, idle] = [id('ID_QUIT'), page.touchscreen, await look(id('ID_QUIT'))];
    const held = await touch.touchStart(...await at(quit));
    const second = await touch.touchStart(...await at(id('ID_NEWGAME')));
    await until('Quit held', async () => await look(quit) !== idle);
    await second.move(...await at(quit)), await second.end();
    await held.move(...await at(id('ID_ROUNDS'))), await held.end();
    await until('Quit let go', async () => await look(quit) === idle);
    check(await statics(page, id('ID_STATUS')) === L.start[id('ID_STATUS')], 'a second finger counted');
    // Turned while the board is shown: the other face, the same round,
    // countdown and board.
    const turn = !turned[device] ? () => {} : async () => {
      const shown = () => page.$$eval('[aria-label]', es => es.map(e => e.getAttribute('aria-label') +
                                                              e.textContent).join());
      const [before, was] = [await shown(), await upright()];
      await page.emulate(KnownDevices[turned[device]]);
      console.log('turned: the area %s CSS px', await fitted());
      check(await upright() !== was && await shown() === before, 'turning lost the round');
    };
    await roundWon(page, async cid => touch.tap(...await at(cid)), tick, turn);
    await page.screenshot({path: path.join(out, device.replace(/ /g, '-') + '.png')});
    await page.close();
  }
}

async function main() {
  // A fresh profile: no service worker of an earlier build's site.
  fs.rmSync(path.join(out, 'profile'), {recursive: true, force: true});
  fs.mkdirSync(out, {recursive: true});
  try {
    await browse(site, {userDataDir: path.join(out, 'profile'),
                        args: ['--force-color-profile=srgb']},
                 async (browser, url, server) => {
                   await twice(browser, url, await session(browser, url));
                   await russian(browser, url);
                   await otherScripts(browser, url);
                   await phones(browser, url);
                   await offline(browser, url, server);
                 });
    console.log('screenshots in', out);
  } catch (e) {
    console.log('FAILED:', e.message);
    process.exitCode = 1;
  }
}

main();

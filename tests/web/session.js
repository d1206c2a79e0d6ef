// Plays the web page in headless Chromium with the mouse and checks what it
// shows and sounds: the idle area, the colour count, the sport set, a held
// button, a game's countdown, blanking, help tab, rebuilt board and round 2,
// a refused command, cancel and close. The page's interval timer is replaced
// by one the test ticks, and audio starts are counted where they happen.
'use strict';
const {execFileSync, spawn} = require('child_process');
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [site, out, source] = process.argv.slice(2);
const L = JSON.parse(execFileSync('python3', ['-c', `import json, sys
sys.path.insert(0, sys.argv[1]); import layout as l
print(json.dumps(dict(ids=l.IDS, texts=l.TEXTS, consts=l.CONSTS,
  rect={c.id: [c.x, c.y, c.w, c.h] for c in l.CONTROLS},
  start={c.id: c.text for c in l.CONTROLS if c.kind == "Static"})))`,
  path.join(source, 'tools', 'assets')]));
const id = name => L.ids[name];
const places = [...Array(L.consts.PLACES).keys()].map(k => 1450 + 50 * k);
// Skin pictures and sounds by the names the Linux program embeds them under.
const files = {};
for (const line of fs.readFileSync(
    path.join(source, 'src/shell/sdl/embedded.txt'), 'utf8').split('\n')) {
  const m = line.match(/^(\S+) (\S+)$/);
  if (m) files[m[1]] = m[2];
}
const skin = (name, state) => files[`skin${state}(${name})`];
// A sound is known in the page by its length: data bytes over byte rate.
const lengths = [...Array(9).keys()].slice(1).map(k => {
  const wav = fs.readFileSync(path.join(site, files[k <= 7 ? `soundResource(${k})` : 'WAVE_ALERT']));
  return wav.readUInt32LE(wav.indexOf('data') + 4) / wav.readUInt32LE(28);
});

class Failure extends Error {}
const check = (ok, what) => { if (!ok) throw new Failure(what); };
const sleep = ms => new Promise(r => setTimeout(r, ms));
async function until(what, probe, timeout = 15000) {
  for (const end = Date.now() + timeout; ; await sleep(50)) {
    const value = await probe();
    if (value) return value;
    if (Date.now() > end) throw new Failure('timed out waiting for ' + what);
  }
}

// Installed in the page before its own scripts.
function testHooks() {
  const ticks = new Map();
  let next = 1;
  window.setInterval = (f, ms) => (ticks.set(next, {f, ms}), next++);
  window.clearInterval = n => ticks.delete(n);
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function(...a) {
    test.starts.push(this.buffer.duration);
    return start.apply(this, a);
  };
  const load = async src => {
    const picture = new Image();
    picture.src = src;
    await picture.decode();
    const c = new OffscreenCanvas(picture.width, picture.height).getContext('2d');
    c.drawImage(picture, 0, 0);
    return c.getImageData(0, 0, picture.width, picture.height);
  };
  const inside = (x, y, [rx, ry, rw, rh]) => x >= rx && x < rx + rw && y >= ry && y < ry + rh;
  window.test = {
    ticks, starts: [], tick: () => [...ticks.values()].forEach(t => t.f()),
    take: async shot => { test.shot = await load(shot); },
    // Pixels of the last shot in rect that differ from src's at offset
    // (from), leaving out the rectangles in skip.
    differ: async ([x, y, w, h], src, from = [0, 0], skip = []) => {
      const picture = await load(src), shot = test.shot;
      let wrong = 0;
      for (let j = 0; j < h; j++)
        for (let i = 0; i < w; i++) {
          if (skip.some(r => inside(x + i, y + j, r))) continue;
          const a = 4 * ((y + j) * shot.width + x + i);
          const b = 4 * ((from[1] + j) * picture.width + from[0] + i);
          for (let c = 0; c < 3; c++) wrong += shot.data[a + c] !== picture.data[b + c];
        }
      return wrong;
    },
  };
}

async function session(browser, url) {
  const page = await browser.newPage();
  const faults = [];
  page.on('pageerror', e => faults.push(e.message));
  page.on('requestfailed', r => faults.push('failed ' + r.url() + ' ' + r.method() + ' ' + r.failure().errorText));
  page.on('response', r => r.status() >= 400 && faults.push(r.status() + ' ' + r.url()));
  page.on('request', r => /^(data:|blob:)/.test(r.url()) || r.url().startsWith(url) ||
                          faults.push('asked ' + r.url()));
  await page.setViewport({width: 800, height: 600});
  await page.evaluateOnNewDocument(testHooks);
  await page.goto(url);
  const area = await page.$eval('#quintara', e => e.getBoundingClientRect().toJSON());
  const shots = {};
  const shot = async name => {
    const png = await page.screenshot({clip: {x: area.x, y: area.y, width: L.consts.WINDOW_W,
                                              height: L.consts.WINDOW_H}});
    shots[name] = 'data:image/png;base64,' + png.toString('base64');
    fs.writeFileSync(path.join(out, name + '.png'), png);
    await page.evaluate(s => test.take(s), shots[name]);
  };
  const differ = (rect, src, from, skip) => page.evaluate(
    (...a) => test.differ(...a), rect, src, from || [0, 0], skip || []);
  const same = async (cid, name) => await differ(L.rect[cid], shots[name], L.rect[cid]) === 0;
  const values = async (prefix = 'COLOR_ICONS') => {
    const folder = L.texts[prefix].replace('\\', '/');
    const found = [];
    for (const p of places) {
      let v = 0;
      while (v < 8 && await differ(L.rect[p], `${folder}${v}.bmp`)) v++;
      found.push(v < 8 ? v : null);
    }
    return found;
  };
  const text = cid => page.$eval('#static' + cid, e => e.textContent);
  const at = cid => [area.x + L.rect[cid][0] + (L.rect[cid][2] >> 1),
                     area.y + L.rect[cid][1] + (L.rect[cid][3] >> 1)];
  const click = async cid => { await page.mouse.click(...at(cid)); };
  const timers = () => page.evaluate(() => [...test.ticks.values()].map(t => t.ms));
  const idleBoard = JSON.stringify([1, 2, 1, 2].concat(Array(12).fill(0)));
  const heard = [];
  const hear = (...ks) => heard.push(...ks);

  // Idle: face, normal skins and the idle board pixel for pixel; the statics'
  // start texts; no timer.
  const started = Date.now();
  await until('the idle area', async () => {
    await shot('idle');
    return await differ([0, 0, L.consts.WINDOW_W, L.consts.WINDOW_H], files.BMP_FACE,
                        [0, 0], Object.values(L.rect)) === 0 &&
      JSON.stringify(await values()) === idleBoard;
  });
  console.log('load to the idle area: %d ms', Date.now() - started);
  for (const name of Object.keys(L.ids).filter(n => skin(n, 'Normal')))
    check(await differ(L.rect[id(name)], skin(name, 'Normal')) === 0, name + ' skin');
  for (const [cid, start] of Object.entries(L.start))
    check(await text(cid) === start, `static ${cid} reads ${await text(cid)}`);
  check((await timers()).length === 0, 'a timer runs while idle');

  // The colour count goes round 3..7 and back to 2.
  for (const n of ['3', '4', '5', '6', '7', '2']) {
    await click(id('ID_COLORCOUNT'));
    await until('colour count ' + n, async () => await text(id('ID_BALLCOUNT')) === n);
    hear(1);
  }

  // The sport set and back.
  for (const prefix of ['SPORT_ICONS', 'COLOR_ICONS']) {
    await click(id('ID_SPORTS'));
    hear(1);
    await until(prefix, async () => (await shot(prefix), JSON.stringify(await values(prefix)) === idleBoard));
  }

  // Held: the pressed picture; moved off: normal; released off: no command.
  await page.mouse.move(...at(id('ID_QUIT')));
  await page.mouse.down();
  await until('the pressed Quit', async () => (await shot('held'),
    await differ(L.rect[id('ID_QUIT')], skin('ID_QUIT', 'Pressed')) === 0));
  await page.mouse.move(area.x + 300, area.y + 340);
  await until('the normal Quit', async () => (await shot('held'),
    await differ(L.rect[id('ID_QUIT')], skin('ID_QUIT', 'Normal')) === 0));
  await page.mouse.up();

  // New game: four balls of two colours, the check box greyed, the timer on;
  // a second new game is refused with the beep.
  await click(id('ID_NEWGAME'));
  hear(4);
  let board;
  await until('the dealt board', async () => {
    await shot('dealt');
    board = await values();
    return board.slice(0, 4).every(v => v >= 1 && v <= 2) && !board.slice(4).some(v => v);
  });
  check(await text(id('ID_STATUS')) === L.texts.TEXT_STUDY, 'status ' + await text(id('ID_STATUS')));
  check(!await same(id('ID_SPORTS'), 'idle'), 'the check box is not greyed');
  check(JSON.stringify(await timers()) === `[${L.consts.TIMER_PERIOD_MS}]`, 'timers ' + await timers());
  await click(id('ID_NEWGAME'));
  hear(8);

  // The countdown to 00, then the blanking.
  for (let left = 9; left >= 0; left--) {
    await page.evaluate(() => test.tick());
    check(await text(id('ID_COUNTDOWN')) === String(left).padStart(2, '0'), 'countdown at ' + left);
  }
  hear(7);
  check(await text(id('ID_STATUS')) === L.texts.TEXT_RESOLVE, 'no resolve phase');
  await until('the blanking', async () => (await shot('blank'),
    JSON.stringify(await values()) === JSON.stringify(Array(16).fill(0))));

  // Help opens its pages in a tab, and the clock goes on.
  await click(id('ID_HELP'));
  hear(1);
  const tab = await until('the help tab', () => browser.targets().find(
    t => t.url() === url + 'help/index.html'));
  const help = await tab.page();
  await until('the help page', async () => (await help.title()).includes('Quintara'));
  await help.screenshot({path: path.join(out, 'help.png')});
  await help.close();
  await page.evaluate(() => test.tick());
  check(await text(id('ID_GAMECLOCK')) === '00:01', 'the clock stopped');

  // The board rebuilt from what was dealt wins round 2: eight places.
  for (let k = 0; k < 4; k++)
    for (let n = 0; n < board[k]; n++) {
      await click(places[k]);
      hear(5);
    }
  hear(3);
  await until('round 2', async () => {
    await shot('round2');
    const v = await values();
    return v.slice(0, 8).every(x => x >= 1 && x <= 2) && !v.slice(8).some(x => x);
  });
  check(await text(id('ID_ROUNDS')) === '02', 'round ' + await text(id('ID_ROUNDS')));

  // Cancel: no timer, the check box back.
  await click(id('ID_CANCEL'));
  hear(1);
  await until('the cancel', async () => await text(id('ID_STATUS')) === L.texts.TEXT_CANCELED);
  check((await timers()).length === 0, 'a timer runs after cancel');
  await until('the check box', async () => (await shot('canceled'), await same(id('ID_SPORTS'), 'idle')));

  // Every sound started, in order.
  const expected = heard.map(k => lengths[k - 1]);
  await until('the sounds', async () => (await page.evaluate(() => test.starts)).length >= expected.length);
  const starts = await page.evaluate(() => test.starts);
  const named = starts.map(d => lengths.findIndex(l => Math.abs(l - d) < 0.002) + 1);
  check(JSON.stringify(named) === JSON.stringify(heard), `sounds ${named}, not ${heard}`);

  // Close: the area says the game has ended; nothing runs.
  await click(id('ID_CLOSE'));
  await until('the end', () => page.$eval('#quintara', e => !e.querySelector('canvas') &&
                                          e.textContent.includes('Reload')));
  await page.screenshot({path: path.join(out, 'closed.png')});
  check((await timers()).length === 0, 'a timer runs after close');
  check(faults.length === 0, 'the page: ' + faults.join('; '));
}

async function main() {
  fs.mkdirSync(out, {recursive: true});
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1'],
                       {cwd: site, stdio: ['ignore', 'pipe', 'ignore']});
  const port = await new Promise(resolve => server.stdout.on('data', d => {
    const m = String(d).match(/port (\d+)/);
    if (m) resolve(m[1]);
  }));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', userDataDir: path.join(out, 'profile'),
    args: ['--no-sandbox', '--force-color-profile=srgb', '--mute-audio']});
  try {
    await session(browser, `http://127.0.0.1:${port}/`);
    console.log('screenshots in', out);
  } catch (e) {
    console.log('FAILED:', e.message);
    process.exitCode = 1;
  } finally {
    await browser.close();
    server.kill();
  }
}

main();

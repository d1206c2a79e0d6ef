// The page's side of the shell (linked with --js-library): the canvas and
// text elements of the game area, the pointer and the keys, the one-second
// timer, Web Audio and the help. shell.cpp calls these; they call back its
// quintara* exports.
mergeInto(LibraryManager.library, {
  $Q: {
    // The Linux program's fonts: the status line in DejaVu Sans 8 pt, a
    // little narrowed, the other statics in DejaVu Sans Bold 9 pt.
    guiFont: '10.667px "DejaVu Sans"',
    guiNarrow: 0.875,
    systemFont: 'bold 12px "DejaVu Sans"',
    // The browser puts the bold line's baseline a pixel above where
    // SDL_ttf does (at the ascent rounded up).
    systemDrop: '1px',
    area: null, canvas: null, ctx: null, w: 0, h: 0,
    faces: [],  // the window's face and the upright one, each [w, h]
    portrait: null,  // whether the upright face is drawn, once fitted
    layer: null,  // the elements over the canvas
    arranged: {},  // each control's element, its font and its rectangle, by id
    ratio: 0,  // canvas pixels per pixel of the control table, once fitted
    fits: 0,
    art: 1,  // the scale of the pictures drawn, the nearest at or above it
    preloads: [[], []],  // each face's own pictures: [1x name, whether a pressed look]
    pictures: {},  // those loaded, by their names at their scale
    latest: {},  // the newest draw request of each rectangle
    statics: {},  // the statics' text elements, by id
    controls: {},  // the buttons and the check box, by id
    elements: [],  // every control's element, in reading order
    urls: [],  // sound k's file, the beep last
    audio: null, ready: null, playing: {}, resting: 0,
    timer: 0,
    pointer: null,  // the pointer held down on the area, by its id
    ended: false,
    listeners: [],
    // The name of a picture at the scale drawn: 2x/buttons/quit.webp.
    scaled: function(url, art = Q.art) { return art > 1 ? art + 'x/' + url : url; },
    picture: function(url) {
      if (!Q.pictures[url])
        Q.pictures[url] = Object.assign(new Image(), {src: url});
      return Q.pictures[url].decode().catch(() => null);
    },
    // The area at the largest size the body's box (the viewport less its
    // safe-area insets) takes in whole device pixels, its shape kept; but
    // for a touch screen (a coarse pointer) at most its own size, as on a
    // desktop, whose mouse a headless browser does not report. A room taller
    // than wide gets the upright face where that is drawn larger: always on
    // one narrower than the window's face (a phone held upright), and on a
    // tablet held upright. The canvas has a pixel per device pixel, once
    // the pictures of its face and scale are in: between 1x and 2x the 2x
    // ones are shrunk smoothly. Only the newest of overlapping fits is
    // applied, and none that changes nothing; whether this one was.
    fit: function() {
      const dpr = window.devicePixelRatio || 1, body = document.body;
      const pad = getComputedStyle(body), px = side => parseFloat(pad['padding' + side]);
      const room = [body.clientWidth - px('Left') - px('Right'),
                    body.clientHeight - px('Top') - px('Bottom')];
      const most = matchMedia('(pointer: coarse)').matches ? Infinity : dpr;
      // Below a quarter of its size nothing in it can be told apart anyway.
      const [landscape, upright] = Q.faces.map(([w, h]) => Math.max(dpr / 4, Math.min(
        most, Math.floor(room[0] * dpr) / w, Math.floor(room[1] * dpr) / h)));
      const portrait = room[1] > room[0] && upright > landscape;
      const [[w, h], ratio] = [Q.faces[+portrait], portrait ? upright : landscape];
      const art = _quintaraArtwork(ratio), fitting = ++Q.fits;
      if (ratio === Q.ratio && portrait === Q.portrait) return Promise.resolve(false);
      // The pressed looks show only once a control is held: they follow the
      // frame drawn.
      const [shown, pressed] = [false, true].map(looks => Q.preloads[+portrait]
        .filter(([, held]) => held === looks).map(([url]) => Q.scaled(url, art)));
      return Promise.all(shown.map(Q.picture)).then(() => {
        setTimeout(() => pressed.forEach(Q.picture));
        if (fitting !== Q.fits) return false;
        if (portrait !== Q.portrait) {
          [Q.portrait, Q.w, Q.h] = [portrait, w, h];
          _quintaraFace(portrait);
        }
        Q.ratio = ratio;
        Q.art = art;
        const size = [w, h].map(n => Math.round(n * ratio));
        [Q.canvas.width, Q.canvas.height] = size;
        const css = size.map(n => n / dpr + 'px');
        for (const element of [Q.area, Q.canvas, Q.layer])
          Object.assign(element.style, {width: css[0], height: css[1]});
        Q.arrange([size[0] / dpr / w, size[1] / dpr / h]);
        Q.ctx.imageSmoothingQuality = 'high';
        return true;
      });
    },
    // The elements over their pictures at zoom CSS pixels a pixel of the
    // control table, their text in fonts of that many times the size: the
    // browser's own text, as large as a reader's tools measure it. On a touch
    // screen no text is smaller than a phone's legible least; a line that
    // would be keeps its width, narrowed.
    arrange: function(zoom) {
      const least = matchMedia('(pointer: coarse)').matches ? 12 : 0;
      Object.values(Q.arranged).forEach(([element, font, rect, line]) => {
        const [x, y, w, h] = rect;
        Object.assign(element.style, {left: x * zoom[0] + 'px', top: y * zoom[1] + 'px',
                                      width: w * zoom[0] + 'px', height: h * zoom[1] + 'px'});
        if (!font) return;
        const natural = parseFloat(font.match(/[\d.]+(?=px)/)[0]) * zoom[1];
        const size = Math.max(natural, least);
        const narrow = (font === Q.guiFont ? Q.guiNarrow : 1) * natural / size;
        element.style.font = font.replace(/[\d.]+px/, size + 'px');
        Object.assign(line.style, narrow === 1 ? {display: '', transform: ''}
                      : {display: 'inline-block', transform: `scaleX(${narrow})`});
        if (font === Q.systemFont)
          element.style.paddingTop = parseFloat(Q.systemDrop) * zoom[1] + 'px';
      });
    },
    // Again whenever the room or the ratio changes (a turned phone, the
    // browser's zoom, another screen), keeping what the game shows.
    refit: function() {
      if (!Q.ended) Q.fit().then(fitted => fitted && !Q.ended && _quintaraShow());
    },
    at: function(e) {
      const r = Q.canvas.getBoundingClientRect();
      return [Math.floor((e.clientX - r.left) * Q.w / r.width),
              Math.floor((e.clientY - r.top) * Q.h / r.height)];
    },
    listen: function(target, type, handler) {
      target.addEventListener(type, handler);
      Q.listeners.push([target, type, handler]);
    },
    // Audio may only start after a gesture: the first press makes the
    // context and fetches the sounds.
    unlockAudio: function() {
      if (Q.audio) return;
      Q.audio = new AudioContext();
      Q.ready = Promise.all(Q.urls.map(url => fetch(url)
        .then(r => r.arrayBuffer())
        .then(bytes => Q.audio.decodeAudioData(bytes))
        .catch(() => null)));
      Q.rest();
    },
    // A second after the last sound the context is suspended, and with it
    // the browser's audio thread and the sound card.
    rest: function() {
      clearTimeout(Q.resting);
      Q.resting = setTimeout(() => Q.ended || Q.audio.suspend(), 1000);
    },
    showError: function(title, text) {
      const box = document.createElement('dialog');
      const heading = document.createElement('h2');
      const message = document.createElement('p');
      const ok = document.createElement('button');
      heading.textContent = title;
      message.textContent = text;
      ok.textContent = 'OK';
      ok.onclick = () => box.remove();
      box.append(heading, message, ok);
      document.body.append(box);
      // Not modal: the game and its clock go on behind the box.
      box.show();
      ok.focus();
    },
  },

  // The element of a control over its picture, named for readers: a
  // see-through button (or check box) that the keyboard reaches with Tab and
  // clicks with Space or Enter, or a static's text in its white box.
  pageAddControl__deps: ['$Q'],
  pageAddControl: function(id, role, gui, text, name) {
    role = UTF8ToString(role);
    const at = {position: 'absolute', boxSizing: 'border-box'};
    if (role === 'button' || role === 'checkbox') {
      const button = document.createElement('button');
      button.type = 'button';
      button.id = 'control' + id;
      button.className = 'control';
      if (role === 'checkbox') button.setAttribute('role', role);
      button.setAttribute('aria-label', UTF8ToString(name));
      Object.assign(button.style, at);
      // Keyboard clicks only: the pointer's presses are the game area's.
      button.addEventListener('click', e => e.detail || Q.ended || _quintaraCommand(id));
      Q.controls[id] = button;
      Q.elements.push(button);
      Q.arranged[id] = [button, null];
      return;
    }
    const box = document.createElement('div');
    const line = document.createElement('span');
    box.id = 'static' + id;
    box.setAttribute('role', role);
    box.setAttribute('aria-label', UTF8ToString(name));
    Object.assign(box.style, at, {
      overflow: 'hidden', whiteSpace: 'pre',
      background: '#fff', color: '#000', pointerEvents: 'none',
    });
    line.style.transformOrigin = '0 0';
    line.textContent = UTF8ToString(text);
    box.append(line);
    Q.statics[id] = line;
    Q.elements.push(box);
    Q.arranged[id] = [box, gui ? Q.guiFont : Q.systemFont, null, line];
  },

  // Where a control's element lies in the face drawn, in its pixels.
  pageArrange__deps: ['$Q'],
  pageArrange: function(id, x, y, w, h) { Q.arranged[id][2] = [x, y, w, h]; },

  // Only a new text is written, so that a reader hears each status once.
  pageSetText__deps: ['$Q'],
  pageSetText: function(id, text) {
    text = UTF8ToString(text);
    if (Q.statics[id] && Q.statics[id].textContent !== text)
      Q.statics[id].textContent = text;
  },

  pageDescribe__deps: ['$Q'],
  pageDescribe: function(id, name, ticked, enabled) {
    const button = Q.controls[id];
    if (!button) return;
    const set = (attribute, value) => button.getAttribute(attribute) === value ||
                                      button.setAttribute(attribute, value);
    set('aria-label', UTF8ToString(name));
    if (button.getAttribute('role') !== 'checkbox') return;
    set('aria-checked', ticked ? 'true' : 'false');
    set('aria-disabled', enabled ? 'false' : 'true');
  },

  pagePreload__deps: ['$Q'],
  pagePreload: function(url, portrait, pressed) {
    Q.preloads[+portrait].push([UTF8ToString(url), !!pressed]);
  },

  pageSound__deps: ['$Q'],
  pageSound: function(k, url) { Q.urls[k] = UTF8ToString(url); },

  pageStart__deps: ['$Q'],
  pageStart: function(w, h, portraitW, portraitH) {
    Q.area = document.getElementById('quintara');
    Q.canvas = document.createElement('canvas');
    // The picture of what the elements over it say.
    Q.canvas.setAttribute('aria-hidden', 'true');
    Q.faces = [[w, h], [portraitW, portraitH]];
    Q.canvas.style.display = 'block';
    Q.ctx = Q.canvas.getContext('2d');
    Q.layer = document.createElement('div');
    Object.assign(Q.layer.style, {position: 'absolute', left: 0, top: 0});
    Q.area.style.position = 'relative';
    // The area takes the mouse from its first frame on.
    const fonts = [Q.guiFont, Q.systemFont].map(f => document.fonts.load(f));
    Promise.all(fonts.concat(Q.fit())).then(() => {
      Q.layer.append(...Q.elements);
      Q.area.replaceChildren(Q.canvas, Q.layer);
      _quintaraShow();
      // Every file of the site kept for playing offline, where the browser
      // allows workers (not for a page opened as a file); fetched after the
      // first frame, which they would slow down.
      if (navigator.serviceWorker) navigator.serviceWorker.register('sw.js').catch(() => {});
      Q.listen(window, 'resize', Q.refit);
      Q.listen(matchMedia('(pointer: coarse)'), 'change', Q.refit);
      const dpr = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`)
        .addEventListener('change', () => Q.ended || (Q.refit(), dpr()), {once: true});
      dpr();
      // One pointer at a time, as one mouse: its left button, a finger or a
      // pen. A second finger while one is down is ignored; a press the
      // browser takes over is let go off every control.
      Q.listen(Q.area, 'pointerdown', e => {
        if (e.button !== 0 || Q.pointer !== null) return;
        e.preventDefault();
        Q.pointer = e.pointerId;
        Q.unlockAudio();
        _quintaraPress(...Q.at(e));
      });
      Q.listen(window, 'pointermove', e => {
        if (e.pointerId === Q.pointer) _quintaraMove(...Q.at(e));
      });
      const up = e => {
        if (e.pointerId !== Q.pointer) return;
        Q.pointer = null;
        e.type === 'pointerup' ? _quintaraRelease(...Q.at(e)) : _quintaraRelease(-1, -1);
      };
      Q.listen(window, 'pointerup', up);
      Q.listen(window, 'pointercancel', up);
      // No long-press menu over the game.
      Q.listen(Q.area, 'contextmenu', e => e.preventDefault());
      // The page's keys, but not those of the help error box, nor Space and
      // Enter on a control reached with Tab, which click it.
      Q.listen(window, 'keydown', e => {
        if (e.target.closest && e.target.closest('dialog')) return;
        Q.unlockAudio();
        if (e.target.className === 'control' && (e.key === ' ' || e.key === 'Enter'))
          return;
        if (_quintaraKey(e.keyCode, e.ctrlKey, e.altKey, e.metaKey))
          e.preventDefault();
      });
    });
  },

  // Every rectangle below is in the canvas's own pixels.
  pageFill__deps: ['$Q'],
  pageFill: function(x, y, w, h, r, g, b) {
    if (Q.ended) return;
    Q.ctx.fillStyle = 'rgb(' + r + ',' + g + ',' + b + ')';
    Q.ctx.fillRect(x, y, w, h);
  },

  pageRatio__deps: ['$Q'],
  pageRatio: function() { return Q.ratio; },

  // Draws the picture at url, at the scale drawn, stretched over the
  // rectangle: at once for the face, skins and check box, when it has loaded
  // for a place, which is then finished by the painter. A place without its
  // picture of that scale gets the 1x one; without either, its stand-in,
  // unless it was drawn anew meanwhile.
  pagePicture__deps: ['$Q'],
  pagePicture: function(x, y, w, h, url, place, smooth) {
    const key = x + ',' + y;
    const request = (Q.latest[key] || 0) + 1;
    Q.latest[key] = request;
    url = UTF8ToString(url);
    const draw = picture => {
      Q.ctx.imageSmoothingEnabled = !!smooth;
      Q.ctx.drawImage(picture, x, y, w, h);
    };
    if (!place) {
      const loaded = Q.pictures[Q.scaled(url)];
      if (loaded && loaded.naturalWidth) draw(loaded);
      return;
    }
    // Not once the area is fitted anew (its canvas resized): the rectangle
    // is of the old size, and the painter asks again for the new one.
    const size = Q.canvas.width + 'x' + Q.canvas.height;
    const current = () => !Q.ended && Q.latest[key] === request &&
                          Q.canvas.width + 'x' + Q.canvas.height === size;
    const load = urls => {
      const picture = new Image();
      picture.onload = () => {
        if (!current()) return;
        draw(picture);
        _quintaraLoaded(place, 1);
      };
      picture.onerror = () => urls.length > 1 ? load(urls.slice(1))
                                              : current() && _quintaraLoaded(place, 0);
      picture.src = urls[0];
    };
    load(Q.art > 1 ? [Q.scaled(url), url] : [url]);
  },

  // The number on a stand-in disc, centred in the rectangle.
  pageNumber__deps: ['$Q'],
  pageNumber: function(x, y, w, h, text, black) {
    const ctx = Q.ctx;
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
    ctx.translate(x + w / 2, y + h / 2);
    ctx.scale(Q.guiNarrow * Q.ratio, Q.ratio);
    ctx.font = Q.guiFont;
    ctx.fillStyle = black ? '#000' : '#fff';
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.fillText(UTF8ToString(text), 0, 0);
    ctx.restore();
  },

  // A stop drops a tick not yet run; a start waits a full period.
  pageTimer__deps: ['$Q'],
  pageTimer: function(period) {
    clearInterval(Q.timer);
    Q.timer = period ? setInterval(() => _quintaraTick(), period) : 0;
  },

  // The game's sounds share one voice, so a new one cuts off the one
  // playing; the beep has a voice of its own. Sounds start in the order
  // asked for, also while the first fetch is still under way.
  pagePlay__deps: ['$Q'],
  pagePlay: function(k, beep) {
    if (!Q.ready) return;
    Q.ready.then(buffers => {
      if (Q.ended || !buffers[k]) return;
      const voice = beep ? 'beep' : 'game';
      if (Q.playing[voice]) Q.playing[voice].stop();
      clearTimeout(Q.resting);
      // A source started while the context resumes plays from its start.
      Q.audio.resume();
      const source = Q.audio.createBufferSource();
      source.buffer = buffers[k];
      source.connect(Q.audio.destination);
      source.onended = () => {
        if (Q.playing[voice] === source) delete Q.playing[voice];
        if (!Object.keys(Q.playing).length) Q.rest();
      };
      source.start();
      Q.playing[voice] = source;
    });
  },

  // The help pages in a new tab; the error box when the browser opens none
  // or the pages are not there.
  pageHelp__deps: ['$Q'],
  pageHelp: function(url, title, text) {
    url = UTF8ToString(url);
    const fail = () => Q.showError(UTF8ToString(title), UTF8ToString(text));
    const tab = window.open(url, '_blank');
    if (!tab) return fail();
    fetch(url).then(r => r.ok, () => false).then(ok => {
      if (ok) return;
      tab.close();
      fail();
    });
  },

  // The game area says that the game has ended; nothing runs any more.
  pageEnd__deps: ['$Q'],
  pageEnd: function() {
    Q.ended = true;
    clearInterval(Q.timer);
    if (Q.audio) {
      Object.values(Q.playing).forEach(source => source.stop());
      Q.audio.close();
    }
    Q.listeners.forEach(([target, type, handler]) =>
      target.removeEventListener(type, handler));
    const note = document.createElement('p');
    const again = document.createElement('a');
    note.className = 'ended';
    note.textContent = 'Quintara has ended. ';
    again.href = '';
    again.textContent = 'Reload the page to play again.';
    note.append(again);
    Q.area.replaceChildren(note);
  },
});

// The page's side of the shell (linked with --js-library): the canvas and
// text elements of the game area, the pointer and the keys, the one-second
// timer, Web Audio and the help. shell.cpp calls the page* functions; they
// call back its quintara* exports. Their state lies in a few named objects,
// one a part of the page: Page (its life and its listeners), Area (the game
// area fitted to the room), Controls (the elements over the canvas),
// Pictures (drawing), Input, Sounds and Fonts.
mergeInto(LibraryManager.library, {
  // The game running in the page: whether it has ended, the listeners it
  // added (each {target, type, handler}) and its timer.
  $Page: {
    ended: false,
    // Whether the language in use reads right to left: its texts' elements
    // say so, the game area stays as it is.
    rightToLeft: false,
    listeners: [],
    timer: 0,
    // A promise kept in a task of its own, of a high priority where the
    // browser has them: the page starts in such steps, so that a slow phone
    // is not held up long by any one of them.
    later: () => window.scheduler && scheduler.yield ? scheduler.yield()
                                                     : new Promise(resolve => setTimeout(resolve)),
    listen: function(target, type, handler) {
      target.addEventListener(type, handler);
      Page.listeners.push({target, type, handler});
    },
    showError: function(title, text, okText) {
      const box = document.createElement('dialog');
      if (Page.rightToLeft) box.dir = 'rtl';
      const heading = document.createElement('h2');
      const message = document.createElement('p');
      const ok = document.createElement('button');
      heading.textContent = title;
      message.textContent = text;
      ok.textContent = okText;
      ok.onclick = () => box.remove();
      box.append(heading, message, ok);
      document.body.append(box);
      // Not modal: the game and its clock go on behind the box.
      box.show();
      ok.focus();
    },
  },

  // The player's languages, most wanted first, as a list gettext reads
  // ("ru-RU:ru:en"): the page's ?lang= alone where it names one, else the
  // browser's.
  pagePreferences: function() {
    const named = new URLSearchParams(location.search).get('lang');
    return allocateUTF8((named ? [named] : navigator.languages || [navigator.language]).join(':'));
  },

  // The language the program chose ("pt_BR"): its texts fetched and handed
  // to the program, the page's language said and the language's own face
  // put in use where the site has one, then the game begun. English is the
  // program's own; where the texts cannot be had it stays in use.
  pageLanguage__deps: ['$Page', '$Fonts', '$Pictures', 'malloc'],
  pageLanguage: function(code, rightToLeft) {
    code = UTF8ToString(code);
    if (code === 'en') return Page.later().then(_quintaraBegin);
    // The caption-free pictures, as the language's texts will most likely
    // be had, fetched meanwhile.
    Pictures.words = false;
    Page.later().then(Pictures.warm);
    fetch('lang/' + code + '.json').then(r => r.json()).then(texts => {
      const table = _malloc(4 * texts.length);
      texts.forEach((text, i) => {
        const kept = allocateUTF8(text);
        HEAPU32[(table >> 2) + i] = kept;
      });
      if (!_quintaraTexts(table, texts.length)) return Pictures.words = true;
      document.documentElement.lang = code.replace('_', '-');
      Page.rightToLeft = rightToLeft;
      const own = 'Quintara ' + code;
      if ([...document.fonts].some(face => face.family.replace(/"/g, '') === own)) Fonts.use(own);
      Fonts.sample = texts.join('');
    }).catch(() => Pictures.words = true).then(() => _quintaraBegin());
  },

  // The Linux program's fonts: the status line in DejaVu Sans 8 pt, a
  // little narrowed, the other statics in DejaVu Sans Bold 9 pt; the
  // browser's own faces for the letters DejaVu lacks.
  $Fonts: {
    gui: '10.667px "DejaVu Sans", sans-serif',
    guiNarrow: 0.875,
    system: 'bold 12px "DejaVu Sans", sans-serif',
    // The browser puts the bold line's baseline a pixel above where
    // SDL_ttf does (at the ascent rounded up).
    systemDrop: 1,
    // The texts in use, whose glyphs the first frame waits for; empty in
    // English, which draws no captions.
    sample: '',
    size: font => parseFloat(font.match(/[\d.]+(?=px)/)[0]),
    // A canvas of its own to measure texts on: they come before the game
    // area's.
    measure: null,
    measuring: () => Fonts.measure ||= document.createElement('canvas').getContext('2d'),
    caption: (font, size) => ['bold ', 'bold ', 'italic '][font] + size + 'px ' +
        ['"DejaVu Sans"', '"DejaVu Sans Condensed"', '"DejaVu Sans"'][font] + ', sans-serif',
    // A language's own face (Chinese, Arabic, ...) before DejaVu in every
    // text but the numbers (whose boxes its taller lines would cut); its
    // captions neither condensed nor slanted, as such type is not usual in
    // these scripts.
    use: function(family) {
      const own = `"${family}", "DejaVu Sans"`;
      Fonts.gui = Fonts.gui.replace('"DejaVu Sans"', own);
      Fonts.caption = (font, size) => ['bold ', 'bold ', ''][font] + size + 'px ' + own +
          ', sans-serif';
      document.body.style.fontFamily = own + ', sans-serif';
    },
  },

  // ---- Fitting: the game area, its canvas and the layer of elements over
  // it, drawn in one of the faces at a ratio that fits the room.
  $Area__deps: ['$Page', '$Controls', '$Pictures'],
  $Area: {
    element: null, layer: null,
    // The pictures are images of the page, which the browser scales and
    // puts together off the main thread: the face's under the whole area,
    // and the others over it, each by its rectangle ("x,y,w,h") in their
    // layer.
    backdrop: null,
    pictures: null,
    placed: {},
    // Over them the captions, text of the page in an SVG picture of the
    // area's pixels, each by its baseline's left end (its "at"), which the
    // browser draws at a fraction of a canvas's cost.
    captions: null,
    svg: tag => document.createElementNS('http://www.w3.org/2000/svg', tag),
    // Over them, what else is drawn (a stand-in, the keyboard cursor) on a
    // canvas in strips across the area, each {canvas, ctx, top}: a browser
    // takes a canvas's memory when it is first drawn on, and copies all of
    // it to the screen when any of it changes, which for a phone's whole
    // screen holds up the page for a moment. A strip has a context (ctx)
    // only once drawn on: one never drawn on costs nothing.
    strips: [],
    size: [0, 0],  // the canvas's, in its pixels, a pixel per device pixel
    dpr: 1,  // device pixels per CSS pixel, as fitted
    shown: [],  // the faces this pointer may show, by index
    faces: [],  // the faces in the order of facts.json's, each {w, h}
    face: null,  // the one drawn, once fitted
    ratio: 0,  // canvas pixels per pixel of the control table, once fitted
    art: 1,  // the scale of the pictures drawn, the nearest at or above it
    fits: 0,
    // The area fitted as the page fits it before the program has run
    // (quintaraFit in index.html). The canvas has a pixel per device pixel,
    // once the pictures of its face and scale are in: between 1x and 2x the
    // 2x ones are shrunk smoothly. Only the newest of overlapping fits is
    // applied, and none that changes nothing; whether this one was.
    fit: function() {
      const dpr = window.devicePixelRatio || 1;
      const {index, shown: faces, face, ratio, size, css} = quintaraFit(Area.faces);
      const art = _quintaraArtwork(ratio), fitting = ++Area.fits;
      if (ratio === Area.ratio && face === Area.face) return Promise.resolve(false);
      return Pictures.each(Pictures.of(index, art)[0]).then(() => {
        if (fitting !== Area.fits) return false;
        if (face !== Area.face) {
          Area.face = face;
          _quintaraFace(index);
        }
        Area.ratio = ratio;
        Area.art = art;
        Area.shown = faces;
        Area.size = size;
        Area.dpr = dpr;
        Area.strips = Area.cut(size, dpr);
        Area.pictures = document.createElement('div');
        Area.placed = {};
        Area.captions = Area.svg('svg');
        Area.captions.setAttribute('viewBox', `0 0 ${size[0]} ${size[1]}`);
        for (const element of [Area.element, Area.pictures, Area.captions, Area.layer])
          Object.assign(element.style, {width: css[0], height: css[1]});
        for (const element of [Area.pictures, Area.captions]) {
          Object.assign(element.style, {position: 'absolute', left: 0, top: 0});
          // The pictures of what the elements over them say.
          element.setAttribute('aria-hidden', 'true');
        }
        // The face shown stays where it is: put in again it would be
        // painted anew.
        for (const child of [...Area.element.childNodes])
          if (child !== Area.backdrop) child.remove();
        Area.element.append(Area.pictures, Area.captions, ...Area.strips.map(s => s.canvas),
                            Area.layer);
        Controls.arrange({x: size[0] / dpr / face.w, y: size[1] / dpr / face.h});
        return true;
      });
    },
    // Strips of some 64 rows, about a caption's height at 3x, so that the
    // captions take little more memory than their own rows; whole CSS
    // pixels high where the ratio allows, so that none is drawn between
    // device pixels, resampled.
    cut: function([w, h], dpr) {
      let step = 1;
      while (step < 32 && Math.abs(step / dpr - Math.round(step / dpr)) > 1e-6) step++;
      if (step === 32) step = 1;
      const rows = step * Math.ceil(64 / step);
      const strips = [];
      for (let top = 0; top < h; top += rows) {
        const canvas = document.createElement('canvas');
        [canvas.width, canvas.height] = [w, Math.min(rows, h - top)];
        // The picture of what the elements over it say.
        canvas.setAttribute('aria-hidden', 'true');
        Object.assign(canvas.style, {position: 'absolute', left: 0, top: top / dpr + 'px',
                                     width: w / dpr + 'px', height: canvas.height / dpr + 'px'});
        strips.push({canvas, ctx: null, top});
      }
      return strips;
    },
    // draw(ctx) in the area's pixels, on the strips its rows from top to
    // bottom cross; clearing, only on those drawn on before.
    paint: function(top, bottom, draw, clearing = false) {
      for (const strip of Area.strips) {
        if (strip.top >= bottom || strip.top + strip.canvas.height <= top) continue;
        if (!strip.ctx) {
          if (clearing) continue;
          strip.ctx = strip.canvas.getContext('2d');
        }
        strip.ctx.save();
        strip.ctx.translate(0, -strip.top);
        draw(strip.ctx);
        strip.ctx.restore();
      }
    },
    // A picture over the rectangle, and nothing drawn over it: the loaded
    // image itself, which needs no fetching nor decoding again; a copy of it
    // where it is shown already.
    place: function(picture, x, y, w, h) {
      const key = [x, y, w, h].join(), old = Area.placed[key];
      if (old !== picture) {
        if (picture.parentNode === Area.pictures) picture = picture.cloneNode();
        const css = n => n / Area.dpr + 'px';
        Object.assign(picture.style, {position: 'absolute', left: css(x), top: css(y),
                                      width: css(w), height: css(h)});
        old ? old.replaceWith(picture) : Area.pictures.append(picture);
        Area.placed[key] = picture;
      }
      for (const caption of [...Area.captions.children]) {
        const [cx, cy] = caption.at;
        if (cx >= x && cx < x + w && cy >= y && cy < y + h) caption.remove();
      }
      Area.paint(y, y + h, ctx => ctx.clearRect(x, y, w, h), true);
    },
    // The face's picture under the whole area, and nothing drawn over it.
    under: function(picture) {
      Area.captions.replaceChildren();
      Area.paint(0, Area.size[1], ctx => ctx.clearRect(0, 0, ...Area.size), true);
      Object.assign(picture.style, {position: 'absolute', left: 0, top: 0, display: 'block',
                                    width: '100%', height: '100%'});
      if (Area.backdrop !== picture) Area.backdrop.replaceWith(picture);
      Area.backdrop = picture;
    },
    // What the game shows drawn in the area as fitted; then the pressed
    // looks of its face fetched, which show only once a control is held.
    draw: function() {
      _quintaraShow();
      Pictures.each(Pictures.of(Area.faces.indexOf(Area.face), Area.art)[1]);
    },
    // Fitted anew, keeping what the game shows.
    refit: function() {
      if (!Page.ended) Area.fit().then(fitted => fitted && !Page.ended && Area.draw());
    },
    // Whenever the room or the ratio changes: a turned phone, the browser's
    // zoom, another screen.
    watch: function() {
      Page.listen(window, 'resize', Area.refit);
      Page.listen(matchMedia('(pointer: coarse)'), 'change', Area.refit);
      const dpr = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`)
        .addEventListener('change', () => Page.ended || (Area.refit(), dpr()), {once: true});
      dpr();
    },
  },

  pageStart__deps: ['$Area', '$Controls', '$Fonts', '$Input', '$Pictures'],
  pageStart: function() {
    Area.element = document.getElementById('quintara');
    Area.layer = document.createElement('div');
    Object.assign(Area.layer.style, {position: 'absolute', left: 0, top: 0});
    Area.element.style.position = 'relative';
    // The face the page showed before the program ran, already loaded.
    const shown = Area.element.querySelector('img');
    Area.backdrop = shown || Area.element.appendChild(document.createElement('img'));
    if (shown) Pictures.loaded[shown.getAttribute('src')] = shown;
    // The statics' faces, and where captions are drawn their other two (the
    // bold one is the statics'), with the glyphs of the texts in use; one
    // that cannot be had leaves its letters to the browser's faces. A face's
    // first text measured readies it, which takes a while: a face a task,
    // with the texts' first letters (all of them would be shaped, at many
    // times the cost, though few show at once).
    const faces = [Fonts.gui, Fonts.system]
      .concat(Fonts.sample ? [1, 2].map(f => Fonts.caption(f, 12)) : []);
    const fonts = faces.map(f => document.fonts.load(f, Fonts.sample || ' ').catch(() => null)
      .then(Page.later).then(() => {
        Fonts.measuring().font = f;
        return Fonts.measuring().measureText(Fonts.sample.slice(0, 4) || '0');
      }));
    Promise.all(fonts.concat(Area.fit())).then(Page.later).then(() => {
      Area.layer.append(...Controls.inReadingOrder);
      Area.draw();
      // What playing needs kept for playing offline, where the browser
      // allows workers (not for a page opened as a file), the pictures at
      // the scale drawn but those of the faces this pointer never shows;
      // fetched after the first frame, which they would slow down. The
      // worker keeps too what the page fetched before it.
      const unused = Pictures.preloads.filter((_, n) => !Area.shown.includes(n)).flat()
        .map(preload => Pictures.scaled(preload.url));
      if (navigator.serviceWorker) navigator.serviceWorker.register('sw.js')
        .then(() => navigator.serviceWorker.ready)
        .then(ready => ready.active.postMessage({art: Area.art, unused, fetched: performance
          .getEntriesByType('resource').map(entry => entry.name)}))
        .catch(() => {});
      Area.watch();
      // The area takes the mouse from its first frame on.
      Input.listen();
    });
  },

  // ---- The elements over the canvas, one a control: a see-through button
  // (or check box) named for readers, or a static's text in its white box.
  // Each is {element, rect} by id, a static's also with its font and the
  // line of its text; rect is where it lies in the face drawn.
  $Controls__deps: ['$Fonts'],
  $Controls: {
    byId: {},
    inReadingOrder: [],  // their elements
    // The elements over their pictures at zoom CSS pixels a pixel of the
    // control table, their text in fonts of that many times the size: the
    // browser's own text, as large as a reader's tools measure it. On a touch
    // screen no text is smaller than a phone's legible least; a line that
    // would be keeps its width, narrowed.
    arrange: function(zoom) {
      Controls.zoom = zoom;
      const least = matchMedia('(pointer: coarse)').matches ? 12 : 0;
      Object.values(Controls.byId).forEach(({element, rect, font, line, size: fitted,
                                             narrow: squeezed}) => {
        Object.assign(element.style, {left: rect.x * zoom.x + 'px', top: rect.y * zoom.y + 'px',
                                      width: rect.w * zoom.x + 'px', height: rect.h * zoom.y + 'px'});
        if (!font) return;
        const natural = Fonts.size(font) * (fitted || 1) * zoom.y;
        const size = Math.max(natural, least);
        const narrow = (font === Fonts.gui ? Fonts.guiNarrow : 1) * (squeezed || 1) * natural / size;
        element.style.font = font.replace(/[\d.]+px/, size + 'px');
        Object.assign(line.style, narrow === 1 ? {display: '', transform: ''}
                      : {display: 'inline-block', transform: `scaleX(${narrow})`});
        if (font === Fonts.system) element.style.paddingTop = Fonts.systemDrop * zoom.y + 'px';
      });
    },
  },

  pageAddControl__deps: ['$Page', '$Controls', '$Fonts'],
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
      button.addEventListener('click', e => e.detail || Page.ended || _quintaraCommand(id));
      Controls.byId[id] = {element: button, rect: null};
      Controls.inReadingOrder.push(button);
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
    if (Page.rightToLeft) box.dir = 'rtl';
    line.style.transformOrigin = Page.rightToLeft ? '100% 0' : '0 0';
    line.textContent = UTF8ToString(text);
    box.append(line);
    Controls.byId[id] = {element: box, rect: null, font: gui ? Fonts.gui : Fonts.system, line};
    Controls.inReadingOrder.push(box);
  },

  // Where a control's element lies in the face drawn, in its pixels.
  pageArrange__deps: ['$Controls'],
  pageArrange: function(id, x, y, w, h) { Controls.byId[id].rect = {x, y, w, h}; },

  // A static's text; only a new one is written, so that a reader hears each
  // status once.
  // A static's text at size times its font's size, narrowed to narrow of
  // its width, as the program fitted it to the static.
  pageSetText__deps: ['$Controls'],
  pageSetText: function(id, text, size, narrow) {
    text = UTF8ToString(text);
    const control = Controls.byId[id], line = control.line;
    if (control.size !== size || control.narrow !== narrow) {
      Object.assign(control, {size, narrow});
      if (control.rect && Controls.zoom) Controls.arrange(Controls.zoom);
    }
    if (line.textContent !== text) line.textContent = text;
  },

  // A button's name, and the check box's state.
  pageDescribe__deps: ['$Controls'],
  pageDescribe: function(id, name, ticked, enabled) {
    const button = Controls.byId[id].element;
    const set = (attribute, value) => button.getAttribute(attribute) === value ||
                                      button.setAttribute(attribute, value);
    set('aria-label', UTF8ToString(name));
    if (button.getAttribute('role') !== 'checkbox') return;
    set('aria-checked', ticked ? 'true' : 'false');
    set('aria-disabled', enabled ? 'false' : 'true');
  },

  // ---- Drawing. Every rectangle below is in the canvas's own pixels.
  $Pictures__deps: ['$Page', '$Area'],
  $Pictures: {
    preloads: [],  // each face's own pictures, each {url, bare (at 1x), pressed}
    // Whether those drawn have their words (in English), or are the
    // caption-free ones, under the captions drawn.
    words: true,
    loaded: {},  // those loaded, by their names at their scale
    latest: {},  // the newest draw request of each rectangle
    // The name of a picture at the scale drawn: 2x/buttons/quit.webp.
    scaled: function(url, art = Area.art) { return art > 1 ? art + 'x/' + url : url; },
    // A face's pictures at a scale: those shown at rest, and the pressed
    // looks, which show only once a control is held (and so follow the
    // frame drawn).
    of: (index, art) => [false, true].map(looks => Pictures.preloads[index]
      .filter(preload => preload.pressed === looks)
      .map(preload => Pictures.scaled(Pictures.words ? preload.url : preload.bare, art))),
    // Those the area will show first, fetched before it is fitted.
    warm: function() {
      const {index, ratio} = quintaraFit(Area.faces);
      Pictures.each(Pictures.of(index, _quintaraArtwork(ratio))[0]);
    },
    // Asking for a picture takes a slow phone's main thread some 5 ms, and a
    // face has a dozen: each asked for in a task of its own.
    each: urls => Promise.all(urls.map(url => Page.later().then(() => Pictures.load(url)))),
    load: function(url) {
      if (!Pictures.loaded[url])
        Pictures.loaded[url] = Object.assign(new Image(), {src: url, alt: ''});
      return Pictures.loaded[url].decode().catch(() => null);
    },
  },

  // The next face, whose pictures follow.
  pageFace__deps: ['$Area', '$Pictures'],
  pageFace: function(w, h) {
    Area.faces.push({w, h});
    Pictures.preloads.push([]);
  },
  // One of the last face's own pictures, by its name at 1x with its words
  // and without them, and whether it is a pressed look.
  pagePreload__deps: ['$Pictures'],
  pagePreload: function(url, bare, pressed) {
    const preloads = Pictures.preloads[Pictures.preloads.length - 1];
    preloads.push({url: UTF8ToString(url), bare: UTF8ToString(bare), pressed: !!pressed});
  },

  pageFill__deps: ['$Page', '$Area'],
  pageFill: function(x, y, w, h, r, g, b) {
    if (Page.ended) return;
    Area.paint(y, y + h, ctx => {
      ctx.fillStyle = 'rgb(' + r + ',' + g + ',' + b + ')';
      ctx.fillRect(x, y, w, h);
    });
  },

  pageRatio__deps: ['$Area'],
  pageRatio: function() { return Area.ratio; },

  // Shows the picture at url, at the scale drawn, stretched over the
  // rectangle: at once for the face, skins and check box, when it has loaded
  // for a place, which is then finished by the painter. A place without its
  // picture of that scale gets the 1x one; without either, its stand-in,
  // unless it was drawn anew meanwhile.
  pagePicture__deps: ['$Page', '$Area', '$Pictures'],
  pagePicture: function(x, y, w, h, url, place) {
    const key = x + ',' + y;
    const request = (Pictures.latest[key] || 0) + 1;
    Pictures.latest[key] = request;
    url = UTF8ToString(url);
    const draw = picture => Area.place(picture, x, y, w, h);
    // Not once the area is fitted anew (its canvas cut again): the
    // rectangle is of the old size, and the painter asks again for the new
    // one.
    const strips = Area.strips;
    const current = () => !Page.ended && Pictures.latest[key] === request &&
                          Area.strips === strips;
    if (!place) {
      const scaled = Pictures.scaled(url), loaded = Pictures.loaded[scaled];
      // A pressed look held before it has come shows once it has: all drawn
      // again, with what the painter draws over it.
      if (!loaded || !loaded.complete)
        return Pictures.load(scaled).then(() => current() && Pictures.loaded[scaled].naturalWidth &&
                                                _quintaraShow());
      if (!loaded.naturalWidth) return;
      if (x || y || w !== Area.size[0] || h !== Area.size[1]) return draw(loaded);
      Area.under(loaded);
      return;
    }
    const load = urls => {
      const picture = Object.assign(new Image(), {alt: ''});
      picture.onload = () => {
        if (!current()) return;
        draw(picture);
        _quintaraLoaded(place, 1);
      };
      picture.onerror = () => urls.length > 1 ? load(urls.slice(1))
                                              : current() && _quintaraLoaded(place, 0);
      picture.src = urls[0];
    };
    load(Area.art > 1 ? [Pictures.scaled(url), url] : [url]);
  },

  // The number on a stand-in disc, centred in the rectangle.
  pageNumber__deps: ['$Area', '$Fonts'],
  pageNumber: function(x, y, w, h, text, black) {
    text = UTF8ToString(text);
    Area.paint(y, y + h, ctx => {
      ctx.beginPath();
      ctx.rect(x, y, w, h);
      ctx.clip();
      ctx.translate(x + w / 2, y + h / 2);
      ctx.scale(Fonts.guiNarrow * Area.ratio, Area.ratio);
      ctx.font = Fonts.gui;
      ctx.fillStyle = black ? '#000' : '#fff';
      ctx.textAlign = 'center';
      ctx.textBaseline = 'middle';
      ctx.fillText(text, 0, 0);
    });
  },

  // A static's text's width at size pixels of the control table (0: its
  // font's own size, which is then what is given), as the page draws it.
  pageTextWidth__deps: ['$Fonts'],
  pageTextWidth: function(gui, size, text) {
    const font = gui ? Fonts.gui : Fonts.system;
    if (!size) return Fonts.size(font);
    const ctx = Fonts.measuring();
    ctx.font = font.replace(/[\d.]+px/, size + 'px');
    return ctx.measureText(UTF8ToString(text)).width * (gui ? Fonts.guiNarrow : 1);
  },

  // A caption drawn over the caption-free pictures, in CaptionFont's face
  // (0 bold, 1 condensed bold, 2 oblique) at size canvas pixels, narrowed
  // to narrow of its width, its baseline's left end at (x, y); a language
  // read right to left laid out from its right end.
  pageCaptionWidth__deps: ['$Page', '$Fonts'],
  pageCaptionWidth: function(font, size, text) {
    const ctx = Fonts.measuring();
    ctx.font = Fonts.caption(font, size);
    ctx.direction = Page.rightToLeft ? 'rtl' : 'ltr';
    return ctx.measureText(UTF8ToString(text)).width;
  },
  pageCaption__deps: ['$Page', '$Area', '$Fonts'],
  pageCaption: function(x, y, font, size, narrow, text, r, g, b) {
    if (Page.ended) return;
    const caption = Area.svg('text');
    caption.at = [x, y];
    caption.setAttribute('transform', `translate(${x} ${y}) scale(${narrow} 1)`);
    caption.setAttribute('fill', `rgb(${r},${g},${b})`);
    caption.style.font = Fonts.caption(font, size);
    // Read right to left, it ends at the left end: SVG's "end" of such text.
    if (Page.rightToLeft) {
      caption.setAttribute('direction', 'rtl');
      caption.setAttribute('text-anchor', 'end');
    }
    caption.textContent = UTF8ToString(text);
    Area.captions.append(caption);
  },

  // ---- Input: one pointer at a time, as one mouse (its left button, a
  // finger or a pen), and the keys.
  $Input__deps: ['$Page', '$Area', '$Sounds'],
  $Input: {
    pointer: null,  // the pointer held down on the area, by its id
    // Where the event is, in pixels of the face drawn.
    at: function(e) {
      const r = Area.element.getBoundingClientRect();
      return [Math.floor((e.clientX - r.left) * Area.face.w / r.width),
              Math.floor((e.clientY - r.top) * Area.face.h / r.height)];
    },
    // A second finger while one is down is ignored; a press the browser
    // takes over is let go off every control.
    listen: function() {
      Page.listen(Area.element, 'pointerdown', e => {
        if (e.button !== 0 || Input.pointer !== null) return;
        e.preventDefault();
        Input.pointer = e.pointerId;
        Sounds.unlock();
        _quintaraPress(...Input.at(e));
      });
      Page.listen(window, 'pointermove', e => {
        if (e.pointerId === Input.pointer) _quintaraMove(...Input.at(e));
      });
      const up = e => {
        if (e.pointerId !== Input.pointer) return;
        Input.pointer = null;
        e.type === 'pointerup' ? _quintaraRelease(...Input.at(e)) : _quintaraRelease(-1, -1);
      };
      Page.listen(window, 'pointerup', up);
      Page.listen(window, 'pointercancel', up);
      // No long-press menu over the game.
      Page.listen(Area.element, 'contextmenu', e => e.preventDefault());
      // The page's keys, but not those of the help error box, nor Space and
      // Enter on a control reached with Tab, which click it.
      Page.listen(window, 'keydown', e => {
        if (e.target.closest && e.target.closest('dialog')) return;
        Sounds.unlock();
        if (e.target.className === 'control' && (e.key === ' ' || e.key === 'Enter'))
          return;
        if (_quintaraKey(e.keyCode, e.ctrlKey, e.altKey, e.metaKey))
          e.preventDefault();
      });
    },
  },

  // ---- Audio, which may only start after a gesture: the first press makes
  // the context and fetches the sounds.
  $Sounds__deps: ['$Page'],
  $Sounds: {
    urls: [],  // sound k's file, the beep last
    context: null,
    ready: null,  // the decoded sounds, once fetched
    playing: {},  // the source playing in each voice
    resting: 0,
    unlock: function() {
      if (Sounds.context) return;
      Sounds.context = new AudioContext();
      Sounds.ready = Promise.all(Sounds.urls.map(url => fetch(url)
        .then(r => r.arrayBuffer())
        .then(bytes => Sounds.context.decodeAudioData(bytes))
        .catch(() => null)));
      Sounds.rest();
    },
    // A second after the last sound the context is suspended, and with it
    // the browser's audio thread and the sound card.
    rest: function() {
      clearTimeout(Sounds.resting);
      Sounds.resting = setTimeout(() => Page.ended || Sounds.context.suspend(), 1000);
    },
  },

  pageSound__deps: ['$Sounds'],
  pageSound: function(k, url) { Sounds.urls[k] = UTF8ToString(url); },

  // The game's sounds share one voice, so a new one cuts off the one
  // playing; the beep has a voice of its own. Sounds start in the order
  // asked for, also while the first fetch is still under way.
  pagePlay__deps: ['$Page', '$Sounds'],
  pagePlay: function(k, beep) {
    if (!Sounds.ready) return;
    Sounds.ready.then(buffers => {
      if (Page.ended || !buffers[k]) return;
      const voice = beep ? 'beep' : 'game';
      if (Sounds.playing[voice]) Sounds.playing[voice].stop();
      clearTimeout(Sounds.resting);
      // A source started while the context resumes plays from its start.
      Sounds.context.resume();
      const source = Sounds.context.createBufferSource();
      source.buffer = buffers[k];
      source.connect(Sounds.context.destination);
      source.onended = () => {
        if (Sounds.playing[voice] === source) delete Sounds.playing[voice];
        if (!Object.keys(Sounds.playing).length) Sounds.rest();
      };
      source.start();
      Sounds.playing[voice] = source;
    });
  },

  // ---- The timer, the help and the end.
  // A stop drops a tick not yet run; a start waits a full period.
  pageTimer__deps: ['$Page'],
  pageTimer: function(period) {
    clearInterval(Page.timer);
    Page.timer = period ? setInterval(() => _quintaraTick(), period) : 0;
  },

  // The help pages in a new tab; the error box when the browser opens none
  // or the pages are not there.
  pageHelp__deps: ['$Page'],
  pageHelp: function(url, title, text, ok) {
    url = UTF8ToString(url);
    const fail = () => Page.showError(UTF8ToString(title), UTF8ToString(text), UTF8ToString(ok));
    const tab = window.open(url, '_blank');
    if (!tab) return fail();
    fetch(url).then(r => r.ok, () => false).then(ok => {
      if (ok) return;
      tab.close();
      fail();
    });
  },

  // The game area says that the game has ended; nothing runs any more.
  pageEnd__deps: ['$Page', '$Area', '$Sounds'],
  pageEnd: function(ended, reload) {
    Page.ended = true;
    clearInterval(Page.timer);
    if (Sounds.context) {
      Object.values(Sounds.playing).forEach(source => source.stop());
      Sounds.context.close();
    }
    Page.listeners.forEach(({target, type, handler}) =>
      target.removeEventListener(type, handler));
    const note = document.createElement('p');
    const again = document.createElement('a');
    note.className = 'ended';
    note.textContent = UTF8ToString(ended) + ' ';
    again.href = '';
    again.textContent = UTF8ToString(reload);
    note.append(again);
    Area.element.replaceChildren(note);
  },
});

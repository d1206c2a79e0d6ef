// Serves a folder on 127.0.0.1 at a free port, as a player's web host would
// (the page, its program and texts gzipped when the browser takes it, as the
// common static hosts send them; pictures, fonts and sounds as they are,
// being packed already), to headless Chromium.
// Alone: node tests/web/serve.js FOLDER [PORT] serves it until stopped.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');

const TYPES = {
  html: 'text/html; charset=utf-8', css: 'text/css', js: 'text/javascript',
  wasm: 'application/wasm', webmanifest: 'application/manifest+json',
  webp: 'image/webp', png: 'image/png', ico: 'image/x-icon', woff2: 'font/woff2',
  mp3: 'audio/mpeg',
};
const PACKED = /^(html|css|js|wasm|webmanifest)$/;

// The server's sent log ({file, bytes, at}, bytes as sent, headers left
// out) and swap(file, content), which serves content for file from then on.
async function serve(folder, port = 0) {
  const swapped = new Map(), sent = [];
  const server = http.createServer((request, response) => {
    let file;
    try {
      file = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1);
    } catch (e) {
      return response.writeHead(400).end();
    }
    if (file === '' || file.endsWith('/')) file += 'index.html';
    const full = path.join(folder, file), kind = path.extname(file).slice(1);
    let body = swapped.get(file);
    const there = full.startsWith(path.join(folder, path.sep)) &&
                  fs.statSync(full, {throwIfNoEntry: false})?.isFile();
    if (!body && there) body = fs.readFileSync(full);
    if (!body) return response.writeHead(404).end();
    const headers = {'Content-Type': TYPES[kind] || 'application/octet-stream',
                     Vary: 'Accept-Encoding'};
    if (PACKED.test(kind) && /\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      body = zlib.gzipSync(body, {level: 9});
      headers['Content-Encoding'] = 'gzip';
    }
    headers['Content-Length'] = body.length;
    sent.push({file, bytes: body.length, at: Date.now()});
    response.writeHead(200, headers).end(request.method === 'HEAD' ? undefined : body);
  });
  await new Promise(resolve => server.listen(port, '127.0.0.1', resolve));
  return {url: `http://127.0.0.1:${server.address().port}/`, sent,
          swap: (file, content) => swapped.set(file, Buffer.from(content)),
          stop: () => server.close() && server.closeAllConnections()};
}

// play(browser, url, server) with folder served (until server.stop()) and
// Chromium started with options (args after the ones every run takes); both
// are stopped after it.
module.exports = async function browse(folder, {args = [], ...options}, play) {
  const puppeteer = require('puppeteer-core');
  const server = await serve(folder);
  const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', ...options,
                                          args: ['--no-sandbox', '--mute-audio', ...args]});
  try {
    return await play(browser, server.url, server);
  } finally {
    await browser.close();
    server.stop();
  }
};

if (require.main === module) serve(path.resolve(process.argv[2]), +process.argv[3] || 0)
  .then(s => console.log('serving', s.url));

// Serves a folder on 127.0.0.1 at a free port, as a player's web server would,
// to headless Chromium.
'use strict';
const {spawn} = require('child_process');
const puppeteer = require('puppeteer-core');

async function serve(folder) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1'],
                       {cwd: folder, stdio: ['ignore', 'pipe', 'ignore']});
  const port = await new Promise(resolve => server.stdout.on('data', d => {
    const m = String(d).match(/port (\d+)/);
    if (m) resolve(m[1]);
  }));
  return {url: `http://127.0.0.1:${port}/`, stop: () => server.kill()};
}

// play(browser, url, stop) with folder served (until stop()) and Chromium
// started with options (args after the ones every run takes); both are
// stopped after it.
module.exports = async function browse(folder, {args = [], ...options}, play) {
  const server = await serve(folder);
  const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', ...options,
                                          args: ['--no-sandbox', '--mute-audio', ...args]});
  try {
    return await play(browser, server.url, server.stop);
  } finally {
    await browser.close();
    server.stop();
  }
};

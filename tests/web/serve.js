// Serves a folder on 127.0.0.1 at a free port, as a player's web server would.
'use strict';
const {spawn} = require('child_process');

module.exports = async function serve(folder) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1'],
                       {cwd: folder, stdio: ['ignore', 'pipe', 'ignore']});
  const port = await new Promise(resolve => server.stdout.on('data', d => {
    const m = String(d).match(/port (\d+)/);
    if (m) resolve(m[1]);
  }));
  return {url: `http://127.0.0.1:${port}/`, stop: () => server.kill()};
};

// The site's service worker: every file of the release in a cache named by
// it, so that after one visit the game starts and plays without the network.
// A new release's worker fills its own cache and deletes the older ones.
'use strict';
const CACHE = 'quintara-@PROJECT_VERSION@';
const FILES = [@SITE_LIST@];

self.addEventListener('install', e => e.waitUntil(caches.open(CACHE)
  .then(cache => cache.addAll(FILES.map(url => new Request(url, {cache: 'reload'}))))
  .then(() => self.skipWaiting())));

self.addEventListener('activate', e => e.waitUntil(caches.keys()
  .then(names => Promise.all(names.filter(n => n.startsWith('quintara-') && n !== CACHE)
    .map(n => caches.delete(n))))
  .then(() => self.clients.claim())));

// One answer a file, whatever headers the host said it varies by (as
// Accept-Encoding, which a page's request may carry and the worker's not).
self.addEventListener('fetch', e => e.respondWith(caches.open(CACHE)
  .then(cache => cache.match(e.request, {ignoreSearch: true, ignoreVary: true}))
  .then(found => found || fetch(e.request))));

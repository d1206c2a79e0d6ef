// The site's service worker: what playing needs kept in a cache named by
// the release, so that after one visit the game starts and plays without
// the network; the pictures at the scale the page draws once it says which.
// What else the page fetches (another language's texts, pictures and fonts,
// the help) is kept as it is first fetched. A new release's worker fills its
// own cache and deletes the older ones.
'use strict';
const CACHE = 'quintara-@PROJECT_VERSION@';
const FILES = [@SITE_LIST@];
const SCALED = {
  1: [@SCALED_1@
  ],
  2: [@SCALED_2@
  ],
};
const ours = url => url.startsWith(self.registration.scope);
// The page is kept once, as the site's folder, whose index.html it is.
const named = request => request.url.split(/[?#]/)[0] === self.registration.scope + 'index.html'
  ? self.registration.scope : request;

self.addEventListener('install', e => e.waitUntil(caches.open(CACHE)
  .then(cache => cache.addAll(FILES.map(url => new Request(url, {cache: 'reload'}))))
  .then(() => self.skipWaiting())));

self.addEventListener('activate', e => e.waitUntil(caches.keys()
  .then(names => Promise.all(names.filter(n => n.startsWith('quintara-') && n !== CACHE)
    .map(n => caches.delete(n))))
  .then(() => self.clients.claim())));

// One answer a file, whatever headers the host said it varies by (as
// Accept-Encoding, which a page's request may carry and the worker's not).
// A worker whose release a newer one has replaced, or is replacing (its
// cache is there beside ours), keeps nothing more: opening ours once the
// newer one had deleted it would make it again.
const kept = () => caches.keys().then(names => names.includes(CACHE) &&
  names.every(n => n === CACHE || !n.startsWith('quintara-')) && caches.open(CACHE));
const keep = (cache, request) => fetch(request).then(answer => {
  if (cache && answer.status === 200 && request.method === 'GET' && ours(request.url))
    cache.put(request, answer.clone());
  return answer;
});
// What is kept answered at once, in one step: the newer release's check
// only when something is to be kept.
self.addEventListener('fetch', e => e.respondWith(caches.match(named(e.request),
  {cacheName: CACHE, ignoreSearch: true, ignoreVary: true})
  .then(found => found || kept().then(cache => keep(cache, e.request)))));

// The page's scale ({art, unused, fetched}): its pictures kept but those it
// never shows, and the files the page fetched before the worker was its
// own, such as its language's.
self.addEventListener('message', e => e.waitUntil(kept().then(cache => cache &&
  Promise.all((SCALED[e.data.art] || SCALED[1])
    .filter(url => !(e.data.unused || []).includes(url)).concat(e.data.fetched)
    .map(url => new URL(url, self.registration.scope).href).filter(ours)
    .map(url => cache.match(url, {ignoreVary: true})
      .then(found => found || keep(cache, new Request(url)).catch(() => null)))))));

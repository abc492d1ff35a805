// The web edition's service worker: keeps every file of the site for offline play. Each build
// names its version, so a new site's files replace the old ones in one go.
'use strict';
const VERSION = '@VERSION@';  // a digest of the site's files, written in by scripts/web.sh
const FILES = ['./', @FILES@];  // the site, written in by scripts/web.sh
const CACHE = 'murko-' + VERSION;

self.addEventListener('install', (event) => {
  const fresh = FILES.map((file) => new Request(file, {cache: 'reload'}));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(fresh))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('murko-') && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE).then((cache) => cache.match(request, {ignoreSearch: true})
    .then((hit) => hit || (request.mode === 'navigate' ? cache.match('./') : undefined))
    .then((hit) => hit || fetch(request))));
});

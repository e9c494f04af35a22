// Keeps the page's files, so that the page (also installed as an app) starts without a
// network once it has been visited, and takes a new build at the next load. scripts/web-app.py
// writes in BUILD, a hash of the files, and FILES, their names beside this worker: every
// build has a worker of its own bytes, which is how the browser learns of it.
'use strict';
const BUILD = 'SP_BUILD_HASH';
const FILES = ['SP_BUILD_FILES'];

// Caches belong to the whole site: this page's are named by its scope, each build's by its
// hash, so that a new build removes only this page's earlier ones.
const scope = self.registration.scope;
const prefix = `study-proposal ${scope} `;
const cacheName = prefix + BUILD;
const page = new URL('index.html', scope).href;
const kept = new Set(FILES.map((name) => new URL(name, self.location).href));

self.addEventListener('install', (event) => {
  // Past the browser's HTTP cache, which may still hold an earlier build's files; it
  // answers for those unchanged. A file that fails leaves the last build in use.
  const requests = [...kept].map((url) => new Request(url, { cache: 'no-cache' }));
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(requests))
    // The new build at the next load, not only once every tab of the old one is closed;
    // an open page has already fetched all of its files.
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith(prefix) && name !== cacheName)
    .map((name) => caches.delete(name)))));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET')
    return;
  const url = new URL(request.url);
  const path = url.origin + url.pathname;
  // The page opened by its folder (as the installed app starts it) or with a study named
  // in its address is the one page; any other request is the network's, untouched: the
  // study itself, other pages of the site, whatever this build does not hold.
  const navigation = request.mode === 'navigate' && (path === page || path === scope);
  const key = navigation ? page : url.href;
  if (!kept.has(key))
    return;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(key))
    .then((response) => response || fetch(request)));
});

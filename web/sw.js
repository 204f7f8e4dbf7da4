// SPDX-License-Identifier: MIT
// Brelix @VERSION@ as an app: this service worker keeps the app's own files,
// so that after one visit it starts and calculates with no network at all.
// Each file comes from the network first, past the browser's HTTP cache, so
// that a new version shows on the next visit online; the kept copy answers
// when the network fails, or has not answered within five seconds, as in a
// basement with one bar of signal. It touches no other request and no other
// cache, and nothing ever reloads a page.
'use strict';
// The page, and the files beside it that the web zip's recipe puts here.
var files = ['./', @KEPT@].map(function (file) { return new URL(file, location).href; });
// One cache for each copy of the app on a host.
var name = 'brelix ' + registration.scope;

// The file as the server has it now; an error page counts as no answer.
function fresh(url) {
  return fetch(url, {cache: 'no-cache'}).then(function (response) {
    if (!response.ok) throw new Error(url + ': ' + response.status);
    return response;
  });
}

function keep(url, response) {
  return caches.open(name).then(function (cache) { return cache.put(url, response); });
}

// The version is ready once every file is kept; it then takes over at once,
// which a running page does not notice.
self.addEventListener('install', function (event) {
  event.waitUntil(Promise.all(files.map(function (url) {
    return fresh(url).then(function (response) { return keep(url, response); });
  })).then(function () { return self.skipWaiting(); }));
});

// Files that an earlier version kept and this one has not are dropped.
self.addEventListener('activate', function (event) {
  event.waitUntil(caches.open(name).then(function (cache) {
    return cache.keys().then(function (kept) {
      return Promise.all(kept.filter(function (request) { return files.indexOf(request.url) < 0; })
        .map(function (request) { return cache.delete(request); }));
    });
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (event) {
  var url = new URL(event.request.url);
  url = url.origin + url.pathname;
  if (url === registration.scope + 'index.html') url = registration.scope;
  if (event.request.method !== 'GET' || files.indexOf(url) < 0) return;
  // The answer is kept as it arrives, even when it comes too late.
  var keeping;
  var network = fresh(url).then(function (response) {
    keeping = keep(url, response.clone());
    return response;
  });
  function kept() {
    return caches.match(url, {cacheName: name}).then(function (response) { return response || network; });
  }
  var late = new Promise(function (resolve) { setTimeout(resolve, 5000); }).then(kept);
  event.respondWith(Promise.race([network, late]).catch(kept));
  event.waitUntil(network.then(function () { return keeping; }).catch(function () {}));
});

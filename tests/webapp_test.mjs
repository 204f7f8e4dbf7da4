// SPDX-License-Identifier: MIT
// Serves the web zip, unpacked, from 127.0.0.1 with python3 -m http.server,
// as whoever publishes Brelix would, and uses it in Debian's chromium and
// firefox-esr as a phone user would:
// - after the first visit, which says once that Brelix is ready without
//   internet, the server stops, and a reload still calculates entry 1; the
//   service worker keeps the app's files and nothing else; a server that
//   never answers delays the start only a few seconds;
// - chromium finds the app installable, and the icons load with the sizes
//   they claim, the maskable one with its drawing inside the safe zone;
// - a changed copy served afterwards is what the next visit shows, and a new
//   service worker taking over leaves a calculation in progress alone;
// - axe-core finds nothing on the served app;
// - the same page opened from disk asks for nothing and registers nothing.
// The server asks no browser to revalidate, and the files carry a time a
// month ago, so a browser would keep its copies for days: only the service
// worker's way past the HTTP cache brings a new version.
// Figures are printed as "figure: ...", and screenshots of chromium at
// 360x740 are saved in BRELIX_SCREENSHOTS (default build-web):
// brelix-web-ready-360x740.png and brelix-web-offline-360x740.png.
// Usage: node --test tests/webapp_test.mjs   (BRELIX_WEB_ZIP names the zip,
// by default the one in build-web; BRELIX_BROWSERS=chromium or firefox)
import assert from 'node:assert/strict';
import {spawn, execFileSync} from 'node:child_process';
import {once} from 'node:events';
import {createServer} from 'node:net';
import {cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, utimesSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const built = () => readdirSync(join(root, 'build-web')).find((name) => name.endsWith('-web.zip')) ??
  assert.fail('no web zip in build-web: cmake --build build-web --target web-zip, or set BRELIX_WEB_ZIP');
const zip = resolve(process.env.BRELIX_WEB_ZIP ?? join(root, 'build-web', built()));
const screenshots = resolve(process.env.BRELIX_SCREENSHOTS ?? join(root, 'build-web'));
const axe = readFileSync(join(root, 'node_modules/axe-core/axe.min.js'), 'utf8');
// Bounds that only catch a hang, on a loaded machine.
const timeout = 60000;
const ready = 'Brelix ist jetzt auch ohne Internet bereit.';
// The road case's result line, whatever its label.
const result = / : 23\.3333 Grad Celsius\n/;
// What the service worker keeps: the app's own files, relative to its folder.
const kept = ['', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png', 'icon-maskable-512.png', 'apple-touch-icon.png'];

// Entry 1 with 100, 20, 25, 15, then 99: the text on the page once the first
// k answers are typed.
const road = (() => {
  const lines = readFileSync(join(root, 'tests/transcripts/road.in'), 'latin1').split('\n').slice(0, -1);
  const parts = readFileSync(join(root, 'tests/transcripts/road.out'), 'latin1').split(/(?<=: )(?=\n|$)/);
  const shown = (k) => parts.slice(1, k + 1).reduce((text, part, i) => text + lines[i] + '\n' + part, parts[0]);
  return {lines, shown};
})();

// The zip unpacked, its files a month old, as a copy named a: site/a/brelix.
const site = mkdtempSync(join(tmpdir(), 'brelix-webapp-'));
const app = (copy) => join(site, copy, 'brelix');
before(() => {
  execFileSync('python3', ['-m', 'zipfile', '-e', zip, join(site, 'a')]);
  const month = Date.now() / 1000 - 30 * 86400;
  for (const name of readdirSync(app('a'))) utimesSync(join(app('a'), name), month, month);
});
after(() => rmSync(site, {recursive: true, force: true}));

// A copy of the app as a, with a marker in the page's head and, if asked, a
// service worker that differs by a comment; the changed files carry the
// time given, in days ago.
function copy(name, days, {worker = false} = {}) {
  cpSync(app('a'), app(name), {recursive: true, preserveTimestamps: true});
  const changed = [join(app(name), 'index.html')];
  writeFileSync(changed[0], readFileSync(changed[0], 'latin1').replace('<head>', `<head>\n<meta name="copy" content="${name}">`), 'latin1');
  if (worker) {
    changed.push(join(app(name), 'sw.js'));
    writeFileSync(changed[1], readFileSync(changed[1], 'utf8') + `// copy ${name}\n`);
  }
  const time = Date.now() / 1000 - days * 86400;
  for (const file of changed) utimesSync(file, time, time);
}

// python3 -m http.server serving the copy on 127.0.0.1 at the port, or at a
// free one; it records the paths asked for.
async function serve(name, port = 0) {
  const child = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '--directory', join(site, name),
    String(port)], {stdio: ['ignore', 'pipe', 'pipe']});
  const paths = [];
  let log = '';
  child.stderr.setEncoding('utf8').on('data', (chars) => {
    log += chars;
    for (const m of chars.matchAll(/"GET (\S+) HTTP/g)) paths.push(m[1]);
  });
  const listening = await new Promise((resolve, reject) => {
    child.stdout.setEncoding('utf8').on('data', (chars) => {
      const m = /port (\d+)/.exec(chars);
      if (m) resolve(Number(m[1]));
    });
    child.on('exit', (code) => reject(new Error(`http.server ended with ${code}: ${log}`)));
  });
  return {
    port: listening, paths,
    stop: async () => {
      if (child.exitCode === null && child.signalCode === null) {
        child.kill();
        await once(child, 'exit');
      }
    },
  };
}

// A fresh browser of the kind, as in the page test: nothing downloaded, no
// background networking; its profile goes when it closes.
async function launch(kind) {
  const profile = mkdtempSync(join(tmpdir(), `brelix-${kind}-`));
  const browser = await (kind === 'chromium'
    ? puppeteer.launch({
      executablePath: '/usr/bin/chromium', headless: true, pipe: true, userDataDir: profile,
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
      protocolTimeout: 10 * timeout,
    })
    : puppeteer.launch({
      browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, userDataDir: profile,
      extraPrefsFirefox: {'services.settings.server': 'data:,#remote-settings-dummy/v1'},
      env: {...process.env, MOZ_DISABLE_NONLOCAL_CONNECTIONS: '1'},
      protocolTimeout: 10 * timeout,
    }));
  return {
    browser,
    close: async () => {
      await browser.close();
      rmSync(profile, {recursive: true, force: true});
    },
  };
}

// A tab at phone size with what it requests and its errors collected, and
// the time from the start of each load to the first prompt.
async function tab(browser) {
  const tab = await browser.newPage();
  tab.setDefaultTimeout(timeout);
  await tab.setViewport({width: 360, height: 740});
  const requests = [], errors = [];
  tab.on('request', (request) => request.url().startsWith('data:') || requests.push(request.url()));
  tab.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  tab.on('pageerror', (error) => errors.push(error.message));
  await tab.evaluateOnNewDocument(() => {
    new MutationObserver((changes, observer) => {
      const dialog = document.getElementById('dialog');
      if (dialog && dialog.textContent.endsWith('?  : ')) {
        window.firstPrompt = performance.now();
        observer.disconnect();
      }
    }).observe(document, {childList: true, subtree: true, characterData: true});
  });
  const text = () => tab.$eval('#dialog', (dialog) => dialog.textContent);
  const t = {
    tab, requests, errors,
    showing: (expected) =>
      tab.waitForFunction((want) => document.getElementById('dialog')?.textContent === want, {}, expected)
        .catch(async () => assert.equal(await text(), expected)),
    // Loads the page, or loads it again, and waits for the first prompt.
    visit: async (url) => {
      await (url ? tab.goto(url) : tab.reload());
      await t.showing(road.shown(0));
      return tab.evaluate(() => window.firstPrompt);
    },
    // Types the answers numbered from to to, each once its prompt shows.
    answer: async (from, to) => {
      for (let k = from; k < to; k++) {
        await t.showing(road.shown(k));
        await tab.type('#line', road.lines[k]);
        await tab.keyboard.press('Enter');
      }
      await t.showing(road.shown(to));
    },
    note: () => tab.$eval('#offline', (note) => note.textContent),
    marker: () => tab.evaluate(() => document.querySelector('meta[name=copy]')?.content ?? 'a'),
  };
  return t;
}

// In the page: the URLs the page's caches hold, by cache.
async function caches() {
  const all = {};
  for (const name of await window.caches.keys())
    all[name] = (await (await window.caches.open(name)).keys()).map((request) => request.url).sort();
  return all;
}

// In the page: the image's size, and for a maskable icon whether every pixel
// outside the safe zone, a circle of 40 % of the size about the middle, has
// the colour of its corner, and that colour is opaque.
async function image(src, maskable) {
  const img = new Image();
  img.src = src;
  await img.decode();
  const size = {width: img.naturalWidth, height: img.naturalHeight};
  if (!maskable) return size;
  const canvas = document.createElement('canvas');
  canvas.width = size.width;
  canvas.height = size.height;
  const context = canvas.getContext('2d');
  context.drawImage(img, 0, 0);
  const pixels = context.getImageData(0, 0, size.width, size.height).data;
  const corner = pixels.slice(0, 4).join();
  let outside = 0, stray = 0;
  for (let y = 0; y < size.height; y++) for (let x = 0; x < size.width; x++) {
    if (Math.hypot(x + 0.5 - size.width / 2, y + 0.5 - size.height / 2) <= 0.4 * size.width) continue;
    outside++;
    const at = 4 * (y * size.width + x);
    if (pixels.slice(at, at + 4).join() !== corner) stray++;
  }
  return {...size, opaque: pixels[3] === 255, outside, stray};
}

const chosen = process.env.BRELIX_BROWSERS ? process.env.BRELIX_BROWSERS.split(',') : ['chromium', 'firefox'];
for (const kind of chosen) describe(kind, () => {
  test('served, it installs, says once that it is ready offline, and calculates with the server stopped',
    {timeout: 10 * timeout}, async () => {
      const server = await serve('a');
      const {browser, close} = await launch(kind);
      try {
        const t = await tab(browser);
        const origin = `http://127.0.0.1:${server.port}`, url = `${origin}/brelix/`;
        const cold = await t.visit(url);
        console.log(`figure: ${kind}: served, a cold visit shows the first prompt after ${Math.round(cold)} ms`);
        await t.tab.waitForFunction((want) => document.getElementById('offline').textContent === want, {}, ready);
        console.log(`figure: ${kind}: ready offline after ${Math.round(await t.tab.evaluate(() => performance.now()))} ms`);
        assert.deepEqual(await t.tab.evaluate(caches), {[`brelix ${url}`]: kept.map((file) => url + file).sort()});
        // The note is a polite status of its own, beside the program's.
        assert.deepEqual(await t.tab.evaluate(() => [...document.querySelectorAll('[role=status]')]
          .map((status) => [status.id, status.textContent])), [['status', ''], ['offline', ready]]);
        await t.tab.evaluate(axe);
        const found = async () => t.tab.evaluate(async () => (await window.axe.run(document, {resultTypes: ['violations']}))
          .violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`));
        assert.deepEqual(await found(), [], 'axe on the served app');
        if (kind === 'chromium') {
          await t.tab.screenshot({path: join(screenshots, 'brelix-web-ready-360x740.png')});
          const cdp = await t.tab.createCDPSession();
          assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
          const manifest = await cdp.send('Page.getAppManifest');
          assert.deepEqual([manifest.url, manifest.errors], [`${url}manifest.webmanifest`, []]);
        }

        // The manifest, and every icon it names or the page links, at the
        // size it claims.
        const manifest = JSON.parse(readFileSync(join(app('a'), 'manifest.webmanifest'), 'utf8'));
        const theme = await t.tab.$eval('meta[name=theme-color]', (meta) => meta.content);
        assert.deepEqual({...manifest, icons: undefined, name: undefined, description: undefined},
          {id: './', short_name: 'Brelix', lang: 'de', dir: 'ltr', start_url: './', scope: './', display: 'standalone',
            theme_color: theme, background_color: '#ffffff', icons: undefined, name: undefined, description: undefined});
        assert.match(manifest.name, /^Brelix/);
        assert.deepEqual(manifest.icons.map((icon) => [icon.sizes, icon.purpose ?? 'any']).sort(),
          [['192x192', 'any'], ['512x512', 'any'], ['512x512', 'maskable']]);
        const touch = await t.tab.$eval('link[rel=apple-touch-icon]', (link) => link.getAttribute('href'));
        for (const icon of [...manifest.icons, {src: touch, sizes: '180x180'}]) {
          const got = await t.tab.evaluate(image, icon.src, icon.purpose === 'maskable');
          const [width, height] = icon.sizes.split('x').map(Number);
          assert.deepEqual(got, icon.purpose === 'maskable' ? {width, height, opaque: true, outside: got.outside, stray: 0}
            : {width, height}, icon.src);
        }

        // Offline: the server stops, and the next visit calculates. The
        // note is not said again.
        await server.stop();
        const offline = await t.visit();
        console.log(`figure: ${kind}: with the server stopped, a reload shows the first prompt after ${Math.round(offline)} ms`);
        assert.equal(await t.note(), '');
        await t.answer(0, 5);
        assert.match(await t.tab.$eval('#dialog', (dialog) => dialog.textContent), result);
        if (kind === 'chromium') await t.tab.screenshot({path: join(screenshots, 'brelix-web-offline-360x740.png')});

        // One bar of signal: a server that takes the connection and never
        // answers. The kept copy answers after a while.
        const sockets = new Set();
        const silent = createServer((socket) => sockets.add(socket));
        silent.listen(server.port, '127.0.0.1');
        await once(silent, 'listening');
        try {
          const waited = await t.visit();
          console.log(`figure: ${kind}: with a server that never answers, a reload shows the first prompt after ${Math.round(waited)} ms`);
        } finally {
          sockets.forEach((socket) => socket.destroy());
          silent.close();
        }

        // Only the app's files were asked for, all from the server.
        const files = new Set(['/brelix/', '/brelix/sw.js', ...kept.map((file) => '/brelix/' + file)]);
        assert.deepEqual(server.paths.filter((path) => !files.has(path)), []);
        assert.deepEqual(t.requests.filter((request) => !request.startsWith(origin + '/brelix/')), []);
        assert.deepEqual(t.errors, []);
      } finally {
        await close();
        await server.stop();
      }
    });

  test('a changed copy is what the next visit shows, and a new worker leaves a calculation alone',
    {timeout: 10 * timeout}, async () => {
      copy('b', 20);
      copy('c', 10, {worker: true});
      let server = await serve('a');
      const {port} = server;
      const {browser, close} = await launch(kind);
      try {
        const t = await tab(browser);
        const url = `http://127.0.0.1:${port}/brelix/`;
        await t.visit(url);
        await t.tab.waitForFunction((want) => document.getElementById('offline').textContent === want, {}, ready);
        assert.equal(await t.marker(), 'a');
        // The program's end takes the status area for itself.
        await t.tab.type('#line', '99');
        await t.tab.keyboard.press('Enter');
        await t.tab.waitForFunction(() => document.getElementById('status').textContent !== '');
        assert.deepEqual(await t.tab.evaluate(() => [...document.querySelectorAll('[role=status]')]
          .map((status) => status.textContent)), ['Brelix ist regul\u00e4r beendet (Exit-Status 0).', '']);

        // Another page, with the same service worker, on the next visit.
        await server.stop();
        server = await serve('b', port);
        await t.visit();
        assert.equal(await t.marker(), 'b');

        // Another service worker, which arrives during a calculation: it
        // takes over, and the page goes on as it was.
        await t.answer(0, 2);
        await server.stop();
        server = await serve('c', port);
        await t.tab.evaluate(() => {
          window.unchanged = true;
          navigator.serviceWorker.addEventListener('controllerchange', () => { window.tookOver = true; });
          return navigator.serviceWorker.getRegistration().then((registration) => registration.update());
        });
        await t.tab.waitForFunction(() => window.tookOver);
        assert.ok(await t.tab.evaluate(() => window.unchanged));
        await t.answer(2, 5);
        assert.equal(await t.note(), '');
        assert.equal(await t.marker(), 'b');
        await t.visit();
        assert.equal(await t.marker(), 'c');

        // What was seen last is what starts offline.
        await server.stop();
        await t.visit();
        assert.equal(await t.marker(), 'c');
        assert.deepEqual(t.errors, []);
      } finally {
        await close();
        await server.stop();
      }
    });

  // On a slow network the page shows its opening long before its last
  // bytes, the program's among them, have arrived.
  test('on a slow network, the program starts once the whole page is there',
    {timeout: 10 * timeout, skip: kind !== 'chromium' && 'the network is slowed through chromium\'s protocol'}, async () => {
      const server = await serve('a');
      const {browser, close} = await launch(kind);
      try {
        const t = await tab(browser);
        const cdp = await t.tab.createCDPSession();
        await cdp.send('Network.enable');
        await cdp.send('Network.emulateNetworkConditions',
          {offline: false, latency: 150, downloadThroughput: 40 * 1024, uploadThroughput: 20 * 1024});
        await t.visit(`http://127.0.0.1:${server.port}/brelix/`);
        await t.answer(0, 5);
        assert.deepEqual(t.errors, []);
      } finally {
        await close();
        await server.stop();
      }
    });

  test('from disk, the same page asks for nothing and registers nothing', {timeout: 10 * timeout}, async () => {
    const {browser, close} = await launch(kind);
    try {
      const t = await tab(browser);
      const url = pathToFileURL(join(app('a'), 'index.html')).href;
      await t.visit(url);
      await t.answer(0, 5);
      assert.deepEqual(await t.tab.evaluate(() => [document.querySelectorAll('link[rel=manifest], link[rel=apple-touch-icon]')
        .length, document.getElementById('offline'), document.querySelectorAll('[role=status]').length]), [0, null, 1]);
      assert.deepEqual(t.requests.filter((request) => request !== url), []);
      assert.deepEqual(t.errors, []);
    } finally {
      await close();
    }
  });
});

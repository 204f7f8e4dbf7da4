// SPDX-License-Identifier: MIT
// Start-up benchmark of the page: how soon the first prompt "?  : " is on
// the screen, on a phone's screen (360x740) with the CPU slowed 4x, as
// Lighthouse's mobile profile does, in Debian's chromium. Each page is
// loaded afresh, in a browser context of its own, alternately with a floor:
// a plain page that writes the program's banner, menu and prompt as text
// and nothing else. The floor's text is the program's own output for empty
// input. Prints each page's median and its ratio to the floor's, and the
// ratio of the second page to the first.
// With BRELIX_TRACE=FILE it then takes a performance trace of one more load
// of the first page into FILE (chrome://tracing, or the DevTools' Performance
// panel, opens it) and prints where the main thread's time went until the
// first prompt.
// Usage: node bench/page.mjs [loads [PAGE...]]   (9, build-web/brelix.html;
// the floor's text from node build-web/brelix.js)
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const loads = Number(process.argv[2] ?? 9);
const pages = process.argv.length > 3 ? process.argv.slice(3) : [join(root, 'build-web/brelix.html')];
const prompt = '?  : ';
const throttling = 4;
const viewport = {width: 360, height: 740, deviceScaleFactor: 2, isMobile: true, hasTouch: true};
// What the trace records: the timeline, scripts, WebAssembly, garbage
// collection and user timing.
const traceCategories = ['devtools.timeline', 'v8.execute', 'blink.user_timing', 'loading', 'toplevel',
  'v8.wasm'];


const tmp = mkdtempSync(join(tmpdir(), 'brelix-page-bench-'));
try {
  // The program's banner, menu and prompt: its bytes for empty input.
  const text = execFileSync('node', [join(root, 'build-web/brelix.js')], {input: ''}).toString('latin1');
  if (!text.endsWith(prompt)) throw new Error('build-web/brelix.js did not end its output with the prompt');
  const floor = join(tmp, 'floor.html');
  writeFileSync(floor, '<!doctype html>\n<html lang="de">\n<meta charset="utf-8">\n' +
    '<meta name="viewport" content="width=device-width, initial-scale=1">\n<title>Brelix</title>\n' +
    '<pre id="out"></pre>\n<script>document.getElementById("out").textContent = ' +
    JSON.stringify(text).replace(/</g, '\\u003c') + ';</script>\n</html>\n');

  const profile = mkdtempSync(join(tmpdir(), 'brelix-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, pipe: true, userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    // The time from the start of the load until the frame after the one
    // that put the prompt on the page, in ms; the tab, for a trace.
    const load = async (file, trace) => {
      const context = await browser.createBrowserContext();
      try {
        const tab = await context.newPage();
        await tab.setViewport(viewport);
        await tab.emulateCPUThrottling(throttling);
        // A change that ends an element's text with the prompt shows it;
        // only the elements whose last text changed are looked at, so that
        // looking costs next to nothing.
        await tab.evaluateOnNewDocument((want) => {
          new MutationObserver((changes, observer) => {
            const shown = changes.some((change) => {
              const last = change.type === 'characterData' ? change.target
                : change.addedNodes[change.addedNodes.length - 1];
              if (!last || last.nodeType !== Node.TEXT_NODE || !last.data.endsWith(want.slice(-2))) return false;
              const at = last.parentElement;
              return at && !at.closest('script, style') && at.textContent.endsWith(want);
            });
            if (!shown) return;
            observer.disconnect();
            requestAnimationFrame(() => {
              const after = new MessageChannel();
              after.port1.onmessage = () => {
                performance.mark('first prompt');
                window.firstPrompt = performance.now();
              };
              after.port2.postMessage(null);
            });
          }).observe(document, {childList: true, subtree: true, characterData: true});
        }, prompt);
        if (trace) await tab.tracing.start({path: trace, categories: traceCategories});
        await tab.goto(pathToFileURL(file).href);
        await tab.waitForFunction(() => window.firstPrompt !== undefined, {timeout: 120000, polling: 50});
        const ms = await tab.evaluate(() => window.firstPrompt);
        if (trace) await tab.tracing.stop();
        return ms;
      } finally {
        await context.close();
      }
    };

    const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
    const times = new Map([floor, ...pages].map((file) => [file, []]));
    // One load of each first, unmeasured: the files are then in the cache
    // of the system, as for every load after.
    for (const file of times.keys()) await load(file);
    for (let i = 0; i < loads; i++)
      for (const file of times.keys()) times.get(file).push(await load(file));
    const floorMs = median(times.get(floor));
    console.log(`first prompt on a ${viewport.width}x${viewport.height} screen, CPU ${throttling}x slower, ` +
      `median of ${loads} alternating fresh loads in chromium:`);
    console.log(`  floor (the same text, written by a plain page): ${floorMs.toFixed(0)} ms`);
    for (const file of pages) {
      const ms = median(times.get(file));
      console.log(`  ${file}: ${ms.toFixed(0)} ms, ${(ms / floorMs).toFixed(2)}x the floor`);
    }
    if (pages.length > 1)
      console.log(`  ${pages[1]} takes ${(median(times.get(pages[1])) / median(times.get(pages[0]))).toFixed(2)}x ` +
        `the time of ${pages[0]}`);

    if (process.env.BRELIX_TRACE) {
      await load(pages[0], process.env.BRELIX_TRACE);
      console.log(`trace of ${pages[0]} in ${process.env.BRELIX_TRACE}; the main thread until the first prompt:`);
      for (const [what, ms] of breakdown(JSON.parse(readFileSync(process.env.BRELIX_TRACE, 'utf8'))))
        console.log(`  ${ms.toFixed(1).padStart(7)} ms  ${what}`);
    }
  } finally {
    await browser.close();
    rmSync(profile, {recursive: true, force: true});
  }
} finally {
  rmSync(tmp, {recursive: true, force: true});
}

// The main thread's time from the navigation's start until the first
// prompt's mark, by kind of work, largest first. Each event's own time
// counts, without the events nested in it; a script's time is named after
// its place on the page; the rest of the span is idle.
function breakdown(trace) {
  const events = trace.traceEvents ?? trace;
  const mark = events.find((e) => e.name === 'first prompt' && e.cat.includes('user_timing'));
  const main = events.find((e) => e.name === 'thread_name' && e.args.name === 'CrRendererMain' &&
    e.pid === mark.pid);
  const start = events.find((e) => e.name === 'navigationStart' && e.pid === mark.pid) ??
    events.filter((e) => e.pid === mark.pid).reduce((a, b) => (a.ts < b.ts ? a : b));
  const end = mark.ts;
  const spans = events.filter((e) => e.pid === main.pid && e.tid === main.tid && e.ph === 'X' && e.dur > 0 &&
    e.ts < end && e.ts + e.dur > start.ts).sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const label = (e) => {
    const data = e.args?.data ?? e.args?.beginData ?? {};
    if (e.name === 'EvaluateScript' || e.name === 'v8.compile')
      return `${e.name} (line ${data.lineNumber ?? '?'})`;
    if (e.name === 'FunctionCall') return `FunctionCall ${data.functionName || '(anonymous)'}`;
    return e.name;
  };
  const totals = new Map();
  const add = (what, us) => totals.set(what, (totals.get(what) ?? 0) + us);
  // A stack of open events, each with the time of its children.
  const open = [];
  const close = (upTo) => {
    while (open.length && open[open.length - 1].end <= upTo) {
      const e = open.pop();
      add(label(e.event), Math.max(0, Math.min(e.end, end) - Math.max(e.event.ts, start.ts)) - e.children);
      if (open.length) open[open.length - 1].children +=
        Math.max(0, Math.min(e.end, end) - Math.max(e.event.ts, start.ts));
    }
  };
  let busy = 0;
  for (const e of spans) {
    close(e.ts);
    if (!open.length) busy += Math.min(e.ts + e.dur, end) - Math.max(e.ts, start.ts);
    open.push({event: e, end: e.ts + e.dur, children: 0});
  }
  close(Infinity);
  add('(idle: waiting for other threads or the next frame)', end - start.ts - busy);
  return [...totals].filter(([, us]) => us >= 500).sort((a, b) => b[1] - a[1]).map(([what, us]) => [what, us / 1000]);
}

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
  'v8.wasm', 'disabled-by-default-v8.cpu_profiler'];


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
        // An element whose text ends with the prompt, where a change added
        // the last node or text, shows it; only the element that changed
        // and the last node added are looked at, so that watching costs
        // next to nothing. Nor is an element that holds a script or a style
        // sheet: its text would be their source, and the head's or the
        // body's, taken for each node the parser adds, would cost a page in
        // proportion to its scripts. The prompt is on the screen in the
        // frame after the change.
        await tab.evaluateOnNewDocument((want) => {
          const showing = (node) => {
            const element = node?.nodeType === Node.TEXT_NODE ? node.parentElement : node;
            return element?.nodeType === Node.ELEMENT_NODE && !element.closest('script, style') &&
              !element.querySelector('script, style') && element.textContent.endsWith(want);
          };
          new MutationObserver((changes, observer) => {
            if (!changes.some((change) => showing(change.target) ||
              showing(change.addedNodes[change.addedNodes.length - 1]))) return;
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
      for (const [what, ms] of breakdown(JSON.parse(readFileSync(process.env.BRELIX_TRACE, 'utf8')), pages[0]))
        console.log(`  ${ms.toFixed(1).padStart(7)} ms  ${what}`);
    }
  } finally {
    await browser.close();
    rmSync(profile, {recursive: true, force: true});
  }
} finally {
  rmSync(tmp, {recursive: true, force: true});
}

// Where the main thread's time went from the start of the load until the
// first prompt's mark, in ms by kind of work, largest first. Each trace
// event counts its own time, without the events inside it; the time of
// scripts is shared out by the profiler's samples between the Emscripten
// glue, the page's own script, the program (WebAssembly) and the rest,
// which is this benchmark's watching for the prompt.
function breakdown(trace, file) {
  const events = trace.traceEvents ?? trace;
  const mark = events.find((e) => e.name === 'first prompt' && e.cat.includes('user_timing'));
  const start = events.find((e) => e.name === 'navigationStart' &&
    e.args?.data?.navigationId === mark.args.data.navigationId).ts;
  const end = mark.ts;
  const main = events.find((e) => e.name === 'thread_name' && e.args.name === 'CrRendererMain' &&
    e.pid === mark.pid);
  const kinds = [
    [/^(Layout|UpdateLayoutTree|Paint|PrePaint|Layerize|Commit|UpdateLayer|CompositeLayers|ScrollLayer|HitTest|IntersectionObserverController|ParseAuthorStyleSheet|RecalculateStyles|InvalidateLayout|ScheduleStyleRecalculation)/, 'style, layout and paint'],
    [/^ParseHTML/, 'parsing the HTML'],
    [/^(v8\.compile|V8\.(Compile|Parse|PreParse))/, 'compiling scripts'],
    [/^wasm\./, 'compiling the WebAssembly'],
    [/GC|^V8\.(GC|Scavenge|MarkCompact)/, 'garbage collection'],
    [/SVG/, 'the icon (an SVG image)'],
    [/^(EvaluateScript|FunctionCall|v8\.run|v8\.callFunction|RunMicrotasks|FireAnimationFrame|EventDispatch|TimerFire|V8\.Execute)/, 'running scripts'],
  ];
  const kindOf = (event) => {
    const kind = (kinds.find(([pattern]) => pattern.test(event.name)) ?? [, 'loading and setting up the document'])[1];
    const data = event.args?.data ?? {};
    return kind === 'compiling scripts' && data.url ? `compiling ${whose({url: data.url, lineNumber: data.lineNumber - 1})}` : kind;
  };
  // The scripts' share by the profiler's samples: the lines of the page's
  // <script> elements tell the glue, which holds the WebAssembly, from the
  // page's own script.
  const lines = readFileSync(file, 'latin1').split('\n');
  const scripts = [];
  lines.forEach((line, at) => {
    if (/<script[\s>]/.test(line)) scripts.push({from: at, glue: false});
    if (/data:application\/octet-stream;base64,/.test(line) && scripts.length) scripts[scripts.length - 1].glue = true;
  });
  const whose = (frame) => {
    if (frame.url?.startsWith('wasm://') || /^(js-to-wasm|wasm-to-js)$/.test(frame.functionName)) return 'the program (WebAssembly)';
    if (!frame.url?.startsWith('file:')) return frame.url ? 'other scripts' : null;
    const script = scripts.filter((s) => s.from <= frame.lineNumber).pop();
    return script?.glue ? 'the Emscripten glue' : 'the page\'s own script';
  };
  const spans = events.filter((e) => e.pid === main.pid && e.tid === main.tid && e.ph === 'X' && e.dur > 0 &&
    e.ts < end && e.ts + e.dur > start).sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const totals = new Map();
  const add = (what, us) => totals.set(what, (totals.get(what) ?? 0) + us);
  const clip = (from, to) => Math.max(0, Math.min(to, end) - Math.max(from, start));
  const open = [];
  const close = (upTo) => {
    while (open.length && open[open.length - 1].end <= upTo) {
      const e = open.pop();
      const own = clip(e.event.ts, e.end);
      add(kindOf(e.event), own - e.children);
      if (open.length) open[open.length - 1].children += own;
    }
  };
  let busy = 0;
  for (const e of spans) {
    close(e.ts);
    if (!open.length) busy += clip(e.ts, e.ts + e.dur);
    open.push({event: e, end: e.ts + e.dur, children: 0});
  }
  close(Infinity);
  add('idle', end - start - busy);

  const nodes = new Map(), samples = [], deltas = [];
  const profile = events.find((e) => e.name === 'Profile' && e.pid === main.pid && e.tid === main.tid);
  let time = profile?.args.data.startTime ?? 0;
  for (const e of events) {
    if (e.name !== 'ProfileChunk' || e.pid !== main.pid || e.id !== profile.id) continue;
    for (const node of e.args.data.cpuProfile?.nodes ?? []) nodes.set(node.id, node);
    samples.push(...(e.args.data.cpuProfile?.samples ?? []));
    deltas.push(...(e.args.data.timeDeltas ?? []));
  }
  const shares = new Map();
  let sampled = 0;
  for (let i = 0; i < samples.length; i++) {
    time += deltas[i];
    if (time < start || time > end) continue;
    const frame = nodes.get(samples[i]).callFrame;
    const who = frame.functionName.startsWith('(') ? null : whose(frame) ?? 'this benchmark\'s watching for the prompt';
    const us = deltas[i + 1] ?? 0;
    if (who) shares.set(who, (shares.get(who) ?? 0) + us), sampled += us;
  }
  const scriptTime = totals.get('running scripts') ?? 0;
  if (sampled > 0) {
    totals.delete('running scripts');
    for (const [who, us] of shares) add(`running ${who}`, (scriptTime * us) / sampled);
  }
  return [...totals].sort((a, b) => b[1] - a[1]).map(([what, us]) => [what, us / 1000]);
}

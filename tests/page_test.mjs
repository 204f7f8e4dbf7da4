// SPDX-License-Identifier: MIT
// Opens build-web/brelix.html from disk in Debian's chromium and firefox-esr
// and uses it as a person would, on a phone-sized screen and on a desktop:
// - whole transcripts typed, each answer only once its prompt is on the
//   page; the page must show the transcript's bytes as ISO-8859-1 with each
//   answer echoed after its prompt, and tell the end in words;
// - at 360x740 and at 360x430 (a phone with its keyboard open), each prompt
//   stands on one line with its answer, the result is in view above the
//   input, every control is at least 44 px, the input is named after the
//   question, and axe-core finds nothing, in light and in dark;
// - a megabyte line of junk, a pasted batch of 200 calculations and the
//   first prompt are timed; the figures are printed as "figure: ...".
// The page may make no request. Screenshots of chromium are saved beside the
// page, or in BRELIX_SCREENSHOTS: brelix-360x740.png, brelix-360x430.png
// and brelix-1280x800.png.
// Usage: node --test tests/page_test.mjs   (BRELIX_PAGE names another page,
// BRELIX_BROWSERS=chromium or firefox runs one browser)
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {after, describe, test} from 'node:test';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const page = resolve(process.env.BRELIX_PAGE ?? join(root, 'build-web/brelix.html'));
const url = pathToFileURL(page).href;
const screenshots = resolve(process.env.BRELIX_SCREENSHOTS ?? dirname(page));
const transcripts = join(root, 'tests/transcripts');
const axe = readFileSync(join(root, 'node_modules/axe-core/axe.min.js'), 'utf8');
// A loaded 2-core machine may take its time: these bounds only catch a page
// that hangs. The figures the page is held to are printed.
const timeout = 60000;

// A transcript as a person types it: its lines, the output cut after each
// prompt that reads one, and its exit status from cases.cmake.
function transcript(name) {
  const lines = readFileSync(join(transcripts, name + '.in'), 'latin1').split('\n').slice(0, -1);
  const out = readFileSync(join(transcripts, name + '.out'), 'latin1');
  const parts = out.split(/(?<=: )(?=\n|$)/);
  const cases = readFileSync(join(transcripts, 'cases.cmake'), 'latin1');
  const status = Number(cases.match(new RegExp(`^brelix_transcript\\(${name} (\\d+)\\)`, 'm'))[1]);
  // The text on the page once the first k answers are typed.
  const shown = (k) => parts.slice(1, k + 1).reduce((text, part, i) => text + lines[i] + '\n' + part,
    parts[0]) + (k === parts.length ? lines[k - 1] + '\n' : '');
  // The prompt that the answer numbered k is typed at.
  const prompt = (k) => parts[k].slice(parts[k].lastIndexOf('\n') + 1);
  return {lines, prompts: out.match(/: (?=\n|$)/g).length, status, shown, prompt};
}

// Where the other browser would reach out to the network, it may not.
const quietFirefox = {'services.settings.server': 'data:,#remote-settings-dummy/v1'};
const browsers = {
  chromium: (profile) => puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, pipe: true, userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    protocolTimeout: 10 * timeout,
  }),
  // Firefox takes its colour scheme from a preference, so each scheme is a
  // browser of its own.
  firefox: (profile, scheme) => puppeteer.launch({
    browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, userDataDir: profile,
    extraPrefsFirefox: {...quietFirefox, 'layout.css.prefers-color-scheme.content-override': scheme === 'dark' ? 0 : 1},
    env: {...process.env, MOZ_DISABLE_NONLOCAL_CONNECTIONS: '1'},
    protocolTimeout: 10 * timeout,
  }),
};
const chosen = process.env.BRELIX_BROWSERS ? process.env.BRELIX_BROWSERS.split(',') : Object.keys(browsers);

// Browsers are started once for each kind and scheme, and closed at the end.
const started = new Map();
async function browser(kind, scheme) {
  const key = kind === 'chromium' ? kind : kind + scheme;
  if (!started.has(key)) {
    const profile = mkdtempSync(join(tmpdir(), `brelix-${kind}-`));
    started.set(key, {profile, browser: browsers[kind](profile, scheme)});
  }
  return started.get(key).browser;
}
after(async () => {
  for (const {profile, browser} of started.values()) {
    await (await browser).close();
    rmSync(profile, {recursive: true, force: true});
  }
});

// A fresh tab on the page at the given size and scheme, with what it
// requests and its errors collected.
async function open(kind, {width = 360, height = 740, scheme = 'light'} = {}) {
  const tab = await (await browser(kind, scheme)).newPage();
  tab.setDefaultTimeout(timeout);
  await tab.setViewport({width, height});
  if (kind === 'chromium') await tab.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
  const requests = [], errors = [];
  // The page itself, which firefox does not report, and the icon's data:
  // URL are no requests.
  tab.on('request', (request) => request.url().startsWith('data:') || requests.push(request.url()));
  tab.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  tab.on('pageerror', (error) => errors.push(error.message));
  // The time from the start of the load until the first prompt is on the page.
  await tab.evaluateOnNewDocument(() => {
    new MutationObserver((changes, observer) => {
      const dialog = document.getElementById('dialog');
      if (dialog && dialog.textContent.endsWith('?  : ')) {
        window.firstPrompt = performance.now();
        observer.disconnect();
      }
    }).observe(document, {childList: true, subtree: true, characterData: true});
  });
  await tab.goto(url);
  const text = () => tab.$eval('#dialog', (dialog) => dialog.textContent);
  const t = {
    tab, requests, errors, text,
    showing: (expected) =>
      tab.waitForFunction((want) => document.getElementById('dialog').textContent === want, {}, expected)
        .catch(async () => assert.equal(await text(), expected)),
    // Types each line of a transcript, from the one numbered first, once the
    // page shows everything up to its prompt; check(k) runs after each.
    type: async (name, {first = 0, check = async () => {}} = {}) => {
      const run = transcript(name);
      for (let k = first; k < run.lines.length; k++) {
        await t.showing(run.shown(k));
        await tab.type('#line', run.lines[k]);
        await tab.keyboard.press('Enter');
        await check(k, run);
      }
      return run;
    },
    ended: async () => {
      await tab.waitForFunction(() => document.querySelector('[role=status]').textContent !== '');
      return tab.$eval('[role=status]', (status) => status.textContent);
    },
    // Pastes into the input line, as a clipboard would, the text made of
    // before, unit repeated up to length characters, and after: a long
    // text is made in the page, so that only the page is timed. Firefox
    // fills a synthetic event's clipboard only from its own fields.
    paste: (before, {unit = '', length = 0, after = ''} = {}) => tab.evaluate((before, unit, length, after) => {
      const chars = before + unit.repeat(Math.ceil(length / unit.length || 0)).slice(0, length) + after;
      const data = new DataTransfer();
      data.setData('text/plain', chars);
      let e = new ClipboardEvent('paste', {clipboardData: data, cancelable: true});
      if (!e.clipboardData.getData('text'))
        e = new ClipboardEvent('paste', {dataType: 'text/plain', data: chars, cancelable: true});
      document.getElementById('line').dispatchEvent(e);
    }, before, unit, length, after),
    click: (selector) => tab.$eval(selector, (button) => button.click()),
    axe: async (when) => {
      if (!(await tab.evaluate(() => 'axe' in window))) await tab.evaluate(axe);
      const found = await tab.evaluate(async () => (await window.axe.run(document, {resultTypes: ['violations']}))
        .violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`));
      assert.deepEqual(found, [], `axe ${when}`);
    },
    // The input's accessible name, as axe computes it.
    name: async () => {
      if (!(await tab.evaluate(() => 'axe' in window))) await tab.evaluate(axe);
      return tab.evaluate(() => {
        window.axe.setup(document);
        const name = window.axe.commons.text.accessibleTextVirtual(
          window.axe.utils.getNodeFromTree(document.getElementById('line')));
        window.axe.teardown();
        return name;
      });
    },
  };
  await t.showing(transcript('road').shown(0));
  return t;
}

// In the page: the boxes of the last stretch of the dialogue's text that is
// the given text, each a line of its own, and the boxes of the dialogue and
// of the input line.
function boxesOf(chars) {
  const dialog = document.getElementById('dialog');
  const walker = document.createTreeWalker(dialog, NodeFilter.SHOW_TEXT);
  const nodes = [];
  let all = '';
  for (let node; (node = walker.nextNode());) {
    nodes.push([node, all.length]);
    all += node.data;
  }
  const at = all.lastIndexOf(chars);
  if (at < 0) return null;
  const place = (offset) => {
    const [node, start] = nodes.findLast(([, start]) => start <= offset);
    return [node, offset - start];
  };
  const range = document.createRange();
  range.setStart(...place(at));
  range.setEnd(...place(at + chars.length - 1));
  range.setEnd(range.endContainer, range.endOffset + 1);
  const tops = new Set();
  let left = Infinity, right = -Infinity, top = Infinity, bottom = -Infinity;
  for (const box of range.getClientRects()) {
    if (!box.width) continue;
    tops.add(Math.round(box.top));
    left = Math.min(left, box.left);
    right = Math.max(right, box.right);
    top = Math.min(top, box.top);
    bottom = Math.max(bottom, box.bottom);
  }
  // A box spans the line's height; boxes on one line share their top
  // within a pixel or two (a bold answer may sit a little apart).
  const lines = [...tops].sort((a, b) => a - b).filter((y, i, ys) => i === 0 || y - ys[i - 1] > 3).length;
  const hit = document.elementFromPoint((left + right) / 2, (top + bottom) / 2);
  return {lines, left, right, top, bottom, visible: dialog.contains(hit),
    dialog: dialog.getBoundingClientRect().toJSON(), input: document.getElementById('line').getBoundingClientRect().toJSON(),
    width: document.documentElement.clientWidth, scrollWidth: document.documentElement.scrollWidth};
}

// In the page: every control that can be seen, with its size.
function targets() {
  return [...document.querySelectorAll('button, input, select, textarea, summary, a[href]')]
    .filter((e) => e.getClientRects().length && getComputedStyle(e).visibility !== 'hidden')
    .map((e) => ({what: e.id || e.getAttribute('aria-label') || e.textContent.trim(),
      width: e.getBoundingClientRect().width, height: e.getBoundingClientRect().height}));
}

async function assertTargets(t, when) {
  const small = (await t.tab.evaluate(targets)).filter((box) => box.width < 44 || box.height < 44);
  assert.deepEqual(small, [], `controls under 44 px ${when}`);
}

const answers = (prompt) => prompt.replace(/\s*:\s*$/, '');

for (const kind of chosen) describe(kind, () => {
  test('a dialogue typed into the page shows what a terminal shows', {timeout: 10 * timeout}, async () => {
    const t = await open(kind);
    const {tab, text} = t;
    // The prompt shows before any answer, with the menu's umlaut as one
    // character, and a wrong answer brings the hint and the same question.
    const garbage = transcript('hint_reprompt');
    assert.equal(garbage.lines.length, garbage.prompts);
    assert.match(await text(), /\(2\) {2}zur\u00fcckgerechnete Ausgangstemperatur/);
    assert.match(await text(), /\n\n\?  : $/);
    await t.type('hint_reprompt', {check: async (k) => {
      if (k) return;
      await t.showing(garbage.shown(1));
      assert.ok((await text()).endsWith(`?  : ${garbage.lines[0]}\n` +
        '\nUng\u00fcltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n\n\n?  : '));
    }});
    await t.showing(garbage.shown(garbage.prompts));
    assert.match(await t.ended(), /^Brelix ist beendet: eine Antwort wurde abgelehnt \(Exit-Status 1\)\.$/);
    assert.equal(garbage.status, 1);
    // After the end, typing goes nowhere, and Space or Enter starts nothing.
    await tab.keyboard.type('1 180 60\n');
    await tab.evaluate(() => new Promise((frame) => requestAnimationFrame(() => requestAnimationFrame(frame))));
    await t.showing(garbage.shown(garbage.prompts));
    assert.ok(await tab.evaluate(() => !document.activeElement.matches('button, input')));

    // Neu starten in the middle of a calculation: nothing of the old run
    // stays, and its answers do not reach the new one. Then Ctrl-D in the
    // middle of the next calculation.
    const road = transcript('road');
    await t.click('#restart');
    for (let k = 0; k < 3; k++) {
      await t.showing(road.shown(k));
      await tab.type('#line', road.lines[k]);
      await tab.keyboard.press('Enter');
    }
    await t.showing(road.shown(3));
    await t.click('#restart');
    await t.showing(road.shown(0));
    const cut = await t.type('eof_in_calculation');
    assert.equal(cut.prompts, cut.lines.length + 1);
    await t.showing(cut.shown(cut.lines.length));
    await tab.keyboard.down('Control');
    await tab.keyboard.press('d');
    await tab.keyboard.up('Control');
    assert.equal(cut.status, 1);
    assert.match(await t.ended(),
      /^Brelix ist beendet: die Eingabe endete mitten in einer Berechnung \(Exit-Status 1\)\.$/);

    // The keys on the page: the entry buttons type the number and Enter, the
    // keypad the digits, the point and the minus sign; no comma anywhere.
    // "Eingabe beenden" only asks, and ends the input at a second press.
    await t.click('#again');
    await t.showing(road.shown(0));
    const press = async (label) => {
      const pressed = await tab.evaluate((label) => {
        const key = [...document.querySelectorAll('button')]
          .find((b) => b.getClientRects().length && (b.getAttribute('aria-label') || b.textContent).trim() === label);
        key?.click();
        return !!key;
      }, label);
      assert.ok(pressed, `a key ${label}`);
    };
    const spoken = {'.': 'Punkt', '-': 'Minus'};
    for (let k = 0; k < road.lines.length; k++) {
      await t.showing(road.shown(k));
      if (k === 0) await press('1 Temperatur nachher');
      else if (k === road.lines.length - 1) {
        await t.click('#end');
        assert.ok(await tab.$eval('#confirm', (d) => d.open));
        await press('Weiter eingeben');
        await press('99 Ende');
      } else {
        for (const c of '-7.') await press(spoken[c] ?? c);
        for (let i = 0; i < 3; i++) await press('Zeichen l\u00f6schen');
        for (const c of road.lines[k]) await press(spoken[c] ?? c);
        await press('Enter');
      }
    }
    await t.showing(road.shown(road.lines.length));
    assert.match(await t.ended(), /^Brelix ist regul\u00e4r beendet \(Exit-Status 0\)\.$/);
    assert.equal(road.status, 0);
    assert.ok(await tab.evaluate(() => [...document.querySelectorAll('button')]
      .every((b) => !(b.textContent + b.getAttribute('aria-label')).includes(','))));

    // The device's keyboard on request, and ending the input from it.
    await t.click('#again');
    await t.showing(road.shown(0));
    await t.click('#keyboard');
    assert.equal(await tab.$eval('#line', (line) => line.inputMode), 'text');
    await t.click('#end');
    await t.click('#confirm-yes');
    assert.match(await t.ended(), /^Brelix ist regul\u00e4r beendet \(Exit-Status 0\)\.$/);

    assert.deepEqual(t.errors, []);
    assert.deepEqual(t.requests.filter((request) => request !== url), []);
    await tab.close();
  });

  for (const [width, height] of [[360, 740], [360, 430]]) for (const scheme of ['light', 'dark']) {
    test(`at ${width}x${height} in ${scheme}: answers beside their questions, the result in view, accessible`,
      {timeout: 10 * timeout}, async () => {
        const t = await open(kind, {width, height, scheme});
        const {tab} = t;
        await t.axe('before a calculation');
        await assertTargets(t, 'at the selection');
        assert.equal(await t.name(), 'Auswahl');
        const road = await t.type('road', {check: async (k, run) => {
          if (k === run.lines.length - 1) return;
          // The answer stands beside its question, on one line, in view.
          await t.showing(run.shown(k + 1));
          const box = await tab.evaluate(boxesOf, run.prompt(k) + run.lines[k]);
          assert.equal(box.lines, 1, `"${run.prompt(k)}${run.lines[k]}" on one line`);
          assert.ok(box.visible && box.right <= box.dialog.right + 1, `"${run.prompt(k)}${run.lines[k]}" in view: ${JSON.stringify(box)}`);
          assert.ok(box.scrollWidth <= box.width, 'nothing scrolls sideways');
          const next = run.prompt(k + 1);
          assert.equal(await t.name(), next === '?  : ' ? 'Auswahl' : answers(next));
          if (k === 2) {
            await t.axe('during a calculation');
            await assertTargets(t, 'during a calculation');
          }
          if (k === 4) {
            // The result, on one line, on screen above the input.
            const result = 'resultierende Temperatur im Aquarium : 23.3333 Grad Celsius';
            const box = await tab.evaluate(boxesOf, result);
            assert.equal(box.lines, 1, 'the result on one line');
            assert.ok(box.visible && box.top >= box.dialog.top - 1 && box.bottom <= box.input.top,
              `the result in view above the input: ${JSON.stringify(box)}`);
            await t.axe('after a calculation');
            await assertTargets(t, 'after a calculation');
            if (kind === 'chromium' && scheme === 'light')
              await tab.screenshot({path: join(screenshots, `brelix-${width}x${height}.png`)});
          }
        }});
        await t.showing(road.shown(road.lines.length));
        await t.ended();
        await t.axe('after the end');
        await assertTargets(t, 'after the end');
        await t.click('#about-toggle');
        await t.click('#restart');
        await t.click('#end');
        await t.axe('while asking whether to end the input');
        await assertTargets(t, 'while asking whether to end the input');
        assert.deepEqual(t.errors, []);
        assert.deepEqual(t.requests.filter((request) => request !== url), []);
        await tab.close();
      });
  }

  test('the page shows its icon, and has a description and a theme colour', {timeout: 10 * timeout}, async () => {
    const t = await open(kind);
    // The icon is desktop/brelix.svg: the same elements with the same
    // attributes, and an image that the page's policy lets it show.
    const icon = await t.tab.evaluate(async (svg) => {
      const link = document.querySelector('link[rel~=icon]');
      const image = new Image();
      image.src = link.href;
      await image.decode();
      const elements = (source) => [...new DOMParser().parseFromString(source, 'image/svg+xml').querySelectorAll('*')]
        .map((e) => [e.tagName, ...[...e.attributes].map((a) => `${a.name}=${a.value}`)].join(' '));
      return {width: image.naturalWidth, same: JSON.stringify(elements(decodeURIComponent(link.href.split(',')[1]))) ===
        JSON.stringify(elements(svg)), type: link.href.split(',')[0],
        description: document.querySelector('meta[name=description]').content,
        theme: document.querySelector('meta[name=theme-color]').content};
    }, readFileSync(join(root, 'desktop/brelix.svg'), 'utf8'));
    assert.deepEqual([icon.width, icon.same, icon.type], [64, true, 'data:image/svg+xml']);
    assert.match(icon.description, /Aquarium/);
    assert.match(icon.theme, /^#[0-9a-f]{6}$/i);
    assert.deepEqual(t.errors, []);
    await t.tab.close();
  });

  test('long input and a pasted batch are answered in time', {timeout: 10 * timeout}, async () => {
    const t = await open(kind, {width: 1280, height: 800});
    const {tab, text} = t;
    const first = await tab.evaluate(() => window.firstPrompt);
    console.log(`figure: ${kind}: first prompt after ${Math.round(first)} ms`);

    // In the page: resolves once the dialogue ends with the given text, with
    // the time since it was called and the longest a task kept the page.
    const until = (chars) => tab.evaluate((chars) => new Promise((resolve) => {
      const start = performance.now();
      const channel = new MessageChannel();
      let last = start, longest = 0;
      channel.port1.onmessage = () => {
        const now = performance.now();
        longest = Math.max(longest, now - last);
        last = now;
        if (document.getElementById('dialog').textContent.endsWith(chars))
          resolve({took: performance.now() - start, longest});
        else setTimeout(() => channel.port2.postMessage(0), 5);
      };
      channel.port2.postMessage(0);
    }), chars);

    // A megabyte line of junk with emoji, pasted with its line feed at the
    // selection, and again without one and then Enter at a calculation's
    // prompt: the hint comes, and the echo is shortened. Each emoji
    // reaches the program as one "?".
    const hint = '\nUng\u00fcltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n';
    const junk = {unit: 'x\u{1F41F}\u00e4\u{1F321},', length: 1 << 20};
    const echo = [...junk.unit.repeat(60)].map((c) => c.codePointAt(0) < 256 ? c : '?').join('').slice(0, 200) + '\u2026';
    let waiting = until(hint + '\n\n?  : ');
    await t.paste('', {...junk, after: '\n'});
    let got = await waiting;
    console.log(`figure: ${kind}: a megabyte of junk answered after ${Math.round(got.took)} ms, longest task ${Math.round(got.longest)} ms`);
    assert.ok(got.took < 2000 && got.longest < 1000, JSON.stringify(got));
    assert.ok((await text()).endsWith(`?  : ${echo}\n${hint}\n\n?  : `));
    await tab.type('#line', '1');
    await tab.keyboard.press('Enter');
    await t.showing(transcript('road').shown(1).replace('?  : 1', `?  : ${echo}\n${hint}\n\n?  : 1`));
    waiting = until(hint + '\n\nWassermenge die im Aquarium verbleiben soll  : ');
    await t.paste('', junk);
    await tab.keyboard.press('Enter');
    got = await waiting;
    assert.ok(got.took < 2000 && got.longest < 1000, JSON.stringify(got));

    // Every byte of a long line reaches the program: 20 written with a
    // megabyte of zeros after the point, and the result is as with 20.
    const zeros = (1 << 20) - 10;
    await tab.type('#line', '100');
    await tab.keyboard.press('Enter');
    waiting = until('Temperatur im Aquarium vor dem Wechsel       : ');
    await t.paste('0.', {unit: '0', length: zeros, after: `2e${zeros + 2}\n`});
    await waiting;
    for (const answer of ['25', '15']) {
      await tab.type('#line', answer);
      await tab.keyboard.press('Enter');
    }
    await tab.waitForFunction(() => document.getElementById('dialog').textContent.endsWith('?  : '));
    assert.match(await text(), /\nWechselwassermenge {27}: 0\.0{198}\u2026\n[^]*: 23\.3333 Grad Celsius\n[^]*\?  : $/);

    // 200 calculations pasted at once.
    await t.click('#restart');
    await t.showing(transcript('road').shown(0));
    waiting = until(' 23.3333 Grad Celsius\n' + transcript('road').shown(5).split('Celsius\n')[1]);
    const batch = '1\n100\n20\n25\n15\n';
    await t.paste('', {unit: batch, length: 200 * batch.length});
    got = await waiting;
    assert.equal((await text()).split(' 23.3333 Grad Celsius\n').length, 201);
    console.log(`figure: ${kind}: 200 pasted calculations shown after ${Math.round(got.took)} ms`);
    assert.ok(got.took < 20000);
    if (kind === 'chromium') await tab.screenshot({path: join(screenshots, 'brelix-1280x800.png')});

    assert.deepEqual(t.errors, []);
    assert.deepEqual(t.requests.filter((request) => request !== url), []);
    await tab.close();
  });
});

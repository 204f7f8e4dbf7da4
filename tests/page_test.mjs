// SPDX-License-Identifier: MIT
// Opens build-web/brelix.html from disk in Debian's chromium and firefox-esr
// and uses it as a person would, on a phone-sized screen and on a desktop:
// - whole transcripts typed, each answer only once its prompt is on the
//   page; the page must show the transcript's bytes as ISO-8859-1 with each
//   answer echoed after its prompt, and tell the end in words;
// - at 360x740 and at 360x430 (a phone with its keyboard open), each prompt
//   stands on one line with its answer, the result is in view above the
//   input and its number is the largest text of the dialogue, a repeated
//   menu is folded, every control is at least 44 px, the input is named
//   after the question, a key on the page is answered by a polite
//   announcement, Neu starten asks in the middle of a dialogue, and
//   axe-core finds nothing, in light and in dark;
// - what a screen reader reads of the dialogue: numbers with a decimal
//   comma, powers of ten, inf and nan in words, and the selection said as
//   such (in chromium, the page's accessibility tree is read too);
// - a megabyte line of junk and a pasted batch of 200 calculations.
// The page may make no request. Screenshots of chromium are saved beside the
// page, or in BRELIX_SCREENSHOTS: brelix-360x740.png, brelix-360x430.png
// and brelix-1280x800.png.
// Usage: node --test tests/page_test.mjs   (BRELIX_PAGE names another page,
// BRELIX_BROWSERS=chromium or firefox runs one browser)
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
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
// that hangs. How fast the page is, is a benchmark's business.
const timeout = 60000;

// A transcript as a person types it: its lines, and the output cut after
// each prompt that reads one.
function transcript(name) {
  const lines = readFileSync(join(transcripts, name + '.in'), 'latin1').split('\n').slice(0, -1);
  const out = readFileSync(join(transcripts, name + '.out'), 'latin1');
  const parts = out.split(/(?<=: )(?=\n|$)/);
  // The text on the page once the first k answers are typed.
  const shown = (k) => parts.slice(1, k + 1).reduce((text, part, i) => text + lines[i] + '\n' + part,
    parts[0]) + (k === parts.length ? lines[k - 1] + '\n' : '');
  // The prompt that the answer numbered k is typed at.
  const prompt = (k) => parts[k].slice(parts[k].lastIndexOf('\n') + 1);
  // The first line the program writes after the answer numbered k.
  const after = (k) => parts[k + 1].split('\n').find((chars) => chars);
  return {lines, out, prompts: out.match(/: (?=\n|$)/g).length, shown, prompt, after};
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
async function open(kind, {width = 360, height = 740, scheme = 'light', file = page, before = async () => {}} = {}) {
  const tab = await (await browser(kind, scheme)).newPage();
  await before(tab);
  tab.setDefaultTimeout(timeout);
  await tab.setViewport({width, height});
  if (kind === 'chromium') await tab.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
  const requests = [], errors = [];
  // The page itself, which firefox does not report, and the icon's data:
  // URL are no requests.
  tab.on('request', (request) => request.url().startsWith('data:') || requests.push(request.url()));
  tab.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  tab.on('pageerror', (error) => errors.push(error.message));
  await tab.goto(pathToFileURL(file).href);
  const text = () => tab.$eval('#dialog', (dialog) => dialog.textContent);
  const t = {
    tab, requests, errors, text,
    showing: (expected) =>
      tab.waitForFunction((want) => document.getElementById('dialog').textContent === want, {}, expected)
        .catch(async () => assert.equal(await text(), expected)),
    until: (chars) => tab.waitForFunction((chars) => document.getElementById('dialog').textContent.endsWith(chars),
      {polling: 100}, chars),
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
    // The words about the end, once the program's last output is on the
    // page too: it is drawn in the next frame.
    ended: async () => {
      await tab.waitForFunction(() => document.querySelector('[role=status]').textContent !== '');
      await tab.evaluate(() => new Promise((frame) => requestAnimationFrame(() => requestAnimationFrame(frame))));
      return tab.$eval('[role=status]', (status) => status.textContent);
    },
    // Pastes into the input line, as a clipboard would, the text made of
    // before, unit repeated up to length characters, and after: a long
    // text is made in the page, not sent over the protocol. Firefox
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
// the given text, each a line of its own (none where it is not shown), and
// the boxes of the dialogue and of the input line.
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
  if (!tops.size) return {lines: 0};
  // A box spans the line's height; boxes on one line share their top
  // within a pixel or two (a bold answer may sit a little apart).
  const lines = [...tops].sort((a, b) => a - b).filter((y, i, ys) => i === 0 || y - ys[i - 1] > 3).length;
  const hit = document.elementFromPoint((left + right) / 2, (top + bottom) / 2);
  return {lines, left, right, top, bottom, visible: dialog.contains(hit),
    dialog: dialog.getBoundingClientRect().toJSON(), input: document.getElementById('line').getBoundingClientRect().toJSON(),
    width: document.documentElement.clientWidth, scrollWidth: document.documentElement.scrollWidth};
}

// In the page: the font size of the last text in the dialogue that holds
// the given text, and the largest size of any other text shown there.
function sizes(chars) {
  const walker = document.createTreeWalker(document.getElementById('dialog'), NodeFilter.SHOW_TEXT);
  let size = 0, rest = 0;
  for (let node; (node = walker.nextNode());) {
    if (!node.data.trim() || !node.parentElement.getClientRects().length) continue;
    const px = parseFloat(getComputedStyle(node.parentElement).fontSize);
    if (node.data.includes(chars)) size = px;
    else rest = Math.max(rest, px);
  }
  return {size, rest};
}

// In the page: what a screen reader reads of an element, in short: its
// text and generated content, less what is hidden from it or not shown,
// with white space collapsed.
function heard(selector) {
  const read = (node) => {
    if (node.nodeType === Node.TEXT_NODE) return node.data;
    if (node.nodeType !== Node.ELEMENT_NODE || node.getAttribute('aria-hidden') === 'true' ||
        getComputedStyle(node).display === 'none') return '';
    // Chromium gives the content's strings, firefox its attr() unresolved.
    const generated = (which) => getComputedStyle(node, which).content.replace(/^(none|normal)$/, '')
      .replace(/attr\(([\w-]+)\)|"((?:[^"\\]|\\.)*)"/g,
        (all, name, chars) => name ? node.getAttribute(name) ?? '' : chars.replace(/\\(.)/g, '$1'));
    return generated('::before') + [...node.childNodes].map(read).join('') + generated('::after');
  };
  return read(document.querySelector(selector)).replace(/\s+/g, ' ').trim();
}

// The same from chromium's accessibility tree.
async function accessibleText(tab, selector) {
  const texts = (node) => node.role === 'StaticText' ? [node.name] : (node.children ?? []).flatMap(texts);
  const tree = await tab.accessibility.snapshot({root: await tab.$(selector), interestingOnly: false});
  return texts(tree).join('').replace(/\s+/g, ' ').trim();
}

// What a screen reader hears for the numbers of some transcripts, among
// their results and echoes, and for the hint's example: a point to type.
const spokenNumbers = [
  ['all_entries', ['0,1', '0,566667 Grad Celsius', '33,3333 Liter', '1 mal 10 hoch 6', '2 mal 10 hoch 6 Grad Celsius']],
  ['zero_divisors', ['minus 0 Liter', 'unendlich Liter', 'keine Zahl Liter', 'minus unendlich Grad Celsius']],
  ['number_spellings', ['plus 1 01 1 mal 10 hoch 0 0,5 mal 10 hoch 2 minus 5 Komma 1 mal 10 hoch 1 7 99,0',
    '22,5 Grad Celsius']],
  ['hint_reprompt', ['zum Beispiel 25 Punkt 5']],
];
const selection = 'Auswahl: 1 bis 4, 99 Ende :';

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
    // After the end, typing goes nowhere, and Space or Enter starts nothing.
    await tab.keyboard.type('1 180 60\n');
    await tab.evaluate(() => new Promise((frame) => requestAnimationFrame(() => requestAnimationFrame(frame))));
    await t.showing(garbage.shown(garbage.prompts));
    assert.ok(await tab.evaluate(() => !document.activeElement.matches('button, input')));

    // Neu starten after the end starts at once; in the middle of a
    // calculation it asks, and then nothing of the old run stays, and its
    // answers do not reach the new one. Then Ctrl-D in the middle of the
    // next calculation.
    const road = transcript('road');
    await t.click('#restart');
    for (let k = 0; k < 3; k++) {
      await t.showing(road.shown(k));
      await tab.type('#line', road.lines[k]);
      await tab.keyboard.press('Enter');
    }
    await t.showing(road.shown(3));
    await t.click('#restart');
    assert.ok(await tab.$eval('#renew', (d) => d.open));
    await t.click('#renew-yes');
    await t.showing(road.shown(0));
    const cut = await t.type('eof_in_calculation');
    assert.equal(cut.prompts, cut.lines.length + 1);
    await t.showing(cut.shown(cut.lines.length));
    await tab.keyboard.down('Control');
    await tab.keyboard.press('d');
    await tab.keyboard.up('Control');
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
        await press('OK');
      }
    }
    await t.showing(road.shown(road.lines.length));
    assert.match(await t.ended(), /^Brelix ist regul\u00e4r beendet \(Exit-Status 0\)\.$/);
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
            // The result on screen above the input, its number the largest
            // text of the dialogue, read out with a decimal comma. The menu
            // after it is folded, and read out as the question it asks.
            const result = run.after(k), menuEnd = run.shown(0).split('\n').at(-4);
            const box = await tab.evaluate(boxesOf, result);
            assert.ok(box.visible && box.top >= box.dialog.top - 1 && box.bottom <= box.input.top,
              `the result in view above the input: ${JSON.stringify(box)}`);
            const size = await tab.evaluate(sizes, '23.3333');
            assert.ok(size.size >= 20 && size.size >= size.rest, `the result's number the largest: ${JSON.stringify(size)}`);
            const said = await tab.evaluate(heard, '#dialog');
            assert.ok(said.includes(result.replace('23.3333', '23,3333')) && said.endsWith(selection), said);
            assert.equal(said.split(menuEnd).length, 2, 'the menu read out once');
            assert.equal((await tab.evaluate(boxesOf, menuEnd)).lines, 0, 'the menu folded');
            await t.axe('after a calculation');
            await assertTargets(t, 'after a calculation');
            if (kind === 'chromium' && scheme === 'light')
              await tab.screenshot({path: join(screenshots, `brelix-${width}x${height}.png`)});
            // A tap unfolds it, and the input keeps the focus.
            await tab.click('#dialog button');
            assert.equal((await tab.evaluate(boxesOf, menuEnd)).lines, 1, 'the menu unfolded');
            assert.equal(await tab.evaluate(() => document.activeElement.id), 'line');
          }
        }});
        await t.showing(road.shown(road.lines.length));
        await t.ended();
        await t.axe('after the end');
        await assertTargets(t, 'after the end');
        await t.click('#about-toggle');
        // Neu starten starts at once at the end and at the first menu.
        for (const when of ['at the end', 'at the first menu']) {
          await t.click('#restart');
          assert.ok(!(await tab.$eval('#renew', (d) => d.open)), `Neu starten asks nothing ${when}`);
          await t.showing(road.shown(0));
        }
        // Each key on the page is followed by what the input now holds.
        await tab.click('#menu button[value="1"]');
        await t.showing(road.shown(1));
        for (const [key, words] of [['-', 'minus'], ['2', 'minus 2'], ['.', 'minus 2 Komma'], ['5', 'minus 2,5'],
          ['back', 'minus 2 Komma'], ['back', 'minus 2'], ['back', 'minus'], ['back', 'leer']]) {
          await tab.click(`#keys button[value="${key}"]`);
          assert.equal((await tab.$eval('[aria-live=polite]', (e) => e.textContent)).trim(), words, `after ${key}`);
        }
        // Beyond the first menu, Neu starten asks, and Weiter eingeben
        // goes on where the dialogue was.
        await tab.click('#keys button[value="7"]');
        await t.click('#restart');
        assert.ok(await tab.$eval('#renew', (d) => d.open));
        await t.axe('while asking whether to start again');
        await assertTargets(t, 'while asking whether to start again');
        await tab.click('#renew-no');
        assert.deepEqual(await tab.$eval('#line', (line) => [line.value, document.activeElement === line]), ['7', true]);
        await t.showing(road.shown(1));
        await t.click('#end');
        await t.axe('while asking whether to end the input');
        await assertTargets(t, 'while asking whether to end the input');
        assert.deepEqual(t.errors, []);
        assert.deepEqual(t.requests.filter((request) => request !== url), []);
        await tab.close();
      });
  }

  test('numbers are read out as German speakers say them, the program\'s bytes shown', {timeout: 10 * timeout}, async () => {
    const t = await open(kind);
    for (const [name, phrases] of spokenNumbers) {
      const run = transcript(name);
      await t.paste(run.lines.join('\n') + '\n');
      await t.ended();
      // Each line of the program's that holds no prompt is on the page as
      // it wrote it.
      const shown = (await t.text()).split('\n');
      for (const chars of run.out.split('\n').filter((chars) => !chars.endsWith(': ')))
        assert.ok(shown.includes(chars), `${name}: "${chars}" shown`);
      const said = await t.tab.evaluate(heard, '#dialog');
      for (const phrase of phrases) assert.ok(said.includes(phrase), `${name}: "${phrase}" in "${said}"`);
      assert.doesNotMatch(said, /\d\.\d|\b(?:inf|nan)\b/, name);
      if (kind === 'chromium') assert.equal(await accessibleText(t.tab, '#dialog'), said, name);
      await t.click('#again');
      await t.showing(transcript('road').shown(0));
    }
    assert.deepEqual(t.errors, []);
    await t.tab.close();
  });

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

  // The page shows the program's opening before the program has started,
  // as the program wrote it when the page was made: its markup holds the
  // opening's lines, which the page keeps, so that a screen reader reading
  // them is not disturbed, and its script holds the opening's text, which
  // the program's output must match. Where either differs, the page shows
  // what the program writes.
  test('the page shows its opening before it runs, and what the program writes', {timeout: 10 * timeout}, async () => {
    const road = transcript('road');
    const opening = road.shown(0);
    if (kind === 'chromium') {
      const tab = await (await browser(kind, 'light')).newPage();
      await tab.setJavaScriptEnabled(false);
      await tab.goto(pathToFileURL(page).href);
      assert.equal(await tab.$eval('#dialog', (dialog) => dialog.textContent), opening);
      await tab.close();
    }
    const html = readFileSync(page, 'latin1');
    const literal = /var opening = "(.*)";/.exec(html)[1];
    const lines = '<div class="l">Temperaturberechnung beim Wasserwechsel\n</div>';
    assert.ok(html.includes(lines));
    const pages = mkdtempSync(join(tmpdir(), 'brelix-opening-'));
    try {
      const assign = (chars) => `var opening = "${chars}";`;
      for (const [name, from, to] of [
        ['the same', '', ''],
        ['another', assign(literal), assign(literal.replace('Brelix 0.1', 'Brelix 9.9'))],
        ['a longer', assign(literal), assign(literal + '?  : ')],
        ['a shorter', assign(literal), assign(literal.slice(0, -'?  : '.length))],
        ['no', assign(literal), assign('')],
        ['other lines as the', lines, lines.replace('Temperatur', 'Brelix 9.9\n</div><div class="l">Temperatur')],
        ['no lines as the', lines, ''],
      ]) {
        const file = join(pages, 'brelix.html');
        const changed = from ? html.replace(from, to) : html;
        assert.equal(changed === html, !from, name);
        writeFileSync(file, changed, 'latin1');
        const t = await open(kind, {file, before: (tab) => tab.evaluateOnNewDocument(() => {
          document.addEventListener('DOMContentLoaded', () => { window.markup = document.querySelector('#lines .l'); });
        })});
        await t.showing(opening).catch((e) => assert.fail(`${name} opening: ${e.message}`));
        await t.tab.type('#line', road.lines[0]);
        await t.tab.keyboard.press('Enter');
        await t.showing(road.shown(1));
        const kept = await t.tab.evaluate(() => window.markup === document.querySelector('#lines .l'));
        assert.equal(kept, !from, `${name} opening: the markup's lines kept`);
        assert.deepEqual(t.errors, []);
        await t.tab.close();
      }
    } finally {
      rmSync(pages, {recursive: true, force: true});
    }
  });

  test('long input and a pasted batch are answered', {timeout: 10 * timeout}, async () => {
    const t = await open(kind, {width: 1280, height: 800});
    const {tab, text, until} = t;
    const road = transcript('road');

    // A megabyte line of junk with emoji, pasted with its line feed at the
    // selection, and again without one and then Enter at a calculation's
    // prompt: the hint comes, and the echo is shortened. Each emoji
    // reaches the program as one "?".
    const hint = '\nUng\u00fcltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n';
    const junk = {unit: 'x\u{1F41F}\u00e4\u{1F321},', length: 1 << 20};
    const echo = [...junk.unit.repeat(60)].map((c) => c.codePointAt(0) < 256 ? c : '?').join('').slice(0, 200) + '\u2026';
    await t.paste('', {...junk, after: '\n'});
    await until(hint + '\n\n?  : ');
    assert.ok((await text()).endsWith(`?  : ${echo}\n${hint}\n\n?  : `));
    await tab.type('#line', '1');
    await tab.keyboard.press('Enter');
    await t.showing(road.shown(1).replace('?  : 1', `?  : ${echo}\n${hint}\n\n?  : 1`));
    await t.paste('', junk);
    await tab.keyboard.press('Enter');
    await until(hint + '\n\n' + road.prompt(1));

    // Every byte of a long line reaches the program: 20 written with a
    // megabyte of zeros after the point, and the result is as with 20.
    const zeros = (1 << 20) - 10;
    await tab.type('#line', '100');
    await tab.keyboard.press('Enter');
    await until(road.prompt(2));
    await t.paste('0.', {unit: '0', length: zeros, after: `2e${zeros + 2}\n`});
    await until(road.prompt(3));
    for (const answer of ['25', '15']) {
      await tab.type('#line', answer);
      await tab.keyboard.press('Enter');
    }
    await until('?  : ');
    assert.ok((await text()).endsWith(`${road.prompt(2)}0.${'0'.repeat(198)}\u2026\n` +
      road.shown(5).split(`${road.prompt(2)}${road.lines[2]}\n`)[1]));

    // 200 calculations pasted at once.
    await t.click('#restart');
    await t.click('#renew-yes');
    await t.showing(road.shown(0));
    const batch = '1\n100\n20\n25\n15\n';
    await t.paste('', {unit: batch, length: 200 * batch.length});
    await until(' 23.3333 Grad Celsius\n' + road.shown(5).split('Celsius\n')[1]);
    assert.equal((await text()).split(' 23.3333 Grad Celsius\n').length, 201);
    if (kind === 'chromium') await tab.screenshot({path: join(screenshots, 'brelix-1280x800.png')});

    assert.deepEqual(t.errors, []);
    assert.deepEqual(t.requests.filter((request) => request !== url), []);
    await tab.close();
  });
});

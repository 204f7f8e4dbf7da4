// SPDX-License-Identifier: MIT
// Opens build-web/brelix.html from disk in Debian's chromium and types whole
// transcripts into it as a person would: each answer only once its prompt is
// on the page. The page must show the transcript's bytes as ISO-8859-1 with
// each answer echoed after its prompt, and the exit status the transcript
// expects. It also times a pasted batch of 200 calculations and saves
// screenshots beside the page.
// Usage: node --test tests/page_test.mjs   (BRELIX_PAGE names another page)
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {test} from 'node:test';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const page = resolve(process.env.BRELIX_PAGE ?? join(root, 'build-web/brelix.html'));
const url = pathToFileURL(page).href;
const transcripts = join(root, 'tests/transcripts');
// A loaded 2-core machine may take its time.
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
  return {lines, prompts: out.match(/: (?=\n|$)/g).length, status, shown};
}

test('a dialogue typed into the page shows what a terminal shows', {timeout: 10 * timeout}, async () => {
  const profile = mkdtempSync(join(tmpdir(), 'brelix-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    pipe: true,
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    protocolTimeout: 10 * timeout,
  });
  try {
    const tab = await browser.newPage();
    tab.setDefaultTimeout(timeout);
    await tab.setViewport({width: 412, height: 915});
    const requests = [], errors = [];
    tab.on('request', (request) => requests.push(request.url()));
    tab.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
    tab.on('pageerror', (error) => errors.push(error.message));
    await tab.goto(url);

    const text = () => tab.$eval('#dialog', (dialog) => dialog.textContent);
    const showing = (expected) =>
      tab.waitForFunction((want) => document.getElementById('dialog').textContent === want, {}, expected)
        .catch(async () => assert.equal(await text(), expected));
    const exitStatus = async () => {
      await tab.waitForSelector('#done:not([hidden])');
      return tab.$eval('#status', (status) => status.textContent);
    };
    // Types each line, from the one numbered first, once the page shows
    // everything up to its prompt.
    const type = async (name, first = 0) => {
      const run = transcript(name);
      for (let k = first; k < run.lines.length; k++) {
        await showing(run.shown(k));
        await tab.type('#line', run.lines[k]);
        await tab.keyboard.press('Enter');
      }
      return run;
    };

    // The prompt shows before any answer, with the menu's umlaut as one
    // character, and a wrong answer brings the hint and the same question.
    const garbage = transcript('hint_reprompt');
    assert.equal(garbage.lines.length, garbage.prompts);
    await showing(garbage.shown(0));
    assert.match(await text(), /\(2\) {2}zur\u00fcckgerechnete Ausgangstemperatur/);
    assert.match(await text(), /\n\n\?  : $/);
    await tab.type('#line', garbage.lines[0]);
    await tab.keyboard.press('Enter');
    await showing(garbage.shown(1));
    assert.ok((await text()).endsWith(`?  : ${garbage.lines[0]}\n` +
      '\nUng\u00fcltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n\n\n?  : '));
    await type('hint_reprompt', 1);
    await showing(garbage.shown(garbage.prompts));
    assert.equal(await exitStatus(), `Programm beendet, Exit-Status ${garbage.status}.`);
    await tab.screenshot({path: join(dirname(page), 'brelix-412.png'), fullPage: true});
    assert.equal(await tab.evaluate(() => document.documentElement.scrollWidth), 412);

    // Ctrl-D in the middle of a calculation, after a restart.
    await tab.click('#restart');
    const cut = await type('eof_in_calculation');
    assert.equal(cut.prompts, cut.lines.length + 1);
    await showing(cut.shown(cut.lines.length));
    await tab.keyboard.down('Control');
    await tab.keyboard.press('d');
    await tab.keyboard.up('Control');
    assert.equal(await exitStatus(), `Programm beendet, Exit-Status ${cut.status}.`);
    assert.equal(cut.status, 1);

    // 200 calculations pasted at once.
    await tab.setViewport({width: 1024, height: 768});
    await tab.click('#restart');
    await showing(garbage.shown(0));
    const took = await tab.evaluate(async () => {
      const paste = new DataTransfer();
      paste.setData('text/plain', '1\n100\n20\n25\n15\n'.repeat(200) + '99\n');
      const start = performance.now();
      document.getElementById('line').dispatchEvent(new ClipboardEvent('paste', {clipboardData: paste, cancelable: true}));
      const dialog = document.getElementById('dialog');
      while (document.getElementById('done').hidden || dialog.textContent.split(' 23.3333 Grad').length !== 201)
        await new Promise(requestAnimationFrame);
      return performance.now() - start;
    });
    console.log(`200 pasted calculations shown in ${Math.round(took)} ms`);
    assert.ok(took < 20000);
    await tab.screenshot({path: join(dirname(page), 'brelix.png')});

    assert.deepEqual(errors, []);
    assert.deepEqual([...new Set(requests)], [url]);
  } finally {
    await browser.close();
    rmSync(profile, {recursive: true, force: true});
  }
});

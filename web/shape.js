// SPDX-License-Identifier: MIT
// How the page shows the dialogue: the program's output and the echoes of
// what the user typed, as elements in lines, one per line. Their text is
// exactly the program's output with the echoes. The page knows the
// program's texts only to present them: a prompt's padding, the menu's
// hanging indent, a result line by its shape, the hint, and the question
// the input waits for. Where a screen reader would misread a number, it
// gets it as German speakers say it, beside the program's bytes hidden
// from it.
//
// This is part of the page's script, which defines lines, and needs only
// what a document offers to make elements: the build runs it under node
// too (opening.js), to write the lines of the program's opening into the
// page, which the page shows before its script has run.

// A result: a label, " : ", a number as the program writes one, its unit.
var results = /^(.* : )([-+]?(?:[\d.]+(?:e[-+]\d+)?|inf|nan))( \S.*)$/;
var prompts = /^(.*?\S)( *)(: )$/;
var selection = '?  : ', choices = '1 bis 4, 99 Ende';
// A number in a text, as the program writes or reads one, after what
// precedes it: Safari before 16.4 knows no lookbehind and would reject
// the whole script.
var numbers = /(^|[^\w.])([-+]?)(?:(\d+\.?\d*|\.\d+)(?:e([-+]?)0*(\d+))?|(inf|nan))(?![\w.])/gi;
var hint = 'Ung\xFCltige Eingabe: ';

var chunk;          // the last chunk of lines
var current;        // the dialogue's last line, which output may continue
var text;           // the program's text on that line so far, without echoes
var shown;          // how much of it is on the page
var answered;       // whether the line holds an answer
var menus;          // menus shown since the start
var folded;         // the lines of the last repeated menu
var unfit = new Set(); // lines to be fitted to the width
var anchor = null;  // the result line to keep in view, if any

// Empties lines, for a dialogue from its start.
function begin() {
  unfit.clear();
  anchor = null;
  menus = 0;
  lines.textContent = '';
  chunk = null;
  newLine();
}

// Lines go in chunks, and the browser lays out only the chunks in view:
// a pasted batch of calculations makes thousands of lines.
function newLine() {
  if (!chunk || chunk.childNodes.length >= 50) {
    chunk = document.createElement('div');
    chunk.className = 'c';
    lines.append(chunk);
  }
  current = document.createElement('div');
  current.className = 'l';
  chunk.append(current);
  text = '';
  shown = 0;
  answered = false;
}

function span(className) {
  var s = document.createElement('span');
  s.className = className;
  s.append.apply(s, Array.prototype.slice.call(arguments, 1));
  return s;
}

// The numbers in chars as German speakers say them: a decimal comma, the
// signs and a power of ten in words, inf and nan as words. With point,
// the point is said: the hint's example shows what to type.
function german(chars, point) {
  return chars.replace(numbers, function (all, before, sign, digits, minus, power, word) {
    var words = sign === '-' ? 'minus ' : sign ? 'plus ' : '';
    if (word) return before + (/nan/i.test(word) ? 'keine Zahl' : words + 'unendlich');
    words += digits.replace(/^\./, '0.').replace(/\.$/, point ? ' Punkt' : ' Komma').replace('.', point ? ' Punkt ' : ',');
    return before + (power ? words + ' mal 10 hoch ' + (minus === '-' ? 'minus ' : '') + power : words);
  });
}

// What is shown, hidden from a screen reader, which says words instead.
function instead(words) {
  var say = span('say'), bytes = span('');
  say.dataset.say = words;
  bytes.setAttribute('aria-hidden', 'true');
  bytes.append.apply(bytes, Array.prototype.slice.call(arguments, 1));
  var both = document.createDocumentFragment();
  both.append(say, bytes);
  return both;
}

// The program's or the user's chars, with their numbers said in German.
function voiced(chars, point) {
  var words = german(chars, point);
  return words === chars ? chars : instead(words, chars);
}

// Puts the program's text of the current line on the page as it stands.
function sync() {
  if (shown < text.length) current.append(text.slice(shown));
  shown = text.length;
}

// Ends the current line, giving it the shape of what it holds when it is
// the program's text alone. Its text stays the same.
function endLine() {
  var l = current, m;
  if (answered) {
    sync();
    l.append('\n');
  } else if (!text) {
    l.className = 'l b';
    l.replaceChildren('\n');
  } else if ((m = results.exec(text))) {
    l.className = 'l r';
    l.replaceChildren(m[1], span('o', span('v', voiced(m[2])), m[3]), '\n');
    toFit(l);
    anchor = l;
  } else if ((m = /^(\(\d+\) *| {5})(.*)$/.exec(text))) {
    l.className = 'l m';
    if (m[1] === '(1)  ' && ++menus > 1) l.before(fold(folded = []));
    // The menu is read out once; the later ones are the same text.
    if (menus > 1) {
      l.setAttribute('aria-hidden', 'true');
      l.classList.add('x');
      folded.push(l);
    }
    l.replaceChildren(span('n', m[1]), m[2], '\n');
  } else {
    var isHint = text.lastIndexOf(hint, 0) === 0;
    if (isHint) l.className = 'l h';
    l.replaceChildren(voiced(text, isHint), '\n');
  }
  newLine();
}

// A prompt's padding goes into a span of its own, which a narrow screen
// shrinks to one blank; the prompt and its answer are fitted to the width.
function shapePrompt() {
  var m = !answered && shown < text.length && prompts.exec(text);
  if (!m) return sync();
  // The selection's prompt says nothing to a screen reader; it says
  // what may be chosen.
  if (text === selection) current.replaceChildren(instead('Auswahl: ' + choices + ' :', m[1], span('p', m[2]), m[3]));
  else current.replaceChildren(m[1], span('p', m[2]), m[3]);
  shown = text.length;
  toFit(current);
}

// Puts items on the page: the program's output and the echoes, as
// [isEcho, text].
function shape(items) {
  if (items.length) anchor = null;
  items.forEach(function (item) {
    var parts = item[1].split('\n');
    if (item[0]) {
      // The answer stands on its prompt's line.
      shapePrompt();
      current.append(span('a', voiced(parts[0])));
      answered = true;
      if (current.classList.contains('f')) toFit(current);
      if (parts.length > 1) endLine();
      return;
    }
    text += parts[0];
    for (var i = 1; i < parts.length; i++) {
      endLine();
      text = parts[i];
    }
  });
  shapePrompt();
}

// Marks a line that is to stand on one line, for fit() to measure. A
// line as short as the selection's prompt with its answer fits on any
// screen at its full size, and is not measured.
function toFit(l) {
  var short = l.textContent.length <= 16;
  l.classList.add('f');
  l.classList.toggle('fitted', short);
  if (short) l.style.removeProperty('--w');
  else unfit.add(l);
}

// A line that stands for a repeated menu, with a key that shows it. It
// serves the eye only: a screen reader skips the menu, and the entry
// buttons offer the same choice.
function fold(menuLines) {
  var f = document.createElement('div'), key = document.createElement('button');
  f.className = 'l fold';
  f.setAttribute('aria-hidden', 'true');
  key.setAttribute('type', 'button');
  key.setAttribute('tabindex', '-1');
  key.setAttribute('aria-expanded', 'false');
  key.menuLines = menuLines;
  f.append(key);
  return f;
}

// SPDX-License-Identifier: MIT
// What the program writes before its first read, for the page. With no
// input, that is all it writes.
//   node opening.js literal brelix.js
// writes it as a JavaScript string literal in ASCII that may stand inside
// a <script> element;
//   node opening.js lines brelix.js shape.js
// writes the markup of the dialogue's lines that the page's own code,
// shape.js, makes of it, in ASCII, for the page to show before its script
// has run.
'use strict';
const {execFileSync} = require('node:child_process');
const {readFileSync} = require('node:fs');

function hex(c) {
  return c.charCodeAt(0).toString(16).toUpperCase().padStart(2, '0');
}

// Just as much of a document as shape.js uses; anything else it would use
// fails here. Attributes keep the order in which they were first set, as a
// browser keeps them, so that the page's lines and the same lines made by
// its script have the same attributes in the same order.
function Element(name) {
  this.localName = name;
  this.childNodes = [];
  this.parentNode = null;
  this.attributes = new Map();
  const element = this;
  this.dataset = new Proxy({}, {set: (_, key, value) => (element.setAttribute(`data-${key}`, value), true)});
  this.style = {removeProperty() {}};
  const classes = () => (element.attributes.get('class') ?? '').split(/\s+/).filter(Boolean);
  const update = (list) => element.setAttribute('class', [...new Set(list)].join(' '));
  this.classList = {
    contains: (name) => classes().includes(name),
    add: (name) => update([...classes(), name]),
    toggle: (name, force = !classes().includes(name)) => {
      if (force) update([...classes(), name]);
      else if (classes().includes(name)) update(classes().filter((c) => c !== name));
      return force;
    },
  };
}
Element.prototype = {
  get className() { return this.attributes.get('class') ?? ''; },
  set className(value) { this.setAttribute('class', value); },
  setAttribute(name, value) { this.attributes.set(name, String(value)); },
  get textContent() { return this.childNodes.map((node) => node.textContent).join(''); },
  set textContent(value) { this.replaceChildren(...(value ? [value] : [])); },
  append(...nodes) {
    for (const node of nodes) {
      if (node instanceof Fragment) this.append(...node.childNodes.splice(0));
      else {
        const child = typeof node === 'string' ? new Text(node) : node;
        child.parentNode?.childNodes.splice(child.parentNode.childNodes.indexOf(child), 1);
        child.parentNode = this;
        this.childNodes.push(child);
      }
    }
  },
  replaceChildren(...nodes) {
    for (const child of this.childNodes.splice(0)) child.parentNode = null;
    this.append(...nodes);
  },
  before(node) {
    const siblings = this.parentNode.childNodes;
    node.parentNode = this.parentNode;
    siblings.splice(siblings.indexOf(this), 0, node);
  },
};

function Text(data) {
  this.textContent = data;
  this.parentNode = null;
}

function Fragment() {
  this.childNodes = [];
}
Fragment.prototype.append = function (...nodes) {
  for (const node of nodes) this.childNodes.push(typeof node === 'string' ? new Text(node) : node);
};

const document = {
  createElement: (name) => new Element(name),
  createDocumentFragment: () => new Fragment(),
};

function markup(node) {
  const escape = (chars, special) => chars.replace(special, (c) => `&#${c.charCodeAt(0)};`);
  if (node instanceof Text) return escape(node.textContent, /[&<>]/g);
  const attributes = [...node.attributes].map(([name, value]) => ` ${name}="${escape(value, /[&"<>]/g)}"`);
  return `<${node.localName}${attributes.join('')}>${node.childNodes.map(markup).join('')}</${node.localName}>`;
}

const [mode, program, shaper] = process.argv.slice(2);
const output = execFileSync(process.execPath, [program], {input: ''}).toString('latin1');
if (mode === 'literal') {
  process.stdout.write(JSON.stringify(output).replace(/[^ -~]|</g, (c) => '\\x' + hex(c)));
} else if (mode === 'lines') {
  const lines = new Element('div');
  const shape = new Function('document', 'lines', `'use strict';\n${readFileSync(shaper, 'latin1')}\n` +
                             'return function (chars) { begin(); shape([[false, chars]]); };');
  shape(document, lines)(output);
  process.stdout.write(lines.childNodes.map(markup).join('').replace(/[^ -~\n]/g, (c) => `&#${c.charCodeAt(0)};`));
} else {
  throw new Error('usage: node opening.js literal|lines PROGRAM [SHAPER]');
}

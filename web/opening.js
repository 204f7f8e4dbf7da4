// SPDX-License-Identifier: MIT
// Writes what the program writes before its first read, as a JavaScript
// string literal in ASCII that may stand inside a <script> element:
// node opening.js brelix.js. With no input, that is all it writes.
'use strict';
const {execFileSync} = require('node:child_process');
const output = execFileSync(process.execPath, [process.argv[2]], {input: ''}).toString('latin1');
process.stdout.write(JSON.stringify(output).replace(/[^ -~]|</g,
  (c) => '\\x' + c.charCodeAt(0).toString(16).toUpperCase().padStart(2, '0')));

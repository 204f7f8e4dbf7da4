// SPDX-License-Identifier: MIT
// The host of build-web/brelix.js under node: the program's standard
// streams are the process's own. Input arrives in the pieces the pipe, file
// or terminal delivers; output is written synchronously, so none is lost
// when the program exits and node exits with it.
var brelixInput = process.stdin[Symbol.asyncIterator]();
Module['readInput'] = function() {
  return brelixInput.next().then(function(piece) { return piece.done ? null : piece.value; });
};
var brelixFs = require('fs');
Module['writeOutput'] = function(fd, bytes) {
  for (var at = 0; at < bytes.length;) at += brelixFs.writeSync(fd, bytes, at);
};

// SPDX-License-Identifier: MIT
// Brelix's standard input, standard output and exit status, in a page or
// under node. Emscripten's own would not hold a dialogue: its stdin opens a
// window.prompt for every read, its stdout keeps text back until a line feed,
// so the prompt never shows, and decodes it as UTF-8; and once a read has had
// to wait, main's return value is lost. These replacements pass the bytes
// unchanged between the program and its host, and let a read wait for input
// through Asyncify, which suspends the program and resumes it later.
//
// The host hands over input and takes output through the module object:
//   readInput()             the next piece of standard input: bytes, null at
//                           its end, or a promise of either;
//   writeOutput(fd, bytes)  the bytes written on fd 1 or 2; an exception
//                           with a node-style code (EPIPE) makes a write fail;
//   onExit(status)          Emscripten's own hook, told the exit status.
// Under node, where it sets no onExit, the process exits with the status.

mergeInto(LibraryManager.library, {
  // Bytes the host has given but the program has not read yet.
  $stdin: {bytes: new Uint8Array(0), ended: false, error: 0},

  // The WASI error number for a host's exception, EIO if it has none.
  $errnoOf__deps: ['$ERRNO_CODES'],
  $errnoOf: function(e) {
    return (e && ERRNO_CODES[e.code]) || {{{ cDefine('EIO') }}};
  },

  // Runs once main has returned after having waited: the status it returns
  // then reaches no one unless someone waits for Asyncify to finish.
  // exit() ends by throwing in a page; handleException takes that throw.
  $exitAfterMain__deps: ['$Asyncify', '$handleException'],
  $exitAfterMain__postset: 'addOnPostRun(exitAfterMain);',
  $exitAfterMain: function() {
    if (Asyncify.currData)
      Asyncify.whenDone().then(function(status) {
        try {
          exit(status);
        } catch (e) {
          handleException(e);
        }
      }, handleException);
  },

  // The page may connect to nothing, not even to the data: URL in this
  // script that holds the WebAssembly, which Emscripten fetches when it can.
  // This declaration hides fetch from all of Emscripten's code, which then
  // decodes that URL itself.
  $noFetch__postset: 'var fetch;',
  $noFetch: {},

  // The WebAssembly is compiled and started at once, while the script that
  // calls Brelix() runs, and not a few tasks later: the program is then
  // ready for the first answer as soon as it can be. A browser
  // that refuses to compile this much on its main thread (Chrome did above
  // 4 KB until 2023) compiles it in the background, as Emscripten would.
  // Its bytes are decoded by the browser where it can; Emscripten's own
  // decoder takes a script loop over every byte.
  $startAtOnce__postset: "Module['instantiateWasm'] = startAtOnce;",
  $startAtOnce: function(imports, receive) {
    var bytes = Uint8Array.fromBase64 && isDataURI(wasmBinaryFile) ?
      Uint8Array.fromBase64(wasmBinaryFile.slice(dataURIPrefix.length)) : getBinary(wasmBinaryFile);
    var module;
    try {
      module = new WebAssembly.Module(bytes);
    } catch (e) {
      WebAssembly.instantiate(bytes, imports).then(function(result) { receive(result.instance); }, abort);
      return {};
    }
    receive(new WebAssembly.Instance(module, imports));
    return {};
  },

  // read(2) on standard input: fills the buffers at iov from what the host
  // has given and asks it for more only when nothing is left, suspending the
  // program until the host's promise settles. A read takes what is there and
  // does not wait for the buffers to fill, as on a pipe or a terminal.
  fd_read__deps: ['$Asyncify', '$stdin', '$errnoOf', '$exitAfterMain', '$noFetch', '$startAtOnce'],
  fd_read__sig: 'iiiii',
  fd_read: function(fd, iov, iovcnt, pnum) {
    if (fd !== 0) return {{{ cDefine('EBADF') }}};
    return Asyncify.handleSleep(function(wakeUp) {
      function fill() {
        if (!stdin.bytes.length && stdin.error) return stdin.error;
        var num = 0;
        for (var i = 0; i < iovcnt && stdin.bytes.length; i++, iov += {{{ C_STRUCTS.iovec.__size__ }}}) {
          var ptr = {{{ makeGetValue('iov', C_STRUCTS.iovec.iov_base, 'i32') }}};
          var len = Math.min({{{ makeGetValue('iov', C_STRUCTS.iovec.iov_len, 'i32') }}}, stdin.bytes.length);
          HEAPU8.set(stdin.bytes.subarray(0, len), ptr);
          stdin.bytes = stdin.bytes.subarray(len);
          num += len;
        }
        {{{ makeSetValue('pnum', 0, 'num', 'i32') }}};
        return 0;
      }
      function take(bytes) {
        if (bytes === null) stdin.ended = true;
        else stdin.bytes = bytes;
        next();
      }
      function fail(e) {
        stdin.ended = true;
        stdin.error = errnoOf(e);
        next();
      }
      function next() {
        if (stdin.bytes.length || stdin.ended) return wakeUp(fill());
        var got;
        try {
          got = Module['readInput']();
        } catch (e) {
          return fail(e);
        }
        if (got && typeof got.then === 'function') got.then(take, fail);
        else take(got);
      }
      next();
    });
  },

  // write(2) on standard output and standard error: hands the bytes to the
  // host at once, all of them or none.
  // Emscripten's exit code calls flush_NO_FILESYSTEM, which comes with its
  // own fd_write, so this one has to bring it along.
  fd_write__deps: ['$errnoOf', '$flush_NO_FILESYSTEM'],
  fd_write__sig: 'iiiii',
  fd_write: function(fd, iov, iovcnt, pnum) {
    if (fd !== 1 && fd !== 2) return {{{ cDefine('EBADF') }}};
    var pieces = [];
    for (var i = 0; i < iovcnt; i++, iov += {{{ C_STRUCTS.iovec.__size__ }}}) {
      var ptr = {{{ makeGetValue('iov', C_STRUCTS.iovec.iov_base, 'i32') }}};
      pieces.push(HEAPU8.subarray(ptr, ptr + {{{ makeGetValue('iov', C_STRUCTS.iovec.iov_len, 'i32') }}}));
    }
    var num = pieces.reduce(function(sum, piece) { return sum + piece.length; }, 0);
    var bytes = new Uint8Array(num);
    pieces.reduce(function(at, piece) { bytes.set(piece, at); return at + piece.length; }, 0);
    try {
      Module['writeOutput'](fd, bytes);
    } catch (e) {
      return errnoOf(e);
    }
    {{{ makeSetValue('pnum', 0, 'num', 'i32') }}};
    return 0;
  },
});

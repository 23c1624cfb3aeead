// Runs before the browser build's program under node (kavrix-headless.js):
// the host's folders appear at their own paths and the working directory is
// the host's, so the native command line (--data DIR, --replay FILE,
// --save-dir DIR, --dump-state FILE, --screenshot F:FILE) works unchanged.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var fs = require('fs');
  fs.readdirSync('/').forEach(function(name) {
    if (name === 'dev' || name === 'proc' || name === 'sys') return;
    try {
      if (!fs.statSync('/' + name).isDirectory()) return;
    } catch (e) {
      return;
    }
    try { FS.mkdir('/' + name); } catch (e) { /* already there (tmp, home) */ }
    FS.mount(NODEFS, {root: '/' + name}, '/' + name);
  });
  FS.chdir(process.cwd());
  for (var name in process.env) ENV[name] = process.env[name];
});
// The program's own .wasm beside it, read from the disk (node's fetch cannot).
Module['wasmBinary'] = require('fs').readFileSync(require('path').join(__dirname, 'kavrix-headless.wasm'));

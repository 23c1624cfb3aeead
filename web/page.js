// The page's side of Kavrix in the browser: checks that the browser can run
// the game, loads kavrix.wasm and kavrix.data with a loading bar (a file that
// fails is named), waits for a click (sound may start only after one), runs
// the game, scales the canvas sharply, and gives it full screen, the key help
// and messages. With ?test=SCRIPT&frames=N it plays an input script instead,
// reports the game's hashes and saves on the console and reloads once to show
// that the saves were kept (tests/web/browser_test.sh).
'use strict';
(function () {
  var stage = document.getElementById('stage');
  var canvas = document.getElementById('canvas');
  var cover = document.getElementById('cover');
  var params = new URLSearchParams(location.search);
  var testScript = params.get('test');
  var testFrames = params.get('frames') || '1500';
  var autostart = params.has('autostart') || testScript !== null;
  var reloadedTest = testScript !== null && sessionStorage.getItem('kavrix-test-reloaded') === '1';
  var gameArgs = ['--window', '--data', '/data', '--save-dir', '/saves'];

  function show(id, on) { document.getElementById(id).hidden = !on; }

  function problem(text) {
    show('loading', false);
    show('start', false);
    cover.hidden = false;
    var box = document.getElementById('problem');
    box.textContent = text;
    box.hidden = false;
    console.error('Kavrix: ' + text);
  }

  function message(text) {
    document.getElementById('message-text').textContent = text;
    show('message', true);
  }
  document.getElementById('message-close').onclick = function () {
    show('message', false);
    canvas.focus();
  };

  // What the browser must have: WebAssembly, and a canvas that draws.
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    problem('Tento prohlížeč neumí spouštět WebAssembly, a tak v něm Kavrix nepoběží. ' +
            'Zkuste novější prohlížeč nebo WebAssembly zapněte.\n\n' +
            'This browser cannot run WebAssembly, so Kavrix cannot run in it. ' +
            'Try a newer browser, or turn WebAssembly on.');
    return;
  }
  var context = canvas.getContext && canvas.getContext('2d', {alpha: false});
  if (!context || typeof ImageData !== 'function') {
    problem('Tento prohlížeč neumí kreslit do plátna (canvas), a tak v něm Kavrix nepoběží.\n\n' +
            'This browser cannot draw into a canvas, so Kavrix cannot run in it.');
    return;
  }

  // The canvas keeps its 800 x 600 pixels; on the page each game pixel
  // covers a whole number of device pixels where that fits, else the largest
  // size that fits, square pixels either way.
  function layout() {
    var ratio = window.devicePixelRatio || 1;
    var fit = Math.min(stage.clientWidth * ratio / 800, stage.clientHeight * ratio / 600);
    var factor = fit >= 1 ? Math.floor(fit) : fit;
    canvas.style.width = (800 * factor / ratio) + 'px';
    canvas.style.height = (600 * factor / ratio) + 'px';
  }
  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  layout();

  function setFullScreen(on) {
    if (on && !document.fullscreenElement && stage.requestFullscreen) stage.requestFullscreen().catch(function () {});
    if (!on && document.fullscreenElement) document.exitFullscreen().catch(function () {});
  }
  document.getElementById('fullscreen').onclick = function () {
    setFullScreen(!document.fullscreenElement);
    canvas.focus();
  };

  // The game's own help is its F1 key: the button presses it for a moment.
  function pressKey(code, keyCode) {
    ['keydown', 'keyup'].forEach(function (type, i) {
      setTimeout(function () {
        var event = new KeyboardEvent(type, {key: code, code: code, bubbles: true, cancelable: true});
        Object.defineProperty(event, 'keyCode', {get: function () { return keyCode; }});
        Object.defineProperty(event, 'which', {get: function () { return keyCode; }});
        window.dispatchEvent(event);
      }, i * 120);
    });
  }
  document.getElementById('help').onclick = function () {
    pressKey('F1', 112);
    canvas.focus();
  };

  // Loading: the two big files with progress, then kavrix.js.
  var loaded = {}, totals = {};
  function progress() {
    var have = 0, total = 0;
    for (var name in totals) {
      have += loaded[name] || 0;
      total += totals[name];
    }
    if (total > 0) {
      document.getElementById('fill').style.width = Math.min(100, 100 * have / total) + '%';
      document.getElementById('progress').textContent = (have / 1048576).toFixed(1) + ' / ' +
        (total / 1048576).toFixed(1) + ' MB';
    }
  }

  function fetchFile(name) {
    return fetch(name).catch(function (error) {
      throw new Error(name + ': ' + (error.message || error));
    }).then(function (response) {
      if (!response.ok) throw new Error(name + ': HTTP ' + response.status + ' ' + response.statusText);
      totals[name] = Number(response.headers.get('Content-Length')) || 0;
      if (!response.body || !response.body.getReader) return response.arrayBuffer();
      var reader = response.body.getReader(), chunks = [], size = 0;
      function pump() {
        return reader.read().then(function (part) {
          if (part.done) {
            var whole = new Uint8Array(size), at = 0;
            chunks.forEach(function (chunk) { whole.set(chunk, at); at += chunk.length; });
            totals[name] = Math.max(totals[name], size);
            loaded[name] = size;
            progress();
            return whole.buffer;
          }
          chunks.push(part.value);
          size += part.value.length;
          loaded[name] = size;
          totals[name] = Math.max(totals[name], size);
          progress();
          return pump();
        });
      }
      return pump();
    }).catch(function (error) {
      throw new Error(String(error.message || error).indexOf(name) === 0 ? error.message : name + ': ' + error);
    });
  }

  function loadScript(name) {
    return new Promise(function (resolve, reject) {
      var script = document.createElement('script');
      script.src = name;
      script.onload = resolve;
      script.onerror = function () { reject(new Error(name + ': could not be loaded')); };
      document.body.appendChild(script);
    });
  }

  var firstFrame = true, timing = {};
  var Module = window.Module = {
    canvas: canvas,
    print: function (text) { console.log(text); },
    printErr: function (text) { console.error(text); },
    onAbort: function (what) {
      problem('Hra skončila chybou · The game stopped with an error:\n' + what);
    },
    kavrixFrameDrawn: function () {
      if (!firstFrame) return;
      firstFrame = false;
      cover.hidden = true;
      layout();
      console.log('Kavrix: first frame drawn ' + Math.round(performance.now()) + ' ms after the page began loading' +
                  ' (files fetched at ' + timing.fetched + ' ms, WebAssembly ready at ' + timing.ready + ' ms)');
    },
    kavrixSetFullScreen: setFullScreen,
    kavrixShowMessage: function (title, text) { message(text); },
    kavrixStorageProblem: function (what, text) {
      var notice = document.getElementById('notice');
      notice.textContent = what === 'read'
        ? 'Uložené hry nelze načíst z úložiště prohlížeče (' + text + ') · Saved games cannot be read from the browser\'s storage'
        : 'Úložiště prohlížeče je plné nebo nedostupné (' + text + '): poslední uložení se nezapsalo, dřívější zůstávají. · ' +
          'The browser\'s storage is full or unavailable: the last save was not kept, earlier saves are.';
      notice.hidden = false;
    },
  };

  var pending = {data: null};
  Module.getPreloadedPackage = function (name) { return pending.data; };

  var ready = new Promise(function (resolve) { Module.onRuntimeInitialized = resolve; });
  var testText = testScript !== null && !reloadedTest
    ? fetchFile(testScript).then(function (buffer) { return new Uint8Array(buffer); }) : Promise.resolve(null);

  Promise.all([fetchFile('kavrix.wasm'), fetchFile('kavrix.data'), testText]).then(function (files) {
    timing.fetched = Math.round(performance.now());
    Module.wasmBinary = files[0];
    pending.data = files[1];
    return loadScript('kavrix.js').then(function () { return ready; }).then(function () { return files[2]; });
  }).then(function (script) {
    timing.ready = Math.round(performance.now());
    show('loading', false);
    if (reloadedTest) return reportReloaded();
    if (script) return runTest(script);
    if (autostart) return start();
    var button = document.getElementById('start');
    button.hidden = false;
    button.focus();
    button.onclick = start;
  }).catch(function (error) {
    problem('Hru se nepodařilo načíst · The game could not be loaded:\n' + (error.message || error));
  });

  function start() {
    show('start', false);
    canvas.focus();
    Module.onExit = function (status) {
      cover.hidden = false;
      show('problem', true);
      document.getElementById('problem').textContent = status === 0
        ? 'Hra skončila. Obnovte stránku pro novou hru. · The game has ended. Reload the page to play again.'
        : 'Hra skončila chybou (' + status + '). · The game ended with an error (' + status + ').';
    };
    Module.callMain(gameArgs);
  }

  // --- The browser test -------------------------------------------------------
  function fnv(bytes) {
    var h = 0x811c9dc5;
    for (var i = 0; i < bytes.length; i++) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
    return ('0000000' + h.toString(16)).slice(-8);
  }

  function reportSaves(when) {
    // The saved files only: the kept replays live in a folder beside them.
    var names = Module.FS.readdir('/saves').filter(function (n) {
      return n !== '.' && n !== '..' && Module.FS.isFile(Module.FS.stat('/saves/' + n).mode);
    }).sort();
    names.forEach(function (name) {
      var bytes = Module.FS.readFile('/saves/' + name);
      console.log('kavrix-test: ' + when + ' save ' + name + ' ' + bytes.length + ' bytes fnv ' + fnv(bytes));
    });
    if (!names.length) console.log('kavrix-test: ' + when + ' no saves');
  }

  function runTest(script) {
    Module.FS.writeFile('/tmp/kavrix-test.input', script);
    Module.onExit = function (status) {
      console.log('kavrix-test: exit ' + status);
      var lines = Module.FS.readFile('/tmp/kavrix-test.rec', {encoding: 'utf8'}).split('\n');
      lines.forEach(function (line) { if (line.indexOf('hash ') === 0) console.log('kavrix-test: ' + line); });
      reportSaves('before-reload');
      (function waitForSaves() {
        if (!Module.kavrixSavesWritten()) return setTimeout(waitForSaves, 50);
        var notice = document.getElementById('notice');
        if (!notice.hidden) console.log('kavrix-test: notice ' + notice.textContent);
        sessionStorage.setItem('kavrix-test-reloaded', '1');
        console.log('kavrix-test: reloading');
        location.reload();
      })();
    };
    canvas.focus();
    Module.callMain(gameArgs.concat(['--input', '/tmp/kavrix-test.input', '--frames', testFrames,
                                     '--record', '/tmp/kavrix-test.rec']));
  }

  function reportReloaded() {
    sessionStorage.removeItem('kavrix-test-reloaded');
    reportSaves('after-reload');
    console.log('kavrix-test: done');
  }
})();

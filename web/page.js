// The page's side of Kavrix in the browser: checks that the browser can run
// the game, loads kavrix.wasm and kavrix.data with a loading bar (a file that
// fails is named), waits for a click (sound may start only after one), runs
// the game with the browser's languages and its settings kept beside the
// saved files, saves the sound settings when the tab is hidden or closed,
// and gives it full screen, the key help and messages. The picture is
// view.js's, the touch controls touch.js's, the offline copy sw.js's.
// Other ways to run the game (page_test.js: ?test=SCRIPT) register with
// Kavrix.modes and are chosen by the page's address.
'use strict';
var Kavrix = window.Kavrix || (window.Kavrix = {});
Kavrix.modes = Kavrix.modes || {};
(function () {
  var canvas = document.getElementById('canvas');
  var cover = document.getElementById('cover');
  var params = new URLSearchParams(location.search);
  // The game's files and its saved files' folder (IndexedDB, web/saves.js);
  // kavrix.conf lives beside them ($XDG_CONFIG_HOME/kavrix).
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

  // --- Full screen, the game's help, the panels --------------------------------
  // The whole page goes full screen, so the touch controls come along.
  function setFullScreen(on) {
    var page = document.documentElement;
    if (on && !document.fullscreenElement && page.requestFullscreen) {
      page.requestFullscreen({navigationUI: 'hide'}).then(function () {
        // A phone turns the picture sideways by itself where it may.
        if (Kavrix.touch.isTouchScreen && screen.orientation && screen.orientation.lock)
          screen.orientation.lock('landscape').catch(function () {});
      }).catch(function () {});
    }
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
  Array.prototype.forEach.call(document.querySelectorAll('[data-panel]'), function (button) {
    var panel = document.getElementById(button.dataset.panel);
    button.onclick = function () {
      var open = panel.hidden;
      Array.prototype.forEach.call(document.querySelectorAll('.panel'), function (p) { p.hidden = true; });
      panel.hidden = !open;
      if (!open) canvas.focus();
    };
  });

  // --- Offline: the service worker keeps a copy of the page's files -------------
  // Registered once the page's own downloads are done (its first fetch of
  // each file then comes back from the browser's cache as "not modified").
  // Where service workers are not allowed (a private window, an insecure
  // address, a browser without them) the page simply loads from the network.
  var offlineAsked = false;
  function keepOffline() {
    if (offlineAsked || !('serviceWorker' in navigator) || location.protocol === 'file:') return;
    offlineAsked = true;
    var noCopy = function (error) { console.log('Kavrix: no offline copy (' + (error.message || error) + ')'); };
    try {
      var hadCopy = !!navigator.serviceWorker.controller;
      navigator.serviceWorker.register('sw.js').then(function (registration) {
        registration.update().catch(function () {});  // a new version, if there is one
        return navigator.serviceWorker.ready;
      }).then(function () {
        console.log('Kavrix: ready to start offline');
      }).catch(noCopy);
      navigator.serviceWorker.addEventListener('controllerchange', function () {
        if (hadCopy) console.log('Kavrix: a new version is kept for offline starts from now on');
      });
    } catch (error) {
      noCopy(error);
    }
  }

  // --- Loading: the two big files with progress, then kavrix.js -----------------
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

  // The browser's languages as a locale list ("cs_CZ:en"), which the game
  // reads as it reads LANGUAGE on the desktop when nothing chose its language.
  function browserLanguages() {
    var list = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || ''];
    return Array.prototype.filter.call(list, Boolean).map(function (tag) { return tag.replace(/-/g, '_'); }).join(':');
  }

  var firstFrame = true, timing = {};
  var Module = window.Module = {
    canvas: canvas,
    print: function (text) { console.log(text); },
    printErr: function (text) { console.error(text); },
    // What the game finds in its environment (web/environment.js).
    kavrixEnvironment: {LANGUAGE: browserLanguages(), XDG_CONFIG_HOME: '/saves'},
    onAbort: function (what) {
      problem('Hra skončila chybou · The game stopped with an error:\n' + what);
    },
    kavrixPresent: Kavrix.view.present,
    kavrixFrameDrawn: function () {
      if (!firstFrame) return;
      firstFrame = false;
      cover.hidden = true;
      console.log('Kavrix: first frame drawn ' + Math.round(performance.now()) + ' ms after the page began loading' +
                  ' (the program fetched at ' + timing.compiling + ' ms, everything fetched and compiled at ' +
                  timing.fetched + ' ms, WebAssembly ready at ' + timing.ready + ' ms)');
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

  // A game that starts without a click (?autostart, the tests' modes) has
  // its sound device opened while the files arrive: SDL takes this one, and
  // opening it (a tenth of a second or more) is no longer in the way of the
  // first frame. After a click SDL opens it itself, within that gesture.
  var startsAlone = params.has('autostart') || Object.keys(Kavrix.modes).some(function (m) { return params.has(m); });
  var AudioContextClass = window.AudioContext || window.webkitAudioContext;
  if (startsAlone && AudioContextClass) {
    try {
      Module.SDL2 = {audioContext: new AudioContextClass()};
    } catch (error) {
      // SDL tries again, and plays without sound when it cannot.
    }
  }

  var pending = {data: null};
  Module.getPreloadedPackage = function (name) { return pending.data; };
  // The program compiles while the data is still arriving.
  var compiled = fetchFile('kavrix.wasm').then(function (bytes) {
    timing.compiling = Math.round(performance.now());
    return WebAssembly.compile(bytes);
  });
  Module.instantiateWasm = function (imports, receive) {
    compiled.then(function (module) {
      return WebAssembly.instantiate(module, imports).then(function (instance) { receive(instance, module); });
    }).catch(function (error) {
      problem('Hru se nepodařilo načíst · The game could not be loaded:\nkavrix.wasm: ' + (error.message || error));
    });
    return {};
  };

  // --- Running the game -----------------------------------------------------------
  // Runs the game with these arguments after the page's; onExit(status) when it ends.
  function runGame(args, onExit) {
    show('start', false);
    canvas.focus();
    Kavrix.touch.attach(Module);
    Module.onExit = function (status) {
      Kavrix.touch.detach();
      onExit(status);
    };
    Module.callMain(gameArgs.concat(args));
  }

  // Leaving the page (its tab hidden, switched away from or closed) saves the
  // sound and music settings, as the desktop's window close does.
  var running = false;
  function leaving() {
    if (!running || !Module._kavrix_page_leaving) return;
    Module._kavrix_page_leaving();
    Module.kavrixWriteNow('/saves/nastaveni.lev');  // the settings file it has just saved
  }
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden') leaving();
  });
  window.addEventListener('pagehide', leaving);

  function play() {
    running = true;
    // On a touch screen the game fills the screen from the first tap.
    if (Kavrix.touch.isTouchScreen) setFullScreen(true);
    runGame([], function (status) {
      running = false;
      cover.hidden = false;
      show('problem', true);
      document.getElementById('problem').textContent = status === 0
        ? 'Hra skončila. Obnovte stránku pro novou hru. · The game has ended. Reload the page to play again.'
        : 'Hra skončila chybou (' + status + '). · The game ended with an error (' + status + ').';
    });
  }

  // The mode the address asks for (?test=...), else the game after a click
  // (at once with ?autostart).
  var mode = null;
  for (var name in Kavrix.modes) if (params.has(name)) mode = Kavrix.modes[name];
  var prepared = mode && mode.prepare ? mode.prepare(params, fetchFile) : Promise.resolve(null);
  var ready = new Promise(function (resolve) { Module.onRuntimeInitialized = resolve; });

  Promise.all([compiled, fetchFile('kavrix.data'), prepared]).then(function (files) {
    timing.fetched = Math.round(performance.now());
    pending.data = files[1];
    return loadScript('kavrix.js').then(function () { return ready; }).then(function () { return files[2]; });
  }).then(function (prepared) {
    timing.ready = Math.round(performance.now());
    show('loading', false);
    keepOffline();
    if (mode) return mode.run({module: Module, params: params, prepared: prepared, runGame: runGame});
    if (params.has('autostart')) return play();
    var button = document.getElementById('start');
    button.hidden = false;
    button.focus();
    button.onclick = play;
  }).catch(function (error) {
    problem('Hru se nepodařilo načíst · The game could not be loaded:\n' + (error.message || error));
  });
})();

// The page's test mode, ?test=SCRIPT&frames=N: the game plays an input
// script instead of the player, prints the hash lines of its recording (all
// of its lines with &record=all) and its saved files on the console, then
// reloads once to show that the saves were kept (not with &reload=no).
// tests/web/ reads what it prints ("kavrix-test: ...").
'use strict';
var Kavrix = window.Kavrix || (window.Kavrix = {});
Kavrix.modes = Kavrix.modes || {};
Kavrix.modes.test = (function () {
  var kReloaded = 'kavrix-test-reloaded';
  var kSettings = '/saves/kavrix/kavrix.conf';  // $XDG_CONFIG_HOME/kavrix

  function fnv(bytes) {
    var h = 0x811c9dc5;
    for (var i = 0; i < bytes.length; i++) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
    return ('0000000' + h.toString(16)).slice(-8);
  }

  // The saved files and kavrix.conf (the kept replays live in a folder beside them).
  function reportSaves(Module, when) {
    var FS = Module.FS;
    var paths = FS.readdir('/saves').filter(function (n) {
      return n !== '.' && n !== '..' && FS.isFile(FS.stat('/saves/' + n).mode);
    }).sort().map(function (n) { return '/saves/' + n; });
    if (FS.analyzePath(kSettings).exists) paths.push(kSettings);
    paths.forEach(function (path) {
      var bytes = FS.readFile(path);
      console.log('kavrix-test: ' + when + ' save ' + path.slice('/saves/'.length) + ' ' + bytes.length +
                  ' bytes fnv ' + fnv(bytes));
    });
    if (FS.analyzePath(kSettings).exists)
      console.log('kavrix-test: ' + when + ' settings ' + JSON.stringify(FS.readFile(kSettings, {encoding: 'utf8'})));
    if (!paths.length) console.log('kavrix-test: ' + when + ' no saves');
  }

  function finish(Module, params) {
    reportSaves(Module, 'before-reload');
    (function waitForSaves() {
      if (!Module.kavrixSavesWritten()) return setTimeout(waitForSaves, 50);
      var notice = document.getElementById('notice');
      if (!notice.hidden) console.log('kavrix-test: notice ' + notice.textContent);
      if (params.get('reload') === 'no') return console.log('kavrix-test: done');
      sessionStorage.setItem(kReloaded, '1');
      console.log('kavrix-test: reloading');
      location.reload();
    })();
  }

  return {
    // The script, fetched beside the game's files (none after the reload).
    prepare: function (params, fetchFile) {
      if (sessionStorage.getItem(kReloaded) === '1') return Promise.resolve(null);
      return fetchFile(params.get('test')).then(function (buffer) { return new Uint8Array(buffer); });
    },
    run: function (page) {
      var Module = page.module, params = page.params;
      if (!page.prepared) {
        sessionStorage.removeItem(kReloaded);
        reportSaves(Module, 'after-reload');
        console.log('kavrix-test: done');
        return;
      }
      Module.FS.writeFile('/tmp/kavrix-test.input', page.prepared);
      page.runGame(['--input', '/tmp/kavrix-test.input', '--frames', params.get('frames') || '1500',
                    '--record', '/tmp/kavrix-test.rec'], function (status) {
        console.log('kavrix-test: exit ' + status);
        var all = params.get('record') === 'all';
        Module.FS.readFile('/tmp/kavrix-test.rec', {encoding: 'utf8'}).split('\n').forEach(function (line) {
          if (all && line) console.log('kavrix-test: rec ' + line);
          else if (line.indexOf('hash ') === 0 || line.indexOf('language ') === 0) console.log('kavrix-test: ' + line);
        });
        finish(Module, params);
      });
    },
  };
})();

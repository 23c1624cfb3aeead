// Runs before the game on the page: the saved files ("profily.lev",
// "skore.lev", "nastaveni.lev") live in /saves, kept in the browser's
// IndexedDB. They are read in before the game starts; after every save (its
// last step renames the new file into the folder) the folder is written out.
// A write IndexedDB refuses (its quota is full) is reported once, and what it
// held before stays as it was: the game goes on.
var kavrixSaveFolder = '/saves';
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  FS.mkdir(kavrixSaveFolder);
  FS.mount(IDBFS, {}, kavrixSaveFolder);
  addRunDependency('kavrix-saves');
  FS.syncfs(true, function(error) {
    if (error) kavrixSaveProblem('read', error);
    removeRunDependency('kavrix-saves');
  });
  var rename = FS.rename;
  FS.rename = function(from, to) {
    rename(from, to);
    if (String(to).indexOf(kavrixSaveFolder + '/') === 0) kavrixWriteSaves();
  };
});

var kavrixSaving = false, kavrixSaveAgain = false, kavrixSaveReported = false;

function kavrixWriteSaves() {
  if (kavrixSaving) {
    kavrixSaveAgain = true;
    return;
  }
  kavrixSaving = true;
  FS.syncfs(false, function(error) {
    kavrixSaving = false;
    if (error) kavrixSaveProblem('write', error);
    else if (Module['kavrixSaved']) Module['kavrixSaved']();
    if (kavrixSaveAgain) {
      kavrixSaveAgain = false;
      kavrixWriteSaves();
    }
  });
}

// Whether every save so far has reached IndexedDB (the page's tests wait for it).
Module['kavrixSavesWritten'] = function() { return !kavrixSaving && !kavrixSaveAgain; };

function kavrixSaveProblem(what, error) {
  var text = String(error && (error.name || error.message) || error);
  console.error('Kavrix: the saved games could not be ' + (what === 'read' ? 'read from' : 'written to') +
                " the browser's storage (IndexedDB): " + text);
  if (kavrixSaveReported) return;
  kavrixSaveReported = true;
  if (Module['kavrixStorageProblem']) Module['kavrixStorageProblem'](what, text);
}

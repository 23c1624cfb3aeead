// Runs before the game on the page: the saved files ("profily.lev",
// "skore.lev", "nastaveni.lev") live in /saves, kept in the browser's
// IndexedDB. They are read in before the game starts; after every save (its
// last step renames the new file into the folder) the folder is written out
// in one IndexedDB transaction. A write IndexedDB refuses (its quota is full)
// aborts that transaction, so what it held before stays as it was: it is
// reported once, and the game goes on.
var kavrixSaveFolder = '/saves';
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  kavrixWatchTransactions();
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

// Emscripten's IDBFS loses the error of a refused write (and then never
// calls back): a write's error is passed on, and an aborted transaction ends
// the write it belongs to.
var kavrixWriteEnded = null;
function kavrixWatchTransactions() {
  IDBFS.storeRemoteEntry = function(store, path, entry, callback) {
    var request;
    try {
      request = store.put(entry, path);
    } catch (e) {
      callback(e);
      return;
    }
    request.onsuccess = function() { callback(null); };
    request.onerror = function() { callback(request.error || new Error('write refused')); };
  };
  var getDB = IDBFS.getDB;
  IDBFS.getDB = function(name, callback) {
    getDB(name, function(error, db) {
      if (db && !db.kavrixWatched) {
        db.kavrixWatched = true;
        var transaction = db.transaction;
        db.transaction = function() {
          var t = transaction.apply(db, arguments);
          t.addEventListener('abort', function() {
            if (kavrixWriteEnded) kavrixWriteEnded(t.error || new Error('the write was aborted'));
          });
          return t;
        };
      }
      callback(error, db);
    });
  };
}

var kavrixSaving = false, kavrixSaveAgain = false, kavrixSaveReported = false;

function kavrixWriteSaves() {
  if (kavrixSaving) {
    kavrixSaveAgain = true;
    return;
  }
  kavrixSaving = true;
  var ended = false;
  kavrixWriteEnded = function(error) {
    if (ended) return;
    ended = true;
    kavrixWriteEnded = null;
    kavrixSaving = false;
    if (error) kavrixSaveProblem('write', error);
    else if (Module['kavrixSaved']) Module['kavrixSaved']();
    if (kavrixSaveAgain) {
      kavrixSaveAgain = false;
      kavrixWriteSaves();
    }
  };
  var thisWrite = kavrixWriteEnded;
  FS.syncfs(false, function(error) { thisWrite(error); });
}

// Whether every save so far has been written or refused (the page's tests wait for it).
Module['kavrixSavesWritten'] = function() { return !kavrixSaving && !kavrixSaveAgain; };

function kavrixSaveProblem(what, error) {
  var text = String(error && (error.name || error.message) || error);
  console.error('Kavrix: the saved games could not be ' + (what === 'read' ? 'read from' : 'written to') +
                " the browser's storage (IndexedDB): " + text);
  if (kavrixSaveReported) return;
  kavrixSaveReported = true;
  if (Module['kavrixStorageProblem']) Module['kavrixStorageProblem'](what, text);
}

// Leaving the page (its tab hidden or closed): a file the game has just
// saved is also written straight into the database in one transaction,
// committed at once, so that it is kept even when the page closes before a
// whole sync could run.
Module['kavrixWriteNow'] = function(path) {
  var db = IDBFS.dbs[kavrixSaveFolder];
  if (!db) return;
  IDBFS.loadLocalEntry(path, function(error, entry) {
    if (error) return;
    try {
      var transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
      transaction.objectStore(IDBFS.DB_STORE_NAME).put(entry, path);
      if (transaction.commit) transaction.commit();
    } catch (e) {
      kavrixSaveProblem('write', e);
    }
  });
};

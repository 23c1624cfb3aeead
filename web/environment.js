// Runs before the game on the page: the variables the page gives the game
// (Module.kavrixEnvironment, set by page.js: the browser's languages as
// LANGUAGE, and XDG_CONFIG_HOME, which puts kavrix.conf beside the saved
// files in IndexedDB) in its environment, where getenv finds them.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var variables = Module['kavrixEnvironment'] || {};
  for (var name in variables) ENV[name] = variables[name];
});

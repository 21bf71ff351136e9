// The program sees the environment of the process that runs it, as a native one does.
Module.preRun = (Module.preRun || []).concat([function () {
  for (const name of Object.keys(process.env)) ENV[name] = process.env[name];
}]);

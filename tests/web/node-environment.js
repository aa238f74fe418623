// Test programs under Node: files live in the module's memory, as they do in the page,
// with the project's own folder (the files the tests compare with) mounted from the
// machine; and the program sees the variables the test sets (ctest's ENVIRONMENT), as
// it does on the other systems.
Module.preRun = (Module.preRun || []).concat(() => {
  const sources = process.env.MXC9_SOURCE_DIR;
  if (sources) {
    FS.mkdirTree(sources);
    FS.mount(NODEFS, { root: sources }, sources);
  }
  for (const name of ["MXC9_TEST_LANGUAGE"])
    if (process.env[name] !== undefined) ENV[name] = process.env[name];
});

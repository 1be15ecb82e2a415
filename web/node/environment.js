// The runner reads its settings (VYMCNF_EEPROM, VYMCNF_DRIVE_C, HOME, XDG_*) from the
// environment: give it Node's, not Emscripten's made-up one.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
    for (var name in process.env) {
        ENV[name] = process.env[name];
    }
});

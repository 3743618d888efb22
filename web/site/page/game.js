// The C++ module, once it runs: the page's parts call its exports through
// here, and a call made before it runs does nothing.

let module = null;

export function gameStarted(instance) {
  module = instance;
}

export function gameRuns() {
  return module !== null;
}

// Calls the module's export wuffel_NAME with numbers.
export function call(name, ...args) {
  return module ? module['_wuffel_' + name](...args) : undefined;
}

// Calls the module's export wuffel_NAME with texts.
export function callWithTexts(name, ...texts) {
  if (module) module.ccall('wuffel_' + name, null, texts.map(() => 'string'), texts);
}

// The module's store (localStorage, which a browser may refuse or fill)
// and its trace, on the console.

export const storageCalls = {
  storageKeys() {
    try {
      return Array.from({ length: localStorage.length }, (_, i) => localStorage.key(i));
    } catch (refused) {
      return [];
    }
  },
  storageGet(key) {
    try {
      return localStorage.getItem(key);
    } catch (refused) {
      return null;
    }
  },
  storageSet(key, value) {
    try {
      localStorage.setItem(key, value);
      return true;
    } catch (refused) {
      return false;
    }
  },
  traceLine(line) {
    console.log(line);
  },
};

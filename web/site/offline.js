// Keeps the site for playing without a connection (sw.js). Registered once
// the page has loaded, so that the worker's first download of the whole
// site never holds up the program's own files.
"use strict";

if ("serviceWorker" in navigator) {
  window.addEventListener("load", () => {
    // Without a worker (a page opened from disk, a host that refuses it)
    // the site still plays, only not offline.
    navigator.serviceWorker.register("sw.js").catch(() => {});
  });
}

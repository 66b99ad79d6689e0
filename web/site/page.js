// The page around a program: sizes its screen, shows what the program says,
// and tells when the program has ended. Loaded before the program's own
// script, which takes its settings from `Module`.
"use strict";

const canvas = document.getElementById("screen");
const notice = document.getElementById("notice");
const message = document.getElementById("message");
const ended = document.getElementById("ended");

// Whole device pixels per screen pixel, as many as the window has room for,
// so that every pixel of the screen is the same size and sharp; a window
// narrower than the screen gets it shrunk to fit, the only case not sharp.
function fitScreen() {
  const ratio = window.devicePixelRatio || 1;
  const room = Math.min((window.innerWidth - 16) * ratio / canvas.width,
                        (window.innerHeight - 16) * ratio / canvas.height);
  const scale = room >= 1 ? Math.floor(room) / ratio : room / ratio;
  canvas.style.width = canvas.width * scale + "px";
  canvas.style.height = canvas.height * scale + "px";
}
fitScreen();
window.addEventListener("resize", fitScreen);

function showNotice(part) {
  canvas.hidden = true;
  notice.hidden = false;
  part.hidden = false;
}

var Module = {
  canvas: canvas,
  // The program's own message (allegro_message), in its own words.
  showMessage(text) {
    message.textContent = text.trim();
    showNotice(message);
  },
  // "Lõpeta" ends the program with status 0; a failed start with 1, after
  // its message.
  onExit(status) {
    showNotice(ended);
    document.getElementById("again").focus();
  },
  // The program could not be loaded or stopped on an error of its own.
  onAbort() {
    message.textContent = "Programmi ei õnnestunud käivitada. The program could not be run.";
    showNotice(message);
    showNotice(ended);
  },
};

document.getElementById("again").addEventListener("click", () => location.reload());

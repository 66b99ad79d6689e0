// The page around a program: fits its screen to the window, offers full
// screen, shows what the program says, and tells when the program has
// ended. It is built into the start of the program's own script (Emscripten's
// --pre-js, before the program takes its settings from `Module`), so that a
// game page waits for one script, not two.
(() => {
  const canvas = document.getElementById("screen");
  const stage = document.getElementById("stage");
  const fullscreenButton = document.getElementById("fullscreen");
  const notice = document.getElementById("notice");
  const message = document.getElementById("message");
  const ended = document.getElementById("ended");

  // CSS pixels kept free around the screen, and between it and the button.
  const kMargin = 8;
  // From this many device pixels per CSS pixel on (phones, tablets, many
  // laptops), a screen pixel is too small to be worth keeping whole.
  const kHighDensity = 2;

  // The button goes beside the screen or below it, whichever leaves the
  // screen larger. Whole device pixels per screen pixel keep every pixel the
  // same size and sharp, as many as fit (a window with room for less than one
  // gets the screen shrunk). On a high-density screen a whole number can
  // leave a third of the window empty, so there the screen takes all the
  // room, sampled nearest-neighbour, unless a whole number fills 90 % of the
  // window's width or height anyway.
  //
  // Sizes are multiples of 1/64 CSS pixel, the browser's own layout unit,
  // width and height 4 and 3 times one such length, so the screen's pixels
  // stay exactly square. The window's size is the layout viewport's
  // (clientWidth), not innerWidth, which on a phone grows with a page that is
  // too wide and would keep it too wide.
  function fitScreen() {
    const ratio = window.devicePixelRatio || 1;
    const windowWidth = document.documentElement.clientWidth;
    const windowHeight = document.documentElement.clientHeight;
    const width = windowWidth - 2 * kMargin;
    const height = windowHeight - 2 * kMargin;
    const button = fullscreenButton.hidden ? [0, 0]
      : [fullscreenButton.offsetWidth + kMargin, fullscreenButton.offsetHeight + kMargin];
    const below = Math.min(width / canvas.width, (height - button[1]) / canvas.height);
    const beside = Math.min((width - button[0]) / canvas.width, height / canvas.height);
    stage.classList.toggle("beside", beside > below);
    // Device pixels per screen pixel: what there is room for, and what the
    // whole window would hold.
    const room = Math.max(below, beside, 0) * ratio;
    const full = Math.min(windowWidth / canvas.width, windowHeight / canvas.height) * ratio;
    const whole = Math.floor(room);
    const sharp = whole >= 1 && (ratio < kHighDensity || whole >= 0.9 * full);
    const unit = Math.round(canvas.width / 4 * (sharp ? whole : room) / ratio * 64) / 64;
    canvas.style.width = 4 * unit + "px";
    canvas.style.height = 3 * unit + "px";
  }

  // A window dragged to a screen of another density changes the ratio
  // without always changing its size.
  function fitOnDensityChange() {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    query.addEventListener("change", () => {
      fitScreen();
      fitOnDensityChange();
    }, {once: true});
  }

  // Full screen is the whole page, so the button stays there as the way back
  // and the screen is fitted as in a window. Browsers keep Escape for leaving
  // full screen; where one passes it on as well, the page takes it, so that
  // at the menu the first Escape only leaves full screen and the next one
  // starts a new game.
  function showFullscreenState() {
    const full = document.fullscreenElement !== null;
    document.getElementById("enter-fullscreen").hidden = full;
    document.getElementById("leave-fullscreen").hidden = !full;
    fitScreen();
  }

  let escapeTaken = false;
  function takeEscapeInFullscreen(e) {
    if (e.key !== "Escape") return;
    if (e.type === "keydown" && document.fullscreenElement) {
      escapeTaken = true;
      document.exitFullscreen().catch(() => {});
    } else if (!escapeTaken) {
      return;
    } else if (e.type === "keyup") {
      escapeTaken = false;
    }
    e.preventDefault();
    e.stopImmediatePropagation();
  }

  if (document.fullscreenEnabled) {
    fullscreenButton.hidden = false;
    fullscreenButton.addEventListener("click", () => {
      const change = document.fullscreenElement ? document.exitFullscreen()
        : document.documentElement.requestFullscreen({navigationUI: "hide"});
      change.catch(() => {});
      // Keys go on to the program, not to the button.
      fullscreenButton.blur();
    });
    document.addEventListener("fullscreenchange", showFullscreenState);
    // Before the program's own listeners, which are the window's too.
    window.addEventListener("keydown", takeEscapeInFullscreen, true);
    window.addEventListener("keyup", takeEscapeInFullscreen, true);
  }
  fitScreen();
  fitOnDensityChange();
  window.addEventListener("resize", fitScreen);
  window.addEventListener("load", fitScreen);

  function showNotice(part) {
    canvas.hidden = true;
    fullscreenButton.hidden = true;
    notice.hidden = false;
    part.hidden = false;
  }

  Object.assign(Module, {
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
  });

  document.getElementById("again").addEventListener("click", () => location.reload());
})();

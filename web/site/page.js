// The page around a program: fits its screen to the window, offers full
// screen, offers the menu's choices and a keypad where the screen is too
// small for a finger, shows what the program says, and tells when the
// program has ended. It is built into the start of the program's own
// script (Emscripten's --pre-js, before the program takes its settings from
// `Module`), so that a game page waits for one script, not two.
(() => {
  const canvas = document.getElementById("screen");
  const smooth = document.getElementById("smooth");
  const stage = document.getElementById("stage");
  const panel = document.getElementById("panel");
  const fullscreenButton = document.getElementById("fullscreen");
  const controls = document.getElementById("controls");
  const pageMenu = document.getElementById("menu");
  const board = document.getElementById("board");
  const keypad = document.getElementById("keypad");
  const offers = document.getElementById("offers");
  const notice = document.getElementById("notice");
  const message = document.getElementById("message");
  const ended = document.getElementById("ended");

  // CSS pixels kept free around the screen, and between it and the panel.
  const kMargin = 8;
  // From this many device pixels per CSS pixel on (phones, tablets, many
  // laptops), a screen pixel is too small to be worth keeping whole.
  const kHighDensity = 2;
  // The smallest control a player must hit, in CSS pixels: a finger's on a
  // touch screen, otherwise WCAG's minimum; and the program's smallest, in
  // screen pixels: its menu's buttons are 32 high (the board's cells are
  // larger).
  const kFingerTarget = 44;
  const kPointerTarget = 24;
  const kMenuButtonHeight = 32;

  // CSS pixels per screen pixel, as last fitted.
  let scale = 1;
  const target = () => (matchMedia("(pointer: coarse)").matches ? kFingerTarget : kPointerTarget);

  // The panel goes beside the screen or below it, whichever leaves the
  // screen larger. It holds the full-screen button and, where the program's
  // menu buttons would come out smaller than a target, the page's own menu
  // and keypad, whose place is kept whether or not they are shown.
  //
  // Whole device pixels per screen pixel keep every pixel the same size and
  // sharp, as many as fit. On a high-density screen a whole number can
  // leave a third of the window empty, so there the screen takes all the
  // room, sampled nearest-neighbour, unless a whole number fills 90 % of the
  // window's width or height anyway. Where there is room for less than one
  // device pixel per pixel, the screen takes all the room and is shown
  // smoothly scaled down (showSmooth): nearest-neighbour sampling would drop
  // whole rows and columns of the one-pixel font.
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
    const room = (withControls) => {
      controls.hidden = !withControls;
      // The menu's buttons: over the drawn ones, or the panel's own.
      if (withControls) controls.prepend(pageMenu);
      else board.after(pageMenu);
      // The panel always keeps the place of the program's offers.
      const size = [panel.offsetWidth + kMargin, panel.offsetHeight + kMargin];
      const below = Math.min(width / canvas.width, (height - size[1]) / canvas.height);
      const beside = Math.min((width - size[0]) / canvas.width, height / canvas.height);
      return {beside: beside > below, scale: Math.max(below, beside, 0)};
    };
    // The length, in CSS pixels, of which the screen's width is 4 times and
    // its height 3: whole device pixels per screen pixel where those are
    // sharp, else all the room there is. `full` is what the whole window
    // would hold, in device pixels per screen pixel.
    const full = Math.min(windowWidth / canvas.width, windowHeight / canvas.height) * ratio;
    const unitOf = (fit) => {
      const perPixel = fit.scale * ratio;
      const whole = Math.floor(perPixel);
      const sharp = whole >= 1 && (ratio < kHighDensity || whole >= 0.9 * full);
      return Math.round(canvas.width / 4 * (sharp ? whole : perPixel) / ratio * 64) / 64;
    };
    let fit = room(false);
    if (unitOf(fit) * 4 / canvas.width * kMenuButtonHeight < target()) fit = room(true);
    stage.classList.toggle("beside", fit.beside);
    const unit = unitOf(fit);
    canvas.style.width = 4 * unit + "px";
    canvas.style.height = 3 * unit + "px";
    scale = 4 * unit / canvas.width;
    smooth.hidden = scale * ratio >= 1;
    if (!smooth.hidden) {
      smooth.width = Math.round(4 * unit * ratio);
      smooth.height = Math.round(3 * unit * ratio);
      showSmooth();
    }
    showControls();
    stage.classList.add("fitted");
  }

  // The program's picture, scaled down into a canvas of the screen's size in
  // device pixels with the browser's best filter, which gives every pixel of
  // ink a share of a device pixel.
  function showSmooth() {
    if (smooth.hidden) return;
    const context = smooth.getContext("2d", {alpha: false});
    context.imageSmoothingEnabled = true;
    context.imageSmoothingQuality = "high";
    context.drawImage(canvas, 0, 0, smooth.width, smooth.height);
  }

  // --- the page's menu and keypad -------------------------------------------

  // What the program last said of its menu and of its screen.
  let menuSaid = {up: false, buttons: []};
  let screenSaid = {cursor: -1, cells: []};

  // The menu's two choices while the program's menu is up, the keypad
  // while placing where the board's cells are smaller than a target, and
  // on every screen the program's offer while it holds: "J" while placing
  // (the screen says so), "N" while the menu is up after a game whose
  // shortest solution it can play (the menu says so). A
  // button that goes while it has the focus leaves it to the game.
  function showControls() {
    pageMenu.classList.toggle("shown", menuSaid.up);
    const smallest = Math.min(...screenSaid.cells.map((c) => Math.min(c.right - c.left + 1, c.bottom - c.top + 1)));
    keypad.classList.toggle("shown", !controls.hidden && screenSaid.cursor >= 0 && smallest * scale < target());
    for (const button of offers.children) {
      const offer = button.dataset.offer;
      const shown = offer === "N" ? menuSaid.up && menuSaid.offer === "N" : !menuSaid.up && screenSaid.offer === offer;
      button.classList.toggle("shown", shown);
      if (!shown && document.activeElement === button) board.focus();
    }
  }

  // Others who listen to the program add themselves to this list.
  Module.programListeners = [(said) => {
    if (said.kind === "menu") menuSaid = said;
    if (said.kind === "screen") screenSaid = said;
    showControls();
  }];
  Module.onProgramSays = (said) => Module.programListeners.forEach((listener) => listener(said));

  // A key of the keypad is the program's key, down and up (a choice of the
  // page's menu is reader.js's). The key tapped then gives the focus back,
  // so that keys go on to the program.
  keypad.addEventListener("click", (e) => {
    const key = e.target.closest("button");
    if (!key || !keypad.classList.contains("shown")) return;
    const code = Number(key.dataset.key);
    const character = Number(key.dataset.character || 0);
    _webKey(code, character, 1);
    _webKey(code, character, 0);
    key.blur();
  });

  // An offer is the program's key, down and up, typed on the game: the
  // focus goes to the board first, as a choice of the page's menu leaves it.
  offers.addEventListener("click", (e) => {
    const button = e.target.closest("button");
    if (!button || !button.classList.contains("shown")) return;
    board.focus();
    const code = Number(button.dataset.key);
    const character = Number(button.dataset.character);
    _webKey(code, character, 1);
    _webKey(code, character, 0);
  });

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
  // A tablet's keyboard and touchpad come and go.
  matchMedia("(pointer: coarse)").addEventListener("change", fitScreen);
  window.addEventListener("resize", fitScreen);
  window.addEventListener("load", fitScreen);

  function showNotice(part) {
    canvas.hidden = true;
    stage.hidden = true;
    fullscreenButton.hidden = true;
    notice.hidden = false;
    part.hidden = false;
  }

  Object.assign(Module, {
    canvas: canvas,
    onFrame: showSmooth,
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

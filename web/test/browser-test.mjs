// The web pages in Debian's headless Chromium, driven as a person would:
// mouse presses held and quick, a finger's taps and long presses, Escape,
// full screen, quitting; on phones, tablets and large monitors; installed
// and offline, and after a new build. The canvas is read back with
// getImageData and must equal, pixel for pixel, the Linux program's screen
// after the same placements (recorded by linux_screens). Pace checks
// measure each gap from the last poll that missed the earlier picture to
// the end of the first poll that saw the later one, which is never shorter
// than the real gap: a late poll on a busy machine can only lengthen it.
//
//   node browser-test.mjs SITE-URL SCREENS-DIR OUT-DIR SITE-DIR
//
// SITE-DIR is the folder SITE-URL serves. Prints one line per check that
// fails and ends with "N passed, N failed".

import {spawn} from "node:child_process";
import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import {fileURLToPath} from "node:url";
import puppeteer from "puppeteer-core";
import {sealSite} from "../seal.mjs";
import {offerGames, shortestOffline} from "./offers-test.mjs";
import {axeClean, keyboardGames} from "./reader-test.mjs";

const [siteUrl, screensDir, outDir, siteDir] = process.argv.slice(2);
const kWidth = 640;
const kHeight = 480;
// Where the pointer rests between presses, as in the window tests: over no
// button, so the menu looks the same as on the desktop.
const kPark = [620, 372];

let passed = 0;
let failed = 0;
function check(ok, what) {
  if (ok) {
    passed++;
  } else {
    failed++;
    console.log(`FAIL ${what}`);
  }
  return ok;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// FNV-1a over the RGBA words of a picture; the page computes the same.
function pictureHash(words) {
  let h = 2166136261;
  for (let i = 0; i < words.length; i++) h = Math.imul(h ^ words[i], 16777619);
  return h >>> 0;
}

// Blanks the menu's buttons in a picture's RGBA words: they keep the look of
// the last press on them, which differs with the way they were pressed.
function hideMenuButtons(words) {
  for (let y = 360; y < 432; y++) words.fill(0, y * 640 + 25, y * 640 + 175);
}

// A Linux screen (raw RGB) as the canvas's RGBA bytes.
function reference(name) {
  const rgb = fs.readFileSync(path.join(screensDir, `${name}.rgb`));
  const rgba = new Uint8Array(kWidth * kHeight * 4);
  for (let i = 0, j = 0; i < rgb.length; i += 3, j += 4) {
    rgba[j] = rgb[i];
    rgba[j + 1] = rgb[i + 1];
    rgba[j + 2] = rgb[i + 2];
    rgba[j + 3] = 255;
  }
  return rgba;
}

// Runs in the page from its first script on: polls the canvas as fast as
// the page lets it and keeps every new picture's hash with its sighting.
function recorder(hashSource) {
  const pictureHash = eval(`(${hashSource})`);
  const pictures = [];
  let lastPollStart = -1;
  const poll = () => {
    const screen = window.Module && Module.webScreen;
    if (!screen) return;
    const start = performance.now();
    const data = screen.context.getImageData(0, 0, 640, 480).data;
    const hash = pictureHash(new Uint32Array(data.buffer));
    const end = performance.now();
    if (pictures.length === 0 || pictures[pictures.length - 1].hash !== hash) {
      pictures.push({hash, notBefore: lastPollStart, by: end});
    }
    lastPollStart = start;
  };
  window.testPictures = pictures;
  setInterval(poll, 5);
}

const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: fs.mkdtempSync(path.join(outDir, "profile-")),
  args: [
    "--no-sandbox", "--disable-gpu", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run",
  ],
});

class GamePage {
  // `site` is where the site is served (by default as `scripts/run web`
  // serves it); `what` names the page in failures.
  static async open(file, viewport, {beforeLoad, site = siteUrl, what = file} = {}) {
    const page = await browser.newPage();
    const game = new GamePage(page, what);
    page.on("pageerror", (e) => check(false, `${what}: page error ${e.message}`));
    page.on("console", (m) => m.type() === "error" && check(false, `${what}: console error ${m.text()}`));
    page.on("requestfailed", (r) => check(false, `${what}: ${r.url()} failed`));
    page.on("response", (r) => r.status() >= 400 && check(false, `${what}: ${r.url()} answered ${r.status()}`));
    // Nothing may come from another origin.
    page.on("request", (r) => {
      if (!r.url().startsWith(site) && !r.url().startsWith("data:")) check(false, `${what} asked for ${r.url()}`);
    });
    await page.setViewport(viewport);
    await page.evaluateOnNewDocument(recorder, pictureHash.toString());
    if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
    await page.goto(`${site}/${file}`);
    return game;
  }

  constructor(page, file) {
    this.page = page;
    this.file = file;
  }

  async canvasBox() {
    return (await this.page.$("canvas")).boundingBox();
  }

  // Page coordinates of the middle of screen pixel (x, y).
  async at(x, y) {
    const box = await this.canvasBox();
    return [box.x + (x + 0.5) * box.width / kWidth, box.y + (y + 0.5) * box.height / kHeight];
  }

  async pictures() {
    return this.page.evaluate(() => window.testPictures.slice());
  }

  async count() {
    return this.page.evaluate(() => window.testPictures.length);
  }

  // Waits until the canvas shows a picture it did not show after `count`.
  async changedAfter(count, what, seconds = 5) {
    const end = Date.now() + seconds * 1000;
    while (Date.now() < end) {
      if ((await this.count()) > count) return true;
      await sleep(20);
    }
    return check(false, `${this.file}: ${what} changed nothing on the screen`);
  }

  // Waits until the canvas, all but the menu's buttons, equals the Linux
  // screen `name` of a new game: the program has taken the press that
  // started it. A press sent sooner could reach the menu before its own
  // release was read, and be taken by the menu along with it.
  async startsGame(name, what, seconds = 10) {
    const want = new Uint32Array(reference(name).buffer);
    hideMenuButtons(want);
    const hash = pictureHash(want);
    const end = Date.now() + seconds * 1000;
    while (Date.now() < end) {
      const got = await this.page.evaluate((hashSource, hideSource) => {
        const screen = window.Module && Module.webScreen;
        if (!screen) return null;
        const words = new Uint32Array(screen.context.getImageData(0, 0, 640, 480).data.buffer);
        eval(`(${hideSource})`)(words);
        return eval(`(${hashSource})`)(words);
      }, pictureHash.toString(), hideMenuButtons.toString());
      if (got === hash) return true;
      await sleep(50);
    }
    return check(false, `${this.file}: ${what} started no new game like the Linux screen ${name}`);
  }

  async park() {
    await this.page.mouse.move(...(await this.at(...kPark)));
  }

  // A press held for `holdMs`; button "left" or "right". The pointer then
  // rests where it covers nothing, except after a press that may end the
  // program (the canvas is gone then).
  async press(x, y, button = "left", holdMs = 80, park = true) {
    const before = await this.count();
    await this.page.mouse.move(...(await this.at(x, y)));
    await this.page.mouse.down({button});
    await sleep(holdMs);
    await this.page.mouse.up({button});
    if (park) await this.park();
    return before;
  }

  // Down and up in one task of the page: the program cannot run between
  // them, as with a touchpad's tap or a remote desktop's click.
  async tap(x, y, park = true) {
    const before = await this.count();
    const [px, py] = await this.at(x, y);
    await this.page.evaluate((px, py) => {
      const canvas = document.querySelector("canvas");
      const event = (type, buttons) => new PointerEvent(type, {
        bubbles: true, cancelable: true, pointerType: "mouse", pointerId: 1,
        isPrimary: true, clientX: px, clientY: py, button: 0, buttons,
      });
      canvas.dispatchEvent(event("pointerdown", 1));
      canvas.dispatchEvent(event("pointerup", 0));
    }, px, py);
    if (park) await this.park();
    return before;
  }

  async fingerTap(x, y) {
    const before = await this.count();
    await this.page.touchscreen.touchStart(...(await this.at(x, y)));
    await this.page.touchscreen.touchEnd();
    return before;
  }

  async fingerHold(x, y, holdMs) {
    const before = await this.count();
    await this.page.touchscreen.touchStart(...(await this.at(x, y)));
    await sleep(holdMs);
    await this.page.touchscreen.touchEnd();
    return before;
  }

  async canvasPixels() {
    const base64 = await this.page.evaluate(() => {
      const data = Module.webScreen.context.getImageData(0, 0, 640, 480).data;
      let s = "";
      for (let i = 0; i < data.length; i += 8192) s += String.fromCharCode(...data.subarray(i, i + 8192));
      return btoa(s);
    });
    return new Uint8Array(Buffer.from(base64, "base64"));
  }

  // Waits until the canvas equals the Linux screen `name`; on a time-out,
  // saves both and counts the pixels that differ. Returns the index of the
  // picture that matched.
  async showsLinuxScreen(name, seconds = 10) {
    const want = reference(name);
    const hash = pictureHash(new Uint32Array(want.buffer));
    const end = Date.now() + seconds * 1000;
    while (Date.now() < end) {
      const pictures = await this.pictures();
      const last = pictures.length - 1;
      if (last >= 0 && pictures[last].hash === hash) return last;
      await sleep(50);
    }
    const got = await this.canvasPixels();
    let differ = 0;
    for (let i = 0; i < got.length; i += 4) {
      if (got[i] !== want[i] || got[i + 1] !== want[i + 1] || got[i + 2] !== want[i + 2]) differ++;
    }
    const png = await this.page.evaluate(() => document.querySelector("canvas").toDataURL("image/png"));
    fs.writeFileSync(path.join(outDir, `${name}-canvas.png`), Buffer.from(png.split(",")[1], "base64"));
    fs.copyFileSync(path.join(screensDir, `${name}.rgb`), path.join(outDir, `${name}-linux.rgb`));
    check(false, `${this.file}: the canvas never equalled the Linux screen ${name} (${differ} pixels differ; see ${outDir})`);
    return -1;
  }

  // Every picture from index `first` to `last` came at least `pauseMs`
  // after the one before; on average no more than twice that.
  async paced(first, last, pauseMs, what) {
    const pictures = (await this.pictures()).slice(first, last + 1);
    if (!check(pictures.length >= 2 && pictures[0].notBefore >= 0, `${what}: pictures to time`)) return;
    // setTimeout may fire up to a millisecond early by the page's clock.
    const kClockSlackMs = 2;
    for (let i = 1; i < pictures.length; i++) {
      const longest = pictures[i].by - pictures[i - 1].notBefore;
      check(longest >= pauseMs - kClockSlackMs, `${what}: picture ${i} came ${longest.toFixed(1)} ms after the one before`);
    }
    const n = pictures.length - 1;
    const shortestTotal = pictures[n].notBefore - pictures[0].by;
    check(shortestTotal <= 2 * n * pauseMs, `${what}: ${n} pauses took at least ${shortestTotal.toFixed(0)} ms`);
    console.log(`${what}: ${n} pauses in ${(pictures[n].by - pictures[0].notBefore).toFixed(0)} ms at most`);
  }

  async ended() {
    return this.page.evaluate(() => ({
      canvasHidden: getComputedStyle(document.querySelector("canvas")).display === "none",
      ended: !document.getElementById("ended").hidden,
      message: document.getElementById("message").hidden ? null : document.getElementById("message").textContent,
      text: document.getElementById("notice").innerText,
    }));
  }

  async waitEnded(seconds = 5) {
    const end = Date.now() + seconds * 1000;
    let state;
    do {
      state = await this.ended();
      if (state.ended) break;
      await sleep(50);
    } while (Date.now() < end);
    return state;
  }
}

// Reading order, 0 the blank: the cells to press for 1..15; those in
// `taps` by a quick tap, those in `read` as a screen reader places, by a
// click on the cell of the page's grid.
async function placeTiles(game, layout, taps = [], read = []) {
  let before = 0;
  for (let n = 1; n <= 15; n++) {
    const i = layout.indexOf(n);
    const x = 250 + 65 * (i % 4);
    const y = 140 + 65 * Math.floor(i / 4);
    if (read.includes(n)) {
      before = await game.count();
      await game.page.$$eval("[role=gridcell]", (cells, i) => cells[i].click(), i);
    } else {
      before = taps.includes(n) ? await game.tap(x, y) : await game.press(x, y);
    }
    if (n < 15 && !(await game.changedAfter(before, `placing ${n}`))) return -1;
  }
  return before;
}

const kTilesNewGame = [100, 376];
const kTilesQuit = [100, 416];

function note(what) {
  console.log(`${(performance.now() / 1000).toFixed(1)} s: ${what}`);
}

async function tilesPage() {
  note("tiles");
  const game = await GamePage.open("tiles.html", {width: 800, height: 600, deviceScaleFactor: 1});
  const page = game.page;
  check((await game.showsLinuxScreen("tiles-start")) >= 0, "tiles: first screen");
  const style = await page.evaluate(() => {
    const canvas = document.querySelector("canvas");
    return {rendering: getComputedStyle(canvas).imageRendering, width: canvas.getBoundingClientRect().width};
  });
  check(style.rendering === "pixelated" && style.width === kWidth, `tiles: canvas drawn crisp at 640 px (${JSON.stringify(style)})`);
  await game.park();

  // A quick tap on the menu starts a game; taps and held presses place.
  await game.tap(...kTilesNewGame);
  if (!(await game.startsGame("tiles-escape", "a quick tap on \"Uus mäng\""))) return;
  const nearlySolved = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12];
  const lastPress = await placeTiles(game, nearlySolved, [2, 7, 15]);
  if (lastPress < 0) return;
  const solved = await game.showsLinuxScreen("tiles-solved", 40);
  if (solved < 0) return;
  // One picture per 500 ms pause, from the first of the solve to
  // "Lahendatud!."; the menu redraws its buttons over that without a pause.
  await game.paced(lastPress, solved - 1, 500, "tiles solve");

  // Full screen by the page's button and back by it; then in again and out
  // by Escape, which at the menu leaves full screen and does nothing else:
  // only the next Escape starts a new game.
  check(await toggleFullscreen(page, true), "tiles: the button puts the page in full screen");
  check(await page.$eval("#enter-fullscreen", (e) => e.hidden) && !(await page.$eval("#leave-fullscreen", (e) => e.hidden)),
        "tiles: in full screen the button offers the way back");
  check(await toggleFullscreen(page, false), "tiles: the button leaves full screen");
  check(await toggleFullscreen(page, true), "tiles: full screen again");
  const atMenu = await game.count();
  await page.keyboard.press("Escape");
  check(await isFullscreen(page, false), "tiles: Escape leaves full screen");
  await sleep(500);
  check((await game.count()) === atMenu, "tiles: Escape that leaves full screen leaves the menu alone");

  await page.keyboard.press("Escape");
  check((await game.showsLinuxScreen("tiles-escape")) >= 0, "tiles: Escape at the menu starts a new game");
  if ((await placeTiles(game, [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 0], [], [1, 14])) < 0) return;
  check((await game.showsLinuxScreen("tiles-unsolvable")) >= 0, "tiles: unsolvable placement");

  await game.press(...kTilesNewGame, "left", 150);
  if (!(await game.startsGame("tiles-escape", "a held press on \"Uus mäng\""))) return;
  if ((await placeTiles(game, [1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 12, 11, 13, 14, 10, 15])) < 0) return;
  check((await game.showsLinuxScreen("tiles-gaveup", 40)) >= 0, "tiles: the script gives up at step 17");

  await game.tap(...kTilesQuit, false);
  const state = await game.waitEnded();
  check(state.ended && state.canvasHidden && /Mäng on lõppenud/.test(state.text) && /The game has ended/.test(state.text),
        `tiles: a quick tap on "Lõpeta" ends the game and the page says so (${JSON.stringify(state)})`);
  await page.close();
}

const cellX = (k) => 230 + 52 * k;
const kRowY = 230;

// Places WWB-WBB, the game whose playback the Linux screens recorded, with
// the mouse's left and right buttons: the time of the last press, or -1
// when a press did not show.
async function placeCounters(game) {
  let lastPress = 0;
  for (const [k, counter] of [[0, "W"], [1, "W"], [2, "B"], [4, "W"], [5, "B"], [6, "B"]]) {
    lastPress = await game.press(cellX(k), kRowY, counter === "B" ? "right" : "left");
    if (k < 6 && !(await game.changedAfter(lastPress, `placing ${counter} in cell ${k}`))) return -1;
  }
  return lastPress;
}

async function countersPage() {
  // Twice the size: presses go through the page's scaling.
  note("counters");
  const game = await GamePage.open("counters.html", {width: 1400, height: 1100, deviceScaleFactor: 1, hasTouch: true});
  const page = game.page;
  const box = await game.canvasBox();
  check(box.width === 2 * kWidth && box.height === 2 * kHeight, `counters: screen scaled by 2 where the window has room (${box.width}x${box.height})`);
  check((await game.showsLinuxScreen("counters-start")) >= 0, "counters: first screen");
  await installable(page, "counters");
  await game.park();

  // The right button reaches the program: no context menu takes it.
  await page.evaluate(() => {
    window.contextMenus = [];
    window.addEventListener("contextmenu", (e) => window.contextMenus.push(e.defaultPrevented));
  });
  await game.press(...kTilesNewGame, "left", 150);
  if (!(await game.startsGame("counters-new", "a held press on \"Uus mäng\""))) return;
  const lastPress = await placeCounters(game);
  if (lastPress < 0) return;
  const menus = await page.evaluate(() => window.contextMenus);
  check(menus.length > 0 && menus.every((prevented) => prevented), `counters: no context menu over the canvas (${menus})`);
  // Turned while it plays back: fitted anew, and the game goes on at its pace.
  await page.setViewport({width: 1100, height: 1400, deviceScaleFactor: 1, hasTouch: true});
  checkFit("counters turned during its playback", await layout(page));
  const solved = await game.showsLinuxScreen("counters-solved", 20);
  if (solved < 0) return;
  await game.paced(lastPress, solved - 1, 1500, "counters playback");

  // A finger: a tap is the left button, a press held for half a second the
  // right one, so black counters can be placed too.
  await game.fingerTap(...kTilesNewGame);
  if (!(await game.startsGame("counters-new", "a finger's tap on \"Uus mäng\""))) return;
  for (const k of [1, 2, 3]) {
    if (!(await game.changedAfter(await game.fingerHold(cellX(k), kRowY, 700), `a finger held on cell ${k}`))) return;
  }
  for (const k of [4, 5, 6]) {
    const before = await game.fingerTap(cellX(k), kRowY);
    if (k < 6 && !(await game.changedAfter(before, `a finger's tap on cell ${k}`))) return;
  }
  check((await game.showsLinuxScreen("counters-unsolvable")) >= 0, "counters: placed by finger, unsolvable");

  await game.press(...kTilesQuit, "left", 150, false);
  const state = await game.waitEnded();
  check(state.ended && state.canvasHidden, `counters: a held press on "Lõpeta" ends the game (${JSON.stringify(state)})`);
  await page.close();
}

// A program that does not find its program file, and so its font: the
// program's own message, on the page. The page names the program otherwise
// than the file the program carries.
async function missingFontPage() {
  note("tiles without its font");
  const game = await GamePage.open("tiles.html", {width: 800, height: 600}, {
    beforeLoad: () => {
      Object.defineProperty(window, "Module", {
        configurable: true,
        set(settings) {
          Object.defineProperty(settings, "thisProgram", {enumerable: true, get: () => "/elsewhere", set() {}});
          Object.defineProperty(window, "Module", {value: settings, writable: true, configurable: true});
        },
      });
    },
  });
  const state = await game.waitEnded();
  check(state.message === "Kirjatüüpi ei õnnestunud laadida!" && state.canvasHidden,
        `tiles without its font: the program's message on the page (${JSON.stringify(state)})`);
  await game.page.close();
}

// --- full screen -----------------------------------------------------------

async function isFullscreen(page, want) {
  return page.waitForFunction((want) => (document.fullscreenElement !== null) === want, {timeout: 5000}, want)
    .then(() => true, () => false);
}

// A click on the page's full-screen button, as a person's click.
async function toggleFullscreen(page, want) {
  await page.click("#fullscreen");
  return isFullscreen(page, want);
}

// --- the screen on every screen ---------------------------------------------

const kPhone = {width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true};
// `ink`: where the screen is shown smaller than one device pixel per pixel,
// the share of its ink that must stay dark (nearest-neighbour sampling kept
// 93 %, 87 %, 94 % and 95 % of it on these four).
const kScreens = [
  ["phone", kPhone],
  ["phone turned", {...kPhone, width: 915, height: 412}],
  ["small phone", {...kPhone, width: 320, height: 568, deviceScaleFactor: 2}, {ink: 0.99}],
  ["tablet", {...kPhone, width: 820, height: 1180, deviceScaleFactor: 2}],
  ["laptop", {width: 1440, height: 900, deviceScaleFactor: 2}],
  ["4K monitor", {width: 3840, height: 2160, deviceScaleFactor: 1}],
  ["small phone turned", {...kPhone, width: 568, height: 320, deviceScaleFactor: 2}],
  ["phone of density 1.5", {...kPhone, width: 360, height: 640, deviceScaleFactor: 1.5}, {ink: 0.99}],
  ["phone of density 1", {...kPhone, width: 412, height: 915, deviceScaleFactor: 1}, {ink: 0.96}],
  ["small desktop window", {width: 600, height: 700, deviceScaleFactor: 1}, {ink: 0.99}],
];
// The smallest thing a player must hit, in CSS pixels: with a finger, and
// with a mouse (WCAG 2.5.8). The program's smallest are its menu's buttons,
// 32 pixels high, and the counters' cells, 52 wide.
const kFingerTarget = 44;
const kPointerTarget = 24;
const kMenuButtonHeight = 32;
const kSmallestCell = 52;

// The page's layout once it has handled the last change of the window's
// size, which it does before the next frame's callbacks: the screen, the
// full-screen button and every control of the page's that is shown.
async function layout(page) {
  return page.evaluate(async () => {
    await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
    const box = (element) => {
      const {left, top, right, bottom, width, height} = element.getBoundingClientRect();
      return {left, top, right, bottom, width, height};
    };
    const root = document.documentElement;
    const screen = document.querySelector("canvas").getBoundingClientRect();
    const middle = document.elementFromPoint((screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2);
    const shown = [...document.querySelectorAll("#panel button")]
      .filter((b) => b.getClientRects().length > 0 && getComputedStyle(b).visibility === "visible");
    return {
      screen: box(document.querySelector("canvas")), button: box(document.getElementById("fullscreen")),
      controls: shown.map((b) => ({name: b.id || b.className, ...box(b)})),
      pageChoices: !document.getElementById("controls").hidden,
      smooth: !document.getElementById("smooth").hidden,
      smoothTakesPointer: middle === document.getElementById("smooth"),
      coarse: matchMedia("(pointer: coarse)").matches,
      width: root.clientWidth, height: root.clientHeight, scrollWidth: root.scrollWidth,
      zoom: visualViewport.scale, ratio: devicePixelRatio,
    };
  });
}

const apart = (a, b) => a.right <= b.left || a.left >= b.right || a.bottom <= b.top || a.top >= b.bottom;

// Every control shown (`fit.controls`, the full-screen button among them)
// is in the window, apart from the screen and from each other, and as
// large as a finger needs on a touch screen, a mouse elsewhere.
function checkControls(what, fit) {
  const target = fit.coarse ? kFingerTarget : kPointerTarget;
  const {controls, screen} = fit;
  const inWindow = (b) => b.left >= 0 && b.top >= 0 && b.right <= fit.width && b.bottom <= fit.height;
  const bad = controls.filter((b, i) => !inWindow(b) || !apart(b, screen) || b.width < target || b.height < target ||
    controls.some((other, j) => j !== i && !apart(b, other)));
  check(controls.length > 0 && bad.length === 0,
        `${what}: controls of at least ${target} CSS pixels, in the window, apart (${JSON.stringify(bad.length ? bad : controls)})`);
}

// The whole screen and its controls are in the window and apart, nothing
// scrolls sideways or zooms, the pixels are square. At a density of 2 or
// more, or with room for less than one device pixel per pixel, the screen
// fills 90 % of the width or height that limits it, shown smoothly scaled
// down in the second case only (by a picture over the canvas that lets the
// pointer through to it); otherwise it has as many whole device
// pixels per pixel as the window holds. Where the program's menu buttons
// come out smaller than a target, the page has its own to offer; the
// board's cells are never smaller than a mouse's target.
function checkFit(what, fit) {
  const {screen, button} = fit;
  const inWindow = (b) => b.left >= 0 && b.top >= 0 && b.right <= fit.width && b.bottom <= fit.height;
  const fill = Math.max(screen.width / fit.width, screen.height / fit.height);
  const perPixel = screen.width * fit.ratio / kWidth;
  const whole = Math.round(perPixel);
  const wouldNotFit = (n) => n * kWidth / fit.ratio > fit.width || n * kHeight / fit.ratio > fit.height;
  const sized = fit.ratio >= 2 || perPixel < 1 ? fill >= 0.9
    : Math.abs(perPixel - whole) < 0.01 && wouldNotFit(whole + 1);
  check(inWindow(screen) && inWindow(button) && apart(button, screen) && fit.scrollWidth <= fit.width && fit.zoom === 1 &&
        screen.width * 3 === screen.height * 4 && sized && fit.smooth === perPixel < 1 && !fit.smoothTakesPointer,
        `${what}: the screen fits (${JSON.stringify(fit)}; fills ${fill.toFixed(3)}, ${perPixel.toFixed(3)} device pixels a pixel)`);
  checkControls(what, fit);
  const scale = screen.width / kWidth;
  const target = fit.coarse ? kFingerTarget : kPointerTarget;
  check(fit.pageChoices || kMenuButtonHeight * scale >= target,
        `${what}: the menu's choices are ${(kMenuButtonHeight * scale).toFixed(1)} CSS pixels high and the page offers none larger`);
  check(kSmallestCell * scale >= kPointerTarget, `${what}: the cells are ${(kSmallestCell * scale).toFixed(1)} CSS pixels wide`);
}

// The colour channel of a screenshot (PNG, 8-bit RGB or RGBA, as Chromium
// writes it), one byte a pixel.
function decodePng(bytes) {
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const kind = bytes.toString("latin1", at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (kind === "IHDR") [width, height, channels] = [body.readUInt32BE(0), body.readUInt32BE(4), body[9] === 6 ? 4 : 3];
    if (kind === "IDAT") data.push(body);
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = new Uint8Array(height * stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let i = 0; i < stride; i++) {
      const left = i >= channels ? rows[y * stride + i - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + i] : 0;
      const corner = i >= channels && y > 0 ? rows[(y - 1) * stride + i - channels] : 0;
      const p = left + up - corner;
      const paeth = Math.abs(p - left) <= Math.abs(p - up) && Math.abs(p - left) <= Math.abs(p - corner) ? left
        : Math.abs(p - up) <= Math.abs(p - corner) ? up : corner;
      const predicted = [0, left, up, (left + up) >> 1, paeth][filter];
      rows[y * stride + i] = raw[y * (stride + 1) + 1 + i] + predicted;
    }
  }
  const grey = new Uint8Array(width * height);
  for (let i = 0; i < grey.length; i++) grey[i] = rows[i * channels];
  return {width, height, grey};
}

// What the eye gets of the screen: a screenshot at the device's resolution,
// mapped back onto the program's picture (the canvas, which other checks
// hold to the Linux screen). Of its ink (black pixels), the share whose
// device pixel is still dark (a quarter ink or more); and how many device
// pixels inside the screen are neither black nor white.
async function inkShown(game) {
  const shot = decodePng(await game.page.screenshot());
  const picture = await game.canvasPixels();
  const {box, ratio} = await game.page.evaluate(() => {
    const {left, top, width, height} = document.querySelector("canvas").getBoundingClientRect();
    return {box: {left, top, width, height}, ratio: devicePixelRatio};
  });
  const s = box.width * ratio / kWidth;
  let ink = 0, kept = 0, grey = 0;
  for (let y = 0; y < kHeight; y++) {
    for (let x = 0; x < kWidth; x++) {
      if (picture[(y * kWidth + x) * 4] >= 128) continue;
      ink++;
      const dx = Math.floor(box.left * ratio + (x + 0.5) * s), dy = Math.floor(box.top * ratio + (y + 0.5) * s);
      if (shot.grey[dy * shot.width + dx] < 192) kept++;
    }
  }
  const [left, top] = [Math.ceil(box.left * ratio), Math.ceil(box.top * ratio)];
  const [right, bottom] = [Math.floor((box.left + box.width) * ratio), Math.floor((box.top + box.height) * ratio)];
  for (let y = top; y < bottom; y++) {
    for (let x = left; x < right; x++) if (shot.grey[y * shot.width + x] % 255 !== 0) grey++;
  }
  return {kept: kept / ink, grey};
}

async function installable(page, what) {
  const session = await page.createCDPSession();
  const {installabilityErrors} = await session.send("Page.getInstallabilityErrors");
  await session.detach();
  check(installabilityErrors.length === 0, `${what}: Chromium's installability check (${JSON.stringify(installabilityErrors)})`);
}

// Two fingers spread over the screen, as to zoom in.
async function pinch(game, x, y) {
  const [px, py] = await game.at(x, y);
  const fingers = (d) => [{x: px - d, y: py, id: 0}, {x: px + d, y: py, id: 1}];
  const session = await game.page.createCDPSession();
  await session.send("Input.dispatchTouchEvent", {type: "touchStart", touchPoints: fingers(10)});
  for (let d = 20; d <= 90; d += 10) {
    await session.send("Input.dispatchTouchEvent", {type: "touchMove", touchPoints: fingers(d)});
    await sleep(16);
  }
  await session.send("Input.dispatchTouchEvent", {type: "touchEnd", touchPoints: []});
  await session.detach();
}

// tiles loaded on a phone, where the page's first fit once came too soon
// and left the screen wider than the phone; then the same page turned,
// resized and moved to other screens.
async function screensPage() {
  note("tiles on phones and monitors");
  const game = await GamePage.open("tiles.html", kPhone, {what: "tiles on a phone"});
  const page = game.page;
  check((await game.showsLinuxScreen("tiles-start")) >= 0, "tiles on a phone: first screen");
  await installable(page, "tiles on a phone");
  // Over the banner, where a tap does nothing at the menu.
  await pinch(game, 320, 60);
  check((await layout(page)).zoom === 1, "tiles on a phone: a pinch over the screen zooms nothing");
  // In full screen the program's keys reach it, but for Escape: an arrow
  // moves the menu's focus.
  if (check(await toggleFullscreen(page, true), "tiles on a phone: full screen")) {
    const before = await game.count();
    await page.keyboard.press("ArrowDown");
    await game.changedAfter(before, "an arrow key in full screen");
    check(await toggleFullscreen(page, false), "tiles on a phone: out of full screen");
  }
  // Whole strokes where the screen is scaled down; elsewhere the sharp
  // picture of nearest-neighbour sampling, no pixel grey (on a phone, a
  // fraction of device pixels per pixel).
  for (const [what, viewport, {ink} = {}] of kScreens) {
    await page.setViewport(viewport);
    const fit = await layout(page);
    checkFit(`tiles on a ${what}`, fit);
    if (ink || what === "phone") {
      const shown = await inkShown(game);
      check(ink ? shown.kept >= ink : shown.grey === 0 && shown.kept === 1,
            `tiles on a ${what}: ${(100 * shown.kept).toFixed(1)} % of the ink kept, ${shown.grey} device pixels grey`);
      console.log(`tiles on a ${what}: ${(fit.screen.width * fit.ratio / kWidth).toFixed(2)} device pixels a pixel, ${(100 * shown.kept).toFixed(1)} % of the ink kept`);
    }
  }
  await page.close();
}

// --- a finger on a phone, on the page's own controls ------------------------

// A finger's tap on the middle of a control of the page's.
async function tapControl(game, selector) {
  const box = await (await game.page.$(selector)).boundingBox();
  await game.page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
}

// Whether the page's menu and its keypad are shown.
async function controlsShown(page) {
  return page.evaluate(() => ["menu", "keypad"].map((id) => getComputedStyle(document.getElementById(id)).visibility === "visible"));
}

async function waitControls(page, menu, keypad) {
  return page.waitForFunction((want) => ["menu", "keypad"].every((id, i) =>
    (getComputedStyle(document.getElementById(id)).visibility === "visible") === want[i]), {timeout: 10000}, [menu, keypad])
    .then(() => true, () => false);
}

// A whole game of each program with a finger on a phone where the board's
// cells are smaller than a finger, tapping only the page's controls: its
// menu, then its keypad (the cursor starts on the first cell), then its
// menu again to quit. tiles upright, counters turned.
async function keypadGames() {
  note("tiles and counters by the page's keypad");
  const games = [
    ["tiles", kPhone, "tiles-escape", "tiles-solved", 40,
      [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12].map((n, cell) => [n, cell]).filter(([n]) => n > 0)
        .sort((a, b) => a[0] - b[0]).map(([, cell]) => [cell, ".key-place"])],
    ["counters", {...kPhone, width: 915, height: 412}, "counters-new", "counters-solved", 20,
      [[0, ".key-white"], [1, ".key-white"], [2, ".key-black"], [4, ".key-white"], [5, ".key-black"], [6, ".key-black"]]],
  ];
  for (const [program, viewport, started, solvedScreen, seconds, placing] of games) {
    const what = `${program} by the keypad`;
    const game = await GamePage.open(`${program}.html`, viewport, {what});
    const page = game.page;
    if (!check((await game.showsLinuxScreen(`${program}-start`)) >= 0, `${what}: first screen`)) continue;
    check(await waitControls(page, true, false), `${what}: the page's menu at the program's menu (${await controlsShown(page)})`);
    checkControls(`${what} at the menu`, await layout(page));
    await tapControl(game, "#menu-new");
    if (!(await game.startsGame(started, `${what}: "Uus mäng"`))) continue;
    check(await waitControls(page, false, true), `${what}: the keypad while placing (${await controlsShown(page)})`);
    checkControls(`${what} while placing`, await layout(page));
    const columns = program === "tiles" ? 4 : 7;
    let cursor = 0;
    let placed = true;
    for (const [i, [cell, key]] of placing.entries()) {
      const moves = [[cell % columns - cursor % columns, ".key-right", ".key-left"],
        [Math.floor(cell / columns) - Math.floor(cursor / columns), ".key-down", ".key-up"]];
      for (const [steps, forward, back] of moves) {
        for (let k = 0; k < Math.abs(steps); k++) await tapControl(game, steps > 0 ? forward : back);
      }
      cursor = cell;
      const before = await game.count();
      await tapControl(game, key);
      if (i < placing.length - 1 && !(await game.changedAfter(before, `${what}: placing in cell ${cell}`))) {
        placed = false;
        break;
      }
    }
    if (!placed || (await game.showsLinuxScreen(solvedScreen, seconds)) < 0) continue;
    check(await waitControls(page, true, false), `${what}: the page's menu after the game (${await controlsShown(page)})`);
    await tapControl(game, "#menu-quit");
    const state = await game.waitEnded();
    check(state.ended && state.canvasHidden, `${what}: the page's "Lõpeta" ends the game (${JSON.stringify(state)})`);
    await page.close();
  }
}

// --- installed and offline ---------------------------------------------------

const kServer = fileURLToPath(new URL("../serve.py", import.meta.url));
const kWorker = "sw.js";

function sha256(bytes) {
  return crypto.createHash("sha256").update(bytes).digest("hex");
}

// The site's files, but the worker that the browser keeps itself, with
// their SHA-256.
function siteFiles(dir) {
  const files = {};
  for (const name of fs.readdirSync(dir)) if (name !== kWorker) files[name] = sha256(fs.readFileSync(path.join(dir, name)));
  return files;
}

// Every cache of the page's origin: its name and its files' SHA-256, by
// their names under `base`.
async function cachesOf(page, base) {
  return page.evaluate(async (base) => {
    const hex = (digest) => Array.from(new Uint8Array(digest), (b) => b.toString(16).padStart(2, "0")).join("");
    const all = [];
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      const files = {};
      for (const request of await cache.keys()) {
        const body = await (await cache.match(request)).arrayBuffer();
        files[request.url.startsWith(base) ? request.url.slice(base.length) : request.url] =
          hex(await crypto.subtle.digest("SHA-256", body));
      }
      all.push({name, files});
    }
    return all;
  }, `${base}/`);
}

// One cache of exactly the site's files, byte for byte.
function keepsTheSite(kept, dir) {
  return kept.length === 1 && JSON.stringify(Object.entries(kept[0].files).sort()) ===
    JSON.stringify(Object.entries(siteFiles(dir)).sort());
}

// Waits until the page's service worker is active, or gives up after 30 s.
async function workerActive(page) {
  return page.evaluate(() => Promise.race([
    navigator.serviceWorker.ready.then((registration) => new Promise((resolve) => {
      const worker = registration.active;
      if (worker.state === "activated") resolve(true);
      worker.addEventListener("statechange", () => worker.state === "activated" && resolve(true));
    })),
    new Promise((resolve) => setTimeout(() => resolve(false), 30000)),
  ]));
}

// The index at the root of the host, as `scripts/run web` serves it, on a
// small phone: installable, no wider than the phone, its icons found, and
// the whole site kept by its worker. The app's maskable icon keeps its
// picture where every launcher's mask leaves it.
async function indexPage() {
  note("index");
  const game = await GamePage.open("index.html", kScreens[2][1], {what: "index"});
  const page = game.page;
  await installable(page, "index");
  const width = await page.evaluate(() => [document.documentElement.clientWidth, document.documentElement.scrollWidth]);
  check(width[1] <= width[0], `index: no wider than a small phone (${width})`);
  const icons = await page.evaluate(async () => {
    const links = [...document.querySelectorAll("link[rel~=icon]")].map((link) => link.href);
    // What a browser asks for on a page without an icon of its own.
    const statuses = await Promise.all([...links, "/favicon.ico"].map(async (url) => (await fetch(url)).status));
    const image = new Image();
    image.src = "tiles-maskable-512.png";
    await image.decode();
    const context = new OffscreenCanvas(image.width, image.height).getContext("2d");
    context.drawImage(image, 0, 0);
    const data = context.getImageData(0, 0, image.width, image.height).data;
    const middle = image.width / 2;
    let seeThrough = 0, inkOutside = 0, ink = 0;
    for (let i = 0; i < data.length; i += 4) {
      const x = (i / 4) % image.width + 0.5 - middle, y = Math.floor(i / 4 / image.width) + 0.5 - middle;
      if (data[i + 3] !== 255) seeThrough++;
      if (data[i] < 128) ink++;
      if (data[i] !== 255 && Math.hypot(x, y) > 0.4 * image.width) inkOutside++;
    }
    return {links: links.length, statuses, size: image.width, seeThrough, inkOutside, ink};
  });
  check(icons.links > 0 && icons.statuses.every((status) => status === 200), `index: its icons are there (${JSON.stringify(icons)})`);
  check(icons.size === 512 && icons.seeThrough === 0 && icons.inkOutside === 0 && icons.ink > 0,
        `index: the maskable icon is opaque, its picture inside the mask's circle (${JSON.stringify(icons)})`);
  check(await workerActive(page), "index: its service worker starts");
  await axeClean(page, "the index", check);
  const kept = await cachesOf(page, siteUrl);
  check(keepsTheSite(kept, siteDir), `index: the worker keeps every file of the site (${JSON.stringify(kept)})`);
  await page.close();
}

// An older build of the site, as a host had it before this one: another
// page, and a program file that no longer goes with the pages (were any of
// it kept beside this build's pages, their game would not start). Its
// files carry the times of this build's, as two builds unpacked from
// release archives do: a host that goes by the files' times, as
// web/serve.py does, then calls every file of this build not modified.
function olderBuild(dir) {
  fs.cpSync(siteDir, dir, {recursive: true});
  const index = path.join(dir, "index.html");
  fs.writeFileSync(index, fs.readFileSync(index, "utf8").replace("<head>", "<head>\n<meta name=\"build\" content=\"older\">"));
  fs.appendFileSync(path.join(dir, "tiles.wasm"), "an older build");
  sealSite(dir);
  for (const name of fs.readdirSync(dir)) {
    const {atime, mtime} = fs.statSync(path.join(siteDir, name));
    fs.utimesSync(path.join(dir, name), atime, mtime);
  }
}

// Serves `folder` with web/serve.py, as `scripts/run web` does, on a free port.
async function serve(folder) {
  const server = spawn("python3", [kServer, folder], {stdio: ["ignore", "pipe", "inherit"]});
  const address = await new Promise((resolve) => {
    let text = "";
    server.stdout.on("data", (data) => {
      text += data;
      if (text.includes("\n")) resolve(text.trim().replace(/\/$/, ""));
    });
    server.on("exit", () => resolve(null));
  });
  return {server, address};
}

// The site in a subfolder of a host: first an older build of it, then this
// one in its place; a page opened meanwhile stays whole on the older build,
// and once none is open this build replaces it whole. Then the host goes
// away and every page is opened in a new tab and played offline.
async function offlinePages() {
  note("a host's subfolder, a new build, offline");
  const work = fs.mkdtempSync(path.join(outDir, "host-"));
  const older = path.join(work, "older");
  olderBuild(older);
  const host = path.join(work, "host");
  fs.mkdirSync(host);
  const folder = path.join(host, "kalvorintu");
  fs.symlinkSync(older, folder);
  const {server, address} = await serve(host);
  if (!check(address !== null, "the host started")) return;
  const base = `${address}/kalvorintu`;
  try {
    const first = await GamePage.open("", kPhone, {site: base, what: "the older build's index"});
    check(await workerActive(first.page), "the older build's worker starts");
    const olderCaches = await cachesOf(first.page, base);
    check(keepsTheSite(olderCaches, older), `the older build is kept whole (${JSON.stringify(olderCaches)})`);

    // This build takes its place on the host.
    fs.symlinkSync(siteDir, `${folder}.new`);
    fs.renameSync(`${folder}.new`, folder);
    const second = await GamePage.open("index.html", kPhone, {site: base, what: "the index during the update"});
    const during = await second.page.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      const end = Date.now() + 30000;
      while (!registration.waiting && Date.now() < end) await new Promise((resolve) => setTimeout(resolve, 50));
      return {
        older: document.querySelector("meta[name=build]") !== null,
        wasm: (await (await fetch("tiles.wasm")).arrayBuffer()).byteLength,
        newWorkerWaits: registration.waiting !== null,
      };
    });
    check(during.older && during.wasm === fs.statSync(path.join(older, "tiles.wasm")).size && during.newWorkerWaits,
          `a page opened while the new build installs is the older build's, whole (${JSON.stringify(during)})`);
    await first.page.close();
    await second.page.close();

    // No page of the older build is open: the new one takes over, and its
    // cache is the only one left. A page outside the site's folder reads it.
    const probe = await browser.newPage();
    await probe.goto(`${address}/`);
    let kept = [];
    for (const end = Date.now() + 30000; Date.now() < end; await sleep(100)) {
      kept = await cachesOf(probe, base);
      if (kept.length === 1 && kept[0].name !== olderCaches[0]?.name) break;
    }
    check(keepsTheSite(kept, siteDir), `the new build replaces the older one whole (${JSON.stringify(kept)})`);
    await probe.close();
  } finally {
    server.kill();
  }
  await new Promise((resolve) => (server.exitCode !== null ? resolve() : server.on("exit", resolve)));

  const index = await GamePage.open("", kPhone, {site: base, what: "the index offline"});
  const title = await index.page.evaluate(() => [document.title, document.querySelector("meta[name=build]") === null]);
  check(title[0] === "Kalvorintu!" && title[1], `the index offline, this build's (${title})`);
  await index.page.close();

  const tiles = await GamePage.open("tiles.html", {width: 800, height: 600}, {site: base, what: "tiles offline"});
  // The search's worker, started when placing starts, must find its files
  // in the service worker's cache, not in the browser's.
  await tiles.page.setCacheEnabled(false);
  check((await tiles.showsLinuxScreen("tiles-start")) >= 0, "tiles offline: first screen");
  await tiles.park();
  await tiles.press(...kTilesNewGame);
  if (await tiles.startsGame("tiles-escape", "\"Uus mäng\" offline")) {
    const nearlySolved = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12];
    if ((await placeTiles(tiles, nearlySolved, nearlySolved)) >= 0) {
      if (check((await tiles.showsLinuxScreen("tiles-solved", 40)) >= 0, "tiles offline: a whole game")) {
        await shortestOffline(tiles.page, check);
      }
    }
  }
  await tiles.page.close();

  const counters = await GamePage.open("counters.html", {width: 800, height: 600}, {site: base, what: "counters offline"});
  check((await counters.showsLinuxScreen("counters-start")) >= 0, "counters offline: first screen");
  await counters.park();
  await counters.press(...kTilesNewGame);
  if ((await counters.startsGame("counters-new", "\"Uus mäng\" offline")) && (await placeCounters(counters)) >= 0) {
    check((await counters.showsLinuxScreen("counters-solved", 20)) >= 0, "counters offline: a whole game");
  }
  await counters.page.close();
}

try {
  await tilesPage();
  await countersPage();
  await missingFontPage();
  await keyboardGames(GamePage, check);
  await offerGames(GamePage, check);
  await screensPage();
  await keypadGames();
  await indexPage();
  await offlinePages();
} catch (e) {
  check(false, `the test stopped: ${e.stack}`);
} finally {
  await browser.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

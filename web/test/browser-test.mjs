// The web pages in Debian's headless Chromium, driven as a person would:
// mouse presses held and quick, a finger's taps and long presses, Escape,
// quitting. The canvas is read back with getImageData and must equal, pixel
// for pixel, the Linux program's screen after the same placements (recorded
// by linux_screens). Pace checks measure each gap from the last poll that
// missed the earlier picture to the end of the first poll that saw the later
// one, which is never shorter than the real gap: a late poll on a busy
// machine can only lengthen it.
//
//   node browser-test.mjs SITE-URL SCREENS-DIR OUT-DIR
//
// Prints one line per check that fails and ends with "N passed, N failed".

import fs from "node:fs";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [siteUrl, screensDir, outDir] = process.argv.slice(2);
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
  static async open(file, viewport, {beforeLoad} = {}) {
    const page = await browser.newPage();
    const game = new GamePage(page, file);
    page.on("pageerror", (e) => check(false, `${file}: page error ${e.message}`));
    page.on("requestfailed", (r) => check(false, `${file}: ${r.url()} failed`));
    // Nothing may come from another origin.
    page.on("request", (r) => {
      if (!r.url().startsWith(siteUrl) && !r.url().startsWith("data:")) check(false, `${file} asked for ${r.url()}`);
    });
    await page.setViewport(viewport);
    await page.evaluateOnNewDocument(recorder, pictureHash.toString());
    if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
    await page.goto(`${siteUrl}/${file}`);
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

// Reading order, 0 the blank: the cells to press for 1..15.
async function placeTiles(game, layout, taps = []) {
  let before = 0;
  for (let n = 1; n <= 15; n++) {
    const i = layout.indexOf(n);
    const x = 250 + 65 * (i % 4);
    const y = 140 + 65 * Math.floor(i / 4);
    before = taps.includes(n) ? await game.tap(x, y) : await game.press(x, y);
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
  check((await page.title()) === "Kalvorintu!", "tiles: page title");
  const style = await page.evaluate(() => {
    const canvas = document.querySelector("canvas");
    return {rendering: getComputedStyle(canvas).imageRendering, width: canvas.getBoundingClientRect().width};
  });
  check(style.rendering === "pixelated" && style.width === kWidth, `tiles: canvas drawn crisp at 640 px (${JSON.stringify(style)})`);
  await game.park();

  // A quick tap on the menu starts a game; taps and held presses place.
  if (!(await game.changedAfter(await game.tap(...kTilesNewGame), "a quick tap on \"Uus mäng\""))) return;
  const nearlySolved = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12];
  const lastPress = await placeTiles(game, nearlySolved, [2, 7, 15]);
  if (lastPress < 0) return;
  const solved = await game.showsLinuxScreen("tiles-solved", 40);
  if (solved < 0) return;
  // One picture per 500 ms pause, from the first of the solve to
  // "Lahendatud!."; the menu redraws its buttons over that without a pause.
  await game.paced(lastPress, solved - 1, 500, "tiles solve");

  await page.keyboard.press("Escape");
  check((await game.showsLinuxScreen("tiles-escape")) >= 0, "tiles: Escape at the menu starts a new game");
  if ((await placeTiles(game, [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 0])) < 0) return;
  check((await game.showsLinuxScreen("tiles-unsolvable")) >= 0, "tiles: unsolvable placement");

  if (!(await game.changedAfter(await game.press(...kTilesNewGame, "left", 150), "a held press on \"Uus mäng\""))) return;
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

async function countersPage() {
  // Twice the size: presses go through the page's scaling.
  note("counters");
  const game = await GamePage.open("counters.html", {width: 1400, height: 1100, deviceScaleFactor: 1, hasTouch: true});
  const page = game.page;
  const box = await game.canvasBox();
  check(box.width === 2 * kWidth && box.height === 2 * kHeight, `counters: screen scaled by 2 where the window has room (${box.width}x${box.height})`);
  check((await game.showsLinuxScreen("counters-start")) >= 0, "counters: first screen");
  await game.park();

  // The right button reaches the program: no context menu takes it.
  await page.evaluate(() => {
    window.contextMenus = [];
    window.addEventListener("contextmenu", (e) => window.contextMenus.push(e.defaultPrevented));
  });
  if (!(await game.changedAfter(await game.press(...kTilesNewGame, "left", 150), "a held press on \"Uus mäng\""))) return;
  let lastPress = 0;
  for (const [k, counter] of [[0, "W"], [1, "W"], [2, "B"], [4, "W"], [5, "B"], [6, "B"]]) {
    lastPress = await game.press(cellX(k), kRowY, counter === "B" ? "right" : "left");
    if (k < 6 && !(await game.changedAfter(lastPress, `placing ${counter} in cell ${k}`))) return;
  }
  const menus = await page.evaluate(() => window.contextMenus);
  check(menus.length > 0 && menus.every((prevented) => prevented), `counters: no context menu over the canvas (${menus})`);
  const solved = await game.showsLinuxScreen("counters-solved", 20);
  if (solved < 0) return;
  await game.paced(lastPress, solved - 1, 1500, "counters playback");

  // A finger: a tap is the left button, a press held for half a second the
  // right one, so black counters can be placed too.
  if (!(await game.changedAfter(await game.fingerTap(...kTilesNewGame), "a finger's tap on \"Uus mäng\""))) return;
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

// A program file without its font: the program's own message, on the page.
async function missingFontPage() {
  note("tiles without its font");
  const game = await GamePage.open("tiles.html", {width: 800, height: 600}, {
    beforeLoad: () => {
      Object.defineProperty(window, "Module", {
        configurable: true,
        set(settings) {
          settings.onRuntimeInitialized = () => FS.unlink(settings.thisProgram);
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

try {
  await tilesPage();
  await countersPage();
  await missingFontPage();
} catch (e) {
  check(false, `the test stopped: ${e.stack}`);
} finally {
  await browser.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

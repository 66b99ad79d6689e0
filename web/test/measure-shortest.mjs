// Figures of tiles' shortest solution in the browser, for docs/figures.md,
// in Debian's headless Chromium:
// - the first download of each game page: every file the page asks for
//   until it has loaded and shown its first frame (the browser's cache and
//   the service worker passed by), each gzipped (-9) as a server would
//   send it, here and on BASE-URL, the site built before;
// - for each position given: a fresh page (the search's worker not yet
//   started), the position placed by the mouse, the solve's script run (its
//   pauses shortened, for the figures only: they come before what is
//   measured), then "Näita lühimat lahendust" pressed; the time from the
//   press to the first move drawn, the longest task of the page's main
//   thread from the press to two seconds after the first move (Chromium's long-task
//   timing, PerformanceObserver "longtask": every task over 50 ms), and the
//   memory of the program's and the worker's WebAssembly. With COLD=1 the
//   worker is started only by the press, so that it builds its tables
//   then: the first time for a position placed faster than the tables are
//   built.
//
//   node measure-shortest.mjs SITE-URL BASE-URL < positions
//
// Positions: one a line, 16 numbers row by row, 0 for the gap; blank lines
// and lines that begin with # are skipped.

import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import zlib from "node:zlib";
import puppeteer from "puppeteer-core";

const [siteUrl, baseUrl] = process.argv.slice(2);
const cold = process.env.COLD === "1";
const positions = fs.readFileSync(0, "utf8").split("\n").map((line) => line.trim())
  .filter((line) => line !== "" && !line.startsWith("#")).map((line) => line.split(/\s+/).map(Number));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const note = (what) => console.error(`measure-shortest: ${what}`);

const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), "kalvo-shortest-")),
  args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
    "--disable-sync", "--no-first-run"],
});

// Every file a page asks for until a second after its load and first
// frame, gzipped.
async function firstDownload(url) {
  const page = await browser.newPage();
  await page.setCacheEnabled(false);
  await page.setBypassServiceWorker(true);
  const asked = new Set();
  page.on("request", (r) => asked.add(r.url()));
  await page.goto(url, {waitUntil: "load"});
  await page.waitForFunction(() => window.Module && Module.webScreen, {timeout: 10000});
  await sleep(1000);
  await page.close();
  let gzipped = 0;
  const files = [];
  for (const file of [...asked].sort()) {
    const body = Buffer.from(await (await fetch(file)).arrayBuffer());
    const size = zlib.gzipSync(body, {level: 9}).length;
    gzipped += size;
    files.push(`${file.replace(/.*\//, "")} ${size}`);
  }
  return {gzipped, files};
}

// Runs in the page from its first script on: long tasks, the program's
// messages with their times, and, until the page's test says otherwise,
// the program's pauses of 100 ms or more cut to 1 ms.
function watchPage(cold) {
  window.longTasks = [];
  new PerformanceObserver((list) => window.longTasks.push(...list.getEntries().map((e) => [e.startTime, e.duration])))
    .observe({type: "longtask", buffered: true});
  window.fastPauses = true;
  const setTimeoutAsIs = window.setTimeout;
  window.setTimeout = (f, ms, ...rest) => setTimeoutAsIs(f, window.fastPauses && ms >= 100 ? 1 : ms, ...rest);
  window.said = [];
  let hooked = false;
  const hook = () => {
    if (hooked || !window.Module || !Module.onProgramSays) return;
    hooked = true;
    const tell = Module.onProgramSays;
    Module.onProgramSays = (message) => {
      window.said.push({at: performance.now(), message, offer: message.offer});
      tell(message);
    };
    // The worker is started by the press alone: the program's offer of J,
    // which starts it, is hidden from every listener of the page.
    if (cold) Module.programListeners.unshift((said) => {
      if (said.offer === "J") said.offer = "";
    });
  };
  const timer = setInterval(() => (hooked ? clearInterval(timer) : hook()), 1);
}

async function placeAndShow(position) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 600});
  await page.evaluateOnNewDocument(watchPage, cold);
  await page.goto(`${siteUrl}/tiles.html`);
  await page.waitForFunction(() => window.Module && Module.webScreen, {timeout: 10000});
  await sleep(300);
  const box = await (await page.$("canvas")).boundingBox();
  const click = async (x, y) => {
    await page.mouse.move(box.x + x + 0.5, box.y + y + 0.5);
    await page.mouse.down();
    await sleep(30);
    await page.mouse.up();
  };
  await click(100, 376);
  await page.waitForFunction(() => window.said.some((s) => s.offer === "J"), {timeout: 10000});
  await sleep(300);
  for (let n = 1; n <= 15; n++) {
    const i = position.indexOf(n);
    await click(250 + 65 * (i % 4), 140 + 65 * Math.floor(i / 4));
    await sleep(60);
  }
  await page.waitForFunction(() => window.said.some((s) => s.message.kind === "menu" && s.message.offer === "N"),
                             {timeout: 300000});
  await page.evaluate(() => { window.fastPauses = false; });
  await sleep(300);
  const pressed = await page.evaluate(() => new Promise((resolve) => {
    const button = document.getElementById("offer-shortest");
    button.addEventListener("click", () => resolve(performance.now()), {capture: true, once: true});
    button.click();
  }));
  // The placed position is shown again first; the first move changes it.
  await page.evaluate(() => {
    window.firstMove = (pressed) => {
      const after = window.said.filter((s) => s.at >= pressed && s.message.kind === "screen");
      const names = (s) => s.message.cells.map((c) => c.name).join();
      return after.length === 0 ? undefined : after.find((s) => names(s) !== names(after[0]));
    };
  });
  await page.waitForFunction((t) => window.firstMove(t) !== undefined, {timeout: 120000}, pressed);
  await sleep(2000);
  const result = await page.evaluate((pressed) => {
    const first = window.firstMove(pressed);
    const last = window.said.filter((s) => s.message.kind === "screen").pop();
    const tasks = window.longTasks.filter(([start]) => start >= pressed);
    return {
      firstMoveMs: first ? first.at - pressed : null,
      status: last.message.status,
      moves: (last.message.status.match(/\/(\d+)/) || [])[1],
      longTasks: tasks.length,
      longestTaskMs: Math.max(0, ...tasks.map(([, duration]) => duration)),
      programMemory: HEAPU8.buffer.byteLength,
      workerMemory: Module.searchMemory,
    };
  }, pressed);
  await page.close();
  return result;
}

try {
  if (baseUrl) {
    console.log("| page | first download, gzipped: before | after | growth |");
    console.log("|---|---|---|---|");
    for (const file of ["tiles.html", "counters.html"]) {
      const before = await firstDownload(`${baseUrl}/${file}`);
      const after = await firstDownload(`${siteUrl}/${file}`);
      note(`${file}: before ${before.files.join(", ")}; after ${after.files.join(", ")}`);
      console.log(`| ${file} | ${before.gzipped} B | ${after.gzipped} B | ${after.gzipped - before.gzipped} B |`);
    }
    console.log();
  }
  console.log(`| position | press to first move${cold ? " (tables built after the press)" : ""} | longest task | long tasks | moves | program's memory | worker's memory |`);
  console.log("|---|---|---|---|---|---|---|");
  for (const position of positions) {
    note(position.join(" "));
    const r = await placeAndShow(position);
    console.log(`| ${position.join(" ")} | ${r.firstMoveMs?.toFixed(0)} ms | ${r.longestTaskMs.toFixed(0)} ms | ${r.longTasks} | ${r.moves} | ${r.programMemory / 1048576} MB | ${(r.workerMemory / 1048576).toFixed(1)} MB |`);
  }
} finally {
  await browser.close();
}

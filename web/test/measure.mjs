// Figures of the web pages in Debian's headless Chromium, for docs/figures.md:
// - first frame: from the start of navigation to the first pixels a page
//   puts on its canvas, for each game page and for a bare page that only
//   draws one 640x480 picture from a small PNG (bare.html, from another
//   origin, so no service worker of the site serves it), and for an empty
//   program on a game page (empty.c, on an origin of its own too: the floor
//   of any program there), with the browser's HTTP cache off and the site's
//   service worker passed by, the pages taking turns, median of several
//   loads each; then the same with the processor slowed down 4 times, as a
//   phone's; then the game pages and the bare page with the site's service
//   worker's cache, where the site has a service worker;
// - CPU share of one core of each page's renderer processes while the program
//   waits in its menu, then in its placing loop, beside a blank page, all
//   sampled over the same seconds;
// - the longest gap between two animation frames of the page while tiles
//   solves (how long page scripts may have to wait for a turn).
//
//   node measure.mjs SITE-URL BARE-URL SECONDS EMPTY-URL

import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [siteUrl, bareUrl, secondsArg, emptyUrl] = process.argv.slice(2);
const seconds = Number(secondsArg || 15);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const hz = 100;  // clock ticks per second of /proc/PID/stat on Linux

// Each page in a browser of its own, so that each one's renderer processes
// hold that page and nothing else (a spare renderer the browser keeps ready
// sits idle beside it).
async function launch() {
  return puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), "kalvo-measure-")),
    args: [
      "--no-sandbox", "--disable-gpu", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--no-first-run",
    ],
  });
}

function parentOf(pid) {
  const stat = fs.readFileSync(`/proc/${pid}/stat`, "utf8");
  return Number(stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]);
}

// The renderer processes among the browser's descendants.
function rendererPids(browser) {
  const root = browser.process().pid;
  const pids = [];
  for (const entry of fs.readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      if (!fs.readFileSync(`/proc/${entry}/cmdline`, "utf8").includes("--type=renderer")) continue;
      let pid = Number(entry);
      while (pid > 1 && pid !== root) pid = parentOf(pid);
      if (pid === root) pids.push(Number(entry));
    } catch {
      // gone meanwhile
    }
  }
  return pids;
}

function cpuTicks(pid) {
  const stat = fs.readFileSync(`/proc/${pid}/stat`, "utf8");
  const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
  return Number(fields[11]) + Number(fields[12]);  // utime, stime
}

async function openPage(url, setContent) {
  const browser = await launch();
  const page = (await browser.pages())[0] || (await browser.newPage());
  await page.setViewport({width: 800, height: 600});
  if (setContent) {
    await page.setContent(setContent);
  } else {
    await page.goto(url);
  }
  return {browser, page};
}

async function shares(opened) {
  const ticks = () => opened.map((o) => rendererPids(o.browser).reduce((sum, pid) => sum + cpuTicks(pid), 0));
  const before = ticks();
  const t0 = performance.now();
  await sleep(seconds * 1000);
  const after = ticks();
  const elapsed = (performance.now() - t0) / 1000;
  return opened.map((_, i) => (100 * (after[i] - before[i]) / hz / elapsed).toFixed(2));
}

const kLoads = 11;
const kSettleMs = 1000;

// Runs in the page from its first script on: notes when the first picture
// goes on a canvas, the game's first putImageData or the bare page's
// drawImage, and when the program's .wasm has been compiled and
// instantiated.
function watchLoad() {
  for (const name of ["putImageData", "drawImage"]) {
    const original = CanvasRenderingContext2D.prototype[name];
    CanvasRenderingContext2D.prototype[name] = function (...args) {
      if (window.firstFrameMs === undefined) window.firstFrameMs = performance.now();
      return original.apply(this, args);
    };
  }
  for (const name of ["instantiateStreaming", "instantiate"]) {
    const original = WebAssembly[name];
    WebAssembly[name] = (...args) => original(...args).then((result) => {
      window.instantiatedMs = performance.now();
      return result;
    });
  }
}

// The first frame, and the moments before it that show where its time goes,
// in ms after the start of navigation. Without `how.byWorker` every file
// comes from the server: the site's service worker, which the first load
// installs, is passed by. `how.slowdown` slows the page's processor down
// that many times (Chromium's own emulation), as a phone's is beside this
// machine's. The page stays open a while after its first frame, so that
// what it still does (its icons, the manifest, installing the worker) is
// done before the next page starts loading.
async function loadOnce(browser, url, how) {
  const page = await browser.newPage();
  await page.setCacheEnabled(false);
  await page.setBypassServiceWorker(!how.byWorker);
  if (how.slowdown) await page.emulateCPUThrottling(how.slowdown);
  await page.setViewport({width: 800, height: 600});
  await page.evaluateOnNewDocument(watchLoad);
  await page.goto(url);
  await page.waitForFunction(() => window.firstFrameMs !== undefined, {timeout: 10000});
  const load = await page.evaluate(() => {
    const received = (ending) => {
      const entry = performance.getEntriesByType("resource").find((e) => e.name.endsWith(ending));
      return entry ? entry.responseEnd : undefined;
    };
    const program = location.pathname.replace(/.*\//, "").replace(/\.html$/, "");
    return {
      ms: window.firstFrameMs,
      html: performance.getEntriesByType("navigation")[0].responseEnd,
      script: received(`/${program}.js`),
      wasm: received(`/${program}.wasm`),
      instantiated: window.instantiatedMs,
      start: window.instantiatedMs === undefined ? undefined : window.firstFrameMs - window.instantiatedMs,
      byWorker: Boolean(navigator.serviceWorker && navigator.serviceWorker.controller),
    };
  });
  await sleep(kSettleMs);
  await page.close();
  return load;
}

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

// kLoads loads of each page, taking turns so that all of them meet the same
// moments of a busy machine, after one round that is not counted (the
// browser starts its processes and compiles its own code then).
async function firstFrames(browser, urls, how) {
  const loads = urls.map(() => []);
  for (let round = -1; round < kLoads; round++) {
    for (let i = 0; i < urls.length; i++) {
      const load = await loadOnce(browser, urls[i], how);
      if (round >= 0) loads[i].push(load);
    }
  }
  return loads.map((list) => {
    const times = list.map((load) => load.ms).sort((a, b) => a - b);
    const phase = (name) => (list[0][name] === undefined ? undefined : median(list.map((load) => load[name])));
    return {
      median: median(times),
      all: times.map((t) => t.toFixed(0)).join(" "),
      phases: {
        html: phase("html"), script: phase("script"), wasm: phase("wasm"),
        instantiated: phase("instantiated"), start: phase("start"),
      },
      byWorker: list.filter((load) => load.byWorker).length,
    };
  });
}

// The site's service worker, if it has one, installed by one visit: true
// once it is active.
async function installWorker(browser) {
  const page = await browser.newPage();
  await page.goto(`${siteUrl}/tiles.html`);
  for (let i = 0; i < 50; i++) {
    const registered = await page.evaluate(async () => {
      if (!navigator.serviceWorker) return false;
      return (await navigator.serviceWorker.getRegistrations()).length > 0;
    });
    if (registered) {
      await page.evaluate(() => navigator.serviceWorker.ready);
      await page.close();
      return true;
    }
    await sleep(100);
  }
  await page.close();
  return false;
}

async function at(page, x, y) {
  const box = await (await page.$("canvas")).boundingBox();
  return [box.x + x + 0.5, box.y + y + 0.5];
}

async function click(page, x, y) {
  await page.mouse.move(...(await at(page, x, y)));
  await page.mouse.down();
  await sleep(80);
  await page.mouse.up();
  await page.mouse.move(...(await at(page, 620, 372)));
  await sleep(300);
}

const note = (what) => console.error(`measure: ${what}`);
const opened = [];
try {
  note("first frames, HTTP cache off");
  const pages = [`${bareUrl}/bare.html`, `${siteUrl}/tiles.html`, `${siteUrl}/counters.html`];
  const withEmpty = [...pages, `${emptyUrl}/empty.html`];
  const names = withEmpty.map((url) => url.replace(/.*\//, ""));
  let browser = await launch();
  const frames = await firstFrames(browser, withEmpty, {});
  note("first frames, HTTP cache off, the processor 4 times slower");
  const slowed = await firstFrames(browser, withEmpty, {slowdown: 4});
  await browser.close();
  note("first frames with the service worker's cache");
  browser = await launch();
  const withWorker = (await installWorker(browser)) ? await firstFrames(browser, pages, {byWorker: true}) : null;
  await browser.close();

  opened.push(await openPage("blank", "<!DOCTYPE html><title>blank</title>"));
  opened.push(await openPage(`${siteUrl}/tiles.html`));
  opened.push(await openPage(`${siteUrl}/counters.html`));
  const [, tiles, counters] = opened;
  await sleep(2000);
  note(`menus, ${seconds} s`);
  const menu = await shares(opened);
  await click(tiles.page, 100, 376);
  await click(counters.page, 100, 376);
  await sleep(1000);
  note(`placing loops, ${seconds} s`);
  const placing = await shares(opened);

  // A solve of 40 moves; animation frames timed meanwhile.
  note("animation frames during a tiles solve");
  await tiles.page.evaluate(() => {
    window.frameGaps = {longest: 0, last: performance.now(), count: 0};
    const tick = (now) => {
      const g = window.frameGaps;
      g.longest = Math.max(g.longest, now - g.last);
      g.last = now;
      g.count++;
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  });
  const layout = [1, 2, 3, 4, 5, 6, 7, 8, 0, 13, 10, 11, 9, 15, 14, 12];
  for (let n = 1; n <= 15; n++) {
    const i = layout.indexOf(n);
    await click(tiles.page, 250 + 65 * (i % 4), 140 + 65 * Math.floor(i / 4));
  }
  await tiles.page.evaluate(() => { window.frameGaps.longest = 0; window.frameGaps.count = 0; });
  await sleep(20000);
  const gaps = await tiles.page.evaluate(() => window.frameGaps);

  // A blank page's own figure is within a tick or two of zero, so the limit
  // is twice that or 0.3 % of a core, whichever is more.
  const row = (name, values) => {
    const [blank, tiles, counters] = values.map(Number);
    const limit = Math.max(2 * blank, 0.3);
    const verdict = (share) => (share <= limit ? "within" : "over");
    return `| ${name} | ${values[0]} % | ${values[1]} % (${verdict(tiles)}) | ${values[2]} % (${verdict(counters)}) | ${limit.toFixed(2)} % |`;
  };
  console.log(`### Web: CPU while waiting (renderer processes, share of one core, ${seconds} s samples)`);
  console.log();
  console.log("Each page in a headless Chromium of its own, all three sampled over the same seconds.");
  console.log();
  console.log("| Waiting in | blank page | tiles | counters | limit: 2x the blank page, at least 0.30 % |");
  console.log("|---|---|---|---|---|");
  console.log(row("menu", menu));
  console.log(row("placing loop", placing));
  console.log();
  console.log(`### Web: first frame after navigation (HTTP cache off, median of ${kLoads} loads, the pages taking turns)`);
  console.log();
  const ratio = (frame, bare) => `${(frame.median / bare.median).toFixed(2)}x`;
  const workerCells = (i) => {
    if (!withWorker) return "| no service worker | |";
    if (i >= withWorker.length) return "| not measured | |";
    const frame = withWorker[i];
    const served = i === 0 ? "" : ` (${frame.byWorker} of ${kLoads} by the worker)`;
    return `| ${frame.median.toFixed(0)} ms, ${ratio(frame, withWorker[0])} | ${frame.all}${served} |`;
  };
  console.log("| Page | First frame | / bare page | The loads, ms | With the service worker's cache, / its bare page | The loads, ms | The processor 4 times slower, / its bare page | The loads, ms |");
  console.log("|---|---|---|---|---|---|---|---|");
  names.forEach((name, i) => {
    const slow = `${slowed[i].median.toFixed(0)} ms, ${ratio(slowed[i], slowed[0])} | ${slowed[i].all} |`;
    console.log(`| ${name} | ${frames[i].median.toFixed(0)} ms | ${ratio(frames[i], frames[0])} | ${frames[i].all} ${workerCells(i)} ${slow}`);
  });
  console.log();
  console.log("Where the time goes, HTTP cache off (medians, ms after the start of navigation):");
  console.log();
  console.log("| Page | page received | program's script received | .wasm received | .wasm compiled and instantiated | first frame | program start (instantiated to first frame) |");
  console.log("|---|---|---|---|---|---|---|");
  const ms = (t) => (t === undefined ? "" : `${t.toFixed(0)}`);
  names.forEach((name, i) => {
    const p = frames[i].phases;
    console.log(`| ${name} | ${ms(p.html)} | ${ms(p.script)} | ${ms(p.wasm)} | ${ms(p.instantiated)} | ${ms(frames[i].median)} | ${ms(p.start)} |`);
  });
  console.log();
  console.log(`Longest gap between two animation frames during 20 s of a tiles solve: ${gaps.longest.toFixed(1)} ms (${gaps.count} frames).`);
} finally {
  for (const o of opened) await o.browser.close();
}

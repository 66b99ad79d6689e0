// Figures of the web pages in Debian's headless Chromium, for docs/figures.md:
// - first frame: from the start of navigation to the first pixels the
//   program puts on its canvas, median of five loads of each page;
// - CPU share of one core of each page's renderer processes while the program
//   waits in its menu, then in its placing loop, beside a blank page, all
//   sampled over the same seconds;
// - the longest gap between two animation frames of the page while tiles
//   solves (how long page scripts may have to wait for a turn).
//
//   node measure.mjs SITE-URL SECONDS

import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [siteUrl, secondsArg] = process.argv.slice(2);
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

async function firstFrame(browser, file) {
  const times = [];
  for (let i = 0; i < 5; i++) {
    const page = await browser.newPage();
    await page.setViewport({width: 800, height: 600});
    await page.evaluateOnNewDocument(() => {
      const put = CanvasRenderingContext2D.prototype.putImageData;
      CanvasRenderingContext2D.prototype.putImageData = function (...args) {
        if (window.firstFrameMs === undefined) window.firstFrameMs = performance.now();
        return put.apply(this, args);
      };
    });
    await page.goto(`${siteUrl}/${file}`);
    await page.waitForFunction(() => window.firstFrameMs !== undefined, {timeout: 10000});
    times.push(await page.evaluate(() => window.firstFrameMs));
    await page.close();
  }
  times.sort((a, b) => a - b);
  return {median: times[2], all: times.map((t) => t.toFixed(0)).join(" ")};
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
  note("first frames");
  const browser = await launch();
  const tilesFrame = await firstFrame(browser, "tiles.html");
  const countersFrame = await firstFrame(browser, "counters.html");
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
  const frames = await tiles.page.evaluate(() => window.frameGaps);

  const row = (name, values) => `| ${name} | ${values[0]} % | ${values[1]} % | ${values[2]} % | ${(values[1] / values[0]).toFixed(2)}x | ${(values[2] / values[0]).toFixed(2)}x |`;
  console.log(`### Web: CPU while waiting (renderer processes, share of one core, ${seconds} s samples)`);
  console.log();
  console.log("Each page in a headless Chromium of its own, all three sampled over the same seconds.");
  console.log();
  console.log("| Waiting in | blank page | tiles | counters | tiles / blank | counters / blank |");
  console.log("|---|---|---|---|---|---|");
  console.log(row("menu", menu));
  console.log(row("placing loop", placing));
  console.log();
  console.log("### Web: first frame and responsiveness");
  console.log();
  console.log("| Page | First frame after navigation (median of 5) | The 5 loads, ms |");
  console.log("|---|---|---|");
  console.log(`| tiles.html | ${tilesFrame.median.toFixed(0)} ms | ${tilesFrame.all} |`);
  console.log(`| counters.html | ${countersFrame.median.toFixed(0)} ms | ${countersFrame.all} |`);
  console.log();
  console.log(`Longest gap between two animation frames during 20 s of a tiles solve: ${frames.longest.toFixed(1)} ms (${frames.count} frames).`);
} finally {
  for (const o of opened) await o.browser.close();
}

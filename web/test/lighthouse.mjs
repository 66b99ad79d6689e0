// Lighthouse (pinned in package-lock.json), with its mobile settings, on
// the index and both game pages, in Debian's headless Chromium: prints a
// Markdown table of the accessibility, best practices and SEO scores and
// the layout shift, and each audit that fell short, for docs/figures.md.
//
//   node lighthouse.mjs SITE-URL
//
// Run by `scripts/measure lighthouse`, which builds and serves the site.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import lighthouse from "lighthouse";
import puppeteer from "puppeteer-core";

const [siteUrl] = process.argv.slice(2);
const kCategories = ["accessibility", "best-practices", "seo"];

const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), "lighthouse-")),
  args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--no-first-run"],
});
const port = Number(new URL(browser.wsEndpoint()).port);
const browserVersion = await browser.version();
const rows = [];
const shortfalls = [];
try {
  for (const page of ["index.html", "tiles.html", "counters.html"]) {
    const {lhr} = await lighthouse(`${siteUrl}/${page}`, {port, output: "json", logLevel: "error"}, {
      extends: "lighthouse:default",
      settings: {onlyCategories: ["performance", ...kCategories]},
    });
    const scores = kCategories.map((name) => Math.round(lhr.categories[name].score * 100));
    const shift = lhr.audits["cumulative-layout-shift"].numericValue;
    rows.push(`| ${page} | ${scores.join(" | ")} | ${shift.toFixed(3)} |`);
    for (const name of kCategories) {
      for (const {id} of lhr.categories[name].auditRefs) {
        const audit = lhr.audits[id];
        if (audit.score !== null && audit.score < 1 && audit.scoreDisplayMode !== "informative" &&
            audit.scoreDisplayMode !== "manual" && audit.scoreDisplayMode !== "notApplicable") {
          shortfalls.push(`- ${page}, ${name}: ${audit.title}`);
        }
      }
    }
  }
} finally {
  await browser.close();
}
const {version} = JSON.parse(fs.readFileSync(new URL("node_modules/lighthouse/package.json", import.meta.url), "utf8"));
console.log(`Lighthouse ${version}, mobile settings, ${browserVersion}`);
console.log();
console.log("| page | accessibility | best practices | SEO | layout shift |");
console.log("|---|---|---|---|---|");
for (const row of rows) console.log(row);
if (shortfalls.length > 0) {
  console.log();
  for (const line of shortfalls) console.log(line);
}

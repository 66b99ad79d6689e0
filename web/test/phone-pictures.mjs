// The pictures of the fit in docs/web.md: tiles on a phone, upright and
// turned, as the page fits the screen there, each inside a drawn phone,
// with the edge of the program's screen (white on white) dashed in.
//
//   node phone-pictures.mjs SITE-URL DOCS-DIR
//
// Writes DOCS-DIR/web-phone-portrait.png and DOCS-DIR/web-phone-landscape.png.

import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [siteUrl, docsDir] = process.argv.slice(2);
// The phone of the browser test, 412 x 915 CSS pixels at 2.625.
const kPhone = {width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true};
// The pictures show the phone at a third of its device pixels.
const kShrink = 3;
const kBezel = 14;

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "phone-pictures-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--no-first-run"],
});

// The phone's screen with a dark body around it, rounded as phones are;
// `edge` is the program's screen in device pixels.
async function inPhone(screenshot, edge) {
  const page = await browser.newPage();
  const png = await page.evaluate(async (base64, edge, shrink, bezel) => {
    const image = new Image();
    image.src = `data:image/png;base64,${base64}`;
    await image.decode();
    const width = Math.round(image.width / shrink), height = Math.round(image.height / shrink);
    const canvas = new OffscreenCanvas(width + 2 * bezel, height + 2 * bezel);
    const context = canvas.getContext("2d");
    context.fillStyle = "#222";
    context.beginPath();
    context.roundRect(0, 0, canvas.width, canvas.height, 3 * bezel);
    context.fill();
    context.imageSmoothingQuality = "high";
    context.drawImage(image, bezel, bezel, width, height);
    context.strokeStyle = "#888";
    context.setLineDash([4, 3]);
    context.strokeRect(bezel + edge.x / shrink - 0.5, bezel + edge.y / shrink - 0.5, edge.width / shrink + 1,
                       edge.height / shrink + 1);
    const blob = await canvas.convertToBlob({type: "image/png"});
    const bytes = new Uint8Array(await blob.arrayBuffer());
    let s = "";
    for (let i = 0; i < bytes.length; i += 8192) s += String.fromCharCode(...bytes.subarray(i, i + 8192));
    return btoa(s);
  }, screenshot.toString("base64"), edge, kShrink, kBezel);
  await page.close();
  return Buffer.from(png, "base64");
}

try {
  const page = await browser.newPage();
  await page.setViewport(kPhone);
  await page.goto(`${siteUrl}/tiles.html`);
  // The menu is drawn: the first button's frame is black.
  await page.waitForFunction(() => {
    const screen = window.Module && Module.webScreen;
    return screen && screen.context.getImageData(25, 360, 1, 1).data[0] === 0;
  }, {timeout: 20000});
  for (const [name, viewport] of [["portrait", kPhone], ["landscape", {...kPhone, width: kPhone.height, height: kPhone.width}]]) {
    await page.setViewport(viewport);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    const edge = await page.evaluate((ratio) => {
      const {x, y, width, height} = document.querySelector("canvas").getBoundingClientRect();
      return {x: x * ratio, y: y * ratio, width: width * ratio, height: height * ratio};
    }, viewport.deviceScaleFactor);
    const file = path.join(docsDir, `web-phone-${name}.png`);
    fs.writeFileSync(file, await inPhone(await page.screenshot({type: "png"}), edge));
    console.log(file);
  }
} finally {
  await browser.close();
  fs.rmSync(profile, {recursive: true, force: true});
}

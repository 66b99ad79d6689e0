// Writes the site's service worker, SITE/sw.js, from web/site/sw.js.in:
// every other file of SITE with its SHA-256, and a cache name drawn from
// all of them. Any change to any file changes sw.js, which is how browsers
// learn that there is a new build; the same files always give the same
// sw.js.
//
//   node web/seal.mjs SITE

import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import {fileURLToPath} from "node:url";

const kWorker = "sw.js";

function sha256(bytes) {
  return crypto.createHash("sha256").update(bytes).digest("hex");
}

// Names relative to the site, with "/" between folders, in byte order.
function filesOf(site, folder = "") {
  const names = [];
  for (const entry of fs.readdirSync(path.join(site, folder), {withFileTypes: true})) {
    const name = folder ? `${folder}/${entry.name}` : entry.name;
    if (entry.isDirectory()) names.push(...filesOf(site, name));
    else if (name !== kWorker) names.push(name);
  }
  return names.sort((a, b) => Buffer.compare(Buffer.from(a), Buffer.from(b)));
}

export function sealSite(site) {
  const files = filesOf(site).map((name) => [name, sha256(fs.readFileSync(path.join(site, name)))]);
  const list = files.map(([name, digest]) => `${digest}  ${name}\n`).join("");
  const template = fs.readFileSync(fileURLToPath(new URL("site/sw.js.in", import.meta.url)), "utf8");
  const worker = template
    .replace("@FILES@", `[\n${files.map((file) => `  ${JSON.stringify(file)},`).join("\n")}\n]`)
    .replace("@HASH@", sha256(list).slice(0, 16));
  fs.writeFileSync(path.join(site, kWorker), worker);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) sealSite(process.argv[2]);

// The game pages as a screen reader and a keyboard have them: one whole
// game of each program played with keys alone, no pointer event, at a
// thinking player's pace, after single arrow presses at three paces; read back
// through the DevTools protocol's Accessibility domain (the menu's buttons,
// the board's grid, its cells' names, its active cell); the live region's
// texts against the status lines the program said it drew; Tab through the
// page and back; and axe-core, from node_modules, on every page in every
// state of a game.

import {createRequire} from "node:module";

const axePath = createRequire(import.meta.url).resolve("axe-core/axe.min.js");
const kAxeTags = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// axe-core's rules on the page as it is: no violation.
export async function axeClean(page, what, check) {
  if (!(await page.evaluate(() => "axe" in window))) await page.addScriptTag({path: axePath});
  const result = await page.evaluate((tags) => axe.run(document, {runOnly: {type: "tag", values: tags}}), kAxeTags);
  const found = result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  console.log(`axe-core on ${what}: ${result.violations.length} violations, ${result.passes.length} rules passed, ` +
              `${result.incomplete.length} to check by hand`);
  check(found.length === 0, `axe-core on ${what}: ${found.join("; ")}`);
}

// What the accessibility tree offers: the names of its buttons, the board's
// cells' names in order, and the name of the board's active cell.
async function offered(session) {
  const {nodes} = await session.send("Accessibility.getFullAXTree");
  const shown = nodes.filter((n) => !n.ignored);
  const byDom = new Map(shown.map((n) => [n.backendDOMNodeId, n]));
  const grid = shown.find((n) => n.role?.value === "grid");
  const active = grid?.properties?.find((p) => p.name === "activedescendant")?.value.relatedNodes?.[0];
  return {
    buttons: shown.filter((n) => n.role?.value === "button").map((n) => n.name?.value),
    grid: grid?.name?.value,
    cells: shown.filter((n) => n.role?.value === "gridcell").map((n) => n.name?.value),
    active: active ? byDom.get(active.backendDOMNodeId)?.name?.value : undefined,
  };
}

// Waits until the tree offers what `wanted` accepts; gives the last look.
async function offers(session, wanted, seconds = 5) {
  const end = Date.now() + seconds * 1000;
  let tree;
  do {
    tree = await offered(session);
    if (wanted(tree)) return {ok: true, tree};
    await sleep(50);
  } while (Date.now() < end);
  return {ok: false, tree};
}

// Keeps, in the page, every status line the program said, the keyboard
// cursor of every screen, and every text the live region took.
function listen() {
  const said = [];
  const read = [];
  window.testCursors = [];
  const tell = Module.onProgramSays;
  Module.onProgramSays = (message) => {
    if (message.kind === "screen") {
      said.push(message.status);
      window.testCursors.push(message.cursor);
      window.testCells = message.cells;
    }
    tell(message);
  };
  const live = document.querySelector("[aria-live]");
  new MutationObserver((records) => {
    for (const r of records) read.push([...r.addedNodes].map((n) => n.textContent).join(""));
  }).observe(live, {childList: true});
  window.testSpoken = {said, read};
}

const kMenu = ["Uus mäng", "Lõpeta"];
const hasMenu = (tree) => kMenu.every((name) => tree.buttons.includes(name));
const hasNoMenu = (tree) => kMenu.every((name) => !tree.buttons.includes(name));

// The cells the cursor went to from `start` since the program's `since`th
// screen, each once, once its last screen shows the cursor on `last`, or as
// they are after 5 s.
async function cursorPath(page, since, start, last) {
  const end = Date.now() + 5000;
  let cursors;
  do {
    cursors = (await page.evaluate((since) => window.testCursors.slice(since), since)).filter((c) => c >= 0);
    if (cursors[cursors.length - 1] === last) break;
    await sleep(50);
  } while (Date.now() < end);
  return cursors.filter((c, i) => c !== (i ? cursors[i - 1] : start));
}

// Each arrow pressed once at a time, then Right and Up again, the presses
// 50 ms, then 300 ms, then 1.5 s apart, each time a cell further right:
// the cursor moves one cell a press, and the last Up, on the top row, moves
// it nowhere, nor do Up and Down in a single row. The program waits for
// input between the slower presses, which is where a press was once taken
// many times over. It draws once for the keys it takes in one poll, so a
// busy machine may skip cells of the way, never add one. Returns where the
// cursor is, or -1.
async function singlePresses(page, check, what, cols, cells) {
  const keys = ["ArrowRight", "ArrowDown", "ArrowLeft", "ArrowUp", "ArrowRight", "ArrowUp"];
  const step = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]};
  const rows = cells / cols;
  let cursor = 0;
  for (const pauseMs of [50, 300, 1500]) {
    const since = await page.evaluate(() => window.testCursors.length);
    const start = cursor;
    const want = [];
    for (const key of keys) {
      await page.keyboard.press(key);
      await sleep(pauseMs);
      const x = Math.min(Math.max(cursor % cols + step[key][0], 0), cols - 1);
      const y = Math.min(Math.max(Math.floor(cursor / cols) + step[key][1], 0), rows - 1);
      if (y * cols + x !== cursor) want.push((cursor = y * cols + x));
    }
    const path = await cursorPath(page, since, start, cursor);
    // The way taken is the wanted one, but for cells skipped.
    let next = 0;
    for (const c of path) next = want.indexOf(c, next) + 1 || Infinity;
    if (!check(next <= want.length && path[path.length - 1] === cursor,
               `${what}: ${keys.join(", ")}, ${pauseMs} ms apart, took the cursor to cells ${path} (wanted ${want})`)) return -1;
  }
  return cursor;
}

// Pauses between the keys of a game, in turn: a player who stops to think.
const kThinkingPauses = [300, 1500, 400, 800, 300, 600];

// One game, keys only: from the menu by `start`, pieces placed by `moves`
// ([cell, key] in order), then the outcome, then "Lõpeta" from the page's
// button. `name(cell, key)` is what the cell is called once placed.
async function keyboardGame(GamePage, check, game) {
  const {file, title, cols, cells, moves, name, solving, finalScreen, startScreen, startOn} = game;
  const what = `${file} by keyboard`;
  const play = await GamePage.open(file, {width: 800, height: 600, deviceScaleFactor: 1}, {what});
  const {page} = play;
  const session = await page.target().createCDPSession();
  if ((await play.showsLinuxScreen(`${file.replace(".html", "")}-start`)) < 0) return;
  await page.evaluate(listen);
  check((await page.title()) === title, `${what}: the page's title (${await page.title()})`);
  const id = () => page.evaluate(() => document.activeElement.id || document.activeElement.tagName);

  // The menu is up: its buttons are offered, and the page's controls are in
  // the tab order, each with a focus one can see, and back.
  let look = await offers(session, hasMenu);
  check(look.ok && look.tree.grid === "Mängulaud", `${what}: the menu's buttons and the board at the menu (${JSON.stringify(look.tree)})`);
  await axeClean(page, `${file} at the menu`, check);
  const order = [];
  for (let i = 0; i < 4; i++) {
    await page.keyboard.press("Tab");
    order.push(await page.evaluate(() => {
      const e = document.activeElement;
      return `${e.id}${getComputedStyle(e).outlineStyle === "none" ? " (no focus shown)" : ""}`;
    }));
  }
  await page.keyboard.down("Shift");
  await page.keyboard.press("Tab");
  await page.keyboard.up("Shift");
  order.push(await id());
  check(order.join() === "board,menu-new,menu-quit,fullscreen,menu-quit",
        `${what}: Tab through the board, the menu and full screen, Shift+Tab back (${order})`);

  // A new game: by the program's own Enter on the board, or the page's
  // button; either way the game keeps the focus.
  await page.keyboard.down("Shift");
  for (let i = 0; i < 2 && (await id()) !== startOn; i++) await page.keyboard.press("Tab");
  await page.keyboard.up("Shift");
  const starter = await id();
  await page.keyboard.press("Enter");
  if (!(await play.startsGame(startScreen, `Enter on ${starter}`))) return;
  look = await offers(session, hasNoMenu);
  check(look.ok && (await id()) === "board", `${what}: the menu's buttons gone, the board has the focus (${JSON.stringify(look.tree)})`);
  // Each cell of the grid lies over the cell drawn, so that a screen
  // reader's highlight does too.
  const off = await page.evaluate(() => {
    const screen = document.querySelector("canvas").getBoundingClientRect();
    const scale = screen.width / 640;
    return [...document.querySelectorAll("[role=gridcell]")].map((cell, i) => {
      const box = cell.getBoundingClientRect();
      const drawn = window.testCells[i];
      return Math.max(Math.abs(box.left - screen.left - scale * drawn.left), Math.abs(box.top - screen.top - scale * drawn.top),
                      Math.abs(box.right - screen.left - scale * (drawn.right + 1)), Math.abs(box.bottom - screen.top - scale * (drawn.bottom + 1)));
    });
  });
  check(off.length === cells && Math.max(...off) < 0.5, `${what}: the grid's cells lie over the drawn ones (CSS pixels off: ${off})`);

  let cursor = await singlePresses(page, check, what, cols, cells);
  if (cursor < 0) return;

  // Arrows to each cell, the cursor the board's active cell all along; the
  // key places, and the cell is named anew. A pause after every key.
  let pauses = 0;
  const press = async (key) => {
    await page.keyboard.press(key);
    await sleep(kThinkingPauses[pauses++ % kThinkingPauses.length]);
  };
  for (const [k, [cell, key]] of moves.entries()) {
    while (cursor !== cell) {
      const step = cell % cols !== cursor % cols ? Math.sign(cell % cols - cursor % cols) : cols * Math.sign(cell - cursor);
      await press({1: "ArrowRight", [-1]: "ArrowLeft", [cols]: "ArrowDown", [-cols]: "ArrowUp"}[step]);
      cursor += step;
    }
    const here = `${name(cursor, "")}`;
    look = await offers(session, (tree) => tree.active?.startsWith(here));
    if (!check(look.ok, `${what}: the active cell follows the cursor to "${here}" (${look.tree.active})`)) return;
    await press(key);
    look = await offers(session, (tree) => tree.cells[cell] === name(cell, key) && (k === moves.length - 1 || tree.active?.startsWith(here)));
    if (!check(look.ok, `${what}: placed, the cell is "${name(cell, key)}" (${JSON.stringify(look.tree)})`)) return;
    if (k === 1) await axeClean(page, `${file} placing, the cursor shown`, check);
  }
  check(look.tree.cells.length === cells, `${what}: ${cells} cells in the grid (${look.tree.cells})`);
  const solves = await page.waitForFunction((text) => new RegExp(text).test(document.querySelector("[aria-live]").textContent),
                                            {timeout: 10000}, solving.source).then(() => true, () => false);
  if (check(solves, `${what}: the live region says the program solves`)) await axeClean(page, `${file} solving`, check);

  // The outcome: the mouse game's screen, the menu back.
  check((await play.showsLinuxScreen(finalScreen, 40)) >= 0, `${what}: the mouse game's last screen`);
  look = await offers(session, hasMenu);
  check(look.ok && look.tree.active === undefined, `${what}: the menu back, no active cell (${JSON.stringify(look.tree)})`);
  await axeClean(page, `${file} at the outcome`, check);

  // Every status line the screen drew, read once each, in order.
  const {said, read} = await page.evaluate(() => window.testSpoken);
  const drawn = said.filter((s, i) => i === 0 || s !== said[i - 1]);
  check(JSON.stringify(read) === JSON.stringify(drawn.slice(drawn[0] === "" ? 1 : 0)) && read.length > 2,
        `${what}: the live region read ${JSON.stringify(read)}; the screen drew ${JSON.stringify(drawn)}`);

  // "Lõpeta" from the page's button.
  for (const want of ["board", "menu-new", "menu-quit"]) if ((await id()) !== want) await page.keyboard.press("Tab");
  await page.keyboard.press("Enter");
  const state = await play.waitEnded();
  check(state.ended && (await id()) === "again", `${what}: "Lõpeta" by keyboard ends the game (${JSON.stringify(state)})`);
  await axeClean(page, `${file} ended`, check);
  await session.detach();
  await page.close();
}

// Tiles: 1..15 in reading order but for the last row's mix-up, which the
// solve's script gives up on at its 17th step; Enter and Space by turns.
// Counters: WWB-WBB, white by Enter and V, black by Space and M.
export async function keyboardGames(GamePage, check) {
  const layout = [1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 12, 11, 13, 14, 10, 15];
  const tileName = (cell, key) => `Rida ${Math.floor(cell / 4) + 1}, veerg ${cell % 4 + 1}:${key ? ` ${layout[cell]}` : ""}`;
  await keyboardGame(GamePage, check, {
    file: "tiles.html", title: "Torvane — Kalvorintu!", cols: 4, cells: 16, startOn: "menu-new",
    startScreen: "tiles-escape", finalScreen: "tiles-gaveup", solving: /^Viin numbrit/,
    moves: Array.from({length: 15}, (_, n) => [layout.indexOf(n + 1), n % 2 ? "Space" : "Enter"]),
    name: tileName,
  });
  const white = new Set(["Enter", "KeyV"]);
  await keyboardGame(GamePage, check, {
    file: "counters.html", title: "Murak — Kalvorintu!", cols: 7, cells: 7, startOn: "board",
    startScreen: "counters-new", finalScreen: "counters-solved", solving: /^Lahendan/,
    moves: [[0, "KeyV"], [1, "Enter"], [2, "Space"], [4, "Enter"], [5, "KeyM"], [6, "Space"]],
    name: (cell, key) => `Lahter ${cell + 1}:${key ? ` ${white.has(key) ? "valge" : "must"}` : ""}`,
  });
}

// The offers test reads the page the same way.
export {listen, offered, offers};

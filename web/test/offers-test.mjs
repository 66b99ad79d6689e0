// The programs' offers by keyboard, with a screen reader's view: a random
// position (J, or the page's "Juhuslik seis") while placing in both
// programs, and the shortest solution (N, or the page's "Näita lühimat
// lahendust") at tiles' menu after a game that could be solved. The page's
// buttons must be in the accessibility tree only while their offer holds,
// the live region must read every new status line once, and axe-core must
// find nothing in the new states.

import {axeClean, listen, offered, offers} from "./reader-test.mjs";

const kRandom = "Juhuslik seis";
const kShortest = "Näita lühimat lahendust";

// Which of the two offers the accessibility tree has, as [random, shortest].
const offersOf = (tree) => [tree.buttons.includes(kRandom), tree.buttons.includes(kShortest)];
const offering = (random, shortest) => (tree) => {
  const [r, s] = offersOf(tree);
  return r === random && s === shortest;
};

const id = (page) => page.evaluate(() => document.activeElement.id || document.activeElement.tagName);

// Tab until the element `want` has the focus; false if it is not in the
// tab order.
async function tabTo(page, want) {
  for (let i = 0; i < 6 && (await id(page)) !== want; i++) await page.keyboard.press("Tab");
  return (await id(page)) === want;
}

// The program's cell names, as it last said them (listen() keeps them).
const cellNames = (page) => page.evaluate(() => window.testCells.map((c) => c.name));

// Arrows from the cursor's cell to each cell of `cells` in turn, and `key`
// there; each placement waits until the program names the cell anew.
async function placeByKeys(page, cols, cells, key, named, what, check) {
  let cursor = 0;
  for (const cell of cells) {
    while (cursor !== cell) {
      const step = cell % cols !== cursor % cols ? Math.sign(cell % cols - cursor % cols) : cols * Math.sign(cell - cursor);
      await page.keyboard.press({1: "ArrowRight", [-1]: "ArrowLeft", [cols]: "ArrowDown", [-cols]: "ArrowUp"}[step]);
      cursor += step;
    }
    const name = named(cell);
    await page.keyboard.press(key(cell));
    const placed = await page.waitForFunction((i, name) => window.testCells[i].name === name, {timeout: 5000}, cell, name)
      .then(() => true, () => false);
    if (!check(placed, `${what}: cell ${cell} named "${name}" (${(await cellNames(page))[cell]})`)) return false;
  }
  return true;
}

// From now on, every board the program says it shows, by its cells' names.
function recordBoards() {
  window.testBoards = [];
  const tell = Module.onProgramSays;
  Module.onProgramSays = (message) => {
    if (message.kind === "screen") window.testBoards.push(message.cells.map((c) => c.name));
    tell(message);
  };
}

// The first board recorded that `full` accepts, waiting for it up to 5 s.
async function firstBoard(page, full) {
  const found = await page.waitForFunction((source) => window.testBoards.find(eval(source)), {timeout: 5000},
                                           full.toString()).catch(() => null);
  return found ? found.jsonValue() : null;
}

// Waits until the live region has read a line that `pattern` matches.
async function reads(page, pattern, seconds) {
  return page.waitForFunction((source) => window.testSpoken.read.some((line) => new RegExp(source).test(line)),
    {timeout: seconds * 1000}, pattern.source).then(() => true, () => false);
}

// Every line the live region read, and every status line the program said,
// each once where it said it more than once in a row.
async function spoken(page) {
  const {said, read} = await page.evaluate(() => window.testSpoken);
  const drawn = said.filter((s, i) => i === 0 || s !== said[i - 1]);
  return {read, drawn: drawn.slice(drawn[0] === "" ? 1 : 0)};
}

// tiles: the first 14 numbers by keys, then "Juhuslik seis" from the page
// by Tab and Enter. The two cells left are of one colour, so only one
// completion can be solved: the layout below, which the script gives up
// on after 28 moves. Its shortest solution has 15 moves (an IDA* with the
// Manhattan distance, run apart from the programs, found 5 10 9 13 14 12
// 11 15 10 9 13 14 15 11 12); N at the menu plays one of them.
async function tilesOffers(GamePage, check) {
  const what = "tiles offers";
  const layout = [1, 2, 3, 4, 0, 6, 7, 8, 5, 15, 11, 12, 10, 9, 13, 14];
  const kShortestLength = 15;
  const goal = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0];
  const cellName = (board) => (cell) => `Rida ${Math.floor(cell / 4) + 1}, veerg ${cell % 4 + 1}: ${board[cell] || "tühi"}`;
  const play = await GamePage.open("tiles.html", {width: 800, height: 600, deviceScaleFactor: 1}, {what});
  const {page} = play;
  const session = await page.target().createCDPSession();
  if ((await play.showsLinuxScreen("tiles-start")) < 0) return;
  await page.evaluate(listen);

  // Before any game neither offer holds.
  let look = await offers(session, offering(false, false));
  check(look.ok, `${what}: no offer before a game (${look.tree.buttons})`);

  await page.keyboard.press("Tab");
  check((await id(page)) === "board", `${what}: Tab first to the board (${await id(page)})`);
  await page.keyboard.press("Enter");
  if (!(await play.startsGame("tiles-escape", "Enter on the board"))) return;
  look = await offers(session, offering(true, false));
  check(look.ok, `${what}: "${kRandom}" while placing, and only that (${look.tree.buttons})`);
  await axeClean(page, "tiles placing, a random position offered", check);

  const numbers = Array.from({length: 14}, (_, n) => layout.indexOf(n + 1));
  if (!(await placeByKeys(page, 4, numbers, () => "Enter", cellName(layout), what, check))) return;
  if (!check(await tabTo(page, "offer-random"), `${what}: "${kRandom}" in the tab order (${await id(page)})`)) return;
  await page.evaluate(recordBoards);
  await page.keyboard.press("Enter");
  const filled = await firstBoard(page, (names) => names.every((name) => !name.endsWith(": paigutamata")));
  check(JSON.stringify(filled) === JSON.stringify(layout.map((_, i) => cellName(layout)(i))),
        `${what}: "${kRandom}" placed 15 and the gap where the placed numbers allow a solution (${filled})`);
  check((await id(page)) === "board", `${what}: the focus back on the board after "${kRandom}" (${await id(page)})`);
  look = await offers(session, offering(false, false));
  check(look.ok, `${what}: no offer while the script solves (${look.tree.buttons})`);

  // The game goes on as if placed by hand, to the script's stop.
  if (!check(await reads(page, /^Ma enam ei oska/, 40), `${what}: the script plays to its stop`)) return;
  look = await offers(session, offering(false, true));
  check(look.ok, `${what}: "${kShortest}" at the menu after the stop, and only that (${look.tree.buttons})`);
  await axeClean(page, "tiles at the menu, the shortest solution offered", check);

  // N from the board: the shortest solution, move by move, to the goal.
  const before = (await spoken(page)).read.length;
  await page.keyboard.press("KeyN");
  const moving = await reads(page, new RegExp(`\\b1/${kShortestLength}\\b`), 20);
  if (!check(moving, `${what}: N plays a solution of ${kShortestLength} moves (${(await spoken(page)).read.slice(before)})`)) return;
  look = await offers(session, offering(false, false));
  check(look.ok, `${what}: no offer while the shortest solution plays (${look.tree.buttons})`);
  await axeClean(page, "tiles playing the shortest solution", check);
  const done = await reads(page, new RegExp(`^Lahendatud ${kShortestLength}\\b`), 20);
  check(done, `${what}: the live region says the goal was reached in ${kShortestLength} moves`);
  look = await offers(session, offering(false, true));
  check(look.ok && look.tree.cells.join() === goal.map((_, i) => cellName(goal)(i)).join(),
        `${what}: the menu back over the goal, "${kShortest}" offered again (${JSON.stringify(look.tree)})`);

  // Each move named once, in order, and every line the program drew read
  // once.
  const {read, drawn} = await spoken(page);
  const moves = read.slice(before).filter((line) => new RegExp(`/${kShortestLength}\\b`).test(line));
  check(moves.length === kShortestLength && moves.every((line, k) => new RegExp(`\\b${k + 1}/${kShortestLength}\\b`).test(line)),
        `${what}: each of the ${kShortestLength} moves read once, in order (${moves})`);
  check(JSON.stringify(read) === JSON.stringify(drawn), `${what}: the live region read ${JSON.stringify(read)}; the screen drew ${JSON.stringify(drawn)}`);
  await session.detach();
  await page.close();
}

// counters: two counters by V and M, then J from the board: the other four
// are placed around them, and the program goes on to solve.
async function countersOffers(GamePage, check) {
  const what = "counters offers";
  const play = await GamePage.open("counters.html", {width: 800, height: 600, deviceScaleFactor: 1}, {what});
  const {page} = play;
  const session = await page.target().createCDPSession();
  if ((await play.showsLinuxScreen("counters-start")) < 0) return;
  await page.evaluate(listen);
  await page.keyboard.press("Tab");
  await page.keyboard.press("Enter");
  if (!(await play.startsGame("counters-new", "Enter on the board"))) return;
  let look = await offers(session, offering(true, false));
  check(look.ok, `${what}: "${kRandom}" while placing, and only that (${look.tree.buttons})`);
  const keys = {3: "KeyV", 5: "KeyM"};
  const kept = {3: "valge", 5: "must"};
  if (!(await placeByKeys(page, 7, [3, 5], (cell) => keys[cell], (cell) => `Lahter ${cell + 1}: ${kept[cell]}`, what, check))) return;
  // The board as J left it, before the playback's first move.
  await page.evaluate(recordBoards);
  await page.keyboard.press("KeyJ");
  const solving = await reads(page, /^Lahendan/, 10);
  const names = await firstBoard(page, (names) => names.filter((name) => !name.endsWith(": tühi")).length === 6);
  const count = (colour) => (names || []).filter((name) => name.endsWith(`: ${colour}`)).length;
  check(solving && names && names[3].endsWith(": valge") && names[5].endsWith(": must") && count("valge") === 3 && count("must") === 3,
        `${what}: J placed the rest around the two placed, and the program solves (${names})`);
  look = await offers(session, offering(false, false));
  check(look.ok, `${what}: no offer while it solves (${look.tree.buttons})`);
  await session.detach();
  await page.close();
}

export async function offerGames(GamePage, check) {
  await tilesOffers(GamePage, check);
  await countersOffers(GamePage, check);
}

// Offline, after a game of one move: N plays its shortest solution, from
// the search's worker that the service worker kept.
export async function shortestOffline(page, check) {
  await page.keyboard.press("KeyN");
  const played = await page.waitForFunction(() => /^Lahendatud 1 käiguga/.test(document.querySelector("[aria-live]").textContent),
                                            {timeout: 20000}).then(() => true, () => false);
  check(played, `tiles offline: N plays the shortest solution (${await page.$eval("[aria-live]", (e) => e.textContent)})`);
}

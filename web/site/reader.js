// The screen in the page's accessibility tree, for a screen reader: the
// program's menu as the page's own buttons while it is up, the board as a
// grid whose active cell is the program's cursor, and the status line as a
// live region. All of it follows what the program says about its screen
// (a listener of page.js's Module.programListeners), which it does only
// when the screen changed: the page never looks on its own, so waiting
// costs what it did. A press from here is the program's own press at the
// drawn button's or cell's middle.
// Built into the program's script after page.js (Emscripten's --pre-js).
(() => {
  const canvas = document.getElementById("screen");
  const board = document.getElementById("board");
  const status = document.getElementById("status");
  const menu = document.getElementById("menu");
  const menuButtons = [document.getElementById("menu-new"), document.getElementById("menu-quit")];

  // A click of the left (1) or right (2) button at screen pixel (x, y).
  function click(x, y, button) {
    _webMouse(x, y, button);
    _webMouse(x, y, 0);
  }

  // Places an element over screen pixels left..right, top..bottom, in
  // shares of the screen, so that it stays there at every size of it (where
  // the stylesheet lays it over the screen: page.js may move the menu's
  // buttons into its panel).
  function placeOver(element, box) {
    element.style.setProperty("--left", `${(100 * box.left) / canvas.width}%`);
    element.style.setProperty("--top", `${(100 * box.top) / canvas.height}%`);
    element.style.setProperty("--width", `${(100 * (box.right - box.left + 1)) / canvas.width}%`);
    element.style.setProperty("--height", `${(100 * (box.bottom - box.top + 1)) / canvas.height}%`);
  }

  // The menu: its buttons press the program's. One taken from the page
  // leaves the focus with the game, not on a button that is gone.
  let menuPlaces = [];
  menuButtons.forEach((button, i) => {
    button.addEventListener("click", () => {
      const place = menuPlaces[i];
      if (!place || !menu.classList.contains("shown")) return;
      board.focus();
      click(place.x, place.y, 1);
    });
  });

  // page.js shows the buttons while the menu is up.
  function showMenu(said) {
    menuPlaces = said.buttons;
    said.buttons.forEach((place, i) => placeOver(menuButtons[i], place));
    if (!said.up && menu.contains(document.activeElement)) board.focus();
  }

  // The board: rows of cells, made again only when its shape changes.
  let cells = [];
  let places = [];

  function shapeBoard(cols, rows) {
    board.replaceChildren();
    cells = [];
    for (let r = 0; r < rows; r++) {
      const row = document.createElement("div");
      row.setAttribute("role", "row");
      for (let c = 0; c < cols; c++) {
        const cell = document.createElement("div");
        const i = cells.length;
        cell.id = `cell-${i}`;
        cell.setAttribute("role", "gridcell");
        // A screen reader's click places as the left button would.
        cell.addEventListener("click", () => click(places[i].x, places[i].y, 1));
        row.append(cell);
        cells.push(cell);
      }
      board.append(row);
    }
  }

  function showScreen(said) {
    if (said.cells.length !== cells.length) shapeBoard(said.cols, said.rows);
    places = said.cells;
    said.cells.forEach((place, i) => {
      const cell = cells[i];
      if (cell.textContent !== place.name) cell.textContent = place.name;
      placeOver(cell, place);
    });
    if (said.cursor >= 0) {
      board.setAttribute("aria-activedescendant", cells[said.cursor].id);
    } else {
      board.removeAttribute("aria-activedescendant");
    }
    // Set only when it changed: each new line is read once.
    if (status.textContent !== said.status) status.textContent = said.status;
  }

  Module.programListeners.push((said) => {
    if (said.kind === "menu") showMenu(said);
    else if (said.kind === "screen") showScreen(said);
  });
})();

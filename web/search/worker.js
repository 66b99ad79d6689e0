// The worker's side of tiles' shortest search (shortest_worker.cpp), built
// into the start of its script: the page's requests, taken in order once
// the search's program has started. {prepare: true} builds the tables;
// {position: [16 numbers, row by row]} finds a shortest solution.
(() => {
  const waiting = [];
  let started = false;
  const take = (request) => {
    if (request.position) {
      HEAPU8.set(request.position, _webSearchPosition());
      _webSearchSolve();
    } else if (request.prepare) {
      _webSearchPrepare();
    }
  };
  self.onmessage = (e) => (started ? take(e.data) : waiting.push(e.data));
  Module.onRuntimeInitialized = () => {
    started = true;
    waiting.splice(0).forEach(take);
  };
})();

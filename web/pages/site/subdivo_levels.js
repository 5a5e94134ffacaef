// The level builds of Subdivo's page, kept off the page's thread: a worker (subdivo_worker.js)
// runs the program's level driver on the packed base model while the page goes on drawing the
// level shown before; the page shows the steps and the time, Cancel ends the worker, and the
// level built is taken in a slice of points or faces at a time, so that no task holds the page
// long. The level before is set aside until the new one's first picture is drawn: Cancel,
// offered all along, puts it back.
// The scheme list chooses Doo-Sabin, Catmull-Clark or Loop for the levels built from then on;
// its counts (webSubdivoForecastCount) and the steps told are there for a view of them.
// Uses the page's program, busy, work, heavy, panel, consoleLine, showLevel.
'use strict';

const schemeChoice = document.getElementById('scheme');
const cancelButton = document.getElementById('cancel');
const schemeNumbers = { 'doo-sabin': 0, 'catmull-clark': 1, 'loop': 2 };
const adoptSliceFaces = 50000;  // faces taken in per task: a few tens of milliseconds
const copySliceBytes = 32 << 20;
const releaseSliceFaces = 200000;  // faces let go per task
let build = null;  // { worker, cancelled } of the build under way
let packedBase = null;  // { program, buffer }: the base model handed to every worker
let schemeChosen = 'doo-sabin';  // the list's value that levels are built in

// Asks before a level that the forecast says will be heavy; resolves true to build it.
function askForHeavyLevel(level, faces) {
  if (faces <= heavyFaces) return Promise.resolve(true);
  const seconds = Math.max(1, Math.round(faces / heavyFacesPerSecond));
  document.getElementById('heavy-text').textContent = 'Level ' + level + ' will have about ' +
    Math.round(faces).toLocaleString('en') + ' faces. Building and showing it may take about ' +
    seconds + ' s or more (the page stays usable, and Cancel stops it), and the picture will ' +
    'then follow the mouse slowly. Build it?';
  heavy.returnValue = 'cancel';
  heavy.showModal();
  return new Promise((resolve) => heavy.addEventListener('close', () => resolve(heavy.returnValue === 'build'), { once: true }));
}

// Why Loop cannot subdivide the model shown, or '' when it can or another scheme is chosen.
function loopRefusal(running) {
  if (schemeChoice.value !== 'loop') return '';
  const others = running._webSubdivoFacesOtherThanTriangles();
  if (others === 0) return '';
  return 'Loop subdivision takes triangles only, and the model has ' + others.toLocaleString('en') +
    (others === 1 ? ' face' : ' faces') + ' of other sizes';
}

function basePackedFor(running) {
  if (packedBase && packedBase.program === running) return packedBase.buffer;
  const at = running._webSubdivoPackBase() >>> 0;
  if (at === 0) return null;
  const bytes = running._webSubdivoPackedBytes(at);
  packedBase = { program: running, buffer: running.HEAPU8.slice(at, at + bytes).buffer };
  running._free(at);
  return packedBase.buffer;
}

const seconds = (since) => ((performance.now() - since) / 1000).toFixed(1) + ' s';
const yieldToPage = () => new Promise((resolve) => setTimeout(resolve, 0));

// Builds the level in a worker; resolves to its packed model, or null when it was refused,
// failed or was cancelled. The work line tells the steps done and the time so far.
function buildInWorker(running, level, scheme, since) {
  const base = basePackedFor(running);
  if (base === null) return Promise.resolve(null);
  const name = schemeChoice.options[schemeChoice.selectedIndex].textContent;
  let done = 'step 1 of ' + level;
  const tell = () => { work.textContent = 'Building level ' + level + ' (' + name + '): ' + done + ', ' + seconds(since) + '\u2026'; };
  tell();
  const ticker = setInterval(tell, 250);
  const worker = new Worker('subdivo_worker.js');
  build = { worker, cancelled: false, finish: null };
  const limit = Number(new URLSearchParams(location.search).get('memory'));
  return new Promise((resolve) => {
    const finish = (model) => {
      clearInterval(ticker);
      worker.terminate();
      resolve(model);
    };
    build.finish = finish;
    worker.onmessage = (event) => {
      const m = event.data;
      if (m.print !== undefined) consoleLine(panel, m.print, m.error);
      else if (m.step !== undefined) {
        done = 'step ' + m.step + ' of ' + m.level + ' done (' + Math.round(m.faces).toLocaleString('en') + ' faces)';
        tell();
      } else if (m.done) finish(m.model);
    };
    worker.onerror = (event) => {
      consoleLine(panel, 'Subdivision level ' + level + ' not built: the build stopped (' + event.message + ').', true);
      finish(null);
    };
    worker.postMessage({ base, level, scheme, memoryLimit: limit > 0 ? limit : 0 });
  });
}

// Takes the packed level in, a slice of its points or faces per task; false when memory ran out or the
// build was cancelled meanwhile (the level shown stays).
async function adoptLevel(running, model, level, scheme, since) {
  const bytes = new Uint8Array(model);
  const at = running._malloc(bytes.length) >>> 0;
  if (at === 0) {
    consoleLine(panel, 'Subdivision level ' + level + ' not built: out of memory.', true);
    return false;
  }
  // Copied in pieces, a task each, as the faces are taken in below.
  for (let offset = 0; offset < bytes.length; offset += copySliceBytes) {
    running.HEAPU8.set(bytes.subarray(offset, offset + copySliceBytes), at + offset);
    await yieldToPage();
    if (running !== program || build.cancelled) {
      if (running === program) running._free(at);
      return false;
    }
  }
  if (!running._webSubdivoAdoptBegin(at, level)) {
    running._free(at);
    return false;
  }
  let whole = 0;
  for (let left = running._webSubdivoAdoptSlice(adoptSliceFaces, level); left !== 0;
    left = running._webSubdivoAdoptSlice(adoptSliceFaces, level)) {
    if (left < 0) {
      running._free(at);
      return false;
    }
    whole = Math.max(whole, left);
    work.textContent = 'Building level ' + level + ': taking it in, ' + Math.floor(100 * (1 - left / whole)) + '%, ' + seconds(since) + '\u2026';
    await yieldToPage();
    if (running !== program || build.cancelled) {
      running._webSubdivoAdoptAbort(at);
      return false;
    }
  }
  running._webSubdivoAdoptEnd(at, level, scheme);
  return true;
}

// Resolves true when Cancel is pressed before the program's next whole picture, false once it
// is shown (or the program was replaced).
function pictureOrCancel(running) {
  return new Promise((resolve) => {
    build.finish = () => resolve(true);
    nextPictureShown(running).then(() => resolve(false));
  });
}

// Lets the level set aside go, a slice of faces per task.
async function releaseSetAside(running) {
  while (running === program && running._webSubdivoReleaseSetAside(releaseSliceFaces) !== 0)
    await yieldToPage();
}

// Ends the build under way, if any; the level shown stays.
function cancelBuild() {
  if (!build) return;
  build.cancelled = true;
  if (build.finish) build.finish(null);
}

// Builds `wanted` of the chosen scheme and shows it; `pressed` is when the key was pressed.
// The time shown runs from there (from "Build it" after the question) to the new picture.
async function buildLevel(wanted, pressed) {
  busy = true;
  const running = program;
  const refusal = loopRefusal(running);
  if (refusal) {
    busy = false;
    work.textContent = 'Level ' + wanted + ' not built: ' + refusal + '.';
    return;
  }
  const faces = running._webSubdivoForecastFaces(wanted);
  if (!await askForHeavyLevel(wanted, faces)) {
    busy = false;
    work.textContent = 'Level ' + wanted + ' not built: cancelled.';
    return;
  }
  const since = faces > heavyFaces ? performance.now() : pressed;
  const scheme = schemeNumbers[schemeChoice.value];
  schemeChoice.disabled = true;
  cancelButton.hidden = false;
  const building = buildInWorker(running, wanted, scheme, since);
  const mine = build;
  try {
    await showBuiltLevel(running, await building, wanted, scheme, since);
  } finally {
    if (build === mine) {
      build = null;
      cancelButton.hidden = true;
      schemeChoice.disabled = false;
    }
  }
}

// Takes the worker's level in and draws it, or puts the level before back on Cancel; then
// tells what became of it.
async function showBuiltLevel(running, model, wanted, scheme, since) {
  const taken = model !== null && !build.cancelled && running === program &&
    await adoptLevel(running, model, wanted, scheme, since);
  let cancelled = build.cancelled;
  if (running !== program) return;
  if (taken) {
    // The level before stays set aside while the new one's first picture is drawn, Cancel
    // still offered: pressed, it shows the level before again.
    showLevel();
    const tell = () => { work.textContent = 'Building level ' + wanted + ': drawing it, ' + seconds(since) + '\u2026'; };
    tell();
    const ticker = setInterval(tell, 250);
    cancelled = await pictureOrCancel(running);
    clearInterval(ticker);
    if (running !== program) return;
    if (cancelled) {
      running._webSubdivoPutBack();
      showLevel();
    }
    work.textContent = 'Building level ' + wanted + ': freeing the level not shown\u2026';
    await releaseSetAside(running);
    if (running !== program) return;
  }
  busy = false;
  const shown = running._webSubdivoLevel();
  if (taken && !cancelled) work.textContent = 'shown after ' + seconds(since);
  else if (cancelled) work.textContent = 'Level ' + wanted + ' not built: cancelled; level ' + shown + ' stays.';
  else work.textContent = 'level ' + wanted + ' not built (see below)';
}

cancelButton.addEventListener('click', cancelBuild);

// A new scheme rebuilds the level shown in it, asked for as a level key would be; Loop on a
// model with other faces than triangles is refused at once and the scheme before kept.
schemeChoice.addEventListener('change', () => {
  if (!program || noModel) return;
  const refusal = loopRefusal(program);
  if (refusal) {
    schemeChoice.value = schemeChosen;
    work.textContent = 'Loop not chosen: ' + refusal.replace(/^Loop subdivision/, 'it') + '.';
    return;
  }
  schemeChosen = schemeChoice.value;
  program._webSubdivoChooseScheme(schemeNumbers[schemeChoice.value]);
  const level = program._webSubdivoLevel();
  if (level > 0 && !busy) buildLevel(level, performance.now());
});

// The teaching views of Subdivo's page (their drawing is web/pages/subdivo_lessons.cpp):
// - the counts of the level shown (vertices, edges, faces by kind, V - E + F) and of the next;
// - one step phase by phase: each tap of "Next phase" adds a part of the step over the net of
//   the level before, the last one completing the next level, which is then built as "+"
//   builds it ("Leave the step" goes back to the level as it was); tapping a face of the
//   level before shows the faces it becomes;
// - side by side: a second picture of the same model and level in another scheme, under the
//   same camera.
// Uses the page's program, noModel, sendKey, onSubdivoKey, schemeChoice and schemeNumbers, and
// glut_page.js's connectGlutWindow, canvasPixel and renewCanvas; the page calls lessonsStarted
// for every program it starts and lessonsRefresh whenever the level shown changes.
'use strict';

const countsView = document.getElementById('counts');
const phaseButton = document.getElementById('step-phase');
const phaseEndButton = document.getElementById('phase-end');
const phaseText = document.getElementById('phase-text');
const compareButton = document.getElementById('compare');
const compareScheme = document.getElementById('compare-scheme');
const compareView = document.getElementById('compare-view');
const compareText = document.getElementById('compare-text');
const schemeNames = ['Doo-Sabin', 'Catmull-Clark', 'Loop'];
const tapSlopPixels = 6;
const tapMs = 600;

let phase = -1;  // the phase shown, -1 when none
let phaseCount = 0;
let phaseScheme = 0;
let phaseLevel = 0;
let compareProgram = null;  // the program whose second window is connected

const plural = (n, one, many) => n.toLocaleString('en') + ' ' + (n === 1 ? one : many);

// What each phase shows, per scheme, for the line under the buttons.
function phaseWords(scheme, level) {
  const net = 'Level ' + level + ' as a net of its edges: the mesh the step starts from.';
  const next = 'level ' + (level + 1);
  if (scheme === 0) return [net,
    'F-faces (red): each face shrunk towards its centre, a new point halfway from each corner to the centre.',
    'E-faces (green): a quad across every edge between two faces, joining their new points.',
    'V-faces (blue): one around every inner vertex, closing the gaps: together they are ' + next + '.'];
  const moved = 'Vertex points (blue): each old vertex moved towards its neighbours; the lines show the move.';
  const edge = scheme === 1
    ? 'Edge points (green): the mean of each edge\u2019s two ends and the face points beside it.'
    : 'Edge points (green): 3/8 of each end of the edge plus 1/8 of the two vertices across it.';
  const faces = scheme === 1
    ? 'New faces: a quad per corner, joining vertex, edge and face points: ' + next + '.'
    : 'New faces: each triangle splits into three corner triangles (blue) and a middle one (red): ' + next + '.';
  if (scheme === 1) return [net, 'Face points (red): the centre of every face.', edge, moved, faces];
  return [net, edge, moved, faces];
}

function countRow(running, next, label) {
  const count = (which) => running._webLessonCount(next, which);
  const row = document.createElement('tr');
  const cells = [label, count(0), count(1), count(2), count(3)];
  cells.forEach((value, i) => {
    const cell = document.createElement(i === 0 ? 'th' : 'td');
    cell.textContent = i === 0 ? value : value.toLocaleString('en');
    row.appendChild(cell);
  });
  return row;
}

// The faces by kind of the level shown or the next one, in the words of its scheme.
function kindWords(running, next, scheme) {
  const count = (which) => running._webLessonCount(next, which);
  if (count(4) !== 1) return '';
  if (scheme === 0) return plural(count(5), 'F-face', 'F-faces') + ', ' + plural(count(7), 'E-face', 'E-faces') + ', ' + plural(count(6), 'V-face', 'V-faces');
  if (scheme === 1) return plural(count(5), 'quad', 'quads') + ', each inside a face of the level before';
  return plural(count(6), 'corner triangle', 'corner triangles') + ', ' + plural(count(5), 'middle triangle', 'middle triangles');
}

function showCounts() {
  countsView.textContent = '';
  if (!program || noModel) return;
  const running = program;
  const level = running._webSubdivoLevel();
  const shownScheme = running._webSubdivoShownScheme();
  const nextScheme = schemeNumbers[schemeChoice.value];
  const counted = running._webLessonCountLevels(shownScheme, nextScheme);
  if (counted !== 1) {
    countsView.textContent = counted < 0
      ? 'Counts not taken: level ' + level + ' is too large to count here (over 400,000 faces).'
      : 'Counts not taken: the model breaks the rules of its own indices.';
    return;
  }
  // A title above the table rather than its caption, which would wrap to the table's width.
  const title = document.createElement('p');
  title.className = 'title';
  title.id = 'counts-title';
  title.textContent = 'Counts: V vertices, E edges, F faces';
  countsView.appendChild(title);
  const table = document.createElement('table');
  table.setAttribute('aria-labelledby', 'counts-title');
  const head = document.createElement('tr');
  for (const [name, words] of [['', ''], ['V', 'vertices'], ['E', 'edges'], ['F', 'faces'], ['V\u2212E+F', 'Euler characteristic']]) {
    const cell = document.createElement('th');
    cell.textContent = name;
    if (words) cell.setAttribute('aria-label', words);
    head.appendChild(cell);
  }
  table.appendChild(head);
  table.appendChild(countRow(running, 0, 'Level ' + level));
  const forecast = running._webLessonCount(1, 2) >= 0;
  if (forecast) table.appendChild(countRow(running, 1, 'Level ' + (level + 1) + ' (next)'));
  countsView.appendChild(table);
  countsView.dataset.faces = running._webLessonCount(0, 2);
  countsView.dataset.euler = running._webLessonCount(0, 3);
  const lines = [];
  const shownKinds = level > 0 ? kindWords(running, 0, shownScheme) : '';
  if (shownKinds) lines.push('Level ' + level + ' (' + schemeNames[shownScheme] + '): ' + shownKinds + '.');
  if (forecast) lines.push('Level ' + (level + 1) + ' (' + schemeNames[nextScheme] + '): ' + kindWords(running, 1, nextScheme) + '.');
  for (const text of lines) {
    const line = document.createElement('p');
    line.textContent = text;
    countsView.appendChild(line);
  }
}

// Ends the phases: the window shows the program's own frame again.
function endPhases(words) {
  if (phase >= 0 && program) program._webLessonShowPhase(-1);
  phase = -1;
  phaseButton.textContent = 'Step phase by phase';
  phaseEndButton.hidden = true;
  phaseText.textContent = words || '';
}

function showPhase() {
  program._webLessonShowPhase(phase);
  const words = phaseWords(phaseScheme, phaseLevel);
  phaseText.textContent = 'Phase ' + (phase + 1) + ' of ' + phaseCount + ': ' + words[phase] +
    (phase === 0 ? ' Tap a face to see the faces it becomes.' : '');
  phaseButton.textContent = phase + 1 < phaseCount ? 'Next phase' : 'Step phase by phase';
  phaseEndButton.hidden = phase + 1 >= phaseCount;
}

// Waits for the level the last phase asked for, then lets go of the phases.
function finishStep() {
  if (window.pageBusy()) {
    setTimeout(finishStep, 100);
    return;
  }
  if (phase >= 0) endPhases(program && program._webSubdivoLevel() === phaseLevel + 1
    ? 'The step is done: level ' + (phaseLevel + 1) + ' is shown.' : phaseText.textContent);
}

phaseButton.addEventListener('click', () => {
  if (!program || noModel || window.pageBusy()) return;
  if (phase < 0) {
    phaseScheme = schemeNumbers[schemeChoice.value];
    phaseLevel = program._webSubdivoLevel();
    if (phaseScheme === 2 && program._webSubdivoFacesOtherThanTriangles() > 0) {
      phaseText.textContent = 'Loop takes triangles only, and this model has other faces.';
      return;
    }
    phaseCount = program._webLessonPhasesBegin(phaseScheme);
    if (phaseCount <= 0) {
      phaseText.textContent = phaseCount < 0
        ? 'Level ' + (phaseLevel + 1) + ' would be too dense to watch: go down a level first.'
        : 'This model cannot take a step.';
      return;
    }
    phase = 0;
    showPhase();
    return;
  }
  phase += 1;
  showPhase();
  if (phase + 1 === phaseCount) {
    sendKey('+');
    finishStep();
  }
});

phaseEndButton.addEventListener('click', () => endPhases());

// A tap on the first picture while the phases are shown picks a face of the level before; a
// drag turns the model as always.
let tapStart = null;
document.addEventListener('pointerdown', (event) => {
  tapStart = event.target.id === 'window1' && phase >= 0
    ? { x: event.clientX, y: event.clientY, time: performance.now() } : null;
});
document.addEventListener('pointerup', (event) => {
  if (!tapStart || event.target.id !== 'window1' || phase < 0) return;
  const moved = Math.hypot(event.clientX - tapStart.x, event.clientY - tapStart.y);
  const held = performance.now() - tapStart.time;
  tapStart = null;
  if (moved > tapSlopPixels || held > tapMs) return;
  const p = canvasPixel(event.target, event.clientX, event.clientY);
  const face = program._webLessonPick(p.x, p.y);
  if (face < 0) {
    showPhase();
    return;
  }
  const n = (kind) => program._webLessonPickedFaces(kind);
  const becomes = phaseScheme === 0
    ? plural(n(0), 'F-face', 'F-faces') + ', ' + plural(n(2), 'E-face', 'E-faces') + ' and ' + plural(n(1), 'V-face', 'V-faces') + ' (the E- and V-faces shared with its neighbours)'
    : phaseScheme === 1 ? plural(n(0), 'quad', 'quads')
      : plural(n(1), 'corner triangle', 'corner triangles') + ' and ' + plural(n(0), 'middle triangle', 'middle triangles');
  phaseText.textContent = 'Face ' + (face + 1) + ' of level ' + phaseLevel + ' (white outline) becomes ' + becomes + ', in yellow.';
});

// The second picture: the compared scheme at the level shown, or why it is not.
function showCompared() {
  if (compareButton.getAttribute('aria-pressed') !== 'true' || !program || noModel) return;
  const level = program._webSubdivoLevel();
  const scheme = schemeNumbers[compareScheme.value];
  const title = document.getElementById('window2-title');
  if (scheme === 2 && program._webSubdivoFacesOtherThanTriangles() > 0) {
    program._webLessonCompareLevel(0, scheme);
    compareText.textContent = 'Loop takes triangles only: the second picture shows level 0.';
    title.textContent = 'Level 0';
    return;
  }
  const result = program._webLessonCompareLevel(level, scheme);
  const shown = result === 1 ? level : 0;
  title.textContent = schemeNames[scheme] + ', level ' + shown;
  compareText.textContent = result === 1 ? ''
    : result < 0 ? 'Level ' + level + ' is too dense for a second picture: it shows level 0.'
      : 'Level ' + level + ' of ' + schemeNames[scheme] + ' not built (see the console): it shows level 0.';
}

function openCompare() {
  compareView.hidden = false;
  document.querySelector('.windows').classList.add('pair');
  program._webLessonCompareOpen();
  if (compareProgram !== program) {
    compareProgram = program;
    const running = program;
    connectGlutWindow(program, 2, onSubdivoKey, (p) => (running._webSubdivoPixelOnModel(p.x, p.y) ? p : null));
  }
  showCompared();
}

compareButton.addEventListener('click', () => {
  const on = compareButton.getAttribute('aria-pressed') !== 'true';
  compareButton.setAttribute('aria-pressed', String(on));
  if (!program || noModel) return;
  if (on) {
    openCompare();
  } else {
    compareView.hidden = true;
    document.querySelector('.windows').classList.remove('pair');
    compareText.textContent = '';
    program._webLessonCompareClose();
  }
});
compareScheme.addEventListener('change', showCompared);
schemeChoice.addEventListener('change', () => {
  if (phase >= 0) endPhases();
  showCounts();
});

// After every change of the level shown: the phases of the level before end, the counts and
// the second picture follow.
function lessonsRefresh() {
  if (phase >= 0 && program && program._webSubdivoLevel() !== phaseLevel) {
    endPhases('The step is done: level ' + program._webSubdivoLevel() + ' is shown.');
  }
  showCounts();
  showCompared();
}

// A program started again (another model): its second window is made afresh when asked for.
function lessonsStarted() {
  phase = -1;
  phaseButton.textContent = 'Step phase by phase';
  phaseEndButton.hidden = true;
  phaseText.textContent = '';
  renewCanvas(2);
  compareProgram = null;
  if (compareButton.getAttribute('aria-pressed') === 'true' && program && !noModel) openCompare();
  showCounts();
}

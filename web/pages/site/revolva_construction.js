'use strict';
// The construction panel of the Revolva page: "de Casteljau" shows the rational de Casteljau
// construction of the curve at t over the editor and the circle its point sweeps over the
// surface; the slider moves t. The program's C++ draws both (web/pages/revolva_construction.cpp);
// the line under the controls says the same in words.

let constructionProgram = null;

const constructionShown = () =>
  document.getElementById('casteljau').getAttribute('aria-pressed') === 'true';

// The weights round by round and the curve point, while the construction is shown.
function showConstructionFigures() {
  const program = constructionProgram;
  const line = document.getElementById('construction-figures');
  if (!program || !constructionShown()) {
    line.textContent = 'Off: press "de Casteljau" to see how the curve point at t is made.';
    return;
  }
  const capacity = 4096;
  const at = program._malloc(capacity);
  const length = program._revolvaConstructionFigures(at, capacity);
  line.textContent = new TextDecoder().decode(program.HEAPU8.slice(at, at + length));
  program._free(at);
}

function constructionPanel(program) {
  constructionProgram = program;
  const toggle = document.getElementById('casteljau');
  const slider = document.getElementById('t');
  const value = document.getElementById('t-value');
  const moveTo = () => {
    value.value = Number(slider.value).toFixed(2);
    program._revolvaConstructionParameter(Number(slider.value));
    showConstructionFigures();
  };
  toggle.addEventListener('click', () => {
    const shown = !constructionShown();
    toggle.setAttribute('aria-pressed', String(shown));
    program._revolvaShowConstruction(shown ? 1 : 0);
    showConstructionFigures();
  });
  slider.addEventListener('input', moveTo);
  moveTo();
  // The weight's sample opens through the curve panel's list of samples.
  document.getElementById('open-quarter-circle').addEventListener('click', () => {
    const samples = document.getElementById('sample-curve');
    samples.value = 'quarter_circle';
    samples.dispatchEvent(new Event('change'));
  });
}

// Hands the mouse and keys of the page's canvases "#window1", "#window2", ... to the GLUT
// windows of a program built for the web (web/glut_web.cpp), as a desktop GLUT would: the
// window under the pointer takes the keys, and a drag goes on outside the window that began it.
'use strict';

const glutSpecialKeys = {
  F1: 1, F2: 2, F3: 3, F4: 4, F5: 5, F6: 6, F7: 7, F8: 8, F9: 9, F10: 10, F11: 11, F12: 12,
  ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103,
  PageUp: 104, PageDown: 105, Home: 106, End: 107, Insert: 108,
};
const glutControlKeys = { Enter: 13, Backspace: 8, Tab: 9, Escape: 27, Delete: 127 };

function connectGlutWindow(program, id) {
  const canvas = document.getElementById('window' + id);
  let heldButtons = 0;
  let last = { x: 0, y: 0 };
  const position = (event) => {
    const box = canvas.getBoundingClientRect();
    last = { x: Math.floor(event.clientX - box.left), y: Math.floor(event.clientY - box.top) };
    return last;
  };
  const onMove = (event) => {
    const p = position(event);
    program._webGlutMotion(id, heldButtons !== 0 ? 1 : 0, p.x, p.y);
  };
  const onUp = (event) => {
    if ((heldButtons & (1 << event.button)) === 0) return;
    heldButtons &= ~(1 << event.button);
    const p = position(event);
    program._webGlutMouse(id, event.button, 1, p.x, p.y);
    if (heldButtons === 0) {
      document.removeEventListener('mousemove', onMove);
      document.removeEventListener('mouseup', onUp);
      canvas.addEventListener('mousemove', onMove);
    }
  };
  canvas.addEventListener('mousedown', (event) => {
    if (event.button > 2) return;
    event.preventDefault();
    canvas.focus();
    if (heldButtons === 0) {
      canvas.removeEventListener('mousemove', onMove);
      document.addEventListener('mousemove', onMove);
      document.addEventListener('mouseup', onUp);
    }
    heldButtons |= 1 << event.button;
    const p = position(event);
    program._webGlutMouse(id, event.button, 0, p.x, p.y);
  });
  canvas.addEventListener('mousemove', onMove);
  canvas.addEventListener('mouseenter', () => canvas.focus({ preventScroll: true }));
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    if (event.key in glutSpecialKeys) {
      program._webGlutSpecial(id, glutSpecialKeys[event.key], last.x, last.y);
    } else if (event.key in glutControlKeys) {
      program._webGlutKey(id, glutControlKeys[event.key], last.x, last.y);
    } else if (event.key.length === 1 && event.key.charCodeAt(0) < 256) {
      program._webGlutKey(id, event.key.charCodeAt(0), last.x, last.y);
    } else {
      return;
    }
    event.preventDefault();
  });
}

function connectGlutWindows(program, count) {
  for (let id = 1; id <= count; ++id) connectGlutWindow(program, id);
}

// Puts a fresh canvas in place of the old one, so that a program started again gets a new
// WebGL context and no listener of the old one is left.
function renewCanvas(id) {
  const old = document.getElementById('window' + id);
  const fresh = old.cloneNode(false);
  old.replaceWith(fresh);
}

// Writes a line of the program's standard output (or, with error set, standard error) to the
// page's console panel.
function consoleLine(panel, text, error) {
  const line = document.createElement('div');
  if (error) line.className = 'error';
  line.textContent = text;
  panel.appendChild(line);
  panel.scrollTop = panel.scrollHeight;
}

// The frames the program shows per second, measured over each second, in the element given.
function showFrameRate(program, element) {
  let lastCount = 0;
  let lastTime = performance.now();
  return setInterval(() => {
    const count = program._webGlutFrameCount();
    const now = performance.now();
    element.textContent = ((count - lastCount) * 1000 / (now - lastTime)).toFixed(1) + ' frames per second';
    lastCount = count;
    lastTime = now;
  }, 1000);
}

// Notes in window.firstFrameTime when the program's first frame was drawn, in milliseconds
// from the start of the page's load.
function waitFirstFrame(program) {
  const check = () => {
    if (program._webGlutFrameCount() >= 1)
      window.firstFrameTime = performance.now();
    else
      requestAnimationFrame(check);
  };
  check();
}

// Hands the mouse, touch and keys of the page's canvases "#window1", "#window2", ... to the
// GLUT windows of a program built for the web (web/platform/glut_web.cpp), as a desktop GLUT would: a
// drag goes on outside the window that began it, and positions are in the window's pixels
// however the page scales the canvas. A canvas takes the keys when it has the focus (a click
// or Tab gives it) or when the pointer is over it and nothing else has the focus; Tab,
// Shift+Tab and Esc always leave it. The page's buttons send the same keys (glutKeyCommand).
'use strict';

const glutSpecialKeys = {
  F1: 1, F2: 2, F3: 3, F4: 4, F5: 5, F6: 6, F7: 7, F8: 8, F9: 9, F10: 10, F11: 11, F12: 12,
  ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103,
  PageUp: 104, PageDown: 105, Home: 106, End: 107, Insert: 108,
};
const glutControlKeys = { Enter: 13, Backspace: 8, Delete: 127 };
const glutLeftButton = 0;
const glutRightButton = 2;
const longPressMs = 500;
const touchSlopPixels = 8;
const cameraUnitsPerPixel = 0.01;  // the viewer's zoom: camera distance per pixel of a drag

// Input that waited while the page worked (a level build, a model's load) is dropped rather
// than replayed late: events stamped before this time are ignored.
let glutInputResumesAt = 0;
function dropInputUntilNow() { glutInputResumesAt = performance.now(); }
function isStale(event) { return event.timeStamp < glutInputResumesAt; }

// Resolves once the browser has painted what the page shows now: for a message that must be
// seen before work that blocks the page. The program's frames wait meanwhile, so that the
// message is not held up behind the drawing of a large model.
function afterPaint(program) {
  if (program) program._webGlutHoldFrames(1);
  return new Promise((resolve) => requestAnimationFrame(() => setTimeout(() => {
    if (program) program._webGlutHoldFrames(0);
    resolve();
  }, 0)));
}

// A key command of a page's button, sent as the key would be: "F1" as the special key, any
// other character through `onKey` first (as connectGlutWindow does) and then the window's
// keyboard callback. The programs ignore the mouse position of a key.
function glutKeyCommand(program, id, key, onKey) {
  if (key in glutSpecialKeys) {
    program._webGlutSpecial(id, glutSpecialKeys[key], 0, 0);
    return;
  }
  const code = key.charCodeAt(0);
  if (onKey && onKey(id, code)) return;
  program._webGlutKey(id, code, 0, 0);
}

// The window's pixel under a point of the page, the canvas's scaling undone.
function canvasPixel(canvas, clientX, clientY) {
  const box = canvas.getBoundingClientRect();
  const sx = box.width > 0 ? canvas.width / box.width : 1;
  const sy = box.height > 0 ? canvas.height / box.height : 1;
  return { x: Math.floor((clientX - box.left) * sx), y: Math.floor((clientY - box.top) * sy) };
}

// One finger acts as the left button (a drag moves, a tap clicks), a long press as a click of
// the right button, two fingers as a drag of the right button whose height follows the
// pinch: spreading the fingers drags down, which brings the camera nearer.
// `touchTarget(p, scale)`, when given, turns a finger's first pixel into the one the press goes
// to (a point within reach of the finger), or null when nothing is under it: a drag from there
// scrolls the page instead. `scale` is the window's pixels per CSS pixel.
function connectTouch(program, id, canvas, touchTarget) {
  let one = null;    // { start, last, dragging, timer, done, shift, scrollY }
  let pinch = null;  // { center, distance, last }
  const scale = () => canvas.width / Math.max(canvas.getBoundingClientRect().width, 1);
  const shifted = (p) => (one && one.shift ? { x: p.x + one.shift.x, y: p.y + one.shift.y } : p);
  const pixel = (touch) => shifted(canvasPixel(canvas, touch.clientX, touch.clientY));
  const mouse = (button, state, p) => program._webGlutMouse(id, button, state, p.x, p.y);
  const endOne = () => {
    if (!one) return;
    clearTimeout(one.timer);
    if (one.dragging && !one.scrolling) mouse(glutLeftButton, 1, one.last);
    one = null;
  };
  const spread = (a, b) => Math.hypot(a.x - b.x, a.y - b.y);
  canvas.addEventListener('touchstart', (event) => {
    event.preventDefault();
    canvas.focus({ preventScroll: true });
    if (event.touches.length === 1 && !pinch) {
      let p = pixel(event.touches[0]);
      let shift = null, scrollY = null;
      if (touchTarget) {
        const target = touchTarget(p, scale());
        if (target) shift = { x: target.x - p.x, y: target.y - p.y };
        else scrollY = event.touches[0].clientY;
        if (target) p = target;
      }
      one = { start: p, last: p, dragging: false, scrolling: false, done: false, timer: 0, shift, scrollY };
      one.timer = setTimeout(() => {
        if (!one || one.dragging) return;
        mouse(glutRightButton, 0, one.start);
        mouse(glutRightButton, 1, one.start);
        one.done = true;
      }, longPressMs);
    } else if (event.touches.length === 2) {
      endOne();
      const a = pixel(event.touches[0]), b = pixel(event.touches[1]);
      const center = { x: Math.floor((a.x + b.x) / 2), y: Math.floor((a.y + b.y) / 2) };
      pinch = { center, distance: spread(a, b), last: center };
      mouse(glutRightButton, 0, center);
    }
  }, { passive: false });
  canvas.addEventListener('touchmove', (event) => {
    event.preventDefault();
    if (pinch && event.touches.length >= 2) {
      const d = spread(pixel(event.touches[0]), pixel(event.touches[1]));
      let y = Math.floor(pinch.center.y + (d - pinch.distance));
      // Nearer stops where the camera would enter the model: the spread beyond is ignored.
      if (y > pinch.last.y && program._webCameraRoomLeft) {
        const allowed = pinch.last.y + Math.max(0, Math.floor(program._webCameraRoomLeft() / cameraUnitsPerPixel));
        if (y > allowed) {
          pinch.distance += y - allowed;
          y = allowed;
        }
      }
      pinch.last = { x: pinch.center.x, y };
      program._webGlutMotion(id, 1, pinch.last.x, pinch.last.y);
    } else if (one && one.scrollY !== null && !one.done) {
      const y = event.touches[0].clientY;
      if (one.dragging || Math.abs(y - one.scrollY) >= touchSlopPixels) {
        clearTimeout(one.timer);
        one.dragging = one.scrolling = true;
        window.scrollBy(0, one.scrollY - y);
        one.scrollY = y;
      }
    } else if (one && !one.done) {
      const p = pixel(event.touches[0]);
      if (!one.dragging && Math.hypot(p.x - one.start.x, p.y - one.start.y) < touchSlopPixels) return;
      if (!one.dragging) {
        clearTimeout(one.timer);
        one.dragging = true;
        mouse(glutLeftButton, 0, one.start);
      }
      one.last = p;
      program._webGlutMotion(id, 1, p.x, p.y);
    }
  }, { passive: false });
  const onEnd = (event) => {
    event.preventDefault();
    if (pinch) {
      if (event.touches.length < 2) {
        mouse(glutRightButton, 1, pinch.last);
        pinch = null;
      }
      return;
    }
    if (one && !one.dragging && !one.done) {
      mouse(glutLeftButton, 0, one.start);
      mouse(glutLeftButton, 1, one.start);
    }
    endOne();
  };
  canvas.addEventListener('touchend', onEnd, { passive: false });
  canvas.addEventListener('touchcancel', onEnd, { passive: false });
}

// `onKey(id, code, event)`, when given, sees every key first and returns true when it took it;
// `touchTarget` is connectTouch's.
function connectGlutWindow(program, id, onKey, touchTarget) {
  const canvas = document.getElementById('window' + id);
  let heldButtons = 0;
  let last = { x: 0, y: 0 };
  const position = (event) => {
    last = canvasPixel(canvas, event.clientX, event.clientY);
    return last;
  };
  const onMove = (event) => {
    if (isStale(event)) return;
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
    if (event.button > 2 || isStale(event)) return;
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
  canvas.addEventListener('mouseenter', () => {
    const focused = document.activeElement;
    if (!focused || focused === document.body || focused.tagName === 'CANVAS') canvas.focus({ preventScroll: true });
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  connectTouch(program, id, canvas, touchTarget);
  canvas.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    // Tab and Shift+Tab move on through the page; Esc leaves the picture.
    if (event.key === 'Tab') return;
    if (event.key === 'Escape') {
      canvas.blur();
      return;
    }
    let code;
    if (event.key in glutSpecialKeys) {
      event.preventDefault();
      if (!isStale(event)) program._webGlutSpecial(id, glutSpecialKeys[event.key], last.x, last.y);
      return;
    } else if (event.key in glutControlKeys) {
      code = glutControlKeys[event.key];
    } else if (event.key.length === 1 && event.key.charCodeAt(0) < 256) {
      code = event.key.charCodeAt(0);
    } else {
      return;
    }
    event.preventDefault();
    if (isStale(event)) return;
    if (onKey && onKey(id, code, event)) return;
    program._webGlutKey(id, code, last.x, last.y);
  });
}

function connectGlutWindows(program, count, onKey, touchTargets) {
  for (let id = 1; id <= count; ++id) connectGlutWindow(program, id, onKey, touchTargets && touchTargets[id]);
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

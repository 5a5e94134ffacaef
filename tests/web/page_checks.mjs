// What the pages do beyond the programs' pictures, one scene each in headless Chromium: model
// switching, the user's own file (opened twice, framed in the view), a refused level, keys
// kept by a text field, Cancel while a heavy level is drawn, a touch drag, a phone-wide
// screen, the level raised by touch, Tab out of a picture, honest messages for files that
// cannot be used, the construction view following t, the Subdivo page's teaching views.
// Prints one line per check and "checks: N passed, M failed".
//   node page_checks.mjs SITE_URL [--shots DIR | --only NAME,...]
//   (--shots: the pages, the construction view and the teaching views at 390 and 1280 px, for
//   the README; --only: the named checks)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [siteUrl, option, optionValue] = process.argv.slice(2);
const shotDir = option === '--shots' ? optionValue : null;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'page-checks-'));
const phone = { width: 390, height: 844, deviceScaleFactor: 1, isMobile: true, hasTouch: true };

async function open(browser, url, viewport) {
  const page = await browser.newPage();
  if (viewport) await page.setViewport(viewport);
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(String(error)));
  await page.goto(`${siteUrl}/${url}`);
  await page.waitForFunction(() => window.program && window.program._webGlutFrameCount() >= 2,
    { polling: 20, timeout: 60000 });
  return page;
}

async function waitFrames(page, count) {
  const start = await page.evaluate(() => window.program._webGlutFrameCount());
  await page.waitForFunction((target) => window.program._webGlutFrameCount() >= target,
    { polling: 20, timeout: 60000 }, start + count);
}

const consoleText = (page) => page.$eval('#console', (panel) => panel.innerText);

// A cube of side 300 around (1000, -800, 2500): far outside the start view.
function writeFarModel() {
  const file = path.join(work, 'far_cube.obj');
  let text = '';
  for (const [x, y, z] of [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0], [0, 0, 1], [1, 0, 1], [1, 1, 1], [0, 1, 1]])
    text += `v ${850 + 300 * x} ${-950 + 300 * y} ${2350 + 300 * z}\n`;
  text += 'f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n';
  fs.writeFileSync(file, text);
  return file;
}

// A torus of 25 by 20 quadrilaterals (500 faces), for a heavy level.
function writeTorus500() {
  const file = path.join(work, 'torus500.obj');
  const around = 25, across = 20;
  let text = '';
  for (let i = 0; i < around; ++i) {
    for (let j = 0; j < across; ++j) {
      const u = 2 * Math.PI * i / around, v = 2 * Math.PI * j / across;
      const r = 1 + 0.4 * Math.cos(v);
      text += `v ${(r * Math.cos(u)).toFixed(6)} ${(0.4 * Math.sin(v)).toFixed(6)} ${(r * Math.sin(u)).toFixed(6)}\n`;
    }
  }
  const index = (i, j) => (i % around) * across + (j % across) + 1;
  for (let i = 0; i < around; ++i)
    for (let j = 0; j < across; ++j)
      text += `f ${index(i, j)} ${index(i, j + 1)} ${index(i + 1, j + 1)} ${index(i + 1, j)}\n`;
  fs.writeFileSync(file, text);
  return file;
}

// Starts a 50 ms timer in the page that notes the longest gap between its ticks.
const startTicks = (page) => page.evaluate(() => {
  window.longestGap = 0;
  let last = performance.now();
  window.tickTimer = setInterval(() => {
    const now = performance.now();
    window.longestGap = Math.max(window.longestGap, now - last);
    last = now;
  }, 50);
});

const focusedId = (page) => page.evaluate(() => document.activeElement.id);

// Pixels of the canvas in the loader's face colour (1.0, 0.85, 0.4), unlit; with `border`, only
// those of the picture's outermost row and column on each side.
async function modelPixels(page, border = false) {
  const shot = await page.screenshot({ encoding: 'base64', clip: await page.$eval('#window1', (c) => {
    const b = c.getBoundingClientRect();
    return { x: b.left, y: b.top, width: b.width, height: b.height };
  }) });
  return page.evaluate(async (data, borderOnly) => {
    const image = new Image();
    image.src = `data:image/png;base64,${data}`;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const pixels = context.getImageData(0, 0, image.width, image.height).data;
    let count = 0;
    for (let i = 0; i < pixels.length; i += 4) {
      const x = (i / 4) % image.width, y = Math.floor(i / 4 / image.width);
      if (borderOnly && x > 0 && y > 0 && x < image.width - 1 && y < image.height - 1) continue;
      if (Math.abs(pixels[i] - 255) < 8 && Math.abs(pixels[i + 1] - 217) < 8 && Math.abs(pixels[i + 2] - 102) < 8) ++count;
    }
    return count;
  }, shot, border);
}

// The construction view of the quarter circle at t = 0.3 at 390 and 1280 px, for the README:
// the pictures, the controls and the line on the weight.
async function constructionShots(browser) {
  for (const [width, height] of [[390, 844], [1280, 800]]) {
    const page = await open(browser, 'revolva.html', { ...phone, width, height, isMobile: width < 800 });
    await page.click('#open-quarter-circle');
    await page.waitForFunction(() => document.getElementById('curve-status').textContent.startsWith('quarter_circle.curve'));
    await page.click('#casteljau');
    await page.$eval('#t', (s) => { s.value = '0.3'; s.dispatchEvent(new Event('input')); });
    await waitFrames(page, 3);
    const bottom = await page.$eval('.note', (n) => n.getBoundingClientRect().bottom + window.scrollY + 8);
    await page.screenshot({ path: path.join(shotDir, `web-revolva-construction-${width}.png`),
      clip: { x: 0, y: 0, width, height: Math.ceil(bottom) }, captureBeyondViewport: true });
    await page.close();
  }
}

const checks = {
  // Switching samples ends the old program without a line of its own.
  async 'model-switch'(browser) {
    const page = await open(browser, 'subdivo.html');
    await page.select('#sample', 'cube.obj');
    await page.waitForFunction(() => document.getElementById('console').innerText.includes('Modelo: cube.obj'));
    await page.select('#sample', 'torus.obj');
    await page.waitForFunction(() => document.getElementById('console').innerText.includes('Modelo: torus.obj'));
    await waitFrames(page, 3);
    const text = await consoleText(page);
    return !text.includes('ended with status') && !text.includes('cube') &&
      await page.$eval('#sample', (s) => s.value) === 'torus.obj';
  },
  // The user's file opens framed (announced, in view), and opens again when picked again.
  async 'own-file-twice-in-view'(browser) {
    const page = await open(browser, 'subdivo.html');
    const file = writeFarModel();
    const input = await page.$('#file');
    let framed = true;
    for (let time = 0; time < 2; ++time) {
      await page.evaluate(() => { window.program._webGlutStop(); document.getElementById('console').textContent = ''; });
      await input.uploadFile(file);
      await page.waitForFunction(() => document.getElementById('console').innerText.includes('fit the view'),
        { polling: 20, timeout: 60000 });
      await waitFrames(page, 3);
      framed = framed && await modelPixels(page) > 2000;
    }
    const shown = await page.$eval('#sample', (s) => s.options[s.selectedIndex].textContent);
    return framed && shown.startsWith('far_cube.obj');
  },
  // A level over the page's memory is refused; the page goes on drawing the level before.
  async 'level-refused'(browser) {
    const page = await open(browser, 'subdivo.html?model=torus.obj&memory=100');
    await page.focus('#window1');
    for (let level = 1; level <= 8; ++level) {
      await page.keyboard.press('+');
      await page.waitForFunction(() => !document.getElementById('work').textContent.includes('Building'));
      if ((await consoleText(page)).includes('not built')) break;
    }
    await waitFrames(page, 3);
    const text = await consoleText(page);
    const level = await page.evaluate(() => window.program._webSubdivoLevel());
    const shown = await page.$eval('#level', (e) => e.textContent);
    return text.includes('more than the memory budget') && level >= 1 && shown === `Level ${level}` &&
      page.errors.length === 0;
  },
  // Typing in the controls text with the pointer over the editor: the text takes the keys, and
  // the page says where reading stops.
  async 'text-field-keeps-keys'(browser) {
    const page = await open(browser, 'revolva.html');
    await page.$eval('#controls', (area) => { area.value = '1 2 '; area.dispatchEvent(new Event('input')); });
    await page.click('#controls');
    await page.keyboard.press('End');
    const box = await page.$eval('#window1', (c) => { const b = c.getBoundingClientRect(); return [b.left + 300, b.top + 300]; });
    await page.mouse.move(box[0], box[1], { steps: 4 });
    await page.keyboard.type('0.5 abc');
    const state = await page.evaluate(() => ({ value: document.getElementById('controls').value,
      focused: document.activeElement.id, read: document.getElementById('controls-read').textContent }));
    return state.focused === 'controls' && state.value.endsWith('0.5 abc') &&
      state.read.startsWith('3 of the 29 numbers read') && state.read.includes('column 9: \u201cabc\u201d');
  },
  // One finger dragged from the cube orbits the camera, on a phone-wide page; a vertical swipe
  // beside it, from the picture's left edge, scrolls the page and leaves the picture.
  async 'touch-drag-orbits'(browser) {
    const page = await open(browser, 'subdivo.html?model=cube.obj', phone);
    const box = await page.$eval('#window1', (c) => { const b = c.getBoundingClientRect(); return [b.left, b.top, b.width]; });
    const picture = () => page.$eval('#window1', (c) => c.toDataURL());
    const before = await picture();
    await page.touchscreen.touchStart(box[0] + box[2] / 2, box[1] + box[2] / 2);
    for (let step = 1; step <= 5; ++step) await page.touchscreen.touchMove(box[0] + box[2] / 2 + 20 * step, box[1] + box[2] / 2 + 6 * step);
    await page.touchscreen.touchEnd();
    await waitFrames(page, 3);
    const orbited = await picture();
    await page.touchscreen.touchStart(box[0] + 4, box[1] + 120);
    for (let step = 1; step <= 5; ++step) await page.touchscreen.touchMove(box[0] + 4, box[1] + 120 - 20 * step);
    await page.touchscreen.touchEnd();
    await waitFrames(page, 3);
    const scrolled = await page.evaluate(() => window.scrollY);
    return before !== orbited && scrolled > 0 && await picture() === orbited;
  },
  // A phone's finger raises the level with the page's button, through the program's key.
  async 'level-by-touch'(browser) {
    const page = await open(browser, 'subdivo.html', phone);
    await page.tap('#level-up');
    await page.waitForFunction(() => document.getElementById('work').textContent.startsWith('shown after'),
      { polling: 20, timeout: 60000 });
    return await page.evaluate(() => window.program._webSubdivoLevel()) === 1 &&
      await page.$eval('#level', (e) => e.textContent) === 'Level 1' && page.errors.length === 0;
  },
  // Tab and Shift+Tab move on from a focused picture, and Esc leaves it.
  async 'tab-out-of-canvas'(browser) {
    const page = await open(browser, 'revolva.html');
    await page.focus('#window1');
    await page.keyboard.press('Tab');
    const next = await focusedId(page);
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    const back = await focusedId(page);
    await page.keyboard.press('Escape');
    return next === 'window2' && back === 'window1' && await focusedId(page) !== 'window1';
  },
  // A binary file named .obj is refused as not text, the model shown stays; a model with no
  // faces says there is nothing to subdivide; an empty curve file is refused, the curve kept.
  async 'honest-messages'(browser) {
    const page = await open(browser, 'subdivo.html');
    const noise = path.join(work, 'noise.obj');
    fs.writeFileSync(noise, Buffer.from(Array.from({ length: 600 }, (_, i) => (i * 151 + 7) % 256)));
    const flat = path.join(work, 'points.obj');
    fs.writeFileSync(flat, 'v 0 0 0\nv 1 0 0\nv 0 1 0\n');
    const input = await page.$('#file');
    await input.uploadFile(noise);
    await page.waitForFunction(() => document.getElementById('console').innerText.includes('not a text file: noise.obj'));
    const kept = !(await consoleText(page)).includes('UTF-16');
    await input.uploadFile(flat);
    await page.waitForFunction(() => document.getElementById('work').textContent.includes('nothing to subdivide'),
      { polling: 20, timeout: 60000 });
    await page.$eval('#work', (w) => { w.textContent = ''; });
    await page.click('#level-up');
    const refused = (await page.$eval('#work', (w) => w.textContent)).includes('nothing to subdivide') &&
      await page.evaluate(() => window.program._webSubdivoLevel()) === 0;
    const revolva = await open(browser, 'revolva.html');
    const empty = path.join(work, 'empty.curve');
    fs.writeFileSync(empty, '# no points\n');
    await (await revolva.$('#curve-file')).uploadFile(empty);
    await revolva.waitForFunction(() => document.getElementById('curve-status').textContent.includes('empty.curve'));
    const curve = await revolva.$eval('#curve-status', (e) => e.textContent);
    const points = await revolva.$eval('#editor-figures', (e) => e.textContent);
    return kept && refused && curve.includes('not opened') && points.includes('of 2 selected');
  },
  // Level 7 of a 500-face torus (8 M faces), every level asked for by "+", while a 50 ms timer
  // ticks: no gap between its ticks may reach a second, building or drawing, and the level comes.
  async 'never-frozen'(browser) {
    const page = await open(browser, 'subdivo.html');
    await (await page.$('#file')).uploadFile(writeTorus500());
    await page.waitForFunction(() => document.getElementById('console').innerText.includes('fit the view'),
      { polling: 50, timeout: 60000 });
    await waitFrames(page, 3);
    await startTicks(page);
    for (let level = 1; level <= 7; ++level) {
      await page.click('#level-up');
      await page.waitForFunction((n) => document.getElementById('heavy').open ||
        document.getElementById('level').textContent === `Level ${n}` &&
        /shown after|not built/.test(document.getElementById('work').textContent),
      { polling: 50, timeout: 600000 }, level);
      if (await page.$eval('#heavy', (d) => d.open)) {
        await page.click('#heavy button[value=build]');
        await page.waitForFunction((n) => /shown after|not built/.test(document.getElementById('work').textContent) &&
          document.getElementById('level').textContent === `Level ${n}`, { polling: 50, timeout: 600000 }, level);
      }
    }
    await waitFrames(page, 3);
    const gap = await page.evaluate(() => { clearInterval(window.tickTimer); return window.longestGap; });
    console.log(`  longest gap between 50 ms ticks, levels 1 to 7: ${Math.round(gap)} ms`);
    return gap < 1000 && await page.evaluate(() => window.program._webSubdivoLevel()) === 7 && page.errors.length === 0;
  },
  // Cancel pressed while a heavy level (5 of the torus) is being drawn: it was offered all
  // along, level 4 is shown again, and a level asked for next is built.
  async 'cancel-drawing'(browser) {
    const page = await open(browser, 'subdivo.html');
    await (await page.$('#file')).uploadFile(writeTorus500());
    await page.waitForFunction(() => document.getElementById('console').innerText.includes('fit the view'),
      { polling: 50, timeout: 60000 });
    const shown = (n) => page.waitForFunction((level) => !window.pageBusy() &&
      document.getElementById('level').textContent === `Level ${level}`, { polling: 50, timeout: 600000 }, n);
    for (let level = 1; level <= 4; ++level) {
      await page.click('#level-up');
      await shown(level);
    }
    await page.click('#level-up');
    await page.waitForFunction(() => document.getElementById('heavy').open, { polling: 20, timeout: 60000 });
    await page.click('#heavy button[value=build]');
    // Pressed in the page itself the moment the drawing is told, before the picture is done.
    const offered = await (await page.waitForFunction(() => {
      if (!document.getElementById('work').textContent.includes('drawing it')) return false;
      const cancel = document.getElementById('cancel');
      const shown = !cancel.hidden;
      cancel.click();
      return { shown };
    }, { polling: 10, timeout: 600000 })).jsonValue();
    await shown(4);
    const told = await page.$eval('#work', (w) => w.textContent);
    const hidden = await page.$eval('#cancel', (b) => b.hidden);
    await page.click('#level-down');
    await shown(3);
    console.log(`  Cancel offered while drawing: ${offered.shown}; then "${told}"`);
    return offered.shown && told.includes('cancelled; level 4 stays') && hidden && page.errors.length === 0;
  },
  // The scheme list: Loop on the cube's six squares is refused with their count and the list
  // goes back; Catmull-Clark makes the cube's level 1 of 24 quadrilaterals and level 0 again
  // is the cube.
  async 'scheme-choice'(browser) {
    const page = await open(browser, 'subdivo.html?model=cube.obj');
    await page.select('#scheme', 'loop');
    const loop = await page.$eval('#work', (w) => w.textContent);
    const kept = await page.$eval('#scheme', (s) => s.value) === 'doo-sabin';
    await page.select('#scheme', 'catmull-clark');
    await page.click('#level-up');
    await page.waitForFunction(() => document.getElementById('work').textContent.startsWith('shown after'),
      { polling: 50, timeout: 60000 });
    const faces = await page.evaluate(() => window.program._webSubdivoForecastCount(1, 1));
    const scheme = await page.evaluate(() => window.program._webSubdivoShownScheme());
    return loop.includes('6 faces of other sizes') && kept && faces === 24 && scheme === 1 &&
      await page.$eval('#level', (e) => e.textContent) === 'Level 1' && page.errors.length === 0;
  },
  // npm's Stanford bunny opened as the user's file is framed whole: much of it shows and none
  // of it touches the picture's edge.
  async 'bunny-framed'(browser) {
    const page = await open(browser, 'subdivo.html');
    const { positions, cells } = (await import('bunny')).default;
    const file = path.join(work, 'bunny.obj');
    fs.writeFileSync(file, positions.map(([x, y, z]) => `v ${x} ${y} ${z}\n`).join('') +
      cells.map(([a, b, c]) => `f ${a + 1} ${b + 1} ${c + 1}\n`).join(''));
    await (await page.$('#file')).uploadFile(file);
    await page.waitForFunction(() => document.getElementById('console').innerText.includes('fit the view'),
      { polling: 50, timeout: 60000 });
    await waitFrames(page, 3);
    const all = await modelPixels(page), edge = await modelPixels(page, true);
    console.log(`  bunny: ${all} pixels, ${edge} on the edge`);
    return all > 5000 && edge === 0;
  },
  // The construction view on a phone: the quarter circle's sample opened by its button, "de
  // Casteljau" tapped on, t moved by a finger on the slider and by the keys after a Tab; each
  // move changes both pictures and moves the curve point along its circle (radius 0.8 about
  // (0, 0.1)); off again, both pictures are the program's own once more. With --shots, the
  // view at 390 and 1280 px for the README.
  async 'construction-follows-t'(browser) {
    const page = await open(browser, 'revolva.html', phone);
    const pictures = () => page.evaluate(() => [1, 2].map((id) => document.getElementById(`window${id}`).toDataURL()));
    const curvePoint = () => page.evaluate(() => {
      const program = window.program, at = program._malloc(24);
      const finite = program._revolvaConstructionPoint(at) === 1;
      const [x, z] = program.HEAPF64.slice(at / 8, at / 8 + 2);
      program._free(at);
      return finite ? { x, z, onCircle: Math.abs(Math.hypot(x, z - 0.1) - 0.8) < 1e-9 } : null;
    });
    const shown = async () => { await waitFrames(page, 3); return { pictures: await pictures(), point: await curvePoint() }; };
    await page.tap('#open-quarter-circle');
    await page.waitForFunction(() => document.getElementById('curve-status').textContent.startsWith('quarter_circle.curve: 3 '));
    const off = await shown();
    await page.tap('#casteljau');
    const middle = await shown();
    const slider = await page.$eval('#t', (s) => { const b = s.getBoundingClientRect(); return [b.left, b.top + b.height / 2, b.width]; });
    await page.touchscreen.touchStart(slider[0] + slider[2] / 2, slider[1]);
    await page.touchscreen.touchMove(slider[0] + slider[2] * 0.2, slider[1]);
    await page.touchscreen.touchEnd();
    const touched = await shown();
    const byFinger = await page.$eval('#t', (s) => Number(s.value));
    await page.focus('#casteljau');
    await page.keyboard.press('Tab');
    const tabbed = await focusedId(page);
    await page.keyboard.press('End');
    for (let step = 0; step < 10; ++step) await page.keyboard.press('ArrowLeft');
    const keyed = await shown();
    const value = await page.$eval('#t-value', (v) => v.textContent);
    if (shotDir) await constructionShots(browser);
    await page.tap('#casteljau');
    const offAgain = await shown();
    const differs = (a, b) => a.pictures[0] !== b.pictures[0] && a.pictures[1] !== b.pictures[1];
    const moved = (a, b) => a.point && b.point && a.point.onCircle && b.point.onCircle &&
      Math.hypot(a.point.x - b.point.x, a.point.z - b.point.z) > 0.05;
    console.log(`  t by finger ${byFinger.toFixed(2)}, by keys ${value}; Tab from the toggle to #${tabbed}`);
    return differs(off, middle) && byFinger < 0.4 && differs(middle, touched) && moved(middle, touched) &&
      tabbed === 't' && value === '0.90' && differs(touched, keyed) && moved(touched, keyed) &&
      offAgain.pictures[0] === off.pictures[0] && offAgain.pictures[1] === off.pictures[1] &&
      page.errors.length === 0;
  },
  // The counts of the cube at Catmull-Clark level 1: 24 quads, V - E + F = 2; level 2 forecast.
  async 'counts'(browser) {
    const page = await open(browser, 'subdivo.html?model=cube.obj');
    await page.select('#scheme', 'catmull-clark');
    await page.click('#level-up');
    await page.waitForFunction(() => document.getElementById('work').textContent.startsWith('shown after'),
      { polling: 50, timeout: 60000 });
    const counts = await page.$eval('#counts', (c) => ({ ...c.dataset, text: c.innerText }));
    return counts.faces === '24' && counts.euler === '2' && counts.text.includes('Level 2 (next)') &&
      counts.text.includes('96 quads') && page.errors.length === 0;
  },
  // Four taps of one Doo-Sabin step on the cube: at least three different pictures, the last
  // the next level; a tap on a face during the phases tells the faces it becomes.
  async 'step-phase'(browser) {
    const page = await open(browser, 'subdivo.html?model=cube.obj');
    const picture = () => page.$eval('#window1', (c) => c.toDataURL());
    const pictures = new Set();
    let picked = '';
    for (let tap = 1; tap <= 4; ++tap) {
      await page.click('#step-phase');
      await waitFrames(page, 3);
      pictures.add(await picture());
      if (tap !== 2) continue;
      const box = await page.$eval('#window1', (c) => { const b = c.getBoundingClientRect(); return [b.left, b.top, b.width]; });
      await page.mouse.click(box[0] + box[2] * 0.47, box[1] + box[2] * 0.5);
      picked = await page.$eval('#phase-text', (p) => p.textContent);
    }
    await page.waitForFunction(() => document.getElementById('work').textContent.startsWith('shown after') &&
      document.getElementById('phase-text').textContent.includes('done'), { polling: 50, timeout: 60000 });
    console.log(`  ${pictures.size} pictures; tap: ${picked}`);
    return pictures.size >= 3 && picked.includes('1 F-face, 4 E-faces and 4 V-faces') &&
      await page.evaluate(() => window.program._webSubdivoLevel()) === 1 &&
      await page.$eval('#level', (e) => e.textContent) === 'Level 1' && page.errors.length === 0;
  },
  // Side by side: the second picture shows the cube's level 1 in Catmull-Clark beside
  // Doo-Sabin's; both pictures have the model's pixels and differ.
  async 'compare'(browser) {
    const page = await open(browser, 'subdivo.html?model=cube.obj');
    await page.click('#level-up');
    await page.waitForFunction(() => document.getElementById('work').textContent.startsWith('shown after'),
      { polling: 50, timeout: 60000 });
    await page.click('#compare');
    await waitFrames(page, 3);
    const coloured = (id) => page.$eval(id, (canvas) => {
      const copy = new OffscreenCanvas(canvas.width, canvas.height).getContext('2d');
      copy.drawImage(canvas, 0, 0);
      const pixels = copy.getImageData(0, 0, canvas.width, canvas.height).data;
      let count = 0;
      for (let i = 0; i < pixels.length; i += 4) if (pixels[i] > 200 && pixels[i + 1] < 60 && pixels[i + 2] < 60) ++count;
      return { count, picture: canvas.toDataURL() };
    });
    const first = await coloured('#window1'), second = await coloured('#window2');
    console.log(`  red pixels: ${first.count} and ${second.count}`);
    return first.count > 2000 && second.count > 2000 && first.picture !== second.picture &&
      await page.$eval('#window2-title', (t) => t.textContent) === 'Catmull-Clark, level 1' &&
      page.errors.length === 0;
  },
  // The teaching views on a phone: tapped, their controls are 44 px targets with names that Tab
  // reaches, their text is 11 px or more at a contrast of 4.5:1, the page stays 390 px wide,
  // and a finger's tap on the cube picks a face.
  async 'lessons-by-touch'(browser) {
    const page = await open(browser, 'subdivo.html?model=cube.obj', phone);
    await page.tap('#compare');
    for (let tap = 0; tap < 2; ++tap) await page.tap('#step-phase');
    await waitFrames(page, 3);
    const controls = ['step-phase', 'phase-end', 'compare', 'compare-scheme', 'window2'];
    const looks = await page.evaluate((ids) => {
      const channel = (c) => (c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
      const rgb = (text) => text.match(/[\d.]+/g).map(Number);
      const luminance = ([r, g, b]) => 0.2126 * channel(r / 255) + 0.7152 * channel(g / 255) + 0.0722 * channel(b / 255);
      const background = (e) => {
        for (; e; e = e.parentElement) {
          const c = rgb(getComputedStyle(e).backgroundColor);
          if (c.length === 3 || c[3] > 0) return c.slice(0, 3);
        }
        return [255, 255, 255];
      };
      const texts = [...document.querySelectorAll('#phase-text, #counts th, #counts td, #counts p, label[for=compare-scheme], #window2-title')];
      return {
        targets: ids.every((id) => { const b = document.getElementById(id).getBoundingClientRect(); return b.width >= 44 && b.height >= 44; }),
        smallest: Math.min(...texts.map((e) => parseFloat(getComputedStyle(e).fontSize))),
        contrast: Math.min(...texts.map((e) => {
          const [a, b] = [luminance(rgb(getComputedStyle(e).color).slice(0, 3)), luminance(background(e))];
          return (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
        })),
        wide: document.documentElement.scrollWidth,
        phase: document.getElementById('phase-text').textContent,
      };
    }, controls);
    await page.evaluate(() => window.scrollTo(0, 0));
    const box = await page.$eval('#window1', (c) => { const b = c.getBoundingClientRect(); return [b.left, b.top, b.width]; });
    await page.touchscreen.tap(box[0] + box[2] * 0.47, box[1] + box[2] * 0.5);
    const picked = await page.$eval('#phase-text', (p) => p.textContent);
    let named = true;
    for (const id of controls) named = named && !!(await page.accessibility.snapshot({ root: await page.$(`#${id}`) }))?.name;
    await page.focus('#scheme');
    const reached = [];
    for (let press = 0; press < 4; ++press) {
      await page.keyboard.press('Tab');
      reached.push(await focusedId(page));
    }
    console.log(`  smallest text ${looks.smallest} px, lowest contrast ${looks.contrast.toFixed(1)}:1`);
    return picked.includes('becomes 1 F-face') && looks.targets && looks.smallest >= 11 &&
      looks.contrast >= 4.5 && looks.wide <= 390 && named && looks.phase.startsWith('Phase 2 of 4') && reached.join() === 'step-phase,phase-end,compare,compare-scheme' &&
      page.errors.length === 0;
  },
  // Both pages fit a 390 px screen without scrolling sideways.
  async 'phone-width'(browser) {
    let fits = true;
    for (const name of ['subdivo.html', 'revolva.html']) {
      const page = await open(browser, name, phone);
      await waitFrames(page, 3);
      fits = fits && await page.evaluate(() => document.documentElement.scrollWidth <= 390);
      if (shotDir) await page.screenshot({ path: path.join(shotDir, `web-${name.replace('.html', '')}-390.png`), fullPage: true });
      await page.close();
      if (!shotDir) continue;
      const laptop = await open(browser, name, { width: 1280, height: 800, deviceScaleFactor: 1 });
      await waitFrames(laptop, 3);
      await laptop.screenshot({ path: path.join(shotDir, `web-${name.replace('.html', '')}-1280.png`) });
      await laptop.close();
    }
    return fits;
  },
};

// The teaching views for the README, at 390 px (the whole page) and 1280 px: the counts of the
// cube's Catmull-Clark level 1, a Doo-Sabin step of the cube at its E-faces with a face tapped,
// and the torus's level 1 in Doo-Sabin beside Catmull-Clark, as wire frames.
async function lessonShots(browser) {
  const scenes = {
    async counts(page) {
      await page.select('#scheme', 'catmull-clark');
      await page.click('#level-up');
      await page.waitForFunction(() => document.getElementById('work').textContent.startsWith('shown after'),
        { polling: 50, timeout: 60000 });
    },
    async phases(page) {
      for (let tap = 1; tap <= 3; ++tap) await page.click('#step-phase');
      const box = await page.$eval('#window1', (c) => { const b = c.getBoundingClientRect(); return [b.left, b.top, b.width]; });
      await page.evaluate((x, y) => {
        const canvas = document.getElementById('window1');
        for (const type of ['pointerdown', 'pointerup'])
          canvas.dispatchEvent(new PointerEvent(type, { bubbles: true, clientX: x, clientY: y }));
      }, box[0] + box[2] * 0.47, box[1] + box[2] * 0.5);
    },
    async compare(page) {
      await page.click('#level-up');
      await page.waitForFunction(() => document.getElementById('work').textContent.startsWith('shown after'),
        { polling: 50, timeout: 60000 });
      await page.click('#compare');
      await page.click('button[data-key=w]');
    },
  };
  const models = { counts: 'cube.obj', phases: 'cube.obj', compare: 'torus.obj' };
  for (const [name, scene] of Object.entries(scenes)) {
    for (const [width, viewport] of [[390, phone], [1280, { width: 1280, height: 800, deviceScaleFactor: 1 }]]) {
      const page = await open(browser, `subdivo.html?model=${models[name]}`, viewport);
      await scene(page);
      await waitFrames(page, 3);
      await page.screenshot({ path: path.join(shotDir, `web-subdivo-${name}-${width}.png`), fullPage: width === 390 });
      await page.close();
    }
  }
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'page-checks-profile-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', `--user-data-dir=${profile}`,
    '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  defaultViewport: { width: 1400, height: 1000, deviceScaleFactor: 1 },
});
let passed = 0, failed = 0;
try {
  const names = option === '--shots' ? ['phone-width', 'construction-follows-t'] : option === '--only' ? optionValue.split(',') : Object.keys(checks);
  for (const name of names) {
    let ok = false;
    try {
      ok = await checks[name](browser);
    } catch (error) {
      console.log(`${name}: ${error.message}`);
    }
    if (ok) ++passed; else ++failed;
    console.log(`${name.padEnd(28)} ${ok ? 'ok' : 'FAIL'}`);
  }
  if (shotDir) await lessonShots(browser);
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(`checks: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

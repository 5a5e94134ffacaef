// What the pages do beyond the programs' pictures, one scene each in headless Chromium: model
// switching, the user's own file (opened twice, framed in the view), a refused level, keys
// kept by a text field, Cancel while a heavy level is drawn, a touch drag, a phone-wide
// screen, the level raised by touch, Tab out of a picture, honest messages for files that
// cannot be used. Prints one line per check and "checks: N passed, M failed".
//   node page_checks.mjs SITE_URL [--shots DIR | --only NAME,...]
//   (--shots: the pages at 390 and 1280 px, for the README; --only: the named checks)
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
  // Level 6 of a 500-face torus, every level asked for by "+", while a 50 ms timer ticks: no
  // gap between its ticks may reach a second, building or drawing, and the level comes.
  async 'never-frozen'(browser) {
    const page = await open(browser, 'subdivo.html');
    await (await page.$('#file')).uploadFile(writeTorus500());
    await page.waitForFunction(() => document.getElementById('console').innerText.includes('fit the view'),
      { polling: 50, timeout: 60000 });
    await waitFrames(page, 3);
    await startTicks(page);
    for (let level = 1; level <= 6; ++level) {
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
    console.log(`  longest gap between 50 ms ticks, levels 1 to 6: ${Math.round(gap)} ms`);
    return gap < 1000 && await page.evaluate(() => window.program._webSubdivoLevel()) === 6 && page.errors.length === 0;
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

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'page-checks-profile-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', `--user-data-dir=${profile}`,
    '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  defaultViewport: { width: 1400, height: 1000, deviceScaleFactor: 1 },
});
let passed = 0, failed = 0;
try {
  const names = option === '--shots' ? ['phone-width'] : option === '--only' ? optionValue.split(',') : Object.keys(checks);
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
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(`checks: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

// Subdivo's page under load, for the README's figures: opens MODEL (a file on disk, as the
// user's own), presses "+" until a level is refused, the page aborts or MAX_LEVEL is shown,
// and prints per level the time, the longest task that blocked the page while it built, the
// WebAssembly memory and (on this page) the heap's top, the bytes in use and the budget.
//   node level_figures.mjs SITE_URL MODEL MAX_LEVEL
//   node level_figures.mjs SITE_URL --ceiling    how far this browser grows a WebAssembly
//                                                 memory, every page of it written
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [siteUrl, model, maxLevel] = process.argv.slice(2);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'level-figures-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, protocolTimeout: 900000,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', `--user-data-dir=${profile}`,
    '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  defaultViewport: { width: 1400, height: 1000, deviceScaleFactor: 1 },
});

const mib = (bytes) => (bytes / 1048576).toFixed(0);

async function measureCeiling() {
  const page = await browser.newPage();
  await page.goto(`${siteUrl}/index.html`);
  const bytes = await page.evaluate(() => {
    const memory = new WebAssembly.Memory({ initial: 1, maximum: 65536 });
    for (const step of [1024, 1]) {
      for (;;) {
        try { memory.grow(step); } catch (error) { break; }
      }
    }
    const all = new Uint8Array(memory.buffer);
    for (let i = 0; i < all.length; i += 65536) all[i] = 1;
    return all.length;
  });
  console.log(`WebAssembly memory grown and written: ${mib(bytes)} MiB`);
}

async function measureLevels() {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => {
    window.longTasks = [];
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) window.longTasks.push(entry.duration);
    }).observe({ type: 'longtask', buffered: true });
  });
  await page.goto(`${siteUrl}/subdivo.html`);
  await page.waitForFunction(() => window.program && window.program._webGlutFrameCount() >= 1,
    { polling: 50, timeout: 60000 });
  const loadStart = Date.now();
  const input = await page.$('#file');
  await input.uploadFile(path.resolve(model));
  await page.waitForFunction((name) => {
    const text = document.getElementById('console').innerText;
    return text.includes(`Modelo: ${name}`) && (text.includes('second pass') || text.includes('rror'));
  }, { polling: 100, timeout: 600000 }, path.basename(model));
  await page.waitForFunction(() => window.program._webGlutFrameCount() >= 2, { polling: 50, timeout: 600000 });
  console.log(`loaded in ${((Date.now() - loadStart) / 1000).toFixed(1)} s; ` +
    `longest task ${Math.round(Math.max(0, ...await page.evaluate(() => window.longTasks)))} ms`);
  const newPage = await page.evaluate(() => typeof window.program._webSubdivoLevel === 'function');
  await page.focus('#window1');
  for (let level = 1; level <= Number(maxLevel); ++level) {
    await page.evaluate(() => { window.longTasks = []; });
    const before = await page.evaluate(() => window.program._webGlutFrameCount());
    const t0 = Date.now();
    await page.keyboard.press('+');
    // The page asks before a heavy level: answered at once (its time is not the page's). A
    // busy machine may take longer than a fixed wait to open the question or start the build.
    if (newPage) {
      await page.waitForFunction((n) => document.getElementById('heavy').open || window.pageBusy() ||
        window.program._webSubdivoLevel() === n, { polling: 20, timeout: 60000 }, level);
    } else {
      await new Promise((resolve) => setTimeout(resolve, 300));
    }
    if (await page.evaluate(() => document.getElementById('heavy')?.open)) {
      await page.click('#heavy button[value=build]');
    }
    if (newPage) {
      await page.waitForFunction(() => !window.pageBusy(), { polling: 100, timeout: 900000 });
    }
    await page.waitForFunction((n) => window.program._webGlutFrameCount() >= n ||
      document.getElementById('console').innerText.includes('Aborted'),
    { polling: 100, timeout: 900000 }, before + 1);
    const seconds = ((Date.now() - t0) / 1000).toFixed(1);
    const state = await page.evaluate((isNew) => ({
      text: document.getElementById('console').innerText,
      memory: window.program.HEAPU8.length,
      tasks: window.longTasks,
      level: isNew ? window.program._webSubdivoLevel() : null,
      top: isNew ? window.program._webHeapTopMiB() : null,
      inUse: isNew ? window.program._webHeapInUseMiB() : null,
      budget: isNew ? window.program._webBudgetMiB() : null,
      work: isNew ? document.getElementById('work').textContent : '',
    }), newPage);
    const longest = Math.round(Math.max(0, ...state.tasks));
    let line = `+ to level ${level}: ${seconds} s, longest task ${longest} ms, wasm memory ${mib(state.memory)} MiB`;
    if (newPage) {
      line += `, heap top ${state.top.toFixed(0)} MiB, in use ${state.inUse.toFixed(0)} MiB,` +
        ` budget now ${state.budget.toFixed(0)} MiB, level shown ${state.level} (${state.work})`;
    }
    console.log(line);
    const refusal = state.text.split('\n').find((l) => l.includes('not built') || l.includes('Aborted'));
    if (refusal) {
      console.log(`  ${refusal}`);
      const drawing = await page.evaluate(async () => {
        const n = window.program._webGlutFrameCount();
        await new Promise((resolve) => setTimeout(resolve, 1500));
        return window.program._webGlutFrameCount() - n;
      }).catch(() => 0);
      console.log(`  frames drawn in the 1.5 s after: ${drawing}`);
      break;
    }
  }
}

try {
  if (model === '--ceiling') await measureCeiling();
  else await measureLevels();
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}

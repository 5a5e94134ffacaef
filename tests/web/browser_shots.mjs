// Drives the web build's pages in Debian's headless Chromium through puppeteer-core and saves
// a screenshot of each canvas after each scene, for browser_test.sh to compare with the
// desktop programs' screenshots of the same scenes.
//   node browser_shots.mjs SITE_URL OUT_DIR SCENE...     (scenes: see scenes.mjs)
//   node browser_shots.mjs SITE_URL --frame-rate MODEL LEVEL SECONDS
//       (prints the frames per second and the first frame's time in ms, as two numbers)
//   node browser_shots.mjs SITE_URL --page SCENE FILE.png    (the whole page, for the README)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { scenes } from './scenes.mjs';

const [siteUrl, outDir, ...rest] = process.argv.slice(2);

async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-test-profile-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`,
      // WebGL on the CPU: SwiftShader, the browser's own software renderer.
      '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    ],
    defaultViewport: { width: 1400, height: 1000, deviceScaleFactor: 1 },
  });
  return { browser, profile };
}

// Waits until the program has run `count` more turns of its main loop.
async function waitFrames(page, count) {
  const start = await page.evaluate(() => window.program._webGlutFrameCount());
  await page.waitForFunction((target) => window.program._webGlutFrameCount() >= target,
    { polling: 20, timeout: 60000 }, start + count);
}

async function canvasBox(page, id) {
  return page.$eval(`#window${id}`, (canvas) => {
    const box = canvas.getBoundingClientRect();
    return { x: box.left, y: box.top, width: box.width, height: box.height };
  });
}

// Waits until the page has no level under way (Subdivo builds levels in a worker).
const levelDone = (page) => page.waitForFunction(() => !window.pageBusy || !window.pageBusy(),
  { polling: 20, timeout: 600000 });

async function runStep(page, step) {
  if (step.key) {
    await page.focus(`#window${step.window}`);
    await page.keyboard.press(step.key);
    await levelDone(page);
  } else if (step.click) {
    const box = await canvasBox(page, step.window);
    await page.mouse.click(box.x + step.click[0], box.y + step.click[1], { button: step.button || 'left' });
  } else if (step.controls !== undefined) {
    await page.$eval('#controls', (area, text) => {
      area.value = text;
      area.dispatchEvent(new Event('input'));
    }, step.controls);
  }
  await waitFrames(page, 3);
}

async function openProgram(page, url) {
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(url);
  await page.waitForFunction(() => window.program && window.program._webGlutFrameCount() >= 1,
    { polling: 20, timeout: 60000 });
  return errors;
}

async function shootScene(browser, name, pagePicture) {
  const scene = scenes[name];
  const page = await browser.newPage();
  if (pagePicture) await page.setViewport({ width: 1320, height: 900, deviceScaleFactor: 1 });
  const errors = await openProgram(page, `${siteUrl}/${scene.page}`);
  await waitFrames(page, 3);
  for (const step of scene.steps) await runStep(page, step);
  await waitFrames(page, 3);
  if (pagePicture) {
    await page.screenshot({ path: pagePicture, fullPage: true });
  } else {
    for (let id = 1; id <= scene.windows; ++id) {
      const box = await canvasBox(page, id);
      await page.screenshot({ path: path.join(outDir, `${name}-${id}.png`), clip: box });
    }
  }
  if (!pagePicture) {
    const consoleText = await page.$eval('#console', (panel) => panel.innerText).catch(() => '');
    fs.writeFileSync(path.join(outDir, `${name}.console.txt`), consoleText);
  }
  await page.close();
  if (errors.length > 0) throw new Error(`${name}: ${errors.join('; ')}`);
}

// Frames per second of Subdivo on MODEL at LEVEL, with the main loop uncapped, over SECONDS;
// and the time from the start of the page's load to its first frame.
async function measureFrameRate(browser, model, level, seconds) {
  const page = await browser.newPage();
  await openProgram(page, `${siteUrl}/subdivo.html?uncapped&model=${model}`);
  const firstFrame = await page.evaluate(() => window.firstFrameTime);
  await page.focus('#window1');
  for (let i = 0; i < level; ++i) {
    await page.keyboard.press('+');
    await levelDone(page);
  }
  await waitFrames(page, 5);
  const frames = await page.evaluate(async (ms) => {
    const start = window.program._webGlutFrameCount();
    const t0 = performance.now();
    await new Promise((resolve) => setTimeout(resolve, ms));
    return { frames: window.program._webGlutFrameCount() - start, ms: performance.now() - t0 };
  }, seconds * 1000);
  await page.close();
  return { fps: frames.frames * 1000 / frames.ms, firstFrameMs: firstFrame };
}

const { browser, profile } = await launchBrowser();
try {
  if (outDir === '--frame-rate') {
    const [model, level, seconds] = rest;
    const result = await measureFrameRate(browser, model, Number(level), Number(seconds));
    console.log(`${result.fps.toFixed(1)} ${Math.round(result.firstFrameMs)}`);
  } else if (outDir === '--page') {
    await shootScene(browser, rest[0], rest[1]);
  } else {
    fs.mkdirSync(outDir, { recursive: true });
    for (const name of rest) await shootScene(browser, name);
  }
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}

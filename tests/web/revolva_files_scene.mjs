// The Revolva page's curve panel in Debian's headless Chromium: opens the sample goblet from
// the site, edits it (the first point's weight up, one more sample around the axis), ticks
// the caps and downloads the STL into OUT_DIR, where browser_test.sh hands it to admesh.
// Prints the status line the page shows.
//   node revolva_files_scene.mjs SITE_URL OUT_DIR
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [siteUrl, outDir] = process.argv.slice(2);
fs.mkdirSync(outDir, { recursive: true });
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-files-profile-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    `--user-data-dir=${profile}`, '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  defaultViewport: { width: 1400, height: 1000, deviceScaleFactor: 1 },
});

async function waitFrames(page, count) {
  const start = await page.evaluate(() => window.program._webGlutFrameCount());
  await page.waitForFunction((target) => window.program._webGlutFrameCount() >= target,
    { polling: 20, timeout: 60000 }, start + count);
}

try {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: outDir });
  await page.goto(`${siteUrl}/revolva.html`);
  await page.waitForFunction(() => window.program && window.program._webGlutFrameCount() >= 1,
    { polling: 20, timeout: 60000 });
  await page.select('#sample-curve', 'goblet');
  await page.waitForFunction(
    () => document.getElementById('curve-status').textContent.startsWith('goblet.curve: 8 '),
    { polling: 20, timeout: 10000 });
  await page.focus('#window1');
  await page.keyboard.press('+');
  await page.keyboard.press('8');
  await waitFrames(page, 3);
  await page.click('#mesh-caps');
  await page.click('#download-stl');
  const target = path.join(outDir, 'revolva.stl');
  for (let i = 0; i < 200 && !fs.existsSync(target); ++i) await new Promise((r) => setTimeout(r, 50));
  console.log(await page.$eval('#curve-status', (status) => status.textContent));
  if (errors.length > 0) throw new Error(errors.join('; '));
  if (!fs.existsSync(target)) throw new Error('no revolva.stl downloaded');
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}

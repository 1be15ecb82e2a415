// Figures of the page in headless Chromium: its size, and the time from opening it to the
// filled dialog (the median of several openings, each in a fresh tab).
//
//   node bench.mjs PAGE [OPENINGS]
import { statSync } from 'node:fs';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { openBrowser } from './browser.mjs';

const [pagePath, countArgument] = process.argv.slice(2);
if (!pagePath) {
  console.error('usage: node bench.mjs PAGE [OPENINGS]');
  process.exit(2);
}
const openings = Number(countArgument || 7);
const url = pathToFileURL(resolve(pagePath)).href;
const browser = await openBrowser();
const times = [];
try {
  for (let i = 0; i < openings; ++i) {
    const page = await browser.context.newPage();
    await page.goto(url, { waitUntil: 'commit' });
    // Measured by the page's own clock from the start of the navigation, so the test driver's
    // round trips do not count.
    const ms = await page.evaluate(() => new Promise((done) => {
      const check = () => {
        const select = document.getElementById('control-102-1004');
        if (select && select.options.length > 0 && select.selectedIndex >= 0) done(performance.now());
        else requestAnimationFrame(check);
      };
      check();
    }));
    times.push(ms);
    await page.close();
  }
} finally {
  await browser.close();
}
if (browser.refused.length) {
  console.error('requests off this machine: ' + browser.refused.join(', '));
  process.exit(1);
}
times.sort((a, b) => a - b);
const median = times[Math.floor(times.length / 2)];
console.log(`page size: ${statSync(pagePath).size} bytes (goal under 1572864)`);
console.log(`opening to filled dialog: median ${median.toFixed(0)} ms of ${openings} openings ` +
  `(fastest ${times[0].toFixed(0)}, slowest ${times[times.length - 1].toFixed(0)}; goal under 500)`);

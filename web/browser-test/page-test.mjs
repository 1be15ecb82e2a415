// The page in a real browser: opened from disk, a card opened through the file chooser, WSS
// IRQ 7 picked with the keyboard, OK and Yes, the write to its end, and the new image saved and
// compared byte for byte with what the native runner writes for the same picks; a card file
// of the wrong size dropped on the page; the hidden dump and its tt.bin; help, labels, Escape;
// no request leaves the machine.
//
//   node page-test.mjs PAGE NATIVE_RUNNER [--screenshot PNG]
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, writeFileSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { openBrowser } from './browser.mjs';

const [pagePath, runnerArgument, ...options] = process.argv.slice(2);
const nativeRunner = runnerArgument && resolve(runnerArgument);
if (!pagePath || !runnerArgument) {
  console.error('usage: node page-test.mjs PAGE NATIVE_RUNNER [--screenshot PNG]');
  process.exit(2);
}
const screenshotPath = options[0] === '--screenshot' ? options[1] : null;
const work = mkdtempSync(join(tmpdir(), 'vymsetup-page-test-'));

// ---- What the native runner does -------------------------------------------------------------
function runNative(script, card) {
  const folder = mkdtempSync(join(work, 'native-'));
  mkdirSync(join(folder, 'home'));
  const env = { PATH: process.env.PATH, HOME: join(folder, 'home'), XDG_DATA_HOME: join(folder, 'home'),
    VYMCNF_DRIVE_C: folder };
  if (card) env.VYMCNF_EEPROM = card;
  // The exit status is the runner's business (a card that fails to open ends it as a quit).
  const run = spawnSync(nativeRunner, ['-'], { input: script, env, cwd: folder });
  assert.ok(run.status !== null && run.stdout.length > 0, `${nativeRunner}: ${run.error || run.stderr}`);
  return { folder, events: run.stdout.toString().trim().split('\n').map((line) => JSON.parse(line)) };
}

// The factory card, as the native program makes it when the user has none.
const factory = runNative('click Cancel\n', null);
const factoryCard = join(work, 'factory.bin');
writeFileSync(factoryCard, readFileSync(join(factory.folder, 'home', 'vymcnf', 'eeprom.bin')));

// The same picks through the native runner, on a copy of that card.
const nativeCard = join(work, 'native-card.bin');
writeFileSync(nativeCard, readFileSync(factoryCard));
const picked = runNative('pace off\npick "WSS IRQ" 7\nanswer Yes\nclick OK\n', nativeCard);
const nativeBoxes = picked.events.filter((e) => e.event === 'messagebox');
const nativeWritten = readFileSync(nativeCard);
assert.notDeepEqual(nativeWritten, readFileSync(factoryCard), 'the native runner changed nothing');

// A fresh copy of the factory card, for a native run that may change it.
function readyCard() {
  const card = mkdtempSync(join(work, 'card-')) + '/card.bin';
  writeFileSync(card, readFileSync(factoryCard));
  return card;
}

// A card file of the wrong size, and what the native program says of it.
const shortCard = join(work, 'short dump.bin');
writeFileSync(shortCard, readFileSync(factoryCard).subarray(0, 1000));
const shortBox = runNative('click Cancel\n', shortCard).events.find((e) => e.event === 'messagebox');
assert.ok(shortBox, 'the native runner shows no box for a short card');

// A file dropped on the page, as a file manager drops it.
async function dropFile(page, name, bytes) {
  await page.evaluate(([fileName, content]) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(content)], fileName));
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, [name, [...bytes]]);
}

// ---- The page ------------------------------------------------------------------------------
const normalize = (text) => text.replace(/\r\n/g, '\n').replace(/\n+$/, '');
const browser = await openBrowser();
const failures = [];
try {
  const page = await browser.context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });

  const started = Date.now();
  await page.goto(pathToFileURL(resolve(pagePath)).href);
  const filled = () => page.waitForFunction(() => {
    const select = document.getElementById('control-102-1004');
    return select && select.options.length > 0 && select.selectedIndex >= 0;
  });
  await filled();
  console.log(`page: dialog filled ${Date.now() - started} ms after opening`);
  assert.match(await page.textContent('#card-note'), /factory image/);

  // Every field has a label; every button a text.
  const unlabelled = await page.evaluate(() => [...document.querySelectorAll('#desktop select, #desktop button')]
    .filter((e) => !e.hidden && !(e.labels && e.labels.length) && !e.getAttribute('aria-label') && !e.textContent.trim())
    .map((e) => e.id));
  assert.deepEqual(unlabelled, [], 'controls without a label');
  assert.equal(await page.locator('#desktop select').count(), 12);
  assert.equal(await page.getByLabel('WSS IRQ', { exact: true }).count(), 1);

  // F1 shows the keys; Escape closes them.
  await page.keyboard.press('F1');
  await page.waitForSelector('#keys-box[open]');
  assert.match(await page.textContent('#keys-table'), /Escape/);
  await page.keyboard.press('Escape');
  await page.waitForSelector('#keys-box:not([open])', { state: 'attached' });

  // The same page from a static server on this machine.
  const server = createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    response.end(readFileSync(pagePath));
  });
  await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
  const served = await browser.context.newPage();
  await served.goto(`http://127.0.0.1:${server.address().port}/vymsetup.html`);
  await served.waitForFunction(() => document.getElementById('control-102-1004')?.options.length > 0);
  await served.close();
  server.close();

  // The card through the file chooser.
  const [chooser] = await Promise.all([page.waitForEvent('filechooser'), page.click('label.open-card')]);
  await chooser.setFiles(factoryCard);
  await page.waitForFunction(() => /factory\.bin \(2048 bytes\)/.test(document.getElementById('card-note').textContent));
  await filled();

  // WSS IRQ 7 with the keyboard: Tab to the field, type 7.
  let onField = false;
  for (let i = 0; i < 20 && !onField; ++i) {
    await page.keyboard.press('Tab');
    onField = await page.evaluate(() => document.activeElement.id === 'control-102-1004');
  }
  assert.ok(onField, 'Tab never reached WSS IRQ');
  await page.keyboard.type('7');
  // The pick reaches the program, whose state the page shows; a box it raises is answered.
  await page.waitForFunction(() => {
    const select = document.getElementById('control-102-1004');
    return select.options[select.selectedIndex].text === '7' &&
      /WSS IRQ/.test(document.querySelector('[aria-label^="IRQ 7:"]').getAttribute('aria-label'));
  });
  const pageBoxes = [];
  const answerBox = async (answer) => {
    await page.waitForSelector('#message-box[open]');
    pageBoxes.push({ caption: await page.textContent('#message-caption'), text: await page.textContent('#message-text') });
    const sequence = await page.getAttribute('#message-box', 'data-sequence');
    await page.locator('#message-buttons button', { hasText: answer }).press('Enter');
    await page.waitForFunction((before) => {
      const shown = document.getElementById('message-box');
      return !shown.open || shown.dataset.sequence !== before;
    }, sequence);
  };
  // Enter on a field is OK; the question gets Yes, any other box OK, as the runner answers.
  await page.keyboard.press('Enter');
  for (const box of nativeBoxes) await answerBox(box.answer);
  for (let i = 0; i < nativeBoxes.length; ++i) {
    assert.equal(pageBoxes[i].caption, nativeBoxes[i].caption);
    assert.equal(normalize(pageBoxes[i].text), normalize(nativeBoxes[i].text));
  }

  // The write, paced: the progress dialog shows and goes, and takes its 20 ms a byte (timed
  // from the moment the test sees the dialog, when a byte or two may have gone already).
  const writeStarted = Date.now();
  await page.waitForSelector('.window[data-template="129"] progress');
  const bytesWritten = picked.events.filter((e) => e.event === 'progress').reduce((sum, e) => sum + e.written, 0);
  assert.ok(bytesWritten > 0, 'the native runner wrote nothing');
  await page.waitForSelector('#results:not([hidden])', { timeout: 60000 });
  const writeMs = Date.now() - writeStarted;
  console.log(`page: ${bytesWritten} bytes written in ${writeMs} ms`);
  assert.ok(writeMs >= bytesWritten * 20 * 0.9, `the write took ${writeMs} ms for ${bytesWritten} bytes`);

  // The new image, saved under the card's name, is the native runner's byte for byte.
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#downloads a[download="factory.bin"]')]);
  const saved = readFileSync(await download.path());
  assert.equal(download.suggestedFilename(), 'factory.bin');
  assert.ok(saved.equals(nativeWritten), 'the page wrote other bytes than the native runner');
  // The backup of the card as it was.
  const backupLinks = await page.locator('#downloads a').evaluateAll((links) =>
    links.filter((a) => /backup/.test(a.parentElement.textContent)).map((a) => a.download));
  assert.equal(backupLinks.length, 1, 'no backup offered');
  const [backup] = await Promise.all([page.waitForEvent('download'),
    page.click(`#downloads a[download="${backupLinks[0]}"]`)]);
  assert.ok(readFileSync(await backup.path()).equals(readFileSync(factoryCard)), 'the backup is not the card as it was');

  if (screenshotPath) {
    // The page as a user sees it: run again on the new card, WSS IRQ 7 showing in the map.
    await page.click('#run-again');
    await filled();
    await page.screenshot({ path: screenshotPath, fullPage: true });
  }

  // A card file of the wrong size, dropped on the page: the program's own failed-open box,
  // and a line naming the file and its size.
  await dropFile(page, 'short dump.bin', readFileSync(shortCard));
  await page.waitForSelector('#message-box[open]');
  assert.equal(normalize(await page.textContent('#message-text')), normalize(shortBox.text));
  assert.equal(await page.textContent('#message-caption'), shortBox.caption);
  assert.match(await page.textContent('#card-problem'), /short dump\.bin: 1000 bytes/);
  await page.keyboard.press('Enter');
  await page.waitForSelector('#message-box:not([open])', { state: 'attached' });
  await page.waitForSelector('#results:not([hidden])');
  assert.equal(await page.locator('#downloads a').count(), 0, 'a failed open offered files');

  // The hidden Read Port (F11): the dump's boxes as the native runner shows them, then Escape
  // leaves, and the dump's tt.bin is offered: the first 500 bytes of the card.
  const dumpBoxes = runNative('pace off\nclick "Read Port"\nclick Cancel\n', readyCard())
    .events.filter((e) => e.event === 'messagebox');
  assert.ok(dumpBoxes.length > 0, 'the native dump showed no box');
  const [again] = await Promise.all([page.waitForEvent('filechooser'), page.click('label.open-card')]);
  await again.setFiles(factoryCard);
  await page.waitForFunction(() => /factory\.bin \(2048 bytes\)/.test(document.getElementById('card-note').textContent));
  await filled();
  assert.equal(await page.isHidden('#card-problem'), true, 'the wrong-size line stays for a good card');
  await page.keyboard.press('F11');
  for (const box of dumpBoxes) {
    await page.waitForSelector('#message-box[open]');
    const sequence = await page.getAttribute('#message-box', 'data-sequence');
    assert.equal(await page.textContent('#message-caption'), box.caption);
    assert.equal(normalize(await page.textContent('#message-text')), normalize(box.text));
    await page.keyboard.press('Enter');
    // Closed, or already the next box.
    await page.waitForFunction((before) => {
      const shown = document.getElementById('message-box');
      return !shown.open || shown.dataset.sequence !== before;
    }, sequence);
  }
  await page.keyboard.press('Escape');
  await page.waitForSelector('#results:not([hidden])');
  const [dump] = await Promise.all([page.waitForEvent('download'), page.click('#downloads a[download="tt.bin"]')]);
  assert.ok(readFileSync(await dump.path()).equals(readFileSync(factoryCard).subarray(0, 500)),
    'tt.bin is not the first 500 bytes of the card');
  assert.equal(await page.locator('#downloads a').count(), 1, 'Cancel after the dump offered more than tt.bin');

  // Another card dropped while a box waits: the run ends at once, asks nothing more, and
  // starts again on the new card.
  await page.click('#run-again');
  await filled();
  await page.keyboard.press('F11');
  await page.waitForSelector('#message-box[open]');
  await dropFile(page, 'other card.bin', readFileSync(factoryCard));
  await page.waitForFunction(() => /other card\.bin \(2048 bytes\)/.test(document.getElementById('card-note').textContent));
  await filled();
  assert.equal(await page.isVisible('#message-box'), false, 'a box of the ended run is still open');

  // An IRQ two devices share: the program's warning, and the map marks the overlap.
  const overlapBox = runNative('pick "Midi-2 IRQ" 9\nclick Cancel\n', readyCard())
    .events.find((e) => e.event === 'messagebox');
  assert.ok(overlapBox, 'the native runner warned of no overlap');
  await page.focus('#control-102-1014');
  await page.keyboard.type('9');
  await page.waitForSelector('#message-box[open]');
  assert.equal(normalize(await page.textContent('#message-text')), normalize(overlapBox.text));
  assert.equal(await page.getAttribute('#message-icon', 'class'), 'exclamation');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => {
    const slot = document.querySelector('[aria-label^="IRQ 9:"]');
    return slot.classList.contains('overlap') && /Midi-1 IRQ, Midi-2 IRQ \(overlap\)/.test(slot.getAttribute('aria-label'));
  });
  assert.equal(await page.locator('.slot.overlap').count(), 1, 'another slot marked as overlapping');

  // The close box leaves as Cancel does: nothing written, nothing to save.
  await page.click('.window[data-template="102"] .close-box');
  await page.waitForSelector('#results:not([hidden])');
  assert.equal(await page.locator('#downloads a').count(), 0, 'the close box wrote something');

  assert.deepEqual(errors, [], 'errors on the page');
} catch (error) {
  failures.push(error);
} finally {
  await browser.close();
}
if (browser.refused.length) failures.push(new Error('requests off this machine: ' + browser.refused.join(', ')));
rmSync(work, { recursive: true, force: true });
if (failures.length) {
  for (const failure of failures) console.error(failure);
  process.exit(1);
}
console.log('page: all checks passed');

// Debian's Chromium, headless, in a fresh profile, with everything that would reach the
// network off; every request the page makes that is not of the page's own file (file:, data:,
// blob:) or of this machine (loopback) is refused and counted, so a test can fail on it.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

export const CHROMIUM = process.env.VYM_CHROMIUM || '/usr/bin/chromium';

const ARGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export function isLocal(url) {
  if (/^(file|data|blob|about):/.test(url)) return true;
  try {
    const host = new URL(url).hostname;
    return host === 'localhost' || host === '127.0.0.1' || host === '[::1]';
  } catch {
    return false;
  }
}

export async function openBrowser() {
  const profile = mkdtempSync(join(tmpdir(), 'vymsetup-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: ARGS,
    acceptDownloads: true,
    viewport: { width: 1280, height: 760 },
  });
  const refused = [];
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (isLocal(url)) return route.continue();
    refused.push(url);
    return route.abort('blockedbyclient');
  });
  context.on('request', (request) => {
    if (!isLocal(request.url()) && !refused.includes(request.url())) refused.push(request.url());
  });
  return {
    context,
    refused,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// The sample pages the build publishes: the index links every show and every show runs.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { binDir, launch, serve } from './support.mjs';

let server, browser;

before(async () => {
    server = await serve(path.join(binDir, 'resources/samples'));
    browser = await launch();
});

after(async () => {
    await browser?.close();
    await server?.close();
});

test('every sample linked from the index shows its first picture and changes', async () => {
    const context = await browser.newContext();
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(`${server.url}index.html`);
    const links = await page.$$eval('a[href$=".html"]', (a) => a.map((e) => e.getAttribute('href')));
    assert.equal(links.length, 4);
    await page.clock.install();
    for (const link of links) {
        await page.goto(server.url + link);
        const slides = page.locator('[role=region] > *');
        await page.waitForFunction(() => document.querySelector('[role=region] img')?.naturalWidth > 0);
        assert.ok(await slides.count() >= 3, link);
        // Past the longest hold of the samples the second picture is in sight.
        await page.clock.runFor(6100);
        await slides.nth(1).and(page.locator('[aria-hidden=false]')).waitFor();
    }
    assert.deepEqual(errors, []);
    await context.close();
});

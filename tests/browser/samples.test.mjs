// The sample pages the build makes: each is a valid page whose show runs and whose links lead
// somewhere, and the index shows and links them all.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { HtmlValidate } from 'html-validate';
import { binDir, launch, openPage, serve } from './support.mjs';

const folder = path.join(binDir, 'resources/samples');
const samples = ['banner', 'article', 'sidebox', 'strip'];
const pages = ['index.html', ...samples.map((sample) => `${sample}/index.html`)];

// The HTML standard's rules for a whole document, with two allowances for the code Velloria
// writes for pasting: language="javascript" on a script is obsolete but still conforming, and
// integrity hashes only matter for files from another site.
const validator = new HtmlValidate({
    extends: ['html-validate:standard', 'html-validate:document', 'html-validate:a11y'],
    elements: ['html5', { script: { attributes: { language: { deprecated: false } } } }],
    rules: { 'require-sri': ['error', { target: 'crossorigin' }] },
});

let server, browser;

before(async () => {
    server = await serve(folder);
    browser = await launch();
});

after(async () => {
    await browser?.close();
    await server?.close();
});

test('the index and every sample are valid HTML5 pages in UTF-8 with a heading', async () => {
    for (const page of pages) {
        const text = fs.readFileSync(path.join(folder, page), 'utf8');
        const report = await validator.validateString(text, page);
        const messages = report.results.flatMap((r) => r.messages)
            .map((m) => `${page}:${m.line}:${m.column} ${m.ruleId}: ${m.message}`);
        assert.deepEqual(messages, []);
        assert.match(text, /<meta charset="utf-8">/, page);
        assert.match(text, /<h1[ >]/, page);
    }
});

test('the index shows a still of each sample and links to every one', async () => {
    const page = await openPage(browser, `${server.url}index.html`);
    const links = await page.$$eval('.gallery a', (a) => a.map((e) => e.getAttribute('href')));
    assert.deepEqual(links, pages.slice(1));
    await page.waitForFunction(() => [...document.images].every((i) => i.complete));
    const stills = await page.$$eval('.gallery img', (i) => i.map((e) => e.naturalWidth));
    assert.equal(stills.length, samples.length);
    assert.ok(stills.every((width) => width > 0), `stills: ${stills}`);
    assert.deepEqual(page.errors, []);
    await page.context().close();
});

// The slide pictures a visitor sees whole: loaded, visible and fully opaque up to the show.
function shownPictures(host) {
    return [...host.querySelectorAll('img')].filter((img) => {
        if (!img.complete || !img.naturalWidth || !img.checkVisibility()) return false;
        for (let e = img; e !== host.parentElement; e = e.parentElement) {
            if (+getComputedStyle(e).opacity < 0.99) return false;
        }
        return true;
    }).map((img) => img.src.split('/').pop());
}

// Each show holds its first picture a few seconds: the samples are visited side by side.
test('every sample shows its first picture, then its second, and its links resolve', async () => {
    await Promise.all(samples.map(async (sample) => {
        const url = `${server.url}${sample}/index.html`;
        const page = await openPage(browser, url);
        await page.evaluate(`window.shownPictures = ${shownPictures}`);
        for (const picture of ['slider0.jpg', 'slider1.jpg']) {
            await page.waitForFunction((name) => window.shownPictures(
                document.querySelector('[id$="_div"]')).includes(name), picture,
            { timeout: 20000, polling: 50 });
        }
        const links = await page.evaluate(() => [...document.links].map((a) => a.href));
        assert.ok(links.includes(`${server.url}index.html`), `${sample} links back to the index`);
        for (const link of new Set(links)) {
            const target = new URL(link);
            assert.equal(target.origin, new URL(url).origin, `${sample} links away: ${link}`);
            if (target.hash && target.pathname === new URL(url).pathname) {
                const id = decodeURIComponent(target.hash.slice(1));
                assert.ok(await page.$(`[id="${id}"]`), `${sample}: nothing at ${target.hash}`);
            } else {
                const response = await page.request.get(link);
                assert.equal(response.status(), 200, `${sample}: ${link}`);
            }
        }
        assert.deepEqual(page.errors, [], sample);
        await page.context().close();
    }));
});

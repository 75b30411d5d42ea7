// One published show as a visitor meets it: what is on the page, how pictures change, clicks.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { after, before, describe, test } from 'node:test';
import {
    closeSite, coverage, openPage, openSite, publishShow, recordFrames, shownSequence, shownSlide, waitForShown,
} from './support.mjs';

const slides = [
    { seed: 1, link: 'page1.html', target: '_self', tooltip: 'Harbour at dawn' },
    { seed: 2, link: 'https://example.org/p?a=1&b=2', target: '_blank', tooltip: "Meadow's \"edge\"" },
    { seed: 3, link: '', tooltip: '' },
    { seed: 4, link: 'page4.html', target: 'frameA', tooltip: 'Tower', width: 480, height: 240 },
];

let folder, server, browser;

before(async () => ({ folder, server, browser } = await openSite('show', (at) => {
    publishShow(at, { name: 'Shore', width: 200, height: 150, bgColor: '336699',
        borderWidth: 5, borderStyle: 6, borderColor: 'FF8800', delay: 0, step: 15, slides });
    fs.writeFileSync(`${at}/page1.html`, '<title>Page one</title>');
})));

after(() => closeSite({ folder, server, browser }));

describe('a published show', () => {
    test('builds every slide with its link, target, title and alt text', async () => {
        const page = await openPage(browser, `${server.url}Shore.html`);
        await page.waitForSelector('#Shore_div [role=region]');
        const found = await page.$$eval('#Shore_div [role=region] > *', (nodes) => nodes.map((n) => ({
            tag: n.tagName, href: n.getAttribute('href'), target: n.getAttribute('target'),
            title: n.getAttribute('title'), alt: n.querySelector('img').getAttribute('alt'),
            width: n.querySelector('img').width, height: n.querySelector('img').height,
        })));
        assert.deepEqual(found, [
            { tag: 'A', href: 'page1.html', target: '_self', title: 'Harbour at dawn',
                alt: 'Harbour at dawn', width: 200, height: 150 },
            { tag: 'A', href: 'https://example.org/p?a=1&b=2', target: '_blank',
                title: "Meadow's \"edge\"", alt: "Meadow's \"edge\"", width: 200, height: 150 },
            { tag: 'DIV', href: null, target: null, title: null, alt: '', width: 200, height: 150 },
            { tag: 'A', href: 'page4.html', target: 'frameA', title: 'Tower', alt: 'Tower',
                width: 300, height: 150 },
        ]);
        assert.deepEqual(page.errors, []);
        await page.context().close();
    });

    test('fades the first picture in inside the border and on the background', async () => {
        const page = await openPage(browser, `${server.url}Shore.html`);
        await page.waitForFunction(() => getComputedStyle(
            document.querySelector('#Shore_div [role=region] > *')).opacity === '1');
        const look = await page.evaluate(() => {
            const host = document.getElementById('Shore_div');
            const box = host.querySelector('[role=region]');
            const hostStyle = getComputedStyle(host);
            const first = box.children[0].getBoundingClientRect();
            const inner = box.getBoundingClientRect();
            return {
                border: [hostStyle.borderTopWidth, hostStyle.borderTopStyle, hostStyle.borderTopColor],
                background: getComputedStyle(box).backgroundColor,
                label: box.getAttribute('aria-label'),
                box: [inner.width, inner.height],
                firstAt: [first.left - inner.left, first.top - inner.top],
                opacities: [...box.children].map((s) => getComputedStyle(s).opacity),
                hidden: [...box.children].map((s) => s.getAttribute('aria-hidden')),
                visibility: [...box.children].map((s) => getComputedStyle(s).visibility),
                tabIndex: [...box.children].map((s) => s.tabIndex),
                natural: box.querySelector('img').naturalWidth,
            };
        });
        assert.deepEqual(look.border, ['5px', 'ridge', 'rgb(255, 136, 0)']);
        assert.equal(look.background, 'rgb(51, 102, 153)');
        assert.equal(look.label, 'Slide show');
        assert.deepEqual(look.box, [200, 150]);
        assert.deepEqual(look.firstAt, [0, 0]);
        assert.deepEqual(look.opacities, ['1', '0', '0', '0']);
        assert.deepEqual(look.hidden, ['false', 'true', 'true', 'true']);
        assert.deepEqual(look.visibility, ['visible', 'hidden', 'hidden', 'hidden']);
        assert.deepEqual(look.tabIndex, [0, -1, -1, -1]);
        assert.equal(look.natural, 200);
        await page.context().close();
    });

    test('fades through every slide in order and back to the first, loading ahead', async () => {
        const page = await openPage(browser, `${server.url}Shore.html`);
        const loadedAtStart = server.requests.filter((r) => r.endsWith('.jpg'));
        await recordFrames(page, 'Shore_div');
        const frames = await waitForShown(page, 'Shore_div', 5, 40000);
        assert.deepEqual(shownSequence(frames), [0, 1, 2, 3, 0]);
        // Once the first picture shows, the background never shows through: no dip.
        const start = frames.findIndex((f) => shownSlide(f) >= 0);
        const least = Math.min(...frames.slice(start).map(coverage));
        assert.ok(least > 0.99, `the pictures covered only ${least} of the box`);
        // Every change, the wrap included, passes through partial opacity of the incoming slide.
        for (const incoming of [1, 2, 3, 0]) {
            const partial = frames.filter((f) => f[incoming].opacity > 0 && f[incoming].opacity < 1);
            assert.ok(partial.length >= 2, `slide ${incoming} faded in over ${partial.length} frames`);
        }
        assert.ok(!loadedAtStart.some((r) => /slider[23]\.jpg$/.test(r)),
            `later pictures loaded at start: ${loadedAtStart}`);
        assert.deepEqual(page.errors, []);
        await page.context().close();
    });

    test('a click follows the link of the picture in sight, never of a faded-out one', async () => {
        const page = await openPage(browser, `${server.url}Shore.html`);
        await page.waitForSelector('#Shore_div [role=region]');
        // The last slide is stacked above the first in the document yet faded out.
        const top = await page.evaluate(() => {
            const box = document.querySelector('#Shore_div [role=region]');
            const r = box.getBoundingClientRect();
            return document.elementFromPoint(r.left + 100, r.top + 75).closest('a')?.getAttribute('href');
        });
        assert.equal(top, 'page1.html');
        await page.mouse.click(...(await center(page)));
        await page.waitForURL(/page1\.html$/);
        assert.equal(await page.title(), 'Page one');
        await page.context().close();
    });
});

async function center(page) {
    const box = await page.locator('#Shore_div [role=region]').boundingBox();
    return [box.x + box.width / 2, box.y + box.height / 2];
}

// The show in today's sites: a strict content security policy, touch screens, names that mean
// something to a visitor, and sites that update only one of the two scripts. The fixtures are
// the runtime and a configuration script as version 1.0 published them.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { closeSite, openSite, publishShow } from './support.mjs';

const fixtures = path.join(path.dirname(fileURLToPath(import.meta.url)), 'fixtures');
const id = 'HarbourShow2026';
const strict = "default-src 'self'; script-src 'self'; style-src 'self'; img-src 'self'";
// The pasted code as it is, the style attribute of the <div> included, which the policy blocks.
const page = (runtime, cfg, policy) => `<!doctype html><html lang="en"><head><title>Page</title>
<meta name="viewport" content="width=device-width">${policy ?
    `<meta http-equiv="Content-Security-Policy" content="${policy}">` : ''}
<link href="./velloria.css" type=text/css rel=stylesheet></head><body><main>
<script language="javascript" src="./${runtime}"></script>
<script language="javascript" src="./${cfg}"></script>
<div id="${id}_div" style="width:160px;height:120px;"></div></main></body></html>`;

const phone = { hasTouch: true, isMobile: true, viewport: { width: 390, height: 700 } };
const names = ['Slide show', 'Slide 1 of 3, Harbour at dawn', 'Slide 2 of 3', 'Pause slide show'];

// button: its opacity at rest and whether it is at least 24 x 24 CSS pixels. picture: the
// first slide's file and its pixels per CSS pixel of its box. The photos have twice the
// show's rows, so each slide has a sharp one, which only the new runtime and script name.
const plain = ['slider0.jpg', 1], sharp = ['slider0@2x.jpg', 2];
const cases = [
    { name: 'strict policy', runtime: 'velloria.js', cfg: 'velloriacfg.js', policy: strict,
        expect: { blocked: ['style-src-attr'], host: [168, 128], button: ['0', true], names,
            picture: plain } },
    { name: 'touch screen', runtime: 'velloria.js', cfg: 'velloriacfg.js', policy: strict,
        context: phone, expect: { blocked: ['style-src-attr'], host: [168, 128],
            button: ['1', true], names, tapped: 'Play slide show', picture: plain } },
    { name: 'old runtime, new configuration', runtime: 'velloria-1.0.js', cfg: 'velloriacfg.js',
        policy: strict, context: { deviceScaleFactor: 2 }, expect: { blocked: ['style-src-attr'],
            host: [168, 128], button: ['0', true], picture: plain } },
    { name: 'new runtime, old configuration', runtime: 'velloria.js', cfg: 'velloriacfg-1.0.js',
        context: { ...phone, deviceScaleFactor: 3 }, expect: { blocked: [], host: [168, 128],
            button: ['1', true], names, picture: plain } },
    { name: 'high-density screen', runtime: 'velloria.js', cfg: 'velloriacfg.js', policy: strict,
        context: { ...phone, deviceScaleFactor: 2 }, expect: { blocked: ['style-src-attr'],
            host: [168, 128], button: ['1', true], names, picture: sharp } },
];

let folder, server, browser;

before(async () => ({ folder, server, browser } = await openSite('modern', (at) => {
    publishShow(at, { name: id, width: 160, height: 120, bgColor: '336699', borderWidth: 4,
        borderStyle: 3, delay: 0, step: 3, slides: [
            { seed: 1, link: 'page1.html', tooltip: 'Harbour at dawn' },
            { seed: 2, link: 'page2.html', target: '_blank' }, { seed: 3 }] });
    fs.cpSync(fixtures, at, { recursive: true });
    cases.forEach((c, i) => fs.writeFileSync(path.join(at, `case${i}.html`),
        page(c.runtime, c.cfg, c.policy)));
})));

after(() => closeSite({ folder, server, browser }));

test('the show runs under a strict policy, on touch and high-density screens, beside older files', async () => {
    for (const [i, c] of cases.entries()) {
        const context = await browser.newContext(c.context);
        const p = await context.newPage();
        p.errors = [];
        p.on('pageerror', (error) => p.errors.push(error.message));
        await p.addInitScript(() => {
            window.blocked = [];
            document.addEventListener('securitypolicyviolation',
                (e) => blocked.push(e.effectiveDirective));
        });
        await p.goto(`${server.url}case${i}.html`);
        const host = p.locator(`#${id}_div`);
        // At rest: the first picture in sight, neither pointer nor focus on the show.
        await until(p, c, 'the first picture', ':first-child');
        const seen = await host.evaluate(async (h, showId) => {
            const button = h.querySelector('button'), b = button.getBoundingClientRect();
            const r = h.getBoundingClientRect();
            const spoken = [...h.querySelectorAll('*')].flatMap((e) => [e.ariaLabel, e.title, e.alt]);
            // naturalWidth counts a 2x picture in CSS pixels: its own pixels come from a copy.
            const img = h.querySelector('img'), pixels = new Image();
            pixels.src = img.currentSrc;
            await pixels.decode();
            return { blocked: window.blocked, host: [r.width, r.height],
                picture: [img.currentSrc.split('/').pop(),
                    pixels.naturalWidth / img.getBoundingClientRect().width],
                button: [getComputedStyle(button).opacity, b.width >= 24 && b.height >= 24],
                names: [...h.querySelectorAll('[aria-label]')].map((e) => e.ariaLabel),
                nameless: !spoken.some((s) => s?.includes(showId)) };
        }, id);
        // Runs: the second picture comes in sight.
        await until(p, c, 'the second picture', ':nth-child(2)');
        if (c.expect.tapped) {
            await p.tap(`#${id}_div button`);
            seen.tapped = await p.$eval(`#${id}_div button`, (b) => b.ariaLabel);
            assert.equal(new URL(p.url()).pathname, `/case${i}.html`, `${c.name}: a tap left the page`);
        }
        // The older runtime's names are its own business.
        const { names: said, nameless, ...rest } = seen;
        assert.deepEqual({ ...rest, ...(c.expect.names && { names: said, nameless }), errors: p.errors },
            { ...c.expect, ...(c.expect.names && { nameless: true }), errors: [] }, c.name);
        await context.close();
    }
});

// Waits for the slide that matches which to be in sight; if it never is, fails with what the
// page blocked and threw.
async function until(p, c, what, which) {
    await p.waitForSelector(`#${id}_div [role=region] > ${which}[aria-hidden=false]`,
        { timeout: 15000 }).catch(async () => {
        assert.fail(`${c.name}: ${what} never came in sight; blocked ` +
            `${await p.evaluate(() => window.blocked)}, errors ${p.errors}`);
    });
}

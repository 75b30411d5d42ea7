// The show pasted into real pages: phones, site-wide resets, files in a folder, wide pictures
// before narrow ones, items without a picture, accessibility and text beyond ASCII.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
    closeSite, openPage, openSite, pngPixels, publishShow, recordFrames, shownSequence, waitForShown,
} from './support.mjs';

const axePath = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const code = (folder) => `<link href="./${folder}/velloria.css" type=text/css rel=stylesheet>
<script language="javascript" src="./${folder}/velloria.js"></script>
<script language="javascript" src="./${folder}/velloriacfg.js"></script>`;
const reset = `<style>*,*::before,*::after{box-sizing:border-box} body{line-height:1.8}
img{max-width:100%;height:auto;display:inline;vertical-align:middle;border:3px solid red;
padding:4px;margin:5px;opacity:.6;border-radius:9px} a{display:inline;position:relative;
padding:6px;line-height:3;outline:none;opacity:.9} div{padding:10px;line-height:2.5;
position:static} button{all:unset;width:90px}</style>`;
const page = (head, body) => `<!doctype html><html lang="en"><head><title>Page</title>
<meta name="viewport" content="width=device-width">${head}</head><body style="margin:0;padding:16px">
<main>${body}<h1>Page</h1></main></body></html>`;
const intlTips = ['Square – café art', 'Dawn 🌅 über Zürich'];

let folder, server, browser;

before(async () => ({ folder, server, browser } = await openSite('real', (at) => {
    folder = at;
    // A wide show, published into a folder of the site as a designer would upload it.
    publishShow(path.join(at, 'shows'), { name: 'Phone', width: 606, height: 250,
        borderWidth: 4, borderStyle: 3, borderColor: '224466', delay: 0, step: 6, slides: [
            { seed: 1, width: 640, height: 260, link: 'a.html', tooltip: 'Harbour' },
            { seed: 2, link: 'b.html', tooltip: 'Meadow' }] });
    const phone = '<div id="Phone_div" style="width:606px;height:250px;"></div>';
    fs.writeFileSync(path.join(at, 'plain.html'), page(code('shows'), phone));
    fs.writeFileSync(path.join(at, 'reset.html'), page(reset + code('shows'), phone));
    // Wide, then narrow, on a background no picture has.
    publishShow(path.join(at, 'wide'), { name: 'Wide', width: 300, height: 150, bgColor: 'FF00FF',
        delay: 0, step: 60, slides: [{ seed: 1, width: 640, height: 240 },
            { seed: 2, width: 240, height: 240 }, { seed: 3 }] });
    // No tooltips; the second item's picture was missing at every publish.
    publishShow(path.join(at, 'plain'), { name: 'Bare', width: 200, height: 150, delay: 0,
        step: 3, slides: [1, 2, 3].map((seed) => ({ seed, link: `p${seed}.html` })) });
    const cfg = path.join(at, 'plain/velloriacfg.js');
    fs.writeFileSync(cfg, fs.readFileSync(cfg, 'latin1').replace(
        /CIBare\(\['slider1\.jpg','p2\.html','_self','',\d+,\d+\]\);/, "CIBare(['','p2.html','_self','',,]);"));
    publishShow(path.join(at, 'lone'), { name: 'Lone', width: 200, height: 150, slides: [{ seed: 4 }] });
    publishShow(path.join(at, 'intl'), { name: 'Intl', width: 200,
        height: 150, borderWidth: 4, borderStyle: 3, delay: 0, step: 3, slides: intlTips.map(
            (tooltip, i) => ({ seed: i + 1, link: `été${i}.html`, tooltip })) });
    fs.writeFileSync(path.join(at, 'intl/sjis.html'), `<html><head><meta charset="shift_jis">
</head><body>${code('.')}<div id="Intl_div" style="width:200px;height:150px;"></div></body></html>`);
})));

after(() => closeSite({ folder, server, browser }));

// Sizes in the page of the show in element id: host, box and the first slide's picture.
function geometry(target, id) {
    return target.evaluate((hostId) => {
        const host = document.getElementById(hostId);
        const rect = (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; };
        const origin = rect(host);
        const relative = (e) => rect(e).map((v, i) => +(i < 2 ? v - origin[i] : v).toFixed(2));
        const box = host.querySelector('[role=region]');
        return { host: origin.slice(2).map((v) => +v.toFixed(2)), box: relative(box),
            img: relative(box.querySelector('img')), border: getComputedStyle(host).borderLeftWidth,
            pageWidth: document.documentElement.scrollWidth };
    }, id);
}

async function firstShown(target, id) {
    await target.waitForFunction((hostId) => {
        const slide = document.querySelector(`#${hostId} [role=region] > *`);
        return slide && getComputedStyle(slide).opacity === '1';
    }, id);
}

// axe-core's findings for the show in element id under the WCAG 2.2 AA rules.
async function audit(target, id) {
    await target.addScriptTag({ path: axePath });
    return target.evaluate(async (hostId) => {
        const result = await axe.run(document.getElementById(hostId),
            { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] });
        return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.html).join(' ')}`);
    }, id);
}

describe('the show in real pages', () => {
    test('on a 375-pixel phone it scales down whole; on a desktop it keeps its size', async () => {
        const phone = await openPage(browser, `${server.url}plain.html`,
            { viewport: { width: 375, height: 700 } });
        await firstShown(phone, 'Phone_div');
        const small = await geometry(phone, 'Phone_div');
        const scale = 343 / 614;
        assert.equal(small.pageWidth, 375, 'the page scrolls sideways');
        const near = (a, b) => a.every((v, i) => Math.abs(v - b[i]) <= 0.5);
        assert.ok(near(small.host, [343, 258 * scale]), `${small.host}`);
        assert.equal(small.border, '2px');
        assert.ok(near(small.box, [2, 2, 339, 258 * scale - 4]), `${small.box}`);
        // The wide first picture keeps its proportions, centred and clipped by the box.
        assert.ok(Math.abs(small.img[2] / small.img[3] - 615 / 250) < 0.01, `${small.img}`);
        const desk = await openPage(browser, `${server.url}plain.html`,
            { viewport: { width: 1280, height: 700 } });
        await firstShown(desk, 'Phone_div');
        const full = await geometry(desk, 'Phone_div');
        assert.deepEqual([full.host, full.box, full.border], [[614, 258], [4, 4, 606, 250], '4px']);
        assert.deepEqual([phone.errors, desk.errors], [[], []]);
        await phone.context().close();
        await desk.context().close();
    });

    test("a page's resets for img, a, div and button leave the show as it is", async () => {
        const shots = [];
        for (const name of ['plain', 'reset']) {
            const p = await openPage(browser, `${server.url}${name}.html`,
                { viewport: { width: 800, height: 500 }, reducedMotion: 'reduce' });
            await firstShown(p, 'Phone_div');
            const look = await geometry(p, 'Phone_div');
            await p.hover('#Phone_div');
            await p.waitForFunction(() => getComputedStyle(document.querySelector('#Phone_div button')).opacity === '1');
            const button = await p.$eval('#Phone_div button', (b) => [b.offsetWidth, b.offsetHeight]);
            shots.push({ look, button, png: await p.locator('#Phone_div').screenshot() });
            await p.context().close();
        }
        assert.deepEqual(shots[1].look, shots[0].look);
        assert.deepEqual(shots[1].button, [28, 28]);
        const [plain, reset] = shots.map((s) => pngPixels(s.png));
        const differ = [];
        for (let y = 0; y < plain.height; y++) {
            for (let x = 0; x < plain.width; x++) {
                if (distance(plain.pixel(x, y), reset.pixel(x, y)) > 0) differ.push([x, y]);
            }
        }
        assert.deepEqual(differ.slice(0, 8), [], `${differ.length} pixels differ under the reset`);
    });

    test('finds its pictures beside its script in a subfolder, or beside the page as before', async () => {
        const p = await openPage(browser, `${server.url}plain.html`);
        await firstShown(p, 'Phone_div');
        const pictures = server.requests.filter((r) => r.endsWith('.jpg'));
        assert.ok(pictures.includes('/shows/slider0.jpg'), pictures.join());
        assert.ok(!pictures.some((r) => r.startsWith('/slider')), pictures.join());
        // The runtime moved to a folder of its own; pictures and configuration stay with the page.
        fs.mkdirSync(path.join(folder, 'js'), { recursive: true });
        fs.copyFileSync(path.join(folder, 'shows/velloria.js'), path.join(folder, 'js/velloria.js'));
        fs.writeFileSync(path.join(folder, 'shows/moved.html'), page(code('.').replace(
            './velloria.js', '../js/velloria.js'), '<div id="Phone_div"></div>'));
        const moved = await openPage(browser, `${server.url}shows/moved.html`);
        await firstShown(moved, 'Phone_div');
        assert.ok(await moved.$eval('#Phone_div img', (i) => i.naturalWidth > 0));
        await p.context().close();
        await moved.context().close();
    });

    test('a wide picture gives way to a narrow one without a hard cut, frame by frame', async () => {
        const context = await browser.newContext();
        const p = await context.newPage();
        await p.clock.install({ time: 0 });
        await p.clock.pauseAt(1000);
        await p.goto(`${server.url}wide/Wide.html`);
        const box = await p.locator('#Wide_div [role=region]').boundingBox();
        const magenta = [255, 0, 255];
        const first = await sampleFade(p, 0, box, [[150, 75]]);
        assert.ok(first.decoded, 'the first picture faded in before it was decoded');
        assert.ok(distance(first.frames[0][0], magenta) < 10, 'the first picture did not fade in');
        assert.ok(distance(first.frames.at(-1)[0], magenta) > 100);
        await p.clock.runFor(2000 + 3000);
        // A point left of the narrow picture, and one in the middle that both cover.
        const { frames } = await sampleFade(p, 1, box, [[20, 75], [150, 75]]);
        await p.clock.runFor(2000);
        const end = pngPixels(await p.screenshot({ clip: box }));
        frames.push([end.pixel(20, 75), end.pixel(150, 75)]);
        const edge = frames.map((f) => f[0]), middle = frames.map((f) => f[1]);
        const progress = edge.map((c) => along(c, edge[0], magenta));
        assert.ok(progress.at(-1) > 0.97, `the edge ended at ${edge.at(-1)}`);
        const jump = Math.max(...progress.slice(1).map((v, i) => v - progress[i]));
        assert.ok(jump < 0.2, `the edge changed by ${jump} in one frame: ${progress.map((v) => v.toFixed(2))}`);
        for (const c of middle) {
            assert.ok(offSegment(c, middle[0], middle.at(-1)) < 12, `the middle dipped to ${c}`);
        }
        await context.close();
    });

    test('leaves out an item without a picture', async () => {
        const p = await openPage(browser, `${server.url}plain/Bare.html`);
        await recordFrames(p, 'Bare_div');
        const frames = await waitForShown(p, 'Bare_div', 3);
        assert.deepEqual(shownSequence(frames).slice(0, 3), [0, 1, 0]);
        assert.deepEqual(await p.$$eval('#Bare_div a', (a) => a.map((e) => e.getAttribute('href'))),
            ['p1.html', 'p3.html']);
        assert.ok(!server.requests.includes('/plain/'), 'an empty name was asked for');
        await p.context().close();
        // One picture left: nothing to pause, so no pause button.
        const lone = await openPage(browser, `${server.url}lone/Lone.html`);
        await firstShown(lone, 'Lone_div');
        assert.equal(await lone.$$eval('#Lone_div button', (b) => b.length), 0);
        await lone.context().close();
    });

    test('names every slide and passes axe-core with and without tooltips', async () => {
        fs.writeFileSync(path.join(folder, 'plain/audit.html'), page(code('.'),
            '<div id="Bare_div" style="width:200px;height:150px;"></div>'));
        const names = [];
        for (const [url, id] of [['plain.html', 'Phone_div'], ['plain/audit.html', 'Bare_div']]) {
            const p = await openPage(browser, `${server.url}${url}`);
            await firstShown(p, id);
            assert.deepEqual(await audit(p, id), [], `${id} at rest`);
            await p.keyboard.press('Tab');
            assert.deepEqual(await audit(p, id), [], `${id} with a slide focused`);
            names.push(await p.evaluate(() => document.activeElement.ariaLabel || document.activeElement.textContent ||
                document.activeElement.querySelector('img').alt));
            await p.keyboard.press('Tab');
            names.push(await p.evaluate(() => document.activeElement.ariaLabel));
            await p.context().close();
        }
        assert.deepEqual(names, ['Slide 1 of 2, Harbour', 'Pause slide show', 'Slide 1 of 2', 'Pause slide show']);
    });

    test('rings the focused slide inside the box, where nothing clips it', async () => {
        const p = await openPage(browser, `${server.url}plain.html`, { reducedMotion: 'reduce' });
        await firstShown(p, 'Phone_div');
        await p.keyboard.press('Tab');
        const box = await p.locator('#Phone_div [role=region]').boundingBox();
        const shot = pngPixels(await p.screenshot({ clip: box }));
        for (const [x, y] of [[1, 125], [604, 125], [300, 1], [300, 248]]) {
            assert.ok(distance(shot.pixel(x, y), [255, 255, 255]) < 30, `no white ring at ${x},${y}`);
        }
        for (const [x, y] of [[3, 125], [602, 125], [300, 3], [300, 246]]) {
            assert.ok(distance(shot.pixel(x, y), [0, 0, 0]) < 30, `no dark ring at ${x},${y}`);
        }
        await p.context().close();
    });

    test('shows tooltips and links beyond ASCII in pages of any character set', async () => {
        for (const file of ['Intl.html', 'velloriacfg.js', 'velloria.css']) {
            const bytes = fs.readFileSync(path.join(folder, 'intl', file));
            assert.ok(bytes.every((b) => b < 0x80), `${file} is not plain ASCII`);
        }
        for (const url of ['intl/Intl.html', 'intl/sjis.html']) {
            const p = await openPage(browser, `${server.url}${url}`);
            await firstShown(p, 'Intl_div');
            const seen = await p.$$eval('#Intl_div a', (a) => a.map((e) =>
                [e.title, e.querySelector('img').alt, decodeURIComponent(e.pathname)]));
            assert.deepEqual(seen, intlTips.map((tip, i) => [tip, tip, `/intl/été${i}.html`]), url);
            assert.equal(await p.$eval('#Intl_div', (e) => getComputedStyle(e).borderLeftWidth), '4px');
            assert.deepEqual(p.errors, []);
            await p.context().close();
        }
    });
});

function distance(a, b) {
    return Math.hypot(...a.map((v, i) => v - b[i]));
}

// How far colour c has gone from a towards b, from 0 to 1.
function along(c, a, b) {
    const d = b.map((v, i) => v - a[i]);
    return c.reduce((sum, v, i) => sum + (v - a[i]) * d[i], 0) / d.reduce((s, v) => s + v * v, 0);
}

// How far colour c lies from every mix of colours a and b.
function offSegment(c, a, b) {
    const t = Math.min(1, Math.max(0, along(c, a, b)));
    return distance(c, a.map((v, i) => v + t * (b[i] - v)));
}

// Holds the fade-in of slide index at 21 points of its course and reads the given points of
// box at each; decoded tells whether its picture was whole when the fade began.
// The page's clock is the test's: polled from outside.
async function sampleFade(p, index, box, points) {
    let decoded;
    for (const deadline = Date.now() + 10000; !decoded && Date.now() < deadline;) {
        decoded = await p.evaluate((i) => {
            const slide = document.querySelectorAll('#Wide_div [role=region] > *')[i];
            const fade = slide.getAnimations()[0], img = slide.querySelector('img');
            if (!fade) return null;
            fade.pause();
            window.velloriaFade = fade;
            return { decoded: img.complete && img.naturalWidth > 0 };
        }, index);
    }
    assert.ok(decoded, `slide ${index} never faded in`);
    const frames = [];
    for (let k = 0; k <= 20; k++) {
        await p.evaluate((t) => {
            velloriaFade.currentTime = t * velloriaFade.effect.getComputedTiming().duration;
        }, k / 20);
        const shot = pngPixels(await p.screenshot({ clip: box }));
        frames.push(points.map(([x, y]) => shot.pixel(x, y)));
    }
    await p.evaluate(() => velloriaFade.finish());
    return { ...decoded, frames };
}

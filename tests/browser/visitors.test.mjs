// Kindness to visitors: pauses, hidden pages, reduced motion. The page's clock is driven by
// the test, so a 3 s hold costs no waiting.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { after, before, describe, test } from 'node:test';
import {
    closeSite, openPage, openSite, publishShow,
} from './support.mjs';

let folder, server, browser;

before(async () => ({ folder, server, browser } = await openSite('visitors', (at) => {
    publishShow(at, { name: 'Calm', width: 160, height: 120, delay: 0, step: 6,
        slides: [1, 2, 3].map((seed) => ({ seed, link: `page${seed}.html`, tooltip: `P${seed}` })) });
})));

after(() => closeSite({ folder, server, browser }));

async function openWithClock(options) {
    const context = await browser.newContext(options);
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(error.message));
    // Paused: time moves only as the test runs it, however slow the machine.
    await page.clock.install({ time: 0 });
    await page.clock.pauseAt(1000);
    await page.goto(`${server.url}Calm.html`);
    await page.waitForFunction(() => document.querySelectorAll('#Calm_div img')[1]?.complete);
    return page;
}

// The slides not hidden from assistive technology: the one in sight, two during a fade.
function shown(page) {
    return page.$$eval('#Calm_div [role=region] > *', (slides) =>
        slides.flatMap((s, i) => (s.getAttribute('aria-hidden') === 'false' ? [i] : [])));
}

// Polls from outside the page, whose own timers belong to the test's clock: each poll moves
// it on by 10 ms.
async function until(page, expected) {
    const deadline = Date.now() + 5000;
    let last;
    while (Date.now() < deadline) {
        last = await shown(page);
        if (JSON.stringify(last) === JSON.stringify(expected)) return;
        await new Promise((resolve) => setTimeout(resolve, 20));
        await page.clock.runFor(10);
    }
    assert.deepEqual(last, expected);
}

// Runs the page's clock through one hold and the fade after it.
async function oneChange(page, from, to, hold = 3000) {
    await page.clock.runFor(hold + 50);
    await until(page, [from, to].sort());
    await page.clock.runFor(250);
    await until(page, [to]);
}

describe('a show kind to visitors', () => {
    test('holds still under the pointer and goes on once it leaves', async () => {
        const page = await openWithClock();
        const box = await page.locator('#Calm_div [role=region]').boundingBox();
        await page.mouse.move(box.x + 80, box.y + 60);
        await page.clock.runFor(10000);
        assert.deepEqual(await shown(page), [0]);
        await page.mouse.move(box.x + 400, box.y + 400);
        await oneChange(page, 0, 1);
        assert.deepEqual(page.errors, []);
        await page.context().close();
    });

    test('holds still while a slide link has the keyboard focus', async () => {
        const page = await openWithClock();
        await page.keyboard.press('Tab');
        assert.equal(await page.evaluate(() => document.activeElement.getAttribute('href')),
            'page1.html');
        await page.clock.runFor(10000);
        assert.deepEqual(await shown(page), [0]);
        // Only the slide in sight is in the tab order.
        await page.keyboard.press('Tab');
        assert.notEqual(await page.evaluate(() => document.activeElement.getAttribute('href')),
            'page2.html');
        await oneChange(page, 0, 1);
        await page.context().close();
    });

    test('its button pauses and resumes the show by keyboard and by pointer', async () => {
        const page = await openWithClock();
        const button = page.locator('#Calm_div button');
        const state = () => button.evaluate((b) => [b.ariaLabel, getComputedStyle(b).opacity]);
        assert.deepEqual(await state(), ['Pause slide show', '0']);
        await page.keyboard.press('Tab');
        await page.keyboard.press('Tab');
        assert.equal(await page.evaluate(() => document.activeElement.ariaLabel), 'Pause slide show');
        await page.keyboard.press('Enter');
        await page.keyboard.press('Tab');
        await page.clock.runFor(10000);
        // The button's own fade runs on the browser's time, not the page's clock.
        await button.evaluate((b) => b.getAnimations().forEach((a) => a.finish()));
        assert.deepEqual([await shown(page), await state()], [[0], ['Play slide show', '1']]);
        await page.keyboard.press('Shift+Tab');
        await page.keyboard.press('Space');
        await oneChange(page, 0, 1);
        // By pointer: the button appears over the show, and playing again goes on at once.
        await page.keyboard.press('Tab');
        await button.click();
        await page.mouse.move(600, 600);
        await page.clock.runFor(10000);
        assert.deepEqual(await shown(page), [1]);
        await button.click();
        await oneChange(page, 1, 2);
        assert.deepEqual(page.errors, []);
        await page.context().close();
    });

    test('holds still on a hidden page and resumes without catching up', async () => {
        const page = await openWithClock();
        const setHidden = (hidden) => page.evaluate((h) => {
            Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
            document.dispatchEvent(new Event('visibilitychange'));
        }, hidden);
        await setHidden(true);
        await page.clock.runFor(30000);
        assert.deepEqual(await shown(page), [0]);
        await setHidden(false);
        // A full hold after the return, then one change: no burst of missed ones.
        await page.clock.runFor(2000);
        assert.deepEqual(await shown(page), [0]);
        await oneChange(page, 0, 1, 1000);
        await page.clock.runFor(2000);
        assert.deepEqual(await shown(page), [1]);
        await page.context().close();
    });

    test('with reduced motion changes without a fade and holds twice as long', async () => {
        const page = await openWithClock({ reducedMotion: 'reduce' });
        await page.clock.runFor(4500);
        assert.deepEqual(await shown(page), [0]);
        await page.clock.runFor(1550);
        await until(page, [1]);
        const transition = await page.$eval('#Calm_div [role=region] > :nth-child(2)',
            (s) => [getComputedStyle(s).transitionDuration, getComputedStyle(s).opacity]);
        assert.deepEqual(transition, ['0s', '1']);
        await page.context().close();
    });
});

// Pages around the show: several shows on one page, late elements, empty configurations.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
    closeSite, openPage, openSite, publishShow, recordFrames, shownSequence, waitForShown,
} from './support.mjs';

let folder, server, browser;

// Two shows published apart, their files pasted into one page as a designer would: the
// folder of each show named in front of its pictures.
function twoShowPage() {
    publishShow(path.join(folder, 'a'), { name: 'North', width: 160, height: 120, delay: 0,
        step: 6, slides: [1, 2, 3].map((seed) => ({ seed, link: `n${seed}.html` })) });
    publishShow(path.join(folder, 'b'), { name: 'South', width: 120, height: 90, delay: 5,
        step: 3, bgColor: '000000', slides: [4, 5].map((seed) => ({ seed, link: `s${seed}.html` })) });
    for (const show of ['a', 'b']) {
        const cfg = path.join(folder, show, 'velloriacfg.js');
        fs.writeFileSync(cfg, fs.readFileSync(cfg, 'latin1').replace(/'(slider\d+\.jpg)'/g, `'${show}/$1'`));
    }
    fs.writeFileSync(path.join(folder, 'two.html'), `<!doctype html><html><body>
<link href="./a/velloria.css" type=text/css rel=stylesheet>
<link href="./b/velloria.css" type=text/css rel=stylesheet>
<script language="javascript" src="./a/velloria.js"></script>
<script language="javascript" src="./a/velloriacfg.js"></script>
<script language="javascript" src="./b/velloriacfg.js"></script>
<div id="North_div" style="width:160px;height:120px;"></div>
<p>Between the shows</p>
<div id="South_div" style="width:120px;height:90px;"></div>
</body></html>`);
}

before(async () => ({ folder, server, browser } = await openSite('pages', (at) => {
    folder = at;
    twoShowPage();
    fs.copyFileSync(path.join(folder, 'a/velloria.js'), path.join(folder, 'velloria.js'));
    publishShow(path.join(folder, 'empty'), { name: 'Empty', slides: [] });
})));

after(() => closeSite({ folder, server, browser }));

describe('pages with shows', () => {
    test('a show published without slides gives a page without script errors', async () => {
        const page = await openPage(browser, `${server.url}empty/Empty.html`);
        await page.waitForFunction(() => window.bkag && document.getElementById('Empty_div').firstChild);
        assert.deepEqual(page.errors, []);
        await page.context().close();
    });

    test('two shows on one page run independently, each with its own slides', async () => {
        const page = await openPage(browser, `${server.url}two.html`);
        await recordFrames(page, 'North_div');
        await recordFrames(page, 'South_div');
        const [north, south] = await Promise.all([waitForShown(page, 'North_div', 4),
            waitForShown(page, 'South_div', 3)]);
        assert.deepEqual(shownSequence(north).slice(0, 4), [0, 1, 2, 0]);
        assert.deepEqual(shownSequence(south).slice(0, 3), [0, 1, 0]);
        const links = await page.evaluate(() => ['North_div', 'South_div'].map((id) =>
            [...document.querySelectorAll(`#${id} a`)].map((a) => a.getAttribute('href'))));
        assert.deepEqual(links, [['n1.html', 'n2.html', 'n3.html'], ['s4.html', 's5.html']]);
        const hosts = await page.$$eval('[role=region]', (r) => r.map((e) => e.parentElement.id));
        assert.deepEqual(hosts, ['North_div', 'South_div']);
        assert.deepEqual(page.errors, []);
        await page.context().close();
    });

    test('the script adds only bPaf and bkag to the page', async () => {
        fs.writeFileSync(path.join(folder, 'bare.html'), '<!doctype html><body></body>');
        const page = await openPage(browser, `${server.url}bare.html`);
        const before_ = await page.evaluate(() => Object.getOwnPropertyNames(window));
        await page.addScriptTag({ url: 'velloria.js' });
        const added = await page.evaluate((names) =>
            Object.getOwnPropertyNames(window).filter((n) => !names.includes(n)), before_);
        assert.deepEqual(added.sort(), ['bPaf', 'bkag']);
        assert.equal(await page.evaluate(() => window.bkag), true);
        await page.context().close();
    });

    test('waits for an element added late and bears an empty or missing configuration', async () => {
        fs.writeFileSync(path.join(folder, 'odd.html'), `<!doctype html><body>
<script src="velloria.js"></script>
<script>
new bPaf('None', 'none_div', 100, 80, '000000', 0, 30, undefined, 0);
new bPaf('Empty', 'empty_div', 100, 80, 'zz', -5, -5, [], 2);
new bPaf('Late', 'late_div', 100, 80, 'FFFFFF', 0, 30, [['a/slider0.jpg', '', '', '', 100, 80]], 0);
setTimeout(() => document.body.insertAdjacentHTML('beforeend', '<div id="late_div"></div>'), 300);
</script>
<div id="none_div"></div><div id="empty_div"></div>
</body>`);
        const page = await openPage(browser, `${server.url}odd.html`);
        await page.waitForSelector('#late_div [role=region] img');
        const boxes = await page.$$eval('[role=region]', (r) => r.map((e) => [e.parentElement.id,
            e.children.length]));
        assert.deepEqual(boxes, [['none_div', 0], ['empty_div', 0], ['late_div', 1]]);
        assert.deepEqual(page.errors.filter((e) => !e.includes('404')), []);
        await page.context().close();
    });
});

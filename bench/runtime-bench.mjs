// Runtime script benchmark: size raw and gzipped, frames during a fade of a 20-slide show in
// headless chromium, at full size and scaled down in a narrow container, and the script's own
// time to set up a show. Prints a table with goals.
//   node bench/runtime-bench.mjs        (run by bench/run-runtime-bench)
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { launch, publishShow, serve, tempFolder } from '../tests/browser/support.mjs';

const script = fs.readFileSync(new URL('../resources/velloria.js', import.meta.url));
const gzipped = zlib.gzipSync(script, { level: 9 }).length;

const folder = tempFolder('bench');
publishShow(folder, { name: 'Bench', width: 320, height: 240, delay: 0, step: 30,
    slides: Array.from({ length: 20 }, (_, i) => ({ seed: i + 1, link: `p${i}.html` })) });
// The same code in a column narrower than the show: it runs scaled down.
fs.writeFileSync(path.join(folder, 'narrow.html'), fs.readFileSync(path.join(folder, 'Bench.html'),
    'latin1').replace('<div id="Bench_div"', '<div style="width:200px"><div id="Bench_div"')
    .replace('px;"></div>', 'px;"></div></div>'));
const server = await serve(folder);
const browser = await launch();
const page = await browser.newPage();
await page.goto(`${server.url}Bench.html`);
await page.waitForFunction(() => document.querySelectorAll('#Bench_div img')[1]?.complete);

// Set-up: the constructor's own time on a fresh element, averaged over runs.
const setupMs = await page.evaluate(() => {
    const runs = 50, cfg = window.Benchcfg;
    const start = performance.now();
    for (let i = 0; i < runs; i++) {
        const host = document.createElement('div');
        host.id = `setup${i}`;
        document.body.appendChild(host);
        new bPaf(`S${i}`, host.id, 320, 240, 'FFFFFF', 0, 30, cfg, 0);
    }
    const ms = (performance.now() - start) / runs;
    for (let i = 0; i < runs; i++) document.getElementById(`setup${i}`).remove();
    return ms;
});

// Frames: every animation frame while the first change's fade runs (about 1 s at step 30).
const fadeFrames = (target) => target.evaluate(() => new Promise((resolve) => {
    const incoming = document.querySelector('#Bench_div [role=region]').children[1];
    const times = [];
    let fading = false;
    (function frame(t) {
        const opacity = +getComputedStyle(incoming).opacity;
        if (opacity > 0 && opacity < 1) { fading = true; times.push(t); }
        if (fading && opacity === 1) return resolve(times);
        requestAnimationFrame(frame);
    })(performance.now());
}));
const full = await fadeFrames(page);
await page.goto(`${server.url}narrow.html`);
await page.waitForSelector('#Bench_div [role=region] img');
const scale = await page.$eval('#Bench_div [role=region]', (b) => b.getBoundingClientRect().width / 320);
const narrow = await fadeFrames(page);
await browser.close();
await server.close();
fs.rmSync(folder, { recursive: true, force: true });

function fadeRows(frames, what) {
    const gaps = frames.slice(1).map((t, i) => t - frames[i]);
    const interval = gaps.reduce((a, b) => a + b, 0) / gaps.length;
    const duration = frames.at(-1) - frames[0];
    const long = gaps.filter((g) => g > interval * 1.5).length;
    return [[`fade frames, ${what}`, `${frames.length} in ${duration.toFixed(0)} ms`,
        `${(1000 / interval).toFixed(1)} fps, longest gap ${Math.max(...gaps).toFixed(1)} ms`],
    [`dropped frames, ${what}`, String(long), long === 0 ? 'goal 0: met' : 'goal 0: MISSED']];
}
// The fading sliders designers use today weigh 6 to 13 KB gzipped.
const ratio = (kb) => (gzipped / (kb * 1024)).toFixed(2);
const rows = [
    ['runtime size raw', `${script.length} B`, ''],
    ['runtime size gzipped', `${gzipped} B`,
        `${gzipped < 3072 ? 'goal < 3072 B: met' : 'goal < 3072 B: MISSED'}; ${ratio(6)}x of 6 KB, ${ratio(13)}x of 13 KB`],
    ...fadeRows(full, 'full size'),
    ...fadeRows(narrow, `scaled x${scale.toFixed(3)}`),
    ['set-up of a 20-slide show', `${setupMs.toFixed(3)} ms`, ''],
];
for (const [name, value, note] of rows) console.log(`${name.padEnd(32)}${value.padEnd(20)}${note}`);

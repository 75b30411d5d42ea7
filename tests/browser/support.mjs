// Shared by the browser tests: publishes shows with velloria-cli, serves them on loopback and
// opens them in Debian's chromium.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const binDir = process.env.VELLORIA_BIN || path.join(root, 'build/bin');
const chromiumPath = process.env.VELLORIA_CHROMIUM || '/usr/bin/chromium';
const scenes = ['harbour', 'meadow', 'dunes', 'tower'];

export function tempFolder(prefix) {
    return fs.mkdtempSync(path.join(os.tmpdir(), `velloria-${prefix}-`));
}

// Photos are made once per user and reused: make-photo is deterministic for a seed.
export function photo(seed, width = 320, height = 240) {
    const cache = path.join(os.tmpdir(), `velloria-browser-photos-${process.getuid()}`);
    const file = path.join(cache, `photo-${seed}-${width}x${height}.jpg`);
    if (!fs.existsSync(file)) {
        fs.mkdirSync(cache, { recursive: true });
        const temp = `${file}.${process.pid}.tmp.jpg`;
        execFileSync(path.join(binDir, 'make-photo'), [temp, String(width), String(height),
            '--seed', String(seed), '--scene', scenes[seed % scenes.length]]);
        fs.renameSync(temp, file);
    }
    return file;
}

function cli(...args) {
    return execFileSync(path.join(binDir, 'velloria-cli'), args, { encoding: 'utf8' });
}

// The project's parameter line, in the order the project file keeps them.
const parameterNames = ['name', 'divId', 'width', 'height', 'bgColor', 'delay', 'step',
    'configName', 'borderWidth', 'borderStyle', 'borderColor', 'rootLocal', 'rootRemote', 'flag'];

function setParameters(project, values) {
    const lines = fs.readFileSync(project, 'latin1').split('\r\n');
    const fields = lines[11].split('#$@');
    for (const [key, value] of Object.entries(values)) {
        const index = parameterNames.indexOf(key);
        if (index < 0) throw new Error(`unknown parameter ${key}`);
        fields[index] = String(value);
    }
    lines[11] = fields.join('#$@');
    fs.writeFileSync(project, lines.join('\r\n'), 'latin1');
}

// Publishes a show into folder and returns its page's file name. slides: [{seed, link, target,
// tooltip, width, height}], the photo size defaulting to 320x240.
export function publishShow(folder, { slides, ...parameters }) {
    const work = tempFolder('project');
    const name = parameters.name || 'Velloria1';
    const project = path.join(work, `${name}.jfs`);
    cli('new', project);
    setParameters(project, { name, ...parameters });
    for (const s of slides) {
        cli('add', project, photo(s.seed, s.width, s.height), '--link', s.link ?? '',
            '--target', s.target ?? '_self', '--tooltip', s.tooltip ?? '');
    }
    cli('publish', project, '--to', folder);
    fs.rmSync(work, { recursive: true, force: true });
    return `${name}.html`;
}

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
    '.jpg': 'image/jpeg' };

// Serves folder on 127.0.0.1; requests lists every path asked for, in order.
export async function serve(folder) {
    const requests = [];
    const server = http.createServer((request, response) => {
        const url = decodeURIComponent(new URL(request.url, 'http://x').pathname);
        if (url === '/favicon.ico') return void response.writeHead(204).end();
        requests.push(url);
        const file = path.join(folder, path.normalize(url));
        if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
            response.writeHead(404).end();
            return;
        }
        response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'text/plain',
            'Cache-Control': 'no-store' });
        fs.createReadStream(file).pipe(response);
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        requests,
        close: () => new Promise((resolve) => { server.closeAllConnections(); server.close(resolve); }),
    };
}

export function launch() {
    return chromium.launch({
        headless: true,
        executablePath: chromiumPath,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
}

// Opens url in a new page that collects script errors and console errors.
export async function openPage(browser, url, options = {}) {
    const context = await browser.newContext(options);
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(error.message));
    page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
    await page.goto(url);
    return page;
}

// Records, on every animation frame, each slide's opacity, visibility and stacking order of
// the show in element id; the record is window.velloriaFrames[id].
export async function recordFrames(page, id) {
    await page.waitForSelector(`#${id} [role=region]`);
    await page.evaluate((hostId) => {
        const frames = (window.velloriaFrames ??= {})[hostId] = [];
        const slides = [...document.querySelector(`#${hostId} [role=region]`).children];
        (function sample() {
            frames.push(slides.map((s) => {
                const style = getComputedStyle(s);
                return { opacity: +style.opacity, visible: style.visibility === 'visible',
                    z: +style.zIndex || 0 };
            }));
            requestAnimationFrame(sample);
        })();
    }, id);
}

// The slide a visitor sees in a frame: the topmost fully opaque visible one, or -1.
export function shownSlide(frame) {
    let shown = -1;
    frame.forEach((s, i) => {
        if (s.visible && s.opacity === 1 && (shown < 0 || s.z > frame[shown].z)) shown = i;
    });
    return shown;
}

// How much of the box the visible slides cover together, from 0 (background) to 1.
export function coverage(frame) {
    return 1 - frame.reduce((through, s) => through * (s.visible ? 1 - s.opacity : 1), 1);
}

// The distinct slides shown one after another in the recorded frames.
export function shownSequence(frames) {
    const sequence = [];
    for (const frame of frames) {
        const shown = shownSlide(frame);
        if (shown >= 0 && shown !== sequence.at(-1)) sequence.push(shown);
    }
    return sequence;
}

// Waits until the show in element id has shown count slides, counting the first; returns
// the frames recorded so far.
export async function waitForShown(page, id, count, timeout = 30000) {
    await page.evaluate(`window.velloriaShown = ${shownSlide}`);
    await page.waitForFunction(([hostId, n]) => {
        let last = -1, seen = 0;
        for (const frame of window.velloriaFrames[hostId]) {
            const shown = window.velloriaShown(frame);
            if (shown >= 0 && shown !== last) { seen++; last = shown; }
        }
        return seen >= n;
    }, [id, count], { timeout, polling: 100 });
    return page.evaluate((hostId) => window.velloriaFrames[hostId], id);
}

// A test file's site: a fresh folder that prepare(folder) fills, served over loopback, and
// a browser to visit it with. closeSite undoes it all.
export async function openSite(prefix, prepare) {
    const folder = tempFolder(prefix);
    await prepare(folder);
    return { folder, server: await serve(folder), browser: await launch() };
}

export async function closeSite({ folder, server, browser }) {
    await browser?.close();
    await server?.close();
    if (folder) fs.rmSync(folder, { recursive: true, force: true });
}

// The pixels of a PNG screenshot (8-bit RGB or RGBA, not interlaced): pixel(x, y) is [r, g, b].
export function pngPixels(png) {
    const width = png.readUInt32BE(16), height = png.readUInt32BE(20);
    const channels = { 2: 3, 6: 4 }[png[25]];
    if (png[24] !== 8 || !channels || png[28] !== 0) throw new Error('unexpected PNG format');
    const chunks = [];
    for (let at = 8; at < png.length; at += png.readUInt32BE(at) + 12) {
        if (png.toString('latin1', at + 4, at + 8) === 'IDAT') {
            chunks.push(png.subarray(at + 8, at + 8 + png.readUInt32BE(at)));
        }
    }
    const raw = zlib.inflateSync(Buffer.concat(chunks));
    const stride = width * channels, rows = Buffer.alloc(stride * height);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1);
        for (let x = 0; x < stride; x++) {
            const a = x >= channels ? rows[y * stride + x - channels] : 0;
            const b = y ? rows[(y - 1) * stride + x] : 0;
            const c = x >= channels && y ? rows[(y - 1) * stride + x - channels] : 0;
            const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
            const predictor = [0, a, b, (a + b) >> 1,
                pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
            rows[y * stride + x] = line[x] + predictor;
        }
    }
    return { width, height,
        pixel: (x, y) => [...rows.subarray((y * width + x) * channels, (y * width + x) * channels + 3)] };
}

/* Velloria runtime: each picture of a slide show fades into the next.
 * new bPaf(name, divId, width, height, bgColor, delay, step, cfg, borderWidth);
 * cfg items: [image, link, target, tooltip, width, height].
 * delay: each picture holds 3 s + delay x 100 ms (default 0: 3 s).
 * step: a fade lasts step x 33 ms (default 30: about 1 s; 0: no fade).
 * Negative values count as 0. With reduced motion: no fade, twice the hold.
 * Pauses under the pointer, with a link focused and on a hidden page.
 */
(() => {
    const reducedMotion = matchMedia('(prefers-reduced-motion: reduce)');

    function bPaf(name, divId, width, height, bgColor, delay, step, cfg) {
        let tries = 0;
        // The configuration may run before the show's element is parsed: wait for it.
        (function find() {
            let host = document.getElementById(divId);
            if (host) {
                start(host, name, +width || 0, +height || 0, bgColor,
                    3000 + Math.max(0, delay | 0) * 100, Math.max(0, step | 0) * 33,
                    Array.isArray(cfg) ? cfg : []);
            } else if (document.readyState == 'loading') {
                document.addEventListener('DOMContentLoaded', find);
            } else if (tries++ < 100) {
                setTimeout(find, 100);
            }
        })();
    }

    function makeSlide(item, boxWidth, boxHeight) {
        let link = item[1];
        let slide = document.createElement(link ? 'a' : 'div');
        let img = document.createElement('img');
        let w = item[4] | 0, h = item[5] | 0, tip = item[3] || '';
        if (link) {
            slide.href = link;
            if (item[2]) slide.target = item[2];
        }
        if (tip) slide.title = tip;
        img.alt = tip;
        img.width = w;
        img.height = h;
        // Centred; a slide wider than the box is clipped by it.
        slide.style.cssText = 'position:absolute;display:block;opacity:0;left:' +
            (boxWidth - w) / 2 + 'px;top:' + (boxHeight - h) / 2 + 'px';
        slide.appendChild(img);
        slide.src = item[0];
        return slide;
    }

    // Hidden slides: no clicks, no focus, nothing for screen readers.
    function reveal(slide, on) {
        slide.style.visibility = on ? '' : 'hidden';
        slide.ariaHidden = !on;
        if (slide.href) slide.tabIndex = on ? 0 : -1;
    }

    // Resolves once the slide's picture can be shown whole.
    function ready(slide) {
        let img = slide.firstChild;
        if (!img.src) img.src = slide.src;
        return img.decode().catch(() => {});
    }

    function start(host, name, width, height, bgColor, hold, fade, items) {
        let box = document.createElement('div');
        let slides = items.map((item) => makeSlide(item, width, height));
        let current = 0, timer = 0, busy = false, hovered = false, focused = false;

        host.style.boxSizing = 'content-box';
        box.role = 'region';
        box.ariaLabel = name;
        box.style.cssText = 'position:relative;overflow:hidden;width:' + width + 'px;height:' +
            height + 'px' + (/^[0-9a-f]{6}$/i.test(bgColor) ? ';background:#' + bgColor : '');
        slides.forEach((slide, i) => {
            reveal(slide, !i);
            box.appendChild(slide);
        });
        host.appendChild(box);
        if (!slides.length) return;
        slides[0].style.opacity = 1;
        slides[0].style.zIndex = 1;
        // Later pictures load while the one before them shows.
        slides.slice(0, 2).forEach(ready);
        if (slides.length < 2) return;

        function paused() {
            return hovered || focused || document.hidden;
        }
        // One timer: a page hidden for long resumes with one hold, no catch-up.
        function wait() {
            clearTimeout(timer);
            timer = setTimeout(change, reducedMotion.matches ? hold * 2 : hold);
        }
        // A change under way resumes the show when it ends.
        function resume() {
            if (!busy && !paused()) wait();
        }
        function change() {
            let next = (current + 1) % slides.length;
            if (paused()) return;
            busy = true;
            ready(slides[next]).then(() => {
                if (paused()) busy = false;
                else fadeTo(next);
            });
        }
        function fadeTo(next) {
            let outgoing = slides[current], incoming = slides[next];
            let ms = reducedMotion.matches ? 0 : fade;
            current = next;
            // The outgoing picture stays opaque below: no dip to the background.
            outgoing.style.zIndex = 1;
            incoming.style.zIndex = 2;
            incoming.style.transition = ms ? 'opacity ' + ms + 'ms' : '';
            reveal(incoming, true);
            void incoming.offsetWidth;
            incoming.style.opacity = 1;
            ready(slides[(next + 1) % slides.length]);
            // Ends a transition that started late.
            setTimeout(() => {
                incoming.style.transition = '';
                outgoing.style.opacity = 0;
                outgoing.style.zIndex = 0;
                reveal(outgoing, false);
                busy = false;
                resume();
            }, ms);
        }

        box.addEventListener('mouseenter', () => { hovered = true; });
        box.addEventListener('mouseleave', () => { hovered = false; resume(); });
        box.addEventListener('focusin', () => { focused = true; });
        box.addEventListener('focusout', () => { focused = false; resume(); });
        document.addEventListener('visibilitychange', resume);
        wait();
    }

    window.bPaf = bPaf;
    window.bkag = true;
})();

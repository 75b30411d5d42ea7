/* Velloria runtime: new bPaf(name, divId, width, height, bgColor, delay, step, cfg, border);
 * a slide holds 3 s + delay x 100 ms, a fade lasts step x 33 ms (reduced motion: no fade). */
(() => {
    const reducedMotion = matchMedia('(prefers-reduced-motion: reduce)');
    const home = document.currentScript?.src || location.href;

    function bPaf(name, divId, width, height, bgColor, delay, step, cfg) {
        let tries = 0;
        // The show's element may come later.
        (function find() {
            let host = document.getElementById(divId);
            if (host) {
                start(host, Math.max(1, width | 0), Math.max(1, height | 0), bgColor,
                    3000 + Math.max(0, delay | 0) * 100, Math.max(0, step | 0) * 33,
                    (Array.isArray(cfg) ? cfg : []).filter((item) => item && item[0]));
            } else if (document.readyState == 'loading') {
                document.addEventListener('DOMContentLoaded', find);
            } else if (tries++ < 100) {
                setTimeout(find, 100);
            }
        })();
    }

    // The page's rules for img, a or div cannot reach the show.
    function css(element, text) {
        element.style.cssText += text.replace(/;|$/g, '!important;');
        return element;
    }

    function make(tag, text) {
        return css(document.createElement(tag), 'display:block;margin:0;padding:0;border:0;' +
            'max-width:none;max-height:none;outline:0;border-radius:0;box-sizing:content-box;' + text);
    }

    function makeSlide(item, boxWidth, boxHeight, shadow) {
        let link = item[1], tip = item[3] || '', w = item[4] | 0, h = item[5] | 0;
        let size = ';width:' + w + 'px;height:' + h + 'px';
        // Its shadow hides a wider slide before it as it fades in.
        let slide = make(link ? 'a' : 'div', 'position:absolute;opacity:0;transition:none;left:' +
            (boxWidth - w) / 2 + 'px;top:' + (boxHeight - h) / 2 + 'px' + size + shadow);
        let img = slide.appendChild(make('img', 'opacity:1' + size));
        if (link) {
            slide.href = link;
            if (item[2]) slide.target = item[2];
        }
        if (tip) slide.title = tip;
        img.alt = tip;
        let at = (name) => name && new URL(name, /[/:]/.test(name) ? document.baseURI : home).href;
        slide.urls = [[at(item[0]), at(item[6])], [at(item[0])], [item[0]]];
        return slide;
    }

    // Hidden slides: no clicks, no focus, nothing for screen readers.
    function reveal(slide, on) {
        css(slide, 'visibility:' + (on ? 'visible' : 'hidden'));
        slide.ariaHidden = !on;
        if (slide.href) slide.tabIndex = on ? 0 : -1;
    }

    // True once shown whole: sharp or plain, beside the script or the page.
    function ready(slide) {
        let img = slide.firstChild;
        return slide.ready ||= slide.urls.reduce((done, [src, sharp]) => done.catch(() => {
            img.srcset = sharp ? sharp + ' 2x' : '';
            img.src = src;
            return img.decode();
        }), Promise.reject()).then(() => 1, () => 0);
    }

    function start(host, width, height, bgColor, hold, fade, items) {
        let look = getComputedStyle(host), border = parseFloat(look.borderLeftWidth) || 0;
        let full = width + 2 * border;
        let bg = /^[0-9a-f]{6}$/i.test(bgColor) ? '#' + bgColor : 0;
        let box = make('div', 'position:absolute;overflow:hidden;transform-origin:0 0;width:' +
            width + 'px;height:' + height + 'px;background:' + (bg || 'none'));
        let ring = make('div', 'position:absolute;inset:0;pointer-events:none');
        let button = make('button', 'position:absolute;right:6px;bottom:6px;width:28px;' +
            'height:28px;display:flex;border-radius:50%;background:#000a;opacity:0;' +
            'cursor:pointer;transition:opacity .2s');
        let icon = button.appendChild(make('i', 'margin:auto;border-style:solid'));
        let slides = items.map((item) => makeSlide(item, width, height,
            bg ? ';box-shadow:0 0 0 ' + (width + height) + 'px ' + bg : ''));
        let current = -1, timer, busy, over, hovered, focused, stopped;

        // Scales down whole; the host's size follows from CSS.
        function fit() {
            host.style.borderWidth = Math.round(border * host.offsetWidth / full) + 'px';
            css(box, 'transform:scale(' + host.clientWidth / width + ',' +
                host.clientHeight / height + ')');
        }
        host.style.cssText += ';box-sizing:border-box;padding:0;min-width:0;min-height:0;' +
            'max-width:100%;height:auto;width:' + full + 'px;aspect-ratio:' + full + '/' +
            (height + 2 * border) + (look.position == 'static' ? ';position:relative' : '');
        box.role = 'region';
        box.ariaLabel = 'Slide show';
        slides.forEach((slide, i) => {
            if (slide.href) slide.ariaLabel = 'Slide ' + (i + 1) + ' of ' + slides.length +
                (slide.title && ', ' + slide.title);
            reveal(slide, !i);
            box.appendChild(slide);
        });
        host.append(box, ring);
        fit();
        new ResizeObserver(fit).observe(host, { box: 'border-box' });
        if (!slides.length) return;

        function paused() {
            return hovered || stopped || focused && focused != button || document.hidden;
        }
        function controls() {
            css(icon, stopped ? 'width:0;height:0;border-width:7px 0 7px 12px;border-color:#0000 #fff' :
                'width:3px;height:12px;border-width:0 4px;border-color:#fff');
            button.ariaLabel = (stopped ? 'Play' : 'Pause') + ' slide show';
            // No hover: shown at rest, as a tap would follow a link.
            css(button, 'opacity:' + (over || stopped || focused ||
                matchMedia('(hover:none),(pointer:coarse)').matches ? 1 : 0));
        }
        // One timer: no catch-up after a hidden page.
        function resume() {
            controls();
            if (!busy && !paused() && slides.length > 1) {
                clearTimeout(timer);
                timer = setTimeout(change, reducedMotion.matches ? hold * 2 : hold);
            }
        }
        function change() {
            let next = (current + 1) % slides.length, slide = slides[next];
            if (!slide || next == current || current >= 0 && paused()) return busy = 0;
            busy = 1;
            // A picture that fails leaves the show.
            ready(slide).then((ok) => {
                if (!ok) {
                    slides.splice(next, 1);
                    slide.remove();
                    if (next < current) current--;
                    change();
                } else if (current >= 0 && paused()) busy = 0;
                else fadeTo(next);
            });
        }
        // The outgoing picture stays opaque below: no dip.
        function fadeTo(next) {
            let outgoing = slides[current], incoming = slides[next];
            let ms = reducedMotion.matches ? 0 : fade;
            current = next;
            if (outgoing) css(outgoing, 'z-index:1');
            css(incoming, 'z-index:2;transition:opacity ' + ms + 'ms');
            reveal(incoming, true);
            void incoming.offsetWidth;
            css(incoming, 'opacity:1');
            ready(slides[(next + 1) % slides.length]);
            setTimeout(() => {
                if (outgoing) {
                    css(outgoing, 'opacity:0;z-index:0');
                    reveal(outgoing, false);
                }
                busy = 0;
                resume();
            }, ms);
        }

        button.onclick = () => {
            stopped = !stopped;
            hovered = 0;
            resume();
        };
        // One picture: nothing to pause.
        if (slides[1]) host.appendChild(button);
        for (let type of ['mouseenter', 'mouseleave'])
            host.addEventListener(type, () => {
                over = hovered = type == 'mouseenter';
                resume();
            });
        host.addEventListener('focusin', (event) => {
            focused = event.target;
            // A ring inside, where nothing clips it.
            if (focused.matches(':focus-visible'))
                css(focused == button ? button : ring, 'box-shadow:inset 0 0 0 2px #fff,inset 0 0 0 4px #000');
            resume();
        });
        host.addEventListener('focusout', () => {
            focused = 0;
            [ring, button].map((e) => css(e, 'box-shadow:none'));
            resume();
        });
        document.addEventListener('visibilitychange', resume);
        controls();
        change();
    }

    window.bPaf = bPaf;
    window.bkag = true;
})();

"""Building blocks of the match's animations: screen places of the match layout, picture sizes
and small effect pieces (sprites that fly, burst, pop and fade) written one key per frame.

Times are 1-based composition frames. Layers are collected with a depth (higher = in front) and
ordered when the composition is finished, since the file draws its first layer on top.
"""
import math
import random

from bca import Composition, ease_in, ease_in_out, ease_out, lerp

# Match layout (screen pixels, 1280 x 720).
CARD_W, CARD_H = 80, 120


def human_slot(i):
    return (110 * i + 40 + CARD_W / 2, 440 + CARD_H / 2)


def enemy_slot(i):
    return (110 * i + 80 + CARD_W / 2, 104 + CARD_H / 2)


HUMAN_ROW = (300.0, 500.0)
ENEMY_ROW = (340.0, 164.0)
DECK = (320.0, 329.0)
BET = (135.0, 312.0)
GAUGE = (256.0, 461.0)
ABILITY_BUTTON = (568.0, 648.0)
HOST = (960.0, 300.0)
TABLE_CENTRE = (330.0, 330.0)
CAPTION = (330.0, 400.0)

# Sizes of the pictures the animations use (they must match the picture generator's catalog).
SIZES = {
    "eff_glow.png": (256, 256), "eff_sparkle.png": (128, 128), "eff_ring.png": (256, 256),
    "eff_snow.png": (256, 256), "eff_flame.png": (256, 256), "eff_scythe.png": (256, 256),
    "eff_mirror.png": (256, 256), "eff_heart.png": (256, 256), "eff_lock.png": (256, 256),
    "eff_scales.png": (256, 256), "eff_shield.png": (256, 256), "eff_bomb.png": (256, 256),
    "eff_coin.png": (256, 256), "eff_eye.png": (256, 256),
    "eff_circle_gold.png": (256, 256), "eff_card_glow.png": (128, 168),
    "eff_card_joker.png": (80, 120), "eff_card_dummy.png": (80, 120), "eff_card_back.png": (80, 120),
    "eff_card_ace.png": (80, 120), "eff_frost_card.png": (96, 136), "eff_seal.png": (256, 256),
    "eff_arrow_up.png": (128, 128), "eff_arrow_down.png": (128, 128), "eff_x2.png": (256, 128),
    "eff_x2_ice.png": (256, 128), "eff_tophat.png": (256, 256), "eff_hourglass.png": (256, 256),
    "eff_suits.png": (256, 256), "eff_ranks.png": (256, 256), "eff_streak.png": (512, 64),
    "eff_arrow_tip.png": (64, 80), "tips_panel.png": (420, 160), "stand_bg.png": (1280, 720),
}
for _n in ("common", "deepfreeze", "sealward", "freezegust", "dummycurse", "guardmark"):
    SIZES["tips_%s.png" % _n] = (420, 160)
for _h in ("player", "pemra", "otsel", "quenvar", "iblen", "rosweth"):
    for _k in range(1, 9 if _h == "player" else 5):
        SIZES["cap_%s_%02d.png" % (_h, _k)] = (480, 80)
HOSTS = ["Pemra", "Otsel", "Quenvar", "Iblen", "Rosweth"]
HOST_RGB = {"Pemra": 0x8FD3FF, "Otsel": 0xA070E0, "Quenvar": 0xE8B44C, "Iblen": 0xFF7FB0, "Rosweth": 0xD04848}
for _h in HOSTS:
    SIZES["stand_aura_%s.png" % _h.lower()] = (640, 720)
    for _k in (1, 2, 3):
        SIZES["Stand_%s_%02d.png" % (_h, _k)] = (640, 720)


def _fn(v):
    return v if callable(v) else (lambda t: v)


class Fx:
    """One composition under construction."""

    def __init__(self, name, length):
        self.comp = Composition(name, length)
        self.length = length
        self._depth = []

    def sprite(self, pic, start, dur, pos, scale=100.0, rot=0.0, alpha=100.0, depth=0, blend="Normal"):
        """A picture shown on frames start..start+dur. pos gives (x, y) of its centre, scale a
        percent (or an (x, y) pair), rot degrees about z (or an (x, y, z) triple), alpha a percent;
        each is a value or a function of t (0..1 over the sprite's life)."""
        start = max(1, start)
        dur = min(dur, self.length - start)
        w, h = SIZES[pic]
        lay = self.comp.layer(w, h, pic, start=start, duration=dur, blend=blend)
        last = dur + 1
        fp, fs, fr, fa = _fn(pos), _fn(scale), _fn(rot), _fn(alpha)

        def sc(t):
            s = fs(t)
            return (s[0], s[1], 100.0) if isinstance(s, (tuple, list)) else (s, s, 100.0)

        def ro(t):
            r = fr(t)
            return tuple(r) if isinstance(r, (tuple, list)) else (0.0, 0.0, r)

        lay.track("position", 1, last, lambda t: (fp(t)[0], fp(t)[1], 0.0))
        lay.track("scale", 1, last, sc)
        lay.track("rotation", 1, last, ro)
        lay.track("alpha", 1, last, lambda t: max(0.0, min(100.0, fa(t))))
        self._depth.append(depth)
        return lay

    def plane(self, rgb, start, dur, alpha, depth=-50, blend="Add", size=(1280, 720), pos=(640.0, 360.0)):
        start = max(1, start)
        dur = min(dur, self.length - start)
        lay = self.comp.plane(size[0], size[1], rgb, start=start, duration=dur, blend=blend)
        lay.key("position", 1, (pos[0], pos[1], 0.0))
        lay.track("alpha", 1, dur + 1, lambda t: max(0.0, min(100.0, _fn(alpha)(t))))
        self._depth.append(depth)
        return lay

    def finish(self):
        order = sorted(range(len(self.comp.layers)), key=lambda i: (-self._depth[i], i))
        self.comp.layers = [self.comp.layers[i] for i in order]
        for n, lay in enumerate(self.comp.layers):
            lay.lid = n + 1
        return self.comp


# Envelopes: fade in over the first `a` share of the life, out over the last `b` share.
def env(peak=100.0, a=0.15, b=0.25):
    def f(t):
        if t < a:
            return peak * t / a
        if t > 1 - b:
            return peak * (1 - t) / b
        return peak
    return f


def move(p0, p1, ease=ease_out):
    return lambda t: (lerp(p0[0], p1[0], ease(t)), lerp(p0[1], p1[1], ease(t)))


def arc_move(p0, p1, lift, ease=ease_in_out):
    """From p0 to p1 along an arc raised by lift pixels."""
    def f(t):
        e = ease(t)
        return (lerp(p0[0], p1[0], e), lerp(p0[1], p1[1], e) - lift * math.sin(math.pi * e))
    return f


def pop(s0, s1, overshoot=1.15, share=0.35):
    """Scale from s0 to s1 with a small overshoot in the first share of the life."""
    def f(t):
        if t >= share:
            return s1
        u = t / share
        if u < 0.7:
            return lerp(s0, s1 * overshoot, ease_out(u / 0.7))
        return lerp(s1 * overshoot, s1, (u - 0.7) / 0.3)
    return f


# ---- effect pieces ----------------------------------------------------------------------------

def glow(fx, at, start, dur, size, peak=80.0, depth=5, grow=1.3):
    s = size / 256.0 * 100
    fx.sprite("eff_glow.png", start, dur, at, scale=lambda t: s * lerp(0.6, grow, ease_out(t)),
              alpha=env(peak, 0.2, 0.6), depth=depth, blend="Add")


def ring(fx, at, start, dur=20, s0=20.0, s1=120.0, peak=100.0, depth=8):
    fx.sprite("eff_ring.png", start, dur, at, scale=lambda t: lerp(s0, s1, ease_out(t)),
              alpha=lambda t: peak * (1 - t), depth=depth, blend="Add")


def sparkles(fx, at, start, n, radius, seed, dur=28, size=(14, 26), depth=9, pic="eff_sparkle.png"):
    rnd = random.Random(seed)
    for k in range(n):
        ang = 2 * math.pi * (k + rnd.random() * 0.6) / n
        dist = radius * rnd.uniform(0.6, 1.0)
        s = rnd.uniform(*size)
        d = dur + rnd.randint(-6, 6)
        spin = rnd.uniform(-120, 120)
        end = (at[0] + dist * math.cos(ang), at[1] + dist * math.sin(ang))
        fx.sprite(pic, start + rnd.randint(0, 4), d, move(at, end),
                  scale=lambda t, s=s: s * (1 - 0.7 * t), rot=lambda t, spin=spin: spin * t,
                  alpha=lambda t: 100 * (1 - ease_in(t)), depth=depth, blend="Add")


def card_flash(fx, at, start, dur=26, depth=7, peak=100.0):
    fx.sprite("eff_card_glow.png", start, dur, at, scale=lambda t: lerp(100, 118, ease_out(t)),
              alpha=lambda t: peak * (1 - ease_in(t)), depth=depth, blend="Add")


def caption(fx, pic, start=1, dur=74):
    x, y = CAPTION
    fx.sprite(pic, start, dur, lambda t: (x - 24 * (1 - ease_out(min(1.0, t * 6))), y),
              alpha=env(100.0, 0.12, 0.18), depth=100)


def tint(fx, rgb, start, dur, peak):
    fx.plane(rgb, start, dur, env(peak, 0.25, 0.4))


def magic_circle(fx, at, start, dur, size, depth=2, spin=140.0):
    """The player's glassy gold circle: opens, turns slowly, fades."""
    s = size / 256.0 * 100
    fx.sprite("eff_circle_gold.png", start, dur, at, scale=pop(0.0, s, 1.08, 0.2),
              rot=lambda t: spin * t, alpha=env(85.0, 0.12, 0.3), depth=depth, blend="Add")


def falling(fx, pic, area, start, n, span, seed, size=(10, 22), fall=(120, 260), dur=(36, 56), depth=6,
            drift=(-30, 30)):
    """n pictures drifting down through area (x0, y0, x1, y1), started over span frames."""
    rnd = random.Random(seed)
    for _ in range(n):
        x = rnd.uniform(area[0], area[2])
        y = rnd.uniform(area[1], area[3])
        d = rnd.randint(*dur)
        s = rnd.uniform(*size)
        dy = rnd.uniform(*fall)
        dx = rnd.uniform(*drift)
        spin = rnd.uniform(-180, 180)
        fx.sprite(pic, start + rnd.randint(0, span), d, move((x, y), (x + dx, y + dy), ease=lambda t: t),
                  scale=s, rot=lambda t, spin=spin: spin * t, alpha=env(95.0, 0.2, 0.35), depth=depth, blend="Add")

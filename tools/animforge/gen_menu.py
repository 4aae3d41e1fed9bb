#!/usr/bin/env python3
"""The title menu's animations (background, sparkles, buttons, the host pick), the credit roll and
the advertisement.

    gen_menu.py OUT_DIR

Frames are 1-based as in the files; the game steps one frame per draw at 60 per second. Every
looping track is a periodic function whose period divides its loop section, so the jump back is
seamless.
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bca import Composition, ease_in_out, ease_out, lerp, write_file  # noqa: E402

HOSTS = ["pemra", "otsel", "quenvar", "iblen", "rosweth"]
HOST_NAMES = ["Pemra", "Otsel", "Quenvar", "Iblen", "Rosweth"]
SLOT_HOSTS = [1, 2, 0, 3, 4]  # pick slot 1..5 -> host
MOON = (922.0, 144.0)         # the moon of menu_bg_01.png
SEA_TOP = 446.0               # the horizon of the harbour pictures
TAU = 2 * math.pi


def frames(lay, track, fn, first=1, last=None):
    """Keys on relative frames first..last from fn(r), r the relative 1-based frame."""
    if last is None:
        last = lay.duration + 1
    for r in range(first, last + 1):
        v = fn(r)
        if not isinstance(v, (tuple, list)):
            v = (v,)
        lay.key(track, r, tuple(round(x, 1) for x in v))
    return lay


def force(lay, track, frame, value):
    """A key even when it repeats the previous value: the loop jump restores the cursors saved at
    the loop frame, so that frame needs keys of its own."""
    if not isinstance(value, (tuple, list)):
        value = (value,)
    value = tuple(round(x, 1) for x in value)
    keys = lay.keys[track]
    if keys and keys[-1][0] == frame:
        keys[-1] = (frame, value)
    elif not keys or keys[-1][0] < frame:
        keys.append((frame, value))
    return lay


def still(lay, x, y, scale=100.0, alpha=100.0):
    lay.key("position", 1, (x, y, 0.0))
    lay.key("scale", 1, (scale, scale, 100.0))
    lay.key("alpha", 1, alpha)
    return lay


def ramp(r, a, b):
    """0 before frame a, 1 after frame b, eased in between."""
    if r <= a:
        return 0.0
    if r >= b:
        return 1.0
    return ease_in_out((r - a) / (b - a))


def twinkle(u):
    """Alpha envelope of a sparkle over its life u in 0..1: a soft rise and fall with a flicker."""
    if u <= 0 or u >= 1:
        return 0.0
    return math.sin(math.pi * u) ** 2 * (0.8 + 0.2 * math.sin(5 * TAU * u))


def sparkle_layer(comp, image, spots, period, offset, size, alpha, start=1, duration=None, first_frame=1,
                  fade_in=None, rise=24.0, life=0.75):
    """A twinkling sparkle that visits spots in turn, one per period, drifting up and turning.
    Frames before first_frame keep it hidden; fade_in (relative frames) scales it up from 0."""
    lay = comp.layer(size, size, image, start=start, duration=duration, blend="Add")

    def phase(r):
        g = r - first_frame + offset
        return (g // period) % len(spots), (g % period) / period

    def pos(r):
        k, u = phase(r)
        x, y = spots[k]
        return (x + 6 * math.sin(TAU * u), y - rise * u, 0.0)

    def scl(r):
        k, u = phase(r)
        s = (35 + 30 * math.sin(math.pi * min(1.0, u / life))) if u < life else 35
        return (s, s, 100.0)

    def alp(r):
        if r < first_frame:
            return 0.0
        k, u = phase(r)
        a = alpha * twinkle(u / life) if u < life else 0.0
        if fade_in:
            a *= ramp(r, fade_in[0], fade_in[1])
        return a

    frames(lay, "position", pos)
    frames(lay, "scale", scl)
    frames(lay, "rotation", lambda r: (0.0, 0.0, (phase(r)[1] * 90.0) % 90.0))
    frames(lay, "alpha", alp)
    if first_frame > 1:
        for track, fn in (("position", pos), ("scale", scl), ("alpha", alp)):
            force(lay, track, first_frame, fn(first_frame))
    return lay


# ---- Title background ------------------------------------------------------------------------

def menu_bg():
    # The harbour at night: the moon's halo breathes, its path on the sea shimmers and single
    # glints drift across the water.
    n = 480
    bg1 = Composition("menu_bg_01", n)
    bg1.loop(1)
    rng = random.Random(11)
    for i in range(7):
        spots = []
        for _ in range(3):
            y = rng.uniform(SEA_TOP + 20, 700)
            t = (y - SEA_TOP) / (720 - SEA_TOP)
            spots.append((MOON[0] + rng.uniform(-1, 1) * (30 + 150 * t), y, 0.4 + 0.8 * t))
        lay = bg1.layer(128, 12, "menu_glint.png", blend="Add")
        period, offset = 160, i * 160 // 7

        def at(r, spots=spots, period=period, offset=offset):
            g = r - 1 + offset
            return spots[(g // period) % 3], (g % period) / period

        frames(lay, "position", lambda r, at=at: (at(r)[0][0] + 14 * at(r)[1], at(r)[0][1], 0.0))
        frames(lay, "scale", lambda r, at=at: (at(r)[0][2] * (60 + 50 * math.sin(math.pi * at(r)[1])),
                                               at(r)[0][2] * 100, 100.0))
        frames(lay, "alpha", lambda r, at=at: 75 * math.sin(math.pi * at(r)[1]) ** 2)
    for k, name in enumerate(("menu_sea_light_01.png", "menu_sea_light_02.png")):
        lay = bg1.layer(360, 280, name, blend="Add")
        sign = 1 if k == 0 else -1
        frames(lay, "position", lambda r, sign=sign: (MOON[0] + sign * 3 * math.sin(TAU * r / 240),
                                                      SEA_TOP + 140, 0.0))
        frames(lay, "alpha", lambda r, sign=sign: 45 + sign * 30 * math.sin(TAU * (r - 1) / 120))
    halo = bg1.layer(256, 256, "eff_glow.png", blend="Add")
    halo.key("position", 1, (MOON[0], MOON[1], 0.0))
    frames(halo, "scale", lambda r: (150 + 12 * math.sin(TAU * (r - 1) / 240),) * 2 + (100.0,))
    frames(halo, "alpha", lambda r: 34 + 10 * math.sin(TAU * (r - 1) / 240))
    night = bg1.plane(1280, 720, 0x18284A, blend="Add")
    frames(night, "alpha", lambda r: 10 + 5 * math.sin(TAU * (r - 1) / 480))
    still(bg1.layer(1280, 720, "menu_bg_01.png"), 640.0, 360.0)

    # After "start": the salon fades in over the harbour, its lanterns glowing.
    bg2 = Composition("menu_bg_02", 180)
    bg2.loop(31)
    for lx in (384.0, 896.0):
        glow = bg2.layer(256, 256, "eff_glow.png", blend="Add")
        glow.key("position", 1, (lx, 150.0, 0.0))
        pulse = lambda r, lx=lx: math.sin(TAU * ((r - 31) / 150 + lx / 1000))
        frames(glow, "scale", lambda r, pulse=pulse: (110 + 8 * pulse(r),) * 2 + (100.0,))
        frames(glow, "alpha", lambda r, pulse=pulse: (45 + 12 * pulse(r)) * ramp(r, 1, 30))
        force(glow, "scale", 31, (110 + 8 * pulse(31),) * 2 + (100.0,))
        force(glow, "alpha", 31, 45 + 12 * pulse(31))
    salon = bg2.layer(1280, 720, "menu_bg_02.png")
    salon.key("position", 1, (640.0, 360.0, 0.0))
    frames(salon, "scale", lambda r: (lerp(104, 100, ramp(r, 1, 30)),) * 2 + (100.0,), 1, 31)
    frames(salon, "alpha", lambda r: 100 * ramp(r, 1, 30), 1, 31)
    still(bg2.layer(1280, 720, "menu_bg_01.png"), 640.0, 360.0)
    return [bg1, bg2]


def menu_eff():
    # Sparkles in the five hosts' colours twinkle in the night sky above the harbour.
    comp = Composition("menu_eff", 480)
    comp.loop(1)
    rng = random.Random(23)
    for i in range(12):
        spots = [(rng.uniform(60, 1220), rng.uniform(40, 430)) for _ in range(2)]
        sparkle_layer(comp, "menu_sparkle_%s.png" % HOSTS[i % 5], spots, 240, i * 20, 64,
                      70 + 25 * rng.random())
    for i in range(3):
        spots = [(rng.uniform(100, 1180), rng.uniform(60, 360)) for _ in range(4)]
        sparkle_layer(comp, "eff_sparkle.png", spots, 120, i * 40, 128, 55)
    return [comp]


# ---- Buttons ---------------------------------------------------------------------------------

# Name, centre and width of each menu button; the centres are those of the hit areas, and at the
# scales used below (at most 97.6 %) every picture stays inside its area.
BUTTONS = [
    ("menu_btn_start", 1051.0, 544.5, 328),
    ("menu_btn_gallery", 711.0, 544.5, 328),
    ("menu_btn_credit", 711.0, 605.5, 328),
    ("menu_btn_end", 1028.5, 605.5, 284),
    ("menu_btn_quick", 1051.0, 666.5, 328),
]
# Composition "menu_button_0" + (hover + 1) lights this button (None: all dim).
LIT = {1: 0, 2: 1, 3: 2, 4: 3, 5: None, 6: 4}
REST_SCALE = 97.0


def menu_button():
    comps = []
    # 00: the menu appears; the plates fade in one after the other and settle.
    intro = Composition("menu_button_00", 60)
    intro.loop(60)
    for i, (name, x, y, w) in enumerate(BUTTONS):
        lay = intro.layer(w, 44, name + ".png")
        lay.key("position", 1, (x, y, 0.0))
        d = 1 + i * 5
        frames(lay, "scale", lambda r, d=d: (lerp(90, REST_SCALE, ease_out(min(1.0, max(0.0, (r - d) / 20)))),) * 2
               + (100.0,))
        frames(lay, "alpha", lambda r, d=d: 100 * ease_out(min(1.0, max(0.0, (r - d) / 20))))
    comps.append(intro)
    # 01..06: one plate lit and breathing (the lit picture pulses over the dim one), the rest dim.
    for number in range(1, 7):
        comp = Composition("menu_button_%02d" % number, 120)
        comp.loop(1)
        for i, (name, x, y, w) in enumerate(BUTTONS):
            if LIT[number] == i:
                lit = comp.layer(w, 44, name + "_on.png")
                lit.key("position", 1, (x, y, 0.0))
                breath = lambda r: math.cos(TAU * (r - 1) / 120)
                frames(lit, "scale", lambda r, b=breath: (97.1 + 0.5 * b(r),) * 2 + (100.0,))
                frames(lit, "alpha", lambda r, b=breath: 82 + 18 * b(r))
            still(comp.layer(w, 44, name + ".png"), x, y, REST_SCALE)
        comps.append(comp)
    return comps


# ---- The host pick ---------------------------------------------------------------------------

def slot_x(s):
    return 640.0 + (s - 3) * 230.0


SLOT_Y = 330.0
LIFT = 8.0


def menu_select_00():
    # A veil over the salon and the caption asking for a host.
    comp = Composition("menu_select_00", 40)
    comp.loop(40)
    cap = comp.layer(640, 96, "menu_select_caption.png")
    frames(cap, "position", lambda r: (640.0, lerp(60, 80, ease_out(min(1.0, max(0.0, (r - 6) / 20)))), 0.0))
    frames(cap, "alpha", lambda r: 100 * ease_out(min(1.0, max(0.0, (r - 6) / 20))))
    veil = comp.plane(1280, 720, 0x0E1730)
    veil.key("position", 1, (640.0, 360.0, 0.0))
    frames(veil, "alpha", lambda r: 45 * ease_out(min(1.0, (r - 1) / 20)))
    return [comp]


def menu_select_slot(s):
    host = SLOT_HOSTS[s - 1]
    x, panel = slot_x(s), "menu_slot_%s.png" % HOSTS[host]
    sparkle = "menu_sparkle_%s.png" % HOSTS[host]
    comps = []

    # 01: the panel drops gently into place and stays; the slots follow one another.
    d = 1 + (s - 1) * 5
    enter = Composition("menu_select_%02d_01" % s, 70)
    enter.loop(70)
    flare = enter.layer(256, 256, "eff_glow.png", start=d + 12, duration=30, blend="Add")
    flare.key("position", 1, (x, SLOT_Y, 0.0))
    frames(flare, "scale", lambda r: (lerp(120, 170, r / 31),) * 2 + (100.0,))
    frames(flare, "alpha", lambda r: 40 * math.sin(math.pi * (r - 1) / 30))
    lay = enter.layer(240, 360, panel, start=d, duration=70 - d)
    frames(lay, "position", lambda r: (x, lerp(SLOT_Y - 30, SLOT_Y, ease_out(min(1.0, (r - 1) / 26))), 0.0))
    frames(lay, "alpha", lambda r: 100 * ease_out(min(1.0, (r - 1) / 20)))
    comps.append(enter)

    # 02: hovered: lifted a little, a gold glow breathing behind it and sparkles in the host's
    # colour around its rim.
    hover = Composition("menu_select_%02d_02" % s, 128)
    hover.loop(9)

    def lift(r):
        if r <= 9:
            return SLOT_Y - LIFT * ease_out((r - 1) / 8)
        return SLOT_Y - LIFT + 1.5 * math.sin(TAU * (r - 9) / 120)

    rim = [(x - 112, 190), (x + 110, 250), (x - 104, 420), (x + 100, 470), (x, 160), (x + 20, 500)]
    for i in range(4):
        spots = [rim[(i + 2 * k) % len(rim)] for k in range(2)]
        sparkle_layer(hover, sparkle, spots, 60, i * 15, 64, 90, first_frame=9, rise=16, life=0.9)
    lay = hover.layer(240, 360, panel)
    frames(lay, "position", lambda r: (x, lift(r), 0.0))
    frames(lay, "scale", lambda r: (100 + 2 * ease_out(min(1.0, (r - 1) / 8)),) * 2 + (100.0,), 1, 9)
    force(lay, "position", 9, (x, lift(9), 0.0))
    glow = hover.layer(280, 400, "menu_slot_glow.png", blend="Add")
    frames(glow, "position", lambda r: (x, lift(r), 0.0))
    frames(glow, "scale", lambda r: (100 + 2 * ease_out(min(1.0, (r - 1) / 8)),) * 2 + (100.0,), 1, 9)
    frames(glow, "alpha", lambda r: 85 * ease_out((r - 1) / 8) if r <= 9
           else 70 + 25 * math.cos(TAU * (r - 9) / 120))
    force(glow, "position", 9, (x, lift(9), 0.0))
    force(glow, "alpha", 9, 95)
    comps.append(hover)

    # 04: no longer hovered: the panel settles back from its lift as the glow fades, and rests
    # where the entrance left it (replaying 01 would drop it in again from nothing).
    settle = Composition("menu_select_%02d_04" % s, 30)
    settle.loop(30)
    down = lambda r: ease_out(min(1.0, (r - 1) / 9))
    glow = settle.layer(280, 400, "menu_slot_glow.png", duration=10, blend="Add")
    frames(glow, "position", lambda r: (x, lerp(SLOT_Y - LIFT, SLOT_Y, down(r)), 0.0))
    frames(glow, "scale", lambda r: (lerp(102, 100, down(r)),) * 2 + (100.0,))
    frames(glow, "alpha", lambda r: 85 * (1 - down(r)))
    lay = settle.layer(240, 360, panel)
    frames(lay, "position", lambda r: (x, lerp(SLOT_Y - LIFT, SLOT_Y, down(r)), 0.0), 1, 11)
    frames(lay, "scale", lambda r: (lerp(102, 100, down(r)),) * 2 + (100.0,), 1, 11)
    comps.append(settle)

    # 03: chosen: a flash and a burst of sparkles, then the panel stays lit.
    chosen = Composition("menu_select_%02d_03" % s, 60)
    chosen.loop(60)
    chosen.sound(1, "se_sparkle.wav")
    for i in range(6):
        ang = TAU * (i + 0.5) / 6
        burst = chosen.layer(64, 64, sparkle, duration=36, blend="Add")
        frames(burst, "position", lambda r, a=ang: (x + 150 * ease_out(r / 37) * math.cos(a),
                                                     SLOT_Y - LIFT + 200 * ease_out(r / 37) * math.sin(a), 0.0))
        frames(burst, "scale", lambda r: (lerp(90, 40, r / 37),) * 2 + (100.0,))
        frames(burst, "rotation", lambda r: (0.0, 0.0, 4.0 * r))
        frames(burst, "alpha", lambda r: 100 * (1 - r / 37))
    flash = chosen.layer(240, 360, "menu_slot_flash.png", duration=24, blend="Add")
    flash.key("position", 1, (x, SLOT_Y - LIFT, 0.0))
    frames(flash, "scale", lambda r: (lerp(102, 112, ease_out(r / 25)),) * 2 + (100.0,))
    frames(flash, "alpha", lambda r: 100 * (1 - ease_out(r / 25)))
    bump = lambda r: 102 + 3 * math.sin(math.pi * min(1.0, (r - 1) / 16))
    lay = chosen.layer(240, 360, panel)
    lay.key("position", 1, (x, SLOT_Y - LIFT, 0.0))
    frames(lay, "scale", lambda r: (bump(r),) * 2 + (100.0,), 1, 17)
    glow = chosen.layer(280, 400, "menu_slot_glow.png", blend="Add")
    glow.key("position", 1, (x, SLOT_Y - LIFT, 0.0))
    frames(glow, "scale", lambda r: (bump(r),) * 2 + (100.0,), 1, 17)
    glow.key("alpha", 1, 100.0)
    comps.append(chosen)
    return comps


def menu_select_06():
    # The moon over the pick and sparkles in the hosts' colours along its edges.
    comp = Composition("menu_select_06_00", 480)
    comp.loop(61)
    rng = random.Random(61)
    for i in range(10):
        spots = []
        for _ in range(3):
            if rng.random() < 0.5:
                spots.append((rng.choice([rng.uniform(20, 300), rng.uniform(980, 1260)]), rng.uniform(24, 136)))
            else:
                spots.append((rng.choice([rng.uniform(12, 50), rng.uniform(1230, 1268)]), rng.uniform(170, 500)))
        sparkle_layer(comp, "menu_sparkle_%s.png" % HOSTS[i % 5], spots, 140, i * 14, 64, 85,
                      fade_in=(1, 60))
    moon = comp.layer(192, 192, "menu_moon.png")
    frames(moon, "position", lambda r: (1184.0, lerp(40, 70, ease_out(min(1.0, (r - 1) / 60))) if r <= 61
                                        else 70 + 3 * math.sin(TAU * (r - 61) / 420), 0.0))
    moon.key("scale", 1, (75.0, 75.0, 100.0))
    frames(moon, "alpha", lambda r: 100 * ease_out(min(1.0, (r - 1) / 40)), 1, 61)
    halo = comp.layer(256, 256, "eff_glow.png", blend="Add")
    frames(halo, "position", lambda r: (1184.0, lerp(40, 70, ease_out(min(1.0, (r - 1) / 60))) if r <= 61
                                        else 70 + 3 * math.sin(TAU * (r - 61) / 420), 0.0))
    frames(halo, "scale", lambda r: (100 + 10 * math.sin(TAU * (r - 61) / 210),) * 2 + (100.0,))
    frames(halo, "alpha", lambda r: (35 + 10 * math.sin(TAU * (r - 61) / 210)) * ramp(r, 1, 60))
    force(moon, "position", 61, (1184.0, 70.0, 0.0))
    force(halo, "position", 61, (1184.0, 70.0, 0.0))
    force(halo, "scale", 61, (100.0, 100.0, 100.0))
    force(halo, "alpha", 61, 35.0)
    return [comp]


def menu_select_07():
    # Lantern lights drifting up through the salon, with a petal of each host's colour.
    comp = Composition("menu_select_07", 480)
    comp.loop(1)
    rng = random.Random(7)
    for i in range(15):
        glow = i < 10
        x0, phase = rng.uniform(40, 1240), rng.uniform(0, 1)
        sway, laps = rng.uniform(10, 30), 1 if glow else 2
        lay = comp.layer(*((256, 256, "eff_glow.png") if glow else (64, 64, "menu_sparkle_%s.png" % HOSTS[i % 5])),
                         blend="Add")

        def y_at(r, phase=phase, laps=laps):
            u = ((r - 1) / 480 * laps + phase) % 1.0
            return 760 - 800 * u, u

        frames(lay, "position", lambda r, x0=x0, sway=sway, y_at=y_at:
               (x0 + sway * math.sin(TAU * 2 * (r - 1) / 480 + x0), y_at(r)[0], 0.0))
        size = rng.uniform(6, 12) if glow else rng.uniform(30, 45)
        lay.key("scale", 1, (size, size, 100.0))
        if not glow:
            frames(lay, "rotation", lambda r: (0.0, 0.0, (r * 0.75) % 360))
        peak = 45 if glow else 60
        frames(lay, "alpha", lambda r, y_at=y_at, peak=peak: peak * math.sin(math.pi * y_at(r)[1]))
    return [comp]


# ---- Credits ---------------------------------------------------------------------------------

# The credit music runs 6,150,000 sample frames at 44.1 kHz (139.5 s); the roll ends just before
# it, its last line resting in the middle of the screen for the final seconds.
CREDIT_LENGTH = 8340
ROLL_PIECE = 2048
END_GAP = 200


def credit_offsets(n):
    """Scroll distance per frame: steady, then easing to a stop at the end line."""
    stop = n - 480
    slow = 180
    distance = 2 * ROLL_PIECE + END_GAP + 360
    steady_end = stop - slow
    v = distance / ((steady_end - 1) + slow / 2)
    out = {}
    for f in range(1, n + 1):
        if f <= steady_end:
            out[f] = v * (f - 1)
        elif f <= stop:
            t = (f - steady_end) / slow
            out[f] = v * (steady_end - 1) + v * slow * (t - t * t / 2)
        else:
            out[f] = distance
    return out


def menu_credit():
    n = CREDIT_LENGTH
    comp = Composition("menu_credit", n)
    off = credit_offsets(n)
    top = {f: 720 - round(off[f]) for f in off}  # screen y of the roll's top edge

    def span(centre_of, half):
        shown = [f for f in range(1, n + 1) if centre_of(f) - half < 720 and centre_of(f) + half > 0]
        return shown[0], shown[-1]

    end_y = lambda f: top[f] + 2 * ROLL_PIECE + END_GAP
    first, last = span(end_y, 80)
    end = comp.layer(1100, 160, "credit_end.png", start=first, duration=n - first)
    frames(end, "position", lambda r: (640.0, float(end_y(first + r - 1)), 0.0))
    for k, name in enumerate(("credit_roll_01.png", "credit_roll_02.png")):
        centre = lambda f, k=k: top[f] + ROLL_PIECE * k + ROLL_PIECE / 2
        first, last = span(centre, ROLL_PIECE / 2)
        lay = comp.layer(960, ROLL_PIECE, name, start=first, duration=last - first)
        frames(lay, "position", lambda r, c=centre, s=first: (640.0, float(c(s + r - 1)), 0.0))
    veil = comp.plane(1280, 720, 0x0E1730)
    veil.key("position", 1, (640.0, 360.0, 0.0))
    frames(veil, "alpha", lambda r: 28 * ramp(r, 1, 240) * (1 - 0.4 * ramp(r, n - 480, n - 240)))
    for k, name in enumerate(("menu_sea_light_01.png", "menu_sea_light_02.png")):
        lay = comp.layer(360, 280, name, blend="Add")
        lay.key("position", 1, (640.0, SEA_TOP + 140, 0.0))
        lay.key("scale", 1, (160.0, 100.0, 100.0))
        sign = 1 if k == 0 else -1
        frames(lay, "alpha", lambda r, sign=sign: 30 + sign * 18 * math.sin(TAU * (r - 1) / 150))
    sun = comp.layer(256, 256, "eff_glow.png", blend="Add")
    sun.key("position", 1, (640.0, SEA_TOP, 0.0))
    frames(sun, "scale", lambda r: (lerp(300, 420, r / n),) * 2 + (100.0,))
    frames(sun, "alpha", lambda r: 18 + 22 * r / n)
    bg = comp.layer(1280, 720, "credit_bg.png")
    bg.key("position", 1, (640.0, 360.0, 0.0))
    frames(bg, "scale", lambda r: (lerp(100, 106, r / n),) * 2 + (100.0,))
    return [comp]


# ---- Advertisement ---------------------------------------------------------------------------

AD_LENGTH = 840
AD_HOSTS = [1, 2, 0, 3, 4]
AD_FIRST = 121   # first host's frame
AD_TURN = 104    # frames per host


def menu_advertise():
    n = AD_LENGTH
    comp = Composition("menu_advertise", n)
    finale = AD_FIRST + AD_TURN * len(AD_HOSTS)
    comp.sound(finale + 40, "se_chime.wav")

    # Finale: the five hosts together and the invitation.
    invite = comp.layer(1000, 200, "cm_invite.png", start=finale + 30, duration=n - finale - 30)
    frames(invite, "position", lambda r: (640.0, lerp(640, 606, ease_out(min(1.0, (r - 1) / 30))), 0.0), 1, 31)
    frames(invite, "alpha", lambda r: 100 * ease_out(min(1.0, (r - 1) / 30)), 1, 31)
    rng = random.Random(41)
    for i in range(10):
        spots = [(rng.uniform(60, 1220), rng.uniform(130, 480)) for _ in range(2)]
        sparkle_layer(comp, "menu_sparkle_%s.png" % HOSTS[i % 5], spots, 90, i * 9, 64, 90,
                      start=finale, duration=n - finale)
    poster = comp.layer(1280, 720, "cm_bg.png", start=finale - 20, duration=n - finale + 20)
    poster.key("position", 1, (640.0, 360.0, 0.0))
    frames(poster, "scale", lambda r: (lerp(106, 100, ease_out(min(1.0, (r - 1) / 60))),) * 2 + (100.0,), 1, 61)
    frames(poster, "alpha", lambda r: 100 * ease_out(min(1.0, (r - 1) / 24)), 1, 25)

    # One turn per host: the stand slides in over its aura, the line below it.
    for k, host in enumerate(AD_HOSTS):
        s = AD_FIRST + AD_TURN * k
        comp.sound(s + 8, "se_sparkle.wav")
        side = 1 if k % 2 == 0 else -1
        env = lambda r: ease_out(min(1.0, (r - 1) / 14)) * (1 - ease_in_out(max(0.0, (r - (AD_TURN - 12)) / 12)))
        line = comp.layer(1120, 150, "cm_line_%s.png" % HOSTS[host], start=s + 10, duration=AD_TURN - 10)
        frames(line, "position", lambda r: (640.0, lerp(650, 626, ease_out(min(1.0, (r - 1) / 16))), 0.0))
        frames(line, "alpha", lambda r, env=env: 100 * env(r + 10) * ease_out(min(1.0, (r - 1) / 12)))
        for i in range(3):
            spots = [(640 + side * 60 + rng.uniform(-260, 260), rng.uniform(90, 460)) for _ in range(2)]
            sparkle_layer(comp, "menu_sparkle_%s.png" % HOSTS[host], spots, 50, i * 16, 64, 90,
                          start=s, duration=AD_TURN)
        stand = comp.layer(640, 720, "Stand_%s_01.png" % HOST_NAMES[host], start=s, duration=AD_TURN)
        frames(stand, "position", lambda r, side=side: (640 + side * (60 - 60 * ease_out(min(1.0, (r - 1) / 20)))
                                                        + side * 10 * r / AD_TURN, 360.0, 0.0))
        frames(stand, "alpha", lambda r, env=env: 100 * env(r))
        aura = comp.layer(640, 720, "stand_aura_%s.png" % HOSTS[host], start=s, duration=AD_TURN, blend="Add")
        aura.key("position", 1, (640.0, 360.0, 0.0))
        frames(aura, "scale", lambda r: (lerp(96, 106, r / AD_TURN),) * 2 + (100.0,))
        frames(aura, "alpha", lambda r, env=env: 70 * env(r))

    # Opening: the harbour at night and the poster's first words; then the salon behind the hosts.
    salon = comp.layer(1280, 720, "stand_bg.png", start=AD_FIRST - 10, duration=finale - AD_FIRST + 10)
    salon.key("position", 1, (640.0, 360.0, 0.0))
    frames(salon, "alpha", lambda r: 100 * ease_out(min(1.0, (r - 1) / 20)), 1, 21)
    title = comp.layer(1000, 180, "cm_title.png", duration=AD_FIRST - 1)
    frames(title, "position", lambda r: (640.0, lerp(350, 330, ease_out(min(1.0, max(0.0, (r - 10) / 40)))), 0.0))
    frames(title, "alpha", lambda r: 100 * ramp(r, 10, 40) * (1 - ramp(r, AD_FIRST - 24, AD_FIRST - 4)))
    for i in range(5):
        spots = [(rng.uniform(100, 1180), rng.uniform(40, 260)) for _ in range(2)]
        sparkle_layer(comp, "menu_sparkle_%s.png" % HOSTS[i], spots, 60, i * 12, 64, 80,
                      duration=AD_FIRST - 1)
    halo = comp.layer(256, 256, "eff_glow.png", duration=AD_FIRST - 1, blend="Add")
    halo.key("position", 1, (MOON[0], MOON[1], 0.0))
    frames(halo, "scale", lambda r: (150 + 20 * r / AD_FIRST,) * 2 + (100.0,))
    halo.key("alpha", 1, 24.0)
    harbour = comp.layer(1280, 720, "menu_bg_01.png", duration=AD_FIRST - 1)
    harbour.key("position", 1, (640.0, 360.0, 0.0))
    frames(harbour, "scale", lambda r: (lerp(100, 104, r / AD_FIRST),) * 2 + (100.0,))
    return [comp]


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: gen_menu.py OUT_DIR\n")
        return 2
    out = sys.argv[1]
    write_file(out, "menu_bg.bca", menu_bg())
    write_file(out, "menu_eff.bca", menu_eff())
    write_file(out, "menu_button.bca", menu_button())
    write_file(out, "menu_select_00.bca", menu_select_00())
    for s in range(1, 6):
        write_file(out, "menu_select_%02d.bca" % s, menu_select_slot(s))
    write_file(out, "menu_select_06.bca", menu_select_06())
    write_file(out, "menu_select_07.bca", menu_select_07())
    write_file(out, "menu_credit.bca", menu_credit())
    write_file(out, "menu_advertise.bca", menu_advertise())
    return 0


if __name__ == "__main__":
    sys.exit(main())

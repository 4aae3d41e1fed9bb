#!/usr/bin/env python3
"""Writes the match's scenery: the salon behind the table (Stand_BG.bca), the five hosts standing
behind it (Stand_<Host>.bca) and the help panel (Tips.bca).

    gen_match_scene.py OUT_DIR
"""
import math
import random
import sys

from bca import ease_in_out, ease_out, lerp, write_file
from match_fx import ABILITY_BUTTON, HOSTS, Fx, env, human_slot

TAU = 2 * math.pi


def salon():
    """The salon, looping every 8 s: lantern flicker, a slow drifting light, glints on the sea."""
    n = 480
    fx = Fx("BG_Stand_01", n)
    fx.comp.loop(1)
    fx.sprite("stand_bg.png", 1, n - 1, (640.0, 360.0), depth=0)
    # The two lanterns of the backdrop (w * 0.3 and w * 0.7, y 150): a flicker made of sines whose
    # periods divide the loop, so the seam does not show.
    for k, x in enumerate((384.0, 896.0)):
        ph = k * 1.7
        fx.sprite("eff_glow.png", 1, n - 1, (x, 150.0),
                  scale=lambda t, ph=ph: 110 + 6 * math.sin(TAU * 4 * t + ph),
                  alpha=lambda t, ph=ph: 42 + 7 * math.sin(TAU * 12 * t + ph) + 5 * math.sin(TAU * 31 * t + 2 * ph)
                  + 3 * math.sin(TAU * 57 * t), depth=5, blend="Add")
    # Moonlight drifting slowly across the wall.
    fx.sprite("eff_glow.png", 1, n - 1, lambda t: (840 + 160 * math.sin(TAU * t), 300 + 40 * math.sin(TAU * 2 * t)),
              scale=420, alpha=lambda t: 12 + 4 * math.sin(TAU * t), depth=3, blend="Add")
    # The sea in the window (x 430..850, y 450..575): small glints that come and go.
    rnd = random.Random(7)
    for k in range(14):
        x, y = rnd.uniform(445, 835), rnd.uniform(455, 570)
        phase, s = rnd.random(), rnd.uniform(6, 11)

        def blink(t, phase=phase):
            u = (t * 2 + phase) % 1.0
            return 90 * math.sin(math.pi * u / 0.18) if u < 0.18 else 0.0
        fx.sprite("eff_sparkle.png", 1, n - 1, (x, y), scale=s, alpha=blink, depth=4, blend="Add")
    return fx.finish()


def stand(host, k):
    """Host standing behind the table, breathing, with the aura pulsing behind. k = 1 calm,
    2 pleased (a little lighter on the feet), 3 flustered (a quicker sway)."""
    n = 240
    fx = Fx("%s_Stand_%02d" % (host, k), n)
    fx.comp.loop(1)
    cx, cy = 960.0, 400.0
    breaths = (1, 2, 3)[k - 1]
    sway = (0.0, 0.0, 3.0)[k - 1]
    bob = (2.0, 4.0, 2.5)[k - 1]

    def pos(t):
        return (cx + sway * math.sin(TAU * 4 * t), cy - bob * math.sin(TAU * breaths * t))

    def scale(t):
        b = math.sin(TAU * breaths * t)
        return (100 + 0.3 * b, 100 + 0.7 * b)

    fx.sprite("Stand_%s_%02d.png" % (host, k), 1, n - 1, pos, scale=scale, depth=10)
    fx.sprite("stand_aura_%s.png" % host.lower(), 1, n - 1, (cx, cy - 20),
              scale=lambda t: 100 + 3 * math.sin(TAU * 2 * t),
              alpha=lambda t: (62 if k == 1 else 75) + 14 * math.sin(TAU * 2 * t), depth=0, blend="Add")
    return fx.finish()


PANEL = (720.0, 308.0)  # centre of the help panel (top-left 510, 228; 420 x 160)


def tip(name, text, length, pointer=None):
    fx = Fx(name, length)
    fade = env(100, 18.0 / length, 30.0 / length)
    fx.sprite(text, 1, length - 1, PANEL, alpha=fade, depth=10)
    fx.sprite("tips_panel.png", 1, length - 1, PANEL, alpha=fade, depth=0)
    if pointer is not None:
        px, py = pointer
        fx.sprite("eff_arrow_tip.png", 10, length - 10, lambda t: (px, py - 8 * abs(math.sin(TAU * 3 * t * length / 60))),
                  alpha=env(100, 0.05, 0.1), depth=20)
    return fx.finish()


def common_tip():
    """The first turn's help, about 9 s: the text stays while a gold arrow points at the cards,
    Draw, Showdown and the ability button in turn."""
    n = 540
    fx = Fx("Tips_Common_01", n)
    fade = env(100, 18.0 / n, 36.0 / n)
    fx.sprite("tips_common.png", 1, n - 1, PANEL, alpha=fade, depth=10)
    fx.sprite("tips_panel.png", 1, n - 1, PANEL, alpha=fade, depth=0)
    targets = [(300.0, 412.0), (72.0, 596.0), (183.0, 596.0), (ABILITY_BUTTON[0], 566.0)]
    for k, (x, y) in enumerate(targets):
        start, dur = 20 + 110 * k, 104
        fx.sprite("eff_arrow_tip.png", start, dur, lambda t, x=x, y=y: (x, y - 10 * abs(math.sin(TAU * 3 * t))),
                  alpha=env(100, 0.12, 0.15), depth=20)
        fx.sprite("eff_glow.png", start, dur, (x, y + 50), scale=lambda t: 50 + 8 * math.sin(TAU * 3 * t),
                  alpha=env(45, 0.12, 0.15), depth=19, blend="Add")
    return fx.finish()


def tips():
    comps = [common_tip()]
    comps.append(tip("Tips_DeepFreeze", "tips_deepfreeze.png", 360))
    comps.append(tip("Tips_SealWard", "tips_sealward.png", 300, pointer=(ABILITY_BUTTON[0], 566.0)))
    comps.append(tip("Tips_FreezeGust", "tips_freezegust.png", 300))
    comps.append(tip("Tips_DummyCurse", "tips_dummycurse.png", 300))
    for i in range(5):
        x, y = human_slot(i)
        comps.append(tip("Tips_DummyCurse_%02d" % (i + 1), "tips_dummycurse.png", 300, pointer=(x, y - 90)))
    comps.append(tip("Tips_GuardMark", "tips_guardmark.png", 480))
    return comps


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: gen_match_scene.py OUT_DIR")
    out = sys.argv[1]
    write_file(out, "Stand_BG.bca", [salon()])
    for host in HOSTS:
        write_file(out, "Stand_%s.bca" % host, [stand(host, k) for k in (1, 2, 3)])
    write_file(out, "Tips.bca", tips())


if __name__ == "__main__":
    main()

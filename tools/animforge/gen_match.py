#!/usr/bin/env python3
"""Writes the match's ability effects: Effect_Player.bca and Effect_<Host>.bca.

With GEN_MATCH_APPEAR set in the environment it also prints each layer's "appear" frame.

Every ability layer carries one "appear" label on the frame where its magic reaches the cards
(the match applies the ability's card changes there). Targeted layers end in _01.._05 for the
card slot they aim at: the player's own slot for the player's card spells, Otsel's DummyCurse and
the lock overlays; the opponent's slot for JokerCall and Quenvar's copies.

    gen_match.py OUT_DIR
"""
import math
import os
import random
import sys

from bca import ease_in, ease_in_out, ease_out, lerp, write_file
from match_fx import (ABILITY_BUTTON, BET, DECK, ENEMY_ROW, GAUGE, HOST, HUMAN_ROW, TABLE_CENTRE, Fx,
                      arc_move, caption, card_flash, enemy_slot, env, falling, glow, human_slot,
                      magic_circle, move, pop, ring, sparkles, tint)

HUMAN = [human_slot(i) for i in range(5)]
ENEMY = [enemy_slot(i) for i in range(5)]

# Appear frame of each layer, reported by main() for the record.
APPEAR = {}


def finish(fx, appear, sounds):
    fx.comp.label(appear, "appear")
    APPEAR[fx.comp.name] = appear
    for frame, name in sounds:
        fx.comp.sound(frame, name)
    return fx.finish()


def targeted(base, make, slots):
    """The untargeted layer (aimed at the whole row) and its five slot forms."""
    out = [make(base, None)]
    for i in range(5):
        out.append(make("%s_%02d" % (base, i + 1), i))
    return out


# ---- the player's eight abilities: glassy gold and moonlight ---------------------------------

def rank_spell(name, slot, up):
    fx = Fx(name, 96)
    at = HUMAN[slot] if slot is not None else HUMAN_ROW
    targets = [HUMAN[slot]] if slot is not None else HUMAN
    caption(fx, "cap_player_%02d.png" % (1 if up else 2))
    magic_circle(fx, at, 2, 92, 150 if slot is not None else 420)
    arrow = "eff_arrow_up.png" if up else "eff_arrow_down.png"
    appear = 44
    for k, p in enumerate(targets):
        y0, y1 = (p[1] + 90, p[1] - 10) if up else (p[1] - 90, p[1] + 10)
        fx.sprite(arrow, 8 + 2 * k, appear - 6 - 2 * k + 12, move((p[0], y0), (p[0], y1)), scale=55,
                  alpha=env(100, 0.2, 0.3), depth=20)
        card_flash(fx, p, appear)
        sparkles(fx, p, appear, 6, 70, seed=10 + k, size=(10, 20))
    ring(fx, at, appear, 22, 20, 160 if slot is not None else 320)
    glow(fx, at, appear - 4, 30, 220)
    return finish(fx, appear, [(6, "se_chime.wav"), (appear, "se_sparkle.wav")])


def joker_swap(name, slot):
    fx = Fx(name, 100)
    targets = [HUMAN[slot]] if slot is not None else HUMAN
    caption(fx, "cap_player_03.png")
    appear = 48
    magic_circle(fx, DECK, 2, 50, 170, spin=-120)
    for k, p in enumerate(targets):
        # The joker leaves the deck, turns over in flight and lands on the card.
        fx.sprite("eff_card_joker.png", 10, appear - 10 + 14, arc_move(DECK, p, 60),
                  scale=lambda t: (lerp(40, 100, ease_out(min(1, t * 1.3))) * abs(math.cos(math.pi * min(1, t * 1.3))) + 4,
                                   lerp(40, 100, ease_out(min(1, t * 1.3)))),
                  rot=lambda t: 20 * (1 - ease_out(min(1, t * 1.3))),
                  alpha=lambda t: 100 if t < 0.75 else 100 * (1 - t) / 0.25, depth=20)
        card_flash(fx, p, appear)
        sparkles(fx, p, appear, 7, 80, seed=30 + k)
        ring(fx, p, appear, 22, 20, 140)
    glow(fx, DECK, 4, 40, 200, peak=60)
    return finish(fx, appear, [(6, "se_chime.wav"), (12, "se_cardflip.wav"), (appear, "se_sparkle.wav")])


def see_through(name):
    fx = Fx(name, 96)
    caption(fx, "cap_player_04.png")
    appear = 42
    eye = (ENEMY_ROW[0], ENEMY_ROW[1] + 6)
    fx.sprite("eff_eye.png", 4, 60, eye,
              scale=lambda t: (70, 70 * (ease_out(min(1, t * 3)) if t < 0.8 else (1 - t) / 0.2)),
              alpha=env(80, 0.1, 0.2), depth=20)
    magic_circle(fx, eye, 2, 70, 300, depth=1)
    # A glassy sweep over the opponent's cards.
    fx.sprite("eff_streak.png", 28, 34, lambda t: (lerp(-40, 720, ease_in_out(t)), ENEMY_ROW[1]),
              scale=(90, 320), alpha=env(90, 0.2, 0.3), depth=15, blend="Add")
    for k, p in enumerate(ENEMY):
        card_flash(fx, p, appear + k * 3, peak=80)
    sparkles(fx, ENEMY_ROW, appear, 10, 260, seed=41)
    return finish(fx, appear, [(6, "se_chime.wav"), (appear, "se_sparkle.wav")])


def dummy_card(name, reflected):
    fx = Fx(name, 112 if reflected else 96)
    caption(fx, "cap_player_05.png")
    magic_circle(fx, HUMAN_ROW, 2, 40, 200)
    if not reflected:
        appear = 44
        fx.sprite("eff_card_dummy.png", 8, appear - 8, arc_move(HUMAN_ROW, ENEMY_ROW, 40),
                  scale=lambda t: lerp(70, 110, t), rot=lambda t: 360 * ease_out(t), alpha=env(100, 0.1, 0.05), depth=20)
        ring(fx, ENEMY_ROW, appear, 24, 30, 300)
        for k, p in enumerate(ENEMY):
            card_flash(fx, p, appear + 2 * k, peak=70)
        sparkles(fx, ENEMY_ROW, appear, 10, 220, seed=51)
        return finish(fx, appear, [(6, "se_chime.wav"), (appear, "se_cardflip.wav")])
    # Reflected: the card bounces off a mirror before the opponent's row and turns back.
    hit, appear = 36, 66
    turn = (ENEMY_ROW[0], ENEMY_ROW[1] + 90)
    fx.sprite("eff_card_dummy.png", 8, hit - 8, move(HUMAN_ROW, turn, ease=ease_in),
              scale=lambda t: lerp(70, 100, t), rot=lambda t: 300 * t, depth=20)
    fx.sprite("eff_mirror.png", hit - 8, 30, (turn[0], turn[1] - 40), scale=pop(20, 70),
              alpha=env(90, 0.2, 0.4), depth=18)
    ring(fx, turn, hit, 20, 20, 160)
    sparkles(fx, turn, hit, 8, 90, seed=52, pic="eff_heart.png", size=(8, 14))
    fx.sprite("eff_card_dummy.png", hit, appear - hit, move(turn, HUMAN_ROW, ease=ease_in),
              scale=lambda t: lerp(100, 120, t), rot=lambda t: 300 + 240 * t, alpha=env(100, 0.01, 0.1), depth=20)
    ring(fx, HUMAN_ROW, appear, 24, 30, 300)
    for k, p in enumerate(HUMAN):
        card_flash(fx, p, appear + 2 * k, peak=70)
    return finish(fx, appear, [(6, "se_chime.wav"), (hit, "se_hold.wav"), (appear, "se_cardflip.wav")])


def table_bomb(name):
    fx = Fx(name, 110)
    caption(fx, "cap_player_06.png")
    boom = appear = 40
    at = TABLE_CENTRE
    magic_circle(fx, at, 2, 40, 260, spin=300)
    # A fizzing spark that swells, then the burst, a white flash and the shock rings.
    fx.sprite("eff_sparkle.png", 6, boom - 6, at,
              scale=lambda t: 30 + 40 * t + 10 * math.sin(t * 40), rot=lambda t: 720 * t, depth=30, blend="Add")
    glow(fx, at, 6, boom - 6, 160, peak=70, grow=2.0)
    fx.sprite("eff_bomb.png", boom, 36, at, scale=lambda t: lerp(30, 280, ease_out(t)),
              rot=lambda t: 30 * t, alpha=lambda t: 100 * (1 - ease_in(t)), depth=30, blend="Add")
    fx.plane(0xFFF0D0, boom, 20, lambda t: 70 * (1 - t), depth=40)
    ring(fx, at, boom, 30, 30, 500)
    ring(fx, at, boom + 6, 30, 30, 380, peak=70)
    sparkles(fx, at, boom, 16, 320, seed=61, dur=40, size=(16, 30))
    fx.comp.shake(boom, 14, 10, 28)
    return finish(fx, appear, [(6, "se_chime.wav"), (boom, "se_shake.wav")])


def double_bet(name):
    fx = Fx(name, 100)
    caption(fx, "cap_player_07.png")
    appear = 42
    magic_circle(fx, BET, 2, 70, 200)
    for k in range(3):
        x = BET[0] - 30 + 30 * k
        fx.sprite("eff_coin.png", 8 + 6 * k, 22, move((x, BET[1] - 170), (x, BET[1]), ease=ease_in),
                  scale=22, rot=(0.0, 0.0, 0.0), alpha=lambda t: 100 if t < 0.9 else 100 * (1 - t) / 0.1, depth=20)
    fx.sprite("eff_x2.png", appear, 50, (BET[0] + 40, BET[1] - 10), scale=pop(200, 70, 1.2, 0.3),
              alpha=env(100, 0.05, 0.3), depth=25)
    ring(fx, BET, appear, 22, 20, 200)
    sparkles(fx, BET, appear, 10, 140, seed=71)
    return finish(fx, appear, [(6, "se_chime.wav"), (14, "se_hold.wav"), (appear, "se_sparkle.wav")])


def deck_peek(name):
    fx = Fx(name, 96)
    caption(fx, "cap_player_08.png")
    appear = 40
    eye = (DECK[0], DECK[1] - 100)
    magic_circle(fx, DECK, 2, 80, 200)
    fx.sprite("eff_eye.png", 6, 70, eye, scale=lambda t: (45, 45 * (ease_out(min(1, t * 3)) if t < 0.8 else (1 - t) / 0.2)),
              alpha=env(90, 0.1, 0.2), depth=20)
    fx.sprite("eff_streak.png", appear - 6, 24, DECK, scale=lambda t: (40, lerp(60, 400, ease_out(t))),
              rot=90.0, alpha=env(80, 0.2, 0.5), depth=15, blend="Add")
    card_flash(fx, DECK, appear)
    sparkles(fx, DECK, appear, 8, 110, seed=81)
    return finish(fx, appear, [(6, "se_chime.wav"), (appear, "se_sparkle.wav")])


def player_file():
    comps = []
    comps += targeted("Player_01_RankUp", lambda n, s: rank_spell(n, s, True), 5)
    comps += targeted("Player_02_RankDown", lambda n, s: rank_spell(n, s, False), 5)
    comps += targeted("Player_03_JokerSwap", joker_swap, 5)
    comps.append(see_through("Player_04_SeeThrough"))
    comps.append(dummy_card("Player_05_DummyCard", False))
    comps.append(dummy_card("Player_05_DummyCard_Ref", True))
    comps.append(table_bomb("Player_06_TableBomb"))
    comps.append(double_bet("Player_07_DoubleBet"))
    comps.append(deck_peek("Player_08_DeckPeek"))
    return comps


# ---- Pemra: ice and seals -------------------------------------------------------------------

ICE = 0x8FD3FF


def frost_all(fx, start, dur):
    for k, p in enumerate(HUMAN):
        fx.sprite("eff_frost_card.png", start + 2 * k, dur - 2 * k, p, scale=pop(140, 100, 1.05, 0.3),
                  alpha=env(100, 0.1, 0.3), depth=20)
        card_flash(fx, p, start + 2 * k, peak=80)


def pemra_deep_freeze(name):
    fx = Fx(name, 120)
    caption(fx, "cap_pemra_04.png", dur=84)
    appear = 62
    tint(fx, ICE, 1, 118, 22)
    falling(fx, "eff_snow.png", (0, -60, 680, 360), 1, 24, 50, seed=101, size=(8, 20), fall=(160, 320))
    fx.sprite("eff_snow.png", 20, appear - 20 + 10, HUMAN_ROW, scale=lambda t: lerp(20, 160, ease_out(t)),
              rot=lambda t: 200 * t, alpha=lambda t: 90 if t < 0.8 else 90 * (1 - t) / 0.2, depth=25, blend="Add")
    frost_all(fx, appear, 56)
    fx.sprite("eff_seal.png", 44, 74, ABILITY_BUTTON, scale=pop(180, 50, 1.0, 0.25), rot=lambda t: 60 * t,
              alpha=env(100, 0.1, 0.2), depth=22, blend="Add")
    ring(fx, HUMAN_ROW, appear, 30, 40, 520)
    fx.comp.shake(appear, 5, 3, 14)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_sparkle.wav"), (appear + 2, "se_shake.wav")])


def pemra_seal_ward(name):
    fx = Fx(name, 96)
    caption(fx, "cap_pemra_01.png")
    appear = 42
    tint(fx, ICE, 1, 90, 12)
    fx.sprite("eff_seal.png", 2, appear - 2, arc_move(HOST, ABILITY_BUTTON, 80),
              scale=lambda t: lerp(90, 50, t), rot=lambda t: 360 * t, alpha=env(100, 0.2, 0.01), depth=22, blend="Add")
    fx.sprite("eff_seal.png", appear, 50, ABILITY_BUTTON, scale=pop(80, 50), rot=lambda t: 360 + 40 * t,
              alpha=env(100, 0.01, 0.4), depth=22, blend="Add")
    ring(fx, ABILITY_BUTTON, appear, 24, 20, 160)
    sparkles(fx, ABILITY_BUTTON, appear, 8, 90, seed=111, pic="eff_snow.png", size=(6, 12))
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_hold.wav")])


def pemra_freeze_gust(name):
    fx = Fx(name, 104)
    caption(fx, "cap_pemra_02.png")
    appear = 50
    tint(fx, ICE, 1, 100, 14)
    rnd = random.Random(121)
    for k in range(8):
        y = rnd.uniform(430, 580)
        s = 8 + k
        fx.sprite("eff_streak.png", 4 + 4 * k, 34, move((1000, y - 20), (-120, y + 10), ease=lambda t: t),
                  scale=(lerp(90, 140, rnd.random()), 60), alpha=env(70, 0.2, 0.3), depth=12, blend="Add")
    for k in range(18):
        y = rnd.uniform(400, 600)
        spin = rnd.uniform(200, 500)
        fx.sprite("eff_snow.png", 2 + rnd.randint(0, 40), 40, move((rnd.uniform(760, 980), y - 40), (-60, y + 20), ease=lambda t: t),
                  scale=rnd.uniform(8, 16), rot=lambda t, spin=spin: spin * t, alpha=env(90, 0.2, 0.2), depth=14, blend="Add")
    frost_all(fx, appear, 52)
    return finish(fx, appear, [(4, "se_chime.wav"), (10, "se_shuffle.wav"), (appear, "se_sparkle.wav")])


def pemra_loss_doubler(name):
    fx = Fx(name, 96)
    caption(fx, "cap_pemra_03.png")
    appear = 40
    tint(fx, ICE, 1, 90, 10)
    fx.sprite("eff_snow.png", 2, appear - 2, move(HOST, BET, ease=ease_in_out), scale=30, rot=lambda t: 540 * t,
              alpha=env(90, 0.2, 0.05), depth=20, blend="Add")
    fx.sprite("eff_x2_ice.png", appear, 54, (BET[0] + 40, BET[1] - 10), scale=pop(200, 70, 1.2, 0.3),
              alpha=env(100, 0.05, 0.3), depth=25)
    ring(fx, BET, appear, 22, 20, 220)
    sparkles(fx, BET, appear, 8, 120, seed=131, pic="eff_snow.png", size=(6, 12))
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_sparkle.wav")])


# ---- Otsel: curses and the reaper ------------------------------------------------------------

PURPLE = 0xA070E0


def flames_on(fx, points, start, seed, size=40, dur=40):
    rnd = random.Random(seed)
    for k, p in enumerate(points):
        d = dur + rnd.randint(-4, 4)
        fx.sprite("eff_flame.png", start + 2 * k, d, move((p[0], p[1] + 20), (p[0], p[1] - 30)),
                  scale=lambda t, s=size * rnd.uniform(0.8, 1.1): s * (0.6 + 0.4 * math.sin(math.pi * t)),
                  alpha=env(95, 0.2, 0.4), depth=18, blend="Add")


def otsel_hand_reset(name):
    fx = Fx(name, 110)
    caption(fx, "cap_otsel_04.png")
    appear = 52
    tint(fx, PURPLE, 1, 106, 14)
    # The scythe sweeps right to left across the player's cards.
    fx.sprite("eff_scythe.png", 16, 44, move((700, 400), (-20, 470), ease=ease_in_out), scale=110,
              rot=lambda t: lerp(-30, 220, ease_in_out(t)), alpha=env(100, 0.15, 0.2), depth=25)
    fx.sprite("eff_streak.png", 30, 24, (300, 500), scale=lambda t: (lerp(20, 140, ease_out(t)), 80), rot=-8.0,
              alpha=env(80, 0.2, 0.5), depth=15, blend="Add")
    for k, p in enumerate(reversed(HUMAN)):
        card_flash(fx, p, appear - 8 + 3 * k, peak=80)
    flames_on(fx, list(reversed(HUMAN)), appear - 8, 141)
    return finish(fx, appear, [(4, "se_chime.wav"), (30, "se_shuffle.wav"), (appear, "se_carddraw.wav")])


def otsel_dummy_curse(name, slot):
    fx = Fx(name, 100)
    caption(fx, "cap_otsel_01.png")
    appear = 46
    tint(fx, PURPLE, 1, 96, 12)
    targets = [HUMAN[slot]] if slot is not None else HUMAN
    for k, p in enumerate(targets):
        fx.sprite("eff_flame.png", 4 + k, appear - 4 - k, arc_move(HOST, p, 120), scale=lambda t: lerp(50, 36, t),
                  rot=lambda t: 12 * math.sin(t * 20), alpha=env(100, 0.2, 0.02), depth=22, blend="Add")
        fx.sprite("eff_card_dummy.png", appear, 40, p, scale=pop(130, 100, 1.05, 0.3), alpha=env(85, 0.3, 0.4), depth=20)
        card_flash(fx, p, appear)
        ring(fx, p, appear, 22, 20, 130)
    flames_on(fx, targets, appear, 151, size=30)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_cardflip.wav")])


def otsel_card_reaper(name):
    fx = Fx(name, 100)
    caption(fx, "cap_otsel_02.png")
    appear = 46
    tint(fx, PURPLE, 1, 96, 14)
    above = (HUMAN_ROW[0] + 60, HUMAN_ROW[1] - 130)
    fx.sprite("eff_scythe.png", 4, 28, move(HOST, above), scale=lambda t: lerp(60, 130, t), rot=lambda t: -40 * t,
              depth=25, alpha=env(100, 0.2, 0.01))
    fx.sprite("eff_scythe.png", 32, 30, above, scale=130,
              rot=lambda t: lerp(-40, 160, ease_in(min(1, t * 1.6))), alpha=env(100, 0.01, 0.4), depth=25)
    fx.sprite("eff_streak.png", appear - 4, 20, HUMAN_ROW, scale=lambda t: (lerp(40, 140, ease_out(t)), 70), rot=12.0,
              alpha=lambda t: 100 * (1 - t), depth=15, blend="Add")
    for p in HUMAN:
        card_flash(fx, p, appear, peak=60)
    sparkles(fx, HUMAN_ROW, appear, 10, 260, seed=161, pic="eff_flame.png", size=(10, 18))
    return finish(fx, appear, [(4, "se_chime.wav"), (appear - 4, "se_shuffle.wav"), (appear, "se_carddraw.wav")])


def otsel_joker_call(name, slot):
    fx = Fx(name, 100)
    caption(fx, "cap_otsel_03.png")
    appear = 46
    tint(fx, PURPLE, 1, 96, 12)
    targets = [ENEMY[slot]] if slot is not None else ENEMY
    for k, p in enumerate(targets):
        for j in range(4):
            ang0 = j * math.pi / 2
            fx.sprite("eff_flame.png", 2 + j * 2, appear - 2 - j * 2,
                      lambda t, a=ang0, p=p: (p[0] + 70 * (1 - t) * math.cos(a + 6 * t), p[1] + 70 * (1 - t) * math.sin(a + 6 * t)),
                      scale=26, alpha=env(90, 0.2, 0.1), depth=18, blend="Add")
        fx.sprite("eff_card_joker.png", appear - 14, 40, move((p[0], p[1] + 40), p),
                  scale=lambda t: (100 * abs(math.cos(math.pi * min(1.0, t * 2.5))) + 4, 100),
                  alpha=env(100, 0.2, 0.3), depth=20)
        card_flash(fx, p, appear)
        ring(fx, p, appear, 22, 20, 130)
    sparkles(fx, targets[0] if slot is not None else ENEMY_ROW, appear, 8, 100, seed=171)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear - 14, "se_cardflip.wav"), (appear, "se_sparkle.wav")])


# ---- Quenvar: copies and mirrors -------------------------------------------------------------

GOLD = 0xE8B44C


def quenvar_five_aces(name):
    fx = Fx(name, 120)
    caption(fx, "cap_quenvar_04.png", dur=90)
    appear = 66
    tint(fx, GOLD, 1, 116, 12)
    hat = (ENEMY_ROW[0], ENEMY_ROW[1] + 150)
    fx.sprite("eff_tophat.png", 2, 96, hat, scale=pop(0, 60), rot=lambda t: 8 * math.sin(t * 18) * (1 - t),
              alpha=env(100, 0.1, 0.2), depth=15)
    for k, p in enumerate(ENEMY):
        s = 24 + 6 * k
        fx.sprite("eff_card_ace.png", s, appear - s + 10, arc_move(hat, p, 90), scale=lambda t: lerp(30, 100, ease_out(t)),
                  rot=lambda t: 360 * (1 - ease_out(t)), alpha=lambda t: 100 if t < 0.8 else 100 * (1 - t) / 0.2, depth=20)
        card_flash(fx, p, appear)
    sparkles(fx, ENEMY_ROW, appear, 12, 280, seed=181)
    ring(fx, ENEMY_ROW, appear, 26, 30, 420)
    return finish(fx, appear, [(4, "se_chime.wav"), (24, "se_shuffle.wav"), (appear, "se_sparkle.wav")])


def quenvar_copy(name, slot, kind):
    """kind 1 SuitCopy (suits ring), 2 RankCopy (ranks ring), 3 CardCopy (card copies)."""
    fx = Fx(name, 96)
    caption(fx, "cap_quenvar_%02d.png" % kind)
    appear = 44
    tint(fx, GOLD, 1, 92, 10)
    targets = [ENEMY[slot]] if slot is not None else ENEMY
    for k, p in enumerate(targets):
        if kind in (1, 2):
            fx.sprite("eff_suits.png" if kind == 1 else "eff_ranks.png", 4, appear - 4, p,
                      scale=lambda t: lerp(80, 20, ease_in(t)), rot=lambda t: 360 * t, alpha=env(100, 0.2, 0.05), depth=22)
        # Two copies of the card slide apart and snap back into one.
        for side in (-1, 1):
            fx.sprite("eff_card_back.png", 12 if kind == 3 else 24, appear - (12 if kind == 3 else 24),
                      lambda t, p=p, side=side: (p[0] + side * 50 * math.sin(math.pi * t), p[1] - 10 * math.sin(math.pi * t)),
                      rot=lambda t, side=side: side * 12 * math.sin(math.pi * t), alpha=env(85, 0.2, 0.1), depth=20)
        card_flash(fx, p, appear)
        ring(fx, p, appear, 22, 20, 140)
    fx.sprite("eff_tophat.png", 2, appear + 10, (targets[0][0] if slot is not None else ENEMY_ROW[0], ENEMY_ROW[1] + 120),
              scale=pop(0, 40), alpha=env(100, 0.1, 0.3), depth=15)
    sparkles(fx, targets[0] if slot is not None else ENEMY_ROW, appear, 8, 110, seed=190 + kind)
    return finish(fx, appear, [(4, "se_chime.wav"), (20, "se_cardflip.wav"), (appear, "se_sparkle.wav")])


# ---- Iblen: charms, locks and reflections ----------------------------------------------------

PINK = 0xFF7FB0


def hearts(fx, at, start, n, radius, seed):
    sparkles(fx, at, start, n, radius, seed, pic="eff_heart.png", size=(10, 18), dur=34)


def iblen_hold_flip(name):
    fx = Fx(name, 100)
    caption(fx, "cap_iblen_04.png")
    appear = 46
    tint(fx, PINK, 1, 96, 12)
    m = (HUMAN_ROW[0], HUMAN_ROW[1] - 130)
    fx.sprite("eff_mirror.png", 4, 70, m, scale=pop(0, 70), rot=lambda t: (0.0, 360 * ease_in_out(min(1, t * 1.3)), 0.0),
              alpha=env(100, 0.1, 0.3), depth=22)
    for k, p in enumerate(HUMAN):
        fx.sprite("eff_card_glow.png", appear - 6, 28, p, rot=lambda t: (0.0, 180 * t, 0.0),
                  alpha=lambda t: 90 * (1 - t), depth=16, blend="Add")
        hearts(fx, p, appear, 3, 60, 200 + k)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_cardflip.wav")])


def iblen_ability_lock(name):
    fx = Fx(name, 96)
    caption(fx, "cap_iblen_01.png")
    appear = 44
    tint(fx, PINK, 1, 92, 10)
    fx.sprite("eff_lock.png", 2, appear - 2, arc_move(HOST, ABILITY_BUTTON, 90), scale=lambda t: lerp(60, 45, t),
              rot=lambda t: 15 * math.sin(t * 12), alpha=env(100, 0.2, 0.01), depth=22)
    fx.sprite("eff_lock.png", appear, 50, ABILITY_BUTTON, scale=pop(70, 45, 1.0, 0.2), alpha=env(100, 0.01, 0.4), depth=22)
    ring(fx, ABILITY_BUTTON, appear, 24, 20, 160)
    hearts(fx, ABILITY_BUTTON, appear, 8, 100, 211)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_hold.wav")])


def iblen_reflect_curse(name):
    fx = Fx(name, 96)
    caption(fx, "cap_iblen_02.png")
    appear = 44
    tint(fx, PINK, 1, 92, 12)
    fx.sprite("eff_mirror.png", 4, 80, (HUMAN_ROW[0], HUMAN_ROW[1] - 100), scale=pop(0, 110), alpha=env(85, 0.15, 0.3), depth=22)
    fx.sprite("eff_streak.png", 26, 30, lambda t: (lerp(60, 560, ease_in_out(t)), HUMAN_ROW[1] - 100), scale=(30, 300),
              rot=-20.0, alpha=env(90, 0.2, 0.3), depth=24, blend="Add")
    for p in HUMAN:
        card_flash(fx, p, appear, peak=60)
    hearts(fx, (HUMAN_ROW[0], HUMAN_ROW[1] - 100), appear, 10, 200, 221)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_sparkle.wav")])


def iblen_charm_force(name):
    fx = Fx(name, 100)
    caption(fx, "cap_iblen_03.png")
    appear = 48
    tint(fx, PINK, 1, 96, 14)
    rnd = random.Random(231)
    for k in range(10):
        dst = ABILITY_BUTTON if k % 2 == 0 else HUMAN[k // 2]
        fx.sprite("eff_heart.png", 2 + 3 * k, appear - 2 - 3 * k, arc_move((HOST[0] + rnd.uniform(-60, 60), HOST[1]), dst, rnd.uniform(40, 140)),
                  scale=lambda t: lerp(30, 18, t), alpha=env(100, 0.2, 0.05), depth=22)
    fx.sprite("eff_heart.png", appear, 44, ABILITY_BUTTON,
              scale=lambda t: 60 * (1 + 0.15 * math.sin(t * 4 * math.pi) * (1 - t)), alpha=env(100, 0.05, 0.4), depth=22)
    ring(fx, ABILITY_BUTTON, appear, 24, 20, 180)
    hearts(fx, ABILITY_BUTTON, appear, 8, 110, 232)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_sparkle.wav")])


# ---- Rosweth: the house itself ---------------------------------------------------------------

RED = 0xD04848


def rosweth_tie_break(name):
    fx = Fx(name, 104)
    caption(fx, "cap_rosweth_04.png")
    appear = 52
    tint(fx, RED, 1, 100, 12)
    at = TABLE_CENTRE
    # The scales rock, then settle leaning to the house's side.
    fx.sprite("eff_scales.png", 4, 96, at, scale=pop(0, 90, 1.05, 0.15),
              rot=lambda t: 14 * math.sin(t * 9 * math.pi) * (1 - t) if t < 0.48 else lerp(0, 16, ease_out(min(1, (t - 0.48) * 6))),
              alpha=env(100, 0.08, 0.2), depth=22)
    ring(fx, at, appear, 26, 30, 300)
    glow(fx, at, appear - 4, 40, 320, peak=50)
    sparkles(fx, at, appear, 8, 140, seed=241)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_hold.wav")])


def rosweth_cost_drain(name):
    fx = Fx(name, 100)
    caption(fx, "cap_rosweth_01.png")
    appear = 30
    tint(fx, RED, 1, 96, 12)
    glow(fx, GAUGE, 4, 60, 260, peak=60)
    rnd = random.Random(251)
    for k in range(9):
        src = (GAUGE[0] + rnd.uniform(-90, 90), GAUGE[1])
        fx.sprite("eff_coin.png", 14 + 5 * k, 40, arc_move(src, HOST, rnd.uniform(60, 160)), scale=lambda t: lerp(18, 10, t),
                  rot=(0.0, 0.0, 0.0), alpha=env(100, 0.1, 0.3), depth=22)
    ring(fx, GAUGE, appear, 24, 20, 220)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_sparkle.wav")])


def rosweth_cooldown_lock(name):
    fx = Fx(name, 100)
    caption(fx, "cap_rosweth_02.png")
    appear = 46
    tint(fx, RED, 1, 96, 10)
    fx.sprite("eff_hourglass.png", 2, 90, lambda t: move(HOST, ABILITY_BUTTON)(min(1, t * 3)),
              scale=lambda t: lerp(60, 45, min(1, t * 3)), rot=lambda t: 180 * ease_in_out(min(1, max(0, (t - 0.33) * 3))),
              alpha=env(100, 0.1, 0.2), depth=22)
    ring(fx, ABILITY_BUTTON, appear, 24, 20, 170)
    sparkles(fx, ABILITY_BUTTON, appear, 8, 100, seed=261)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_hold.wav")])


def rosweth_guard_mark(name):
    fx = Fx(name, 96)
    caption(fx, "cap_rosweth_03.png")
    appear = 36
    tint(fx, RED, 1, 92, 10)
    fx.sprite("eff_shield.png", 16, 78, ABILITY_BUTTON, scale=lambda t: lerp(260, 50, ease_in(min(1, t * 4.5))),
              alpha=env(100, 0.1, 0.25), depth=22)
    ring(fx, ABILITY_BUTTON, appear, 24, 20, 200)
    sparkles(fx, ABILITY_BUTTON, appear, 8, 100, seed=271)
    fx.comp.shake(appear, 3, 3, 8)
    return finish(fx, appear, [(4, "se_chime.wav"), (appear, "se_hold.wav")])


# ---- lock overlays over the ability window ---------------------------------------------------

NAMES = ["RankUp", "RankDown", "JokerSwap", "SeeThrough", "DummyCard", "TableBomb", "DoubleBet", "DeckPeek"]
WINDOW = (670, 380)


def label_box(k):
    """Top-left of ability k's name label in the ability window and the width of its name."""
    return (WINDOW[0] + (k % 2) * 280 + 56, WINDOW[1] + (k // 2) * 30 + 40), 12 * len(NAMES[k])


def lock_overlay(name, k, pic, rgb):
    fx = Fx(name, 64)
    (x, y), w = label_box(k)
    cy = y + 15
    fx.plane(rgb, 1, 63, env(55, 0.15, 0.2), depth=1, blend="Normal", size=(w + 24, 28), pos=(x + w / 2, cy))
    fx.sprite(pic, 4, 58, (x + w + 22, cy), scale=pop(60, 16, 1.2, 0.3), alpha=env(100, 0.1, 0.2), depth=10)
    fx.sprite("eff_glow.png", 4, 24, (x + w + 22, cy), scale=lambda t: lerp(20, 50, t), alpha=lambda t: 80 * (1 - t),
              depth=9, blend="Add")
    fx.comp.sound(4, "se_hold.wav")
    return fx.finish()


def host_files():
    files = {
        "Pemra": [pemra_deep_freeze("Pemra_04_DeepFreeze"), pemra_seal_ward("Pemra_01_SealWard"),
                  pemra_freeze_gust("Pemra_02_FreezeGust"), pemra_loss_doubler("Pemra_03_LossDoubler")],
        "Otsel": [otsel_hand_reset("Otsel_04_HandReset")] + targeted("Otsel_01_DummyCurse", otsel_dummy_curse, 5)
        + [otsel_card_reaper("Otsel_02_CardReaper")] + targeted("Otsel_03_JokerCall", otsel_joker_call, 5),
        "Quenvar": [quenvar_five_aces("Quenvar_04_FiveAces")]
        + targeted("Quenvar_01_SuitCopy", lambda n, s: quenvar_copy(n, s, 1), 5)
        + targeted("Quenvar_02_RankCopy", lambda n, s: quenvar_copy(n, s, 2), 5)
        + targeted("Quenvar_03_CardCopy", lambda n, s: quenvar_copy(n, s, 3), 5),
        "Iblen": [iblen_hold_flip("Iblen_04_HoldFlip"), iblen_ability_lock("Iblen_01_AbilityLock"),
                  iblen_reflect_curse("Iblen_02_ReflectCurse"), iblen_charm_force("Iblen_03_CharmForce")]
        + [lock_overlay("Iblen_01_AbilityLock_CT_%02d" % (k + 1), k, "eff_lock.png", 0x6B1E3A) for k in range(8)],
        "Rosweth": [rosweth_tie_break("Rosweth_04_TieBreak"), rosweth_cost_drain("Rosweth_01_CostDrain"),
                    rosweth_cooldown_lock("Rosweth_02_CooldownLock"), rosweth_guard_mark("Rosweth_03_GuardMark")]
        + [lock_overlay("Rosweth_02_CooldownLock_CT_%02d" % (k + 1), k, "eff_hourglass.png", 0x4A1414) for k in range(8)],
    }
    return files


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: gen_match.py OUT_DIR")
    out = sys.argv[1]
    write_file(out, "Effect_Player.bca", player_file())
    for host, comps in host_files().items():
        write_file(out, "Effect_%s.bca" % host, comps)
    if os.environ.get("GEN_MATCH_APPEAR"):
        for name, frame in sorted(APPEAR.items()):
            print(name, frame)


if __name__ == "__main__":
    main()

"""Writer for the game's .bca animation files (text, CR LF line ends).

Frames are 1-based in the file, as the format has them. Playback holds each key until the next
one and never interpolates, so smooth motion is written one key per frame (see Layer.track).

    comp = Composition("Stand_BG_01", length=240)
    comp.loop(1)
    lay = comp.layer(640, 720, "stand_bg.png", start=1, duration=239)
    lay.track("position", 1, 240, lambda t: (640.0, 360.0, 0.0))
    lay.track("alpha", 1, 240, lambda t: 80 + 20 * math.sin(t * 2 * math.pi))
    write_file(out_dir, "Stand_BG.bca", [comp])
"""
import math
import os

HEADER = "<SYLKIE_ANIMATION_FILE>"


def ease_out(t):
    return 1.0 - (1.0 - t) * (1.0 - t)


def ease_in(t):
    return t * t


def ease_in_out(t):
    return 2 * t * t if t < 0.5 else 1.0 - 2 * (1.0 - t) * (1.0 - t)


def lerp(a, b, t):
    return a + (b - a) * t


def _num(v):
    return "%.1f" % v


class Layer:
    def __init__(self, lid, start, width, height, duration, kind, blend):
        self.lid, self.start, self.width, self.height = lid, start, width, height
        self.duration, self.kind, self.blend = duration, kind, blend
        self.keys = {"image": [], "position": [], "scale": [], "rotation": [], "alpha": []}

    def key(self, track, frame, value):
        """One key at a 1-based frame relative to the layer's in-point. Frames of a track must
        rise strictly; a key equal to the previous value is dropped (values hold)."""
        keys = self.keys[track]
        if keys and frame <= keys[-1][0]:
            raise ValueError("%s keys out of order at frame %d" % (track, frame))
        if track != "image" and not isinstance(value, (tuple, list)):
            value = (value,)
        if keys and keys[-1][1] == value:
            return self
        keys.append((frame, value))
        return self

    def image(self, frame, name):
        return self.key("image", frame, name)

    def track(self, track, first, last, fn):
        """Keys on every frame first..last (relative, 1-based) from fn(t), t running 0..1."""
        span = max(1, last - first)
        for f in range(first, last + 1):
            v = fn((f - first) / span)
            if not isinstance(v, (tuple, list)):
                v = (v,)
            self.key(track, f, tuple(round(x, 1) for x in v))
        return self

    def lines(self):
        out = ["#LAYER %d %d %d %d %d %s %s" % (self.lid, self.start, self.width, self.height,
                                                self.duration, self.kind, self.blend)]
        names = {"image": "#IMAGE", "position": "#POSITION", "scale": "#SCALE",
                 "rotation": "#ROTATION", "alpha": "#ALPHA"}
        for track in ("image", "position", "scale", "rotation", "alpha"):
            for frame, value in self.keys[track]:
                if track == "image":
                    text = value if self.kind == "PlaneLayer" else '"%s"' % value
                    out.append("%s %d %s" % (names[track], frame, text))
                else:
                    out.append("%s %d %s" % (names[track], frame, " ".join(_num(x) for x in value)))
        return out


class Composition:
    def __init__(self, name, length, width=1280, height=720, rate=60):
        self.name, self.length, self.width, self.height, self.rate = name, length, width, height, rate
        self.markers = []
        self.layers = []

    def loop(self, frame):
        self.markers.append("#MARKER %d LOOP" % frame)

    def sound(self, frame, name):
        self.markers.append('#MARKER %d SOUND "%s"' % (frame, name))

    def shake(self, frame, x, y, time):
        self.markers.append("#MARKER %d SHAKE %d %d %d" % (frame, x, y, time))

    def label(self, frame, text):
        self.markers.append("#MARKER %d %s" % (frame, text))

    def layer(self, width, height, image, start=1, duration=None, blend="Normal"):
        """An image layer (first declared is drawn last, i.e. on top). duration defaults to the
        rest of the composition."""
        if duration is None:
            duration = self.length - start
        lay = Layer(len(self.layers) + 1, start, width, height, duration, "Image", blend)
        lay.image(1, image)
        self.layers.append(lay)
        return lay

    def plane(self, width, height, rgb, start=1, duration=None, blend="Normal"):
        if duration is None:
            duration = self.length - start
        lay = Layer(len(self.layers) + 1, start, width, height, duration, "PlaneLayer", blend)
        lay.image(1, "0x%06X" % rgb)
        self.layers.append(lay)
        return lay

    def lines(self):
        out = ['#COMPOSITION "%s" %d %d %d %d' % (self.name, self.width, self.height, self.length, self.rate)]
        out += self.markers
        for lay in self.layers:
            out += lay.lines()
        return out


def write_file(out_dir, name, compositions):
    """Writes the file only when its bytes change, so the packer's inputs keep their times."""
    lines = [HEADER]
    for c in compositions:
        lines += c.lines()
    data = ("\r\n".join(lines) + "\r\n").encode("ascii")
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, name)
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return path
    except OSError:
        pass
    with open(path, "wb") as f:
        f.write(data)
    return path

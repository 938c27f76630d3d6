#!/usr/bin/python3
"""Draws the pictures of the main window: title banners, button faces and the close cross.

Usage:
  make-artwork.py <output-folder>          writes <folder>/<language>/<id>.png and the
                                           pictures' names into resources/resource.h
  make-artwork.py --check <output-folder>  verifies both against a fresh drawing

Every picture is drawn from shapes and text set in WenQuanYi Micro Hei, so the set can be
regenerated and reviewed as code. Shapes are drawn four times larger (the small close cross
eight times) and reduced with a box filter: PIL draws rounded rectangles and arcs without
anti-aliasing. The output is deterministic, without time stamps or other metadata.
The close cross, which has a transparent background, is 32-bit RGBA; the opaque banners and
button faces are 24-bit RGB: a palette would not hold the anti-aliased captions without loss.

The check compares decoded pixels rather than file bytes: a different zlib may compress
the same picture differently, and that is no reason to fail.
"""
import functools
import math
import os
import sys
from dataclasses import dataclass

from PIL import Image, ImageDraw, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
LANGUAGES = ("en-US", "zh-CN")
SUPERSAMPLE = 4

# The main window is filled with this colour, and the banners and the button faces are drawn
# on it.
WINDOW_BACKGROUND = (42, 50, 60)

BANNER_SIZE = (2160, 240)
BUTTON_SIZE = (786, 252)
CLOSE_SIZE = (30, 30)
CLOSE_ID = 145

WHITE = (255, 255, 255)
DARK_TEXT = (28, 33, 40)

CAPTIONS = {
    "en-US": {
        "detect": "Detect Device",
        "start": "Start",
        "stop": "Stop",
        "area": "Area Monitoring",
        "single": "Single-target",
        "multi": "Multi-target",
        "pause": "Pause",
        "resume": "Resume",
        "replay": "Replay",
        "stop_replay": "Stop",
        "set_path": "Set Path",
        "banner_1": "Single-Object Detection Demonstration",
        "banner_3": "Three-Object Detection Demonstration",
    },
    "zh-CN": {
        "detect": "检测设备",
        "start": "开始",
        "stop": "停止",
        "area": "区域监控",
        "single": "单目标检测",
        "multi": "多目标检测",
        "pause": "暂停",
        "resume": "继续",
        "replay": "检测回放",
        "stop_replay": "停止回放",
        "set_path": "保存路径",
        "banner_1": "单目标检测演示",
        "banner_3": "三目标检测演示",
    },
}

# The switch keeps its English caption in both languages: one set of pictures serves both.
SWITCH_CAPTION = "Save Data"

# A glyph whose ink spans the height captions are centred on: the capital height for Latin
# text, the full square for Chinese. Centring on each caption's own ink would move the
# baseline between captions with and without descenders.
CENTRE_REFERENCE = {"en-US": "H", "zh-CN": "国"}


@dataclass(frozen=True)
class Theme:
    face: tuple
    text: tuple


THEMES = {
    "blue": Theme((34, 108, 196), WHITE),
    "green": Theme((28, 130, 74), WHITE),
    "red": Theme((196, 52, 52), WHITE),
    "amber": Theme((236, 164, 36), DARK_TEXT),
    "teal": Theme((14, 124, 128), WHITE),
    "violet": Theme((108, 78, 186), WHITE),
    "indigo": Theme((66, 88, 176), WHITE),
    "slate": Theme((78, 92, 110), WHITE),
}
GREY = Theme((78, 84, 92), (150, 158, 168))

NORMAL, PRESSED, DISABLED = "normal", "pressed", "disabled"

# Button faces: id -> (caption key, theme, look). A pressed look is the darker, sunken face
# shown while a push button is held or a check button is set; the disabled look is grey.
BUTTONS = {
    187: ("replay", "indigo", NORMAL),
    188: ("stop_replay", "red", NORMAL),
    189: ("stop_replay", "red", DISABLED),
    190: ("area", "blue", NORMAL),
    191: ("area", "blue", PRESSED),
    193: ("single", "teal", NORMAL),
    194: ("multi", "violet", NORMAL),
    195: ("single", "teal", DISABLED),
    196: ("multi", "violet", DISABLED),
    197: ("detect", "blue", NORMAL),
    198: ("detect", "blue", PRESSED),
    199: ("pause", "amber", NORMAL),
    200: ("resume", "green", NORMAL),
    201: ("pause", "amber", DISABLED),
    202: ("start", "green", NORMAL),
    203: ("stop", "red", NORMAL),
    204: ("start", "green", DISABLED),
    209: ("set_path", "slate", NORMAL),
    210: ("set_path", "slate", PRESSED),
    211: ("set_path", "slate", DISABLED),
}

# The recording switch: id -> (switched on, disabled).
SWITCHES = {205: (False, False), 206: (True, False), 207: (False, True), 208: (True, True)}

BANNERS = {140: "banner_1", 141: "banner_3"}

# The names the resource scripts and the code give the pictures, in resource.h.
NAMES = {
    140: "IDB_BANNER_SINGLE", 141: "IDB_BANNER_MULTI", CLOSE_ID: "IDB_CLOSE_CROSS",
    187: "IDB_PLAYBACK_NORMAL", 188: "IDB_PLAYBACK_PRESSED", 189: "IDB_PLAYBACK_DISABLED",
    190: "IDB_AREA_NORMAL", 191: "IDB_AREA_PRESSED",
    193: "IDB_MODE_NORMAL", 194: "IDB_MODE_PRESSED", 195: "IDB_MODE_DISABLED",
    196: "IDB_MODE_DISABLED_PRESSED",
    197: "IDB_DETECT_NORMAL", 198: "IDB_DETECT_PRESSED",
    199: "IDB_PAUSE_NORMAL", 200: "IDB_PAUSE_PRESSED", 201: "IDB_PAUSE_DISABLED",
    202: "IDB_START_NORMAL", 203: "IDB_START_PRESSED", 204: "IDB_START_DISABLED",
    205: "IDB_SAVE_DATA_NORMAL", 206: "IDB_SAVE_DATA_PRESSED", 207: "IDB_SAVE_DATA_DISABLED",
    208: "IDB_SAVE_DATA_DISABLED_PRESSED",
    209: "IDB_SAVE_PATH_NORMAL", 210: "IDB_SAVE_PATH_PRESSED", 211: "IDB_SAVE_PATH_DISABLED",
}
RESOURCE_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources",
                               "resource.h")
BLOCK_BEGIN = "// Pictures (PNG), written by tools/make-artwork.py.\n"
BLOCK_END = "// End of the pictures.\n"


def expected_mode(picture_id):
    """Only the close cross keeps a transparent background, in 32 bits; the banners and the
    button faces are opaque."""
    return "RGBA" if picture_id == CLOSE_ID else "RGB"


def expected_sizes():
    sizes = {CLOSE_ID: CLOSE_SIZE}
    sizes.update({i: BANNER_SIZE for i in BANNERS})
    sizes.update({i: BUTTON_SIZE for i in list(BUTTONS) + list(SWITCHES)})
    return dict(sorted(sizes.items()))


# ----- colour and shape helpers (all coordinates in supersampled pixels) -----

def scaled(colour, factor):
    return tuple(max(0, min(255, round(c * factor))) for c in colour)


def mixed(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


@functools.lru_cache(maxsize=None)
def font(size_px):
    return ImageFont.truetype(FONT_PATH, size_px * SUPERSAMPLE, index=0)


def fill_rounded(canvas, box, radius, top, bottom=None):
    """Paints an opaque rounded rectangle (inclusive box) onto canvas, in one colour or with
    a vertical gradient from the top colour to the bottom one."""
    if bottom is None:
        ImageDraw.Draw(canvas).rounded_rectangle(box, radius=radius, fill=top + (255,))
        return
    left, upper, right, lower = box
    width, height = right - left + 1, lower - upper + 1
    column = Image.new("RGBA", (1, height))
    column.putdata([mixed(top, bottom, y / max(1, height - 1)) + (255,) for y in range(height)])
    mask = Image.new("L", (width, height), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, width - 1, height - 1), radius=radius,
                                           fill=255)
    canvas.paste(column.resize((width, height), Image.NEAREST), (left, upper), mask)


def reduced_opaque(canvas):
    """Box-filters a supersampled opaque canvas down to its final size."""
    return canvas.convert("RGB").reduce(SUPERSAMPLE)


def draw_caption(draw, text, language, size_px, centre, colour):
    """Sets text centred on centre (x, y), slightly emboldened with an outline of its own
    colour so that it stays legible when the picture is shown at a quarter of its size."""
    face = font(size_px)
    stroke = max(1, round(size_px * SUPERSAMPLE * 0.018))
    _, top, _, bottom = face.getbbox(CENTRE_REFERENCE[language], anchor="ls")
    baseline = centre[1] - (top + bottom) / 2
    draw.text((centre[0] - face.getlength(text) / 2, baseline), text, font=face, fill=colour,
              anchor="ls", stroke_width=stroke, stroke_fill=colour)


def caption_size(texts, max_width_px, largest_px):
    """The largest whole pixel size (up to largest_px) at which every text fits the width."""
    size = largest_px
    while size > 8 and any(font(size).getlength(t) > max_width_px * SUPERSAMPLE for t in texts):
        size -= 1
    return size


# ----- button faces -----

FACE_RIM = 4        # dark rim around the face, final pixels
FACE_DEPTH = 12     # visible edge under a raised face
FACE_RADIUS = 44
CAPTION_MARGIN = 44
PRESSED_DARKER = 0.72


def face_geometry(look):
    """Outer box, face box and corner radius of a button face, supersampled."""
    s = SUPERSAMPLE
    width, height = BUTTON_SIZE[0] * s, BUTTON_SIZE[1] * s
    rim, depth = FACE_RIM * s, FACE_DEPTH * s
    outer = (0, 0, width - 1, height - 1)
    if look == PRESSED:
        face = (rim, rim + depth, width - 1 - rim, height - 1 - rim)
    else:
        face = (rim, rim, width - 1 - rim, height - 1 - rim - depth)
    return outer, face, FACE_RADIUS * s


def draw_face(theme, look):
    """A rounded key: a dark rim, a raised face with a soft vertical gradient and a thin
    highlight along its top; pressed, the face sits lower and darker.

    The key is drawn on the window's colour, so the corners outside its rounding are opaque.
    The button paints its raised frame and dark outline beneath the picture and then
    stretches the picture over its whole rectangle: a transparent corner would let that frame
    show as dark and light marks, where the operator expects the window around the key."""
    s = SUPERSAMPLE
    canvas = Image.new("RGBA", (BUTTON_SIZE[0] * s, BUTTON_SIZE[1] * s),
                       WINDOW_BACKGROUND + (255,))
    outer, face, radius = face_geometry(look)
    base = scaled(theme.face, PRESSED_DARKER) if look == PRESSED else theme.face
    fill_rounded(canvas, outer, radius, scaled(base, 0.55))
    if look != PRESSED:
        fill_rounded(canvas, face, radius - FACE_RIM * s, mixed(base, WHITE, 0.30))
        below_highlight = (face[0], face[1] + 3 * s, face[2], face[3])
        fill_rounded(canvas, below_highlight, radius - FACE_RIM * s, scaled(base, 1.10),
                     scaled(base, 0.90))
    else:
        fill_rounded(canvas, face, radius - FACE_RIM * s, scaled(base, 0.88), scaled(base, 1.02))
    return canvas, face


def draw_button(caption, language, theme, look, size_px):
    canvas, face = draw_face(theme, look)
    centre = ((face[0] + face[2]) / 2, (face[1] + face[3]) / 2)
    text = theme.text if look != PRESSED else mixed(theme.text, theme.face, 0.08)
    draw_caption(ImageDraw.Draw(canvas), caption, language, size_px, centre, text)
    return reduced_opaque(canvas)


# ----- the recording switch -----

SWITCH_TRACK = (64, 66, 264, 186)   # final pixels, inside the face
SWITCH_ON = (34, 168, 90)
SWITCH_OFF = (104, 114, 128)


def draw_switch(on, disabled, size_px):
    """A flat face with a sliding toggle on the left and the caption beside it; the track
    turns green and the knob moves right when switched on."""
    s = SUPERSAMPLE
    face_theme = GREY if disabled else THEMES["slate"]
    canvas, face = draw_face(face_theme, NORMAL)
    draw = ImageDraw.Draw(canvas)
    left, top, right, bottom = (v * s for v in SWITCH_TRACK)
    track = SWITCH_ON if on else SWITCH_OFF
    knob = (236, 240, 244)
    if disabled:
        track = mixed(track, GREY.face, 0.65)
        knob = mixed(knob, GREY.face, 0.45)
    height = bottom - top
    draw.rounded_rectangle((left, top, right, bottom), radius=height // 2,
                           fill=scaled(track, 0.75))
    inset = 6 * s
    draw.rounded_rectangle((left + inset, top + inset, right - inset, bottom - inset),
                           radius=height // 2 - inset, fill=track)
    diameter = height - 2 * inset - 8 * s
    knob_left = (right - inset - 4 * s - diameter) if on else (left + inset + 4 * s)
    knob_top = top + inset + 4 * s
    draw.ellipse((knob_left, knob_top, knob_left + diameter, knob_top + diameter), fill=knob)
    text_left = right + 36 * s
    centre = ((text_left + face[2] - CAPTION_MARGIN * s) / 2, (face[1] + face[3]) / 2)
    colour = GREY.text if disabled else (WHITE if on else (214, 220, 228))
    draw_caption(draw, SWITCH_CAPTION, "en-US", size_px, centre, colour)
    return reduced_opaque(canvas)


def switch_caption_size():
    room = BUTTON_SIZE[0] - SWITCH_TRACK[2] - 36 - CAPTION_MARGIN - FACE_RIM
    return caption_size([SWITCH_CAPTION], room, 88)


# ----- the close cross -----

def draw_close_cross():
    scale = 8
    size = CLOSE_SIZE[0] * scale
    canvas = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(canvas)
    colour = (232, 236, 241, 255)
    width = round(2.6 * scale)
    low, high = 8.5 * scale, 21.5 * scale
    for start, end in (((low, low), (high, high)), ((low, high), (high, low))):
        draw.line((start, end), fill=colour, width=width)
        for x, y in (start, end):
            r = width / 2
            draw.ellipse((x - r, y - r, x + r, y + r), fill=colour)
    return canvas.convert("RGBa").reduce(scale).convert("RGBA")


# ----- the title banner -----

LOGO_SIZE = (300, 204)
LOGO_CYAN = (64, 196, 232)
TARGET = (255, 176, 48)
BANNER_GAP = 56
FAN_FROM, FAN_TO = 218, 322   # degrees, clockwise from the right: a 104-degree fan upwards


def fan_point(centre, radius, angle):
    a = math.radians(angle)
    return centre[0] + radius * math.cos(a), centre[1] + radius * math.sin(a)


def disc(draw, centre, radius, fill):
    x, y = centre
    draw.ellipse((x - radius, y - radius, x + radius, y + radius), fill=fill)


def draw_logo(objects):
    """A radar fan seen from its sensor: the sensor at the bottom, range rings, a bright
    sweep and the tracked objects with their fading tracks (one or three)."""
    s = SUPERSAMPLE
    layer = Image.new("RGBA", (LOGO_SIZE[0] * s, LOGO_SIZE[1] * s), (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    sensor = (layer.width / 2, layer.height - 12 * s)
    radius = layer.height - 20 * s

    def ring(r):
        return (sensor[0] - r, sensor[1] - r, sensor[0] + r, sensor[1] + r)

    draw.pieslice(ring(radius), FAN_FROM, FAN_TO, fill=LOGO_CYAN + (48,))
    # The sweep: thin wedges whose opacity rises towards the leading edge.
    for step in range(14):
        leading = 300 - step
        draw.pieslice(ring(radius), leading - 1.2, leading, fill=LOGO_CYAN + (140 - step * 9,))
    for fraction in (1 / 3, 2 / 3, 1.0):
        draw.arc(ring(radius * fraction), FAN_FROM, FAN_TO, fill=LOGO_CYAN + (230,), width=5 * s)
    # Drawn on their own layer so that the translucent boresight does not add up with the
    # fill beneath it.
    rays = Image.new("RGBA", layer.size, (0, 0, 0, 0))
    ray_draw = ImageDraw.Draw(rays)
    for angle, opacity in ((FAN_FROM, 230), (270, 130), (FAN_TO, 230)):
        ray_draw.line(sensor + fan_point(sensor, radius, angle), fill=LOGO_CYAN + (opacity,),
                      width=4 * s)
    layer = Image.alpha_composite(layer, rays)
    draw = ImageDraw.Draw(layer)
    disc(draw, sensor, 11 * s, (236, 244, 250, 255))

    objects_at = {1: [(256, 0.64)], 3: [(238, 0.76), (266, 0.46), (296, 0.70)]}[objects]
    for angle, fraction in objects_at:
        for age in (3, 2, 1):
            trail = fan_point(sensor, radius * (fraction - age * 0.11), angle + age * 3.0)
            disc(draw, trail, (8 - age) * s, TARGET + (235 - age * 50,))
        position = fan_point(sensor, radius * fraction, angle)
        disc(draw, position, 22 * s, TARGET + (60,))
        disc(draw, position, 13 * s, TARGET + (255,))
    return layer


def draw_banner(language, key, size_px, caption_width):
    """The logo followed by the caption, centred as one group. The group's width comes from
    the wider of the two captions so that the logo stays put when the banner changes."""
    s = SUPERSAMPLE
    width, height = BANNER_SIZE[0] * s, BANNER_SIZE[1] * s
    canvas = Image.new("RGBA", (width, height), WINDOW_BACKGROUND + (255,))
    group = LOGO_SIZE[0] * s + BANNER_GAP * s + caption_width
    left = (width - group) / 2
    logo = draw_logo(1 if key == "banner_1" else 3)
    canvas.alpha_composite(logo, (round(left), (height - logo.height) // 2))
    draw = ImageDraw.Draw(canvas)
    divider_x = left + LOGO_SIZE[0] * s + BANNER_GAP * s / 2
    draw.line((divider_x, height * 0.25, divider_x, height * 0.75),
              fill=LOGO_CYAN + (255,), width=3 * s)
    text = CAPTIONS[language][key]
    text_width = font(size_px).getlength(text)
    text_left = left + LOGO_SIZE[0] * s + BANNER_GAP * s
    centre = (text_left + text_width / 2, height / 2)
    draw_caption(draw, text, language, size_px, centre, (244, 247, 250))
    return canvas.reduce(s).convert("RGB")


def banner_pictures(language):
    texts = [CAPTIONS[language][key] for key in BANNERS.values()]
    room = BANNER_SIZE[0] - 2 * 72 - LOGO_SIZE[0] - BANNER_GAP
    size_px = caption_size(texts, room, 104)
    caption_width = max(font(size_px).getlength(t) for t in texts)
    return {i: draw_banner(language, key, size_px, caption_width) for i, key in BANNERS.items()}


# ----- the whole set -----

def button_caption_size(language):
    texts = [CAPTIONS[language][key] for key, _, _ in BUTTONS.values()]
    room = BUTTON_SIZE[0] - 2 * (CAPTION_MARGIN + FACE_RIM)
    return caption_size(texts, room, 96 if language == "en-US" else 104)


def draw_all():
    """Every picture as {language: {id: image}}; pictures shared by the languages are drawn
    once and used for both."""
    shared = {CLOSE_ID: draw_close_cross()}
    switch_size = switch_caption_size()
    for picture_id, (on, disabled) in SWITCHES.items():
        shared[picture_id] = draw_switch(on, disabled, switch_size)
    result = {}
    for language in LANGUAGES:
        pictures = dict(shared)
        pictures.update(banner_pictures(language))
        size_px = button_caption_size(language)
        for picture_id, (key, theme, look) in BUTTONS.items():
            active = GREY if look == DISABLED else THEMES[theme]
            pictures[picture_id] = draw_button(CAPTIONS[language][key], language, active,
                                               look, size_px)
        result[language] = dict(sorted(pictures.items()))
    return result


def relative_path(language, picture_id):
    return os.path.join(language, f"{picture_id}.png")


def names_block():
    lines = [f"#define {NAMES[i]} {i}\n" for i in sorted(NAMES)]
    return BLOCK_BEGIN + "".join(lines) + BLOCK_END


def header_with_names(text):
    """text of resource.h with its picture block replaced (None when it has no block)."""
    begin = text.find(BLOCK_BEGIN)
    end = text.find(BLOCK_END, begin + 1) if begin >= 0 else -1
    if begin < 0 or end < 0:
        return None
    return text[:begin] + names_block() + text[end + len(BLOCK_END):]


def write_names():
    with open(RESOURCE_HEADER, encoding="utf-8") as header:
        text = header.read()
    updated = header_with_names(text)
    if updated is None:
        sys.exit(f"make-artwork: {RESOURCE_HEADER} has no picture block")
    if updated != text:
        with open(RESOURCE_HEADER, "w", encoding="utf-8", newline="\n") as header:
            header.write(updated)


def check_names():
    with open(RESOURCE_HEADER, encoding="utf-8") as header:
        text = header.read()
    updated = header_with_names(text)
    if updated is None:
        return [f"{RESOURCE_HEADER}: no picture block"]
    if updated != text:
        return [f"{RESOURCE_HEADER}: the picture names differ from the drawing's "
                "(run tools/make-artwork.py)"]
    missing = sorted(set(expected_sizes()) - set(NAMES))
    return [f"picture {i}: has no name" for i in missing]


def write_all(folder):
    write_names()
    for language, pictures in draw_all().items():
        os.makedirs(os.path.join(folder, language), exist_ok=True)
        for picture_id, image in pictures.items():
            # Pillow writes no time stamp or other metadata unless asked to.
            image.save(os.path.join(folder, relative_path(language, picture_id)), "PNG",
                       optimize=True)


# What Pillow raises for a file that is no picture, a damaged one or one claiming a huge size.
READ_ERRORS = (OSError, ValueError, SyntaxError, EOFError, Image.DecompressionBombError)


def decoded(path):
    with Image.open(path) as image:
        image.load()
        return image.format, image.size, image.mode, image.convert("RGBA")


def check(folder):
    """Lists every problem of folder: missing, stray, unreadable or wrongly sized files, a
    lost alpha channel, and pictures that differ from a fresh drawing."""
    if not os.path.isdir(folder):
        return [f"{folder}: no such folder"]
    problems = []
    sizes = expected_sizes()
    expected = {relative_path(lang, i) for lang in LANGUAGES for i in sizes}
    present = set()
    for root, _, files in os.walk(folder):
        for name in files:
            present.add(os.path.relpath(os.path.join(root, name), folder))
    problems += [f"{path}: not expected here" for path in sorted(present - expected)]
    problems += check_names()
    fresh = draw_all()
    for language in LANGUAGES:
        for picture_id, size in sizes.items():
            path = relative_path(language, picture_id)
            if path not in present:
                problems.append(f"{path}: missing")
                continue
            try:
                kind, actual_size, mode, pixels = decoded(os.path.join(folder, path))
            except READ_ERRORS:
                problems.append(f"{path}: cannot be read as a picture")
                continue
            if kind != "PNG":
                problems.append(f"{path}: {kind} instead of PNG")
            if actual_size != size:
                problems.append(f"{path}: {actual_size[0]}x{actual_size[1]} pixels instead of "
                                f"{size[0]}x{size[1]}")
                continue
            if mode != expected_mode(picture_id):
                problems.append(f"{path}: pixel format {mode} instead of "
                                f"{expected_mode(picture_id)}")
            if pixels.tobytes() != fresh[language][picture_id].convert("RGBA").tobytes():
                problems.append(f"{path}: differs from a fresh drawing "
                                "(run tools/make-artwork.py on this folder)")
    return problems


def main(argv):
    if len(argv) == 3 and argv[1] == "--check":
        problems = check(argv[2])
        for problem in problems:
            print(f"make-artwork: {problem}", file=sys.stderr)
        count = len(LANGUAGES) * len(expected_sizes())
        if problems:
            print(f"make-artwork: {len(problems)} problem(s) in {argv[2]}", file=sys.stderr)
            return 1
        print(f"make-artwork: {count} pictures in {argv[2]} are complete and up to date")
        return 0
    if len(argv) == 2 and not argv[1].startswith("-"):
        write_all(argv[1])
        return 0
    print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    if not os.path.isfile(FONT_PATH):
        sys.exit(f"make-artwork: the font {FONT_PATH} is missing (Debian fonts-wqy-microhei)")
    sys.exit(main(sys.argv))

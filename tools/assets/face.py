"""The window face and the skinned buttons' pictures. Everything is placed
from the control table, so the painted fields, cells and buttons lie exactly
under the controls."""
from tools import facts
from tools.assets import balls
from tools.facts import LANDSCAPE, control
from tools.assets.svg import BLACK, WHITE, document, hexc, mix, text

BEIGE = (0xF0, 0xE0, 0xCF)
STRIP = (0x3F, 0x10, 0x10)
OLIVE = (0x70, 0x6F, 0x60)
STRIP_H = 22
TRAY = (0xE2, 0xCF, 0xBA)
KEY = (0xD2, 0xD2, 0xD0)
INK = (0x4A, 0x36, 0x28)
BED = (0x9A, 0x97, 0x88)
BOARD_MARGIN = 8
BOX_GROWTH = 1.5  # a touch face's check box to the window's
TOUCH_STRIP_H = 37
# The width of the plates of the faces for touch screens, by face.
PLATE_W = {"portrait": 118, "sideways": 152}

# The mark of each small skinned button, by its id name.
MARKS = {
    "ID_CLOSE": "M 8.5 4.5 L 15.5 11.5 M 15.5 4.5 L 8.5 11.5",
    "ID_MINIMISE": "M 8 11.5 L 16 11.5",
}

# The plates that hold a static's white field, by the static's id.
PLATES = ("ID_COUNTDOWN", "ID_ROUNDS", "ID_GAMECLOCK", "ID_STATUS")
PLATE_LABELS = ("CAPTION_COUNTDOWN", "NAME_ROUNDS", "NAME_GAMECLOCK", "NAME_STATUS")
FAMILY = {"bold": ("DejaVu Sans", "bold", "normal"),
          "condensed": ("DejaVu Sans Condensed", "bold", "normal"),
          "italic": ("DejaVu Sans", "normal", "italic")}
ANCHOR = {"start": 0, "middle": 0.5, "end": 1}


def english(key):
    """A caption's English text."""
    return facts.TEXTS[key].replace("%s", facts.VERSION)


def caption(c, shift=0):
    """A caption of facts.captions in English, moved by shift pixels both
    ways (a pressed button's)."""
    family, weight, style = FAMILY[c.font]
    x, y = c.x + c.w * ANCHOR[c.align] + c.shift + shift, c.y + c.baseline + shift
    anchor = c.align
    out = ""
    if c.shadow:
        out = text(x + 0.7, y + 0.7, english(c.text), c.size, c.shadow, weight, anchor, style,
                   family)
    return out + text(x, y, english(c.text), c.size, c.ink, weight, anchor, style, family)


def _captions(face, words, keys):
    return "".join(caption(c) for c in facts.captions(face) if c.text in keys) if words else ""


def _rect(x, y, w, h, fill, extra=""):
    return '<rect x="%g" y="%g" width="%g" height="%g" fill="%s" %s/>' % (
        x, y, w, h, hexc(fill) if isinstance(fill, tuple) else fill, extra)


def _bevel(x, y, w, h, light, dark, width=1):
    """Raised edges: light top and left, dark bottom and right."""
    return (_rect(x, y, w, width, light) + _rect(x, y, width, h, light)
            + _rect(x, y + h - width, w, width, dark) + _rect(x + w - width, y, width, h, dark))


def button(id_name, pressed, uid, face=LANDSCAPE, words=True):
    """Defs and body of a skinned button drawn at the origin, its own size,
    on the colour of the face beneath it; without its caption unless
    words."""
    c = control(id_name, face)
    w, h = c.w, c.h
    shift = 1 if pressed else 0
    label = next((c for c in facts.captions(face) if c.button == id_name), None)
    small = label is None
    ground = STRIP if small else TRAY
    face = KEY if small else OLIVE
    top, bottom = mix(face, WHITE, 0.3), mix(face, BLACK, 0.22)
    if pressed:
        top, bottom = mix(face, BLACK, 0.18), mix(face, WHITE, 0.08)
    light, dark = mix(face, WHITE, 0.6), mix(face, BLACK, 0.55)
    if pressed:
        light, dark = dark, light
    defs = ('<linearGradient id="%s-face" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (uid, hexc(top), hexc(bottom)))
    r = 3 if small else 4
    body = (_rect(0, 0, w, h, ground)
            + '<rect x="0.5" y="0.5" width="%g" height="%g" rx="%g" fill="%s"/>'
            % (w - 1, h - 1, r, hexc(mix(ground, BLACK, 0.45)))
            + '<rect x="1" y="1" width="%g" height="%g" rx="%g" fill="url(#%s-face)"/>'
            % (w - 2, h - 2, r - 0.5, uid)
            + '<path d="M 2 %g V %g Q 2 2 %g 2 H %g" fill="none" stroke="%s" stroke-width="1"/>'
            % (h - 3, r + 1, r + 1, w - 3 + 0.5, hexc(light))
            + '<path d="M 3 %g H %g Q %g %g %g %g V 3" fill="none" stroke="%s" '
              'stroke-width="1" stroke-opacity="0.7"/>'
            % (h - 1.5, w - r - 1, w - 1.5, h - 1.5, w - 1.5, h - r - 1, hexc(dark)))
    if small:
        ink = "#3F1010"
        mark = MARKS.get(id_name)
        # The marks are drawn for the window's 24 x 16 buttons; a larger
        # button has them larger, in its middle.
        grow = min(w / 24, h / 16) * 0.9 if (w, h) != (24, 16) else 1
        place = "translate(%d %d)" % (shift, shift)
        if grow != 1:
            place = "translate(%g %g) scale(%g)" % ((w - 24 * grow) / 2 + shift,
                                                    (h - 16 * grow) / 2 + shift, grow)
        if mark:
            body += ('<path d="%s" transform="%s" fill="none" stroke="%s" '
                     'stroke-width="2" stroke-linecap="round"/>' % (mark, place, ink))
        else:
            body += text(w / 2 + shift, h / 2 + 4.5 * grow + shift, "?", 12 * grow, ink,
                         anchor="middle")
    elif words:
        body += caption(label, shift)
    return defs, body


def button_picture(id_name, pressed, face=LANDSCAPE, words=True):
    c = control(id_name, face)
    defs, body = button(id_name, pressed, "b", face, words)
    return document(c.w, c.h, body, defs)


# The check box's looks, in the order of their pictures, and its tick as the
# classic 7 x 7 pixels.
CHECK_BOX_LOOKS = ("normal", "held", "disabled")
TICK = ["......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."]


def check_box(ticked, look, scale, face=LANDSCAPE, words=True):
    """The classic sunken 3-D box, in one of CHECK_BOX_LOOKS, with or
    without its tick. At 1x the tick is the classic pixels; larger, the same
    stroke drawn smoothly, as pixels doubled would look coarse. The touch
    faces' box is a fingertip's target: the window's box drawn larger in its
    middle, over the face beneath it."""
    c = control("ID_SPORTS", face)
    window_box = control("ID_SPORTS")
    body = _box(window_box.w, window_box.h, ticked, look, scale == 1 and face is LANDSCAPE)
    if face is LANDSCAPE:
        return document(c.w, c.h, body)
    side = window_box.w * BOX_GROWTH
    parts = _parts(face, words)
    return document(c.w, c.h, '<g transform="translate(%d %d)">%s</g>'
                    % (-c.x, -c.y, "".join(b for _, b in parts))
                    + '<svg x="%g" y="%g" width="%g" height="%g" viewBox="0 0 %d %d">%s</svg>'
                    % ((c.w - side) / 2, (c.h - side) / 2, side, side, window_box.w,
                       window_box.h, body), "".join(d for d, _ in parts))


def _box(w, h, ticked, look, pixels):
    grey = lambda v: (v, v, v)  # noqa: E731
    body = (_rect(0, 0, w, h, WHITE) + _rect(0, 0, w - 1, 1, grey(128))
            + _rect(0, 0, 1, h - 1, grey(128)) + _rect(1, 1, w - 3, 1, grey(64))
            + _rect(1, 1, 1, h - 3, grey(64)) + _rect(1, h - 2, w - 2, 1, grey(192))
            + _rect(w - 2, 1, 1, h - 2, grey(192))
            + _rect(2, 2, w - 4, h - 4, WHITE if look == "normal" else grey(192)))
    if ticked:
        ink = grey(128) if look == "disabled" else BLACK
        left, top = (w - 7) // 2, (h - 7) // 2
        if pixels:
            body += "".join(_rect(left + x, top + y, 1, 1, ink)
                            for y, row in enumerate(TICK) for x, p in enumerate(row)
                            if p == "X")
        else:
            # Through the middles of the classic tick's columns, each three
            # pixels high: a stroke 3 / sqrt(2) wide.
            body += ('<path d="M %g %g L %g %g L %g %g" fill="none" stroke="%s" '
                     'stroke-width="2.2"/>' % (left + 0.1, top + 3.1, left + 2.5, top + 5.5,
                                               left + 6.9, top + 1.1, hexc(ink)))
    return body


def _field(c):
    """The white field under a static, framed by a thin sunken line."""
    return (_rect(c.x - 2, c.y - 2, c.w + 4, c.h + 4, mix(OLIVE, BLACK, 0.45))
            + _rect(c.x - 1, c.y - 1, c.w + 3, c.h + 3, mix(OLIVE, WHITE, 0.55))
            + _rect(c.x - 1, c.y - 1, c.w + 2, c.h + 2, WHITE))


def _plate(x, y, w, h, uid):
    defs = ('<linearGradient id="%s" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (uid, hexc(mix(OLIVE, WHITE, 0.12)),
                                   hexc(mix(OLIVE, BLACK, 0.12))))
    body = ('<rect x="%g" y="%g" width="%g" height="%g" rx="6" fill="%s"/>'
            '<rect x="%g" y="%g" width="%g" height="%g" rx="5.5" fill="url(#%s)"/>'
            % (x - 0.5, y - 0.5, w + 1, h + 1, hexc(mix(OLIVE, BLACK, 0.45)),
               x, y, w, h, uid))
    return defs, body


def _rounded(x, y, w, h, r, fill, extra=""):
    return '<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s" %s/>' % (
        x, y, w, h, r, fill, extra)


def _strip(face):
    return STRIP_H if face is LANDSCAPE else TOUCH_STRIP_H


def _title(face):
    """The dark strip with a small blue ball and the name."""
    W, strip = face.w, _strip(face)
    defs, ball = balls.sphere("title", balls.BODY[1])
    if face is LANDSCAPE:
        mark = ('<g transform="translate(4 3.2) scale(0.33)">%s</g>' % ball
                + text(22, 15.5, facts.TEXTS["WINDOW_TITLE"], 13, "#FFFFFF"))
    else:
        mark = ('<g transform="translate(6 %g) scale(0.42)">%s</g>' % (strip / 2 - 10, ball)
                + text(30, strip / 2 + 5.5, facts.TEXTS["WINDOW_TITLE"], 16, "#FFFFFF"))
    body = (_rect(0, 0, W, strip, STRIP) + _rect(0, strip, W, 1, mix(STRIP, BEIGE, 0.5))
            + mark)
    return defs, body


def board_rect(face=LANDSCAPE):
    """Left, top, right and bottom of the sixteen places together."""
    places = facts.places(face)
    return (min(p.x for p in places), min(p.y for p in places),
            max(p.x + p.w for p in places), max(p.y + p.h for p in places))


def _board(face):
    """A bevelled frame round the board's bed, an empty cell under every
    place."""
    left, top, right, bottom = board_rect(face)
    fx, fy, fw, fh = left - BOARD_MARGIN, top - BOARD_MARGIN, right - left + 2 * BOARD_MARGIN, \
        bottom - top + 2 * BOARD_MARGIN
    frame = mix(OLIVE, BEIGE, 0.3)
    defs = ['<linearGradient id="frame" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (hexc(mix(frame, WHITE, 0.15)), hexc(mix(frame, BLACK, 0.12)))]
    body = [_rounded(fx, fy, fw, fh, 5, hexc(mix(OLIVE, BLACK, 0.45))),
            _rounded(fx + 1, fy + 1, fw - 2, fh - 2, 4, "url(#frame)"),
            _rounded(fx + 1.5, fy + 1.5, fw - 3, fh - 3, 3.5, "none",
                     'stroke="#fff" stroke-opacity="0.4"'),
            _bevel(left - 4, top - 4, right - left + 8, bottom - top + 8,
                   mix(frame, BLACK, 0.4), mix(frame, WHITE, 0.45), 2),
            _rect(left - 2, top - 2, right - left + 4, bottom - top + 4, BED)]
    for p in facts.places(face):
        d, b = balls.cell("cell%d" % p.id)
        defs.append(d)
        body.append('<g transform="translate(%d %d)">%s</g>' % (p.x, p.y, b))
    return "".join(defs), "".join(body)


def _plates(face, words):
    """The labelled plates whose white fields lie under the statics: in the
    window the three counters on the right and the status line under the
    board, the label beside the field; upright two by two under the board,
    sideways two by two beside it, the label over the field."""
    left, _, right, _ = board_rect()
    counters_left = control("ID_QUIT").x - 50
    defs, body = [], []
    for id_name in PLATES:
        c = control(id_name, face)
        if face is not LANDSCAPE:
            w = PLATE_W[face.name]
            d, b = _plate(c.x + c.w / 2 - w / 2, c.y - 18, w, 40, "plate%d" % c.id)
        elif id_name == "ID_STATUS":
            d, b = _plate(left - BOARD_MARGIN, c.y - 6, right - left + 2 * BOARD_MARGIN,
                          c.h + 12, "plate%d" % c.id)
        else:
            d, b = _plate(counters_left, c.y - 6, c.x + c.w + 8 - counters_left, c.h + 12,
                          "plate%d" % c.id)
        defs.append(d)
        body.append(b + _field(c))
    body.append(_captions(face, words, PLATE_LABELS))
    return "".join(defs), "".join(body)


def _tray(face, words):
    """The panel under the four big buttons, with the colour count's field
    beside Color # and the label of the icon set box: in the window the box
    is under the buttons, upright and sideways beside Start Game."""
    quit_, start, box = (control(n, face) for n in ("ID_QUIT", "ID_NEWGAME", "ID_SPORTS"))
    count, colors = control("ID_BALLCOUNT", face), control("ID_COLORCOUNT", face)
    tx, ty = quit_.x - 5, quit_.y - 5
    if face is LANDSCAPE:
        tw, th = start.x + start.w + 5 - tx, box.y + box.h + 8 - ty
        right = start.x + start.w
        count_left = colors.x + colors.w + 2
        box_plate = (quit_.x, box.y - 4, right - quit_.x, box.h + 8)
    else:
        tw, th = box.x + box.w + 5 - tx, start.y + start.h + 5 - ty
        right = box.x + box.w
        count_left = colors.x + colors.w + 4
        left = start.x + start.w + 4
        box_plate = (left, start.y, right - left, start.h)
    count_defs, count_plate = _plate(count_left, colors.y, right - count_left, colors.h,
                                     "countplate")
    box_defs, box_plate = _plate(*box_plate, "boxplate")
    body = (_rounded(tx - 0.5, ty - 0.5, tw + 1, th + 1, 5, hexc(mix(TRAY, BLACK, 0.25)))
            + _rounded(tx, ty, tw, th, 4.5, hexc(TRAY))
            + count_plate + _field(count) + box_plate
            + _captions(face, words, ("NAME_SPORTS",)))
    return count_defs + box_defs, body


def _buttons(face, words):
    """Every skinned button painted as its normal picture."""
    defs, body = [], []
    for _, id_name in facts.BUTTONS:
        c = control(id_name, face)
        d, b = button(id_name, False, "face-%d" % c.id, face, words)
        defs.append(d)
        body.append('<g transform="translate(%d %d)">%s</g>' % (c.x, c.y, b))
    return "".join(defs), "".join(body)


def _decoration(face, words):
    """In the window a line of advice over the board, the seven colours in
    their order between the counters and the tray; the version at the
    bottom."""
    if face is not LANDSCAPE:
        return "", _captions(face, words, ("CAPTION_VERSION",))
    left, _, _, _ = board_rect()
    clock, countdown = control("ID_GAMECLOCK"), control("ID_COUNTDOWN")
    ribbon_y = (clock.y + clock.h + 6 + control("ID_QUIT").y - 5) / 2
    ribbon_right = countdown.x + countdown.w + 8
    scale, step = 0.4, 21
    defs, body = [], [_captions(face, words, ("CAPTION_HINT",))]
    for n, colour in enumerate(balls.BODY):
        d, b = balls.sphere("ribbon%d" % n, colour)
        defs.append(d)
        x = ribbon_right - (len(balls.BODY) - n - 0.5) * step
        body.append('<g transform="translate(%g %g) scale(%g)">%s</g>'
                    % (x - scale * balls.CX, ribbon_y - scale * balls.CY, scale, b))
    body.append(_captions(face, words, ("CAPTION_VERSION",)))
    return "".join(defs), "".join(body)


def _parts(face, words=True):
    """The (defs, body) parts of a face, bottom to top."""
    W, H, strip = face.w, face.h, _strip(face)
    edge = (_bevel(0, 0, W, H, mix(BEIGE, WHITE, 0.7), mix(BEIGE, BLACK, 0.45))
            + _bevel(1, strip + 1, W - 2, H - strip - 2, mix(BEIGE, WHITE, 0.5),
                     mix(BEIGE, BLACK, 0.2)))
    return [("", _rect(0, 0, W, H, BEIGE)), _title(face), _board(face), _plates(face, words),
            _tray(face, words), _buttons(face, words), _decoration(face, words), ("", edge)]


def picture(extra=(), face=LANDSCAPE, words=True):
    """SVG document of the whole face, with any extra (defs, body) parts
    drawn over it; without its captions unless words."""
    parts = _parts(face, words) + list(extra)
    return document(face.w, face.h, "".join(b for _, b in parts), "".join(d for d, _ in parts))


# A round in its study phase, for the help: the dealt balls of round 2 and
# what the statics show then.
EXAMPLE_BOARD = [1, 3, 2, 1, 2, 2, 3, 1]
EXAMPLE_TEXTS = {"ID_COUNTDOWN": "07", "ID_ROUNDS": "02", "ID_GAMECLOCK": "00:00",
                 "ID_BALLCOUNT": "3", "ID_STATUS": facts.TEXTS["TEXT_STUDY"]}


def screenshot():
    """The window as a player sees it during a round, for the help pages."""
    extra = []
    for k, p in enumerate(facts.places()):
        n = EXAMPLE_BOARD[k] if k < len(EXAMPLE_BOARD) else 0
        d, b = balls.parts("colour", n, "shot%d" % p.id)
        extra.append((d, '<g transform="translate(%d %d)">%s</g>' % (p.x, p.y, b)))
    for id_name, value in EXAMPLE_TEXTS.items():
        c = control(id_name)
        status = id_name == "ID_STATUS"
        extra.append(("", text(c.x + 1, c.y + 12, value, 11, "#000000",
                               weight="normal" if status else "bold")))
    box = control("ID_SPORTS")
    extra.append(("", _rect(box.x, box.y, box.w, box.h, (0x80, 0x80, 0x80))
                  + _rect(box.x + 1, box.y + 1, box.w - 2, box.h - 2, WHITE)))
    return picture(extra)

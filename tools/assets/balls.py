"""The ball pictures: the empty cell, seven glossy colour balls and seven
sport balls, each drawn on the board's cell grey so that it sits on the board
like an empty place."""
import math

from tools.assets.svg import BLACK, WHITE, document, hexc, mix, text

SIZE = 48
CELL = (0xC4, 0xC4, 0xC4)

# Body colour of each colour ball, 1..7: red, blue, yellow, green, magenta,
# sky blue, white. Picked so that they stay apart under the three common
# colour-vision deficiencies as well (the asset tests measure it).
BODY = [
    (241, 30, 10),
    (10, 84, 230),
    (255, 212, 20),
    (0, 160, 84),
    (176, 0, 124),
    (0, 200, 250),
    (246, 243, 248),
]
COLOURS = [CELL] + BODY

CX, CY, R = 24, 23.5, 19.5


def cell(uid):
    """The empty place: a sunken grey square with a faint hollow."""
    defs = (
        '<linearGradient id="%s-dimple" x1="0.15" y1="0.15" x2="0.85" y2="0.85">'
        '<stop offset="0" stop-color="#000" stop-opacity="0.12"/>'
        '<stop offset="1" stop-color="#fff" stop-opacity="0.4"/></linearGradient>' % uid)
    body = (
        '<rect width="48" height="48" fill="%s"/>'
        '<rect x="0" y="0" width="48" height="1" fill="#A4A4A4"/>'
        '<rect x="0" y="0" width="1" height="48" fill="#A4A4A4"/>'
        '<rect x="1" y="47" width="47" height="1" fill="#E2E2E2"/>'
        '<rect x="47" y="1" width="1" height="47" fill="#E2E2E2"/>'
        '<circle cx="24" cy="24" r="18.5" fill="url(#%s-dimple)"/>' % (hexc(CELL), uid))
    return defs, body


def _ground(uid):
    """Cell grey with the soft shadow a ball throws on it."""
    defs = (
        '<radialGradient id="%s-shadow" cx="0.5" cy="0.5" r="0.5">'
        '<stop offset="0" stop-color="#000" stop-opacity="0.38"/>'
        '<stop offset="1" stop-color="#000" stop-opacity="0"/></radialGradient>' % uid)
    c_defs, c_body = cell(uid)
    body = c_body + ('<ellipse cx="25.5" cy="42.5" rx="17" ry="4.5" fill="url(#%s-shadow)"/>'
                     % uid)
    return c_defs + defs, body


def _sphere_defs(uid, base, lite=0.45, dark=0.55):
    return (
        '<radialGradient id="%s-body" cx="0.4" cy="0.36" r="0.68" fx="0.34" fy="0.28">'
        '<stop offset="0" stop-color="%s"/><stop offset="0.45" stop-color="%s"/>'
        '<stop offset="1" stop-color="%s"/></radialGradient>'
        '<radialGradient id="%s-shine" cx="0.5" cy="0.5" r="0.5">'
        '<stop offset="0" stop-color="#fff" stop-opacity="0.9"/>'
        '<stop offset="1" stop-color="#fff" stop-opacity="0"/></radialGradient>'
        '<radialGradient id="%s-shade" cx="0.4" cy="0.36" r="0.68" fx="0.34" fy="0.28">'
        '<stop offset="0.5" stop-color="#000" stop-opacity="0"/>'
        '<stop offset="1" stop-color="#000" stop-opacity="0.45"/></radialGradient>'
        '<clipPath id="%s-clip"><circle cx="%g" cy="%g" r="%g"/></clipPath>'
        % (uid, hexc(mix(base, WHITE, lite)), hexc(base), hexc(mix(base, BLACK, dark)),
           uid, uid, uid, CX, CY, R))


def _shine(uid, rim):
    """Rim line and specular highlight laid over a ball."""
    return ('<circle cx="%g" cy="%g" r="%g" fill="none" stroke="%s" stroke-opacity="0.6" '
            'stroke-width="1"/>'
            '<ellipse cx="18.5" cy="15" rx="8" ry="5.5" transform="rotate(-30 18.5 15)" '
            'fill="url(#%s-shine)"/>' % (CX, CY, R, hexc(rim), uid))


def sphere(uid, base):
    """Defs and body of a glossy ball of the base colour, without ground."""
    body = ('<circle cx="%g" cy="%g" r="%g" fill="url(#%s-body)"/>' % (CX, CY, R, uid)
            + _shine(uid, mix(base, BLACK, 0.7)))
    return _sphere_defs(uid, base), body


def colour_ball(n, uid):
    g_defs, g_body = _ground(uid)
    s_defs, s_body = sphere(uid, BODY[n - 1])
    return g_defs + s_defs, g_body + s_body


def _sport(uid, base, pattern, rim=None):
    """A shaded sphere of the base colour with a pattern drawn over it
    (clipped to the ball), then shading, rim and highlight."""
    g_defs, g_body = _ground(uid)
    body = (g_body
            + '<circle cx="%g" cy="%g" r="%g" fill="url(#%s-body)"/>' % (CX, CY, R, uid)
            + '<g clip-path="url(#%s-clip)">%s' % (uid, pattern)
            + '<circle cx="%g" cy="%g" r="%g" fill="url(#%s-shade)"/></g>' % (CX, CY, R, uid)
            + _shine(uid, rim or mix(base, BLACK, 0.7)))
    return g_defs + _sphere_defs(uid, base, lite=0.6, dark=0.3), body


def _polygon_points(cx, cy, r, n, turn):
    return [(cx + r * math.sin(math.radians(turn + 360.0 * i / n)),
             cy - r * math.cos(math.radians(turn + 360.0 * i / n))) for i in range(n)]


def _points(pts):
    return " ".join("%.2f,%.2f" % p for p in pts)


def _football(uid):
    """A black pentagon in the middle, five more round it, each tied to it by
    a seam, and the seams of the white hexagons between them."""
    ink = "#1E1E24"
    line = 'stroke="%s" stroke-width="1.2" stroke-linecap="round"' % ink
    cy = CY + 0.5
    centre = _polygon_points(CX, cy, 6.5, 5, 0)
    outer = [_polygon_points(CX + 17 * math.sin(math.radians(72 * i)),
                             cy - 17 * math.cos(math.radians(72 * i)), 6, 5, 72 * i + 180)
             for i in range(5)]
    parts = ['<polygon points="%s" fill="%s"/>' % (_points(p), ink) for p in [centre] + outer]
    for i in range(5):
        (x1, y1), (x2, y2) = centre[i], outer[i][0]
        parts.append('<line x1="%.2f" y1="%.2f" x2="%.2f" y2="%.2f" %s/>' % (x1, y1, x2, y2, line))
        nxt = outer[(i + 1) % 5]
        (x1, y1), (x2, y2) = min(((p, q) for p in outer[i] for q in nxt),
                                 key=lambda pq: math.dist(*pq))
        parts.append('<line x1="%.2f" y1="%.2f" x2="%.2f" y2="%.2f" %s/>' % (x1, y1, x2, y2, line))
    return _sport(uid, (250, 250, 248), "".join(parts), rim=(90, 90, 90))


def _basketball(uid):
    line = 'fill="none" stroke="#2A1208" stroke-width="1.6"'
    pattern = ('<line x1="24" y1="2" x2="24" y2="46" %s/>'
               '<line x1="2" y1="23.5" x2="46" y2="23.5" %s/>'
               '<path d="M 10 6 Q 19 23.5 10 41" %s/>'
               '<path d="M 38 6 Q 29 23.5 38 41" %s/>' % (line, line, line, line))
    return _sport(uid, (236, 112, 26), pattern)


def _tennis(uid):
    seam = 'fill="none" stroke="#FFFFF4" stroke-width="2.4"'
    pattern = ('<path d="M 8 6 Q 20 23.5 8 41" %s/>'
               '<path d="M 40 6 Q 28 23.5 40 41" %s/>' % (seam, seam))
    return _sport(uid, (206, 226, 40), pattern, rim=(110, 120, 20))


def _baseball(uid):
    red = "#C8202A"
    parts = []
    for side in (-1, 1):
        x0 = 24 + side * 16
        xm = 24 + side * 5
        parts.append('<path d="M %g 7 Q %g 23.5 %g 40" fill="none" stroke="%s" '
                     'stroke-width="1.1"/>' % (x0, xm, x0, red))
        for k in range(1, 8):
            t = k / 8.0
            x = (1 - t) ** 2 * x0 + 2 * t * (1 - t) * xm + t * t * x0
            y = (1 - t) ** 2 * 7 + 2 * t * (1 - t) * 23.5 + t * t * 40
            dx = 2 * (1 - t) * (xm - x0) + 2 * t * (x0 - xm)
            dy = 2 * (1 - t) * 16.5 + 2 * t * 16.5
            n = math.hypot(dx, dy)
            nx, ny = -dy / n * 2.4, dx / n * 2.4
            parts.append('<line x1="%.2f" y1="%.2f" x2="%.2f" y2="%.2f" stroke="%s" '
                         'stroke-width="1.1" stroke-linecap="round"/>'
                         % (x - nx, y - ny - 0.8, x + nx, y + ny + 0.8, red))
    return _sport(uid, (248, 244, 232), "".join(parts), rim=(120, 110, 95))


def _volleyball(uid):
    """Three families of curved panels turning round the centre: each seam
    is an arc of one of three circles through the middle, and the panels
    beside it follow wider circles of the same centre."""
    seam = 'fill="none" stroke="#3A3A48" stroke-width="1"'
    rho, width = 18, 6
    centres = [(CX + rho * math.cos(math.radians(90 + 120 * k)),
                CY - rho * math.sin(math.radians(90 + 120 * k))) for k in range(3)]
    parts = []
    for k, band in enumerate(("#2458B8", "#F4C418", None)):
        (ox, oy), (nx, ny), (px, py) = centres[k], centres[(k + 1) % 3], centres[k - 1]
        family = ['<circle cx="%.2f" cy="%.2f" r="%g" %s/>' % (ox, oy, rho + j * width, seam)
                  for j in (1, 2)]
        if band:
            family.insert(0, '<circle cx="%.2f" cy="%.2f" r="%g" fill="none" stroke="%s" '
                             'stroke-width="%g"/>' % (ox, oy, rho + 1.5 * width, band, width))
        parts.append('<clipPath id="%s-family%d"><circle cx="%.2f" cy="%.2f" r="%g"/></clipPath>'
                     '<g clip-path="url(#%s-family%d)">%s</g>'
                     % (uid, k, nx, ny, rho, uid, k, "".join(family)))
        parts.append('<mask id="%s-seam%d"><rect width="48" height="48" fill="#fff"/>'
                     '<circle cx="%.2f" cy="%.2f" r="%g" fill="#000"/></mask>'
                     '<circle cx="%.2f" cy="%.2f" r="%g" %s mask="url(#%s-seam%d)"/>'
                     % (uid, k, px, py, rho, ox, oy, rho, seam, uid, k))
    return _sport(uid, (250, 250, 246), "".join(parts), rim=(100, 100, 110))


def _billiard(uid):
    pattern = ('<circle cx="21.5" cy="20" r="8" fill="#FAFAF4"/>'
               + text(21.5, 24.6, "8", 12, "#101010"))
    return _sport(uid, (36, 36, 42), pattern, rim=(0, 0, 0))


def _bowling(uid):
    hole = ('<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="#0C0A18"/>'
            '<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="none" stroke="#9C8CE0" '
            'stroke-opacity="0.55" stroke-width="0.8"/>')
    pattern = ('<path d="M 4 30 Q 16 18 30 30 T 46 26" fill="none" stroke="#7A5ED0" '
               'stroke-opacity="0.45" stroke-width="3"/>'
               + "".join(hole % (x, y, rx, ry, x, y + 0.5, rx, ry)
                         for x, y, rx, ry in ((27.5, 14.5, 2.7, 3), (34, 18, 2.7, 3),
                                              (29.5, 25.5, 3.1, 3.4))))
    return _sport(uid, (70, 40, 150), pattern, rim=(20, 10, 50))


SPORTS = [_football, _basketball, _tennis, _baseball, _volleyball, _billiard, _bowling]


def parts(kind, n, uid):
    """Defs and body of ball n (0 = empty) of kind "colour" or "sport"."""
    if n == 0:
        return cell(uid)
    if kind == "colour":
        return colour_ball(n, uid)
    return SPORTS[n - 1](uid)


def picture(kind, n):
    """SVG document of ball n of kind "colour" or "sport"."""
    defs, body = parts(kind, n, "%s%d" % (kind, n))
    return document(SIZE, SIZE, body, defs)

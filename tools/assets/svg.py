"""Small helpers for writing SVG text."""


def hexc(c):
    return "#%02X%02X%02X" % tuple(int(round(v)) for v in c)


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def document(w, h, body, defs=""):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="0 0 %d %d" shape-rendering="geometricPrecision">'
            '<defs>%s</defs>%s</svg>' % (w, h, w, h, defs, body))


def text(x, y, s, size, colour, weight="bold", anchor="start", style="normal",
         family="DejaVu Sans"):
    s = s.replace("&", "&amp;").replace("<", "&lt;")
    return ('<text x="%g" y="%g" font-family="%s" font-size="%g" font-weight="%s" '
            'font-style="%s" text-anchor="%s" fill="%s">%s</text>'
            % (x, y, family, size, weight, style, anchor, colour, s))

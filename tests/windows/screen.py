#!/usr/bin/python3
"""Reads the virtual display's screen (the XWD file that Xvfb -fbdir keeps) and finds the main
window's parts by their pixels, for scripts/test-windows: no accessibility bus reaches a
program under Wine. Subcommands:

  views XWD         prints "map x y w h", "view3d x y w h" and "itemlist x y w h" lines
  check XWD         checks that the map shows sectors and the 3D view a drawn room
  changed XWD XWD   exits 0 when the two screens differ inside the 3D view
  png XWD OUT.png   writes the screen as a PNG picture
"""
import struct
import sys
import zlib

BLUE = (0, 0, 255)  # the 3D view's background
BLACK = (0, 0, 0)   # the room map's background
WHITE = (255, 255, 255)


class Screen:
    def __init__(self, path):
        data = open(path, "rb").read()
        header = struct.unpack(">25I", data[:100])
        header_size, width, height = header[0], header[4], header[5]
        self.bits, self.stride, ncolors = header[11], header[12], header[19]
        if self.bits != 32:
            raise SystemExit(f"{path}: {self.bits} bits a pixel; the display must have depth 24")
        self.width, self.height = width, height
        self.pixels = data[header_size + 12 * ncolors:]

    def at(self, x, y):
        i = y * self.stride + 4 * x
        b, g, r = self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]
        return (r, g, b)

    def png(self, out):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            line = self.pixels[y * self.stride:y * self.stride + 4 * self.width]
            for x in range(self.width):
                rows += bytes((line[4 * x + 2], line[4 * x + 1], line[4 * x]))
        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        with open(out, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 6)))
            f.write(chunk(b"IEND", b""))


def view3d(screen):
    """The 3D view: the box around the long runs, across and down, of its blue background
    (item markers on the map and a texture page can be blue too, but never 100 pixels long)."""
    xs, ys = [], []
    for y in range(0, screen.height, 2):
        run = 0
        for x in range(screen.width):
            run = run + 1 if screen.at(x, y) == BLUE else 0
            if run >= 100:
                xs.append(x)
                ys.append(y)
                if run == 100:
                    xs.append(x - 99)
    for x in range(0, screen.width, 2):
        run = 0
        for y in range(screen.height):
            run = run + 1 if screen.at(x, y) == BLUE else 0
            if run >= 100:
                xs.append(x)
                ys.append(y)
                if run == 100:
                    ys.append(y - 99)
    if not ys:
        raise SystemExit("no 3D view (no blue background) on the screen")
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def room_map(screen, view):
    """The room map: the black pane left of the 3D view, beside it at the same height (the
    screen around the window may be black too, but not there)."""
    xs, ys = [], []
    for y in range(view[1], view[3]):
        for x in range(0, view[0]):
            if screen.at(x, y) == BLACK:
                xs.append(x)
                ys.append(y)
    if not xs:
        raise SystemExit("no room map (no black pane left of the 3D view) on the screen")
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def item_list(screen, view):
    """The sector's item list: the white box, 40 to 80 pixels high, right of the 3D view (the
    trigger list is taller, the text boxes lower)."""
    runs = {}
    for y in range(view[1], screen.height):
        x = view[2]
        while x < screen.width:
            if screen.at(x, y) != WHITE:
                x += 1
                continue
            start = x
            while x < screen.width and screen.at(x, y) == WHITE:
                x += 1
            if x - start >= 80:
                runs.setdefault((start, x), []).append(y)
    for (x0, x1), ys in sorted(runs.items(), key=lambda item: item[1][0]):
        height = ys[-1] - ys[0] + 1
        if 40 <= height <= 80 and len(ys) == height:
            return x0, ys[0], x1, ys[-1] + 1
    raise SystemExit("no item list (a white box 40 to 80 pixels high) on the screen")


def xywh(box):
    return f"{box[0]} {box[1]} {box[2] - box[0]} {box[3] - box[1]}"


def count(screen, box, test):
    return sum(1 for y in range(box[1], box[3], 2) for x in range(box[0], box[2], 2)
               if test(screen.at(x, y)))


def main(argv):
    command = argv[1]
    screen = Screen(argv[2])
    if command == "png":
        screen.png(argv[3])
        return 0
    view = view3d(screen)
    if command == "views":
        print("map", xywh(room_map(screen, view)))
        print("view3d", xywh(view))
        print("itemlist", xywh(item_list(screen, view)))
        return 0
    if command == "check":
        pane = room_map(screen, view)
        total = ((pane[2] - pane[0]) // 2) * ((pane[3] - pane[1]) // 2)
        sectors = count(screen, pane, lambda p: p != BLACK)
        total3d = ((view[2] - view[0]) // 2) * ((view[3] - view[1]) // 2)
        room = count(screen, view, lambda p: p != BLUE)
        colours = len({screen.at(x, y) for y in range(view[1], view[3], 3)
                       for x in range(view[0], view[2], 3)})
        print(f"map {xywh(pane)}: {100 * sectors // max(total, 1)}% sector pixels; "
              f"3D view {xywh(view)}: {100 * room // max(total3d, 1)}% room pixels in "
              f"{colours} colours")
        faults = []
        if sectors < total // 20:
            faults.append("the map shows no sectors")
        if room < total3d // 20 or room > total3d * 19 // 20:
            faults.append("the 3D view shows no room on its background")
        if colours < 50:
            faults.append("the 3D view is not textured (too few colours)")
        for fault in faults:
            print(fault, file=sys.stderr)
        return 1 if faults else 0
    if command == "changed":
        other = Screen(argv[3])
        differing = sum(1 for y in range(view[1], view[3], 2) for x in range(view[0], view[2], 2)
                        if screen.at(x, y) != other.at(x, y))
        print(f"{differing} pixels of the 3D view differ")
        return 0 if differing > 100 else 1
    raise SystemExit(f"unknown command {command}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))

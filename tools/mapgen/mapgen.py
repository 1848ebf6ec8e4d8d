#!/usr/bin/env python3
"""Makes the channel-coded base map image MapData.png (960 x 970, 8-bit RGB).

Each pixel (x, y) shows the point of the composed intensity map's pixel (2x, 2y), taken back
through that map's Mercator frame to longitude and latitude. The pixel's channels code the
surface there:
  sea            B = 255 - depth / SEA_STEP,      limited to 4..255, 255 on every coastal pixel
  Japanese land  G = 255 - height / JAPAN_STEP,   limited to 2..255
  foreign land   R = 255 - height / FOREIGN_STEP, limited to 57..255
  prefecture border (over Japanese land): G as the land, R = 81..212, the line's weight
See README.md for the data packages and the command line."""

import argparse
import bisect
import math
import struct
import zlib
from collections import deque

import geodata

WIDTH, HEIGHT = 960, 970

SEA_STEP = 40.0      # metres of depth per step of B
JAPAN_STEP = 15.0    # metres of height per step of G
FOREIGN_STEP = 20.0  # metres of height per step of R
BORDER_MAX, BORDER_MIN = 212, 81
BORDER_CORE = 0.35   # map pixels from the line's centre that get the full weight
BORDER_REACH = 1.0   # map pixels from the line's centre where the weight ends

SEA, JAPAN, FOREIGN = 0, 1, 2
NEIGHBOURS = ('CN', 'KR', 'KP', 'TW', 'RU')
# The islands north-east of Hokkaido (Etorofu, Kunashiri, Shikotan, Habomai) are Japanese land
# on the agency's maps; the admin-1 data files them under Sakhalin.
NORTHERN_ISLANDS = (145.3, 43.2, 149.0, 45.65)

LON0, LAT0_RAD, LON_SCALE, ORD_SCALE = 135.57, 0.62308254225, 69.53149, -3992.879072
DEG = 0.0174532925
ORD0 = math.asinh(math.tan(LAT0_RAD))


def project(lon, lat):
    """Longitude and latitude to the composed map's continuous pixel position."""
    x = (lon - LON0) * LON_SCALE + 960.0
    y = (math.asinh(math.tan(lat * DEG)) - ORD0) * ORD_SCALE + 970.0 - 2
    return x, y


def unproject(cx, cy):
    """The composed map's pixel position to longitude and latitude."""
    lon = (cx - 960.0) / LON_SCALE + LON0
    lat = math.atan(math.sinh((cy + 2 - 970.0) / ORD_SCALE + ORD0)) / DEG
    return lon, lat


def in_box(box, lon, lat):
    return box[0] <= lon <= box[2] and box[1] <= lat <= box[3]


def rasterize(rings, label, value):
    """Even-odd fill of one polygon (its rings in composed-map coordinates), sampled at the
    composed points (2x, 2y)."""
    crossings = {}
    for ring in rings:
        for (x1, y1), (x2, y2) in zip(ring, ring[1:] + ring[:1]):
            if y1 == y2:
                continue
            lo, hi = (y1, y2) if y1 < y2 else (y2, y1)
            row = max(0, math.ceil(lo / 2))
            last = min(HEIGHT - 1, math.ceil(hi / 2) - 1)
            for y in range(row, last + 1):
                cy = 2 * y
                crossings.setdefault(y, []).append(x1 + (cy - y1) * (x2 - x1) / (y2 - y1))
    for y, xs in crossings.items():
        xs.sort()
        line = label[y]
        for a, b in zip(xs[0::2], xs[1::2]):
            for x in range(max(0, math.ceil(a / 2)), min(WIDTH, math.ceil(b / 2))):
                line[x] = value


def load_land(admin1_shp):
    """Labels every pixel sea, Japanese or foreign land from the admin-1 polygons."""
    rows = geodata.read_dbf(admin1_shp[:-4] + '.dbf')
    shapes = geodata.read_shp(admin1_shp)
    label = [[SEA] * WIDTH for _ in range(HEIGHT)]
    japan, foreign = [], []
    for row, parts in zip(rows, shapes):
        country = row['iso_a2']
        if country != 'JP' and country not in NEIGHBOURS:
            continue
        for part in parts:
            lon = sum(p[0] for p in part) / len(part)
            lat = sum(p[1] for p in part) / len(part)
            if not in_box((115, 18, 155, 52), lon, lat):
                continue
            ring = [project(*p) for p in part]
            if country == 'JP' or in_box(NORTHERN_ISLANDS, lon, lat):
                japan.append(ring)
            else:
                foreign.append(ring)
    for ring in foreign:
        rasterize([ring], label, FOREIGN)
    for ring in japan:
        rasterize([ring], label, JAPAN)
    return label


def apply_shoreline(label, mask_path, mask_box, mask_size):
    """Takes land and sea from a finer land mask (bytes, 1 = land, rows north to south);
    land the polygons miss (small islands) takes the country of the nearest labelled land."""
    cols, rows = mask_size
    with open(mask_path, 'rb') as f:
        mask = f.read()
    dlon = (mask_box[2] - mask_box[0]) / (cols - 1)
    dlat = (mask_box[3] - mask_box[1]) / (rows - 1)
    nearest = [row[:] for row in label]
    todo = deque()
    unknown = []
    for y in range(HEIGHT):
        for x in range(WIDTH):
            lon, lat = unproject(2 * x, 2 * y)
            i = round((mask_box[3] - lat) / dlat)
            j = round((lon - mask_box[0]) / dlon)
            land = mask[i * cols + j] != 0
            if label[y][x] != SEA:
                todo.append((x, y))
            if not land:
                label[y][x] = SEA
            elif label[y][x] == SEA:
                unknown.append((x, y))
    # breadth-first spread of the polygons' countries over the whole frame
    while todo:
        x, y = todo.popleft()
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < WIDTH and 0 <= ny < HEIGHT and nearest[ny][nx] == SEA:
                nearest[ny][nx] = nearest[y][x]
                todo.append((nx, ny))
    for x, y in unknown:
        label[y][x] = nearest[y][x]


class Relief:
    """Bilinear heights (metres, sea negative) from the ETOPO5 grid."""

    def __init__(self, path):
        nc = geodata.NetCDF(path)
        xs = nc.read('ETOPO05_X')
        ys = nc.read('ETOPO05_Y')
        self.dx = xs[1] - xs[0]
        self.dy = ys[1] - ys[0]
        self.j0 = bisect.bisect_left(xs, 118.0)
        self.i0 = bisect.bisect_left(ys, 20.0)
        j1 = bisect.bisect_left(xs, 153.0)
        i1 = bisect.bisect_left(ys, 50.0)
        self.x0, self.y0 = xs[self.j0], ys[self.i0]
        self.grid = nc.read('ROSE', (self.i0, self.j0), (i1 - self.i0, j1 - self.j0))

    def at(self, lon, lat):
        fx = (lon - self.x0) / self.dx
        fy = (lat - self.y0) / self.dy
        j, i = int(fx), int(fy)
        tx, ty = fx - j, fy - i
        g = self.grid
        top = g[i][j] * (1 - tx) + g[i][j + 1] * tx
        bottom = g[i + 1][j] * (1 - tx) + g[i + 1][j + 1] * tx
        return top * (1 - ty) + bottom * ty


def limit(v, lo, hi):
    return max(lo, min(hi, v))


def border_weights(lines_shp, label):
    """The weight R of every Japanese land pixel near a prefecture border line."""
    rows = geodata.read_dbf(lines_shp[:-4] + '.dbf')
    shapes = geodata.read_shp(lines_shp)
    dist = {}
    for row, parts in zip(rows, shapes):
        if row['adm0_a3'] != 'JPN':
            continue
        for part in parts:
            pts = [project(*p) for p in part]
            for (x1, y1), (x2, y2) in zip(pts, pts[1:]):
                # map pixels: the composed position halved
                ax, ay, bx, by = x1 / 2, y1 / 2, x2 / 2, y2 / 2
                vx, vy = bx - ax, by - ay
                length2 = vx * vx + vy * vy
                for y in range(math.floor(min(ay, by) - BORDER_REACH), math.ceil(max(ay, by) + BORDER_REACH) + 1):
                    for x in range(math.floor(min(ax, bx) - BORDER_REACH), math.ceil(max(ax, bx) + BORDER_REACH) + 1):
                        t = 0.0 if length2 == 0 else limit(((x - ax) * vx + (y - ay) * vy) / length2, 0.0, 1.0)
                        d = math.hypot(x - ax - t * vx, y - ay - t * vy)
                        if d < dist.get((x, y), BORDER_REACH):
                            dist[(x, y)] = d
    weights = {}
    for (x, y), d in dist.items():
        if 0 <= x < WIDTH and 0 <= y < HEIGHT and label[y][x] == JAPAN:
            w = 1.0 if d <= BORDER_CORE else (BORDER_REACH - d) / (BORDER_REACH - BORDER_CORE)
            weights[(x, y)] = round(BORDER_MIN + (BORDER_MAX - BORDER_MIN) * w)
    return weights


def code_pixels(label, relief, weights):
    pixels = []
    for y in range(HEIGHT):
        row = bytearray(3 * WIDTH)
        for x in range(WIDTH):
            lon, lat = unproject(2 * x, 2 * y)
            h = relief.at(lon, lat)
            kind = label[y][x]
            if kind == SEA:
                coast = any(0 <= nx < WIDTH and 0 <= ny < HEIGHT and label[ny][nx] != SEA
                            for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)))
                b = 255 if coast else limit(255 - round(max(0.0, -h) / SEA_STEP), 4, 255)
                rgb = (0, 0, b)
            elif kind == JAPAN:
                g = limit(255 - round(max(0.0, h) / JAPAN_STEP), 2, 255)
                rgb = (weights.get((x, y), 0), g, 0)
            else:
                rgb = (limit(255 - round(max(0.0, h) / FOREIGN_STEP), 57, 255), 0, 0)
            row[3 * x:3 * x + 3] = bytes(rgb)
        pixels.append(bytes(row))
    return pixels


def write_png(path, pixels):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + row for row in pixels)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n')
        f.write(chunk(b'IHDR', struct.pack('>IIBBBBB', WIDTH, HEIGHT, 8, 2, 0, 0, 0)))
        f.write(chunk(b'IDAT', zlib.compress(raw, 9)))
        f.write(chunk(b'IEND', b''))


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('--data', required=True, help='folder the data packages were unpacked into')
    p.add_argument('--landmask', help='land mask from gmt grdlandmask, bytes, rows north to south (see README.md)')
    p.add_argument('--landmask-box', default='118/153/20/50', help='W/E/S/N of the land mask')
    p.add_argument('--landmask-size', default='4201x3601', help='COLSxROWS of the land mask')
    p.add_argument('-o', '--output', required=True)
    args = p.parse_args()
    maps = args.data + '/usr/share/gnudatalanguage/resource/maps/high/'
    label = load_land(maps + 'ne_10m_admin_1_states_provinces.shp')
    if args.landmask:
        w, e, s, n = (float(v) for v in args.landmask_box.split('/'))
        cols, rows = (int(v) for v in args.landmask_size.split('x'))
        apply_shoreline(label, args.landmask, (w, s, e, n), (cols, rows))
    relief = Relief(args.data + '/usr/share/ferret-vis/data/etopo5.cdf')
    weights = border_weights(maps + 'ne_10m_admin_1_states_provinces_lines.shp', label)
    write_png(args.output, code_pixels(label, relief, weights))


if __name__ == '__main__':
    main()

"""Readers for the two data formats the map generator needs, standard library only:
ESRI shapefiles (.shp geometry + .dbf attributes) and classic netCDF (CDF-1/CDF-2)."""

import struct


def read_dbf(path):
    """Returns the attribute rows of a dBASE III file as a list of dicts of stripped text."""
    with open(path, 'rb') as f:
        data = f.read()
    count, header_len, record_len = struct.unpack('<xxxxIHH', data[:12])
    fields = []
    pos = 32
    while data[pos] != 0x0D:
        name = data[pos:pos + 11].split(b'\0', 1)[0].decode('ascii')
        length = data[pos + 16]
        fields.append((name, length))
        pos += 32
    rows = []
    for i in range(count):
        rec = data[header_len + i * record_len: header_len + (i + 1) * record_len]
        row, off = {}, 1  # the first byte is the deletion flag
        for name, length in fields:
            row[name] = rec[off:off + length].decode('utf-8', 'replace').strip()
            off += length
        rows.append(row)
    return rows


def read_shp(path):
    """Returns one list of parts per record; a part is a list of (lon, lat). Polygons and
    polylines both come out as their parts; null shapes as an empty list."""
    with open(path, 'rb') as f:
        data = f.read()
    shapes = []
    pos = 100
    while pos < len(data):
        _, content_len = struct.unpack('>ii', data[pos:pos + 8])
        body = data[pos + 8: pos + 8 + content_len * 2]
        pos += 8 + content_len * 2
        shape_type = struct.unpack('<i', body[:4])[0]
        if shape_type == 0:
            shapes.append([])
            continue
        if shape_type not in (3, 5, 13, 15, 23, 25):
            raise ValueError('unsupported shape type %d' % shape_type)
        num_parts, num_points = struct.unpack('<ii', body[36:44])
        starts = list(struct.unpack('<%di' % num_parts, body[44:44 + 4 * num_parts]))
        pts_off = 44 + 4 * num_parts
        coords = struct.unpack('<%dd' % (2 * num_points), body[pts_off:pts_off + 16 * num_points])
        starts.append(num_points)
        parts = []
        for a, b in zip(starts, starts[1:]):
            parts.append([(coords[2 * k], coords[2 * k + 1]) for k in range(a, b)])
        shapes.append(parts)
    return shapes


class NetCDF:
    """Classic netCDF file: dimensions, variables and reads of 2-D hyperslabs."""

    TYPES = {1: ('b', 1), 2: ('c', 1), 3: ('h', 2), 4: ('i', 4), 5: ('f', 4), 6: ('d', 8)}

    def __init__(self, path):
        self.f = open(path, 'rb')
        head = self.f.read(4)
        if head[:3] != b'CDF' or head[3] not in (1, 2):
            raise ValueError('not a classic netCDF file')
        self.offset_size = 4 if head[3] == 1 else 8
        self.f.seek(0)
        self.buf = self.f.read(1 << 20)
        self.pos = 4
        self.numrecs = self._int()
        self.dims = []
        self._read_list(0x0A, self._read_dim)
        self.gatts = self._read_atts()
        self.vars = {}
        self._read_list(0x0B, self._read_var)

    def _int(self):
        v = struct.unpack('>i', self.buf[self.pos:self.pos + 4])[0]
        self.pos += 4
        return v

    def _offset(self):
        fmt = '>i' if self.offset_size == 4 else '>q'
        v = struct.unpack(fmt, self.buf[self.pos:self.pos + self.offset_size])[0]
        self.pos += self.offset_size
        return v

    def _name(self):
        n = self._int()
        s = self.buf[self.pos:self.pos + n].decode('utf-8')
        self.pos += (n + 3) & ~3
        return s

    def _read_list(self, tag, reader):
        t = self._int()
        n = self._int()
        if t == 0:
            return
        if t != tag:
            raise ValueError('bad netCDF header')
        for _ in range(n):
            reader()

    def _read_dim(self):
        self.dims.append((self._name(), self._int()))

    def _read_atts(self):
        atts = {}

        def one():
            name = self._name()
            nc_type = self._int()
            n = self._int()
            code, size = self.TYPES[nc_type]
            raw = self.buf[self.pos:self.pos + n * size]
            self.pos += (n * size + 3) & ~3
            atts[name] = raw.decode('latin-1') if code == 'c' else struct.unpack('>%d%s' % (n, code), raw)
        self._read_list(0x0C, one)
        return atts

    def _read_var(self):
        name = self._name()
        ndims = self._int()
        dimids = [self._int() for _ in range(ndims)]
        atts = self._read_atts()
        nc_type = self._int()
        self._int()  # vsize
        begin = self._offset()
        self.vars[name] = {'dims': [self.dims[d] for d in dimids], 'atts': atts,
                           'type': self.TYPES[nc_type], 'begin': begin}

    def read(self, name, starts=None, counts=None):
        """Reads a (non-record) variable, or the hyperslab starts/counts of a 2-D one."""
        v = self.vars[name]
        code, size = v['type']
        shape = [d[1] for d in v['dims']]
        if starts is None:
            total = 1
            for s in shape:
                total *= s
            self.f.seek(v['begin'])
            return struct.unpack('>%d%s' % (total, code), self.f.read(total * size))
        rows, cols = counts
        out = []
        for r in range(rows):
            self.f.seek(v['begin'] + ((starts[0] + r) * shape[1] + starts[1]) * size)
            out.append(struct.unpack('>%d%s' % (cols, code), self.f.read(cols * size)))
        return out

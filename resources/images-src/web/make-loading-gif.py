# Writes the loading spinner as an animated GIF at 70, 105 and 140 px.
import math, struct, sys

ACCENT = (0x43, 0x81, 0xff)
LEVELS = 32

def palette():
    cols = []
    for i in range(LEVELS):
        t = i / (LEVELS - 1)
        cols.append(tuple(round(255 + (a - 255) * t) for a in ACCENT))
    while len(cols) < 64:
        cols.append((255, 255, 255))
    return cols

def frame(size, step, steps=12):
    px = bytearray(size * size)
    c = size / 2
    ring = size * 0.34
    dot = size * 0.075
    dots = []
    for k in range(steps):
        ang = 2 * math.pi * k / steps - math.pi / 2
        age = (step - k) % steps
        alpha = max(0.12, 1.0 - age / steps)
        r = dot * (0.65 + 0.35 * alpha)
        dots.append((c + ring * math.cos(ang), c + ring * math.sin(ang), r, alpha))
    ss = 4
    for y in range(size):
        for x in range(size):
            best = 0.0
            for (dx, dy, r, a) in dots:
                if abs(x + 0.5 - dx) > r + 1 or abs(y + 0.5 - dy) > r + 1:
                    continue
                cov = 0
                for sy in range(ss):
                    for sx in range(ss):
                        fx = x + (sx + 0.5) / ss - dx
                        fy = y + (sy + 0.5) / ss - dy
                        if fx * fx + fy * fy <= r * r:
                            cov += 1
                v = cov / (ss * ss) * a
                best = max(best, v)
            px[y * size + x] = round(best * (LEVELS - 1))
    return px

def lzw(data, min_size):
    clear = 1 << min_size
    eoi = clear + 1
    out = []
    bitbuf = 0
    bitcount = 0
    def emit(code, width):
        nonlocal bitbuf, bitcount
        bitbuf |= code << bitcount
        bitcount += width
        while bitcount >= 8:
            out.append(bitbuf & 0xff)
            bitbuf >>= 8
            bitcount -= 8
    table = {bytes([i]): i for i in range(clear)}
    nxt = eoi + 1
    width = min_size + 1
    emit(clear, width)
    w = b""
    for b in data:
        wc = w + bytes([b])
        if wc in table:
            w = wc
            continue
        emit(table[w], width)
        if nxt < 4096:
            table[wc] = nxt
            nxt += 1
            if nxt > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table = {bytes([i]): i for i in range(clear)}
            nxt = eoi + 1
            width = min_size + 1
        w = bytes([b])
    if w:
        emit(table[w], width)
    emit(eoi, width)
    if bitcount:
        out.append(bitbuf & 0xff)
    return bytes(out)

def write(path, size, steps=12, delay_cs=8):
    pal = palette()
    g = bytearray(b"GIF89a")
    g += struct.pack("<HHBBB", size, size, 0xF5, 0, 0)  # global table of 64
    for c in pal:
        g += bytes(c)
    g += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for s in range(steps):
        g += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x04, delay_cs, 0, 0)
        g += struct.pack("<BHHHHB", 0x2C, 0, 0, size, size, 0)
        data = lzw(frame(size, s, steps), 6)
        g += bytes([6])
        for i in range(0, len(data), 255):
            chunk = data[i:i + 255]
            g += bytes([len(chunk)]) + chunk
        g += b"\x00"
    g += b"\x3b"
    open(path, "wb").write(g)

out = sys.argv[1]
write(out + "/loading.gif", 70)
write(out + "/loading_1.5x.gif", 105)
write(out + "/loading_2x.gif", 140)

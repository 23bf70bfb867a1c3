#!/usr/bin/env python3
"""Checks a PNG written by png_zlib.cpp (see check_png_zlib.cpp): the signature, every chunk's
CRC, the header, and the rows behind their filter bytes, read back with Python's zlib."""
import struct
import sys
import zlib

data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "signature"
chunks, pos = [], 8
while pos < len(data):
    (length,) = struct.unpack(">I", data[pos:pos + 4])
    kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
    (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
    assert crc == zlib.crc32(kind + body), f"CRC of {kind}"
    chunks.append((kind, body))
    pos += 12 + length
assert [k for k, _ in chunks] == [b"IHDR", b"IDAT", b"IEND"], chunks
assert chunks[0][1] == struct.pack(">IIBBBBB", 3, 2, 8, 2, 0, 0, 0), "header"
rows = zlib.decompress(chunks[1][1])
expected = bytes([0] + [i * 7 for i in range(9)] + [0] + [i * 7 for i in range(15, 24)])
assert rows == expected, list(rows)
print("The zlib-only PNG writer's file reads back")

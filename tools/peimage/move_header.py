#!/usr/bin/env python3
"""Moves the PE header of a linked image to file offset 256.

The package format finds "MZ" at 0, "PE" at 256 and keeps the package length
in bytes 248 to 255 of the DOS area, which GNU ld fills with the header.
The header and section table move as one block; everything between the DOS
stub and offset 256 is zeroed; the image checksum is cleared (a setup gets a
package appended after linking, so no stored checksum could stay true).
"""
import struct
import sys

from pe import PeImage, PeError

TARGET = 256
DOS_STUB_END = 0x40  # the DOS header proper; the stub program may follow
TOTAL_LENGTH_SLOT = 248  # eight bytes the package builder fills


def move_header(path):
    data = bytearray(open(path, 'rb').read())
    image = PeImage(data)
    old = image.pe_offset
    length = image.headers_end - old
    new_end = TARGET + length
    limit = min(image.size_of_headers, image.first_raw_pointer())
    if new_end > limit:
        raise PeError('header block of %d bytes does not fit below %d' % (length, limit))
    if old < DOS_STUB_END:
        raise PeError('PE header at %d overlaps the DOS header' % old)
    block = bytes(data[old:image.headers_end])
    data[old:image.headers_end] = bytes(length)
    data[TARGET:new_end] = block
    data[TOTAL_LENGTH_SLOT:TARGET] = bytes(TARGET - TOTAL_LENGTH_SLOT)
    struct.pack_into('<I', data, 0x3C, TARGET)
    moved = PeImage(data)
    struct.pack_into('<I', data, moved.checksum_offset, 0)
    open(path, 'wb').write(data)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: move_header.py IMAGE')
    try:
        move_header(sys.argv[1])
    except (PeError, OSError, struct.error) as e:
        sys.exit('move_header: %s: %s' % (sys.argv[1], e))


if __name__ == '__main__':
    main()

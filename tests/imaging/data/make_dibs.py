#!/usr/bin/env python3
"""Writes the test bitmap resources: device-independent bitmaps without file
header, as the program's own bitmap resources are stored. Run it in this folder."""
import struct

def info_header(width, height, bits, colours_used):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, 0, 2835, 2835, colours_used, 0)

# "#101.dib": 4 x 2, 4 bits, a colour table of 3 (colours-used field), rows bottom-up.
red, green, blue = (0, 0, 255, 0), (0, 255, 0, 0), (255, 0, 0, 0)  # blue, green, red, reserved
table = bytes(red + green + blue)
bottom = bytes([0x01, 0x22, 0, 0])   # red, green, blue, blue (padded to 4 bytes)
top = bytes([0x00, 0x11, 0, 0])      # red, red, green, green
with open('#101.dib', 'wb') as f:
    f.write(info_header(4, 2, 4, 3) + table + bottom + top)

# "LOGO.dib": 8 x 2, 1 bit, 12-byte core header, 3-byte colour entries (black, white).
core = struct.pack('<IHHHH', 12, 8, 2, 1, 1)
with open('LOGO.dib', 'wb') as f:
    f.write(core + bytes([0, 0, 0, 255, 255, 255]) + bytes([0x0F, 0, 0, 0]) + bytes([0xF0, 0, 0, 0]))

# "TRUE.dib": 2 x 1, 24 bits: more than 256 colours, which resources may not have.
with open('TRUE.dib', 'wb') as f:
    f.write(info_header(2, 1, 24, 0) + bytes([255, 0, 0, 0, 0, 255, 0, 0]))

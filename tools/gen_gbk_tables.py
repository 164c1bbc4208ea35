#!/usr/bin/env python3
"""Writes src/data/gbk_tables.inc, the tables behind src/data/gbk_codec.cpp.

Run by hand when the mapping has to change; the output is committed:
    python3 tools/gen_gbk_tables.py [OUTPUT]

The mappings come from glibc's iconv (CP936 and GB18030) through ctypes.
Where glibc and Windows code page 936 disagree, Windows wins: the overrides
below are what MultiByteToWideChar(936) returns (checked for every code by
tests/unit/gbk_codec_win32_test.cpp under Wine).

The resulting codec is a bijection on Unicode scalar values: every character
has exactly one canonical byte sequence, and that sequence decodes back to it.
"""

import ctypes
import ctypes.util
import os
import struct
import sys

# --- glibc iconv ------------------------------------------------------------

_libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
_libc.iconv_open.restype = ctypes.c_void_p
_libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
_libc.iconv.restype = ctypes.c_size_t
_libc.iconv.argtypes = [ctypes.c_void_p,
                        ctypes.POINTER(ctypes.c_void_p), ctypes.POINTER(ctypes.c_size_t),
                        ctypes.POINTER(ctypes.c_void_p), ctypes.POINTER(ctypes.c_size_t)]
_libc.iconv_close.argtypes = [ctypes.c_void_p]
_ICONV_ERROR = ctypes.c_size_t(-1).value


class Iconv:
    def __init__(self, to_code, from_code):
        self.handle = _libc.iconv_open(to_code.encode(), from_code.encode())
        if self.handle is None or self.handle == _ICONV_ERROR:
            sys.exit(f"iconv_open({to_code}, {from_code}) failed")

    def __call__(self, data):
        """Converts all of data, or returns None when iconv rejects any of it."""
        _libc.iconv(self.handle, None, None, None, None)
        src = ctypes.create_string_buffer(bytes(data), len(data))
        dst = ctypes.create_string_buffer(len(data) * 4 + 16)
        src_ptr, src_left = ctypes.c_void_p(ctypes.addressof(src)), ctypes.c_size_t(len(data))
        dst_ptr, dst_left = ctypes.c_void_p(ctypes.addressof(dst)), ctypes.c_size_t(len(dst))
        if _libc.iconv(self.handle, ctypes.byref(src_ptr), ctypes.byref(src_left),
                       ctypes.byref(dst_ptr), ctypes.byref(dst_left)) == _ICONV_ERROR:
            return None
        if _libc.iconv(self.handle, None, None,
                       ctypes.byref(dst_ptr), ctypes.byref(dst_left)) == _ICONV_ERROR:
            return None
        return dst.raw[:len(dst) - dst_left.value]


def code_points(utf32):
    return None if utf32 is None else list(struct.unpack(f"<{len(utf32) // 4}I", utf32))


def single_char(utf32):
    cps = code_points(utf32)
    return cps[0] if cps is not None and len(cps) == 1 else None


# --- Windows code page 936 where glibc differs ------------------------------

# glibc's CP936 has no single-byte 0x80; Windows writes it for the euro sign.
# (Windows also writes 0xFF for U+F8F5, yet MultiByteToWideChar with
# MB_ERR_INVALID_CHARS rejects 0xFF, so 0xFF stays invalid and U+F8F5 takes
# its GB18030 four-byte form.)
WINDOWS_SINGLE_BYTES = {0x80: 0x20AC}

# glibc's CP936 leaves the user-defined areas and GBK's unassigned codes
# unmapped; Windows maps them all, like GB18030, to the Private Use Area.
# GB18030 (2005 and 2022) later gave the codes below real characters, but
# Windows 936 predates that and keeps the Private Use code points, so text
# written by Windows programs reads back as Windows wrote it.
# Runs of (first code, last code, first code point), stepping over trail 0x7F.
WINDOWS_TWO_BYTE_OVERRIDES = [
    (0xA2E3, 0xA2E3, 0xE76C),
    (0xA6D9, 0xA6DF, 0xE78D),
    (0xA6EC, 0xA6ED, 0xE794),
    (0xA6F3, 0xA6F3, 0xE796),
    (0xA8BC, 0xA8BC, 0xE7C7),
    (0xA8BF, 0xA8BF, 0xE7C8),
    (0xA989, 0xA995, 0xE7E7),
    (0xFE50, 0xFE7E, 0xE815),
    (0xFE80, 0xFEA0, 0xE844),
]

# --- code spaces ------------------------------------------------------------

LEADS = range(0x81, 0xFF)
TRAILS = [t for t in range(0x40, 0xFF) if t != 0x7F]
FOUR_BYTE_BMP_COUNT = 39420       # 0x81308130 .. 0x8431A439
SUPPLEMENTARY_BASE = 189000       # linear index of 0x90308130 (U+10000)


def four_byte(index):
    b4 = index % 10; index //= 10
    b3 = index % 126; index //= 126
    b2 = index % 10; b1 = index // 10
    return bytes([0x81 + b1, 0x30 + b2, 0x81 + b3, 0x30 + b4])


def is_scalar(cp):
    return cp < 0xD800 or 0xE000 <= cp <= 0x10FFFF


def override_map():
    result = {}
    for first, last, cp in WINDOWS_TWO_BYTE_OVERRIDES:
        code = first
        while code <= last:
            if code & 0xFF != 0x7F:
                result[code] = cp
                cp += 1
            code += 1
    return result


def build():
    cp936 = Iconv("UTF-32LE", "CP936")
    gb18030 = Iconv("UTF-32LE", "GB18030")
    to_gb18030 = Iconv("GB18030", "UTF-32LE")
    overrides = override_map()

    # Two-byte codes: the Windows override, else glibc's CP936, else its GB18030.
    two_byte = {}
    gb_two_byte = {}
    for lead in LEADS:
        for trail in TRAILS:
            code = lead << 8 | trail
            raw = bytes([lead, trail])
            gb_cp = single_char(gb18030(raw))
            if gb_cp is not None:
                gb_two_byte[code] = gb_cp
            cp = single_char(cp936(raw))
            if cp is not None and gb_cp is not None and cp != gb_cp:
                sys.exit(f"glibc CP936 and GB18030 disagree on {code:04X}")
            if code in overrides:
                cp = overrides[code]
            elif cp is None:
                cp = gb_cp
            if cp is not None:
                two_byte[code] = cp
    if len(two_byte) != len(LEADS) * len(TRAILS):
        sys.exit("some two-byte codes are unmapped")
    if any(cp > 0xFFFF or cp == 0xFFFD for cp in two_byte.values()):
        sys.exit("a two-byte code maps outside the BMP or to U+FFFD")

    encode = {cp: bytes([cp]) for cp in range(0x80)}
    for byte, cp in WINDOWS_SINGLE_BYTES.items():
        encode[cp] = bytes([byte])
    for code, cp in two_byte.items():
        if cp in encode:
            sys.exit(f"U+{cp:04X} has two short codes")
        encode[cp] = bytes([code >> 8, code & 0xFF])

    # Four-byte BMP codes: glibc's GB18030 where the character is not already
    # taken by a shorter code. Characters that lost their GB18030 two-byte
    # code to an override first take an undefined slot that the linear order
    # of GB18030 gives them (its 2005 code), else the slot of the Private
    # Use character that took their two-byte code.
    gb_four = [single_char(gb18030(four_byte(i))) for i in range(FOUR_BYTE_BMP_COUNT)]
    orphans = set()
    for code, gb_cp in gb_two_byte.items():
        if gb_cp <= 0xFFFF and gb_cp not in encode:
            orphans.add(gb_cp)
    slots = [None] * FOUR_BYTE_BMP_COUNT
    duplicates = {}  # slot -> character, decoded as GB18030 does but not canonical
    for index, cp in enumerate(gb_four):
        if cp is None:
            continue
        if cp in encode:
            duplicates[index] = cp
        else:
            slots[index] = cp
    last_cp, last_index = 0x7F, -1
    for index, cp in enumerate(gb_four):
        if cp is not None:
            last_cp, last_index = cp, index
        elif last_cp + index - last_index in orphans:
            slots[index] = last_cp + index - last_index
            orphans.discard(slots[index])
    partner_slot = {cp: i for i, cp in duplicates.items()}
    for code, gb_cp in gb_two_byte.items():
        if gb_cp in orphans:
            index = partner_slot.get(two_byte[code])
            if index is None:
                sys.exit(f"no four-byte slot for U+{gb_cp:04X}")
            slots[index] = gb_cp
            del duplicates[index]
            orphans.discard(gb_cp)
    if any(cp is None and i not in duplicates for i, cp in enumerate(slots)):
        sys.exit("undefined four-byte slots remain")
    for index, cp in enumerate(slots):
        if cp is not None:
            if cp in encode:
                sys.exit(f"U+{cp:04X} has two codes")
            encode[cp] = four_byte(index)

    # Every BMP scalar value now has exactly one code.
    missing = [cp for cp in range(0x10000) if is_scalar(cp) and cp not in encode]
    if missing:
        sys.exit("characters without a code: " + " ".join(f"U+{cp:04X}" for cp in missing[:20]))

    # The supplementary planes are algorithmic; check them against glibc, which
    # gives a few of them GB18030-2022 two-byte codes that Windows keeps for PUA.
    short_supplementary = {cp for cp in gb_two_byte.values() if cp > 0xFFFF}
    for plane_start in range(0x10000, 0x110000, 0x10000):
        cps = [cp for cp in range(plane_start, plane_start + 0x10000) if cp not in short_supplementary]
        expected = b"".join(four_byte(SUPPLEMENTARY_BASE + cp - 0x10000) for cp in cps)
        if to_gb18030(struct.pack(f"<{len(cps)}I", *cps)) != expected:
            sys.exit(f"glibc's GB18030 is not algorithmic in plane {plane_start >> 16}")

    # Decode every canonical code back.
    decode_four = {i: cp for i, cp in enumerate(slots) if cp is not None}
    decode_four.update(duplicates)
    for cp, seq in encode.items():
        if len(seq) == 1:
            back = WINDOWS_SINGLE_BYTES.get(seq[0], seq[0])
        elif len(seq) == 2:
            back = two_byte[seq[0] << 8 | seq[1]]
        else:
            b1, b2, b3, b4 = seq
            back = decode_four[(((b1 - 0x81) * 10 + b2 - 0x30) * 126 + b3 - 0x81) * 10 + b4 - 0x30]
        if back != cp:
            sys.exit(f"U+{cp:04X} does not round-trip")
    return two_byte, encode, slots, duplicates


# --- output -----------------------------------------------------------------

def runs(pairs):
    """(index, cp) pairs sorted by index -> [first index, first cp, length] runs."""
    result = []
    for index, cp in pairs:
        if result and result[-1][0] + result[-1][2] == index and result[-1][1] + result[-1][2] == cp:
            result[-1][2] += 1
        else:
            result.append([index, cp, 1])
    return result


def rows(values, per_line, indent="    "):
    lines = []
    for i in range(0, len(values), per_line):
        lines.append(indent + ", ".join(values[i:i + per_line]) + ",")
    return "\n".join(lines)


def write(path, two_byte, encode, slots, duplicates):
    out = []
    out.append("// Generated by tools/gen_gbk_tables.py from glibc's iconv (CP936, GB18030)")
    out.append("// with Windows code page 936 overrides. Do not edit; rerun the script.")
    out.append("")

    out.append("// Two-byte codes: [lead - 0x81][trail - 0x40]; trail 0x7F holds 0xFFFD.")
    out.append("// Every entry is canonical: the encoder inverts this table.")
    out.append(f"constexpr std::uint16_t kTwoByteToUnicode[{len(LEADS)}][191] = {{")
    for lead in LEADS:
        values = [f"0x{two_byte.get(lead << 8 | t, 0xFFFD):04X}" for t in range(0x40, 0xFF)]
        out.append(f"    {{  // {lead:02X}")
        out.append(rows(values, 12, "        "))
        out.append("    },")
    out.append("};")
    out.append("")

    decode_pairs = sorted([(i, cp) for i, cp in enumerate(slots) if cp is not None] + list(duplicates.items()))
    by_index = runs(decode_pairs)
    canonical = runs(sorted((i, cp) for i, cp in enumerate(slots) if cp is not None))
    by_code_point = sorted(canonical, key=lambda r: r[1])
    fmt = lambda r: f"{{{r[0]}, 0x{r[1]:04X}, {r[2]}}}"
    out.append("// Four-byte codes of the BMP (linear index from 0x81308130) in runs of")
    out.append("// consecutive indexes and code points. By index for decoding; the")
    out.append("// canonical runs by code point for encoding.")
    out.append(f"constexpr FourByteRun kFourByteByIndex[{len(by_index)}] = {{")
    out.append(rows([fmt(r) for r in by_index], 4))
    out.append("};")
    out.append(f"constexpr FourByteRun kFourByteByCodePoint[{len(by_code_point)}] = {{")
    out.append(rows([fmt(r) for r in by_code_point], 4))
    out.append("};")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(out) + "\n")
    print(f"{path}: {len(by_index)} decode runs, "
          f"{len(by_code_point)} encode runs, {len(duplicates)} non-canonical four-byte codes")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src", "data", "gbk_tables.inc")
    write(path, *build())


if __name__ == "__main__":
    main()

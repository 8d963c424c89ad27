#!/usr/bin/env python3
"""Lists the names a compiled help file (.chm) holds, from its own directory
(the ITSF header, the ITSP directory header and its PMGL listing chunks).
Exit status 1 with a message when the file is not such an archive.

    chm_listing.py FILE.chm             prints one name a line
    chm_listing.py FILE.chm --has DIR   checks that every page and style
                                        sheet of DIR is in the archive
"""
import struct
import sys
from pathlib import Path


class ENotArchive(Exception):
    pass


def encint(data, pos):
    """A variable-length integer: 7 bits a byte, most significant first."""
    value = 0
    while True:
        if pos >= len(data):
            raise ENotArchive("a directory entry runs past its chunk")
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def chm_names(data):
    if len(data) < 0x58 or data[:4] != b"ITSF":
        raise ENotArchive("no ITSF header")
    directory, directory_length = struct.unpack_from("<QQ", data, 0x48)
    if directory + 0x54 > len(data) or data[directory:directory + 4] != b"ITSP":
        raise ENotArchive("no ITSP directory header where the header points")
    header_length, = struct.unpack_from("<I", data, directory + 8)
    chunk_size, = struct.unpack_from("<I", data, directory + 0x10)
    first, last = struct.unpack_from("<ii", data, directory + 0x20)
    chunk_count, = struct.unpack_from("<I", data, directory + 0x2C)
    if chunk_size < 0x20 or first < 0 or last < first or last >= chunk_count:
        raise ENotArchive("a directory header out of bounds")
    if directory + header_length + chunk_count * chunk_size > len(data):
        raise ENotArchive("the directory runs past the end of the file")
    names = []
    chunk = first
    seen = set()
    while chunk != -1:
        if chunk in seen or not 0 <= chunk < chunk_count:
            raise ENotArchive("the listing chunks loop or leave the directory")
        seen.add(chunk)
        start = directory + header_length + chunk * chunk_size
        block = data[start:start + chunk_size]
        if block[:4] != b"PMGL":
            raise ENotArchive(f"chunk {chunk} is no listing chunk")
        free, _, _, following = struct.unpack_from("<IIii", block, 4)
        end = chunk_size - free
        pos = 0x14
        while pos < end:
            length, pos = encint(block, pos)
            name = block[pos:pos + length].decode("utf-8")
            pos += length
            _, pos = encint(block, pos)  # content section
            _, pos = encint(block, pos)  # offset
            _, pos = encint(block, pos)  # length
            names.append(name)
        chunk = following
    return names


def main(argv):
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--has"):
        print(__doc__, file=sys.stderr)
        return 2
    try:
        names = chm_names(Path(argv[1]).read_bytes())
    except (ENotArchive, struct.error, UnicodeDecodeError) as error:
        print(f"{argv[1]}: not a compiled help file: {error}")
        return 1
    if len(argv) == 2:
        print("\n".join(names))
        return 0
    held = {name.lower() for name in names}
    pages = sorted(p.name for p in Path(argv[3]).iterdir() if p.suffix.lower() in (".html", ".css"))
    missing = [page for page in pages if "/" + page.lower() not in held]
    for page in missing:
        print(f"{argv[1]} does not hold {page}")
    print(f"{len(names)} names in the archive; {len(pages) - len(missing)} of {len(pages)} pages found")
    return 1 if missing or not pages else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

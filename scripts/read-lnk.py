#!/usr/bin/env python3
"""Prints what a Windows shortcut (.lnk, the Shell Link binary format) holds, as JSON:
target (the link-info's local path), working_dir, arguments, icon, relative_path, name.
Used by scripts/test-windows-installer.sh to check the installer's Start-menu shortcuts
without starting anything."""
import json
import struct
import sys

HEADER_SIZE = 0x4C
LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")
HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH = 0x1, 0x2, 0x4, 0x8
HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON_LOCATION, IS_UNICODE = 0x10, 0x20, 0x40, 0x80


class LinkError(Exception):
    pass


def c_string(data, offset, wide):
    if wide:
        end = offset
        while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
            end += 2
        return data[offset:end].decode("utf-16-le")
    end = data.index(b"\0", offset)
    return data[offset:end].decode("cp1252", errors="replace")


def read_link(data):
    if len(data) < HEADER_SIZE or struct.unpack_from("<I", data, 0)[0] != HEADER_SIZE \
            or data[4:20] != LINK_CLSID:
        raise LinkError("not a shell link")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    pos = HEADER_SIZE
    result = {}
    if flags & HAS_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    if flags & HAS_LINK_INFO:
        info = data[pos:]
        size, header_size, info_flags, _volume, base, _network, suffix = struct.unpack_from("<7I", info, 0)
        if info_flags & 1:   # VolumeIDAndLocalBasePath
            if header_size >= 0x24:
                base_w, suffix_w = struct.unpack_from("<2I", info, 28)
                result["target"] = c_string(info, base_w, True) + c_string(info, suffix_w, True)
            else:
                result["target"] = c_string(info, base, False) + c_string(info, suffix, False)
        pos += size
    wide = bool(flags & IS_UNICODE)
    for flag, key in ((HAS_NAME, "name"), (HAS_RELATIVE_PATH, "relative_path"),
                      (HAS_WORKING_DIR, "working_dir"), (HAS_ARGUMENTS, "arguments"),
                      (HAS_ICON_LOCATION, "icon")):
        if flags & flag:
            count = struct.unpack_from("<H", data, pos)[0]
            pos += 2
            length = count * (2 if wide else 1)
            if pos + length > len(data):
                raise LinkError("string data runs past the end")
            raw = data[pos:pos + length]
            text = raw.decode("utf-16-le") if wide else raw.decode("cp1252", errors="replace")
            # Some writers (Wine's) count the terminating NUL too.
            result[key] = text.rstrip("\0")
            pos += length
    return result


def main():
    try:
        with open(sys.argv[1], "rb") as f:
            print(json.dumps(read_link(f.read()), ensure_ascii=False, sort_keys=True))
    except (OSError, LinkError, struct.error, ValueError) as e:
        print(f"{sys.argv[1]}: {e}", file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()

#!/usr/bin/env bash
# Pictures of the real tarnwk.exe under wine and Xvfb for the README: the
# Windows journey (tests/win32/windows_journey.sh) with a picture folder, its
# bitmaps turned into PNG files in docs/. Needs the Windows build with the
# desktop program: scripts/build-windows -DTARNWK_DESKTOP=ON.
# Usage: docs/take-screenshots-windows.sh [WINDOWS_BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
"$root/tests/win32/with-display.sh" "$root/tests/win32/windows_journey.sh" "$build/bin" "$pictures" || true
python3 - "$pictures" "$root/docs" <<'PY'
import glob, os, struct, sys, zlib

def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

for source in sorted(glob.glob(os.path.join(sys.argv[1], "*.bmp"))):
    data = open(source, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = b""
    for y in range(height):  # bottom-up, BGR
        row = data[offset + (height - 1 - y) * stride:][:width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]
        rows += b"\0" + bytes(rgb)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    target = os.path.join(sys.argv[2], os.path.basename(source)[:-4] + ".png")
    open(target, "wb").write(png)
    print(target)
PY

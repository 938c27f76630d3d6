#!/usr/bin/env python3
"""Reads a ZUVO MTT recording folder with nothing but Python's standard library.

    python3 read-recording.py FOLDER            # a summary
    python3 read-recording.py FOLDER --frames   # also one line per intact frame

The byte layout is described in docs/recording-format.md. A damaged frame is skipped: the
reader moves on to the next "ZFRM" whose frame checks out.
"""
import struct
import sys
import zlib
from pathlib import Path

HEADER = struct.Struct("<8sHHIId4sI")  # magic, version, header size, period, gates, resolution
FRAME = struct.Struct("<4sIIIHHB3x")   # sync, length, index, time, detections, objects, flags
ITEM = 40                              # five doubles, or an int64 id and four doubles


def read_file(path, frames):
    data = path.read_bytes()
    magic, version, size, period, gates, resolution, _, crc = HEADER.unpack_from(data)
    if magic != b"ZVRAWDAT" or zlib.crc32(data[:32]) != crc:
        raise ValueError(f"{path.name}: not a raw data file, or its header is damaged")
    if version != 1 or size != 36:
        raise ValueError(f"{path.name}: format version {version} is not supported")
    at, damaged, in_damage = size, 0, False
    while at < len(data):
        last = data.find(b"ZFRM", at + 1) < 0
        if at + 24 > len(data) and last and b"ZFRM".startswith(data[at:at + 4]):
            return period, damaged + 1  # the file ends inside its last frame
        if data[at:at + 4] == b"ZFRM" and at + 24 <= len(data):
            _, length, index, time_ms, dets, objs, flags = FRAME.unpack_from(data, at)
            end = at + 8 + length
            if length == 16 + ITEM * (dets + objs) and dets <= 1024 and objs <= 64:
                if end + 4 > len(data) and last:
                    return period, damaged + 1
                (stored,) = struct.unpack_from("<I", data, end) if end + 4 <= len(data) else (-1,)
                if zlib.crc32(data[at:end]) == stored:
                    detections = [struct.unpack_from("<5d", data, at + 24 + ITEM * i)
                                  for i in range(dets)]
                    slots = [struct.unpack_from("<q4d", data, at + 24 + ITEM * (dets + i))
                             for i in range(objs)]
                    frames.append((index, time_ms, flags, detections, slots))
                    at, in_damage = end + 4, False
                    continue
        if not in_damage:
            damaged, in_damage = damaged + 1, True
        found = data.find(b"ZFRM", at + 1)
        at = found if found >= 0 else len(data)
    return period, damaged


def main(argv):
    if len(argv) < 2 or not Path(argv[1], "FILE_Radar_Config.ini").is_file():
        print("usage: read-recording.py RECORDING_FOLDER [--frames]", file=sys.stderr)
        return 2
    frames, damaged, period = [], 0, 0
    for path in sorted(Path(argv[1]).glob("RawData_*.zrd")):
        period, bad = read_file(path, frames)
        damaged += bad
    print(f"frames {len(frames)} damaged {damaged} detections "
          f"{sum(len(f[3]) for f in frames)} sensor_objects {sum(len(f[4]) for f in frames)}")
    if frames:
        print(f"duration_ms {frames[-1][1] - frames[0][1] + period}")
    for index, time_ms, flags, detections, slots in frames if "--frames" in argv else []:
        print(f"frame {index} time_ms {time_ms} flags {flags} "
              f"detections {len(detections)} sensor_objects {len(slots)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

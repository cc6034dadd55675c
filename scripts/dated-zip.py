#!/usr/bin/env python3
"""Zips one folder so that the same files always give the same zip.

    scripts/dated-zip.py <zip> <parent> <folder> <seconds since 1970> [name...]

The zip holds <parent>/<folder> as <folder>/: the names given, in that order,
or without names every file and folder below it, sorted. Every entry is
dated with the time given (the packaged commit's): the DOS date in UTC and
the exact time in an extended time stamp field. The zip is written beside
its place and then moved there: a reader never sees half of it."""
import os
import struct
import sys
import time
import zipfile


def main():
    target, parent, folder, stamp, names = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5:]
    date = time.gmtime(stamp)[:6]
    extended_time = struct.pack('<HHBl', 0x5455, 5, 1, stamp)
    top = os.path.join(parent, folder)

    def entry(name, mode):
        info = zipfile.ZipInfo(name, date_time=date)
        info.create_system = 3
        info.external_attr = mode << 16
        info.extra = extended_time
        return info

    def directory(name):
        info = entry(name + '/', 0o40755)
        info.external_attr |= 0x10  # MS-DOS directory attribute
        return info

    if not names:
        for where, folders, files in os.walk(top):
            relative = os.path.relpath(where, top)
            for name in folders + files:
                path = os.path.normpath(os.path.join(relative, name)).replace(os.sep, '/')
                names.append(path + ('/' if name in folders else ''))
        names.sort()

    with zipfile.ZipFile(target + '.part', 'w') as z:
        z.writestr(directory(folder), b'')
        for name in names:
            if name.endswith('/'):
                z.writestr(directory(f'{folder}/{name[:-1]}'), b'')
                continue
            info = entry(f'{folder}/{name}', 0o100644)
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(top, name), 'rb') as f:
                z.writestr(info, f.read(), compresslevel=9)
    os.replace(target + '.part', target)


main()

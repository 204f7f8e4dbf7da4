#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes a zip whose bytes depend only on the files put in: the members in
the order given, each at the time SOURCE_DATE_EPOCH (UTC), with no extra
fields and no Unix attributes. Text files (.txt) get Windows' line ends, and
one with letters beyond ASCII a UTF-8 byte order mark, by which Notepad
knows its encoding. A NAME may lie in a folder, "brelix-0.1/brelix.exe";
a member "FOLDER/" without a file is that folder's own entry.

Usage: zip.py ZIP NAME=FILE|FOLDER/...
"""
import os
import sys
import time
import zipfile


def content(name, path):
    with open(path, "rb") as f:
        data = f.read()
    if name.endswith(".txt"):
        data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        if not data.isascii() and not data.startswith(b"\xef\xbb\xbf"):
            data.decode("utf-8")  # fails on a text that is not UTF-8
            data = b"\xef\xbb\xbf" + data
    return data


def main():
    # The zip format keeps local times from 1980 on, to two seconds.
    stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
    output = sys.argv[1]
    with zipfile.ZipFile(output + ".part", "w") as archive:
        for member in sys.argv[2:]:
            name, path = member.split("=", 1) if "=" in member else (member, None)
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 0  # MS-DOS: no Unix mode in the attributes
            if path is None:
                if not name.endswith("/"):
                    sys.exit(f"zip.py: {member}: neither NAME=FILE nor FOLDER/")
                info.external_attr = 0x10  # MS-DOS: a folder
                archive.writestr(info, b"")
                continue
            info.compress_type = zipfile.ZIP_DEFLATED
            # A plain file, archived. Not 0, which zipfile would turn into
            # the Unix mode 0600, which unzip gives the files: a web server
            # running as another user could not read them.
            info.external_attr = 0x20
            archive.writestr(info, content(name, path), compresslevel=9)
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main()

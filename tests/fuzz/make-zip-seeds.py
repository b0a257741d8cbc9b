#!/usr/bin/env python3
"""Writes the small ZIP archives of corpus/zip: the shapes the reader must
handle (stored and deflated members, data descriptors, ZIP64 fields, comments,
a leading stub, damage). Run from any folder; the output is deterministic."""
import io
import os
import zipfile

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "zip")
STAMP = (2001, 3, 2, 14, 3, 22)


class Unseekable(io.RawIOBase):
    """A stream zipfile cannot seek back in, so it writes data descriptors."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


def member(name, data, compress=zipfile.ZIP_STORED, comment=b"", extra=b""):
    info = zipfile.ZipInfo(name, STAMP)
    info.compress_type = compress
    info.comment = comment
    info.extra = extra
    return info, data


def archive(members, stream=None, zip64=False, comment=b""):
    out = stream if stream is not None else io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        z.comment = comment
        for info, data in members:
            with z.open(info, "w", force_zip64=zip64) as f:
                f.write(data)
    return bytes(out.data) if stream is not None else out.getvalue()


def streamed(members, zip64=False):
    return archive(members, Unseekable(), zip64)


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


os.makedirs(OUT, exist_ok=True)
plain = [member("a.txt", b"hello\n"), member("docs/readme.txt", b"read me\n")]
write("stored.zip", archive(plain))
write("deflated.zip", archive([member("docs/", b""),
                               member("docs/big.txt", b"abc" * 40, zipfile.ZIP_DEFLATED)]))
write("descriptor.zip", streamed(plain + [member("z.bin", b"\0" * 20, zipfile.ZIP_DEFLATED)]))
write("zip64.zip", archive(plain, zip64=True))
write("zip64-descriptor.zip", streamed(plain, zip64=True))
write("comments.zip", archive([member("c.txt", b"x", comment=b"member comment",
                                      extra=b"\x55\x54\x05\x00\x01\x00\x00\x00\x00")],
                              comment=b"archive comment"))
write("stub-before.zip", b"#!/bin/sh\nexit 0\n" + archive(plain))
write("empty.zip", archive([]))
write("names.zip", archive([member("\u00e9t\u00e9/caf\u00e9.txt", b"1"),
                            member("star*name?.txt", b"2"), member("sp ace,\"q\".txt", b"3")]))
whole = archive(plain)
write("truncated.zip", whole[: len(whole) * 2 // 3])
write("descriptor-truncated.zip", streamed(plain)[:-30])
write("not-a-zip.txt", b"PK\x03\x04 but nothing after\n")
# Names past the sizes where line lists change blocks (16 KB and 64 KB).
write("long-names.zip", archive([member("n" * 20000 + ".txt", b"x"),
                                 member("d/" + "\u00e9" * 32000 + ".txt", b"y")]))

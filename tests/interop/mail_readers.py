#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every header Velmora makes, read by parsers that no one here wrote:
Python's email package with its default policy for the Face headers, and
Debian's uncompface for the X-Face headers.

    mail_readers.py VELMORA WINDOW_HEADERS UNCOMPFACE

VELMORA is the built program (--header), WINDOW_HEADERS the program that
writes what the window's copy entries put on the clipboard."""

import base64
import email
import email.policy
import os
import random
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

VELMORA, WINDOW_HEADERS, UNCOMPFACE = sys.argv[1:4]

FACE_SIDE = 48
LARGEST_FACE_BYTES = 725
LONGEST_LINE = 998      # octets, RFC 5322 section 2.1.1
LONGEST_FOLDED = 78     # characters, the same section's recommendation


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def make_png(width, height, pixel, size=None):
    """An 8-bit RGBA PNG file; a comment chunk pads it to `size` bytes."""
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    header = png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    body = header + png_chunk(b"IDAT", zlib.compress(rows, 9))
    end = png_chunk(b"IEND", b"")
    signature = b"\x89PNG\r\n\x1a\n"
    if size is not None:
        padding = size - len(signature + body + end) - 12 - len(b"Comment\0")
        assert padding >= 0, "picture too large to pad"
        body += png_chunk(b"tEXt", b"Comment\0" + b"x" * padding)
    return signature + body + end


def pixel_size(png):
    return struct.unpack(">II", png[16:24])


def blocks(x, y):
    return (x // 10 * 60, y // 15 * 60, 128, 255)


NOISE = random.Random(23)
PICTURES = {
    "tiny": make_png(1, 1, lambda x, y: (200, 30, 30, 255)),
    "small": make_png(16, 16, blocks),
    "tall": make_png(40, 60, blocks),
    "largest": make_png(48, 48, lambda x, y: (0, 0, 0, 255) if (x // 8 + y // 8) % 2 else (255, 255, 255, 255),
                        size=LARGEST_FACE_BYTES),
    "photo": make_png(120, 90, lambda x, y: tuple(NOISE.randrange(256) for _ in range(3)) + (255,)),
}
FACES = ("tiny", "small", "tall", "largest")   # short enough to print without --fit


class Readers(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.paths = {}
        for name, png in PICTURES.items():
            cls.paths[name] = os.path.join(cls.folder.name, name + ".png")
            with open(cls.paths[name], "wb") as out:
                out.write(png)
        subprocess.run([WINDOW_HEADERS, cls.folder.name] + list(cls.paths.values()), check=True)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def copied(self, name, kind):
        with open(os.path.join(self.folder.name, f"{name}.{kind}.txt"), encoding="utf-8") as text:
            return text.read()

    def velmora(self, *arguments):
        return subprocess.run([VELMORA, "--header", *arguments], capture_output=True, check=False)

    def parsed(self, header):
        """The message that carries the header, as a mail reader parses it."""
        raw = ("From: anna@example.org\nTo: bert@example.org\nSubject: Face\n" + header.rstrip("\n") +
               "\n\nHallo\n").encode("utf-8")
        for line in raw.split(b"\n"):
            self.assertLessEqual(len(line), LONGEST_LINE)
        message = email.message_from_bytes(raw, policy=email.policy.default)
        self.assertEqual(message.defects, [])
        return message

    def face_of(self, header, folded):
        """The PNG file of a Face header, checked as a reader reads it."""
        if folded:
            for line in header.rstrip("\n").split("\n"):
                self.assertLessEqual(len(line), LONGEST_FOLDED, line)
        else:
            self.assertEqual(header.rstrip("\n").count("\n"), 0, "one line")
        faces = self.parsed(header).get_all("Face")
        self.assertEqual(len(faces), 1)
        self.assertEqual(faces[0].defects, ())
        return base64.b64decode("".join(str(faces[0]).split()), validate=True)

    def assert_fitted(self, png):
        self.assertLessEqual(len(png), LARGEST_FACE_BYTES)
        self.assertEqual(pixel_size(png), (FACE_SIDE, FACE_SIDE))

    def test_command_line_headers_carry_the_file_itself(self):
        for name in FACES:
            for options, folded in (((), False), (("--fold",), True)):
                with self.subTest(name=name, options=options):
                    run = self.velmora(*options, self.paths[name])
                    self.assertEqual(run.returncode, 0, run.stderr)
                    self.assertEqual(self.face_of(run.stdout.decode(), folded), PICTURES[name])
                    others = pixel_size(PICTURES[name]) != (FACE_SIDE, FACE_SIDE)
                    self.assertEqual(run.stderr != b"", others, run.stderr)

    def test_fit_gives_every_picture_as_48_by_48_in_at_most_725_bytes(self):
        for name in PICTURES:
            for options, folded in ((("--fit",), False), (("--fit", "--fold"), True)):
                with self.subTest(name=name, options=options):
                    run = self.velmora(*options, self.paths[name])
                    self.assertEqual(run.returncode, 0, run.stderr)
                    self.assertEqual(run.stderr, b"")
                    png = self.face_of(run.stdout.decode(), folded)
                    self.assert_fitted(png)
                    if name == "largest":
                        self.assertEqual(png, PICTURES[name], "a Face is printed as it is")

    def test_window_copies_carry_the_file_itself(self):
        for name in FACES:
            with self.subTest(name=name):
                self.assertEqual(self.face_of(self.copied(name, "face"), folded=False), PICTURES[name])
                self.assertEqual(self.face_of(self.copied(name, "folded"), folded=True), PICTURES[name])
                self.assert_fitted(self.face_of(self.copied(name, "fitted-face"), folded=False))

    def test_folded_headers_pass_a_mail_program_unchanged(self):
        # A program built on the email package writes the message again before
        # it sends it; a line over 78 characters would come out as encoded
        # words, which no reader decodes as a picture.
        for name in FACES:
            for kind in ("folded", "xface", "file-xface"):
                with self.subTest(name=name, kind=kind):
                    header = self.copied(name, kind)
                    written = self.parsed(header).as_bytes(policy=email.policy.SMTP).decode("ascii")
                    self.assertIn("\r\n" + header.replace("\n", "\r\n") + "\r\n", written)

    def test_uncompface_reads_every_copied_x_face_as_the_picture_shown(self):
        for name in FACES:
            for kind in ("xface", "file-xface"):
                with self.subTest(name=name, kind=kind):
                    headers = self.parsed(self.copied(name, kind)).get_all("X-Face")
                    self.assertEqual(len(headers), 1)
                    self.assertEqual(headers[0].defects, ())
                    run = subprocess.run([UNCOMPFACE], input=str(headers[0]).encode("ascii"),
                                         capture_output=True, check=False)
                    self.assertEqual(run.returncode, 0, run.stderr)
                    words = [int(word, 16) for word in re.findall(r"0x([0-9A-Fa-f]{4})", run.stdout.decode())]
                    self.assertEqual(len(words), FACE_SIDE * FACE_SIDE // 16)
                    rows = "".join(format(word, "016b") for word in words)
                    expected = self.copied(name, "xface-bits").replace("\n", "")
                    self.assertEqual(rows, expected)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)

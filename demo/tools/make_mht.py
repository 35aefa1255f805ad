#!/usr/bin/env python3
"""Packs HTML pages from tools/pages into single-file MHTML archives.

Each source page refers to its pictures as img/NAME, so it can be opened and
edited in a browser as it is.  In the archive the page becomes the first part
(text/html, UTF-8, quoted-printable) and every picture a base64 part with a
Content-ID; the page's img/NAME references are rewritten to cid: URLs.
"""
import base64
import quopri
import re
from email.header import Header
from pathlib import Path

HERE = Path(__file__).resolve().parent
PAGES = HERE / "pages"
COURSE = HERE.parent / "course"

# source page -> archive inside the course folder
TARGETS = {
    "zas.html": "zas.mht",
    "help.html": "help.mht",
    "urok2.html": "uroki/urok2.mht",
    "urok4.html": "uroki/urok4.mht",
    "urok6.html": "uroki/urok6.mht",
    "urok7.html": "uroki/urok7.mht",
}

TYPES = {".png": "image/png", ".jpg": "image/jpeg", ".jpeg": "image/jpeg"}
BOUNDARY = "----=_NextPart_000_0000_korvelta"
# A fixed date keeps rebuilt archives byte-identical.
DATE = "Mon, 02 Sep 2024 09:00:00 +0300"


def crlf(text: str) -> str:
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def pack(src: Path, dst: Path) -> None:
    html = src.read_text(encoding="utf-8")
    title = re.search(r"<title>(.*?)</title>", html, re.S).group(1).strip()
    names = list(dict.fromkeys(re.findall(r'src="img/([a-z0-9_.]+)"', html)))
    cids = {n: f"{n}@korvelta.demo" for n in names}
    html = re.sub(r'src="img/([a-z0-9_.]+)"', lambda m: f'src="cid:{cids[m.group(1)]}"', html)

    body = quopri.encodestring(html.encode("utf-8")).decode("ascii")
    subject = Header(title, "utf-8").encode()
    parts = [
        "From: <korvelta>",
        f"Subject: {subject}",
        f"Date: {DATE}",
        "MIME-Version: 1.0",
        "Content-Type: multipart/related;",
        '\ttype="text/html";',
        f'\tboundary="{BOUNDARY}"',
        "",
        "This is a multi-part message in MIME format.",
        "",
        f"--{BOUNDARY}",
        'Content-Type: text/html; charset="utf-8"',
        "Content-Transfer-Encoding: quoted-printable",
        f"Content-Location: file:///{src.stem}.htm",
        "",
        body.rstrip("\n"),
        "",
    ]
    for name in names:
        data = (PAGES / "img" / name).read_bytes()
        b64 = base64.encodebytes(data).decode("ascii").rstrip("\n")
        parts += [
            f"--{BOUNDARY}",
            f"Content-Type: {TYPES[Path(name).suffix]}",
            "Content-Transfer-Encoding: base64",
            f"Content-ID: <{cids[name]}>",
            f"Content-Location: file:///{name}",
            "",
            b64,
            "",
        ]
    parts += [f"--{BOUNDARY}--", ""]
    dst.parent.mkdir(parents=True, exist_ok=True)
    dst.write_bytes(crlf("\n".join(parts)).encode("ascii"))
    print(f"{dst.relative_to(COURSE)}: {len(names)} picture(s), {dst.stat().st_size} bytes")


def main() -> None:
    for src, dst in TARGETS.items():
        pack(PAGES / src, COURSE / dst)


if __name__ == "__main__":
    main()

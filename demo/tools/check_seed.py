#!/usr/bin/env python3
"""Checks that the demo course is consistent with seed.sql.

- every file named in the urok table exists under the course folder;
- every lesson title appears as a node in log.log, which must be windows-1251
  text with CR LF ends and TAB indentation;
- each test folder named by a lesson holds 1.htm .. N.htm and an answer key
  with one letter A..E per question.

Usage: check_seed.py [--course DIR] [--seed FILE] [--strict]
The practice program programmy/ohm-trainer is built from demo/practice and
copied in by the build, so a missing binary is only a note unless --strict
(use --strict on the built course copy).
"""
import argparse
import re
import sqlite3
import sys
from pathlib import Path, PureWindowsPath

HERE = Path(__file__).resolve().parent
FILE_COLUMNS = ("htm", "jpg", "avi", "test", "mid", "wav", "exe")
BUILT = {"programmy/ohm-trainer"}


def load_seed(seed: Path) -> sqlite3.Connection:
    db = sqlite3.connect(":memory:")
    db.executescript(seed.read_text(encoding="utf-8"))
    return db


def read_tree(log: Path, errors: list) -> list:
    raw = log.read_bytes()
    if raw.startswith(b"\xef\xbb\xbf"):
        errors.append("log.log: starts with a UTF-8 BOM")
    try:
        text = raw.decode("cp1251")
    except UnicodeDecodeError as e:
        errors.append(f"log.log: not windows-1251: {e}")
        return []
    if not text.endswith("\r\n") or text.replace("\r\n", "").count("\n") or text.replace("\r\n", "").count("\r"):
        errors.append("log.log: every line must end with CR LF")
    nodes, prev = [], -1
    for i, line in enumerate(text.split("\r\n")[:-1], start=1):
        node = line.lstrip("\t")
        level = len(line) - len(node)
        if not node or node != node.strip():
            errors.append(f"log.log:{i}: empty text or stray spaces: {line!r}")
        if level > prev + 1:
            errors.append(f"log.log:{i}: level jumps from {prev} to {level}")
        prev = level
        nodes.append(node)
    return nodes


def check_test(course: Path, rel: str, errors: list) -> None:
    folder = (course / rel).parent
    key_file = folder / "otwet.txt"
    if not key_file.is_file():
        errors.append(f"{folder.relative_to(course)}: no otwet.txt")
        return
    raw = key_file.read_bytes()
    lines = raw.split(b"\r\n")
    if lines[-1] == b"":
        lines.pop()
    else:
        errors.append(f"{key_file.relative_to(course)}: last line has no CR LF")
    bad = [i for i, l in enumerate(lines, 1) if not re.fullmatch(rb"[A-E]", l)]
    if bad:
        errors.append(f"{key_file.relative_to(course)}: lines {bad} are not a single letter A..E")
    pages = sorted(int(p.stem) for p in folder.glob("*.htm") if p.stem.isdigit())
    if pages != list(range(1, len(lines) + 1)):
        errors.append(f"{folder.relative_to(course)}: pages {pages[:1]}..{pages[-1:]} do not match {len(lines)} key lines")
    for n in pages:
        page = (folder / f"{n}.htm").read_text(encoding="utf-8")
        missing = [L for L in "ABCDE" if f"{L}) " not in page]
        if missing:
            errors.append(f"{folder.relative_to(course)}/{n}.htm: no answers {missing}")
    print(f"  {folder.relative_to(course)}: {len(lines)} questions")


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--course", type=Path, default=HERE.parent / "course")
    ap.add_argument("--seed", type=Path, default=HERE.parent / "seed.sql")
    ap.add_argument("--strict", action="store_true", help="built files must be present too")
    args = ap.parse_args()
    course = args.course.resolve()
    errors, notes = [], []

    db = load_seed(args.seed)
    rows = db.execute(f"SELECT urok, {', '.join(FILE_COLUMNS)} FROM urok").fetchall()
    nodes = read_tree(course / "log.log", errors)
    tests = set()
    for title, *files in rows:
        if title not in nodes:
            errors.append(f"lesson {title!r} is not a node of log.log")
        for column, value in zip(FILE_COLUMNS, files):
            if value is None or (column == "htm" and value == ""):
                continue
            if "/" in value:
                errors.append(f"{title}: {column} {value!r} must use backslashes")
            rel = PureWindowsPath(value).as_posix()
            if rel != rel.lower():
                errors.append(f"{title}: {column} {value!r} is not lowercase")
            if not (course / rel).is_file():
                if rel in BUILT and not args.strict:
                    notes.append(f"{title}: {rel} comes from the build")
                else:
                    errors.append(f"{title}: {column} file {rel} does not exist")
            if column == "test":
                tests.add(rel)
    for rel in sorted(tests):
        check_test(course, rel, errors)
    for extra in ("zas.mht", "help.mht"):
        if not (course / extra).is_file():
            errors.append(f"{extra} is missing")
    if db.execute("SELECT count(*) FROM pas").fetchone()[0] != 1:
        errors.append("pas must hold exactly one row")

    for n in notes:
        print("note:", n)
    for e in errors:
        print("error:", e)
    print(f"{len(rows)} lessons, {len(nodes)} tree nodes: {'OK' if not errors else f'{len(errors)} problem(s)'}")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())

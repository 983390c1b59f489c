#!/usr/bin/env python3
"""Checks Qt Linguist catalogs before they are built: each must be well-formed XML, and every
finished translation must keep its source's access key (the letter after "&", the same letter
in either case) and its "%1".."%9" arguments. Exits 1 with FILE:LINE messages otherwise."""
import re
import sys
import xml.etree.ElementTree as ET


def access_key(text):
    """The letter after a single "&" ("&&" is a literal ampersand), lower-cased, or None."""
    i = 0
    while i < len(text) - 1:
        if text[i] == "&":
            if text[i + 1] != "&":
                return text[i + 1].lower()
            i += 1
        i += 1
    return None


def arguments(text):
    return sorted(set(re.findall(r"%[1-9]", text)))


def line_of(raw, source):
    """The line of the catalog where source's text first appears (for the message)."""
    escaped = source.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    at = raw.find(escaped)
    return raw.count("\n", 0, at) + 1 if at >= 0 else 1


def check(path):
    with open(path, encoding="utf-8") as f:
        raw = f.read()
    try:
        root = ET.fromstring(raw.encode("utf-8"))
    except ET.ParseError as error:
        return [f"{path}:{error.position[0]}: malformed catalog: {error}"]
    if root.tag != "TS":
        return [f"{path}:1: not a Qt Linguist catalog (root element <{root.tag}>)"]
    problems = []
    for message in root.iter("message"):
        source = message.findtext("source") or ""
        translation = message.find("translation")
        if translation is None or translation.get("type") in ("unfinished", "obsolete", "vanished"):
            continue
        text = translation.text or ""
        if not text:
            continue
        where = f"{path}:{line_of(raw, source)}"
        if access_key(source) != access_key(text):
            problems.append(f'{where}: "{text}" must keep the access key '
                            f'"{access_key(source)}" of "{source}"')
        if arguments(source) != arguments(text):
            problems.append(f'{where}: "{text}" must keep the arguments {arguments(source)} of "{source}"')
    return problems


def main(paths):
    problems = [p for path in paths for p in check(path)]
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Writes the four translation files (*.ts) from texts.json.

The program's own texts (Simplified Chinese) are collected from the C++ sources listed in
SOURCES; every one of them must have an entry in texts.json with a translation for every
language in LANGUAGES. The .ts files are written in the order the texts appear in the sources,
in one context "Tavlin" (the context the program passes to QCoreApplication::translate).

    python3 res/translations/make_ts.py           # rewrite the .ts files
    python3 res/translations/make_ts.py --check   # exit 1 if a .ts file is missing or stale

A text without an entry is reported together with a ready-to-fill JSON entry; nothing is
written then.
"""

import json
import re
import sys
from pathlib import Path
from xml.sax.saxutils import escape

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
CONTEXT = "Tavlin"

# (file name, json key, language attribute of the .ts file)
LANGUAGES = [
    ("EnglishRes.ts", "en", "en"),
    ("FrenchRes.ts", "fr", "fr"),
    ("RussianRes.ts", "ru", "ru"),
    ("KazakhRes.ts", "kk", "kk"),
]

# C string literal, possibly split into adjacent pieces.
_LIT = r'"(?:[^"\\\n]|\\.)*"'
_LITS = rf"((?:{_LIT}\s*)+)"

# (source file relative to the repository root, pattern whose group 1 is the literal(s))
SOURCES = [
    # kTable entries: {101, "..."},
    ("src/base/StringTable.cpp", re.compile(rf"\{{\s*\d+\s*,\s*{_LITS}\}}")),
    # inline constexpr const char* kName = "...";
    ("src/ui/UiTexts.h", re.compile(rf"constexpr\s+const\s+char\s*\*\s*\w+\s*=\s*{_LITS};")),
]
# Each tool keeps its own texts in src/<folder>/*Texts.h, written as UiTexts.h is.
_TOOL_TEXTS = re.compile(rf"constexpr\s+const\s+char\s*\*\s*\w+\s*=\s*{_LITS};")
SOURCES += [
    (str(p.relative_to(ROOT)), _TOOL_TEXTS)
    for p in sorted((ROOT / "src").glob("*/*Texts.h"))
    if p.relative_to(ROOT).as_posix() != "src/ui/UiTexts.h"
]

_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", '"': '"', "'": "'", "\\": "\\", "?": "?"}


def _unescape(body):
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        nxt = body[i + 1]
        if nxt not in _ESCAPES:
            raise ValueError(f"unsupported escape \\{nxt} in {body!r}")
        out.append(_ESCAPES[nxt])
        i += 2
    return "".join(out)


def _literal_value(pieces):
    return "".join(_unescape(m[1:-1]) for m in re.findall(_LIT, pieces))


def collect_sources():
    """Every built-in text, in order of appearance, without repeats."""
    seen = []
    for rel, pattern in SOURCES:
        text = (ROOT / rel).read_text(encoding="utf-8")
        # Drop // comments so that commented-out entries are not picked up.
        text = re.sub(r"^\s*//.*$", "", text, flags=re.M)
        found = [_literal_value(m.group(1)) for m in pattern.finditer(text)]
        if not found:
            sys.exit(f"make_ts.py: no texts found in {rel}; has its layout changed?")
        for s in found:
            if s not in seen:
                seen.append(s)
    return seen


_PRINTF = re.compile(r"%(?:%|[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn])")


def _specs(s):
    return [m for m in _PRINTF.findall(s) if m != "%%"]


def check_entry(src, lang, tr):
    problems = []
    if not tr:
        problems.append("empty")
    if _specs(src) != _specs(tr):
        problems.append(f"printf conversions {_specs(tr)} differ from {_specs(src)}")
    if src.endswith("\n") != tr.endswith("\n"):
        problems.append("trailing line feed differs")
    return [f"[{lang}] {src!r}: {p}" for p in problems]


def ts_text(lang_attr, key, sources, catalog):
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        "<!DOCTYPE TS>",
        f'<TS version="2.1" language="{lang_attr}" sourcelanguage="zh_CN">',
        "<context>",
        f"    <name>{CONTEXT}</name>",
    ]
    for src in sources:
        tr = catalog[src][key]
        lines += [
            "    <message>",
            f"        <source>{escape(src)}</source>",
            f"        <translation>{escape(tr)}</translation>",
            "    </message>",
        ]
    lines += ["</context>", "</TS>", ""]
    return "\n".join(lines)


def main(argv):
    check_only = "--check" in argv
    # texts.json holds the window's and the string table's texts; each tool may keep its own
    # texts-<tool>.json beside it.
    entries = []
    for path in sorted(HERE.glob("texts*.json")):
        entries += json.loads(path.read_text(encoding="utf-8"))
    catalog = {}
    for e in entries:
        if e["zh"] in catalog and catalog[e["zh"]] != e:
            sys.exit(f"make_ts.py: the texts*.json files list {e['zh']!r} twice, translated differently")
        catalog[e["zh"]] = e

    sources = collect_sources()
    keys = [key for _, key, _ in LANGUAGES]
    missing = [s for s in sources if s not in catalog]
    problems = []
    for src in sources:
        if src not in catalog:
            continue
        for key in keys:
            if key not in catalog[src]:
                problems.append(f"[{key}] {src!r}: no translation")
            else:
                problems += check_entry(src, key, catalog[src][key])
    if missing:
        print("make_ts.py: texts without an entry in texts.json; add and translate:", file=sys.stderr)
        for s in missing:
            entry = {"zh": s, **{k: "" for k in keys}}
            print("  " + json.dumps(entry, ensure_ascii=False) + ",", file=sys.stderr)
    for p in problems:
        print("make_ts.py: " + p, file=sys.stderr)
    if missing or problems:
        return 1
    for s in catalog:
        if s not in sources:
            print(f"make_ts.py: note: texts.json entry {s!r} is no longer used", file=sys.stderr)

    stale = []
    for file_name, key, lang_attr in LANGUAGES:
        path = HERE / file_name
        content = ts_text(lang_attr, key, sources, catalog)
        old = path.read_text(encoding="utf-8") if path.exists() else None
        if old == content:
            continue
        if check_only:
            stale.append(file_name)
        else:
            path.write_text(content, encoding="utf-8")
            print(f"make_ts.py: wrote {path.relative_to(ROOT)}")
    if stale:
        print("make_ts.py: out of date (run res/translations/make_ts.py): " + ", ".join(stale),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

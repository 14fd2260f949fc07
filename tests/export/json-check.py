#!/usr/bin/env python3
"""Reads the exported awkward reports with independent, strict readers.

The reports are rebuilt here from the same recipes as in ReaderArtifactsTests.cpp. Texts are
kept as UTF-16 code-unit sequences (Python strings that may hold lone surrogates), so the
expected file content follows from them the way Windows converts: a valid pair becomes one
character, every unpaired surrogate becomes U+FFFD.
"""

import json
import re
import sys
from pathlib import Path

CONTROLS = "".join(chr(c) for c in range(0x20))
INT32_MIN, INT32_MAX = -(2**31), 2**31 - 1


def report(created="", load=(-1, -1, -1, -1), categories=(), hints=()):
    return {"created": created, "load": list(load), "categories": list(categories), "hints": list(hints)}


def controls_report():
    return report(
        created="07.12.2026 04:45:41",
        load=(INT32_MIN, 0, 100, INT32_MAX),
        categories=[
            ("Steuer" + CONTROLS, [
                (CONTROLS + "Titel", [(CONTROLS, CONTROLS), ('"Zitat"', '\\Pfad\\"'), ("Tab\tLabel", "Wert\x7f/"),
                                      ("Doppelt", "1"), ("Doppelt", "2")]),
                ("", []),
            ]),
            ("Leer", []),
        ],
        hints=[CONTROLS, '"', "\\", ""])


def unicode_report():
    return report(
        created="Prüfung äöüß ÄÖÜ · – €",
        categories=[
            ("Zeilen\u2028Trenner\u2029Absatz", [
                ("Emoji \ud83d\ude00 und Noten \ud834\udd1e", [
                    ("einsam hoch", "\ud800"),
                    ("einsam tief", "x\udc00y"),
                    ("zwei hohe", "\udbff\ud800"),
                    ("\udfff Ende", "verkehrt \ude00\ud83d"),
                    ("BOM mitten", "\ufeffa\uffff"),
                ]),
            ]),
        ],
        hints=["\u2028", "Größe – Wert · Einheit"])


def huge_report():
    records = [("Ü" * 100000, [("Wert", "ä\"\\\n\x01€\ud83d\ude00" * 125000), ("L" * 5000, "langes Label")])]
    for n in range(2000):
        records.append((f"Eintrag {n}", [(f"Feld {k}", f"Wert {n}.{k}") for k in range(10)]))
    return report(created="07.12.2026 04:45:41", categories=[("Groß", records)], hints=["\\" * 300000])


REPORTS = {"controls": controls_report, "unicode": unicode_report, "huge": huge_report, "empty": report}


def as_written(units):
    """What the UTF-16 units read back as after the UTF-8 conversion."""
    out = []
    i = 0
    while i < len(units):
        c = ord(units[i])
        if 0xD800 <= c <= 0xDBFF and i + 1 < len(units) and 0xDC00 <= ord(units[i + 1]) <= 0xDFFF:
            out.append(chr(0x10000 + ((c - 0xD800) << 10) + (ord(units[i + 1]) - 0xDC00)))
            i += 2
            continue
        out.append("\ufffd" if 0xD800 <= c <= 0xDFFF else units[i])
        i += 1
    return "".join(out)


def expected_json(rep, build_date):
    w = as_written
    return [
        ("application", "Velquist"),
        ("version", "1.4.1"),
        ("build_date", build_date),
        ("created", w(rep["created"])),
        ("read_only", True),
        ("load", list(zip(["cpu_percent", "memory_percent", "disk_percent", "gpu_percent"], rep["load"]))),
        ("sections", [[("name", w(name)),
                       ("records", [[("title", w(title)), ("fields", [(w(k), w(v)) for k, v in fields])]
                                    for title, fields in records])]
                      for name, records in rep["categories"]]),
        ("warnings", [w(h) for h in rep["hints"]]),
    ]


def field_line(label, value):
    # The column is counted in UTF-16 units, as the program counts it.
    head = label + ":"
    width = len(head.encode("utf-16-le", "surrogatepass")) // 2
    return head + " " * max(0, 38 - width) + value


def expected_text(rep, build_date):
    lines = ["VELQUIST – HARDWAREBERICHT", "Version: 1.4.1", "Kompiliert am: " + build_date,
             "Erstellt: " + rep["created"], ""]
    for name, records in rep["categories"]:
        lines += ["=" * 80, name, "=" * 80]
        if not records:
            lines += ["Keine Daten von Windows gemeldet.", ""]
        for title, fields in records:
            lines += ["", "[" + title + "]"]
            lines += [field_line(k, v) for k, v in fields]
        lines.append("")
    if rep["hints"]:
        lines.append("DIAGNOSEHINWEISE")
        lines += ["- " + h for h in rep["hints"]]
    return as_written("".join(line + "\n" for line in lines))


def reject_constant(name):
    raise ValueError(f"non-standard constant {name}")


def check_json(path, rep):
    raw = path.read_bytes()
    if raw.startswith(b"\xef\xbb\xbf"):
        raise ValueError("JSON file starts with a byte order mark")
    if not raw.endswith(b"}\n"):
        raise ValueError("JSON file does not end in '}' and LF")
    # Strict UTF-8, strict JSON: raw control characters in strings are rejected; duplicate keys kept.
    doc = json.loads(raw.decode("utf-8", errors="strict"), strict=True,
                     object_pairs_hook=list, parse_constant=reject_constant)
    build_date = dict(doc).get("build_date", "")
    if not re.fullmatch(r"\d\d\.\d\d\.\d{4}", build_date):
        raise ValueError(f"build_date {build_date!r}")
    if dict(doc)["read_only"] is not True:
        raise ValueError("read_only is not the literal true")
    expected = expected_json(rep, build_date)
    if doc != expected:
        for (key, got), (_, want) in zip(doc, expected):
            if got != want:
                raise ValueError(f"content of {key!r} differs from what was put in")
        raise ValueError("document keys differ")
    return build_date


def check_text(path, rep, build_date):
    raw = path.read_bytes()
    if not raw.startswith(b"\xef\xbb\xbf"):
        raise ValueError("text file lacks the byte order mark")
    text = raw[3:].decode("utf-8", errors="strict")
    want = expected_text(rep, build_date)
    if text != want:
        at = next((i for i, (a, b) in enumerate(zip(text, want)) if a != b), min(len(text), len(want)))
        raise ValueError(f"text differs at character {at}: {text[at:at + 40]!r} vs {want[at:at + 40]!r}")


def main():
    folder = Path(sys.argv[1])
    failures = 0
    for name, build in REPORTS.items():
        rep = build()
        json_path = folder / f"awkward-{name}.json"
        text_path = folder / f"awkward-{name}.txt"
        try:
            build_date = check_json(json_path, rep)
            print(f"ok   {json_path.name}")
            check_text(text_path, rep, build_date)
            print(f"ok   {text_path.name}")
        except Exception as error:  # every failure is reported per file
            failures += 1
            print(f"FAIL awkward-{name}: {error}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

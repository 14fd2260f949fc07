#!/usr/bin/env python3
"""Reads the PDFs that the export tests write under Wine with independent readers.

Every PDF must pass `qpdf --check` and `pdfinfo`. For a PDF with a NAME.expect list beside it,
pdfinfo must report the listed page count and pdftotext must find every listed text. The
multi-page report is rendered to PNG (pdf-long-page-N.png) and kept beside it.
"""

import re
import shutil
import subprocess
import sys
from pathlib import Path

REQUIRED = ("pdf-small", "pdf-awkward", "pdf-long")
RENDERED = "pdf-long"


def run(args):
    return subprocess.run(args, capture_output=True, timeout=120)


def normalised(text):
    return re.sub(r"\s+", " ", text).strip()


def check_pdf(pdf, failures):
    qpdf = run(["qpdf", "--check", str(pdf)])
    if qpdf.returncode != 0:
        failures.append(f"{pdf.name}: qpdf --check exited {qpdf.returncode}:\n{qpdf.stdout.decode(errors='replace')}"
                        f"{qpdf.stderr.decode(errors='replace')}")

    info = run(["pdfinfo", str(pdf)])
    info_text = info.stdout.decode(errors="replace")
    if info.returncode != 0 or info.stderr:
        failures.append(f"{pdf.name}: pdfinfo exited {info.returncode}: {info.stderr.decode(errors='replace')}")
        return
    pages = re.search(r"^Pages:\s+(\d+)$", info_text, re.M)
    size = re.search(r"^Page size:\s+595 x 842 pts", info_text, re.M)
    if not pages or not size:
        failures.append(f"{pdf.name}: pdfinfo shows no A4 page count:\n{info_text}")
        return

    expect = pdf.with_suffix(".expect")
    if not expect.exists():
        return
    lines = expect.read_text(encoding="utf-8").split("\n")
    wanted_pages = int(lines[0].split()[1])
    if int(pages.group(1)) != wanted_pages:
        failures.append(f"{pdf.name}: pdfinfo counts {pages.group(1)} pages, the report drew {wanted_pages}")

    extracted = run(["pdftotext", "-raw", "-enc", "UTF-8", str(pdf), "-"])
    if extracted.returncode != 0 or extracted.stderr:
        failures.append(f"{pdf.name}: pdftotext exited {extracted.returncode}: "
                        f"{extracted.stderr.decode(errors='replace')}")
        return
    text = normalised(extracted.stdout.decode("utf-8"))
    missing = [line for line in lines[1:] if normalised(line) and normalised(line) not in text]
    if missing:
        failures.append(f"{pdf.name}: pdftotext does not find {missing[:10]} ({len(missing)} missing)")


def render(pdf, failures):
    for old in pdf.parent.glob(f"{RENDERED}-page-*.png"):
        old.unlink()
    rendered = run(["pdftoppm", "-png", "-r", "72", str(pdf), str(pdf.parent / f"{RENDERED}-page")])
    pngs = sorted(pdf.parent.glob(f"{RENDERED}-page-*.png"))
    if rendered.returncode != 0 or rendered.stderr or not pngs:
        failures.append(f"{pdf.name}: pdftoppm exited {rendered.returncode}: "
                        f"{rendered.stderr.decode(errors='replace')}")
        return
    for png in pngs:
        if png.read_bytes()[:8] != b"\x89PNG\r\n\x1a\n":
            failures.append(f"{png.name}: not a PNG")
    print(f"rendered {len(pngs)} pages of {pdf.name} to {pngs[0].parent}")


def main():
    folder = Path(sys.argv[1])
    tools = [tool for tool in ("qpdf", "pdfinfo", "pdftotext", "pdftoppm") if not shutil.which(tool)]
    if tools:
        print(f"missing readers: {', '.join(tools)} (install qpdf and poppler-utils)")
        return 1
    failures = []
    for name in REQUIRED:
        if not (folder / f"{name}.pdf").exists():
            failures.append(f"{name}.pdf was not written to {folder}")
    pdfs = sorted(folder.glob("*.pdf"))
    for pdf in pdfs:
        check_pdf(pdf, failures)
    if (folder / f"{RENDERED}.pdf").exists():
        render(folder / f"{RENDERED}.pdf", failures)
    for failure in failures:
        print(failure)
    print(f"{len(pdfs)} PDFs read, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Builds the spectrum library data/ms_spec_sample.tra from the peak tables.

Input, a folder with
  spectra.csv  one row per peak: substance,formula,source_id,license,mz,rel_abundance
  README.md    its table of substances and records (instrument, ionisation
               energy, record authors) and the MassBank release they come from.

Output, the library in the format the simulation reads: lines ended by CR LF;
for every substance

  /NAME
  <substance> (by courtesy of <source, record, authors, licence>)
  <formula and how the spectrum was taken>
  <where the record can be seen>
  <number of lines and mass range>
     12.0   3.46   14.0   1.70 ...       pairs of 7-character columns:
  /PHYSP                                 mass, abundance in % of the base peak

The reader compares every line of the file with the chosen name, so the
library is checked the way the reader will see it before it is written: each
substance must be found at its own name line, every column must read back as
the number it holds, and the credit must be short enough to be cut off whole.

Usage: make_spectrum_library.py --source DIR [--output FILE] [--check]
Standard library only (Python 3.9 or later).
"""

import argparse
import csv
import decimal
import os
import re
import sys
from collections import OrderedDict

PAIRS_PER_LINE = 5
COLUMN = 7
MAX_PAIRS = 500      # the reader keeps at most this many pairs of a record
CREDIT_CUT = 255     # the reader removes this many characters from "(by courtesy" on
LINE_END = "\r\n"

# Substances of the data folder that do not go into the teaching library, and why.
LEFT_OUT = {
    "Acetylsalicylic acid":
        "its only underivatised record shows an unusual pattern (strong m/z 28, 42, 44, "
        "molecular ion at 0.03 %) that may be decomposition or background",
}


class DataError(Exception):
    pass


def read_readme(path):
    """The MassBank release and, per accession, the README's table row."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    release = re.search(r"release \*\*([0-9.]+)\*\*, commit `([0-9a-f]+)`", text)
    rows = {}
    header = None
    for line in text.splitlines():
        if not line.startswith("|"):
            if rows:
                break  # the end of the table
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if header is None:
            if "MassBank accession" in cells and "Record authors" in cells:
                header = cells
            continue
        if set(line) <= set("|-: "):
            continue
        if len(cells) != len(header):
            raise DataError("README table row with %d cells, expected %d: %s" % (len(cells), len(header), line))
        row = dict(zip(header, cells))
        rows[row["MassBank accession"]] = row
    if not rows:
        raise DataError("README.md has no table of substances and records")
    return (release.group(1), release.group(2)) if release else None, rows


def read_spectra(path):
    """Substances in file order, each with its facts and (mz, abundance) texts."""
    substances = OrderedDict()
    with open(path, encoding="utf-8", newline="") as f:
        reader = csv.DictReader(f)
        expected = ["substance", "formula", "source_id", "license", "mz", "rel_abundance"]
        if reader.fieldnames != expected:
            raise DataError("spectra.csv columns are %s, expected %s" % (reader.fieldnames, expected))
        last = None
        for n, row in enumerate(reader, start=2):
            name = row["substance"].strip()
            if name in substances and name != last:
                raise DataError("spectra.csv line %d: the peaks of %s are not together" % (n, name))
            last = name
            entry = substances.setdefault(name, {
                "formula": row["formula"].strip(),
                "source": row["source_id"].strip(),
                "license": row["license"].strip(),
                "peaks": [],
            })
            for key, field in (("formula", "formula"), ("source", "source_id"), ("license", "license")):
                if entry[key] != row[field].strip():
                    raise DataError("spectra.csv line %d: %s of %s differs from its first line" % (n, field, name))
            try:
                mz = decimal.Decimal(row["mz"].strip())
                abundance = decimal.Decimal(row["rel_abundance"].strip())
            except decimal.InvalidOperation:
                raise DataError("spectra.csv line %d: m/z or abundance is not a number" % n)
            if not (mz > 0 and 0 < abundance <= 100):
                raise DataError("spectra.csv line %d: m/z %s, abundance %s out of range" % (n, mz, abundance))
            entry["peaks"].append((mz, abundance))
    for name, entry in substances.items():
        masses = [mz for mz, _ in entry["peaks"]]
        if len(set(masses)) != len(masses):
            raise DataError("%s lists a mass twice" % name)
        entry["peaks"].sort()
    return substances


def number_text(value, min_decimals):
    """The value with all its decimals, but at least min_decimals."""
    exponent = value.as_tuple().exponent
    decimals = max(min_decimals, -exponent if exponent < 0 else 0)
    text = "{:.{}f}".format(value, decimals)
    if decimal.Decimal(text) != value or len(text) > COLUMN - 1:
        raise DataError("%s does not fit a column of %d characters" % (value, COLUMN))
    return text.rjust(COLUMN)


def record_lines(name, entry, readme_rows):
    """The lines of one record, without line ends."""
    peaks = entry["peaks"]
    if not peaks or len(peaks) > MAX_PAIRS:
        raise DataError("%s has %d peaks; a record holds 1 to %d" % (name, len(peaks), MAX_PAIRS))
    source = entry["source"]
    if source.startswith("MSBNK-"):
        row = readme_rows.get(source)
        if row is None:
            raise DataError("record %s of %s is not in the README table" % (source, name))
        if row["Substance"] != name or row["Licence"] != entry["license"]:
            raise DataError("README and spectra.csv disagree about %s (%s)" % (source, name))
        credit = "(by courtesy of MassBank, record %s, original data %s; licence %s)" % (
            source, row["Record authors"].rstrip("."), entry["license"])
        energy = row["Ionisation energy"]
        energy = "energy not stated" if energy == "not stated" else energy
        how = "%s, electron ionisation (%s), %s" % (entry["formula"], energy, row["Instrument (type)"])
        where = "Record: https://massbank.eu/MassBank/RecordDisplay?id=%s" % source
    else:
        credit = "(by courtesy of %s; %s)" % (source, entry["license"])
        how = "%s, natural isotopic composition of the element (singly charged atomic ions)" % entry["formula"]
        where = "Abundance of each isotope relative to the most abundant one"
    lo, hi = peaks[0][0], peaks[-1][0]
    about = "%d lines, m/z %s to %s; columns: mass, abundance in %% of the base peak" % (len(peaks), lo, hi)

    lines = ["/NAME", "%s %s" % (name, credit), how, where, about]
    for start in range(0, len(peaks), PAIRS_PER_LINE):
        lines.append("".join(number_text(mz, 1) + number_text(ab, 2) for mz, ab in peaks[start:start + PAIRS_PER_LINE]))
    lines.append("/PHYSP")
    return lines


def header_lines(release, left_out):
    lines = [
        "Ionpath spectrum library: electron-ionisation mass spectra for the sector-field simulation.",
        "Made by tools/make_spectrum_library.py from the peak tables (spectra.csv); regenerate it rather than edit it.",
        "Records: the name line with its credit, three lines of notes, then pairs of 7-character columns",
        "(mass, abundance in % of the base peak), up to the end line. Peaks below 0.5 % of the base peak",
        "are not listed in the molecular spectra.",
    ]
    if release:
        lines.append("Molecular spectra: MassBank (massbank.eu), MassBank-data release %s, commit %s." % release)
    else:
        lines.append("Molecular spectra: MassBank (massbank.eu).")
    lines += [
        "Licence: the MassBank records are CC BY-NC-SA, caffeine (MSBNK-RIKEN-PR010011) CC BY-SA; this file",
        "is therefore shared under CC BY-NC-SA: attribution, no commercial use, share alike. Each record",
        "names its accession and original authors. The element spectra are natural isotopic compositions",
        "(IUPAC/CIAAW and peer-reviewed measurements), cited in their records.",
    ]
    for name, why in left_out:
        lines.append("Left out: %s, because %s." % (name, why))
    return lines


# The reader's view of a line -----------------------------------------------

def lower_az(text):
    return "".join(chr(ord(c) + 32) if "A" <= c <= "Z" else c for c in text)


def compared_form(line):
    """The line as the reader compares it with a chosen name."""
    cut = line.find("(by courtesy")
    if cut >= 0:
        line = line[:cut] + line[cut + CREDIT_CUT:]
    return lower_az(line.strip(" "))


def listed_name(name_line):
    by = name_line.find("(by")
    return name_line[:by - 1].strip(" ") if by >= 1 else ""


def check_library(lines, names):
    """Fails unless the reader lists exactly `names` and finds each at its own record."""
    listed, name_lines = [], []
    i = 0
    while i < len(lines):
        if lower_az(lines[i][:5]) == "/name":
            if i + 1 >= len(lines):
                raise DataError("a marker line ends the file")
            listed.append(listed_name(lines[i + 1]))
            name_lines.append(i + 1)
            i += 2
        else:
            i += 1
    if listed != names:
        raise DataError("the reader would list %s" % listed)
    first_match = {}
    for n, line in enumerate(lines):
        first_match.setdefault(compared_form(line), n)
    for name, line_no in zip(names, name_lines):
        if first_match.get(lower_az(name)) != line_no:
            raise DataError("%s would be loaded from line %d, not from its record" %
                            (name, first_match.get(lower_az(name), -1) + 1))
        credit = lines[line_no].find("(by courtesy")
        if credit < 0 or len(lines[line_no]) - credit > CREDIT_CUT:
            raise DataError("the credit of %s is missing or longer than %d characters" % (name, CREDIT_CUT))
    if len(set(lower_az(n) for n in names)) != len(names):
        raise DataError("two substances share a name")
    for line in lines:
        if any(ord(c) < 32 or ord(c) > 126 for c in line):
            raise DataError("line is not printable ASCII: %r" % line)


def build(source_dir):
    release, readme_rows = read_readme(os.path.join(source_dir, "README.md"))
    substances = read_spectra(os.path.join(source_dir, "spectra.csv"))
    for name in LEFT_OUT:
        if name not in substances:
            raise DataError("%s is to be left out but is not in the data" % name)
    kept = [(n, e) for n, e in substances.items() if n not in LEFT_OUT]
    lines = header_lines(release, [(n, LEFT_OUT[n]) for n in substances if n in LEFT_OUT])
    for name, entry in kept:
        lines.append("")
        lines.extend(record_lines(name, entry, readme_rows))
    check_library(lines, [n for n, _ in kept])
    return (LINE_END.join(lines) + LINE_END).encode("ascii"), len(kept)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="folder with spectra.csv and README.md")
    parser.add_argument("--output", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                         "..", "data", "ms_spec_sample.tra"))
    parser.add_argument("--check", action="store_true", help="only compare with the existing output")
    args = parser.parse_args()
    try:
        content, count = build(args.source)
    except (DataError, OSError) as e:
        print("make_spectrum_library: %s" % e, file=sys.stderr)
        return 1
    if args.check:
        try:
            with open(args.output, "rb") as f:
                same = f.read() == content
        except OSError:
            same = False
        print("%s is %s" % (args.output, "up to date" if same else "out of date"))
        return 0 if same else 1
    with open(args.output, "wb") as f:
        f.write(content)
    print("wrote %s: %d substances, %d bytes" % (args.output, count, len(content)))
    return 0


if __name__ == "__main__":
    sys.exit(main())

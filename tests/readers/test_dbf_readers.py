"""dbfread and LibreOffice read the demo's dBASE table and see the source rows.

Runs `$KVPUBLIC demo <tmpdir>`, reads the sample database it made with
sqlite3 and the table it wrote (orders.dbf with its orders.dbt memo file)
with dbfread (GBK) and with LibreOffice (dBASE import, GBK, converted to CSV).
Checks: field names F0, F1, ... in the order of the source columns; types and
widths after the export's rules; every value equal to the source row's text
(dates as yyyymmdd, Booleans as logical values, memo texts from the .dbt).
Then bad input: a clear message on stderr, exit code 1, no crash, no file.
"""
import csv
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile

import dbfread

KVPUBLIC = os.environ["KVPUBLIC"]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(args):
    return subprocess.run([KVPUBLIC] + args, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          start_new_session=True, timeout=600)


def declared(decl):
    """('VARCHAR', 12) from 'VARCHAR(12)'."""
    decl = decl.upper()
    if "(" not in decl:
        return decl.strip(), 0
    base, rest = decl.split("(", 1)
    return base.strip(), int(rest.split(",")[0].rstrip(")"))


def expected_field(decl, values):
    """The table field (type, width) the export makes for a source column."""
    base, size = declared(decl)
    if base in ("INTEGER", "SMALLINT"):
        return "C", 11
    if base == "BIGINT":
        return "C", 20
    if base in ("DECIMAL", "MONEY", "REAL"):
        return "C", 20
    if base == "DATE":
        return "C", 12
    if base == "DATETIME":
        return "C", 19
    if base == "BOOLEAN":
        return "L", 1
    if base == "MEMO":
        return "M", 10
    texts = [v for v in values if v is not None]
    if base == "VARCHAR":  # size in bytes of GBK, at least the declared size; one more for the field
        width = max([size] + [len(v.encode("gbk")) for v in texts]) + 1
    elif base == "NVARCHAR":  # twice the size in characters
        width = 2 * max([size] + [len(v) for v in texts])
    else:
        raise AssertionError("no rule for " + decl)
    return ("M", 10) if width > 254 else ("C", width)


def float_text(value):
    """The class library's FloatToStr for the plain (non-exponent) values of the sample."""
    text = "%.15g" % value
    if "e" in text:
        mantissa, exponent = text.split("e")
        text = mantissa + "E" + str(int(exponent))
    return text


def expected_text(decl, value):
    """The text the export writes for a source value (None: a logical field)."""
    base, _ = declared(decl)
    if value is None:
        return ""
    if base in ("INTEGER", "SMALLINT", "BIGINT"):
        return str(value)
    if base in ("DECIMAL", "MONEY", "REAL"):
        return float_text(value)
    if base == "DATE":
        return value.replace("-", "")
    if base == "DATETIME":
        return value[:10] if value.endswith(" 00:00:00") else value
    return value


def main():
    tmp = tempfile.mkdtemp(prefix="kv_dbf_readers_")
    try:
        demo = run(["demo", tmp])
        if not check(demo.returncode == 0, "demo failed: %d %s" % (demo.returncode, demo.stderr)):
            return
        con = sqlite3.connect(os.path.join(tmp, "shop.db"))
        columns = [(c[1], c[2]) for c in con.execute("pragma table_info(orders)")]
        rows = con.execute("select * from orders order by rowid").fetchall()
        con.close()
        fields = [expected_field(decl, [r[i] for r in rows]) for i, (_, decl) in enumerate(columns)]
        check_dbfread(tmp, columns, rows, fields)
        check_libreoffice(tmp, columns, rows, fields)
        check_bad_input(tmp)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


def check_dbfread(tmp, columns, rows, fields):
    table = dbfread.DBF(os.path.join(tmp, "orders.dbf"), encoding="gbk", char_decode_errors="strict")
    with open(os.path.join(tmp, "orders.dbf"), "rb") as f:
        check(f.read(1) == b"\x83", "the table is not marked as having a memo file")
    got = [(f.name, f.type, f.length) for f in table.fields]
    want = [("F%d" % i, t, w) for i, (t, w) in enumerate(fields)]
    check(got == want, "dbfread fields %r, expected %r" % (got, want))
    records = list(table)
    check(len(records) == len(rows), "dbfread: %d records, expected %d" % (len(records), len(rows)))
    bad = 0
    memo_blocks = 0
    for number, (record, row) in enumerate(zip(records, rows), 1):
        for i, (name, decl) in enumerate(columns):
            value = record["F%d" % i]
            if fields[i][0] == "L":
                want_value = None if row[i] is None else bool(row[i])
            else:
                want_value = expected_text(decl, row[i])
                value = "" if value is None else value
            if fields[i][0] == "M" and row[i] is not None and len(row[i].encode("gbk")) > 510:
                memo_blocks += 1
            if value != want_value:
                bad += 1
                if bad <= 5:
                    failures.append("dbfread row %d %s (%s): %r, expected %r" % (number, name, decl, value, want_value))
    check(bad == 0, "dbfread: %d values differ from the source" % bad)
    check(memo_blocks > 0, "the sample has no memo text longer than one block")


def check_libreoffice(tmp, columns, rows, fields):
    out = os.path.join(tmp, "lo")
    profile = "file://" + os.path.join(tmp, "lo-profile")
    result = subprocess.run(
        ["soffice", "-env:UserInstallation=" + profile, "--headless", "--infilter=dBase:67", "--convert-to",
         "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false", "--outdir", out,
         os.path.join(tmp, "orders.dbf")],
        stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=600)
    converted = os.path.join(out, "orders.csv")
    # LibreOffice exits 0 even when it could not load the file: its output tells.
    if not check(os.path.exists(converted), "LibreOffice wrote no CSV: %s %s" % (result.stdout, result.stderr)):
        return
    with open(converted, encoding="utf-8", newline="") as f:
        table = list(csv.reader(f))
    header = [cell.split(",") for cell in table[0]]
    for i, (kind, width) in enumerate(fields):
        want = ["F%d" % i, kind] + ([str(width)] if kind == "C" else [])
        check(header[i] == want, "LibreOffice header %r, expected %r" % (header[i], want))
    check(len(table) - 1 == len(rows), "LibreOffice: %d rows, expected %d" % (len(table) - 1, len(rows)))
    bad = 0
    for number, (line, row) in enumerate(zip(table[1:], rows), 1):
        for i, (name, decl) in enumerate(columns):
            value = line[i]
            if fields[i][0] == "L":
                want = "" if row[i] is None else ("TRUE" if row[i] else "FALSE")
            else:
                want = expected_text(decl, row[i]).replace("\r\n", "\n")
                value = value.replace("\r\n", "\n").rstrip(" ")
            if value != want:
                bad += 1
                if bad <= 5:
                    failures.append("LibreOffice row %d %s (%s): %r, expected %r" % (number, name, decl, value, want))
    check(bad == 0, "LibreOffice: %d values differ from the source" % bad)


def check_bad_input(tmp):
    not_db = os.path.join(tmp, "notes.db")
    with open(not_db, "w") as f:
        f.write("just a text file, not a database\n" * 20)
    ragged = os.path.join(tmp, "ragged.csv")
    with open(ragged, "w", encoding="utf-8") as f:
        f.write("id,name\n1,张三\n2\n")
    shop = os.path.join(tmp, "shop.db")
    cases = [
        (["--db", os.path.join(tmp, "missing.db"), "--table", "orders"], "does not exist"),
        (["--db", not_db, "--table", "orders"], "is not an SQLite database"),
        (["--db", shop, "--query", "select nonsense from orders"], "no such column: nonsense"),
        (["--db", shop, "--query", "select * from"], "incomplete input"),
        (["--db", shop, "--table", "no_such_table"], "no such table"),
        (["--csv", ragged], "line 3: 1 value, but the header names 2 columns"),
    ]
    for args, message in cases:
        target = os.path.join(tmp, "bad.dbf")
        result = run(["export"] + args + ["--format", "dbf", "--output", target, "--yes"])
        check(result.returncode == 1, "%r: exit code %d, expected 1" % (args, result.returncode))
        check(result.stderr.startswith("kvpublic: ") and message in result.stderr,
              "%r: message %r lacks %r" % (args, result.stderr, message))
        check(not os.path.exists(target), "%r: a file was written" % (args,))
    missing_folder = os.path.join(tmp, "no", "such", "folder", "orders.dbf")
    result = run(["export", "--db", shop, "--table", "orders", "--format", "dbf", "--output", missing_folder])
    check(result.returncode == 1 and "Cannot create file" in result.stderr,
          "missing output folder: exit %d, %r" % (result.returncode, result.stderr))


main()
if failures:
    print("\n".join(failures))
    sys.exit(1)
print("dbfread and LibreOffice read the demo table as written")

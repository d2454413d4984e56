"""Shared pieces of the demo reader tests (test_demo_*.py): running
`kvpublic demo` into a folder with a Chinese name and a space, the sample
data read back with sqlite3 and the texts the grid shows for it, tables of
pages read as rows of cells, bitmaps and screenshots."""
import os
import re
import shutil
import sqlite3
import struct
import subprocess
import tempfile
from collections import OrderedDict

from browser_support import render_page

KVPUBLIC = os.environ["KVPUBLIC"]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def expect(label, got, want):
    return check(got == want, f"{label}: got {got!r}, expected {want!r}")


def run(args, cwd=None):
    return subprocess.run([KVPUBLIC] + args, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          start_new_session=True, timeout=900, cwd=cwd)


def run_demo(prefix):
    """Runs the demo into a new folder "<tmp>/演示 输出"; returns (folder, stdout lines), or None on failure."""
    folder = os.path.join(tempfile.mkdtemp(prefix=prefix), "演示 输出")
    result = run(["demo", folder])
    if not check(result.returncode == 0, f"demo failed: {result.returncode} {result.stderr}"):
        return None
    return folder, result.stdout.splitlines()


def remove_demo(folder):
    """Removes the temporary folder that run_demo made (screenshots live elsewhere)."""
    shutil.rmtree(os.path.dirname(folder), ignore_errors=True)


def report(done_message):
    for f in failures[:200]:
        print(f)
    if failures:
        print(f"{len(failures)} problems")
        return 1
    print(done_message)
    return 0


# ---------------------------------------------------------------- the sample data

def cents(value):
    return int(round(value * 100))


def money(amount_cents):
    """The currency display format of the demo's layouts: ￥ (full width), thousands, two decimals."""
    sign = "-" if amount_cents < 0 else ""
    whole, frac = divmod(abs(amount_cents), 100)
    return f"{sign}￥{whole:,}.{frac:02d}"


class Sample:
    """The rows of the sample database, read with sqlite3."""

    def __init__(self, folder):
        con = sqlite3.connect(os.path.join(folder, "shop.db"))
        con.row_factory = sqlite3.Row
        self.orders = con.execute("SELECT * FROM orders ORDER BY id").fetchall()
        self.products = {r["id"]: r for r in con.execute("SELECT * FROM products")}
        self.lines = OrderedDict()
        for r in con.execute("SELECT * FROM order_lines ORDER BY order_no, line_no"):
            self.lines.setdefault(r["order_no"], []).append(r)
        self.recent = con.execute("SELECT * FROM recent_orders").fetchall()
        con.close()

    def cities(self):
        """The orders grouped by city; groups in code-point order of the city, orders in id order within."""
        groups = OrderedDict()
        for city in sorted({o["city"] for o in self.orders}):
            groups[city] = [o for o in self.orders if o["city"] == city]
        return groups


# ---------------------------------------------------------------- pages

def table_rows(table, empty):
    """The rows of a page table below its width row: per row the cells as dicts with
    "text" (the cell's own text, line breaks as "\\n", `empty` and blanks as ""),
    "imgs" (the src of its img elements), "table" (a nested table or None), "colspan"."""
    rows = table.xpath("./tr | ./tbody/tr")[1:]
    result = []
    for tr in rows:
        cells = []
        for td in tr.xpath("./td"):
            parts = [td.text or ""]
            nested = None
            for child in td:
                if child.tag == "table":
                    nested = child
                elif child.tag == "br":
                    parts.append("\n")
                else:
                    parts.append(child.text_content())
                parts.append(child.tail or "")
            text = "".join(parts).replace("&nbsp", "").replace("\xa0", "").strip("\r\n")
            if text == empty:
                text = ""
            cells.append({"text": text, "imgs": [i.get("src") for i in td.xpath("./img")], "table": nested,
                          "colspan": int(td.get("colspan") or 1)})
        result.append(cells)
    return result


def texts(row):
    """The non-empty texts of a row of cells."""
    return [c["text"] for c in row if c["text"] != ""]


def words(line):
    """The cell texts of a padded text line (cells end in at least two blanks)."""
    return [w for w in re.split(r" {2,}", line) if w != ""]


# ---------------------------------------------------------------- pictures

def bmp_pixels(data):
    """(width, height, rows of (r, g, b) from the top) of an uncompressed 24-bit BMP."""
    assert data[:2] == b"BM", "not a BMP file"
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    assert bits == 24 and compression == 0, f"{bits}-bit BMP, compression {compression}"
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        line = abs(height) - 1 - y if height > 0 else y
        base = offset + line * stride
        rows.append([tuple(reversed(data[base + 3 * x:base + 3 * x + 3])) for x in range(width)])
    return width, abs(height), rows


def screenshot(label, url, folder):
    """Renders url with headless Chromium into folder/label.png; returns (path, colour counts) or None."""
    if not shutil.which("chromium"):
        print(f"NOTICE: chromium is not installed; the screenshot of {label} was skipped")
        return None
    os.makedirs(folder, exist_ok=True)
    shot = os.path.join(folder, label + ".png")
    width, height, counts = render_page(url, shot, "1280,900", 300)
    white = counts.get((255, 255, 255), 0)
    check(white < 0.97 * width * height and len(counts) >= 8,
          f"{label}: the screenshot is blank ({len(counts)} colours, {white} of {width * height} pixels white)")
    print(f"{label}: screenshot {shot}")
    return shot, counts


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def screenshot_folder():
    return os.environ.get("KV_SCREENSHOT_DIR") or tempfile.mkdtemp(prefix="kv_demo_shots_")

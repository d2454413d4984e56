"""The demo's files, judged by independent readers.

Runs `$KVPUBLIC demo` into a folder with a Chinese name and a space, reads
the sample database it made with sqlite3 and computes from it what the
banded orders layout (orders.layout.json: bands "订单" and "商品与金额",
grouped by city, group and footer summaries, styles) must show.  Then:
- stdout names every file the demo wrote, one line each, and nothing else
  lies in the folder; the layout files are JSON, and `kvpublic export` with
  them writes the same workbook and text file as the demo did;
- orders.xls with xlrd: band headers merged over their columns, bold band
  and header fonts with their fills, group rows with their summaries, data
  rows with native numbers, dates and currency, the footer sums; LibreOffice
  converts it to CSV with the same groups, rows and sums;
- orders.txt decoded strictly as GBK: the same rows as padded columns;
- orders.html with lxml and orders.xml transformed by xsltproc with the
  written orders.xsl: the same rows as table cells;
- headless Chromium screenshots of orders.html and the transformed
  document: not blank, the band header colour shows (saved in
  $KV_SCREENSHOT_DIR when set).
"""
import csv
import datetime
import json
import os
import re
import subprocess
import sys

import lxml.html
import xlrd
from lxml import etree

from demo_support import (Sample, cents, check, expect, hex_rgb, money, remove_demo, report, run, run_demo, screenshot,
                          screenshot_folder, table_rows, texts, words)

STDOUT_LINE = re.compile(r"kvpublic: (?:sample database (?P<db>.+?) \(.*\)|layout (?P<layout>.+)|"
                         r"wrote (?P<wrote>.+) \((?P<records>\d+) records\)|memo texts in (?P<memo>.+)|"
                         r"stylesheet (?P<xsl>.+)|pictures in (?P<pictures>.+) \((?P<count>\d+) files\))$")


# ---------------------------------------------------------------- what the layout shows

class OrdersView:
    """The rows of the orders layout as texts: band captions, column captions,
    per city a group row and its orders, the footer."""

    def __init__(self, layout, sample):
        self.layout = layout
        self.sample = sample
        columns = layout["columns"]
        self.grouped = [c for c in columns if c.get("groupIndex", -1) >= 0]
        self.shown = [c for c in columns if c.get("groupIndex", -1) < 0 and c.get("visible", True)]
        self.captions = [c["caption"] for c in self.shown]
        self.bands = [b["caption"] for b in layout["bands"]]
        expect("the demo groups by one column", [c["field"] for c in self.grouped], ["city"])

    def cell_text(self, order, column):
        value = order[column["field"]]
        if column.get("editor", {}).get("kind") == "currency":
            return money(cents(value))
        return str(value)

    def data_row(self, order):
        return [self.cell_text(order, c) for c in self.shown]

    def group_text(self, city, orders):
        amount = money(sum(cents(o["amount"]) for o in orders))
        return f"城市 : {city} ({len(orders)} 笔, 小计 {amount})"

    def footer(self):
        orders = self.sample.orders
        return [f"共 {len(orders)} 笔", str(sum(o["qty"] for o in orders)),
                "合计 " + money(sum(cents(o["amount"]) for o in orders))]

    def rows(self):
        """Every row's non-empty texts, top to bottom ("-" is the expanded group row's button)."""
        result = [self.bands, self.captions]
        for city, orders in self.sample.cities().items():
            result.append(["-", self.group_text(city, orders)])
            result.extend(self.data_row(o) for o in orders)
        result.append(self.footer())
        return result


# ---------------------------------------------------------------- stdout and files

def check_stdout(folder, lines):
    named = set()
    pictures = {}
    for line in lines:
        m = STDOUT_LINE.match(line)
        if not check(m is not None, f"stdout: unexpected line {line!r}"):
            continue
        path = next(v for k, v in m.groupdict().items() if v and k not in ("records", "count"))
        check(os.path.dirname(path) == folder, f"stdout: {path} is not in the demo folder")
        check(os.path.exists(path), f"stdout names {path}, which does not exist")
        name = os.path.basename(path)
        check(name not in named, f"stdout names {name} twice")
        named.add(name)
        if m.group("pictures"):
            pictures[name] = int(m.group("count"))
    want = {"shop.db", "orders.layout.json", "order-lines.layout.json", "orders.dbf", "orders.dbt", "orders.xls",
            "orders.txt", "orders.html", "orders.xml", "orders.xsl", "order-lines.html", "order-lines.xml",
            "order-lines.xsl", "order-lines.images"}
    expect("files named on stdout", named, want)
    expect("files in the demo folder", set(os.listdir(folder)), want)
    images = os.path.join(folder, "order-lines.images")
    if "order-lines.images" in pictures:
        expect("pictures counted on stdout", pictures["order-lines.images"], len(os.listdir(images)))


def check_layout_files(folder):
    """The layout files are JSON, and a user's export with them gives the demo's files."""
    layouts = {}
    for name in ("orders.layout.json", "order-lines.layout.json"):
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            layouts[name] = json.load(f)
    shop = os.path.join(folder, "shop.db")
    for fmt in ("txt", "xls"):
        # Same name, other folder: the workbook names its sheet after the file.
        os.makedirs(os.path.join(folder, "..", "by-hand"), exist_ok=True)
        target = os.path.join(folder, "..", "by-hand", "orders." + fmt)
        result = run(["export", "--db", shop, "--table", "orders", "--layout", os.path.join(folder, "orders.layout.json"),
                      "--format", fmt, "--output", target, "--yes"])
        if check(result.returncode == 0, f"export --layout to {fmt}: {result.returncode} {result.stderr}"):
            with open(target, "rb") as a, open(os.path.join(folder, "orders." + fmt), "rb") as b:
                check(a.read() == b.read(), f"export --layout orders.layout.json to {fmt} differs from the demo's file")
    return layouts


# ---------------------------------------------------------------- workbook

def by_column(columns, filled):
    """The filled cells of a row ({column: value}) by field: each column's header cells hold one of them
    (the column's cells of a record may start right of its header, after the group indent)."""
    result = {}
    for field, (c0, c1) in columns.items():
        inside = [c for c in filled if c0 <= c < c1]
        if len(inside) == 1:
            result[field] = inside[0]
    return result

def check_xls(folder, view, sample):
    book = xlrd.open_workbook(os.path.join(folder, "orders.xls"), formatting_info=True,
                              logfile=open(os.devnull, "w"))
    sh = book.sheet_by_index(0)
    styles = view.layout["styles"]

    def xf(r, c):
        return book.xf_list[sh.cell_xf_index(r, c)]

    def font(r, c):
        return book.font_list[xf(r, c).font_index]

    def rgb(index):
        return book.colour_map.get(index)

    def fill(r, c):
        return rgb(xf(r, c).background.pattern_colour_index)

    def row_cells(r):
        return [(c, sh.cell(r, c)) for c in range(sh.ncols) if sh.cell_type(r, c) not in (xlrd.XL_CELL_EMPTY,
                                                                                             xlrd.XL_CELL_BLANK)]

    def where(text):
        return [(r, c) for r in range(min(sh.nrows, 3)) for c in range(sh.ncols) if sh.cell_value(r, c) == text]

    # Band headers: bold white text on the band colour, merged over the
    # header cells of their own columns.
    header_row = None
    spans = {}
    for band in view.layout["bands"]:
        found = where(band["caption"])
        if not check(len(found) == 1, f"xls: band caption {band['caption']!r} found at {found}"):
            return
        r, c = found[0]
        merged = [m for m in sh.merged_cells if m[0] == r and m[2] == c]
        if not check(len(merged) == 1, f"xls: band header {band['caption']!r} is not merged"):
            return
        spans[band["name"]] = merged[0]
        header_row = merged[0][1]
        f = font(r, c)
        check(f.weight >= 700 and rgb(f.colour_index) == hex_rgb(styles["band"]["textColor"]),
              f"xls: band header font weight {f.weight}, colour {rgb(f.colour_index)}")
        expect(f"xls: band header {band['caption']} fill", fill(r, c), hex_rgb(styles["band"]["color"]))
    # Each column header: its cells (a header may take in the group indent
    # left of it), inside its band's.
    columns = {}
    for column in view.shown:
        found = [c for c in range(sh.ncols) if sh.cell_value(header_row, c) == column["caption"]]
        if not check(len(found) == 1, f"xls: column header {column['caption']!r} in row {header_row}: {found}"):
            return
        c = found[0]
        merged = [m for m in sh.merged_cells if m[0] == header_row and m[2] == c]
        columns[column["field"]] = (c, merged[0][3] if merged else c + 1)
        r0, r1, c0, c1 = spans[column["band"]]
        check(c0 <= c and columns[column["field"]][1] <= c1,
              f"xls: column {column['caption']} at {columns[column['field']]} lies outside its band's cells {c0}..{c1}")
        check(font(header_row, c).weight >= 700, f"xls: header {column['caption']} is not bold")
        expect(f"xls: header {column['caption']} fill", fill(header_row, c), hex_rgb(styles["header"]["color"]))
    bands = sorted(spans.values(), key=lambda m: m[2])
    check(all(a[3] <= b[2] for a, b in zip(bands, bands[1:])), f"xls: band headers overlap: {bands}")

    # Records: group rows and data rows.
    r = header_row + 1
    fields = [c["field"] for c in view.shown]
    for city, orders in sample.cities().items():
        cells = row_cells(r)
        got = [cell.value for _, cell in cells]
        expect(f"xls row {r}: group row", got, ["-", view.group_text(city, orders)])
        if len(cells) == 2:
            expect(f"xls row {r}: group row fill", fill(r, cells[1][0]), hex_rgb(styles["group"]["color"]))
            check(font(r, cells[1][0]).weight >= 700, f"xls row {r}: group row text is not bold")
        r += 1
        for order in orders:
            check_xls_record(book, sh, r, order, columns, fields, view, styles, rgb, font)
            r += 1
    footer = dict(row_cells(r))
    at = by_column(columns, footer)
    expect(f"xls row {r}: footer sums", {f: round(footer[c].value, 2) for f, c in at.items()},
           {"order_no": len(sample.orders), "qty": sum(o["qty"] for o in sample.orders),
            "amount": sum(cents(o["amount"]) for o in sample.orders) / 100})
    expect("xls: footer cells", len(footer), 3)
    if "amount" in at:
        expect("xls footer fill", fill(r, at["amount"]), hex_rgb(styles["footer"]["color"]))
        expect("xls footer amount format", book.xf_list[sh.cell_xf_index(r, at["amount"])].format_key, 7)
    expect("xls: rows", sh.nrows, r + 1)
    return columns, header_row


def check_xls_record(book, sh, r, order, columns, fields, view, styles, rgb, font):
    label = f"xls row {r} ({order['order_no']})"
    filled = {c: sh.cell(r, c) for c in range(sh.ncols) if sh.cell_type(r, c) not in (xlrd.XL_CELL_EMPTY,
                                                                                       xlrd.XL_CELL_BLANK)}
    at = by_column(columns, filled)
    if not check(len(filled) == len(fields) and set(at) == set(fields), f"{label}: cells {filled}"):
        return
    for field in fields:
        c = at[field]
        cell = sh.cell(r, c)
        fmt = book.xf_list[sh.cell_xf_index(r, c)].format_key
        value = order[field]
        if field == "order_date":
            ok = cell.ctype == xlrd.XL_CELL_DATE and fmt == 14 and \
                datetime.date(*xlrd.xldate_as_tuple(cell.value, book.datemode)[:3]).isoformat() == value
        elif field in ("unit_price", "amount"):
            ok = cell.ctype == xlrd.XL_CELL_NUMBER and fmt == 7 and round(cell.value, 2) == value
        elif field == "qty":
            ok = cell.ctype == xlrd.XL_CELL_NUMBER and fmt == 0 and cell.value == value
        else:
            ok = cell.ctype == xlrd.XL_CELL_TEXT and cell.value == value
        if not check(ok, f"{label} {field}: {cell!r} format {fmt}, expected {value!r}"):
            return
    money_font = font(r, at["amount"])
    expect(f"{label} amount colour", rgb(money_font.colour_index), hex_rgb(styles["money"]["textColor"]))


def check_libreoffice(folder, view, sample, columns, header_row):
    """LibreOffice reads the workbook: per city its group row, its orders and their values; the footer sums."""
    out = os.path.join(folder, "..", "lo")
    profile = "file://" + os.path.abspath(os.path.join(folder, "..", "lo-profile"))
    subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless", "--convert-to",
                    "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false", "--outdir", out,
                    os.path.join(folder, "orders.xls")],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    converted = os.path.join(out, "orders.csv")
    if not check(os.path.exists(converted), "LibreOffice wrote no CSV for orders.xls"):
        return
    with open(converted, encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f))
    expect("LibreOffice: band captions", [t for t in rows[header_row - 1] if t], view.bands)
    expect("LibreOffice: column captions", [t for t in rows[header_row] if t], view.captions)
    r = header_row + 1
    bad = 0
    for city, orders in sample.cities().items():
        bad += not expect(f"LibreOffice row {r}", [t for t in rows[r] if t], ["-", view.group_text(city, orders)])
        r += 1
        for order in orders:
            line = rows[r]
            got = {f: line[c] for f, c in by_column(columns, {c: t for c, t in enumerate(line) if t}).items()}
            ok = len(got) == len(columns) and got["order_no"] == order["order_no"] and got["customer"] == order["customer"] and \
                got["product"] == order["product"] and int(got["qty"]) == order["qty"] and \
                round(float(got["amount"]), 2) == order["amount"] and \
                round(float(got["unit_price"]), 2) == order["unit_price"] and \
                datetime.datetime.strptime(got["order_date"], "%m/%d/%Y").date().isoformat() == order["order_date"]
            if not ok:
                bad += 1
                if bad < 5:
                    check(False, f"LibreOffice row {r}: {got}, expected {dict(order)}")
            r += 1
    check(bad == 0, f"LibreOffice: {bad} rows differ from the database")
    footer = {f: rows[r][c] for f, c in by_column(columns, {c: t for c, t in enumerate(rows[r]) if t}).items()}
    expect("LibreOffice footer", {f: round(float(t), 2) for f, t in footer.items()},
           {"order_no": len(sample.orders), "qty": sum(o["qty"] for o in sample.orders),
            "amount": sum(cents(o["amount"]) for o in sample.orders) / 100})


# ---------------------------------------------------------------- text, page, document

def check_txt(folder, view):
    with open(os.path.join(folder, "orders.txt"), "rb") as f:
        data = f.read()
    text = data.decode("gbk")  # strict: every byte must be GBK
    check(text.endswith("\r\n"), "orders.txt does not end with CR LF")
    lines = text.split("\r\n")[:-1]
    want = view.rows()
    expect("orders.txt lines", len(lines), len(want))
    bad = [i for i, (line, row) in enumerate(zip(lines, want)) if words(line) != row]
    for i in bad[:5]:
        check(False, f"orders.txt line {i}: {words(lines[i])!r}, expected {want[i]!r}")
    # Padded columns: every order number starts at the same place.
    starts = {len(line.encode("gbk").split(o.encode("gbk"))[0])
              for line, row in zip(lines, want) for o in row[:1] if o.startswith("SO")}
    expect("orders.txt: order numbers start in one column", len(starts), 1)


def check_page_rows(label, rows, view):
    want = view.rows()
    got = [texts(r) for r in rows]
    expect(f"{label}: rows", len(got), len(want))
    bad = [i for i, (g, w) in enumerate(zip(got, want)) if g != w]
    for i in bad[:5]:
        check(False, f"{label} row {i}: {got[i]!r}, expected {want[i]!r}")
    check(not any(c["table"] is not None or c["imgs"] for r in rows for c in r), f"{label}: nested tables or pictures")


def check_html(folder, view):
    page = os.path.join(folder, "orders.html")
    doc = lxml.html.parse(page)
    tables = doc.xpath("/html/body/table")
    if expect("orders.html: tables in the body", len(tables), 1):
        check_page_rows("orders.html", table_rows(tables[0], ""), view)
    css = doc.find(".//style").text
    band_class = [td.get("class") for td in doc.iter("td") if td.text_content() == view.bands[0]]
    colour = view.layout["styles"]["band"]["color"]
    if check(len(band_class) == 1, "orders.html: no band header cell"):
        rule = re.search(r"\." + band_class[0] + r" \{([^}]*)\}", css)
        check(rule and "font-weight: bold;" in rule.group(1) and
              "background-color: rgb(%d,%d,%d)" % hex_rgb(colour) in rule.group(1).replace(", ", ","),
              f"orders.html: band header style {rule and rule.group(1)!r}")
    return page


def check_xml(folder, view):
    document = os.path.join(folder, "orders.xml")
    stylesheet = os.path.join(folder, "orders.xsl")
    xml = etree.parse(document, etree.XMLParser(recover=False, resolve_entities=False))
    root = xml.getroot()
    expect("orders.xml: title", root.findtext("TITLE"), "orders")
    pi = root.getprevious()
    check(isinstance(pi, etree._XSLTProcessingInstruction) and pi.get("href") == stylesheet,
          f"orders.xml: stylesheet instruction {pi!r}")
    transformed = os.path.join(folder, "..", "orders-transformed.html")
    subprocess.run(["xsltproc", "--output", transformed, stylesheet, document], check=True)
    out = lxml.html.parse(transformed)
    tables = out.xpath("/html/body/table")
    if expect("orders.xml transformed: tables in the body", len(tables), 1):
        check_page_rows("orders.xml transformed", table_rows(tables[0], "."), view)
    return transformed


def check_screenshots(page, transformed, view):
    folder = screenshot_folder()
    colour = hex_rgb(view.layout["styles"]["band"]["color"])
    for label, path in (("demo-orders-html", page), ("demo-orders-xml", transformed)):
        shot = screenshot(label, "file://" + os.path.abspath(path), folder)
        if shot:
            check(shot[1].get(colour, 0) > 2000, f"{label}: the band header colour shows on {shot[1].get(colour, 0)} pixels")


def main():
    demo = run_demo("kv_demo_orders_")
    if not demo:
        return report("")
    folder, lines = demo
    check_stdout(folder, lines)
    layouts = check_layout_files(folder)
    sample = Sample(folder)
    view = OrdersView(layouts["orders.layout.json"], sample)
    found = check_xls(folder, view, sample)
    if found:
        check_libreoffice(folder, view, sample, *found)
    check_txt(folder, view)
    page = check_html(folder, view)
    transformed = check_xml(folder, view)
    check_screenshots(page, transformed, view)
    remove_demo(folder)
    return report("the demo's orders files read back as the database holds them")


if __name__ == "__main__":
    sys.exit(main())

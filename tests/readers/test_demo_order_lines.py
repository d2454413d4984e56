"""The demo's master-detail files, judged by independent readers.

Runs `$KVPUBLIC demo` into a folder with a Chinese name and a space and
reads the sample database with sqlite3.  The layout order-lines.layout.json
shows the view recent_orders (the first orders with their line count and
total) with a detail level: the order lines with the product pictures.
- order-lines.html with lxml, and order-lines.xml transformed by xsltproc
  with the written order-lines.xsl: every master row shows an order as the
  database holds it and is followed by a row holding a nested table of that
  order's lines, texts equal to the database; each line's picture cell
  holds an img element whose file lies in order-lines.images beside the
  page and is a 24-bit BMP with the pixels of that product's picture in
  the database;
- order-lines.xml read strictly: every master has its nested LINES element,
  every picture an IMAGE element;
- headless Chromium screenshots of the page and the transformed document:
  not blank, the band colour and the first orders' product colours show
  (saved in $KV_SCREENSHOT_DIR when set).
"""
import json
import os
import subprocess
import sys
from urllib.parse import unquote

import lxml.html
from lxml import etree

from demo_support import (Sample, bmp_pixels, cents, check, expect, hex_rgb, money, remove_demo, report, run_demo,
                          screenshot, screenshot_folder, table_rows, texts)


class OrderLinesView:
    """What the master-detail layout shows for the sample."""

    def __init__(self, layout, sample):
        self.layout = layout
        self.sample = sample
        self.detail = layout["detail"]["layout"]
        self.bands = [b["caption"] for b in layout["bands"]]
        self.captions = [c["caption"] for c in layout["columns"]]
        self.line_captions = [c["caption"] for c in self.detail["columns"]]
        self.picture_column = [c["field"] for c in self.detail["columns"]].index("picture")

    def master_row(self, order):
        lines = self.sample.lines[order["order_no"]]
        # The view's total is the sum of the lines; check the database agrees first.
        expect(f"recent_orders {order['order_no']}: total", cents(order["total"]), sum(cents(l["amount"]) for l in lines))
        return ["-", order["order_no"], order["order_date"], order["customer"], order["city"], str(len(lines)),
                money(sum(cents(l["amount"]) for l in lines))]

    def line_row(self, line):
        return [str(line["line_no"]), line["product"], str(line["quantity"]), money(cents(line["unit_price"])),
                money(cents(line["amount"]))]


def check_tables(label, table, view, folder, empty):
    """The master table and its nested detail tables; returns the picture files met, in order."""
    rows = table_rows(table, empty)
    sample = view.sample
    expect(f"{label}: header rows", [texts(r) for r in rows[:2]], [view.bands, view.captions])
    check(100 <= len(sample.recent) <= 200, f"{label}: {len(sample.recent)} masters; a page of 100 to 200 opens quickly")
    expect(f"{label}: rows", len(rows), 2 + 2 * len(sample.recent))
    pictures = []
    for i, order in enumerate(sample.recent):
        r = 2 + 2 * i
        if r + 1 >= len(rows):
            break
        where = f"{label} master {order['order_no']}"
        expect(where, texts(rows[r]), view.master_row(order))
        holders = [c for c in rows[r + 1] if c["table"] is not None]
        if not check(len(holders) == 1 and texts(rows[r + 1]) == [],
                     f"{where}: the next row holds {len(holders)} nested tables and {texts(rows[r + 1])!r}"):
            continue
        check(all(c["table"] is None for row in rows[r:r + 1] for c in row), f"{where}: a nested table in the master row")
        nested = table_rows(holders[0]["table"], empty)
        lines = sample.lines[order["order_no"]]
        expect(f"{where}: detail header", texts(nested[0]), view.line_captions)
        expect(f"{where}: detail rows", [texts(r) for r in nested[1:]], [view.line_row(l) for l in lines])
        column = [c["text"] for c in nested[0]].index(view.line_captions[view.picture_column])
        for line, cells in zip(lines, nested[1:]):
            pictures.append(check_picture(f"{where} line {line['line_no']}", cells, column, line, view, folder))
    return pictures


def check_picture(where, cells, column, line, view, folder):
    """The line's cell under the picture caption has the row's one img, whose file holds the product's picture."""
    imgs = [src for c in cells for src in c["imgs"]]
    if not check(len(imgs) == 1 and column < len(cells) and cells[column]["imgs"] == imgs,
                 f"{where}: img elements {[c['imgs'] for c in cells]}, expected one in cell {column}"):
        return None
    src = unquote(imgs[0])
    check(src.startswith("order-lines.images/") and "\\" not in src, f"{where}: img src {src!r}")
    path = os.path.join(folder, src)
    if not check(os.path.isfile(path), f"{where}: picture {path} missing"):
        return None
    with open(path, "rb") as f:
        written = bmp_pixels(f.read())
    stored = bmp_pixels(view.sample.products[line["product_id"]]["picture"])
    check(written == stored, f"{where}: {src} is not the picture of product {line['product_id']}")
    return src


def check_html(folder, view):
    page = os.path.join(folder, "order-lines.html")
    doc = lxml.html.parse(page)
    tables = doc.xpath("/html/body/table")
    if expect("order-lines.html: tables in the body", len(tables), 1):
        pictures = check_tables("order-lines.html", tables[0], view, folder, "")
        files = sorted(os.listdir(os.path.join(folder, "order-lines.images")))
        expect("order-lines.html: every picture file is used once", sorted(os.path.basename(p or "") for p in pictures),
               files)
        expect("pictures: one per order line", len(files), sum(len(view.sample.lines[o["order_no"]])
                                                               for o in view.sample.recent))
    return page


def check_xml(folder, view):
    document = os.path.join(folder, "order-lines.xml")
    stylesheet = os.path.join(folder, "order-lines.xsl")
    xml = etree.parse(document, etree.XMLParser(recover=False, resolve_entities=False))
    root = xml.getroot()
    top = root.find("LINES")
    nested = top.xpath("./LINE/CELL/LINES")
    expect("order-lines.xml: nested LINES", len(nested), len(view.sample.recent))
    images = root.xpath("//IMAGE")
    expect("order-lines.xml: IMAGE elements", len(images),
           sum(len(view.sample.lines[o["order_no"]]) for o in view.sample.recent))
    check(all(i.getparent().getparent().getparent().tag == "LINES" and i.get("Src").startswith("order-lines.images/")
              for i in images), "order-lines.xml: an IMAGE outside a detail or with another folder")
    # Beside the document, so that its pictures' relative paths hold for the browser too.
    transformed = os.path.join(folder, "order-lines-transformed.html")
    subprocess.run(["xsltproc", "--output", transformed, stylesheet, document], check=True)
    out = lxml.html.parse(transformed)
    tables = out.xpath("/html/body/table")
    if expect("order-lines.xml transformed: tables in the body", len(tables), 1):
        check_tables("order-lines.xml transformed", tables[0], view, folder, ".")
    return transformed


def check_screenshots(page, transformed, view):
    folder = screenshot_folder()
    band = hex_rgb(view.layout["styles"]["band"]["color"])
    first = view.sample.lines[view.sample.recent[0]["order_no"]]
    colours = {tuple(bmp_pixels(view.sample.products[l["product_id"]]["picture"])[2][16][16]) for l in first}
    for label, path in (("demo-order-lines-html", page), ("demo-order-lines-xml", transformed)):
        shot = screenshot(label, "file://" + os.path.abspath(path), folder)
        if not shot:
            continue
        counts = shot[1]
        check(counts.get(band, 0) > 2000, f"{label}: the band colour shows on {counts.get(band, 0)} pixels")
        for colour in colours:
            check(counts.get(colour, 0) >= 100,
                  f"{label}: the first order's picture colour {colour} shows on {counts.get(colour, 0)} pixels")


def main():
    demo = run_demo("kv_demo_lines_")
    if not demo:
        return report("")
    folder, _ = demo
    sample = Sample(folder)
    with open(os.path.join(folder, "order-lines.layout.json"), encoding="utf-8") as f:
        view = OrderLinesView(json.load(f), sample)
    page = check_html(folder, view)
    transformed = check_xml(folder, view)
    check_screenshots(page, transformed, view)
    remove_demo(folder)
    return report("the demo's master-detail files read back as the database holds them")


if __name__ == "__main__":
    sys.exit(main())

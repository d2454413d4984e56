"""HTML pages and XML documents written by the HTML and XML writers, judged
by independent readers.

One grid (styles, a merged title, merged cells, line breaks, markup
characters, Chinese text, a control character, a character outside the
Basic Multilingual Plane, two picture cells and a nested detail table) is
written to a folder with a Chinese name through gen_html_xml, once as a page
and once as a document.  Then:
- lxml.html parses the page, which declares its code page, and its table has
  the rows, cells, spans and texts of the grid; the pictures it names exist
  beside it and hold the bitmaps;
- lxml parses the document strictly, finds the stylesheet through the
  document's processing instruction, and xsltproc applies the written
  stylesheet to the written document: the resulting table has the rows,
  cells, spans and texts of the grid;
- headless Chromium renders the page and the transformed document; each
  screenshot must show the title bar's colour and the pictures' colours, and
  must not be blank.  Skipped with a notice when Chromium is not installed.
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
from urllib.parse import unquote

from lxml import etree
import lxml.html

from browser_support import render_page

GEN = os.path.join(os.environ["KV_READER_GEN_DIR"], "gen_html_xml")

NAVY = [0, 0, 128]
RED = [255, 0, 0]
GREEN = [0, 160, 0]

STYLES = [
    {"align": 0, "font": "宋体", "charset": 134, "size": 10, "background": [255, 255, 255]},
    {"align": 1, "font": "Tahoma", "size": 12, "bold": True, "color": [255, 255, 255], "background": NAVY},
    {"align": 1, "font": "Tahoma", "size": 9, "italic": True, "background": [220, 220, 220]},
    {"align": 2, "font": "Tahoma", "size": 9, "underline": True, "background": [255, 255, 224]},
]

NESTED = {
    "cols": 3, "rows": 3, "widths": [60, 140, 60], "heights": [20, 20, 20],
    "styles": [STYLES[0], STYLES[2]],
    "cells": [
        {"col": 0, "row": 0, "style": 1, "text": "行号"},
        {"col": 1, "row": 0, "style": 1, "text": "商品"},
        {"col": 2, "row": 0, "style": 1, "text": "数量"},
        {"col": 0, "row": 1, "int": 1},
        {"col": 1, "row": 1, "text": "绿茶 500g"},
        {"col": 2, "row": 1, "double": 2.5},
        {"col": 0, "row": 2, "int": 2},
        {"col": 1, "row": 2, "wide": "红茶 <特级>"},
    ],
}

GRID = {
    "cols": 5, "rows": 7, "widths": [60, 140, 70, 90, 40], "heights": [30, 22, 22, 36, 22, 22, 90],
    "styles": STYLES,
    "cells": [
        {"col": 0, "row": 0, "style": 1, "merge": [1, 5], "text": "订单列表 <2024> & \"年度\""},
        {"col": 0, "row": 1, "style": 2, "text": "编号"},
        {"col": 1, "row": 1, "style": 2, "text": "名称"},
        {"col": 2, "row": 1, "style": 2, "text": "数量"},
        {"col": 3, "row": 1, "style": 2, "text": "单价"},
        {"col": 4, "row": 1, "style": 2, "text": "图片"},
        {"col": 0, "row": 2, "int": 1},
        {"col": 1, "row": 2, "text": "朱镕基路"},
        {"col": 2, "row": 2, "style": 3, "int": 12},
        {"col": 3, "row": 2, "style": 3, "double": 3.25},
        {"col": 4, "row": 2, "picture": {"width": 16, "height": 16, "color": RED}},
        {"col": 0, "row": 3, "int": 2},
        {"col": 1, "row": 3, "text": "第一行\r\n第二行"},
        {"col": 2, "row": 3, "wide": "宽文本"},
        {"col": 3, "row": 3, "style": 3, "double": -0.5},
        {"col": 4, "row": 3, "picture": {"width": 20, "height": 12, "color": GREEN}},
        {"col": 0, "row": 4, "merge": [2, 2], "text": "合并区域"},
        {"col": 2, "row": 4, "text": "."},
        {"col": 4, "row": 4, "text": "a\u0001b"},
        {"col": 2, "row": 5, "text": "Tom & Jerry"},
        {"col": 3, "row": 5, "text": "笑\U0001F600"},
        {"col": 0, "row": 6, "merge": [1, 5], "nested": NESTED},
    ],
}


def float_text(value):
    """The general floating-point text for the simple values used here."""
    return ("%.15g" % value)


def expected_rows(grid, kind):
    """Per row, the visible cells as (text, colspan, rowspan, picture, nested grid)."""
    cols, rows = grid["cols"], grid["rows"]
    cells = {(c["col"], c["row"]): c for c in grid["cells"]}
    covered = set()
    for c in grid["cells"]:
        if "merge" in c:
            mr, mc = c["merge"]
            for r in range(c["row"], c["row"] + mr):
                for k in range(c["col"], c["col"] + mc):
                    if (k, r) != (c["col"], c["row"]):
                        covered.add((k, r))
    empty = "\xa0" if kind == "html" else "."
    result = []
    for r in range(rows):
        line = []
        for k in range(cols):
            if (k, r) in covered:
                continue
            c = cells.get((k, r), {})
            span = c.get("merge", [1, 1])
            text = None
            if "text" in c or "wide" in c:
                text = c.get("text", c.get("wide"))
                text = text.replace("\r\n", "\n")
                if kind == "html":
                    # the reader drops the control character (HTML 4 does not allow it);
                    # GBK cannot hold the emoji, written as "?"
                    text = text.replace("\u0001", "").replace("\U0001F600", "?")
                else:
                    text = text.replace("\u0001", "?")  # XML 1.0 does not allow it
            elif "int" in c:
                text = str(c["int"])
            elif "double" in c:
                text = float_text(c["double"])
            if "picture" in c:
                text = ""
            if "nested" in c:
                text = empty if kind == "html" else ""
            if text is None or text == "":
                text = text if text == "" else empty
            line.append((text, span[1], span[0], c.get("picture"), c.get("nested")))
        result.append(line)
    return result


def rows_of(table):
    return table.xpath("./tr | ./tbody/tr")


def own_text(td):
    """The cell's text without nested tables; <br> counts as a line break."""
    parts = [td.text or ""]
    for child in td:
        if child.tag == "table":
            parts.append(child.tail or "")
            continue
        if child.tag == "br":
            parts.append("\n")
        else:
            parts.append(child.text_content())
        parts.append(child.tail or "")
    # An empty cell holds "&nbsp" without a semicolon, which HTML 4.0 allows
    # before "<"; browsers read it as a no-break space, lxml as the letters.
    return "".join(parts).replace("\r\n", "\n").replace("&nbsp", "\xa0")


def span(td, name):
    value = td.get(name)
    return int(value) if value else 1


def check_table(label, table, grid, kind, folder, errors):
    rows = rows_of(table)
    if len(rows) != grid["rows"] + 1:
        errors.append(f"{label}: {len(rows)} rows, expected {grid['rows']} and the width row")
        return
    widths = [int(td.get("width")) for td in rows[0].xpath("./td")]
    if widths != grid["widths"]:
        errors.append(f"{label}: width row {widths}, expected {grid['widths']}")
    for r, (tr, expected) in enumerate(zip(rows[1:], expected_rows(grid, kind))):
        tds = tr.xpath("./td")
        if len(tds) != len(expected):
            errors.append(f"{label} row {r}: {len(tds)} cells, expected {len(expected)}")
            continue
        for td, (text, colspan, rowspan, picture, nested) in zip(tds, expected):
            where = f"{label} row {r}"
            got = own_text(td)
            if nested:
                got = got.strip("\r\n")  # the line end after the nested table
            if got != text:
                errors.append(f"{where}: text {got!r}, expected {text!r}")
            if (span(td, "colspan"), span(td, "rowspan")) != (colspan, rowspan):
                errors.append(f"{where}: spans {span(td, 'colspan')}x{span(td, 'rowspan')}, "
                              f"expected {colspan}x{rowspan}")
            imgs = td.xpath("./img")
            if picture:
                if len(imgs) != 1:
                    errors.append(f"{where}: no img element")
                else:
                    check_picture(where, os.path.join(folder, unquote(imgs[0].get("src"))), picture, errors)
            elif imgs:
                errors.append(f"{where}: unexpected img")
            inner = td.xpath("./table")
            if nested:
                if len(inner) != 1:
                    errors.append(f"{where}: nested table missing")
                else:
                    check_table(where + " nested", inner[0], nested, kind, folder, errors)
            elif inner:
                errors.append(f"{where}: unexpected nested table")


def check_picture(where, path, picture, errors):
    if not os.path.isfile(path):
        errors.append(f"{where}: picture file {path} missing")
        return
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        errors.append(f"{where}: {path} is not a bitmap")
        return
    width, height = struct.unpack_from("<ii", data, 18)
    offset = struct.unpack_from("<I", data, 10)[0]
    b, g, r = data[offset:offset + 3]
    if (width, abs(height)) != (picture["width"], picture["height"]) or [r, g, b] != picture["color"]:
        errors.append(f"{where}: {path} is {width}x{height} of {[r, g, b]}, expected {picture}")


def check_screenshot(label, url, folder, errors):
    shot = os.path.join(folder, label + ".png")
    width, height, counts = render_page(url, shot, "1024,768", 180)
    white = counts.get((255, 255, 255), 0)
    if white > 0.99 * width * height or len(counts) < 8:
        errors.append(f"{label}: screenshot is blank ({len(counts)} colours)")
    # The title bar's fill and both pictures must show.
    for name, colour, least in (("title fill", NAVY, 1000), ("red picture", RED, 16 * 16),
                                ("green picture", GREEN, 20 * 12)):
        if counts.get(tuple(colour), 0) < least:
            errors.append(f"{label}: {name} {colour} shows on {counts.get(tuple(colour), 0)} pixels")
    print(f"{label}: screenshot {shot}")


def generate(folder, name, kind):
    job = os.path.join(folder, name + ".json")
    target = os.path.join(folder, name)
    with open(job, "w", encoding="utf-8") as f:
        json.dump({"target": target, "kind": kind, "grid": GRID}, f, ensure_ascii=False)
    subprocess.run([GEN, job], check=True)
    return target


def main():
    errors = []
    folder = os.path.join(tempfile.mkdtemp(prefix="kv_htmlxml_"), "导出 文件")
    os.mkdir(folder)

    # --- the page ---
    page = generate(folder, "订单.html", 2)
    with open(page, "rb") as f:
        data = f.read()
    if b'content="text/html; charset=GBK"' not in data:
        errors.append("page: no GBK charset in its content type")
    doc = lxml.html.parse(page)
    title = doc.find(".//title").text
    if title != page:
        errors.append(f"page: title {title!r}, expected {page!r}")
    tables = doc.xpath("/html/body/table")
    if len(tables) != 1:
        errors.append(f"page: {len(tables)} top tables")
    else:
        check_table("page", tables[0], GRID, "html", folder, errors)
    css = doc.find(".//style").text
    classes = {td.get("class") for td in doc.iter("td") if td.get("class")}
    for cls in classes:
        if "." + cls + " {" not in css:
            errors.append(f"page: class {cls} has no rule")

    # --- the document ---
    document = generate(folder, "订单.xml", 3)
    stylesheet = os.path.join(folder, "订单.xsl")
    xml = etree.parse(document, etree.XMLParser(recover=False, resolve_entities=False))
    if xml.docinfo.encoding != "GBK":
        errors.append(f"document: encoding {xml.docinfo.encoding!r}")
    root = xml.getroot()
    if root.tag != "CACHE" or root.findtext("TITLE") != "订单":
        errors.append(f"document: root {root.tag}, title {root.findtext('TITLE')!r}")
    lines = root.find("LINES")
    if (lines.get("ColCount"), lines.get("RowCount")) != (str(GRID["cols"]), str(GRID["rows"])):
        errors.append("document: LINES counts wrong")
    style_ids = {s.get("Id") for s in root.find("STYLES")}
    for cell in root.iter("CELL"):
        if cell.get("StyleClass") is not None and cell.get("StyleClass") not in style_ids:
            errors.append(f"document: StyleClass {cell.get('StyleClass')} has no STYLE")
    pi = root.getprevious()
    if not isinstance(pi, etree._XSLTProcessingInstruction) or pi.get("href") != stylesheet:
        errors.append(f"document: stylesheet instruction {pi!r}")
    else:
        pi.parseXSL()  # loads the stylesheet the instruction names
    with open(stylesheet, "rb") as f:
        text = f.read()
    if text.count(b"\r\n") != 121 or not text.endswith(b"</xsl:stylesheet>\r\n"):
        errors.append("stylesheet: not 121 lines ended by CR LF")
    transformed = os.path.join(folder, "订单_transformed.html")
    subprocess.run(["xsltproc", "--output", transformed, stylesheet, document], check=True)
    out = lxml.html.parse(transformed)
    if out.find(".//title").text != "订单":
        errors.append("transformed: title wrong")
    tables = out.xpath("/html/body/table")
    if len(tables) != 1:
        errors.append(f"transformed: {len(tables)} top tables")
    else:
        check_table("transformed", tables[0], GRID, "xml", folder, errors)

    # --- screenshots ---
    if shutil.which("chromium"):
        check_screenshot("page", "file://" + page, folder, errors)
        check_screenshot("transformed", "file://" + transformed, folder, errors)
    else:
        print("NOTICE: chromium is not installed; the rendering check was skipped")

    for e in errors:
        print(e)
    print("pages and documents read back as written" if not errors else f"{len(errors)} problems")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())

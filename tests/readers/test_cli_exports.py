"""The command line's formats and views, read back by independent readers:
the default view's workbook (numbers, money, dates, date-times and times as
values with number formats) read by xlrd; a layout's grouping, editors and
footer summary in the workbook; the text file decoded as GBK with the text
format options; the page parsed by lxml; the XML document transformed with
its stylesheet by lxml's XSLT."""
import datetime
import os
import sqlite3
import subprocess
import sys
import tempfile
import json

import lxml.etree
import lxml.html
import xlrd

KVPUBLIC = os.environ["KVPUBLIC"]
FAILURES = []


def expect(label, got, want):
    if got != want:
        FAILURES.append(f"{label}: got {got!r}, expected {want!r}")


def run(*args):
    result = subprocess.run([KVPUBLIC, *args], capture_output=True, stdin=subprocess.DEVNULL)
    if result.returncode != 0:
        FAILURES.append(f"kvpublic {' '.join(args)}: exit {result.returncode}: {result.stderr.decode()}")
    return result


def make_database(path):
    db = sqlite3.connect(path)
    db.execute(
        "CREATE TABLE items (id INTEGER, name VARCHAR(10), city VARCHAR(6), price REAL, amount MONEY,"
        " rate DECIMAL(8,4), day DATE, moment DATETIME, clock TIME, paid BOOLEAN)")
    db.executemany(
        "INSERT INTO items VALUES (?,?,?,?,?,?,?,?,?,?)",
        [(1, "螺丝刀", "北京", 1.5, 15800.25, 0.125, "2024-03-05", "2024-03-05 08:09:10", "08:09:10", 1),
         (2, "扳手", "上海", 2.25, 4740, 0.5, "2024-12-31", "2024-12-31 23:59:00", "23:59:00", 0),
         (3, "锤子", "北京", 10, 3, 0.25, "2023-01-01", "2023-01-01 00:00:00", "00:00:00", 1)])
    db.commit()
    db.close()


def open_book(path):
    book = xlrd.open_workbook(path, formatting_info=True, logfile=open(os.devnull, "w"))
    return book, book.sheet_by_index(0)


def number_format(book, sh, r, c):
    return book.format_map[book.xf_list[sh.cell_xf_index(r, c)].format_key].format_str


def find_row(sh, text):
    for r in range(sh.nrows):
        if text in [sh.cell_value(r, c) for c in range(sh.ncols)]:
            return r
    return None


def default_workbook(folder, db):
    run("export", "--db", db, "--table", "items", "--format", "xls", "--output", os.path.join(folder, "items"))
    book, sh = open_book(os.path.join(folder, "items.xls"))
    header = find_row(sh, "id")
    if header is None:
        FAILURES.append("default workbook: no header row")
        return
    names = [sh.cell_value(header, c) for c in range(sh.ncols)]
    expect("default workbook: headers are the field names", [n for n in names if n],
           ["id", "name", "city", "price", "amount", "rate", "day", "moment", "clock", "paid"])
    col = {n: names.index(n) for n in names if n}
    r = header + 1
    expect("id is a number", sh.cell_type(r, col["id"]), xlrd.XL_CELL_NUMBER)
    expect("id value", sh.cell_value(r, col["id"]), 1.0)
    expect("price is a number", (sh.cell_type(r, col["price"]), sh.cell_value(r, col["price"])),
           (xlrd.XL_CELL_NUMBER, 1.5))
    expect("money is a number", (sh.cell_type(r, col["amount"]), sh.cell_value(r, col["amount"])),
           (xlrd.XL_CELL_NUMBER, 15800.25))
    expect("money has a currency format", "0.00" in number_format(book, sh, r, col["amount"]), True)
    expect("BCD is money", (sh.cell_value(r, col["rate"]), "0.00" in number_format(book, sh, r, col["rate"])),
           (0.125, True))
    expect("date is a date", sh.cell_type(r, col["day"]), xlrd.XL_CELL_DATE)
    expect("date value", xlrd.xldate_as_datetime(sh.cell_value(r, col["day"]), book.datemode),
           datetime.datetime(2024, 3, 5))
    expect("date-time is a date", sh.cell_type(r, col["moment"]), xlrd.XL_CELL_DATE)
    expect("date-time value", xlrd.xldate_as_datetime(sh.cell_value(r, col["moment"]), book.datemode),
           datetime.datetime(2024, 3, 5, 8, 9, 10))
    expect("date-time shows its time", "h" in number_format(book, sh, r, col["moment"]), True)
    expect("time is a date cell", sh.cell_type(r, col["clock"]), xlrd.XL_CELL_DATE)
    expect("time value", round(sh.cell_value(r, col["clock"]) * 86400), 8 * 3600 + 9 * 60 + 10)
    expect("Boolean text", [sh.cell_value(header + i, col["paid"]) for i in (1, 2)], ["True", "False"])
    expect("text", sh.cell_value(r, col["name"]), "螺丝刀")
    expect("three data rows", sh.nrows - header - 1, 3)


def layout_workbook(folder, db):
    layout = {
        "styles": {"title": {"color": "#1F4E79", "textColor": "#FFFFFF", "font": {"name": "黑体", "bold": True}}},
        "viewStyles": {"header": "title"},
        "bands": [{"caption": "商品"}],
        "columns": [
            {"field": "city", "caption": "城市", "groupIndex": 0},
            {"field": "name", "caption": "名称"},
            {"field": "amount", "caption": "金额",
             "editor": {"kind": "calc", "displayFormat": "￥,0.00"}},
            {"field": "moment", "caption": "时间", "editor": {"kind": "text"}},
        ],
        "summaries": {"footer": [{"column": "amount", "kind": "sum", "format": "合计 ,0.00"}],
                      "group": [{"column": "amount", "kind": "sum", "format": "小计 ,0.00"}]},
    }
    path = os.path.join(folder, "layout.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(layout, f, ensure_ascii=False)
    run("export", "--db", db, "--table", "items", "--layout", path, "--format", "xls", "--output",
        os.path.join(folder, "grouped.xls"))
    book, sh = open_book(os.path.join(folder, "grouped.xls"))
    cells = [[sh.cell_value(r, c) for c in range(sh.ncols)] for r in range(sh.nrows)]
    flat = [v for row in cells for v in row if v != ""]
    expect("captions", all(c in flat for c in ("名称", "金额", "时间")), True)
    group_texts = [v for v in flat if isinstance(v, str) and "小计" in v]
    expect("group rows", len(group_texts), 2)
    beijing = [t for t in group_texts if "北京" in t]
    shanghai = [t for t in group_texts if "上海" in t]
    expect("Beijing's group sum", len(beijing) == 1 and "小计 15,803.25" in beijing[0], True)
    expect("Shanghai's group sum", len(shanghai) == 1 and "小计 4,740.00" in shanghai[0], True)
    last = [v for v in cells[-1] if v != ""]
    expect("footer sum: the value under its column", last, [20543.25])
    amounts = [v for row in cells[:-1] for v in row if isinstance(v, float)]
    expect("calc values are numbers", sorted(amounts), [3.0, 4740.0, 15800.25])
    expect("a text editor gives the field's text", "2024-03-05 08:09:10" in flat, True)
    header = find_row(sh, "名称")
    font = book.font_list[book.xf_list[sh.cell_xf_index(header, cells[header].index("名称"))].font_index]
    expect("header style font", (font.name, font.weight), ("黑体", 700))


def text_file(folder, db):
    run("export", "--db", db, "--query", "select id, name, price from items order by id", "--format", "txt",
        "--separator=\t", "--prefix", "[", "--suffix", "]", "--output", os.path.join(folder, "items.txt"))
    with open(os.path.join(folder, "items.txt"), "rb") as f:
        text = f.read().decode("gbk")
    lines = text.split("\r\n")
    expect("text ends with CR LF", lines[-1], "")
    data = [l for l in lines if l.startswith("[1]") or l.startswith("[2]") or l.startswith("[3]")]
    expect("text lines", data, ["[1]\t[螺丝刀]\t[1.5]", "[2]\t[扳手]\t[2.25]", "[3]\t[锤子]\t[10]"])
    expect("text header", "[id]\t[name]\t[price]" in lines, True)


def page_and_document(folder, db):
    run("export", "--db", db, "--table", "items", "--format", "html", "--output", os.path.join(folder, "items"))
    page = lxml.html.parse(os.path.join(folder, "items.html"))
    texts = [t.strip() for t in page.xpath("//td//text()") if t.strip()]
    expect("page cells", all(t in texts for t in ("螺丝刀", "扳手", "锤子", "2024-03-05 08:09:10")), True)

    run("export", "--db", db, "--table", "items", "--format", "xml", "--output", os.path.join(folder, "items"))
    doc = lxml.etree.parse(os.path.join(folder, "items.xml"))
    xsl = lxml.etree.XSLT(lxml.etree.parse(os.path.join(folder, "items.xsl")))
    shown = str(xsl(doc))
    expect("XML through its stylesheet", all(t in shown for t in ("螺丝刀", "扳手", "锤子")), True)


def main():
    folder = tempfile.mkdtemp()
    db = os.path.join(folder, "shop.db")
    make_database(db)
    default_workbook(folder, db)
    layout_workbook(folder, db)
    text_file(folder, db)
    page_and_document(folder, db)
    for f in FAILURES:
        print("FAIL", f)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())

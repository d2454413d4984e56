"""Table views exported through the grid export entry points, read back by
independent readers: xlrd for the workbooks (values, number formats, merged
ranges, row heights), the text files decoded as GBK (lines and padded
widths), lxml for the page that nests detail views."""
import datetime
import os
import subprocess
import sys
import tempfile

import lxml.html
import xlrd

GEN = os.path.join(os.environ["KV_READER_GEN_DIR"], "gen_table_view_export")

FAILURES = []


def expect(label, got, want):
    if got != want:
        FAILURES.append(f"{label}: got {got!r}, expected {want!r}")


def sheet(folder, name):
    book = xlrd.open_workbook(os.path.join(folder, name + ".xls"), formatting_info=True, logfile=open(os.devnull, "w"))
    return book, book.sheet_by_index(0)


def texts(sh):
    return [[sh.cell_value(r, c) for c in range(sh.ncols)] for r in range(sh.nrows)]


def number_format(book, sh, r, c):
    return book.xf_list[sh.cell_xf_index(r, c)].format_key


def text_lines(folder, name):
    with open(os.path.join(folder, name + ".txt"), "rb") as f:
        data = f.read()
    text = data.decode("gbk")  # strict
    expect(f"{name}.txt ends with CR LF", text.endswith("\r\n"), True)
    return text.split("\r\n")[:-1]


def padded(rows):
    """The text writer's padded layout of rows without merged cells, widths in GBK bytes."""
    widths = [max(len(r[c].encode("gbk")) for r in rows) for c in range(len(rows[0]))]
    return ["".join(t + " " * (2 + widths[c] - len(t.encode("gbk"))) for c, t in enumerate(r)) for r in rows]


def no_overlaps(label, ranges):
    cells = set()
    for r0, r1, c0, c1 in ranges:
        for r in range(r0, r1):
            for c in range(c0, c1):
                if (r, c) in cells:
                    FAILURES.append(f"{label}: merged ranges overlap at {(r, c)}")
                cells.add((r, c))


def check_plain(folder):
    book, sh = sheet(folder, "plain")
    expect("plain header", texts(sh)[0], ["名称", "金额", "日期", "数量", "比例"])
    expect("plain names", [sh.cell_value(r, 0) for r in range(1, 4)], ["北京", "上海市", "abc"])
    # Native values: currency with the built-in currency format 7, dates with
    # the date format 14, spin and calc numbers as plain numbers.
    expect("plain amounts", [sh.cell_value(r, 1) for r in range(1, 4)], [1234.5, 99.99, -5.0])
    expect("plain amount formats", {number_format(book, sh, r, 1) for r in range(1, 4)}, {7})
    expect("plain dates", [datetime.date(*xlrd.xldate_as_tuple(sh.cell_value(r, 2), book.datemode)[:3])
                           for r in range(1, 4)],
           [datetime.date(2024, 1, 15), datetime.date(2024, 2, 29), datetime.date(2023, 12, 31)])
    expect("plain date cells", {sh.cell_type(r, 2) for r in range(1, 4)}, {xlrd.XL_CELL_DATE})
    expect("plain counts", [sh.cell_value(r, 3) for r in range(1, 4)], [3.0, 12.0, 0.0])
    expect("plain ratios", [sh.cell_value(r, 4) for r in range(1, 4)], [0.25, 1.5, 2.0])
    expect("plain number formats", {number_format(book, sh, r, c) for r in range(1, 4) for c in (3, 4)}, {0})
    expect("plain merges", sh.merged_cells, [])
    widths = [sh.colinfo_map[c].width for c in range(5)]
    expect("plain column widths follow the columns", widths[0] == widths[1] == widths[2] > widths[4] > widths[3], True)

    # Without native values every cell is the text the grid shows, and the
    # text file holds the same texts padded to the widest of each column.
    _, shown = sheet(folder, "plain-text")
    rows = texts(shown)
    expect("plain text cells", {shown.cell_type(r, c) for r in range(4) for c in range(5)}, {xlrd.XL_CELL_TEXT})
    expect("plain shown values", rows[1], ["北京", "￥1,234.50", "2024-01-15", "3", "0.25"])
    expect("plain.txt", text_lines(folder, "plain"), padded(rows))


def check_grouped(folder):
    book, sh = sheet(folder, "grouped")
    rows = texts(sh)
    expect("grouped size", (sh.nrows, sh.ncols), (13, 6))
    # Header "Name" spans the two indent columns and the columns the group
    # captions cut from it.
    expect("grouped header", (rows[0][0], rows[0][5]), ("Name", "Amount"))
    expect("grouped header merge", (0, 1, 0, 5) in sh.merged_cells, True)
    # Expand cells and captions, one indent column per level.
    expect("grouped expand cells", [(r, c) for r in range(13) for c in range(2) if rows[r][c] == "-"],
           [(1, 0), (2, 1), (5, 1), (7, 0), (8, 1)])
    expect("grouped captions", [rows[r][1] for r in (1, 7)] + [rows[r][2] for r in (2, 5, 8)],
           ["Region : East", "Region : West", "City : A", "City : B", "City : C"])
    # Two summaries of one column share its cell.
    expect("grouped summaries", [rows[r][5] for r in (1, 2, 5, 7, 8)], ["6, 3", "3, 2", "3, 1", "4, 1", "4, 1"])
    # The caption cell is cut to its text: it ends before the Amount column.
    caption = [m for m in sh.merged_cells if m[0] == 1 and m[2] == 1]
    expect("grouped caption merged short of the summary", len(caption) == 1 and caption[0][3] < 5, True)
    # Data rows and the stacked footer carry numbers.
    expect("grouped data", [(rows[r][2], rows[r][5]) for r in (3, 4, 6, 9)],
           [("n1", 1.0), ("n2", 2.0), ("n3", 3.0), ("n4", 4.0)])
    expect("grouped footer", [rows[r][5] for r in (10, 11, 12)], [10.0, 1.0, 4.0])
    expect("grouped footer cells", {sh.cell_type(r, 5) for r in (10, 11, 12)}, {xlrd.XL_CELL_NUMBER})
    # Group rows are 21 pixels high, the others keep the default height.
    heights = {r: sh.rowinfo_map[r].height for r in sh.rowinfo_map}
    expect("grouped row heights", sorted(heights), [1, 2, 5, 7, 8])
    expect("grouped group row height", len(set(heights.values())), 1)
    expect("grouped indent columns", sh.colinfo_map[0].width == sh.colinfo_map[1].width, True)
    no_overlaps("grouped", sh.merged_cells)

    _, shown = sheet(folder, "grouped-text")
    lines = text_lines(folder, "grouped")
    expect("grouped.txt lines", len(lines), shown.nrows)
    for r, line in enumerate(lines):
        words = [w for w in line.split("  ") if w.strip()]
        cells = [t for t in texts(shown)[r] if t != ""]
        expect(f"grouped.txt line {r}", [w.strip() for w in words], cells)
    expect("grouped.txt equal widths", len({len(l.encode("gbk")) for l in lines}) == 1, False)


def check_merged(folder):
    _, sh = sheet(folder, "merged")
    expect("merged cells", texts(sh), [["K", "V"], ["A", "1"], ["", "2"], ["B", "3"]])
    expect("merged ranges", sh.merged_cells, [(1, 3, 0, 1)])
    expect("merged.txt", text_lines(folder, "merged"), ["K  V  ", "A  1  ", "   2  ", "B  3  "])


def check_preview(folder):
    _, sh = sheet(folder, "preview")
    rows = texts(sh)
    expect("preview rows", [r[0] for r in rows],
           ["K", "a", "short note", "b", "a much longer note that needs more than three lines of the preview"])
    expect("preview spans the data width", sorted(sh.merged_cells), [(2, 3, 0, 2), (4, 5, 0, 2)])
    heights = {r: sh.rowinfo_map[r].height for r in sh.rowinfo_map}
    # One line of text plus 6 pixels, and at most three base rows.
    expect("preview heights", sorted(heights), [2, 4])
    expect("preview capped at three base rows", heights[4] > 2 * heights[2], True)
    lines = text_lines(folder, "preview")
    expect("preview.txt", [[w.strip() for w in l.split("  ") if w.strip()] for l in lines],
           [[t for t in r if t] for r in rows])


def check_master_detail(folder):
    # The workbook has no cell cache: only the master rows.
    _, sh = sheet(folder, "masterdetail")
    expect("masterdetail.xls", texts(sh), [["Master", ""], ["-", "m1"], ["-", "m2"]])
    # The text writer has one: each expanded master row is followed by the
    # row of its nested detail (written as an empty cell).
    lines = text_lines(folder, "masterdetail")
    expect("masterdetail.txt", [l.split() for l in lines], [["Master"], ["-", "m1"], [], ["-", "m2"], []])
    # The page nests each detail as a table in the cell below its master row.
    with open(os.path.join(folder, "masterdetail.html"), "rb") as f:
        page = lxml.html.fromstring(f.read())
    tables = page.xpath("//table")
    expect("masterdetail.html tables", len(tables), 3)
    nested = page.xpath("//table//table")
    expect("masterdetail.html nested", [[td.text_content() for td in t.xpath(".//td") if td.text_content()]
                                        for t in nested], [["Detail", "d00", "d01"], ["Detail", "d10", "d11"]])
    outer_rows = tables[0].xpath("./tr|./tbody/tr")
    def row_of(text):
        return [i for i, tr in enumerate(outer_rows) if any(td.text == text for td in tr.xpath("./td"))]
    holders = [i for i, tr in enumerate(outer_rows) if tr.xpath("./td/table")]
    expect("masterdetail.html details follow their masters", holders, [row_of("m1")[0] + 1, row_of("m2")[0] + 1])


def main():
    folder = tempfile.mkdtemp(prefix="kv_tve_")
    subprocess.run([GEN, folder], check=True)
    check_plain(folder)
    check_grouped(folder)
    check_merged(folder)
    check_preview(folder)
    check_master_detail(folder)
    for f in FAILURES:
        print(f)
    print("table view exports read back" if not FAILURES else f"{len(FAILURES)} checks failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())

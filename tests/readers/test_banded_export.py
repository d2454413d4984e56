"""A banded table view exported to a workbook, read back by xlrd: band
header cells merged over their columns, the band's fill colour in every data
row, group rows and the footer, values as numbers."""
import os
import subprocess
import sys
import tempfile

import xlrd

GEN = os.path.join(os.environ["KV_READER_GEN_DIR"], "gen_banded_export")

FAILURES = []


def expect(label, got, want):
    if got != want:
        FAILURES.append(f"{label}: got {got!r}, expected {want!r}")


def fill(book, sh, r, c):
    xf = book.xf_list[sh.cell_xf_index(r, c)]
    return book.colour_map.get(xf.background.pattern_colour_index)


def main():
    folder = tempfile.mkdtemp(prefix="kv_banded_")
    subprocess.run([GEN, folder], check=True)
    book = xlrd.open_workbook(os.path.join(folder, "banded.xls"), formatting_info=True,
                              logfile=open(os.devnull, "w"))
    sh = book.sheet_by_index(0)
    rows = [[sh.cell_value(r, c) for c in range(sh.ncols)] for r in range(sh.nrows)]
    # Columns: the group indent (20 px), Name (after the indent), City, the
    # rest of the 200-pixel first band, Amount.  Rows: band headers, column
    # headers, group East, two records, group West, one record, the footer.
    expect("size", (sh.nrows, sh.ncols), (8, 5))
    expect("band headers", (rows[0][0], rows[0][4]), ("客户", "金额"))
    expect("band header over its columns", (0, 1, 0, 4) in sh.merged_cells, True)
    expect("column headers", [rows[1][c] for c in (0, 2, 4)], ["Name", "City", "Amount"])
    expect("Name header over the indent", (1, 2, 0, 2) in sh.merged_cells, True)
    expect("group rows", [(rows[r][0], rows[r][1]) for r in (2, 5)], [("-", "Region : East"), ("-", "Region : West")])
    expect("records", [rows[r][1:3] + [rows[r][4]] for r in (3, 4, 6)],
           [["张三", "北京", 10.5], ["李四", "上海", 20.0], ["王五", "广州", 30.25]])
    expect("amount cells are numbers", {sh.cell_type(r, 4) for r in (3, 4, 6, 7)}, {xlrd.XL_CELL_NUMBER})
    expect("footer sum", rows[7][4], 60.75)
    # The first band has a yellow content style: it fills the band's area
    # that its columns leave free in every data row; the cells keep the
    # window colour; the header rows show no band content.
    yellow = (255, 255, 0)
    expect("band colour in the data rows", {fill(book, sh, r, 3) for r in (3, 4, 6)}, {yellow})
    expect("cells keep their colour", yellow in {fill(book, sh, r, c) for r in (3, 4, 6) for c in (1, 2, 4)}, False)
    expect("no band content in the header", fill(book, sh, 1, 3) != yellow, True)
    no_overlap = set()
    for r0, r1, c0, c1 in sh.merged_cells:
        for r in range(r0, r1):
            for c in range(c0, c1):
                if (r, c) in no_overlap:
                    FAILURES.append(f"merged ranges overlap at {(r, c)}")
                no_overlap.add((r, c))
    for f in FAILURES:
        print(f)
    print("banded view export read back" if not FAILURES else f"{len(FAILURES)} checks failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())

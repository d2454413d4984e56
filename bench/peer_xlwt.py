#!/usr/bin/python3
"""Peer for the CSV-to-workbook comparison: writes a CSV file as an .xls
workbook with xlwt (Debian's python3-xlwt).

The first row is the header (written as text).  Each column's kind comes from
its first non-empty value: integer, number, date (yyyy-mm-dd), date-time
(yyyy-mm-dd hh:nn:ss) or text; cells are written with their native type,
dates and date-times with a date format.  Empty values are left out.

    peer_xlwt.py IN.csv OUT.xls
"""
import csv
import datetime
import re
import sys

import xlwt

DATE = re.compile(r"^\d{4}-\d{2}-\d{2}$")
DATETIME = re.compile(r"^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$")
INTEGER = re.compile(r"^-?(0|[1-9]\d*)$")
NUMBER = re.compile(r"^-?\d+(\.\d+)?([eE][-+]?\d+)?$")


def kind_of(text):
    if INTEGER.match(text):
        return "int"
    if NUMBER.match(text):
        return "float"
    if DATE.match(text):
        return "date"
    if DATETIME.match(text):
        return "datetime"
    return "text"


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8-sig", newline="") as f:
        rows = csv.reader(f)
        header = next(rows)
        book = xlwt.Workbook(encoding="utf-8")
        sheet = book.add_sheet("Sheet1")
        date_style = xlwt.easyxf(num_format_str="yyyy-mm-dd")
        datetime_style = xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm:ss")
        for c, name in enumerate(header):
            sheet.write(0, c, name)
        kinds = [None] * len(header)
        for r, row in enumerate(rows, start=1):
            for c, text in enumerate(row):
                if text == "":
                    continue
                kind = kinds[c]
                if kind is None:
                    kind = kinds[c] = kind_of(text)
                if kind == "int":
                    sheet.write(r, c, int(text))
                elif kind == "float":
                    sheet.write(r, c, float(text))
                elif kind == "date":
                    sheet.write(r, c, datetime.datetime.fromisoformat(text), date_style)
                elif kind == "datetime":
                    sheet.write(r, c, datetime.datetime.fromisoformat(text), datetime_style)
                else:
                    sheet.write(r, c, text)
            if r % 1000 == 0:
                sheet.flush_row_data()  # xlwt's own way to keep a big sheet's memory down
        book.save(target)


if __name__ == "__main__":
    main()

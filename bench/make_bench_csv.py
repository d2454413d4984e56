#!/usr/bin/python3
"""Writes the benchmark CSV: by default 65,000 rows x 20 columns, always the
same bytes for the same row count.

The file is UTF-8 with a header row, as the CSV loader reads it.  Columns, in
this order, four of each kind and two of each date kind:
  integers   id, qty, delta, score
  floats     price, rate, amount, weight  (always with a decimal point)
  ASCII      code, name, note, email      (note: some values hold a comma and
                                           are quoted, every 17th is empty)
  Chinese    city, customer, product, remark
  dates      order_date, ship_date        (yyyy-mm-dd)
  date-times created, updated             (yyyy-mm-dd hh:nn:ss)
The values come from a fixed linear congruential generator, so the file does
not depend on the Python version.

    make_bench_csv.py OUT.csv [--rows N]
"""
import argparse
import datetime

COLUMNS = [
    "id", "qty", "delta", "score",
    "price", "rate", "amount", "weight",
    "code", "name", "note", "email",
    "city", "customer", "product", "remark",
    "order_date", "ship_date", "created", "updated",
]

WORDS = ["alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota", "kappa",
         "lambda", "omicron", "sigma", "omega"]
SURNAMES = ["Smith", "Jones", "Brown", "Taylor", "Wilson", "Clark", "Lewis", "Walker"]
CITIES = ["北京市", "上海市", "广州市天河区", "深圳市", "杭州市西湖区", "成都市", "武汉市", "南京市鼓楼区",
          "西安市", "重庆市渝中区"]
FAMILY = ["王", "李", "张", "刘", "陈", "杨", "黄", "赵", "周", "吴"]
GIVEN = ["伟", "芳", "娜", "秀英", "敏", "静", "丽", "强", "磊", "洋", "艳", "勇"]
PRODUCTS = ["办公椅（黑色）", "笔记本电脑", "激光打印机", "文件柜", "会议桌", "显示器 27 英寸", "无线鼠标",
            "机械键盘", "投影仪", "碎纸机"]
REMARKS = ["请尽快发货", "客户要求周末送达", "已电话确认地址", "发票抬头为公司全称", "包装需加固，易碎品",
           "按合同第 3 条执行", "首次订购，赠送礼品", "退货后重新下单", "与上月订单合并结算", "无"]


class Lcg:
    """64-bit linear congruential generator (Knuth's MMIX constants)."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.state >> 33) % n


def row_values(r, g):
    day0 = datetime.date(2015, 1, 1)
    order = day0 + datetime.timedelta(days=g.next(3650))
    ship = order + datetime.timedelta(days=g.next(30))
    created = datetime.datetime(order.year, order.month, order.day, g.next(24), g.next(60), g.next(60))
    updated = created + datetime.timedelta(seconds=g.next(90 * 86400))
    note = ""
    k = g.next(4)
    if r % 17 != 0:
        note = ('"%s, %s"' % (SURNAMES[g.next(len(SURNAMES))], WORDS[g.next(len(WORDS))]) if k == 0
                else "%s %s %d" % (WORDS[g.next(len(WORDS))], WORDS[g.next(len(WORDS))], g.next(1000)))
    return [
        str(r),
        str(g.next(10000)),
        str(g.next(100001) - 50000),
        str(g.next(101)),
        "%d.%02d" % (g.next(100000), g.next(100)),
        "0.%06d" % g.next(1000000),
        "%s%d.%03d" % ("-" if g.next(5) == 0 else "", g.next(1000000) + 1, g.next(1000)),
        "%d.%d" % (g.next(500), g.next(10)),
        "SKU-%06d-%s" % (g.next(1000000), "ABCDEFGH"[g.next(8)]),
        "%s-%s" % (WORDS[g.next(len(WORDS))], WORDS[g.next(len(WORDS))]),
        note,
        "%s.%d@example.com" % (SURNAMES[g.next(len(SURNAMES))].lower(), g.next(10000)),
        CITIES[g.next(len(CITIES))],
        FAMILY[g.next(len(FAMILY))] + GIVEN[g.next(len(GIVEN))],
        PRODUCTS[g.next(len(PRODUCTS))],
        "%s（订单 %d）%s" % (REMARKS[g.next(len(REMARKS))], r, CITIES[g.next(len(CITIES))]),
        order.isoformat(),
        ship.isoformat(),
        created.strftime("%Y-%m-%d %H:%M:%S"),
        updated.strftime("%Y-%m-%d %H:%M:%S"),
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("out")
    parser.add_argument("--rows", type=int, default=65000)
    args = parser.parse_args()
    g = Lcg(20240611)
    with open(args.out, "w", encoding="utf-8", newline="") as f:
        f.write(",".join(COLUMNS) + "\r\n")
        for r in range(1, args.rows + 1):
            f.write(",".join(row_values(r, g)) + "\r\n")


if __name__ == "__main__":
    main()

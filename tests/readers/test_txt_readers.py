"""Text files written by the text writer read back as the same Chinese text
when decoded as GBK, with columns padded by GBK byte counts."""
import os
import subprocess
import sys
import tempfile

GEN = os.path.join(os.environ["KV_READER_GEN_DIR"], "gen_txt_files")

ROWS = [
    ["编号", "名称", "金额", "备注"],
    ["1", "朱镕基路", "￥1,234.50", "《说明》—甲"],
    ["22", "abc", "", "混合 mixed 文本"],
    ["333", "", "0.5", ""],
]


def padded(rows):
    """The padded layout, widths counted in GBK bytes."""
    cols = max(len(r) for r in rows)
    full = [r + [""] * (cols - len(r)) for r in rows]
    widths = [max(len(r[c].encode("gbk")) for r in full) for c in range(cols)]
    lines = []
    for r in full:
        line = ""
        for c, text in enumerate(r):
            line += text + " " * (2 + max(0, widths[c] - len(text.encode("gbk"))))
        lines.append(line + "\r\n")
    return "".join(lines)


def separated(rows, sep, prefix, suffix):
    cols = max(len(r) for r in rows)
    full = [r + [""] * (cols - len(r)) for r in rows]
    return "".join(sep.join(prefix + t + suffix for t in r) + "\r\n" for r in full)


def run(tmp, name, extra):
    cells = os.path.join(tmp, name + ".tsv")
    with open(cells, "w", encoding="utf-8", newline="") as f:
        f.write("\n".join("\t".join(r) for r in ROWS) + "\n")
    out = os.path.join(tmp, name + ".txt")
    subprocess.run([GEN, cells, out] + extra, check=True)
    with open(out, "rb") as f:
        return f.read()


def check(label, data, expected):
    text = data.decode("gbk")  # strict: every byte sequence must be GBK
    if text != expected:
        print(f"{label}: decoded text differs\n got      {text!r}\n expected {expected!r}")
        return False
    if data != expected.encode("gbk"):
        print(f"{label}: bytes differ from the GBK encoding of the expected text")
        return False
    try:
        data.decode("utf-8")
        print(f"{label}: file is valid UTF-8, so it was not written in GBK")
        return False
    except UnicodeDecodeError:
        pass
    return True


def main():
    tmp = tempfile.mkdtemp(prefix="kv_txt_")
    ok = check("padded", run(tmp, "padded", []), padded(ROWS))
    ok &= check("separated", run(tmp, "separated", [",", "「", "」"]), separated(ROWS, ",", "「", "」"))
    print("text files read back as GBK" if ok else "text file check failed")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

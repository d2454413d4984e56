"""The independent readers that the file checks rely on are installed."""
import importlib.util
import shutil
import sys

missing = [m for m in ("xlrd", "olefile", "dbfread", "lxml") if importlib.util.find_spec(m) is None]
missing += [p for p in ("xsltproc", "antiword", "soffice") if shutil.which(p) is None]
if missing:
    print("missing readers:", ", ".join(missing))
    sys.exit(1)
print("all readers present")

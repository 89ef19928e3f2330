"""Independent reader for the compound-file tests (run with /usr/bin/python3).

list FILE: every storage ("D path") and stream ("F path size md5"), sorted.
meta FILE: the summary information's title, author, comments and subject,
           and whether the document summary information set parses.
"""
import hashlib
import sys

import olefile


def main():
    mode, path = sys.argv[1], sys.argv[2]
    # Incorrect structures are errors here, not just warnings.
    ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_INCORRECT)
    out = []
    if mode == "list":
        for parts in ole.listdir(streams=True, storages=True):
            name = "/".join(parts)
            if ole.get_type(parts) == olefile.STGTY_STORAGE:
                out.append("D " + name)
            else:
                data = ole.openstream(parts).read()
                if len(data) != ole.get_size(parts):
                    raise SystemExit("size mismatch in " + name)
                out.append("F %s %d %s" % (name, len(data), hashlib.md5(data).hexdigest()))
        out.sort()
    elif mode == "meta":
        meta = ole.get_metadata()
        for field in ("title", "author", "comments", "subject"):
            value = getattr(meta, field)
            if isinstance(value, bytes):
                value = value.decode("cp1252")
            out.append("%s=%s" % (field, value))
        out.append("codepage=%s" % meta.codepage)
        doc = ole.getproperties("\x05DocumentSummaryInformation")
        out.append("docprops=%s" % sorted(doc.items()))
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


main()

# Makes the empty library database: MakeTemplate.py out.mdb
# (MakeLibrary.py imports the schema from here.)
#
# Two tables, one row per album and one per track, both keyed by the album id
# "ZYMID". Type words are Jet's, which the provider reports as OLE DB types;
# texts compare without case, as Jet's do. Texts that can outgrow 255
# characters (paths, URLs, keyword lists, notes) are long texts, so that
# nothing is cut when it is written.
import os
import sqlite3
import sys

# Columns 0-24, the same in both tables.
SHARED = [
    ("Title", "TEXT(255)"), ("Artist", "TEXT(255)"),
    ("Minutes", "INTEGER"), ("Seconds", "INTEGER"), ("Frames", "INTEGER"),
    ("Keywords", "LONGTEXT"), ("ImageFile", "LONGTEXT"), ("SoundFile", "LONGTEXT"),
    ("URL", "LONGTEXT"), ("MemoText", "TEXT(255)"), ("CDText", "LONGTEXT"),
    ("Group", "INTEGER"), ("Notes", "LONGTEXT"), ("Lyrics", "LONGTEXT"), ("NeverPlay", "YESNO"),
    ("Rating1", "INTEGER"), ("Rating2", "INTEGER"), ("Rating3", "INTEGER"), ("Rating4", "INTEGER"),
    ("DateAdded", "DATETIME"), ("DateReleased", "DATETIME"), ("DateLastPlayed", "DATETIME"),
    ("TimesPlayed", "INTEGER"), ("TimePlayed", "INTEGER"), ("ZYMID", "TEXT(50)"),
]
TABLES = {
    "Albums": SHARED + [
        ("Player", "INTEGER"), ("Position", "INTEGER"), ("LocationValid", "YESNO"),
        ("SonyID", "TEXT(8)"), ("CDDBID", "TEXT(8)"), ("ExactID", "TEXT(8)"), ("Tracks", "INTEGER"),
    ],
    "Tracks": SHARED + [("Track", "INTEGER")],
}


def column(name, kind):
    text = kind.startswith("TEXT") or kind == "LONGTEXT"
    return '"%s" %s%s' % (name, kind, " COLLATE NOCASE" if text else "")


def new_database(target):
    """A new library file at target, with its tables and no rows, left open."""
    if os.path.exists(target):
        os.remove(target)
    db = sqlite3.connect(target)
    for table, columns in TABLES.items():
        db.execute("CREATE TABLE %s (%s)" % (table, ", ".join(column(n, k) for n, k in columns)))
        db.execute('CREATE INDEX %sZYMID ON %s ("ZYMID")' % (table, table))
    return db


if __name__ == "__main__":
    db = new_database(sys.argv[1])
    db.commit()
    db.close()

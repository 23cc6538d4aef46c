# Makes the empty library database from the schema: MakeTemplate.py schema.sql out.mdb
import os
import sqlite3
import sys

schema, target = sys.argv[1], sys.argv[2]
if os.path.exists(target):
    os.remove(target)
db = sqlite3.connect(target)
with open(schema) as f:
    db.executescript(f.read())
db.commit()
db.close()

#!/usr/bin/env python3
"""SQLite FTS5 with the trigram tokenizer on the search corpus's poems and phrases, for
comparison with bench_search: build time, file size, and the median and 99th percentile
of one query each (a LIKE each; the trigram index cannot serve phrases of one or two
characters, which scan every poem).

    LYREVANE_BENCH_DUMP=/tmp/search-bench build-bench/bench/bench_search
    bench/search-fts5.py /tmp/search-bench
"""
import os
import sqlite3
import statistics
import sys
import time

folder = sys.argv[1]
db_path = os.path.join(folder, "fts5.db")
if os.path.exists(db_path):
    os.remove(db_path)
poems = open(os.path.join(folder, "poems.txt"), encoding="utf-8").read().split("\n")
phrases = [p for p in open(os.path.join(folder, "phrases.txt"), encoding="utf-8").read().split("\n") if p]

db = sqlite3.connect(db_path)
start = time.perf_counter()
db.execute("CREATE VIRTUAL TABLE poems USING fts5(words, tokenize='trigram', detail='none')")
db.executemany("INSERT INTO poems(words) VALUES (?)", ((p,) for p in poems))
db.commit()
db.execute("INSERT INTO poems(poems) VALUES ('optimize')")
db.commit()
built = time.perf_counter() - start
size = os.path.getsize(db_path)
text = sum(len(p.encode("utf-8")) for p in poems)

times = {"short": [], "long": []}
for p in phrases:
    start = time.perf_counter()
    # The trigram index serves LIKE for three characters or more; shorter ones scan.
    n = db.execute("SELECT count(*) FROM poems WHERE words LIKE ?", ("%" + p + "%",)).fetchone()[0]
    times["short" if len(p) < 3 else "long"].append((time.perf_counter() - start) * 1000)

print(f"FTS5 trigram: built in {built:.1f} s, {size / 1e6:.1f} MB for {text / 1e6:.1f} MB of words")
for kind, ms in times.items():
    ms.sort()
    print(f"  {kind} phrases ({len(ms)}): median {statistics.median(ms):.2f} ms, "
          f"p99 {ms[int(len(ms) * 0.99)]:.2f} ms, max {ms[-1]:.2f} ms")

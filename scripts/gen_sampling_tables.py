#!/usr/bin/env python3
"""Writes host/db/200_sampling_tables.sql and tests/host_db/data/single_sampling_plans.csv.

    scripts/gen_sampling_tables.py DATA_DIR

DATA_DIR holds the transcribed tables: code_letters.csv (lot-size ranges and code letters),
plans_normal.csv, plans_tightened.csv, plans_reduced.csv (cells "ac re", "down", "up" or empty)
and sources/aqlschemes_single_resolved.csv, an independent transcription with every arrow
already followed. The seed takes the plan tables; the test data takes the independent
transcription, and is written only when it agrees with this script's own arrow-following, so a
slip in either shows up here rather than as a wrong test expectation.

Both outputs are committed: the build and CI never run this script.
"""

import csv
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SEED = ROOT / "host" / "db" / "200_sampling_tables.sql"
TEST_DATA = ROOT / "tests" / "host_db" / "data" / "single_sampling_plans.csv"

STRICTNESS = [("YGD01", "normal", "plans_normal.csv"),
              ("YGD02", "tightened", "plans_tightened.csv"),
              ("YGD03", "reduced", "plans_reduced.csv")]
LEVELS = [("FS1", "S1"), ("FS2", "S2"), ("FS3", "S3"), ("FS4", "S4"),
          ("FC1", "I"), ("FC2", "II"), ("FC3", "III")]
DOWN, UP = "\u2193", "\u2191"
BASE_DATA = ROOT / "host" / "db" / "030_quality_base.sql"
FIRST_AQL_ID = 25  # after the base data's strictness, methods, levels, results and sample types


def fail(message):
    sys.exit("gen_sampling_tables: " + message)


def read_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f))


def token(aql):
    return aql.replace(".", "_")


def read_plans(path, aqls):
    rows = read_csv(path)
    if rows[0][2:] != aqls:
        fail(f"{path.name}: AQL columns differ from plans_normal.csv")
    plans = []
    for r in rows[1:]:
        cells = r[2:]
        if len(cells) != len(aqls):
            fail(f"{path.name}: row {r[0]} has {len(cells)} cells")
        for c in cells:
            if c not in ("down", "up", "") and len(c.split()) != 2:
                fail(f"{path.name}: row {r[0]}: cell {c!r}")
        plans.append((r[0], int(r[1]), cells))
    return plans


def follow(plans, row, col):
    """The row whose plan a cell stands for; None for an empty cell."""
    cell = plans[row][2][col]
    if cell == "":
        return None
    step = {"down": 1, "up": -1}.get(cell, 0)
    target = row
    while plans[target][2][col] in ("down", "up"):
        target += step
        if not 0 <= target < len(plans) or plans[target][2][col] == "":
            fail(f"arrow at {plans[row][0]}/{col} leads to no plan")
        if plans[target][2][col] in ("down", "up") and plans[target][2][col] != cell:
            fail(f"arrow at {plans[row][0]}/{col} meets an opposite arrow")
    return target


def resolve(plans):
    """Per row, per column: (n, ac, re) of the plan the cell stands for, or None."""
    out = []
    for i in range(len(plans)):
        resolved = []
        for j in range(len(plans[i][2])):
            t = follow(plans, i, j)
            if t is None:
                resolved.append(None)
            else:
                ac, re = plans[t][2][j].split()
                resolved.append((plans[t][1], int(ac), int(re)))
        out.append(resolved)
    return out


def check_samples_rise(name, plans):
    # The plan query finds an arrow's plan as the smallest (or largest) sample size among the
    # usable rows past the arrow's letter: that is the nearest one only while sample sizes never
    # fall as letters rise.
    letters = [p[0] for p in plans]
    if letters != sorted(letters):
        fail(f"{name}: code letters out of text order")
    samples = [p[1] for p in plans]
    if samples != sorted(samples):
        fail(f"{name}: sample sizes fall somewhere")


def check_letters_rise(letters):
    for _, level in LEVELS:
        column = [r[level] for r in letters]
        if column != sorted(column):
            fail(f"code_letters.csv: level {level} has a letter falling as lot sizes rise")


def sql_text(s):
    return "NULL" if s is None else "'" + s.replace("'", "''") + "'"


def wrap(items, indent, first=None, width=100):
    lines, line = [], indent if first is None else first
    for k, item in enumerate(items):
        piece = item + ("," if k < len(items) - 1 else "")
        # room for the '),' that may follow the last item
        if len(line) + len(piece) + 2 > width and line.strip():
            lines.append(line.rstrip())
            line = indent
        line += piece + " "
    lines.append(line.rstrip())
    assert all(len(x) + 2 <= width for x in lines)
    return "\n".join(lines)


def aql_ids(count):
    """QMAInfo IDs for the AQL records: upward from FIRST_AQL_ID, past the base data's own
    (50 is the code-letter sampling method)."""
    text = BASE_DATA.read_text(encoding="utf-8")
    block = text[text.index("INSERT INTO QMAInfo"):]
    block = block[:block.index(";")]
    taken = {int(m) for m in re.findall(r"\(\s*(\d+)\s*,", block)}
    ids, next_id = [], FIRST_AQL_ID
    while len(ids) < count:
        if next_id not in taken:
            ids.append(next_id)
        next_id += 1
    return ids


def seed_sql(letters, aqls, tables):
    out = []
    w = out.append
    w("""-- Sampling tables of the code-letter method (single sampling, inspection by attributes).
-- Generated by scripts/gen_sampling_tables.py from the transcribed tables; edit that.
--
-- QMSampleLetter: one row per lot-size range, FUp NULL for the open last one; FS1..FS4 the
-- letters of the special levels S1..S4, FC1..FC3 those of the general levels I, II, III.
-- QM105E: one row per strictness (FYGD) and letter; FAQL_<aql>_AC/_RE the plan's numbers.
-- vw_QM105E: the cells as the tables print them, kept in QM105ECell: 'ac re', '\u2193', '\u2191',
-- or '' where there is no plan.
--
-- The plug-in's plan query moves only the sample size along an arrow (to the nearest row past
-- it whose cell is not an arrow) and reads Ac/Re from the arrow's own row, so an arrow's row
-- holds the Ac/Re of the plan the arrow leads to. An empty cell has NULL Ac/Re. Only the
-- tightened letter S has empty cells, and no lot size gets S directly (the letters stop at
-- R): the row is there for the arrows under AQL 0.025 that lead to it. The query would take an
-- empty cell for an arrow's plan too, but every other arrow meets a plan first.
-- The query compares letters as text and needs sample sizes never to fall as letters rise
-- (the reduced A, B and C all sample 2); its rows come in lot-size order, which the plug-in
-- pairs with its grid by position, only while no level's letter falls as lot sizes rise.
-- The generator checks all three.
""")
    w("CREATE TABLE QMSampleLetter (\n    FID   INTEGER PRIMARY KEY,\n"
      "    FLow  INTEGER NOT NULL,\n    FUp   INTEGER,\n"
      + "".join(f"    {col} TEXT NOT NULL,\n" for col, _ in LEVELS[:-1])
      + f"    {LEVELS[-1][0]} TEXT NOT NULL\n);\n")
    w("INSERT INTO QMSampleLetter (FID, FLow, FUp, " + ", ".join(c for c, _ in LEVELS)
      + ") VALUES")
    rows = []
    for i, r in enumerate(letters, start=1):
        up = r["lot_max"] or "NULL"
        rows.append(f"    ({i}, {r['lot_min']}, {up}, "
                    + ", ".join(f"'{r[lv]}'" for _, lv in LEVELS) + ")")
    w(",\n".join(rows) + ";\n")

    numeric = []
    for a in aqls:
        numeric += [f"FAQL_{token(a)}_AC INTEGER", f"FAQL_{token(a)}_RE INTEGER"]
    w("CREATE TABLE QM105E (\n    FID INTEGER PRIMARY KEY,\n    FYGD TEXT NOT NULL,\n"
      "    FCode TEXT NOT NULL,\n    FSample INTEGER NOT NULL,\n"
      + wrap(numeric, "    ") + ",\n    UNIQUE (FYGD, FCode)\n);\n")
    w("CREATE TABLE QM105ECell (\n    FID INTEGER PRIMARY KEY REFERENCES QM105E (FID),\n"
      + wrap([f"F{token(a)}_AC_RE TEXT NOT NULL" for a in aqls], "    ") + "\n);\n")
    w("CREATE VIEW vw_QM105E AS\nSELECT q.FID, q.FYGD, q.FCode, q.FSample,\n"
      + wrap([f"c.F{token(a)}_AC_RE" for a in aqls], "       ")
      + "\nFROM QM105E q INNER JOIN QM105ECell c ON c.FID = q.FID;\n")

    fid = 0
    numbers, cells = [], []
    for ygd, _, plans, resolved in tables:
        for (code, n, raw), res in zip(plans, resolved):
            fid += 1
            vals = []
            for plan in res:
                # one item per AQL, so that a line never splits an Ac from its Re
                vals.append("NULL, NULL" if plan is None else f"{plan[1]}, {plan[2]}")
            head = [str(fid), f"'{ygd}'", f"'{code}'", str(n)]
            numbers.append(wrap(head + vals, "     ", "    ("))
            text = [{"down": DOWN, "up": UP}.get(c, c) for c in raw]
            cells.append(wrap([str(fid)] + [sql_text(t) for t in text], "     ", "    ("))
    w("-- Ac/Re, AQL by AQL in the column order above; arrows already followed.")
    w("INSERT INTO QM105E VALUES\n" + ",\n".join(r + ")" for r in numbers) + ";\n")
    w("INSERT INTO QM105ECell VALUES\n" + ",\n".join(r + ")" for r in cells) + ";\n")

    w("-- The AQL values, numbered as the tables print them; the plug-in turns the number into")
    w("-- its columns ('.' to '_'). ID 50 is the code-letter sampling method's, so 1000 takes 51.")
    w("INSERT INTO QMAInfo (FID, FNumber, FName, FClassTypeID) VALUES")
    w(",\n".join(f"    ({i}, '{a}', '{a}', 1001303)"
                 for i, a in zip(aql_ids(len(aqls)), aqls)) + ";")
    return "\n".join(out)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    data = pathlib.Path(sys.argv[1])
    letters = list(csv.DictReader(open(data / "code_letters.csv", newline="", encoding="utf-8")))
    if len(letters) != 15 or letters[-1]["lot_max"] != "":
        fail("code_letters.csv: expected 15 ranges, the last one open")
    check_letters_rise(letters)
    aqls = read_csv(data / "plans_normal.csv")[0][2:]
    tables = []
    for ygd, name, file in STRICTNESS:
        plans = read_plans(data / file, aqls)
        check_samples_rise(name, plans)
        tables.append((ygd, name, plans, resolve(plans)))

    # The independent transcription must agree with our own arrow-following on every cell a
    # lot size can reach, and cover exactly those cells.
    ours = {}
    for _, name, plans, resolved in tables:
        for (code, _, _), res in zip(plans, resolved):
            for a, plan in zip(aqls, res):
                ours[(name, code, a)] = plan
    reachable = {r[lv] for r in letters for _, lv in LEVELS}
    theirs = list(csv.DictReader(open(data / "sources" / "aqlschemes_single_resolved.csv",
                                      newline="", encoding="utf-8")))
    keys = set()
    for r in theirs:
        key = (r["strictness"], r["code"], r["aql"])
        plan = (int(r["n"]), int(r["ac"]), int(r["re"]))
        if ours.get(key) != plan:
            fail(f"resolved transcription {key}: {plan}, arrows followed here: {ours.get(key)}")
        keys.add(key)
    wanted = {k for k in ours if k[1] in reachable}
    if keys != wanted:
        fail(f"resolved transcription covers {len(keys)} cells, lot sizes reach {len(wanted)}")

    SEED.write_text(seed_sql(letters, aqls, tables) + "\n", encoding="utf-8")
    TEST_DATA.parent.mkdir(parents=True, exist_ok=True)
    with open(TEST_DATA, "w", newline="", encoding="utf-8") as f:
        f.write("strictness,code,aql,n,ac,re\n")
        for r in theirs:
            f.write(f"{r['strictness']},{r['code']},{r['aql']},{r['n']},{r['ac']},{r['re']}\n")
    print(f"wrote {SEED.relative_to(ROOT)} and {TEST_DATA.relative_to(ROOT)}")


if __name__ == "__main__":
    main()

#!/usr/bin/env bash
# Four velaqm processes save bills into one database file at the same time: every save they
# report as done is in the file once, under a number no other bill has, and no save fails.
#   concurrent_writers.sh VELAQM SEED_DB [WRITERS] [SAVES]
set -euo pipefail
velaqm=$1
seed=$2
writers=${3:-4}
saves=${4:-50}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$seed" "$work/shared.db"

for w in $(seq 1 "$writers"); do
    {
        for i in $(seq 1 "$saves"); do
            printf 'new 1001910\nedit FContent "writer %d save %d"\nsave\nexpect saved\n' "$w" "$i"
        done
    } >"$work/writer$w.vqs"
done

pids=()
for w in $(seq 1 "$writers"); do
    "$velaqm" run --db "$work/shared.db" "$work/writer$w.vqs" >"$work/writer$w.out" 2>&1 &
    pids+=($!)
done
failed=0
for w in $(seq 1 "$writers"); do
    if ! wait "${pids[$((w - 1))]}"; then
        echo "writer $w failed:" >&2
        cat "$work/writer$w.out" >&2
        failed=1
    fi
done
[ "$failed" = 0 ] || exit 1

query() { "$velaqm" sql --db "$work/shared.db" "$1" | tail -n +2; }
expected=$((writers * saves))
bills=$(query "SELECT COUNT(*) FROM QMClientServiceLog WHERE FContent LIKE 'writer %'")
numbers=$(query "SELECT COUNT(DISTINCT FBillNo) FROM QMClientServiceLog WHERE FContent LIKE 'writer %'")
contents=$(query "SELECT COUNT(DISTINCT FContent) FROM QMClientServiceLog WHERE FContent LIKE 'writer %'")
locks=$(query "SELECT COUNT(*) FROM t_BillMutex WHERE FClassTypeID = 1001910")
echo "saves $expected: bills $bills, distinct numbers $numbers, distinct contents $contents, edit locks left $locks"
[ "$bills" = "$expected" ] && [ "$numbers" = "$expected" ] && [ "$contents" = "$expected" ] &&
    [ "$locks" = 0 ]

#!/usr/bin/env bash
# Opt-in: what `orviadic lookup` finds beside what `dict` finds over a local dictd serving
# the same GCIDE, for random headwords of GCIDE's index in random case: for each word,
# whether each finds it and how many entries each gives. Prints the counts and every word
# where the two differ, with both answers, for a person to name the cause.
# Runs the main job first (builds, compiles and installs GCIDE) unless ORVIADIC_TOOL names
# a tool whose registry (ORVIADIC_REGISTRY_DIR) already holds GCIDE as 0x00010101.
# usage: entries_vs_dictd.sh [COUNT [SEED]]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
count=${1:-1000}
seed=${2:-22}
if [ -z "${ORVIADIC_TOOL:-}" ]; then
  bash "$root/scripts/run.sh" >/dev/null
  export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
  ORVIADIC_TOOL="$root/build/main/tools/orviadic"
fi
source "$root/bench/compare/dictd_server.sh"

# The sample: headwords of the index (its first column, UTF-8), each in one of four cases.
python3 - "$count" "$seed" >"$work/words" <<'PY'
import random, sys
count, seed = int(sys.argv[1]), int(sys.argv[2])
words = sorted({line.split("\t")[0] for line in open("/usr/share/dictd/gcide.index", encoding="utf-8")
                if line.strip() and not line.startswith("00database")})
rng = random.Random(seed)
for word in rng.sample(words, count):
    print(rng.choice([str.lower, str.upper, str.title, str])(word))
PY

# One connection to dictd for every word (the DICT protocol's DEFINE answers "150 N
# definitions retrieved" or "552 no match"); one lookup process per word.
python3 - "$work/words" "$port" "$ORVIADIC_TOOL" >"$work/answers" <<'PY'
import json, socket, subprocess, sys
words = open(sys.argv[1], encoding="utf-8").read().splitlines()
server = socket.create_connection(("127.0.0.1", int(sys.argv[2])))
replies = server.makefile("rb")
replies.readline()  # the banner
def dictd_count(word):
    quoted = '"' + word.replace("\\", "\\\\").replace('"', '\\"') + '"'
    server.sendall(f"DEFINE gcide {quoted}\r\n".encode())
    line = replies.readline().decode()
    if not line.startswith("150"):
        return 0
    count = int(line.split()[1])
    for _ in range(count):  # each text ends with a line holding one "."
        while replies.readline() != b".\r\n":
            pass
    replies.readline()  # "250 ok"
    return count
for word in words:
    run = subprocess.run([sys.argv[3], "lookup", "--json", "0x00010101", "--", word], capture_output=True)
    reply = json.loads(run.stdout) if run.stdout else {"found": False}
    mine = len(reply["entries"]) if reply["found"] else 0
    print(f"{word}\t{dictd_count(word)}\t{mine}")
PY

python3 - "$work/answers" <<'PY'
import sys
rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[1], encoding="utf-8")]
theirs_found = sum(1 for _, t, _ in rows if int(t) > 0)
mine_found = sum(1 for _, _, m in rows if int(m) > 0)
missed = [r for r in rows if int(r[1]) > 0 and int(r[2]) == 0]
extra = [r for r in rows if int(r[1]) == 0 and int(r[2]) > 0]
differ = [r for r in rows if int(r[1]) > 0 and int(r[2]) > 0 and r[1] != r[2]]
print(f"{len(rows)} words: dict finds {theirs_found}, orviadic lookup finds {mine_found}")
print(f"found by dict, not by lookup: {len(missed)}; by lookup, not by dict: {len(extra)}")
print(f"found by both with the same number of entries: {len(rows) - len(missed) - len(extra) - len(differ) - sum(1 for r in rows if r[1] == '0' and r[2] == '0')}")
print(f"found by both, the numbers of entries differ: {len(differ)}")
for name, group in (("missed", missed), ("extra", extra), ("differ", differ)):
    for word, t, m in group:
        print(f"  {name}\t{word}\tdict {t}\tlookup {m}")
PY

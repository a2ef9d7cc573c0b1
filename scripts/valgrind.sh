#!/usr/bin/env bash
# The plain build's tests once under valgrind's memcheck: every test program CTest runs,
# each run whole once (a test program's cases together, not one start per case), with the
# programs it starts traced too. Any memcheck error, definite or indirect leak fails the
# run. Test scripts (shell, Python) run the programs they check outside memcheck and are
# left out. Opt-in: it takes long; not part of the test command.
#
# The pointer probes' fault handler stays the library's: memcheck lets the library install
# it and delivers a probe's fault to it as the kernel does. Touching a guard page is no
# error to memcheck (it tracks allocation, not page protection), but touching an unmapped
# address is, so scripts/valgrind.supp names the probe's one-byte touch; it also silences
# what memcheck reports inside the system's own libraries, each entry with its reason.
# usage: valgrind.sh [CTEST_REGEX]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/plain"
bash "$root/scripts/setup.sh" test
bash "$root/scripts/build.sh" plain >/dev/null
filter=()
[ $# -gt 0 ] && filter=(-R "$1")
ctest --test-dir "$build" --show-only=json-v1 "${filter[@]}" >"$build/valgrind-tests.json"
started=$SECONDS
python3 - "$build/valgrind-tests.json" "$root/scripts/valgrind.supp" <<'PY'
import json, os, subprocess, sys
tests = json.load(open(sys.argv[1]))["tests"]
runs = {}  # program and arguments -> environment and folder, each program run once
for t in tests:
    command = t.get("command") or []
    if not command or command[0].endswith((".sh", ".py")) or os.path.basename(command[0]) in (
            "bash", "sh", "python3", "cmake"):
        continue
    args = [a for a in command[1:] if not a.startswith("--gtest_")]
    props = {p["name"]: p["value"] for p in t.get("properties", [])}
    env = dict(os.environ)
    for assignment in props.get("ENVIRONMENT", []):
        name, _, value = assignment.partition("=")
        env[name] = value
    runs.setdefault(tuple([command[0]] + args), (env, props.get("WORKING_DIRECTORY")))
valgrind = ["valgrind", "--quiet", "--error-exitcode=99", "--suppressions=" + sys.argv[2],
            "--leak-check=full",
            "--show-leak-kinds=definite,indirect", "--errors-for-leak-kinds=definite,indirect",
            "--trace-children=yes",
            # platform_child dies holding a mutex on purpose, leaking its handle.
            "--trace-children-skip=/usr/*,/bin/*,*/platform_child",
            "--child-silent-after-fork=yes"]
failed = []
for command, (env, folder) in sorted(runs.items()):
    name = os.path.basename(command[0])
    result = subprocess.run(valgrind + list(command), env=env, cwd=folder,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    status = "clean" if result.returncode == 0 else f"FAILED ({result.returncode})"
    print(f"{name}: {status}", flush=True)
    if result.returncode != 0:
        failed.append(name)
        sys.stderr.write(result.stderr[-6000:])
print(f"valgrind: {len(runs)} programs, {len(failed)} with errors, leaks or failures")
sys.exit(1 if failed else 0)
PY
echo "valgrind: $((SECONDS - started)) s"

#!/usr/bin/env python3
"""Runs clang-tidy and cppcheck over the translation units of src/ and tools/.

clang-tidy's matchers walk every inline function of the command-line parser's and the JSON
library's headers, which cost far more than the tool file that includes them. The units
that include either are therefore analysed by clang-tidy as few unity units (a generated
file that #includes them, in build/static-analysis/unity), so those headers are parsed and
matched once per group; findings still name the member file and line. Members whose
file-local names clash go to different groups; a group that does not compile is analysed
member by member instead. cppcheck reads no system header and checks every unit alone.

Each tool's verdict on a unit is kept in a cache when it is clean, keyed by the unit's
preprocessed text (every header it reads, with the checkout's folder taken out, so that a
fresh clone elsewhere finds the same keys), its flags, the tool's version, its
configuration and how this script calls it. A unit whose key is in the cache is clean
without running the tool; findings are never cached, so they show again on every run.

usage: static_analysis.py COMPILE_COMMANDS ROOT CACHE_DIR
"""
import concurrent.futures
import hashlib
import json
import os
import pathlib
import re
import resource
import shlex
import subprocess
import sys
import tempfile
import time

TIDY = ["clang-tidy-14", "--quiet"]
CPPCHECK = ["cppcheck", "--enable=warning,performance,portability", "--std=c++17",
            "--inline-suppr", "--suppress=missingIncludeSystem", "--quiet",
            "--error-exitcode=1"]
# The headers that make a unit worth analysing with others in a unity unit.
HEAVY_HEADERS = (b"/CLI/CLI.hpp\"", b"/nlohmann/json.hpp\"")
# Markers unused for this many days are removed, so the cache keeps to the live sources.
CACHE_DAYS = 30


def units_of(commands, root):
    """One compile command per product source (some are built into two libraries)."""
    units = {}
    for entry in commands:
        if entry["file"].startswith((root + "/src/", root + "/tools/")):
            units.setdefault(entry["file"], entry)
    return list(units.values())


def flags_of(entry):
    """The unit's preprocessor and language flags, without its output and source."""
    args = entry.get("arguments") or shlex.split(entry["command"])
    flags, skip = [], False
    for arg in args[1:]:
        if skip:
            skip = False
        elif arg in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
        elif arg not in ("-c", entry["file"]) and not arg.startswith("-M"):
            flags.append(arg)
    return flags


def version_of(command):
    return subprocess.run(command, capture_output=True, text=True).stdout


def unit_keys(entry, root, tool_stamps):
    """The cache key of each tool for one unit, from its preprocessed text; its size; and
    whether it includes one of the heavy headers."""
    flags = flags_of(entry)
    preprocessed = subprocess.run(["clang++-14", "-E", *flags, entry["file"]],
                                  cwd=entry["directory"], capture_output=True)
    text = preprocessed.stdout
    heavy = any(header in text for header in HEAVY_HEADERS)
    if preprocessed.returncode != 0:  # no key: the unit is analysed, and its verdict not kept
        return {tool: None for tool in tool_stamps}, len(text), heavy
    common = hashlib.sha256(text.replace(root.encode(), b"@ROOT@"))
    common.update(" ".join(flags).replace(root, "@ROOT@").encode())
    keys = {}
    for tool, stamp in tool_stamps.items():
        key = common.copy()
        key.update(stamp)
        keys[tool] = key.hexdigest()
    return keys, len(text), heavy


def local_names(path):
    """Names a source declares for itself alone (in an anonymous namespace, or static at
    file scope), which would clash with another member's in one unity unit. Read from the
    lines that open a declaration at column 0, as the formatter leaves them; a name missed
    here only costs the group its unity (it does not compile, so it is analysed member by
    member)."""
    text = pathlib.Path(path).read_text(errors="replace")
    text = re.sub(r'R"(\w*)\(.*?\)\1"', '""', text, flags=re.S)  # raw strings' lines
    names, anonymous = set(), False
    for line in text.splitlines():
        if line == "namespace {":
            anonymous = True
        elif line == "}  // namespace":
            anonymous = False
        elif (anonymous or line.startswith("static ")) and re.match(r"[A-Za-z_]", line):
            # Namespace aliases and using-declarations may repeat; templates' names follow.
            if line.startswith(("namespace ", "template")) or \
                    (line.startswith("using ") and "=" not in line):
                continue
            head = re.split(r"[({=;\[]| : ", line, maxsplit=1)[0]
            words = re.findall(r"[A-Za-z_]\w*", head)
            if words:
                names.add(words[-1])
    return names


def unity_groups(members):
    """The members split into groups whose local names do not clash, the first that fits
    taking each."""
    groups = []  # (members, their names)
    for entry in sorted(members, key=lambda e: e["file"]):
        names = local_names(entry["file"])
        for group, taken in groups:
            if not names & taken:
                group.append(entry)
                taken |= names
                break
        else:
            groups.append(([entry], set(names)))
    return [group for group, _ in groups]


def write_unity(group, number, work):
    """The unity file of one group and its compile command, as its first member's."""
    first = group[0]
    path = os.path.join(work, f"unity-{number}.cc")
    lines = ["// Generated by scripts/static_analysis.py: these sources analysed as one unit.\n"]
    for entry in group:
        # Implementation files are exactly what a unity unit includes.
        lines.append(f'#include "{entry["file"]}"  // NOLINT(bugprone-suspicious-include)\n')
    pathlib.Path(path).write_text("".join(lines))
    args = first.get("arguments") or shlex.split(first["command"])
    args = [path if arg == first["file"] else arg for arg in args]
    return {"directory": first["directory"], "file": path, "arguments": args,
            "output": path + ".o", "members": group}


def run_tool(command):
    """The tool's result and the CPU seconds it took, which other load does not stretch."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(command, stdout=out, stderr=err)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(command, process.returncode,
                                             out.read().decode(errors="replace"),
                                             err.read().decode(errors="replace"))
    return result, usage.ru_utime + usage.ru_stime


def run_tidy(entry, build):
    return run_tool([*TIDY, "-p", build, entry["file"]])


def run_tidy_unity(unity, work, build):
    """clang-tidy over a unity unit; when that does not compile, over its members one by
    one, so that none goes unanalysed. Returns the result, its CPU seconds and a note of
    the fallback."""
    result, cpu = run_tidy(unity, work)
    if "[clang-diagnostic-error]" not in result.stdout:
        return result, cpu, ""
    first = next(line for line in result.stdout.splitlines() if "error:" in line)
    note = (f"{os.path.basename(unity['file'])} does not compile as one unit, so its"
            f" {len(unity['members'])} files were analysed one by one: {first.strip()}\n")
    results = [run_tidy(entry, build) for entry in unity["members"]]
    cpu += sum(seconds for _, seconds in results)
    results = [r for r, _ in results]
    return subprocess.CompletedProcess(
        result.args, max(r.returncode for r in results), "".join(r.stdout for r in results),
        "".join(r.stderr for r in results)), cpu, note


def run_cppcheck(entry, work):
    # A compile database of the unit alone, so cppcheck takes its flags and checks it once.
    database = os.path.join(work, hashlib.sha1(entry["file"].encode()).hexdigest() + ".json")
    with open(database, "w") as out:
        json.dump([entry], out)
    return run_tool([*CPPCHECK, "--project=" + database])


def has_findings(tool, result):
    if tool == "clang-tidy":
        return result.returncode != 0 or re.search(r"(warning|error):", result.stdout)
    return result.returncode != 0 or result.stderr.strip()


def children_cpu():
    """CPU seconds of every finished child: unlike the clock, not stretched by other load."""
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def prune(cache):
    cutoff = time.time() - CACHE_DAYS * 86400
    for marker in cache.glob("*/*"):
        if marker.stat().st_mtime < cutoff:
            marker.unlink()


def unity_units(units, keyed, work):
    """The unity units of the heavy units that share their flags, written to work with
    their compile commands; a heavy unit that stays alone is not among them."""
    families = {}
    for entry, (keys, _, heavy) in zip(units, keyed):
        if heavy and all(keys.values()):  # one that does not preprocess is analysed alone
            families.setdefault((entry["directory"], tuple(flags_of(entry))), []).append(entry)
    os.makedirs(work, exist_ok=True)
    for stale in pathlib.Path(work).glob("unity-*.cc"):
        stale.unlink()
    unities = []
    for family in families.values():
        for group in unity_groups(family):
            if len(group) > 1:
                unities.append(write_unity(group, len(unities) + 1, work))
    with open(os.path.join(work, "compile_commands.json"), "w") as out:
        json.dump([{k: v for k, v in unity.items() if k != "members"} for unity in unities],
                  out, indent=1)
    return unities


def main():
    compile_commands, root, cache_dir = sys.argv[1:4]
    build = os.path.dirname(compile_commands)
    cache = pathlib.Path(cache_dir)
    with open(compile_commands) as db:
        units = units_of(json.load(db), root)
    tidy_files = subprocess.run(["git", "-C", root, "ls-files", "*.clang-tidy"],
                                capture_output=True, text=True).stdout.split()
    configs = b"".join(pathlib.Path(root, name).read_bytes() for name in sorted(tidy_files))
    tool_stamps = {
        "clang-tidy": (version_of(["clang-tidy-14", "--version"]) + " ".join(TIDY)).encode()
                      + configs,
        "cppcheck": (version_of(["cppcheck", "--version"]) + " ".join(CPPCHECK)).encode(),
    }
    jobs = os.cpu_count() or 1
    started = time.monotonic()
    work = os.path.join(build, "unity")
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        keyed = list(pool.map(lambda u: unit_keys(u, root, tool_stamps), units))
        unities = unity_units(units, keyed, work)
        unity_keyed = list(pool.map(lambda u: unit_keys(u, root, tool_stamps), unities))
    keying, keying_cpu = time.monotonic() - started, children_cpu()

    in_unity = {entry["file"] for unity in unities for entry in unity["members"]}
    jobs_of = {tool: [] for tool in tool_stamps}  # (entry, keys, size) each tool runs on
    for entry, (keys, size, _) in zip(units, keyed):
        for tool in tool_stamps:
            if tool == "cppcheck" or entry["file"] not in in_unity:
                jobs_of[tool].append((entry, keys, size))
    for unity, (keys, size, _) in zip(unities, unity_keyed):
        jobs_of["clang-tidy"].append((unity, keys, size))

    tasks = []  # (preprocessed size, tool, unit, key), the largest first: they take longest
    cached = {tool: 0 for tool in tool_stamps}
    for tool, tool_jobs in jobs_of.items():
        for entry, keys, size in tool_jobs:
            key = keys[tool]
            marker = cache / tool / (key or "-")
            if key and marker.exists():
                marker.touch()
                cached[tool] += 1
            else:
                tasks.append((size, tool, entry, key))
    tasks.sort(key=lambda t: -t[0])

    os.makedirs(os.path.join(build, "cppcheck-units"), exist_ok=True)
    spent = {tool: 0.0 for tool in tool_stamps}
    slowest = []
    failed = []

    def run(task):
        _, tool, entry, key = task
        note = ""
        if "members" in entry:
            result, cpu, note = run_tidy_unity(entry, work, build)
        elif tool == "clang-tidy":
            result, cpu = run_tidy(entry, build)
        else:
            result, cpu = run_cppcheck(entry, os.path.join(build, "cppcheck-units"))
        return task, result, note, cpu

    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        for (_, tool, entry, key), result, note, seconds in pool.map(run, tasks):
            spent[tool] += seconds
            name = os.path.relpath(entry["file"], root)
            if "members" in entry:
                name = f"{os.path.basename(entry['file'])} ({len(entry['members'])} files)"
            slowest.append((seconds, tool, name))
            sys.stdout.write(note)
            if has_findings(tool, result):
                failed.append(tool)
                sys.stdout.write(result.stdout + (result.stderr if tool == "cppcheck" else ""))
            elif key:
                (cache / tool).mkdir(parents=True, exist_ok=True)
                (cache / tool / key).touch()
    prune(cache)

    print(f"static analysis: {len(units)} units keyed in {keying:.0f} s"
          f" ({keying_cpu:.0f} s of CPU); clang-tidy takes {len(in_unity)} of them as"
          f" {len(unities)} unity units")
    for tool, tool_jobs in jobs_of.items():
        state = "findings" if tool in failed else "clean"
        print(f"{tool}: {state}; {len(tool_jobs) - cached[tool]} units run in"
              f" {spent[tool]:.0f} s of CPU, {cached[tool]} clean in the cache")
    for seconds, tool, name in sorted(slowest, reverse=True)[:5]:
        print(f"  {seconds:5.1f} s of CPU  {tool} {name}")
    print(f"static analysis: {time.monotonic() - started:.0f} s, {children_cpu():.0f} s of CPU")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs clang-tidy and cppcheck over the translation units of src/ and tools/.

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
import time

TIDY = ["clang-tidy-14", "--quiet"]
CPPCHECK = ["cppcheck", "--enable=warning,performance,portability", "--std=c++17",
            "--inline-suppr", "--suppress=missingIncludeSystem", "--quiet",
            "--error-exitcode=1"]
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
    """The cache key of each tool for one unit, from its preprocessed text."""
    flags = flags_of(entry)
    preprocessed = subprocess.run(["clang++-14", "-E", *flags, entry["file"]],
                                  cwd=entry["directory"], capture_output=True)
    text = preprocessed.stdout
    if preprocessed.returncode != 0:  # no key: the unit is analysed, and its verdict not kept
        return {tool: None for tool in tool_stamps}, len(text)
    common = hashlib.sha256(text.replace(root.encode(), b"@ROOT@"))
    common.update(" ".join(flags).replace(root, "@ROOT@").encode())
    keys = {}
    for tool, stamp in tool_stamps.items():
        key = common.copy()
        key.update(stamp)
        keys[tool] = key.hexdigest()
    return keys, len(text)


def run_tidy(entry, build):
    return subprocess.run([*TIDY, "-p", build, entry["file"]], capture_output=True, text=True)


def run_cppcheck(entry, work):
    # A compile database of the unit alone, so cppcheck takes its flags and checks it once.
    database = os.path.join(work, hashlib.sha1(entry["file"].encode()).hexdigest() + ".json")
    with open(database, "w") as out:
        json.dump([entry], out)
    return subprocess.run([*CPPCHECK, "--project=" + database], capture_output=True, text=True)


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
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        keyed = list(pool.map(lambda u: unit_keys(u, root, tool_stamps), units))
    keying, keying_cpu = time.monotonic() - started, children_cpu()

    tasks = []  # (preprocessed size, tool, unit, key), the largest first: they take longest
    cached = {tool: 0 for tool in tool_stamps}
    for entry, (keys, size) in zip(units, keyed):
        for tool, key in keys.items():
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
        began = time.monotonic()
        if tool == "clang-tidy":
            result = run_tidy(entry, build)
        else:
            result = run_cppcheck(entry, os.path.join(build, "cppcheck-units"))
        return task, result, time.monotonic() - began

    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        for (_, tool, entry, key), result, seconds in pool.map(run, tasks):
            spent[tool] += seconds
            slowest.append((seconds, tool, os.path.relpath(entry["file"], root)))
            if has_findings(tool, result):
                failed.append(tool)
                sys.stdout.write(result.stdout + (result.stderr if tool == "cppcheck" else ""))
            elif key:
                (cache / tool).mkdir(parents=True, exist_ok=True)
                (cache / tool / key).touch()
    prune(cache)

    print(f"static analysis: {len(units)} units keyed in {keying:.0f} s"
          f" ({keying_cpu:.0f} s of CPU)")
    for tool in tool_stamps:
        state = "findings" if tool in failed else "clean"
        print(f"{tool}: {state}; {len(units) - cached[tool]} units run ({spent[tool]:.0f} s of"
              f" clock summed over {jobs} jobs), {cached[tool]} clean in the cache")
    for seconds, tool, name in sorted(slowest, reverse=True)[:5]:
        print(f"  {seconds:5.1f} s  {tool} {name}")
    print(f"static analysis: {time.monotonic() - started:.0f} s, {children_cpu():.0f} s of CPU")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

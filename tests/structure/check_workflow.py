#!/usr/bin/env python3
"""The Windows workflow (.github/workflows/*.yml) cannot run here; this
checks what can be checked without a Windows runner: every workflow parses,
has its triggers and jobs, runs on Windows, and every command it runs names
only what the tree has: CMake presets of the right kind, build targets,
scripts (also the presets named inside those scripts), and actions pinned to
a version.

    check_workflow.py ROOT              check the tree at ROOT
    check_workflow.py --self-test ROOT  show that each check catches a fault

Prints each problem and exits 1 when there is one.
"""
import json
import os
import re
import shutil
import sys
import tempfile

try:
    import yaml
except ImportError:
    print("check_workflow: PyYAML is missing (scripts/install-deps installs python3-yaml)")
    sys.exit(1)

PRESET = re.compile(r"(cmake\s+--build|cmake|ctest)\s+(?:\S+\s+)*?--preset[ =](\S+)")
TARGET = re.compile(r"--target[ =](\S+)")
SCRIPT = re.compile(r"(?<![\w/\\])(scripts[/\\][\w.-]+)")
USES = re.compile(r"^[\w.-]+/[\w.-]+@[\w.-]+$")
KIND = {"cmake": "configurePresets", "cmake --build": "buildPresets", "ctest": "testPresets"}


def presets(root):
    with open(os.path.join(root, "CMakePresets.json"), encoding="utf-8") as source:
        data = json.load(source)
    return {kind: {p["name"] for p in data.get(kind, [])} for kind in KIND.values()}


def targets(root):
    names = set()
    declared = re.compile(r"\b(?:add_executable|add_library|add_custom_target)\(\s*([\w.-]+)")
    for directory, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in {"build", ".git"}]
        for name in files:
            if name == "CMakeLists.txt" or name.endswith(".cmake"):
                with open(os.path.join(directory, name), encoding="utf-8") as source:
                    names |= set(declared.findall(source.read()))
    return names


def commands(text):
    """The workflow's run lines, one command each (a folded block joined)."""
    return [" ".join(line.split()) for line in text.splitlines() if line.strip()]


def check_command(root, line, known_presets, known_targets, where, seen_scripts):
    problems = []
    for tool, name in PRESET.findall(line):
        kind = KIND[" ".join(tool.split())]
        if name not in known_presets[kind]:
            problems.append(f"{where}: no {kind[:-1]} named {name!r} in CMakePresets.json")
    for name in TARGET.findall(line):
        if name not in known_targets:
            problems.append(f"{where}: no CMake target named {name!r}")
    for script in SCRIPT.findall(line):
        path = os.path.join(root, script.replace("\\", "/"))
        if not os.path.isfile(path):
            problems.append(f"{where}: no script {script}")
        elif script not in seen_scripts:
            seen_scripts.add(script)
            # What the script itself runs of the tree.
            with open(path, encoding="utf-8", errors="replace") as source:
                for number, inner in enumerate(source, 1):
                    problems += check_command(root, inner, known_presets, known_targets,
                                              f"{script}:{number}", seen_scripts)
    return problems


def check(root):
    problems = []
    folder = os.path.join(root, ".github", "workflows")
    files = sorted(f for f in os.listdir(folder) if f.endswith((".yml", ".yaml"))) if os.path.isdir(folder) else []
    if not files:
        return [".github/workflows: no workflow"]
    known_presets = presets(root)
    known_targets = targets(root)
    for name in files:
        where = f".github/workflows/{name}"
        try:
            with open(os.path.join(folder, name), encoding="utf-8") as source:
                workflow = yaml.safe_load(source)
        except yaml.YAMLError as error:
            problems.append(f"{where}: does not parse: {error}")
            continue
        if not isinstance(workflow, dict):
            problems.append(f"{where}: not a mapping")
            continue
        # YAML 1.1 reads the key "on" as true.
        if "on" not in workflow and True not in workflow:
            problems.append(f"{where}: no triggers (on:)")
        jobs = workflow.get("jobs")
        if not isinstance(jobs, dict) or not jobs:
            problems.append(f"{where}: no jobs")
            continue
        seen_scripts = set()
        for job_name, job in jobs.items():
            if "windows" not in str(job.get("runs-on", "")):
                problems.append(f"{where}: job {job_name} does not run on Windows")
            for number, step in enumerate(job.get("steps", []), 1):
                at = f"{where}: {job_name} step {number}"
                if "uses" in step and not USES.match(str(step["uses"])):
                    problems.append(f"{at}: action {step['uses']!r} not pinned to a version")
                if "run" in step:
                    for line in commands(str(step["run"])):
                        problems += check_command(root, line, known_presets, known_targets, at,
                                                  seen_scripts)
    return problems


def self_test(root):
    """Each check, broken once in a copy of the tree's files, must report."""
    faults = {
        "a preset that is not there": ("cmake --preset windows-msvc", "cmake --preset windows-nothing"),
        "a test preset that is not there": ("ctest --preset windows-msvc", "ctest --preset windows-gone"),
        "a script that is not there": ("scripts\\msvc-env.cmd cmake --build", "scripts\\no-such.cmd cmake --build"),
        "an action without a version": ("actions/checkout@v4", "actions/checkout"),
        "a file that does not parse": ("jobs:", "jobs: [\n"),
    }
    failed = False
    for what, (good, bad) in faults.items():
        with tempfile.TemporaryDirectory() as copy:
            shutil.copytree(os.path.join(root, ".github"), os.path.join(copy, ".github"))
            shutil.copytree(os.path.join(root, "scripts"), os.path.join(copy, "scripts"))
            shutil.copy(os.path.join(root, "CMakePresets.json"), copy)
            shutil.copy(os.path.join(root, "CMakeLists.txt"), copy)
            workflow = os.path.join(copy, ".github", "workflows", "windows.yml")
            with open(workflow, encoding="utf-8") as source:
                text = source.read()
            if good not in text:
                print(f"self-test: the workflow no longer has {good!r}: update the self-test")
                failed = True
                continue
            with open(workflow, "w", encoding="utf-8") as out:
                out.write(text.replace(good, bad, 1))
            if not check(copy):
                print(f"self-test: {what} was not reported")
                failed = True
    if check(root):
        print("self-test: the tree itself has problems")
        failed = True
    print("self-test: " + ("FAILED" if failed else "every check caught its fault"))
    return 1 if failed else 0


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "--self-test":
        return self_test(args[1])
    if len(args) != 1:
        print(__doc__)
        return 2
    problems = check(args[0])
    for problem in problems:
        print(problem)
    print(f"workflow: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

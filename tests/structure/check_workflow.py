#!/usr/bin/env python3
"""The Windows workflow (.github/workflows/*.yml) cannot run here; this
checks what can be checked without a Windows runner: every workflow parses,
has its triggers and jobs, runs on Windows, and every command it runs names
only what the tree has: CMake presets of the right kind, build targets,
scripts (also the presets named inside those scripts), and actions pinned to
a version. And what a Windows runner needs of the tree and the workflow:

- the configure presets it runs name MSVC's tools for every language the
  tree enables (with Ninja, CMake would otherwise take the first compiler
  of its own list that is on the runner's PATH, MinGW's g++ before cl);
- every module that a Python script run by the tests (or by the workflow)
  imports beyond Python's own library is installed by the workflow, and
  CMake is told which Python that is;
- every target built with a resource script that embeds a manifest is
  linked with /MANIFEST:NO under MSVC (else the linker makes a manifest
  of its own, which CMake embeds as resource 1 too).

    check_workflow.py ROOT              check the tree at ROOT
    check_workflow.py --self-test ROOT  show that each check catches a fault

Prints each problem and exits 1 when there is one.
"""
import ast
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
# The MSVC tool for each language CMake may enable, in a preset's
# CMAKE_<LANG>_COMPILER.
MSVC_TOOLS = {"C": "cl", "CXX": "cl", "RC": "rc"}
# Modules whose package goes by another name.
PACKAGE_OF = {"yaml": "PyYAML"}
PYTHON_RUN = re.compile(r"\$\{Python3_EXECUTABLE\}\s+([^\s)]+)")
WORKFLOW_PYTHON = re.compile(r"\bpython\S*\s+(scripts[/\\][\w.-]+)")
PIP_INSTALL = re.compile(r"\bpip\s+install\s+(.+)")
SKIPPED_DIRS = {"build", ".git"}


def cmake_files(root):
    for directory, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS]
        for name in files:
            if name == "CMakeLists.txt" or name.endswith(".cmake"):
                path = os.path.join(directory, name)
                with open(path, encoding="utf-8") as source:
                    yield path, source.read()


def languages(root):
    """The languages the tree enables: project(... LANGUAGES ...) and
    enable_language(...)."""
    found = set()
    for _, text in cmake_files(root):
        for match in re.finditer(r"\bproject\s*\(([^)]*)\)", text, re.IGNORECASE):
            words = match.group(1).split()
            if "LANGUAGES" in words:
                found |= {w for w in words[words.index("LANGUAGES") + 1:] if w.isupper()}
        for match in re.finditer(r"\benable_language\s*\(([^)]*)\)", text, re.IGNORECASE):
            found |= set(match.group(1).split())
    return found


def preset_cache(root, name):
    """A configure preset's cache variables, those it inherits included."""
    with open(os.path.join(root, "CMakePresets.json"), encoding="utf-8") as source:
        data = json.load(source)
    by_name = {p["name"]: p for p in data.get("configurePresets", [])}
    cache = {}
    pending = [name]
    while pending:
        preset = by_name.get(pending.pop(0))
        if preset is None:
            continue
        for key, value in preset.get("cacheVariables", {}).items():
            cache.setdefault(key, value["value"] if isinstance(value, dict) else value)
        inherits = preset.get("inherits", [])
        pending += [inherits] if isinstance(inherits, str) else inherits
    return cache


def check_compilers(root, preset, where):
    """MSVC's tools, named by the preset for every language the tree uses."""
    problems = []
    cache = preset_cache(root, preset)
    for language in sorted(languages(root)):
        tool = MSVC_TOOLS.get(language)
        named = str(cache.get(f"CMAKE_{language}_COMPILER", ""))
        if tool and os.path.splitext(os.path.basename(named))[0].lower() != tool:
            problems.append(f"{where}: preset {preset!r} does not pin CMAKE_{language}_COMPILER "
                            f"to {tool}")
    return problems


def python_scripts(root, workflow_lines):
    """The Python scripts the tests run, and those the workflow runs."""
    scripts = set()
    for path, text in cmake_files(root):
        here = os.path.dirname(path)
        for written in PYTHON_RUN.findall(text):
            script = (written.replace("${PROJECT_SOURCE_DIR}", root)
                      .replace("${CMAKE_SOURCE_DIR}", root)
                      .replace("${CMAKE_CURRENT_SOURCE_DIR}", here))
            if os.path.isfile(script):
                scripts.add(os.path.normpath(script))
    for line in workflow_lines:
        for written in WORKFLOW_PYTHON.findall(line):
            script = os.path.join(root, written.replace("\\", "/"))
            if os.path.isfile(script):
                scripts.add(os.path.normpath(script))
    return scripts


def foreign_modules(script):
    """The modules a script imports that are neither Python's own nor files
    beside it."""
    with open(script, encoding="utf-8") as source:
        tree = ast.parse(source.read(), script)
    names = set()
    for node in ast.walk(tree):
        if isinstance(node, ast.Import):
            names |= {alias.name.split(".")[0] for alias in node.names}
        elif isinstance(node, ast.ImportFrom) and node.level == 0 and node.module:
            names.add(node.module.split(".")[0])
    here = os.path.dirname(script)
    return {n for n in names
            if n not in sys.stdlib_module_names
            and not os.path.exists(os.path.join(here, n + ".py"))
            and not os.path.isdir(os.path.join(here, n))}


def check_test_modules(root, lines, where):
    """What the tests' Python scripts import is installed, into the Python
    CMake is told to use."""
    problems = []
    installed = set()
    for line in lines:
        for words in PIP_INSTALL.findall(line):
            installed |= {w.lower() for w in words.split() if not w.startswith("-")}
    needed = {}
    for script in sorted(python_scripts(root, lines)):
        for module in foreign_modules(script):
            needed.setdefault(PACKAGE_OF.get(module, module), os.path.relpath(script, root))
    for package, script in sorted(needed.items()):
        if package.lower() not in installed:
            problems.append(f"{where}: {script} imports {package}, which no step installs")
    configures = [l for l in lines if PRESET.search(l) and PRESET.search(l).group(1) == "cmake"]
    if needed and not any("-DPython3_EXECUTABLE" in l for l in configures):
        problems.append(f"{where}: the configure step does not tell CMake which Python has "
                        f"the modules installed (-DPython3_EXECUTABLE)")
    return problems


def check_manifests(root):
    """Targets built with a resource script that embeds a manifest get it
    from a function that also links them with /MANIFEST:NO."""
    problems = []
    scripts = set()
    for directory, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS]
        for name in files:
            if name.endswith(".rc"):
                with open(os.path.join(directory, name), encoding="utf-8", errors="replace") as rc:
                    if re.search(r"\bRT_MANIFEST\b", rc.read()):
                        scripts.add(name)
    block = re.compile(r"\b(function|macro)\s*\((.*?)\bend\1\s*\(", re.IGNORECASE | re.DOTALL)
    # Comments blanked out, where no quote precedes the # on its line.
    comment = re.compile(r'(?m)^([^"#\n]*)#.*$')
    for path, text in cmake_files(root):
        text = comment.sub(lambda m: m.group(1) + " " * (len(m.group(0)) - len(m.group(1))), text)
        for script in scripts:
            for mention in re.finditer(re.escape(script), text):
                inside = [b for b in block.finditer(text)
                          if b.start() < mention.start() < b.end()]
                if not inside or "/MANIFEST:NO" not in inside[0].group(0):
                    line = text.count("\n", 0, mention.start()) + 1
                    problems.append(f"{os.path.relpath(path, root)}:{line}: {script} embeds a "
                                    f"manifest; take it through the function that links with "
                                    f"/MANIFEST:NO")
    return problems


def presets(root):
    with open(os.path.join(root, "CMakePresets.json"), encoding="utf-8") as source:
        data = json.load(source)
    return {kind: {p["name"] for p in data.get(kind, [])} for kind in KIND.values()}


def targets(root):
    names = set()
    declared = re.compile(r"\b(?:add_executable|add_library|add_custom_target)\(\s*([\w.-]+)")
    for _, text in cmake_files(root):
        names |= set(declared.findall(text))
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
            lines = []
            for number, step in enumerate(job.get("steps", []), 1):
                at = f"{where}: {job_name} step {number}"
                if "uses" in step and not USES.match(str(step["uses"])):
                    problems.append(f"{at}: action {step['uses']!r} not pinned to a version")
                if "run" in step:
                    for line in commands(str(step["run"])):
                        lines.append(line)
                        problems += check_command(root, line, known_presets, known_targets, at,
                                                  seen_scripts)
            configured = sorted({name for line in lines for tool, name in PRESET.findall(line)
                                 if " ".join(tool.split()) == "cmake"})
            for preset in configured:
                problems += check_compilers(root, preset, f"{where}: {job_name}")
            problems += check_test_modules(root, lines, f"{where}: {job_name}")
    problems += check_manifests(root)
    return problems


def self_test(root):
    """Each check, broken once in a copy of the tree's files, must report."""
    workflow = ".github/workflows/windows.yml"
    faults = {
        "a preset that is not there": (workflow, "cmake --preset windows-msvc", "cmake --preset windows-nothing"),
        "a test preset that is not there": (workflow, "ctest --preset windows-msvc", "ctest --preset windows-gone"),
        "a script that is not there": (workflow, "scripts\\msvc-env.cmd cmake --build", "scripts\\no-such.cmd cmake --build"),
        "an action without a version": (workflow, "actions/checkout@v4", "actions/checkout"),
        "a file that does not parse": (workflow, "jobs:", "jobs: [\n"),
        "a compiler left to the PATH": ("CMakePresets.json", '"CMAKE_CXX_COMPILER": "cl",', ""),
        "a resource compiler left to the PATH": ("CMakePresets.json", '"CMAKE_RC_COMPILER": "rc"', '"CMAKE_RC_COMPILER": "windres"'),
        "a test module not installed": (workflow, "pip install PyYAML", "pip install wheel"),
        "the tests' Python left to CMake": (workflow, "-DPython3_EXECUTABLE=", "-DPython3_FIND_STRATEGY="),
        "a resource script linked with two manifests": (
            "tests/e2e/CMakeLists.txt",
            "add_executable(VitroluxCrashTest WIN32 crash/crash_test_main.cpp)",
            "add_executable(VitroluxCrashTest WIN32 crash/crash_test_main.cpp ${PROJECT_SOURCE_DIR}/assets/vitrolux.rc)"),
        "a manifest the linker adds": ("src/win32/CMakeLists.txt", "/MANIFEST:NO", "/INCREMENTAL:NO"),
    }
    failed = False
    for what, (name, good, bad) in faults.items():
        with tempfile.TemporaryDirectory() as copy:
            copy = os.path.join(copy, "tree")
            shutil.copytree(root, copy, ignore=shutil.ignore_patterns(*SKIPPED_DIRS))
            path = os.path.join(copy, name)
            with open(path, encoding="utf-8") as source:
                text = source.read()
            if good not in text:
                print(f"self-test: {name} no longer has {good!r}: update the self-test")
                failed = True
                continue
            with open(path, "w", encoding="utf-8") as out:
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

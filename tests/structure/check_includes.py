#!/usr/bin/env python3
"""The include rules of src/: dependencies point down, and only the Win32
adapter sees the Windows headers.

    app/                    -> the subsystems, model/, ui/, ports/
    config/ embed/ tasks/
    effects/ refresh/       -> itself, model/, ui/, ports/
    model/                  -> model/, ui/, ports/, the resource ids
    ui/                     -> ui/, ports/
    ports/                  -> ports/ (headers only: no .cpp)
    win32/                  -> win32/, ui/, ports/, the resource ids

No folder but win32/ includes a Windows header. Prints each violation as
file:line and exits 1 when there is one.

    check_includes.py SRC_DIR      check a source tree
    check_includes.py --self-test  show that each rule catches a violation
"""
import os
import re
import sys
import tempfile

SUBSYSTEMS = {"config", "embed", "tasks", "effects", "refresh"}
LOWER = {"model", "ui", "ports"}
ALLOWED = {
    "app": {"app"} | SUBSYSTEMS | LOWER,
    "model": LOWER | {"resource_ids.h"},
    "ui": {"ui", "ports"},
    "ports": {"ports"},
    "win32": {"win32", "ui", "ports", "resource_ids.h"},
}
for _s in SUBSYSTEMS:
    ALLOWED[_s] = {_s} | LOWER

# Headers of the Windows SDK that the logic must never see.
WINDOWS_HEADER = re.compile(
    r"^(windows|windowsx|win[a-z0-9]*|commctrl|commdlg|shellapi|shlobj|shlwapi|ole2|olectl|"
    r"objbase|oleauto|uxtheme|dwmapi|psapi|tlhelp32|minwindef|windef|rpc|tchar|wtypes)\.h$",
    re.IGNORECASE)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(relative_path):
    """The rule folder of a file or include path, or None outside the rules."""
    parts = relative_path.replace("\\", "/").split("/")
    if len(parts) >= 2:
        return parts[0]
    return parts[0] if parts[0] in ALLOWED else None


def check(src):
    problems = []
    for directory, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith((".h", ".hpp", ".cpp", ".cc")):
                continue
            path = os.path.join(directory, name)
            relative = os.path.relpath(path, src).replace(os.sep, "/")
            home = folder_of(relative)
            if home not in ALLOWED:
                problems.append(f"{relative}: lies in no folder the rules know")
                continue
            if home == "ports" and not name.endswith((".h", ".hpp")):
                problems.append(f"{relative}: ports/ holds interfaces only")
            with open(path, encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    kind, target = match.groups()
                    where = f"{relative}:{number}"
                    if kind == "<":
                        if WINDOWS_HEADER.match(os.path.basename(target)) and home != "win32":
                            problems.append(f"{where}: <{target}> outside win32/")
                        continue
                    wanted = target if "/" not in target else folder_of(target)
                    if wanted not in ALLOWED[home]:
                        problems.append(f"{where}: {home}/ may not include \"{target}\"")
    return problems


def self_test():
    """Each rule, broken once in a small tree, must be reported."""
    violations = {
        "embed/a.cpp": '#include "app/main_frame.h"\n',
        "config/b.cpp": '#include "embed/loader.h"\n',
        "tasks/c.h": '#include "win32/frame_window.h"\n',
        "model/d.h": '#include "config/store.h"\n',
        "ui/e.h": '#include "model/layout.h"\n',
        "ports/f.h": '#include "ui/controls.h"\n',
        "ports/g.cpp": '#include "ports/types.h"\n',
        "win32/h.cpp": '#include "app/main_frame.h"\n',
        "win32/i.cpp": '#include "model/layout.h"\n',
        "effects/j.cpp": "#include <windows.h>\n",
        "ui/k.cpp": "#include <windowsx.h>\n",
        "refresh/l.cpp": '  #  include "app/x.h"\n',
    }
    failed = False
    for path, text in violations.items():
        with tempfile.TemporaryDirectory() as root:
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as out:
                out.write(text)
            if not check(root):
                print(f"self-test: {path} with {text.strip()} was not reported")
                failed = True
    # And what the rules allow is not reported.
    allowed = {
        "app/a.cpp": '#include "config/store.h"\n#include "model/layout.h"\n#include <string>\n',
        "embed/b.cpp": '#include "embed/loader.h"\n#include "ports/ports.h"\n#include "ui/controls.h"\n',
        "model/c.h": '#include "ui/controls.h"\n#include "resource_ids.h"\n',
        "win32/d.cpp": '#include <windows.h>\n#include "resource_ids.h"\n#include "ui/controls.h"\n',
    }
    with tempfile.TemporaryDirectory() as root:
        for path, text in allowed.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as out:
                out.write(text)
        for problem in check(root):
            print(f"self-test: reported an allowed include: {problem}")
            failed = True
    print("self-test: " + ("FAILED" if failed else "every rule caught its violation"))
    return 1 if failed else 0


def main():
    if len(sys.argv) == 2 and sys.argv[1] == "--self-test":
        return self_test()
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    problems = check(sys.argv[1])
    for problem in problems:
        print(problem)
    print(f"include rules: {len(problems)} violation(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

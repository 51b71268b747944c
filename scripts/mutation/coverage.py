"""Which tests enter which functions, so that a mutant runs only the tests that can see it.

The coverage build (build-cover, compiled as the mutants' build is, with -finstrument-functions
and cover_hooks.c linked in) runs each test of the long programs alone and each other program
whole; every process writes down the functions of its executable it enters (test_cli's
drovak-cli too), and addr2line names the line each one starts on. A mutant inside a function is
then run against the tests that entered a function starting within the lines of its outermost
function (a lambda inside it counts). Running fewer tests can only let a mutant live that the
whole run would kill, never the other way round; a test that fails in the coverage build is run
for every mutant. What is measured is kept, beside the programs' digests, until they change.
"""

import bisect
import hashlib
import json
import os
import shutil
import subprocess
import tempfile

from mutation import runner, sites

HOOKS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "cover_hooks.c")
WHOLE = "*"  # a program run whole: its tests are not told apart


def configure(root, directory, cxx_flags):
    os.makedirs(directory, exist_ok=True)
    hooks = os.path.join(directory, "cover_hooks.o")
    subprocess.run(["cc", "-O2", "-fPIC", "-c", HOOKS, "-o", hooks], check=True)
    linked = f"-DCMAKE_{{}}_LINKER_FLAGS={hooks}"
    subprocess.run(["cmake", "-S", root, "-B", directory, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DDROVAK_CORE_ONLY=ON", "-DDROVAK_WERROR=OFF",
                    f"-DCMAKE_CXX_FLAGS={cxx_flags} -g1 -finstrument-functions "
                    "-finstrument-functions-exclude-file-list=/usr/",
                    *(linked.format(kind) for kind in ("EXE", "SHARED", "MODULE"))],
                   check=True, stdout=subprocess.DEVNULL)


def digest(directory, programs):
    found = hashlib.sha256()
    for name in sorted(programs) + ["drovak-cli"]:
        path = os.path.join(directory, name)
        if os.path.exists(path):
            with open(path, "rb") as f:
                found.update(hashlib.sha256(f.read()).digest())
    return found.hexdigest()


def list_tests(program):
    listing = subprocess.run([program, "--gtest_list_tests"], stdout=subprocess.PIPE, text=True,
                             check=True).stdout
    tests, suite = [], ""
    for line in listing.splitlines():
        if not line.strip():
            continue
        if not line.startswith(" "):
            suite = line.split("#")[0].strip()
        else:
            tests.append(suite + line.split("#")[0].strip())
    return tests


def symbolize(root, records):
    """{(executable, offset)} -> {(executable, offset): {(product path, line)}}: where each
    function starts, and where the code its first instruction was inlined from is written (a
    place too many only runs a test more)."""
    by_executable = {}
    for executable, offset in records:
        by_executable.setdefault(executable, []).append(offset)
    found = {}
    for executable, offsets in by_executable.items():
        if not os.path.exists(executable):
            continue
        answer = subprocess.run(["addr2line", "-a", "-i", "-e", executable],
                                input="\n".join("0x" + o for o in offsets) + "\n",
                                stdout=subprocess.PIPE, text=True, check=True).stdout
        record = None
        for place in answer.splitlines():
            if place.startswith("0x"):
                record = (executable, format(int(place, 16), "x"))
                continue
            name, _, line = place.split(" ")[0].rpartition(":")
            if record is None or not name.startswith("/") or not line.isdigit():
                continue
            relative = os.path.relpath(os.path.realpath(name), root)
            if relative.split("/")[0] in sites.PRODUCT_FOLDERS:
                found.setdefault(record, set()).add((relative, int(line)))
    return found


class Coverage:
    def __init__(self, reached, failing):
        # {program: {test (or WHOLE): {product path: sorted first lines of functions entered}}}
        self.reached = reached
        self.failing = failing  # {program: [tests that failed in the coverage build]}

    def select(self, mutant, programs):
        """[(program, [tests] or None for all)] of the programs that can see the mutant."""
        if mutant.function is None:
            return [(p, None) for p in programs]
        first, last = mutant.function
        chosen = []
        for program in programs:
            tests = self.reached.get(program)
            if tests is None:
                chosen.append((program, None))
                continue
            seeing = set(self.failing.get(program, []))
            for test, files in tests.items():
                lines = files.get(mutant.path, [])
                at = bisect.bisect_left(lines, first)
                if at < len(lines) and lines[at] <= last:
                    seeing.add(test)
            if WHOLE in seeing or WHOLE in self.failing.get(program, []):
                chosen.append((program, None))
            elif seeing:
                chosen.append((program, sorted(seeing)))
        # None seen entering it: code run where the measure can't see (the manual page's and the
        # completion's writers run by the build, a function inlined whole), so every test runs.
        return chosen or [(p, None) for p in programs]


def measure(root, directory, cxx_flags, programs, per_test, progress=print):
    """Builds the coverage build and runs it (or reads what was measured for the same programs):
    the tests of the programs in per_test one by one, the others whole."""
    configure(root, directory, cxx_flags)
    built, log = runner.build(directory, sorted(programs))
    if not built:
        progress(f"the coverage build failed, so every mutant runs every test:\n{log[-2000:]}")
        return None
    key = digest(directory, programs)
    kept = os.path.join(directory, "mutate-coverage.json")
    if os.path.exists(kept):
        with open(kept) as f:
            measured = json.load(f)
        if measured.get("key") == key:
            return Coverage(measured["reached"], measured["failing"])
    progress(f"measuring which tests enter which functions in {directory}")
    jobs = []
    for program in sorted(programs):
        path = os.path.join(directory, program)
        if program in per_test:
            jobs += [(program, test) for test in list_tests(path)]
        else:
            jobs.append((program, WHOLE))
    scratch = tempfile.mkdtemp(prefix="drovak-cover-")
    try:
        failing = {}
        running = []
        for number, (program, test) in enumerate(jobs):
            command = [os.path.join(directory, program), "--gtest_brief=1"]
            if test != WHOLE:
                command.append(f"--gtest_filter={test}")
            environment = dict(os.environ, DROVAK_COVER_FILE=os.path.join(scratch, str(number)))
            running.append((program, test, subprocess.Popen(
                command, cwd=directory, env=environment, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)))
            while len(running) >= 2 or (number == len(jobs) - 1 and running):
                done = running.pop(0)
                if done[2].wait() != 0:
                    failing.setdefault(done[0], []).append(done[1])
        records, lines_of = set(), []
        for number in range(len(jobs)):
            entered = []
            path = os.path.join(scratch, str(number))
            if os.path.exists(path):
                with open(path, errors="replace") as f:
                    entered = [tuple(line.split()) for line in f if len(line.split()) == 2]
            records.update(entered)
            lines_of.append(entered)
        places = symbolize(root, records)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    if not places:
        progress("the coverage build names no line of the product, so every mutant runs every "
                 "test")
        return None
    reached = {}
    for (program, test), entered in zip(jobs, lines_of):
        files = {}
        for record in entered:
            for path, line in places.get(record, ()):
                files.setdefault(path, set()).add(line)
        reached.setdefault(program, {})[test] = {p: sorted(lines) for p, lines in files.items()}
    for program, tests in failing.items():
        progress(f"  failing in the coverage build, so run for every mutant: {program}: "
                 f"{', '.join(tests)}")
    with open(kept, "w") as f:
        json.dump({"key": key, "reached": reached, "failing": failing}, f)
    return Coverage(reached, failing)

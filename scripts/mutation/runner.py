"""Applies one mutant at a time, builds what it touches and runs the test programs that can see
it; the changed file is always put back."""

import fcntl
import getpass
import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"]
# The tests of a program are run in processes of about this many seconds of tests each.
CHUNK_SECONDS = 1.5


class Restorer:
    """Keeps a copy of each file it changes in BUILD/mutate-original until the file is put back,
    so that a run killed outright is mended by the next one (recover)."""

    def __init__(self, root, build):
        self.root = root
        self.store = os.path.join(build, "mutate-original")
        self.changed = {}

    def recover(self):
        # Under the build lock: a run that holds it has its own mutant in place, and the copies
        # are its own, not a crashed run's; they are gone once it has put the file back.
        with LOCK:
            if not os.path.isdir(self.store):
                return
            for folder, _, names in os.walk(self.store):
                for name in names:
                    kept = os.path.join(folder, name)
                    relative = os.path.relpath(kept, self.store)
                    shutil.copyfile(kept, os.path.join(self.root, relative))
                    print(f"put back {relative}, left changed by an earlier run")
            shutil.rmtree(self.store)

    def change(self, relative, text):
        path = os.path.join(self.root, relative)
        with open(path, encoding="utf-8") as f:
            original = f.read()
        kept = os.path.join(self.store, relative)
        os.makedirs(os.path.dirname(kept), exist_ok=True)
        shutil.copyfile(path, kept)
        self.changed[path] = original
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    def restore(self):
        # A new modification time on purpose: the build must not take the mutant's object for
        # the original's (ccache gives the original's back at once).
        for path, original in self.changed.items():
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        self.changed.clear()
        shutil.rmtree(self.store, ignore_errors=True)


class BuildLock:
    """/tmp/drovak-build-<user>.lock, held while a mutant is built and tested, so that a build
    started by hand with `flock` on it waits instead of changing the programs under the tests.
    Taken again by the holder, it is simply held longer."""

    def __init__(self):
        self.file, self.depth = None, 0

    def __enter__(self):
        if self.depth == 0:
            self.file = open(f"/tmp/drovak-build-{getpass.getuser()}.lock", "w")
            fcntl.flock(self.file, fcntl.LOCK_EX)
        self.depth += 1
        return self

    def __exit__(self, *_):
        self.depth -= 1
        if self.depth == 0:
            self.file.close()


LOCK = BuildLock()


def build(directory, targets):
    """Builds the targets, holding the build lock."""
    with LOCK:
        result = subprocess.run(["cmake", "--build", directory, "-j2", "--target", *targets],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, result.stdout


class Graph:
    """What each test program is made of, read from the build's build.ninja: a program sees an
    object file when it links it or when it needs a program that does (test_cli runs drovak-cli)."""

    def __init__(self, directory):
        self.inputs = {}
        with open(os.path.join(directory, "build.ninja")) as f:
            text = f.read().replace("$\n", "")
        for line in text.splitlines():
            if not line.startswith("build "):
                continue
            head, _, rest = line[6:].partition(": ")
            outputs = head.split(" | ")[0].split()
            words = rest.replace(" || ", " | ").split()[1:]
            inputs = [w for w in words if w != "|"]
            for output in outputs:
                self.inputs.setdefault(output, []).extend(inputs)
        self.programs = sorted(o for o in self.inputs if re.fullmatch(r"test_\w+", o))
        self.closure = {}

    def reaches(self, node):
        if node not in self.closure:
            self.closure[node] = set()  # a cycle stops here
            seen = {node}
            for child in self.inputs.get(node, []):
                seen |= self.reaches(child) if child in self.inputs else {child}
            self.closure[node] = seen
        return self.closure[node]

    def programs_seeing(self, objects):
        return [p for p in self.programs if any(o in self.reaches(p) for o in objects)]


def objects_of(directory, compile_commands, sources):
    """The object files (relative to the build folder) that the given sources compile to."""
    found = []
    for entry in compile_commands:
        if entry["relative"] in sources:
            words = entry["command"].split() if "command" in entry else entry["arguments"]
            if "-o" in words:
                found.append(words[words.index("-o") + 1])
    return found


def digests(directory, objects):
    """Each object file's SHA-256 (None when it is not there)."""
    found = {}
    for name in objects:
        try:
            with open(os.path.join(directory, name), "rb") as f:
                found[name] = hashlib.sha256(f.read()).hexdigest()
        except FileNotFoundError:
            found[name] = None
    return found


def first_failure(output):
    found = re.search(r"^\[  FAILED  \] (\S+)", output, re.M)
    return found.group(1) if found else "(no test named: a crash or an exit)"


def failures(output):
    return sorted(set(re.findall(r"^\[  FAILED  \] ([\w/.]+)", output, re.M)))


def timed_tests(path):
    """{test: seconds} from a GoogleTest JSON report."""
    with open(path) as f:
        report = json.load(f)
    return {f"{suite['name']}.{test['name']}": float(test.get("time", "0s").rstrip("s"))
            for suite in report.get("testsuites", []) for test in suite.get("testsuite", [])}


def chunks(times, seconds=CHUNK_SECONDS):
    """The tests ({test: seconds}) as (GoogleTest filter, seconds) of processes to run one after
    another, the quickest tests first: a mutant that some test kills is mostly killed by a quick
    one. Tests join a process until it holds `seconds` of them."""
    found, names, load = [], [], 0.0
    for name, spent in sorted(times.items(), key=lambda item: (item[1], item[0])):
        names.append(name)
        load += spent
        if load >= seconds:
            found.append((":".join(names), load))
            names, load = [], 0.0
    if names:
        found.append((":".join(names), load))
    return found


def run_programs(directory, programs, every_test=False, window=False, parts=None, reports=None):
    """Runs the programs, two processes at a time; a program named in parts ({program:
    [(GoogleTest filter, seconds), ...]}) runs as a process for each filter, in that order, each
    stopped past four times its seconds and 15 s more; a program not named runs whole, stopped
    past 600 s. With reports (a folder), each program writes its
    GoogleTest JSON report there. Returns (verdict or None, {program: seconds}, failed tests). The
    first failure ends the run unless every_test; a process running past its limit is stopped and
    counted as a failure. Each gets a process group of its own (to be stopped whole) but stays in
    this session: the file-layer tests open a terminal, and a session leader without one that
    opens one is hung up when it closes it."""
    running = []
    try:
        return _run(directory, programs, every_test, window, parts or {}, reports, running)
    finally:  # also on Ctrl-C: nothing is left running
        for _, process, _ in running:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            process.log.close()


def _run(directory, programs, every_test, window, parts, reports, running):
    waiting = [(p, part) for p in programs for part in (parts.get(p) or ((None, None),))]
    times, failed, verdict = {}, [], None
    while waiting or running:
        while waiting and len(running) < 2:
            program, (tests, seconds) = waiting.pop(0)
            command = [os.path.join(directory, program), "--gtest_brief=1"]
            if tests is not None:
                command.append(f"--gtest_filter={tests}")
            if reports:
                command.append(f"--gtest_output=json:{os.path.join(reports, program)}.json")
            if not every_test:
                command.append("--gtest_fail_fast")
            if window and program == "test_app":
                command = XVFB + command
            # A file, not a pipe: a program that writes much must not block on it.
            log = tempfile.TemporaryFile("w+", errors="replace")
            process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, text=True,
                                       cwd=directory, process_group=0)
            process.log = log
            process.limit = 600 if seconds is None else 4 * seconds + 15
            running.append((program, process, time.time()))
        time.sleep(0.1)
        for entry in list(running):
            program, process, started = entry
            code = process.poll()
            late = code is None and time.time() - started > process.limit
            if code is None and not late:
                continue
            running.remove(entry)
            times[program] = max(times.get(program, 0), time.time() - started)
            if late:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
            process.log.seek(0)
            output = process.log.read()
            process.log.close()
            if late:
                failed.append(f"{program}: out of time")
            else:
                if code == 0:
                    continue
                failed += [f"{program}: {name}" for name in failures(output)] or \
                    [f"{program}: {first_failure(output)}"]
            verdict = verdict or failed[-1]
            if not every_test:
                return verdict, times, failed
    return verdict, times, failed

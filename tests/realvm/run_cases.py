#!/usr/bin/env python3
"""Runs the launcher's JNI launch code against the real VM, one process per case, and compares
exactly what the test application received: its arguments, the properties the Java-side launcher
derives from the launcher parameters, the redirected log files, and the order of the application's
lines against the harness's own ("harness: ...") lines in the record file.

  run_cases.py --harness realvm_case --libjvm libjvm.so --class-path JAR:CLASSES [CASE...]
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

QUILLMOTE_LAUNCHER = "com.quillmote.runtime.launcher.WinLauncher"
TARVO_LAUNCHER = "com.tarvo.runtime.WinLauncher"
APP = "realvm.ProbeApp"
# Non-ASCII in the Latin-1, BMP and supplementary ranges (the last needs a surrogate pair), blanks,
# quotes, a backslash, an empty text and a control character.
PROGRAM = "C:\\Program Files\\ünï €\\tool 中.exe"
ODD_ARGUMENTS = ["two words", 'say "hi" \'you\'', "ünï €", "中𠮷", "", "back\\slash", "tab\there"]
STARTUP_TEXT = '"C:\\My Files\\ünï €.txt" 中𠮷 --flag'
OLD_LOG = "line from an earlier start\n"
# Outcome names and exit codes as realvm_case.cpp prints and returns them.
EXIT_CODES = {"returned": 0, "stoppedByFirstRun": 11, "threw": 12, "launcherClassMissing": 13}
# Cases run side by side: most of a case is waiting for the VM to start or a thread to sleep.
WORKERS = 4
# Keeps each VM small and quick to start; the launcher passes its options as they are.
VM_OPTIONS = ["-Xmx64m", "-XX:+UseSerialGC", "-XX:TieredStopAtLevel=1"]


def escape(text):
    """The test application's escaping, for the expected lines."""
    if text is None:
        return "\\null"
    out = []
    for ch in text:
        code = ord(ch)
        if ch == "\\":
            out.append("\\\\")
        elif code < 0x20 or code == 0x7F:
            out.append("\\u%04x" % code)
        else:
            out.append(ch)
    return "".join(out)


@dataclass
class Case:
    name: str
    mode: str                          # the application's first argument
    arguments: list = field(default_factory=list)
    launcher: str = QUILLMOTE_LAUNCHER
    gui: str = "false"
    append: str = "false"
    error_log: bool = False            # pass a file as the error log (pre-filled with OLD_LOG)
    output_log: bool = False
    startup: str = None                # text delivered to startupPerformed from a second thread
    first_run: str = None              # with a first-run marker: what its step does (FirstRunStep)
    outcome: str = "returned"
    harness_lines: list = field(default_factory=list)  # between the outcome and "vm destroyed"
    error_text: str = None             # expected error-log content after OLD_LOG (if appended)
    output_text: str = None
    trace_follows: bool = False        # a stack trace follows error_text; its frames are not ours
    app_runs: bool = True


CASES = [
    # The GUI and append switches differ from each other in both cases that set one, so that
    # parameters swapped between those places show.
    Case("arguments", "return", ODD_ARGUMENTS, gui="true"),
    Case("logs-fresh", "output", error_log=True, output_log=True,
         error_text="to stderr\n", output_text="to stdout\n"),
    # The other flavour's class, named with dots.
    Case("logs-appended-tarvo", "output", launcher=TARVO_LAUNCHER, append="true",
         error_log=True, output_log=True, error_text="to stderr\n", output_text="to stdout\n"),
    # ExceptionDescribe prints through System.err, which now is the error log.
    Case("throw", "throw", ["ünï"], error_log=True, outcome="threw",
         error_text="java.lang.IllegalStateException: probe failure\n", trace_follows=True),
    # main returns at once; DestroyJavaVM must wait for the application's non-daemon thread.
    Case("non-daemon-thread", "thread", harness_lines=["thread done"]),
    # The runtime library calls the listener on the thread that called startupPerformed.
    Case("startup-listener", "listener", startup=STARTUP_TEXT,
         harness_lines=["startup " + escape(STARTUP_TEXT) + " daemon=true", "harness: startup delivered"]),
    # The marker exists: the step runs before main and decides; an exception from it stops too.
    Case("first-run-goes-on", "return", first_run="true"),
    Case("first-run-stops", "return", first_run="false", outcome="stoppedByFirstRun", app_runs=False),
    Case("first-run-throws", "return", first_run="throw", outcome="stoppedByFirstRun", app_runs=False),
    Case("launcher-class-missing", "return", launcher="realvm.NoSuchLauncher",
         outcome="launcherClassMissing", app_runs=False),
]


def expected_record(case, parameters):
    lines = []
    if case.first_run is not None:
        lines.append("first run step " + case.first_run)
    if case.app_runs:
        app_arguments = parameters[6:]
        lines.append("argc %d" % len(app_arguments))
        lines += ["arg " + escape(a) for a in app_arguments]
        lines.append("property tarvo.programPath=" + escape(PROGRAM))
        lines.append("property tarvo.guiApplication=" + case.gui)
        lines.append("property tarvo.appendLogs=" + case.append)
    lines.append("harness: outcome " + case.outcome)
    lines += case.harness_lines
    lines.append("harness: vm destroyed")
    return lines


def check_log(problems, which, path, text, append, prefix_only=False):
    if path is None:
        return
    with open(path, encoding="utf-8", errors="replace") as f:
        content = f.read()
    expected = (OLD_LOG if append == "true" else "") + text
    if content != expected and not (prefix_only and content.startswith(expected)):
        problems.append("%s log: expected %r, got %r" % (which, expected, content))


def run_case(case, options, work):
    directory = tempfile.mkdtemp(prefix=case.name + "-", dir=work)
    record = os.path.join(directory, "record.txt")
    logs = {}
    for which, wanted in (("error", case.error_log), ("output", case.output_log)):
        logs[which] = os.path.join(directory, which + " log.txt") if wanted else None
        if wanted:
            with open(logs[which], "w", encoding="utf-8") as f:
                f.write(OLD_LOG)
    parameters = [case.gui, APP, logs["error"] or "", logs["output"] or "", case.append, PROGRAM,
                  case.mode] + case.arguments

    command = [options.harness, "--libjvm", options.libjvm, "--record", record,
               "--launcher-class", case.launcher,
               "--option", "-Djava.class.path=" + options.class_path]
    for vm_option in VM_OPTIONS:
        command += ["--option", vm_option]
    if case.startup is not None:
        command += ["--startup", case.startup]
    if case.first_run is not None:
        application = os.path.join(directory, "application")
        os.makedirs(os.path.join(application, ".quillmote"))
        with open(os.path.join(application, ".quillmote", "firstrun"), "w", encoding="utf-8") as f:
            f.write("realvm.FirstRunStep\n")
        command += ["--check-first-run", "true",
                    "--option", "-Dtarvo.applicationDirectory=" + application,
                    "--option", "-Drealvm.firstRun=" + case.first_run]
    command += ["--"] + parameters
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS", "JDK_JAVA_OPTIONS")}
    started = time.monotonic()
    try:
        result = subprocess.run(command, capture_output=True, env=environment, timeout=60)
    except subprocess.TimeoutExpired as e:
        # A VM that never ends is a finding of its own, e.g. DestroyJavaVM waiting on a thread.
        return time.monotonic() - started, ["harness still running after %d s" % e.timeout]
    seconds = time.monotonic() - started

    problems = []
    stdout = result.stdout.decode("utf-8", "replace")
    stderr = result.stderr.decode("utf-8", "replace")
    if result.returncode != EXIT_CODES[case.outcome]:
        problems.append("exit code %d, expected %d" % (result.returncode, EXIT_CODES[case.outcome]))
    if "outcome: %s\n" % case.outcome not in stdout:
        problems.append("harness did not print outcome %s" % case.outcome)
    try:
        with open(record, encoding="utf-8") as f:
            got = f.read().split("\n")
    except FileNotFoundError:
        got = ["(no record file)"]
    if got and got[-1] == "":
        got.pop()
    wanted = expected_record(case, parameters)
    if got != wanted:
        rows = []
        for i in range(max(len(got), len(wanted))):
            w = wanted[i] if i < len(wanted) else "(none)"
            g = got[i] if i < len(got) else "(none)"
            rows.append("  %s %-50s | %s" % ("  " if w == g else "!!", w, g))
        problems.append("record differs (expected | got):\n" + "\n".join(rows))
    check_log(problems, "error", logs["error"], case.error_text, case.append, case.trace_follows)
    check_log(problems, "output", logs["output"], case.output_text, case.append)
    if case.output_log and "to stdout" in stdout:
        problems.append("System.out still reached the process's standard output")
    if problems:
        problems.append("harness stdout:\n" + stdout + "harness stderr:\n" + stderr)
    return seconds, problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--harness", required=True)
    parser.add_argument("--libjvm", required=True)
    parser.add_argument("--class-path", required=True)
    parser.add_argument("cases", nargs="*")
    options = parser.parse_args()
    cases = [c for c in CASES if not options.cases or c.name in options.cases]
    if not cases:
        print("no such case: %s" % " ".join(options.cases))
        return 2

    failed = 0
    with tempfile.TemporaryDirectory(prefix="realvm-") as work, \
            concurrent.futures.ThreadPoolExecutor(max_workers=WORKERS) as pool:
        futures = [pool.submit(run_case, case, options, work) for case in cases]
        for case, future in zip(cases, futures):
            seconds, problems = future.result()
            print("%s %s (%.1f s)" % ("FAIL" if problems else "ok  ", case.name, seconds))
            for problem in problems:
                print("    " + problem.replace("\n", "\n    "))
            failed += bool(problems)
    print("%d passed, %d failed" % (len(cases) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs the benchmarks and prints one table: each figure of the program beside
its floor, measured in the same run, and their ratio against the target.

  run_benchmarks.py --build-dir BUILD [--quick]

--quick runs every measurement a few times only, to check that they work; its
figures mean nothing. See README.md, "Performance", for the method.
"""

import argparse
import json
import os
import platform
import select
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from dataclasses import dataclass
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tools"))
from virtual_display import VirtualDisplay  # noqa: E402


@dataclass(frozen=True)
class Runs:
    request_pairs: int
    startups: int  # of each program, after one unmeasured warm-up of each
    memory_runs: int  # of each program
    memory_requests: int
    syscall_requests: tuple  # two request counts; calls per request is the difference
    conversion_min_time: str
    server_rounds: int  # of server sets, each followed by as many floor requests
    server_sets: int  # per round
    server_memory_sets: int  # from SERVER_CLIENTS clients together


FULL = Runs(request_pairs=3000, startups=30, memory_runs=3, memory_requests=100,
            syscall_requests=(10, 60), conversion_min_time="0.5",
            server_rounds=10, server_sets=300, server_memory_sets=1000)
QUICK = Runs(request_pairs=20, startups=1, memory_runs=1, memory_requests=3,
             syscall_requests=(1, 2), conversion_min_time="0.001",
             server_rounds=1, server_sets=5, server_memory_sets=8)

# Start-up and memory against a window that shows one line of text: any window with
# captions loads the font machinery, which an empty window never does.
TARGETS = {"request": 1.10, "startup": 1.10, "memory": 1.05, "server set": 1.10}
SERVER_CLIENTS = 4

# Set up once per context; a request that calls these does work the context already did.
CONTEXT_CALLS = {"libusb_init", "libusb_exit"}


class Failure(Exception):
    pass


@dataclass(frozen=True)
class Programs:
    program: str
    minimal_window: str
    harness: str
    request_bench: str
    first_paint_watch: str
    conversion_bench: str
    server: str
    minimal_core: str

    @staticmethod
    def under(build):
        paths = Programs(
            program=build / "app/vexa-sdr-control",
            minimal_window=build / "bench/minimal-window",
            harness=build / "tools/emulated_receiver/vexa-emulated-receiver",
            request_bench=build / "bench/request-bench",
            first_paint_watch=build / "bench/first-paint-watch",
            conversion_bench=build / "bench/conversion-bench",
            server=build / "rigctld/vexa-sdr-rigctld",
            minimal_core=build / "bench/minimal-core")
        for path in vars(paths).values():
            if not os.access(path, os.X_OK):
                raise Failure(f"not built: {path}")
        return Programs(**{name: str(path) for name, path in vars(paths).items()})


def tool(name):
    path = shutil.which(name)
    if path is None:
        raise Failure(f"{name} is not installed (scripts/install-deps test)")
    return path


def run(command, **options):
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          **options)
    if done.returncode != 0:
        raise Failure(f"{' '.join(command)} ended with {done.returncode}:\n{done.stderr}")
    return done.stdout


def spread(samples):
    """Median and the quartiles around it."""
    if len(samples) == 1:
        return samples[0], samples[0], samples[0]
    lower, median, upper = statistics.quantiles(samples, n=4, method="inclusive")
    return median, lower, upper


# --- 1. the tuning request ------------------------------------------------------------------

def measure_requests(programs, runs):
    answer = json.loads(run([tool("umockdev-wrapper"), programs.request_bench,
                             "--pairs", str(runs.request_pairs)]))
    return {
        "project": spread(answer["project_us"]),
        "reference": spread(answer["reference_us"]),
        "pair_ratio": statistics.median(
            p / r for p, r in zip(answer["project_us"], answer["reference_us"])),
        "libusb_calls": answer["libusb_calls"],
    }


# --- 2. start-up ----------------------------------------------------------------------------

def first_paint_ms(programs, display, command):
    answer = run([programs.first_paint_watch, "--", *command], env=display.env).split()
    return float(answer[answer.index("paint") + 1])


def subjects(programs):
    """The program and its floors, each as a command."""
    return {
        "program": [programs.program],
        "text floor": [programs.minimal_window, "--text"],
        "empty floor": [programs.minimal_window],
    }


def in_turns(items, turn):
    """The items, rotated by the turn, so that none always runs first."""
    shift = turn % len(items)
    return items[shift:] + items[:shift]


def measure_startup(programs, display, runs):
    commands = subjects(programs)
    times = {name: [] for name in commands}
    for command in commands.values():  # warm-up: font caches, the page cache
        first_paint_ms(programs, display, command)
    for turn in range(runs.startups):
        for name in in_turns(list(commands), turn):
            times[name].append(first_paint_ms(programs, display, commands[name]))
    return {name: spread(samples) for name, samples in times.items()}


# --- 3. peak memory -------------------------------------------------------------------------

class LineReader:
    """Lines from a pipe, each waited for no longer than a deadline."""

    def __init__(self, pipe):
        self.pipe = pipe
        self.pending = b""

    def next_line(self, deadline):
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.pipe], [], [], left)[0]:
                raise Failure("timed out waiting for the emulated receiver")
            chunk = os.read(self.pipe.fileno(), 4096)
            if not chunk:
                raise Failure("the emulated receiver ended early")
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode()


def program_started_by(harness_pid, executable, deadline):
    """The pid of the program that the harness runs, once it has been started."""
    children = Path(f"/proc/{harness_pid}/task/{harness_pid}/children")
    while time.monotonic() < deadline:
        for pid in children.read_text().split():
            try:
                if os.readlink(f"/proc/{pid}/exe") == os.path.realpath(executable):
                    return pid
            except OSError:
                pass
        time.sleep(0.01)
    raise Failure(f"{executable} did not start")


def peak_resident_kib(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1])
    raise Failure(f"no VmHWM for {pid}")


def peak_memory_after_requests(programs, display, command, requests):
    """Starts the command against the emulated receiver, presses Space on its
    focused button the given number of times and reads its peak resident
    memory once the receiver has had that many requests (the floors have no
    button: they get the key presses and send nothing)."""
    expected = requests if command == [programs.program] else 0
    harness = subprocess.Popen([programs.harness, "--", *command], env=display.env,
                               stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    try:
        deadline = time.monotonic() + 60
        pid = program_started_by(harness.pid, command[0], deadline)
        xdotool = tool("xdotool")
        window = run([xdotool, "search", "--sync", "--onlyvisible", "--pid", pid],
                     env=display.env, timeout=30).split()[0]
        run([xdotool, "windowfocus", "--sync", window], env=display.env, timeout=30)
        run([xdotool, "key", "--delay", "5", "--repeat", str(requests), "space"],
            env=display.env, timeout=120)
        lines = LineReader(harness.stdout)
        received = 0
        while received < expected:
            if lines.next_line(deadline).startswith("request 32 "):
                received += 1
        if not expected:
            time.sleep(0.5)  # let it take the key presses too
        return peak_resident_kib(pid)
    finally:
        harness.communicate(b"quit\n", timeout=30)


def measure_memory(programs, display, runs):
    commands = subjects(programs)
    peaks = {name: [] for name in commands}
    for turn in range(runs.memory_runs):
        for name in in_turns(list(commands), turn):
            peaks[name].append(peak_memory_after_requests(programs, display, commands[name],
                                                          runs.memory_requests))
    return {name: statistics.median(samples) for name, samples in peaks.items()}


# --- 4. system calls per request ------------------------------------------------------------

def syscalls_of(programs, kind, requests):
    """System calls of request-bench sending this many requests, by name."""
    with tempfile.NamedTemporaryFile("r", prefix="vexa-bench-strace-") as summary:
        run([programs.harness, "--", tool("strace"), "-f", "-qq", "-c", "-U", "name,calls",
             "-o", summary.name, programs.request_bench, "--client", kind,
             "--requests", str(requests)], stdin=subprocess.DEVNULL)
        calls = {}
        for row in summary.read().splitlines():
            fields = row.split()
            if len(fields) == 2 and fields[1].isdigit() and fields[0] != "total":
                calls[fields[0]] = int(fields[1])
        return calls


def measure_syscalls(programs, runs):
    few, many = runs.syscall_requests
    per_request = {}
    for kind in ("project", "reference"):
        before, after = syscalls_of(programs, kind, few), syscalls_of(programs, kind, many)
        per_request[kind] = {name: (after.get(name, 0) - before.get(name, 0)) / (many - few)
                             for name in set(before) | set(after)}
    return per_request


# --- 5. conversions -------------------------------------------------------------------------

def measure_conversions(programs, runs):
    answer = json.loads(run([programs.conversion_bench, "--benchmark_format=json",
                             f"--benchmark_min_time={runs.conversion_min_time}"]))
    return [(entry["name"] + (f" \"{entry['label']}\"" if entry.get("label") else ""),
             entry["cpu_time"], entry["time_unit"]) for entry in answer["benchmarks"]]


# --- 6. the rig-control server ------------------------------------------------------------

def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class ServerClient:
    """One client connection that sets the frequency and waits for the answer."""

    def __init__(self, port, deadline):
        while True:
            try:
                self.socket = socket.create_connection(("127.0.0.1", port), timeout=30)
                break
            except ConnectionRefusedError:
                if time.monotonic() > deadline:
                    raise Failure("the rig-control server did not start") from None
                time.sleep(0.01)
        self.socket.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def set_us(self):
        """Microseconds from sending a set to its answer."""
        start = time.perf_counter_ns()
        self.socket.sendall(b"F 14074000\n")
        answer = b""
        while not answer.endswith(b"\n"):
            chunk = self.socket.recv(64)
            if not chunk:
                raise Failure("the rig-control server closed the connection")
            answer += chunk
        elapsed = (time.perf_counter_ns() - start) / 1000
        if answer != b"RPRT 0\n":
            raise Failure(f"the rig-control server answered {answer!r}")
        return elapsed

    def close(self):
        self.socket.close()


class ServerUnderReceiver:
    """The server on a free port, against the emulated receiver."""

    def __init__(self, programs):
        self.port = free_port()
        self.harness = subprocess.Popen(
            [programs.harness, "--", programs.server, "--port", str(self.port)],
            stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
        self.deadline = time.monotonic() + 60
        self.pid = program_started_by(self.harness.pid, programs.server, self.deadline)

    def client(self):
        return ServerClient(self.port, self.deadline)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.harness.communicate(b"quit\n", timeout=30)


def floor_requests_us(programs, count):
    """The bare libusb request, against the receiver in the harness as the server meets it."""
    output = run([programs.harness, "--", programs.request_bench, "--client", "reference",
                  "--requests", str(count)], stdin=subprocess.DEVNULL)
    return json.loads(next(line for line in output.splitlines() if line.startswith("{")))["us"]


def measure_server(programs, runs):
    """Sets through the server against the bare libusb request, in turns; then
    the server's peak memory after sets from several clients at once, beside a
    Qt Core program that does nothing."""
    sets, floor = [], []
    with ServerUnderReceiver(programs) as server:
        client = server.client()
        for _ in range(runs.server_rounds):
            sets += [client.set_us() for _ in range(runs.server_sets)]
            floor += floor_requests_us(programs, runs.server_sets)
        client.close()
    with ServerUnderReceiver(programs) as server:
        clients = [server.client() for _ in range(SERVER_CLIENTS)]
        threads = [threading.Thread(target=lambda c=c: [
            c.set_us() for _ in range(runs.server_memory_sets // SERVER_CLIENTS)])
            for c in clients]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        server_kib = peak_resident_kib(server.pid)
        for c in clients:
            c.close()
    core = subprocess.Popen([programs.minimal_core], stdout=subprocess.PIPE)
    try:
        LineReader(core.stdout).next_line(time.monotonic() + 30)
        core_kib = peak_resident_kib(core.pid)
    finally:
        core.kill()
        core.wait()
    return {"set": spread(sets), "floor": spread(floor), "memory": server_kib,
            "core memory": core_kib}


# --- the table ------------------------------------------------------------------------------

def machine():
    cpu = next((line.split(":", 1)[1].strip()
                for line in Path("/proc/cpuinfo").read_text().splitlines()
                if line.startswith("model name")), platform.processor())
    memory_kib = next(int(line.split()[1])
                      for line in Path("/proc/meminfo").read_text().splitlines()
                      if line.startswith("MemTotal:"))
    return f"{os.cpu_count()} cores, {cpu}, {memory_kib / 1024 / 1024:.1f} GiB memory"


def load():
    return os.getloadavg()[0]


def verdict(ratio, target=None):
    if target is None:
        return f"{ratio:.2f}x"
    return f"{ratio:.2f}x (target <= {target:.2f}x: {'met' if ratio <= target else 'NOT met'})"


def with_quartiles(figures, digits):
    median, lower, upper = figures
    return f"{median:.{digits}f} [{lower:.{digits}f}-{upper:.{digits}f}]"


def calls_text(calls):
    kept = sorted(((name, count) for name, count in calls.items() if count),
                  key=lambda call: (-call[1], call[0]))
    return ", ".join(f"{name} {count:g}" for name, count in kept)


def print_table(runs, startload, requests, startup, memory, syscalls, server, conversions):
    empty_floor = "the same, floor: an empty window (for reference)"
    rows = [
        (f"Tuning request, µs, median [quartiles] of {runs.request_pairs}",
         with_quartiles(requests["project"], 0), with_quartiles(requests["reference"], 0),
         verdict(requests["project"][0] / requests["reference"][0], TARGETS["request"])),
        (f"Start-up to first paint, ms, median [quartiles] of {runs.startups}",
         with_quartiles(startup["program"], 1), with_quartiles(startup["text floor"], 1),
         verdict(startup["program"][0] / startup["text floor"][0], TARGETS["startup"])),
        (empty_floor, with_quartiles(startup["program"], 1),
         with_quartiles(startup["empty floor"], 1),
         verdict(startup["program"][0] / startup["empty floor"][0])),
        (f"Peak resident memory after {runs.memory_requests} requests, MiB",
         f"{memory['program'] / 1024:.1f}", f"{memory['text floor'] / 1024:.1f}",
         verdict(memory["program"] / memory["text floor"], TARGETS["memory"])),
        (empty_floor, f"{memory['program'] / 1024:.1f}", f"{memory['empty floor'] / 1024:.1f}",
         verdict(memory["program"] / memory["empty floor"])),
    ]
    libusb = requests["libusb_calls"]
    rows.append(("libusb calls per request", f"{sum(libusb['project'].values())}",
                 f"{sum(libusb['reference'].values())}", "(the floor's open walks the list inside)"))
    program, floor = sum(syscalls["project"].values()), sum(syscalls["reference"].values())
    rows.append(("System calls per request (emulated receiver)", f"{program:g}", f"{floor:g}",
                 verdict(program / floor)))

    rows.append((f"Rig-control set, `F` to `RPRT 0`, µs, median [quartiles] of "
                 f"{runs.server_rounds * runs.server_sets}",
                 with_quartiles(server["set"], 0), with_quartiles(server["floor"], 0),
                 verdict(server["set"][0] / server["floor"][0], TARGETS["server set"])))
    rows.append((f"Rig-control server's peak resident memory after {runs.server_memory_sets} "
                 f"sets from {SERVER_CLIENTS} clients, MiB",
                 f"{server['memory'] / 1024:.1f}", f"{server['core memory'] / 1024:.1f}",
                 verdict(server["memory"] / server["core memory"]) +
                 " (floor: a Qt Core program that runs its event loop)"))

    headers = ("Figure", "Program", "Floor", "Ratio")
    widths = [max(len(row[i]) for row in rows + [headers]) for i in range(len(headers))]
    line = lambda cells: "| " + " | ".join(c.ljust(w) for c, w in zip(cells, widths)) + " |"
    print(f"Machine: {machine()}; load average {startload:.2f} at the start, "
          f"{load():.2f} at the end")
    print()
    print(line(headers))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in rows:
        print(line(row))
    print()
    print("Floors: the request written directly on libusb-1.0 (one context; open by IDs, transfer,")
    print("close); a Qt Widgets window of the main window's size that shows one line of text;")
    print("for the rig-control server, the same request and a Qt Core program that only runs its")
    print("event loop. Measured interleaved.")
    print(f"Median ratio of the {runs.request_pairs} request pairs: {requests['pair_ratio']:.3f}x.")
    print()
    repeated = sorted(set(libusb["project"]) & CONTEXT_CALLS)
    print("Calls per request that one libusb context makes unnecessary (init, exit): "
          + (", ".join(repeated) if repeated else "none"))
    print(f"libusb calls, program: {calls_text(requests['libusb_calls']['project'])}")
    print(f"libusb calls, floor:   {calls_text(requests['libusb_calls']['reference'])}")
    print(f"System calls, program: {calls_text(syscalls['project'])}")
    print(f"System calls, floor:   {calls_text(syscalls['reference'])}")
    print()
    widest = max(len(name) for name, _, _ in conversions)
    print("Conversions (Google Benchmark, CPU time per call):")
    for name, cpu_time, unit in conversions:
        print(f"  {name.ljust(widest)}  {cpu_time:6.1f} {unit}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build-dir", required=True, type=Path)
    parser.add_argument("--quick", action="store_true", help="check that everything runs")
    options = parser.parse_args()
    runs = QUICK if options.quick else FULL
    try:
        programs = Programs.under(options.build_dir.resolve())
        startload = load()
        requests = measure_requests(programs, runs)
        with VirtualDisplay(1280, 1024) as display:
            for variable in ("QT_QPA_PLATFORM", "LD_PRELOAD", "UMOCKDEV_DIR"):
                display.env.pop(variable, None)
            startup = measure_startup(programs, display, runs)
            memory = measure_memory(programs, display, runs)
        syscalls = measure_syscalls(programs, runs)
        server = measure_server(programs, runs)
        conversions = measure_conversions(programs, runs)
    except (Failure, subprocess.TimeoutExpired, OSError, RuntimeError) as failure:
        print(f"run_benchmarks: {failure}", file=sys.stderr)
        return 1
    print_table(runs, startload, requests, startup, memory, syscalls, server, conversions)
    return 0


if __name__ == "__main__":
    sys.exit(main())

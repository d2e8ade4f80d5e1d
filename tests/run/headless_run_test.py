"""The README's run command on a machine without a display: the installer on a virtual desktop that is served
over VNC and to a browser on loopback, an install clicked through the viewer, and nothing of the run left after
Ctrl+C or its time limit.

    headless_run_test.py RUN_SCRIPT BUILD_DIR PREFIX [unittest arguments, e.g. a test name]

Runs the programs already built in BUILD_DIR. The first run, in which nothing is installed, makes the Wine prefix
PREFIX-clean (when it is not there yet); the install is made in PREFIX, a fresh copy of it.
"""
import os
import queue
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from rfb_client import RfbClient, http_get, websocket_first_message

RUN_SCRIPT, BUILD_DIR, PREFIX = sys.argv[1:4]
CLEAN_PREFIX = PREFIX + "-clean"

# The installer's main button, in the proportions of its dialog template (426 x 256 units).
INSTALL_BUTTON = (212 / 426, 208 / 256)


def free_port():
    with socket.socket() as sock:
        sock.bind(("127.0.0.1", 0))
        return sock.getsockname()[1]


def listening_addresses(port):
    """Local addresses of the sockets listening on a TCP port, from the kernel's tables."""
    found = set()
    for table, loopback in (("/proc/net/tcp", "0100007F"), ("/proc/net/tcp6", "0" * 24 + "01000000")):
        try:
            with open(table) as f:
                rows = [line.split() for line in f.readlines()[1:]]
        except OSError:
            continue
        for row in rows:
            address, hex_port = row[1].split(":")
            if row[3] == "0A" and int(hex_port, 16) == port:
                found.add("loopback" if address == loopback else address)
    return found


def wait_for(what, probe, timeout):
    """Polls probe until it gives a true value, for at most timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("%s: not within %d s" % (what, timeout))
        time.sleep(0.2)


class Run:
    """One run of the run command without a display, in a session of its own; its output is read as it comes."""

    def __init__(self, prefix, time_limit, web_port, scratch, display=None):
        self.prefix = prefix
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "XAUTHORITY")}
        if display:
            env["DISPLAY"] = display
        env.update(BUILD_DIR=BUILD_DIR, NIGHTCAP_RUN_NO_BUILD="1", NIGHTCAP_RUN_PREFIX=prefix,
                   NIGHTCAP_RUN_TIME_LIMIT=str(time_limit), NIGHTCAP_RUN_WEB_PORT=str(web_port),
                   NIGHTCAP_TEST_POWER_LOG=os.path.join(scratch, "power.log"), TMPDIR=scratch)
        self.proc = subprocess.Popen(["sh", RUN_SCRIPT], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        self.output = []
        self._lines = queue.Queue()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for raw in self.proc.stdout:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            self.output.append(line)
            self._lines.put(line)
        self._lines.put(None)

    def expect(self, pattern, timeout):
        """The match of the next output line that matches pattern."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self._lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise AssertionError("no line like %r within %d s; output:\n%s" % (pattern, timeout, self.log()))
            if line is None:
                raise AssertionError("the run ended before a line like %r; output:\n%s" % (pattern, self.log()))
            match = re.search(pattern, line)
            if match:
                return match

    def log(self):
        return "\n".join(self.output)

    def finish(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the run did not end within %d s; output:\n%s" % (timeout, self.log()))

    def kill(self):
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()
        self._reader.join(10)  # a process left holding the output would keep it open
        if not self._reader.is_alive():
            self.proc.stdout.close()


def processes_left(session, prefix):
    """Live processes of the run's session or of its Wine prefix, as "pid command" lines."""
    marker = ("WINEPREFIX=" + prefix).encode()
    left = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % name, "rb") as f:
                fields = f.read().rsplit(b")", 1)[1].split()
            with open("/proc/%s/environ" % name, "rb") as f:
                environ = f.read().split(b"\0")
            with open("/proc/%s/cmdline" % name, "rb") as f:
                command = f.read().replace(b"\0", b" ").decode("utf-8", "replace")
        except OSError:
            continue  # ended meanwhile
        if fields[0] != b"Z" and (int(fields[3]) == session or marker in environ):
            left.append("%s %s" % (name, command))
    return left


def start_display():
    """A display of the test's own, as when the run command is started on a desktop; and its process."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
                               "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number:
        server.kill()
        raise AssertionError("Xvfb did not start")
    return ":" + number, server


def make_fresh_prefix():
    """PREFIX as a copy of the clean one when that is there, else missing for the run to make."""
    if os.path.isdir(PREFIX):
        subprocess.run([os.environ["WINESERVER"], "-k"], env=dict(os.environ, WINEPREFIX=PREFIX),
                       stderr=subprocess.DEVNULL)
        shutil.rmtree(PREFIX)
    if os.path.isfile(os.path.join(CLEAN_PREFIX, "system.reg")):
        shutil.copytree(CLEAN_PREFIX, PREFIX, symlinks=True)


class XDisplay:
    def __init__(self, display, authority):
        self.env = dict(os.environ, DISPLAY=display, XAUTHORITY=authority)

    def windows(self, program):
        """Visible top-level windows of a Wine program, by the class name Wine gives them (its exe name)."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname",
                                "^%s$" % re.escape(program.lower())],
                               env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        return found.stdout.split()

    def geometry(self, window):
        shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=self.env,
                               stdout=subprocess.PIPE, text=True, check=True).stdout
        values = dict(line.split("=", 1) for line in shell.split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


class HeadlessRunTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="headless-run-test.")
        self.addCleanup(shutil.rmtree, self.scratch, True)

    def start(self, prefix, time_limit, web_port, display=None):
        run = Run(prefix, time_limit, web_port, self.scratch, display)
        self.addCleanup(run.kill)
        return run

    def assert_nothing_left(self, run):
        # By process, not by port or display number: another run on the machine may take those up at once.
        left = []
        try:
            wait_for("the run's processes to end", lambda: not processes_left(run.proc.pid, run.prefix), 10)
        except AssertionError:
            left = processes_left(run.proc.pid, run.prefix)
        self.assertEqual(left, [], run.log())
        self.assertEqual([f for f in os.listdir(self.scratch) if f.startswith("nightcap-run.")], [],
                         "the run's own files are left")

    def test_1_first_run_ends_with_the_installer_closed_in_viewer_and_passes_a_busy_web_port_over(self):
        # Nothing is installed here, so the prefix can be copied for the install below.
        with socket.socket() as taken:
            taken.bind(("127.0.0.1", 0))
            taken.listen()
            busy = taken.getsockname()[1]
            run = self.start(CLEAN_PREFIX, 300, busy)
            shown = run.expect(r"virtual display (:\d+) \(X authority (\S+)\), VNC on 127\.0\.0\.1:(\d+)$", 60)
            url = run.expect(r"open in a browser on this machine: (\S+)$", 10).group(1)
        web_port = int(re.match(r"http://127\.0\.0\.1:(\d+)/", url).group(1))
        self.assertGreater(web_port, busy)
        self.assertTrue(websocket_first_message(web_port).startswith(b"RFB 003."))

        x = XDisplay(shown.group(1), shown.group(2))
        setup = wait_for("the installer's window", lambda: x.windows("SetupFull.exe"), 120)[0]
        left, top, width, _ = x.geometry(setup)
        viewer = RfbClient(int(shown.group(3)))
        self.addCleanup(viewer.close)
        viewer.click(left + width - 20, top + 12)  # the close button at the top right
        self.assertEqual(run.finish(60), 0)
        self.assert_nothing_left(run)

    def test_2_installer_shown_in_viewer_installs_and_ctrl_c_stops_everything(self):
        make_fresh_prefix()
        web_port = free_port()
        run = self.start(PREFIX, 300, web_port)
        shown = run.expect(r"virtual display (:\d+) \(X authority (\S+)\), VNC on 127\.0\.0\.1:(\d+)$", 60)
        display, vnc_port = shown.group(1), int(shown.group(3))
        x = XDisplay(display, shown.group(2))
        url = run.expect(r"open in a browser on this machine: (\S+)$", 10).group(1)
        self.assertRegex(url, r"^http://127\.0\.0\.1:%d/vnc\.html(\?|$)" % web_port)
        stats = run.expect(r"stats page: http://127\.0\.0\.1:(\d+)/stats$", 60).group(1)
        tunnel = run.expect(r"ssh -N -L (\d+):127\.0\.0\.1:(\d+) -L (\d+):127\.0\.0\.1:(\d+) \S+@\S+$", 10)
        self.assertEqual(tunnel.groups(), (str(web_port), str(web_port), stats, stats))
        run.expect(r"installer started", 180)

        setup = wait_for("the installer's window", lambda: x.windows("SetupFull.exe"), 60)[0]
        left, top, width, height = x.geometry(setup)
        viewer = RfbClient(vnc_port)
        self.addCleanup(viewer.close)
        self.assertEqual((viewer.width, viewer.height), (1024, 768))
        for port in (vnc_port, web_port):
            self.assertEqual(listening_addresses(port), {"loopback"}, "port %d" % port)
        # The viewer sees the skinned installer where X has its window, and the bare desktop around it.
        self.assertGreater(len(viewer.pixels(left, top, width, height)), 16)
        self.assertEqual(len(viewer.pixels(1024 - 40, 768 - 40, 40, 40)), 1)

        # What a browser loads: noVNC's page, and through the WebSocket the same VNC server.
        status, page = http_get(web_port, "/vnc.html")
        self.assertEqual(status, 200)
        self.assertIn(b"noVNC", page)
        self.assertTrue(websocket_first_message(web_port).startswith(b"RFB 003."))

        viewer.click(left + int(width * INSTALL_BUTTON[0]), top + int(height * INSTALL_BUTTON[1]))
        wait_for("Nightcap's window on the same desktop", lambda: x.windows("Nightcap.exe"), 90)
        run.expect(r"the installer has closed", 30)
        self.assertEqual(x.windows("SetupFull.exe"), [])
        self.assertIsNone(run.proc.poll(), "the run must go on while Nightcap runs")

        viewer.close()
        os.killpg(run.proc.pid, signal.SIGINT)  # what Ctrl+C in the terminal sends
        self.assertEqual(run.finish(60), 128 + signal.SIGINT)
        self.assertRegex(run.output[-1], "stopped")
        self.assert_nothing_left(run)

    def test_3_time_limit_stops_the_run(self):
        # The limit may fall in any step of the start: whatever had been started by then must be gone.
        run = self.start(PREFIX, 10, free_port())
        self.assertEqual(run.finish(120), 128 + signal.SIGTERM)
        self.assertIn("run-product: the time limit of 10 s is over", run.output)
        self.assert_nothing_left(run)

    def test_4_with_a_display_the_installer_opens_there_and_ctrl_c_ends_its_wine_processes(self):
        display, server = start_display()
        self.addCleanup(server.wait)
        self.addCleanup(server.terminate)
        run = self.start(PREFIX, 300, free_port(), display)
        run.expect(r"installer started on the display %s;" % re.escape(display), 120)
        x = XDisplay(display, "")
        wait_for("the installer's window", lambda: x.windows("SetupFull.exe"), 60)
        self.assertFalse([line for line in run.output if "VNC" in line or "browser" in line], run.log())

        # The display stays: what ends the Wine processes is the run, not a display going away under them.
        os.killpg(run.proc.pid, signal.SIGINT)
        self.assertEqual(run.finish(60), 128 + signal.SIGINT)
        self.assert_nothing_left(run)
        self.assertIsNone(server.poll())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)

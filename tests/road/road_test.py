#!/usr/bin/env python3
"""Runs the release road test: publishes the build's release and then the later one into a fresh data folder
of the maker's server, starts the server on a free loopback port, runs the Wine test against it and checks
what the server counted. SETUP_EXE installs RELEASE_TREE. With --key both releases are signed with that
private key, as the maker publishes them. With --fault the server plays that fault
(NIGHTCAP_SERVER_TEST_FAULT) and the test checks that it loses nothing; a server gone after the change log
is started again on its port without it when the test asks for it. With --other-arch-next the later release
is NEXT_TREE with the other architecture's programs from that folder, which the publish tool puts on that
architecture's channel: the test checks that the installation is offered nothing and stays as it was.

usage: road_test.py [--fault FAULT] [--key PRIVATE_KEY] [--other-arch-next BIN_DIR] SERVER_BIN_DIR VERSION
                    SETUP_EXE RELEASE_TREE NEXT_TREE NEXT_VERSION TEST_COMMAND...
"""
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

NOTES = "新版本的倒计时提醒更醒目"
# The programs of a release tree, by their place in it and their name in a build's bin folder.
PROGRAMS = ("Nightcap.exe", "Uninstall.exe", "update/Update.exe", "update/XLUE.dll")


def wait_for(predicate, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if predicate():
            return True
        time.sleep(0.05)
    return predicate()


def main():
    args = sys.argv[1:]
    options = {"--fault": "", "--key": "", "--other-arch-next": ""}
    while args[0] in options:
        options[args[0]] = args[1]
        args = args[2:]
    fault, key, other_bin = options["--fault"], options["--key"], options["--other-arch-next"]
    server_bin, version, setup, release_tree, next_tree, next_version = args[:6]
    test_command = args[6:]
    with tempfile.TemporaryDirectory(prefix="road-") as work:
        if other_bin:
            other_tree = os.path.join(work, "other-arch-next")
            shutil.copytree(next_tree, other_tree)
            for program in PROGRAMS:
                shutil.copyfile(os.path.join(other_bin, os.path.basename(program)), os.path.join(other_tree, program))
            next_tree = other_tree
        data = os.path.join(work, "data")
        signing = []
        if key:
            # The publish tool takes a private key from outside every git work tree only; the build's test key
            # lies in the build tree, so it signs with a copy here.
            signing = ["--key", os.path.join(work, "release.key")]
            with open(key, "rb") as source:
                secret = source.read()
            with os.fdopen(os.open(signing[1], os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600), "wb") as copy:
                copy.write(secret)
        for version, tree, notes in ((version, release_tree, "当前版本"), (next_version, next_tree, NOTES)):
            published = subprocess.run([os.path.join(server_bin, "nightcap-publish"), "--data", data, "--version",
                                        version, "--notes", notes] + signing + [tree],
                                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            if published.returncode != 0:
                print("publishing %s failed:\n%s" % (version, published.stdout), file=sys.stderr)
                return 1
        port_file = os.path.join(work, "port")
        restart, restarted = os.path.join(work, "restart"), os.path.join(work, "restarted")

        def start_server(port, fault):
            env = dict(os.environ)
            env.pop("NIGHTCAP_SERVER_TEST_FAULT", None)
            if fault:
                env["NIGHTCAP_SERVER_TEST_FAULT"] = fault
            return subprocess.Popen([os.path.join(server_bin, "nightcap-server"), "--data", data, "--host", "127.0.0.1",
                                     "--port", port, "--port-file", port_file, "--demo"], env=env,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def port():
            try:
                return open(port_file).read().strip()
            except OSError:
                return ""

        server = start_server("0", fault)
        try:
            if not wait_for(lambda: port().isdigit() or server.poll() is not None, 30) or not port().isdigit():
                print("the server did not start", file=sys.stderr)
                return 1
            env = dict(os.environ, ROAD_SERVER="127.0.0.1:" + port(), ROAD_SETUP=os.path.abspath(setup),
                       ROAD_RELEASE_TREE=os.path.abspath(release_tree), ROAD_NEXT_TREE=os.path.abspath(next_tree),
                       ROAD_NEXT_VERSION=next_version, ROAD_NEXT_NOTES=NOTES, ROAD_FAULT=fault,
                       ROAD_OTHER_ARCH="1" if other_bin else "",
                       ROAD_RESTART=restart, ROAD_RESTARTED=restarted)
            started = time.monotonic()
            test = subprocess.Popen(test_command, env=env)
            while test.poll() is None:
                # A server gone by its fault comes back on the same port when the test asks.
                if os.path.exists(restart) and not os.path.exists(restarted):
                    server.wait(30)
                    os.remove(port_file)
                    server = start_server(env["ROAD_SERVER"].split(":")[1], "")
                    if wait_for(lambda: port().isdigit() or server.poll() is not None, 30) and port().isdigit():
                        open(restarted, "w").close()
                time.sleep(0.05)
            result = test.returncode
            print("the road took %.1f s" % (time.monotonic() - started))
        finally:
            if server.poll() is None:
                server.terminate()
                server.wait(30)
        if result != 0 or fault or other_bin:
            return result
        # The server counted one download per changed file of the later release, and the reports.
        changed = [name for name in files_under(next_tree)
                   if open(os.path.join(next_tree, name), "rb").read() != read_or_none(os.path.join(release_tree, name))]
        db = sqlite3.connect(os.path.join(data, "server.db"))
        counts = dict(db.execute("SELECT kind, SUM(count) FROM daily WHERE version = ? GROUP BY kind", (next_version,)))
        db.close()
        failures = []
        if counts.get(2, 0) != len(changed):
            failures.append("downloads counted %s, files changed %d (%s)" % (counts.get(2, 0), len(changed), changed))
        if counts.get(0, 0) < 2:
            failures.append("version checks counted %s, expected one per start of Nightcap.exe" % counts.get(0, 0))
        if counts.get(3, 0) < 1:
            failures.append("no installation report counted")
        for failure in failures:
            print(failure, file=sys.stderr)
        return 1 if failures else 0


def files_under(tree):
    for folder, _, names in os.walk(tree):
        for name in names:
            yield os.path.relpath(os.path.join(folder, name), tree)


def read_or_none(path):
    try:
        return open(path, "rb").read()
    except OSError:
        return None


if __name__ == "__main__":
    sys.exit(main())

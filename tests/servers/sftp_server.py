#!/usr/bin/env python3
"""OpenSSH's sshd as a test process: 127.0.0.1 on a free port, a fresh host
key, and a fresh client key that may log in as the user running it. Prints
one JSON line when it listens ({"port", "user", "key", "hostkey"}) and runs
until stdin closes or it is killed."""
import argparse, json, os, pwd, socket, subprocess, sys, time


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def keygen(path, kind="ed25519"):
    if os.path.exists(path):
        os.remove(path)
        os.remove(path + ".pub")
    subprocess.run(["ssh-keygen", "-q", "-t", kind, "-N", "", "-f", path], check=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dir", required=True, help="a directory of the test's for keys and configuration")
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--new-host-key", action="store_true", help="replace a host key made before")
    a = ap.parse_args()
    sshd = "/usr/sbin/sshd"
    if not os.access(sshd, os.X_OK):
        print(json.dumps({"error": "sshd is not installed (apt-get install openssh-server)"}), flush=True)
        return 3
    d = os.path.abspath(a.dir)
    os.makedirs(d, exist_ok=True)
    host = os.path.join(d, "host_ed25519")
    if a.new_host_key or not os.path.exists(host):
        keygen(host)
    client = os.path.join(d, "id_ed25519")
    if not os.path.exists(client):
        keygen(client)
    with open(client + ".pub") as f, open(os.path.join(d, "authorized_keys"), "w") as out:
        out.write(f.read())
    if os.geteuid() == 0:
        # sshd started by root wants its privilege separation directory.
        os.makedirs("/run/sshd", mode=0o755, exist_ok=True)
    port = a.port or free_port()
    conf = os.path.join(d, "sshd_config")
    with open(conf, "w") as f:
        f.write("\n".join([
            "Port %d" % port, "ListenAddress 127.0.0.1", "HostKey " + host,
            "PidFile " + os.path.join(d, "sshd.pid"),
            "AuthorizedKeysFile " + os.path.join(d, "authorized_keys"),
            "StrictModes no", "UsePAM no", "PasswordAuthentication yes", "KbdInteractiveAuthentication no",
            "PermitRootLogin yes", "Subsystem sftp internal-sftp", "LogLevel ERROR", "MaxStartups 50",
            "MaxAuthTries 10", ""]))
    proc = subprocess.Popen([sshd, "-D", "-e", "-f", conf], stdin=subprocess.DEVNULL, stderr=sys.stderr)
    deadline = time.time() + 15
    while time.time() < deadline:
        if proc.poll() is not None:
            print(json.dumps({"error": "sshd stopped at once (exit %d)" % proc.returncode}), flush=True)
            return 3
        try:
            socket.create_connection(("127.0.0.1", port), timeout=0.2).close()
            break
        except OSError:
            time.sleep(0.05)
    with open(host + ".pub") as f:
        hostkey = f.read().split()[1]
    print(json.dumps({"port": port, "user": pwd.getpwuid(os.geteuid()).pw_name, "key": client,
                      "hostkey": hostkey}), flush=True)
    try:
        sys.stdin.read()
    except KeyboardInterrupt:
        pass
    finally:
        proc.terminate()
        proc.wait(5)
    return 0


if __name__ == "__main__":
    sys.exit(main())

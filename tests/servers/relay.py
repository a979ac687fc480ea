#!/usr/bin/env python3
"""A TCP relay from 127.0.0.1:<free port> to a target port, for cutting a
connection in the middle. Prints {"port"} when it listens and, once the
client has sent --cut-after bytes, {"cut": n} and exits at once, which
closes every connection it carries."""
import argparse, json, os, select, socket, sys


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--target", type=int, required=True)
    ap.add_argument("--cut-after", type=int, default=0, help="bytes from the client; 0: never")
    a = ap.parse_args()
    lst = socket.socket()
    lst.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    lst.bind(("127.0.0.1", 0))
    lst.listen(16)
    print(json.dumps({"port": lst.getsockname()[1]}), flush=True)
    pairs = {}
    sent = 0
    while True:
        r, _, _ = select.select([lst, sys.stdin] + list(pairs), [], [])
        for s in r:
            if s is sys.stdin:
                if not os.read(sys.stdin.fileno(), 4096):
                    os._exit(0)
                continue
            if s is lst:
                c, _ = lst.accept()
                t = socket.create_connection(("127.0.0.1", a.target))
                pairs[c], pairs[t] = t, c
                continue
            try:
                data = s.recv(65536)
            except OSError:
                data = b""
            other = pairs.get(s)
            if not data:
                for x in (s, other):
                    pairs.pop(x, None)
                    x.close()
                continue
            other.sendall(data)
            # The client's side is the one accepted: its peer is the target.
            if other.getpeername()[1] == a.target:
                sent += len(data)
                if a.cut_after and sent >= a.cut_after:
                    print(json.dumps({"cut": sent}), flush=True)
                    os._exit(0)


if __name__ == "__main__":
    sys.exit(main())

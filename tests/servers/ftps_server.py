#!/usr/bin/env python3
"""pyftpdlib with explicit TLS (AUTH TLS, protected data) as a test process:
127.0.0.1 on a free port, a self-signed certificate made for it (or the
one given), one user over a root directory. Prints one JSON line when it
listens ({"port", "cert"}) and runs until stdin closes or it is killed."""
import argparse, json, os, socket, subprocess, sys, threading


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dir", required=True, help="a directory of the test's for the certificate")
    ap.add_argument("--root", required=True)
    ap.add_argument("--user", default="xo")
    ap.add_argument("--password", default="heslo")
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--new-cert", action="store_true", help="replace a certificate made before")
    a = ap.parse_args()
    try:
        from pyftpdlib.authorizers import DummyAuthorizer
        from pyftpdlib.handlers import TLS_FTPHandler
        from pyftpdlib.servers import FTPServer
    except ImportError as e:
        print(json.dumps({"error": "pyftpdlib with TLS is missing (python3-pyftpdlib, python3-openssl): %s" % e}),
              flush=True)
        return 3
    os.makedirs(a.dir, exist_ok=True)
    cert = os.path.join(a.dir, "server.pem")
    if a.new_cert or not os.path.exists(cert):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=localhost", "-keyout", cert, "-out", cert], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    auth = DummyAuthorizer()
    auth.add_user(a.user, a.password, a.root, perm="elradfmwMT")
    from OpenSSL import SSL
    from pyftpdlib.handlers import TLS_DTPHandler

    class EarlyDataConnection(TLS_DTPHandler):
        # Clients such as curl make the data connection's TLS handshake
        # before the transfer command; pyftpdlib would take that connection,
        # readable before any command, for a closed one.
        def readable(self):
            if not self.receive and not self._initialized:
                return self._ssl_accepting or self._ssl_want_read
            return super().readable()

    handler = TLS_FTPHandler
    handler.dtp_handler = EarlyDataConnection
    handler.certfile = cert
    # The data connections resume the control connection's TLS session, as
    # clients do; without a session id context OpenSSL resets them.
    ctx = SSL.Context(SSL.TLS_SERVER_METHOD)
    ctx.use_certificate_chain_file(cert)
    ctx.use_privatekey_file(cert)
    ctx.set_session_id(b"xo-test")
    handler.ssl_context = ctx
    handler.authorizer = auth
    handler.tls_control_required = True
    handler.tls_data_required = True
    import logging
    logging.basicConfig(level=logging.ERROR)
    port = a.port or free_port()
    server = FTPServer(("127.0.0.1", port), handler)
    print(json.dumps({"port": port, "cert": cert}), flush=True)

    def stop_on_eof():
        try:
            sys.stdin.read()
        finally:
            server.close_all()
            os._exit(0)

    threading.Thread(target=stop_on_eof, daemon=True).start()
    server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())

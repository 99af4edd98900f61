#!/usr/bin/python3
"""Independent peer for the mail tests and benchmark.

serve: a local SMTP server (aiosmtpd) on 127.0.0.1 that stores every message
it accepts in a folder; prints "READY <port>" once it listens and runs until
its standard input closes.

read: parses a stored message with Python's email package and prints what
the tests check as JSON.
"""
import argparse
import asyncio
import hashlib
import json
import os
import socket
import ssl
import sys
import warnings

warnings.simplefilter("ignore", DeprecationWarning)


def serve(args):
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult, LoginPassword

    counter = [0]

    class Handler:
        async def handle_RCPT(self, server, session, envelope, address, options):
            if address in args.reject:
                return "550 5.1.1 Mailbox unavailable"
            envelope.rcpt_tos.append(address)
            return "250 OK"

        async def handle_DATA(self, server, session, envelope):
            counter[0] += 1
            base = os.path.join(args.store, "msg%d" % counter[0])
            with open(base + ".eml", "wb") as f:
                f.write(envelope.original_content or envelope.content)
            with open(base + ".json", "w") as f:
                json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos,
                           "login": session.auth_data.login.decode()
                           if isinstance(session.auth_data, LoginPassword) else None,
                           "tls": server.transport.get_extra_info("ssl_object") is not None}, f)
            return "250 Message accepted for delivery"

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login.decode() == args.user
              and auth_data.password.decode() == args.password)
        return AuthResult(success=ok, handled=False, auth_data=auth_data)

    sock = socket.socket()
    sock.bind(("127.0.0.1", 0))
    port = sock.getsockname()[1]
    sock.close()

    context = None
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)

    params = {"data_size_limit": None}
    if args.starttls:
        params["tls_context"] = context
        params["require_starttls"] = True
    if args.user:
        params["authenticator"] = authenticator
        params["auth_required"] = True
        params["auth_require_tls"] = bool(args.starttls or args.tls)
    kwargs = {}
    if args.tls:
        kwargs["ssl_context"] = context
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, **kwargs, **params)
    controller.start()
    print("READY %d" % port, flush=True)
    try:
        sys.stdin.read()
    finally:
        controller.stop()


def sink(args):
    """The floor of the benchmarks: receives raw bytes on a plain socket
    until the sender closes its side, stores them, then answers "OK"."""
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(1)

    def receive():
        count = 0
        while True:
            conn, _ = server.accept()
            count += 1
            with conn, open(os.path.join(args.store, "sink%d.bin" % count), "wb") as out:
                while True:
                    data = conn.recv(65536)
                    if not data:
                        break
                    out.write(data)
                out.flush()
                conn.sendall(b"OK\n")

    import threading
    threading.Thread(target=receive, daemon=True).start()
    print("READY %d" % server.getsockname()[1], flush=True)
    sys.stdin.read()


def read(args):
    import email
    from email import policy

    with open(args.file, "rb") as f:
        msg = email.message_from_binary_file(f, policy=policy.default)
    result = {"headers": {}, "defects": [str(d) for d in msg.defects], "attachments": []}
    for name in set(msg.keys()):
        result["headers"][name] = [str(v) for v in msg.get_all(name)]
    body = msg.get_body(preferencelist=("plain",))
    result["body"] = body.get_content() if body is not None else None
    for part in msg.iter_attachments():
        data = part.get_payload(decode=True)
        result["attachments"].append({
            "filename": part.get_filename(),
            "type": part.get_content_type(),
            "size": len(data),
            "sha256": hashlib.sha256(data).hexdigest(),
        })
    json.dump(result, sys.stdout)


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    s = sub.add_parser("serve")
    s.add_argument("--store", required=True)
    s.add_argument("--cert")
    s.add_argument("--key")
    s.add_argument("--starttls", action="store_true")
    s.add_argument("--tls", action="store_true")
    s.add_argument("--user")
    s.add_argument("--password")
    s.add_argument("--reject", action="append", default=[])
    k = sub.add_parser("sink")
    k.add_argument("--store", required=True)
    r = sub.add_parser("read")
    r.add_argument("file")
    args = parser.parse_args()
    {"serve": serve, "sink": sink, "read": read}[args.command](args)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""A real SMTP server on 127.0.0.1 for the mail tests (aiosmtpd).

Prints "PORT <n>" (and "CERT <file>" with --starttls) once it listens, then serves until its
standard input closes. Every message is parsed with Python's email package and written into
--dir as <n>.json (the headers as read, the text, the attachments' names and types) with each
attachment's bytes in <n>.<i>.att and the raw message in <n>.eml.
"""
import argparse
import json
import os
import socket
import ssl
import subprocess
import sys
from email import policy
from email.parser import BytesParser

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Handler:
    def __init__(self, folder, refuse, quiet):
        self.folder = folder
        self.refuse = refuse
        self.quiet = quiet
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.refuse and self.refuse in address:
            return "550 5.1.1 <%s>: Recipient address rejected: User unknown" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        n = self.count
        if self.quiet:
            return "250 Message accepted for delivery"
        raw = envelope.content
        with open(os.path.join(self.folder, "%d.eml" % n), "wb") as f:
            f.write(raw)
        msg = BytesParser(policy=policy.default).parsebytes(raw)
        body = msg.get_body(preferencelist=("plain",))
        attachments = []
        for i, part in enumerate(msg.iter_attachments()):
            name = os.path.join(self.folder, "%d.%d.att" % (n, i))
            with open(name, "wb") as f:
                f.write(part.get_payload(decode=True))
            attachments.append({"filename": part.get_filename(),
                                "content_type": part.get_content_type(), "file": name})
        info = {"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                "from": str(msg["From"]), "to": str(msg["To"]), "subject": str(msg["Subject"]),
                "date": str(msg["Date"]), "defects": len(msg.defects),
                "body": body.get_content() if body is not None else None,
                "attachments": attachments, "login": getattr(session, "zf_user", None)}
        with open(os.path.join(self.folder, "%d.json.tmp" % n), "w", encoding="utf-8") as f:
            json.dump(info, f, ensure_ascii=False)
        os.replace(os.path.join(self.folder, "%d.json.tmp" % n),
                   os.path.join(self.folder, "%d.json" % n))
        return "250 Message accepted for delivery"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dir", required=True)
    ap.add_argument("--starttls", action="store_true")
    ap.add_argument("--refuse", default="")
    ap.add_argument("--auth", default="", help="USER:PASSWORD the server requires")
    ap.add_argument("--quiet", action="store_true", help="accept and forget (benchmarks)")
    a = ap.parse_args()

    kwargs = {}
    if a.starttls:
        cert = os.path.join(a.dir, "cert.pem")
        key = os.path.join(a.dir, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                        "-keyout", key, "-out", cert], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        ctx = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        ctx.load_cert_chain(cert, key)
        kwargs.update(tls_context=ctx, require_starttls=True)
    if a.auth:
        user, password = a.auth.split(":", 1)

        def authenticator(server, session, envelope, mechanism, auth_data):
            ok = (auth_data.login.decode() == user and auth_data.password.decode() == password)
            if ok:
                session.zf_user = user
            # handled=False: the server itself answers 535 to a refused login.
            return AuthResult(success=ok, handled=False)

        kwargs.update(authenticator=authenticator, auth_required=True,
                      auth_require_tls=a.starttls)

    port = free_port()
    controller = Controller(Handler(a.dir, a.refuse, a.quiet), hostname="127.0.0.1", port=port, **kwargs)
    controller.start()
    print("PORT %d" % port, flush=True)
    if a.starttls:
        print("CERT %s" % cert, flush=True)
    try:
        sys.stdin.read()
    finally:
        controller.stop()


if __name__ == "__main__":
    main()

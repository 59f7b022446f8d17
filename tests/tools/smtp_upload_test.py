#!/usr/bin/env python3
"""The skin upload end to end: upload_client mails a skin made by tdskn to an aiosmtpd server
on the loopback that wants AUTH LOGIN, the message must parse as MIME and its attachment
decode to the skin file byte for byte; wrong credentials end in the failure message.

    smtp_upload_test.py UPLOAD_CLIENT TDSKN
"""
import asyncio
import base64
import email
import email.policy
import logging
import os
import subprocess
import sys
import tempfile
import threading
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

# Plain AUTH on the loopback is the point here; aiosmtpd's warnings about it are not.
logging.getLogger("mail.log").setLevel(logging.CRITICAL)
warnings.filterwarnings("ignore", module="aiosmtpd")

USER, PASSWORD = b"upload", b"s3cret!"
MAILBOX = "skins@maker.test"
SENT = "      皮肤上传成功，请耐心等待官方审核结果。"
FAILED = "      皮肤上传失败，请检查网络设置。"


class MakerServer(SMTP):
    """aiosmtpd as the maker's server behaves: AUTH after HELO, Base64 lines of 4000."""

    line_length_limit = 8192

    async def smtp_HELO(self, hostname):
        await super().smtp_HELO(hostname)
        self.session.extended_smtp = True


class Inbox:
    def __init__(self):
        self.envelopes = []

    async def handle_DATA(self, server, session, envelope):
        self.envelopes.append(envelope)
        return "250 OK"


def authenticate(server, session, envelope, mechanism, data):
    ok = mechanism == "LOGIN" and isinstance(data, LoginPassword) and \
        data.login == USER and data.password == PASSWORD
    return AuthResult(success=ok, handled=False)


def start_server(inbox):
    loop = asyncio.new_event_loop()
    server = loop.run_until_complete(loop.create_server(
        lambda: MakerServer(inbox, authenticator=authenticate, auth_require_tls=False,
                            auth_required=True, loop=loop),
        "127.0.0.1", 0))
    thread = threading.Thread(target=loop.run_forever, daemon=True)
    thread.start()

    def stop():
        loop.call_soon_threadsafe(loop.stop)
        thread.join()
        server.close()
        loop.run_until_complete(server.wait_closed())
        loop.close()
    return server.sockets[0].getsockname()[1], stop


def upload(client, folder, port, password, skin, sender, subject):
    registry = os.path.join(folder, "registry.ini")
    with open(registry, "w", encoding="utf-8") as f:
        f.write("[Software\\Tandel\\Upload]\nHost=127.0.0.1\nPort=%d\nMailbox=%s\n"
                "UserBase64=%s\nPasswordBase64=%s\n" % (
                    port, MAILBOX, _b64(USER), _b64(password)))
    env = dict(os.environ, TANDEL_REGISTRY=registry, QT_QPA_PLATFORM="offscreen")
    result = subprocess.run([client, skin, sender, subject], env=env, capture_output=True,
                            timeout=120)
    return result.returncode, result.stdout.decode("utf-8").rstrip("\n")


def _b64(data):
    return base64.b64encode(data).decode("ascii")


def check(condition, what):
    if not condition:
        sys.exit("FAIL: " + what)


def main():
    client, tdskn = sys.argv[1], sys.argv[2]
    inbox = Inbox()
    port, stop = start_server(inbox)
    try:
        with tempfile.TemporaryDirectory() as folder:
            skin = os.path.join(folder, "水墨.tdskn")
            subprocess.run([tdskn, "new", skin, "--name", "水墨", "--author", "张三",
                            "--email", "zhang@example.com"], check=True, capture_output=True)
            with open(skin, "rb") as f:
                skin_bytes = f.read()
            sender = "水墨 : 张三".encode("gbk")

            code, message = upload(client, folder, port, PASSWORD, skin, sender,
                                   b"zhang@example.com")
            check(code == 0 and message == SENT, "upload said %r (%d)" % (message, code))
            check(len(inbox.envelopes) == 1, "%d messages" % len(inbox.envelopes))
            envelope = inbox.envelopes[0]
            check(envelope.mail_from == MAILBOX and envelope.rcpt_tos == [MAILBOX],
                  "envelope %r %r" % (envelope.mail_from, envelope.rcpt_tos))
            raw = envelope.original_content
            check(raw.startswith(b'From:"' + sender + b'"<' + MAILBOX.encode() + b'>\r\n'),
                  "From line")

            mail = email.message_from_bytes(raw, policy=email.policy.compat32)
            check(mail.get_content_type() == "multipart/mixed", "content type")
            check(mail.get_boundary() == "DADO", "boundary")
            check(mail["Subject"] == "zhang@example.com", "subject %r" % mail["Subject"])
            check(mail["To"] == '"orlan"<%s>' % MAILBOX, "to %r" % mail["To"])
            parts = mail.get_payload()
            check(len(parts) == 2, "%d parts" % len(parts))
            check(parts[0].get_content_type() == "text/plain", "text part")
            attachment = parts[1]
            check(attachment.get_content_type() == "application/octet-stream", "attachment")
            check(attachment["Content-Transfer-Encoding"] == "base64", "transfer encoding")
            check(b'filename="' + "水墨.tdskn".encode("gbk") + b'"' in raw, "file name")
            check(attachment.get_payload(decode=True) == skin_bytes,
                  "the attachment is not the skin file")
            lines = attachment.get_payload().split("\r\n")
            lines = [line for line in lines if line]
            check(len(skin_bytes) > 3000 and all(len(line) == 4000 for line in lines[:-1]) and
                  0 < len(lines[-1]) <= 4000,
                  "Base64 lines of %r" % [len(line) for line in lines])

            code, message = upload(client, folder, port, b"wrong", skin, sender,
                                   b"zhang@example.com")
            check(code == 1 and message == FAILED, "wrong password: %r (%d)" % (message, code))
            check(len(inbox.envelopes) == 1, "a mail went out with the wrong password")
    finally:
        stop()
    print("upload end to end: %d bytes sent and received whole" % len(skin_bytes))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""A forwarding HTTP proxy on 127.0.0.1 that records each request line it
relays (one line a request in the record file). Prints its port on the first
line, then serves until it has been idle for --idle seconds."""
import argparse, socket, threading, time, urllib.parse

def read_head(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk:
            return None, b""
        data += chunk
    head, rest = data.split(b"\r\n\r\n", 1)
    return head.decode("latin-1"), rest

def read_exact(conn, rest, length):
    while len(rest) < length:
        chunk = conn.recv(65536)
        if not chunk:
            break
        rest += chunk
    return rest[:length], rest[length:]

def relay_response(upstream, client):
    head, rest = read_head(upstream)
    if head is None:
        return False
    lines = head.split("\r\n")
    length = 0
    for line in lines[1:]:
        name, _, value = line.partition(":")
        if name.strip().lower() == "content-length":
            length = int(value.strip())
    body, _ = read_exact(upstream, rest, length)
    client.sendall(head.encode("latin-1") + b"\r\n\r\n" + body)
    return True

def serve(client, record, state):
    upstreams = {}
    try:
        while True:
            head, rest = read_head(client)
            if head is None:
                return
            state["last"] = time.time()
            lines = head.split("\r\n")
            method, target, version = lines[0].split(" ", 2)
            with open(record, "a") as f:
                f.write(lines[0] + "\n")
            url = urllib.parse.urlsplit(target)
            length = 0
            kept = []
            for line in lines[1:]:
                name, _, value = line.partition(":")
                key = name.strip().lower()
                if key == "content-length":
                    length = int(value.strip())
                if key in ("proxy-connection",):
                    continue
                kept.append(line)
            body, rest = read_exact(client, rest, length)
            path = url.path + ("?" + url.query if url.query else "")
            address = (url.hostname, url.port or 80)
            upstream = upstreams.get(address)
            if upstream is None:
                upstream = socket.create_connection(address)
                upstreams[address] = upstream
            request = "\r\n".join([f"{method} {path} {version}"] + kept) + "\r\n\r\n"
            upstream.sendall(request.encode("latin-1") + body)
            if not relay_response(upstream, client):
                return
    finally:
        client.close()
        for upstream in upstreams.values():
            upstream.close()

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--record", required=True)
    parser.add_argument("--idle", type=float, default=120)
    args = parser.parse_args()
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    listener.settimeout(1)
    print(listener.getsockname()[1], flush=True)
    state = {"last": time.time()}
    while time.time() - state["last"] < args.idle:
        try:
            client, _ = listener.accept()
        except socket.timeout:
            continue
        state["last"] = time.time()
        threading.Thread(target=serve, args=(client, args.record, state), daemon=True).start()

main()

#!/usr/bin/python3
"""A TCP relay that delays every byte by a fixed time in each direction, for a link with a
round-trip time where the kernel has no netem.

    delay_proxy.py LISTEN_HOST LISTEN_PORT TARGET_HOST TARGET_PORT ONE_WAY_MS

Bytes keep their order and are passed on as soon as their delay is over, so a client that
sends many commands at once sees one round trip, as on a real link (the relay adds no
bandwidth limit). It prints "ready" when it listens and runs until it is killed."""
import asyncio
import sys


async def deliver(queue, writer):
    """Writes the data of each (due, data) of queue to writer when it is due (the loop's time),
    in order, until data is None."""
    loop = asyncio.get_running_loop()
    while True:
        due, data = await queue.get()
        wait = due - loop.time()
        if wait > 0:
            await asyncio.sleep(wait)
        if data is None:
            break
        writer.write(data)
        await writer.drain()


async def pump(reader, writer, delay):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def send():
        await deliver(queue, writer)
        try:
            writer.write_eof()
        except OSError:
            pass

    task = asyncio.create_task(send())
    try:
        while True:
            data = await reader.read(65536)
            queue.put_nowait((loop.time() + delay, data or None))
            if not data:
                break
    except OSError:
        queue.put_nowait((loop.time(), None))
    await task


async def main():
    listen_host, listen_port, host, port, ms = sys.argv[1:6]
    delay = float(ms) / 1000.0

    async def handle(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection(host, int(port))
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pump(client_reader, server_writer, delay), pump(server_reader, client_writer, delay),
                             return_exceptions=True)
        client_writer.close()
        server_writer.close()

    server = await asyncio.start_server(handle, listen_host, int(listen_port))
    print("ready", flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())

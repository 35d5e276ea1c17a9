#!/usr/bin/env python3
"""A synchronization through xamu-service over loopback, whole and in packets, beside curl
fetching the same answers from the same service with the same requests on one kept-alive
connection. Whole processes, wall time, fastest of --rounds.

Usage: sync_bench.py BUILD_DIR [--content DIR] [--sizes 250,4096,32767] [--rounds 3]
                      [--url URL --log FILE]
BUILD_DIR holds tools/xamu-service/xamu-service and tools/xamu-tool/xamu-tool. Without
--content the folder is made by make_sync_content.py in a temporary folder.
"""
import argparse
import json
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
ID_CLIENTE, ID_USUARIO = 17, 203
ENDPOINT = "/Sincronizacion.exe/soap/ISincronizacion"
NS = "urn:SincronizacionIntf-ISincronizacion"


def envelope(operation: str, params: str) -> str:
    return ('<?xml version="1.0" encoding="utf-8"?><SOAP-ENV:Envelope '
            'xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/" '
            'xmlns:xsd="http://www.w3.org/2001/XMLSchema" '
            'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
            'xmlns:SOAP-ENC="http://schemas.xmlsoap.org/soap/encoding/"><SOAP-ENV:Body '
            'SOAP-ENV:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/">'
            f'<NS1:{operation} xmlns:NS1="{NS}">{params}</NS1:{operation}>'
            '</SOAP-ENV:Body></SOAP-ENV:Envelope>')


def short(name, v): return f'<{name} xsi:type="xsd:short">{v}</{name}>'
def boolean(name, v): return f'<{name} xsi:type="xsd:boolean">{"true" if v else "false"}</{name}>'
def nil(name): return f'<{name} xsi:type="xsd:base64Binary" xsi:nil="true"/>'


def common() -> str:
    return (short("IDCliente", ID_CLIENTE) + short("IDUsuario", ID_USUARIO))


def codes() -> str:
    return (short("CodigoError", 0) + '<ProximaAccion xsi:type="xsd:unsignedByte">0</ProximaAccion>'
            '<Status xsi:type="xsd:int">0</Status>')


def requests(size):
    """(operation, body) of every request the client makes, in order; packets need the count."""
    if size is None:
        yield "Sincronizar", envelope("Sincronizar", common() +
            '<ArregloRespuesta xsi:type="SOAP-ENC:Array" SOAP-ENC:arrayType="NS2:Archivo1Sincronizacion[0]"'
            ' xmlns:NS2="urn:Tipos"></ArregloRespuesta>' + nil("ArregloDeBytes") + short("IDFormato", 0) +
            boolean("ObligarSincronizarFormatos", False) + boolean("DebeSincronizarProgramas", True) +
            codes() + '<ArregloFormatos xsi:type="SOAP-ENC:Array" SOAP-ENC:arrayType="xsd:short[0]">'
            '</ArregloFormatos>')
        return
    yield "SincronizarGenerarPaquetes", envelope("SincronizarGenerarPaquetes", common() +
        nil("ArregloDeBytes") + short("IDFormato", 0) + boolean("ObligarSincronizarFormatos", False) +
        boolean("DebeSincronizarProgramas", True) + codes() + short("TamanoPaquete", size) +
        short("NumeroDePaquetes", 0) + nil("ArregloDeBytesEstructura"))


def fetch(k: int) -> str:
    return envelope("SincronizarTraerPaquetes",
                    short("IDUsuario", ID_USUARIO) + nil("ArregloDeBytes") + short("PaqueteNumero", k))


def curl_config(url: str, bodies) -> str:
    entries = []
    for operation, body in bodies:
        quoted = body.replace("\\", "\\\\").replace('"', '\\"')
        entries.append(f'url = "{url}{ENDPOINT}"\n'
                       'header = "Content-Type: text/xml; charset=utf-8"\n'
                       f'header = "SOAPAction: \\"{NS}#{operation}\\""\n'
                       'header = "Expect:"\n'
                       f'data-binary = "{quoted}"\n'
                       'output = "/dev/null"\n')
    return "next\n".join(entries)


def timed(command) -> float:
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"{command[0]} failed: {result.stderr.decode()}")
    timed.last_output = result.stdout
    return elapsed


def count(log: Path, operation: str) -> int:
    return sum(1 for line in log.read_text().splitlines() if f"\t{operation}\t" in line)


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--content")
    parser.add_argument("--sizes", default="250,4096,32767")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--log", help="the request log of a service started by hand; with --url")
    parser.add_argument("--url", help="a service already running on that content")
    args = parser.parse_args()
    build = Path(args.build)
    service_exe = build / "tools" / "xamu-service" / "xamu-service"
    tool_exe = build / "tools" / "xamu-tool" / "xamu-tool"
    work = Path(tempfile.mkdtemp(prefix="xamu-sync-bench-"))
    content = Path(args.content) if args.content else work / "content"
    if not args.content:
        subprocess.run([sys.executable, HERE / "make_sync_content.py", content], check=True)
    log = Path(args.log) if args.log else work / "requests.log"

    service = None
    url = args.url
    if url is None:
        start = time.perf_counter()
        service = subprocess.Popen([service_exe, "--content", content, "--log", log],
                                   stdout=subprocess.PIPE, text=True)
        url = service.stdout.readline().strip().removeprefix("listening on ")
        print(f"xamu-service start-up (content checked): {time.perf_counter() - start:.2f} s")
    try:
        sizes = [None] + [int(s) for s in args.sizes.split(",") if s]
        print(f"{'answer':>10} {'packets':>8} {'xamu-tool':>10} {'curl':>9} {'ratio':>6} "
              f"{'xamu/packet':>12} {'curl/packet':>12} {'up MB':>7} {'data MB':>8}")
        for size in sizes:
            before = count(log, "SincronizarTraerPaquetes")
            command = [tool_exe, "sincronizar", url, str(ID_CLIENTE), str(ID_USUARIO)]
            if size is not None:
                command += ["--paquetes", str(size)]
            xamu = min(timed(command) for _ in range(args.rounds))
            answer = json.loads(timed.last_output)
            data = sum(e["size"] for e in answer["entries"])
            packets = 1 + (count(log, "SincronizarTraerPaquetes") - before) // args.rounds
            bodies = list(requests(size)) + [("SincronizarTraerPaquetes", fetch(k))
                                             for k in range(2, packets + 1)]
            config = work / "curl.config"
            config.write_text(curl_config(url, bodies))
            curl = min(timed(["curl", "-s", "-S", "--fail-with-body", "-K", config])
                       for _ in range(args.rounds))
            up = sum(len(b.encode()) for _, b in bodies)
            print(f"{'whole' if size is None else size:>10} {packets:>8} {xamu:>9.3f}s {curl:>8.3f}s "
                  f"{xamu / curl:>6.2f} {xamu / packets * 1e3:>10.3f}ms {curl / packets * 1e3:>10.3f}ms "
                  f"{up / 1e6:>7.2f} {data / 1e6:>8.2f}")
    finally:
        if service is not None:
            service.terminate()
            service.wait()


if __name__ == "__main__":
    main()

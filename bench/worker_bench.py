#!/usr/bin/env python3
"""The synchronization worker end to end: `xamu-tool sync` bringing a fresh installation up to
date from xamu-service over loopback (make_sync_content.py's 31 tables, two of 100 000 rows),
whole and in packets, beside xamu_bench_sync_baseline (libcurl, base64, zlib or libarchive, the
same dataset-file bytes written with fsync). Whole processes, wall time, fastest of --rounds;
the worker's peak resident set by GNU time (package `time`) against the compressed answer and
the largest table file.

Usage: worker_bench.py BUILD_DIR [--content DIR] [--rounds 3] [--packet 32000]
"""
import argparse
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent


def run(command) -> tuple[float, int, str]:
    """Wall time, peak resident bytes and standard output of one run."""
    start = time.perf_counter()
    result = subprocess.run(["/usr/bin/time", "-f", "%M", *map(str, command)],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"{command[0]} failed:\n{result.stdout}{result.stderr}")
    return elapsed, int(result.stderr.strip().splitlines()[-1]) * 1024, result.stdout


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--content")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--packet", type=int, default=32000)
    args = parser.parse_args()
    build = Path(args.build)
    tool = build / "tools" / "xamu-tool" / "xamu-tool"
    baseline = build / "bench" / "xamu_bench_sync_baseline"
    work = Path(tempfile.mkdtemp(prefix="xamu-worker-bench-"))
    content = Path(args.content) if args.content else work / "content"
    if not args.content:
        subprocess.run([sys.executable, HERE / "make_sync_content.py", content], check=True)

    service = subprocess.Popen([build / "tools" / "xamu-service" / "xamu-service", "--content",
                                content], stdout=subprocess.PIPE, text=True)
    url = service.stdout.readline().strip().removeprefix("listening on ")
    mib = 1 << 20
    try:
        answer = 0
        for line in subprocess.run([tool, "sincronizar", url, "17", "203"], check=True,
                                   stdout=subprocess.PIPE, text=True).stdout.split('"size":')[1:]:
            answer += int(line.split(",")[0])
        print(f"compressed answer {answer / mib:.1f} MiB")
        print(f"{'answer':>8} {'worker':>9} {'baseline':>9} {'ratio':>6} {'peak':>10} "
              f"{'limit':>10} {'largest table':>14}")
        for packet in (None, args.packet):
            settings = f"[XAMUWIN]\nURLServ={url}\n"
            if packet:
                settings += f"BloqueDeDatosStatus=1\nBloqueDeDatosValor={packet}\n"
            best, peak = float("inf"), 0
            folder = work / "install"
            for _ in range(args.rounds):
                shutil.rmtree(folder, ignore_errors=True)
                folder.mkdir()
                (folder / "XAMUwebIP.ini").write_text(settings)
                elapsed, resident, out = run([tool, "sync", folder, "--cliente", "17",
                                              "--usuario", "203"])
                if "CodigoError=0\n" not in out:
                    sys.exit(out)
                best, peak = min(best, elapsed), max(peak, resident)
            tables = folder / "ArchivosCDS"
            largest = max(p.stat().st_size for p in tables.iterdir())
            command = [baseline, url, tables, work / "baseline"] + ([packet] if packet else [])
            base = min(run(command)[0] for _ in range(args.rounds))
            limit = 2 * answer + 3 * largest
            print(f"{packet or 'whole':>8} {best:>8.3f}s {base:>8.3f}s {best / base:>6.2f} "
                  f"{peak / mib:>6.1f} MiB {limit / mib:>6.1f} MiB {largest / mib:>10.1f} MiB")
    finally:
        service.terminate()
        service.wait()


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Peak resident memory of `xamu-tool decompress` on a 50 MB 7z item, beside 7-Zip
extracting the same archive (both measured by GNU time, package `time`). The item is text like the reference tables' sources (made by
make_sync_content.py), compressed once by `xamu-tool compress` and kept in the work folder.

Usage: decompress_peak.py BUILD_DIR [--size BYTES] [--work DIR]
"""
import argparse
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent


def peak(command) -> int:
    """Runs `command` and returns its peak resident set in bytes, as GNU time reports it (a
    child's own figure from this process would include what a fork copies of this one)."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M", *command], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.exit(f"{command[0]} failed: {result.stderr}")
    return int(result.stderr.strip().splitlines()[-1]) * 1024


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--size", type=int, default=50_000_000)
    parser.add_argument("--work", default=str(Path(tempfile.gettempdir()) / "xamu-decompress-bench"))
    args = parser.parse_args()
    tool = Path(args.build) / "tools" / "xamu-tool" / "xamu-tool"
    work = Path(args.work)
    work.mkdir(parents=True, exist_ok=True)
    item, archive = work / f"item-{args.size}.bin", work / f"item-{args.size}.7z"
    if not archive.exists():
        content = work / "content"
        subprocess.run([sys.executable, HERE / "make_sync_content.py", content], check=True)
        text = b"".join(p.read_bytes() for p in sorted((content / "tablas").glob("*.tsv")))
        item.write_bytes((text * (args.size // len(text) + 1))[:args.size])
        subprocess.run([tool, "compress", item, archive], check=True)
    out = work / "out.bin"
    mib = 1 << 20
    size = item.stat().st_size
    print(f"item {size / mib:.1f} MiB, archive {archive.stat().st_size / mib:.1f} MiB")
    for name, command in [("xamu-tool decompress", [tool, "decompress", archive, out]),
                          ("7z x", ["7z", "x", "-y", "-bd", f"-o{work / 'x'}", archive])]:
        bytes_ = peak(command)
        print(f"{name:>22}: peak {bytes_ / mib:6.1f} MiB = {bytes_ / size:.2f}x the output")
    if out.read_bytes() != item.read_bytes():
        sys.exit("the output differs from the item")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Makes the content folder of the loopback synchronization benchmark: xamu-service's sample
content with two tables (Estratos and Cuentas) grown to 100 000 rows each. The rows are
variations of the sample's rows with pseudo-random words in their texts, the same on every run.

Usage: make_sync_content.py OUT_DIR [--rows N]
"""
import argparse
import random
import shutil
from pathlib import Path

SAMPLE = Path(__file__).resolve().parent.parent / "tools" / "xamu-service" / "sample-content"
GROWN = ["13_Estratos.cds.tsv", "-8_Cuentas.cds.tsv"]
WORDS = ("banca crédito activo pasivo capital reserva cartera vencida vigente depósito ahorro "
         "inversión mercado tasa índice región país sector institución préstamo hipotecario "
         "consumo comercial liquidez solvencia rentabilidad margen utilidad pérdida ejercicio "
         "trimestre anual mensual saldo promedio total neto bruto operación filial grupo").split()


def grow(table: Path, rows: int, rng: random.Random) -> None:
    lines = [l for l in table.read_text(encoding="utf-8").splitlines() if l and not l.startswith("#")]
    header, sample = lines[0], [l.split("\t") for l in lines[1:]]
    out = [header]
    for i in range(rows):
        cells = list(sample[i % len(sample)])
        for k, cell in enumerate(cells):
            if cell and not cell.lstrip("-").isdigit() and cell not in ("true", "false"):
                extra = " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 6)))
                cells[k] = f"{cell} {extra} {i}"
        out.append("\t".join(cells))
    table.write_text("\n".join(out) + "\n", encoding="utf-8")


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--rows", type=int, default=100_000)
    args = parser.parse_args()
    out = Path(args.out)
    if out.exists():
        shutil.rmtree(out)
    shutil.copytree(SAMPLE, out)
    rng = random.Random(2026)
    for name in GROWN:
        grow(out / "tablas" / name, args.rows, rng)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Campaign of damaged Norvex databases through jetsql and the batch program.

    tests/fuzz/campana_definiciones.py [--archivos N] [--build DIR] [--hilos N] [--semilla S]

Writes a Norvex folder with norvexgen, answers it once with cuestionario-kova,
then makes N damaged copies of its database, each with one damage: most to a
table definition (the counts of its header, a column's type, length, offset,
number or flags, any byte of the page), some to whole pages (lost, swapped,
copied over another). Every copy is read by `jetsql --exportar-csv` and
answered by the batch program. A finding is a crash (a signal, a sanitizer
report), a hang (past the time limit) or an exit 0 whose answers differ from
the undamaged run; each is kept in BUILD/campana/hallazgos/. Prints the counts
and exits 1 when there is any finding.

Two kinds of damage are left out on purpose, since no reader can tell them:
the values inside rows (Jet keeps no checksum, so a changed amount is a
different amount), and a column's type byte changed into a type stored the
same way (a Long into a Single, a Double into a Date, a Text into a Binary).
"""
import argparse
import concurrent.futures
import os
import random
import shutil
import subprocess
import sys
import tempfile

PAGINA = 4096
# Where the fields of a Jet 4 table definition lie.
POS_MAX_COLUMNAS, POS_VARIABLES, POS_COLUMNAS = 41, 43, 45
POS_INDICES_REALES, INICIO_COLUMNAS, LARGO_INDICE, LARGO_COLUMNA = 51, 63, 12, 25
CAMPOS_COLUMNA = {"tipo": (0, 1), "numero": (5, 2), "variable": (7, 2), "banderas": (15, 1),
                  "banderas_ext": (16, 1), "fija": (21, 2), "largo": (23, 2)}
TIPOS = list(range(0x01, 0x15)) + [0x00, 0x2a, 0xff]


def u16(b, n):
    return b[n] | b[n + 1] << 8


def pon(b, n, largo, v):
    for i in range(largo):
        b[n + i] = (v >> (8 * i)) & 0xff


def paginas_definicion(b):
    return [p for p in range(2, len(b) // PAGINA) if b[p * PAGINA] == 2 and b[p * PAGINA + 1] == 1]


# Types that lie in a row the same way: a type byte changed within one of
# these reads other values from the same bytes, and nothing in the file tells
# (no reader can): such damage is drawn again.
MISMA_FORMA = [{0x04, 0x06}, {0x05, 0x07, 0x08, 0x13}, {0x09, 0x0a}]


def indistinguible(original, danado):
    for p in paginas_definicion(original):
        p *= PAGINA
        ncol = u16(original, p + POS_COLUMNAS)
        inicio = p + INICIO_COLUMNAS + u16(original, p + POS_INDICES_REALES) * LARGO_INDICE
        if danado[p:p + INICIO_COLUMNAS] != original[p:p + INICIO_COLUMNAS]:
            continue
        for c in range(ncol):
            a, z = original[inicio + c * LARGO_COLUMNA], danado[inicio + c * LARGO_COLUMNA]
            if a != z and any(a in f and z in f for f in MISMA_FORMA):
                return True
    return False


def dana(original, azar):
    """One damage that a reader can tell; returns the bytes and what was done."""
    while True:
        danado, que = dana_una(original, azar)
        if not indistinguible(original, danado):
            return danado, que


def dana_una(original, azar):
    b = bytearray(original)
    paginas = paginas_definicion(b)
    clase = azar.random()
    if clase < 0.8:
        p = azar.choice(paginas) * PAGINA
        ncol = u16(b, p + POS_COLUMNAS)
        inicio = p + INICIO_COLUMNAS + u16(b, p + POS_INDICES_REALES) * LARGO_INDICE
        c = azar.randrange(max(ncol, 1))
        entrada = inicio + c * LARGO_COLUMNA
        que = azar.choice(["variables", "columnas", "max_columnas", "indices", "tipo", "tipo",
                           "largo", "fija", "numero", "variable", "banderas", "banderas_ext",
                           "byte_columna", "byte_pagina"])
        if que == "variables":
            v = azar.choice([0, max(u16(b, p + POS_VARIABLES) - 1, 0), azar.randrange(65536)])
            pon(b, p + POS_VARIABLES, 2, v)
        elif que == "columnas":
            pon(b, p + POS_COLUMNAS, 2, max(ncol + azar.choice([-3, -2, -1, 1, 2, 3]), 0))
        elif que == "max_columnas":
            pon(b, p + POS_MAX_COLUMNAS, 2, azar.randrange(300))
        elif que == "indices":
            pon(b, p + POS_INDICES_REALES, 4, azar.randrange(8))
        elif que == "tipo":
            b[entrada] = azar.choice(TIPOS)
        elif que == "byte_columna":
            b[entrada + azar.randrange(LARGO_COLUMNA)] = azar.randrange(256)
        elif que == "byte_pagina":
            b[p + azar.randrange(8, PAGINA)] = azar.randrange(256)
        else:
            pos, largo = CAMPOS_COLUMNA[que]
            pon(b, entrada + pos, largo, azar.randrange(256 ** largo))
        return bytes(b), "definición en la página %d: %s (columna %d)" % (p // PAGINA, que, c)
    n = len(b) // PAGINA
    a, z = azar.randrange(1, n), azar.randrange(1, n)
    que = azar.choice(["perdida", "cambiadas", "copiada"])
    if que == "perdida":
        b[a * PAGINA:(a + 1) * PAGINA] = bytes(PAGINA)
    elif que == "cambiadas":
        pa, pz = b[a * PAGINA:(a + 1) * PAGINA], b[z * PAGINA:(z + 1) * PAGINA]
        b[a * PAGINA:(a + 1) * PAGINA], b[z * PAGINA:(z + 1) * PAGINA] = pz, pa
    else:
        b[z * PAGINA:(z + 1) * PAGINA] = b[a * PAGINA:(a + 1) * PAGINA]
    return bytes(b), "páginas %d y %d: %s" % (a, z, que)


def corre(orden, segundos):
    try:
        r = subprocess.run(orden, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           timeout=segundos, stdin=subprocess.DEVNULL)
        return r.returncode, r.stderr.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return None, ""


def fallo_grave(estado, errores):
    return estado is None or estado < 0 or estado >= 128 or "Sanitizer" in errores


def prueba(i, args, base, respuestas, bin_dir, hallazgos):
    azar = random.Random(args.semilla * 1_000_003 + i)
    danado, que = dana(base, azar)
    with tempfile.TemporaryDirectory(prefix="kova-campana-") as tmp:
        carpeta = os.path.join(tmp, "norvex")
        shutil.copytree(args.carpeta, carpeta)
        with open(os.path.join(carpeta, "DataBase", "Norvex.mdb"), "wb") as f:
            f.write(danado)
        bd = os.path.join(carpeta, "DataBase", "Norvex.mdb")
        r = {"jetsql": "", "lotes": ""}
        estado, errores = corre([os.path.join(bin_dir, "jetsql"), "--password", "quilon", bd,
                                 "--exportar-csv", os.path.join(tmp, "csv")], args.segundos)
        if fallo_grave(estado, errores):
            r["jetsql"] = "colgado" if estado is None else "caída (%s)" % estado
        salida = os.path.join(tmp, "r.csv")
        estado, errores = corre([os.path.join(bin_dir, "cuestionario-kova"), "--carpeta", carpeta,
                                 "--usuario", "admin", "--contrasena", "norvex",
                                 "--respuestas", salida], args.segundos)
        if fallo_grave(estado, errores):
            r["lotes"] = "colgado" if estado is None else "caída (%s)" % estado
        elif estado == 0:
            with open(salida, "rb") as f:
                r["lotes"] = "" if f.read() == respuestas else "respuestas cambiadas con salida 0"
            r["cero"] = True
        hallazgo = r["jetsql"] or r["lotes"]
        if hallazgo:
            with open(os.path.join(hallazgos, "%05d.mdb" % i), "wb") as f:
                f.write(danado)
        return i, que, r, hallazgo


def main():
    raiz = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    p = argparse.ArgumentParser()
    p.add_argument("--archivos", type=int, default=2000)
    p.add_argument("--build", default=os.path.join(raiz, "build"))
    p.add_argument("--hilos", type=int, default=2)
    p.add_argument("--semilla", type=int, default=1)
    p.add_argument("--segundos", type=int, default=60)
    args = p.parse_args()
    bin_dir = os.path.join(args.build, "bin")
    trabajo = os.path.join(args.build, "campana")
    shutil.rmtree(trabajo, ignore_errors=True)
    hallazgos = os.path.join(trabajo, "hallazgos")
    os.makedirs(hallazgos)
    args.carpeta = os.path.join(trabajo, "norvex")
    subprocess.run([os.path.join(bin_dir, "norvexgen"), "--lineas", "40", args.carpeta],
                   check=True, stdout=subprocess.DEVNULL)
    sano = os.path.join(trabajo, "r.csv")
    subprocess.run([os.path.join(bin_dir, "cuestionario-kova"), "--carpeta", args.carpeta,
                    "--usuario", "admin", "--contrasena", "norvex", "--respuestas", sano],
                   check=True)
    with open(sano, "rb") as f:
        respuestas = f.read()
    with open(os.path.join(args.carpeta, "DataBase", "Norvex.mdb"), "rb") as f:
        base = f.read()

    cuenta = {"archivos": 0, "caidas": 0, "colgados": 0, "cambiadas": 0, "salida0": 0}
    with concurrent.futures.ThreadPoolExecutor(args.hilos) as hilos:
        futuros = [hilos.submit(prueba, i, args, base, respuestas, bin_dir, hallazgos)
                   for i in range(args.archivos)]
        for futuro in concurrent.futures.as_completed(futuros):
            i, que, r, hallazgo = futuro.result()
            cuenta["archivos"] += 1
            cuenta["salida0"] += 1 if r.get("cero") and not r["lotes"] else 0
            for v in (r["jetsql"], r["lotes"]):
                if v.startswith("caída"):
                    cuenta["caidas"] += 1
                elif v == "colgado":
                    cuenta["colgados"] += 1
                elif v:
                    cuenta["cambiadas"] += 1
            if hallazgo:
                print("%05d %s: %s" % (i, que, hallazgo), flush=True)
    print("%(archivos)d archivos dañados, %(archivos)d lecturas de jetsql y %(archivos)d "
          "corridas del cuestionario: %(caidas)d caídas, %(colgados)d colgados, "
          "%(cambiadas)d salidas 0 con respuestas cambiadas (%(salida0)d corridas salieron "
          "con 0 y las mismas respuestas)" % cuenta)
    sys.exit(1 if cuenta["caidas"] or cuenta["colgados"] or cuenta["cambiadas"] else 0)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes a weld-throat data deck of COUNT stress records (default 200) for timing the
throat check: a nozzle fillet weld of partial penetration under a long history mixing
pressure and thermal transients, with one request counted by rainflow and one by the
reservoir method. Uses the materials and the class-32 classification of examples/contexte.txt.

    bench/make-throat-deck.py [COUNT] [OUTPUT]     (OUTPUT defaults to bench/decks/throat-COUNT.dat)
"""
import math
import os
import sys


def number(value):
    text = f"{value:.1f}"
    return "0.0" if text == "-0.0" else text


def record(k, count):
    t = k / count
    two_pi = 2.0 * math.pi
    pressure = 1.5 + 1.0 * math.sin(two_pi * 3 * t)
    temperature = 150.0 + 90.0 * math.sin(two_pi * 2 * t + 0.4)
    shock = math.sin(two_pi * 13 * t + 0.3)
    sxx = 60.0 + 45.0 * math.sin(two_pi * 3 * t) + 20.0 * shock
    sxy = 30.0 + 25.0 * math.sin(two_pi * 5 * t + 1.0) + 8.0 * shock
    sxz = 12.0 * math.sin(two_pi * 11 * t)
    total = (sxx, sxy, sxz, 0.4 * sxx, 0.1 * sxy, 0.15 * sxx)
    membrane = tuple(0.5 * value for value in total)
    mechanical = tuple(0.7 * value for value in total)
    thermal = (30.0 * shock, 8.0 * shock, -10.0 * shock, 12.0 * shock, 0.0, 4.0 * shock)

    def card(keyword, values):
        return f"{keyword:<7}" + " ".join(number(v) for v in values)

    return "\n".join([
        f"*RELEVE             R{k:04d}",
        f"*PARAMETRE {number(pressure)} {number(temperature)}",
        card("*SIJ", total),
        card("*SIJM", membrane),
        card("*SIJLM", mechanical),
        card("*SIJLT", thermal),
        "*FIN_RELEVE",
    ])


def deck(count):
    lines = [
        f"/ Banc d'essai : vérification de gorge sur un historique de {count} relevés.",
        "/ Fichier écrit par bench/make-throat-deck.py ; contexte : examples/contexte.txt.",
        "",
        "*COMPOSANT          VIROLE",
        "*TYPE TOLE_CYLINDRE",
        "*PARAMETRE 14. 6.3 0.1",
        "*COMPOSANT_MATERIAU P265GH",
        "*FIN_COMPOSANT",
        "*COMPOSANT          TUBULURE",
        "*TYPE GENERAL",
        "*PARAMETRE 12.5 3.2 0.",
        "*COMPOSANT_MATERIAU 16Mo3",
        "*FIN_COMPOSANT",
        "*CORDON             PIQUAGE",
        "*CORDON_TYPE        GORGE_PENETRATION_PARTIELLE",
        "*COMPOSANT_1        VIROLE",
        "*COMPOSANT_2        TUBULURE",
        "*FIN_CORDON",
        "*HISTORIQUE         LONG",
        "*HISTORIQUE_GORGE   PIQUAGE",
    ]
    lines += [record(k, count) for k in range(count)]
    lines += ["*FIN_HISTORIQUE"]
    for method, name in (("*RAINFLOW", "rainflow"), ("*RESERVOIR", "reservoir")):
        lines += [
            "*DOMMAGE",
            "*POINT_HISTORIQUE   LONG",
            f"*FICHIER_SORTIE     throat-{count}-{name}.txt",
            method,
            "*FIN_DOMMAGE",
        ]
    return "\n".join(lines) + "\n"


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    if count < 3:
        sys.exit("a history needs at least 3 records")
    root = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "decks", f"throat-{count}.dat")
    with open(output, "w", encoding="utf-8", newline="\n") as out:
        out.write(deck(count))


if __name__ == "__main__":
    main()

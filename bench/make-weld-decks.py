#!/usr/bin/env python3
"""Writes the timed welded-zone decks of bench/decks/: weld-<n>.dat, a longitudinal seam of a
30 mm shell with its shape imperfection (ovality, flat, offset), loaded by a history of n stress
records (pressure cycles with superimposed thermal transients), and one damage request.
Run with the library of examples/:
    PelnoFatigue.exe -d bench/decks/weld-200.dat -c examples/contexte.txt -o OUT/
The values come from smooth functions of the record number only: the decks are the same on
every machine. Usage: make-weld-decks.py [n ...] (default 200)."""
import math
import os
import sys

HEAD = """/ Banc de mesure : cordon longitudinal avec imperfection de forme, historique de {n} relevés.
/ Fichier écrit par bench/make-weld-decks.py ; ne pas modifier à la main.
*COMPOSANT          VIROLE_BANC
*COMMENTAIRE        Virole de 30 mm, diamètre moyen 1500 mm
*TYPE TOLE_CYLINDRE
*PARAMETRE 30. 6.3 0.5
*COMPOSANT_MATERIAU P355GH
*FIN_COMPOSANT

*CORDON             SL_BANC
*CORDON_TYPE        BOUT_A_BOUT_BRUT
*COMPOSANT_1        VIROLE_BANC
*COMPOSANT_2        VIROLE_BANC
*LONGITUDINAL
*IMPERFECTION       Relevé de forme
*DIAMETRE 1500. 1509. 1494.
*PARAMETRE 1.2 20. 0. 1.5
*FIN_IMPERFECTION
*FIN_CORDON

*HISTORIQUE         CYCLE_BANC_{n}
*HISTORIQUE_CORDON  SL_BANC
"""

TAIL = """*FIN_HISTORIQUE

*DOMMAGE
*POINT_HISTORIQUE   CYCLE_BANC_{n}
*FICHIER_SORTIE     weld-{n}.txt
*RAINFLOW
*FIN_DOMMAGE
"""


def number(value):
    return "%.3f" % (round(value, 3) + 0.0)


def record(k, n):
    # Pressure: a few start-ups and partial unloadings; temperature: transients after each.
    phase = 2.0 * math.pi * k / n
    if k in (0, n - 1):
        pressure, temperature, thermal = 0.0, 20.0, 0.0
    else:
        pressure = 1.0 + 0.8 * math.sin(3.0 * phase) + 0.2 * math.sin(17.0 * phase)
        temperature = 120.0 + 60.0 * math.sin(5.0 * phase + 0.3)
        thermal = 40.0 * math.sin(11.0 * phase) * math.cos(2.0 * phase)
    membrane_xx = 37.5 * pressure
    membrane_yy = 18.75 * pressure
    bending = 6.0 * pressure * math.cos(7.0 * phase)
    shear = 4.0 * math.sin(13.0 * phase) * pressure
    sij = [membrane_xx + bending + thermal, shear, 0.0, membrane_yy + 0.3 * bending + 0.8 * thermal, 0.0,
           -pressure / 2.0]
    sijm = [membrane_xx, 0.0, 0.0, membrane_yy, 0.0, -pressure / 2.0]
    sijlm = [membrane_xx + bending, shear, 0.0, membrane_yy + 0.3 * bending, 0.0, -pressure]
    sijlt = [0.9 * thermal, 0.0, 0.0, 0.7 * thermal, 0.0, 0.0]
    lines = ["*RELEVE             R%03d" % k, "*PARAMETRE %s %s" % (number(pressure), number(temperature))]
    for card, tensor in (("*SIJ   ", sij), ("*SIJM  ", sijm), ("*SIJLM ", sijlm), ("*SIJLT ", sijlt)):
        lines.append(card + " " + " ".join(number(v) for v in tensor))
    lines.append("*FIN_RELEVE")
    return "\n".join(lines) + "\n"


def main():
    sizes = [int(a) for a in sys.argv[1:]] or [200]
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "decks")
    os.makedirs(folder, exist_ok=True)
    for n in sizes:
        text = HEAD.format(n=n) + "".join(record(k, n) for k in range(n)) + TAIL.format(n=n)
        with open(os.path.join(folder, "weld-%d.dat" % n), "w", encoding="utf-8", newline="\n") as out:
            out.write(text)


if __name__ == "__main__":
    main()

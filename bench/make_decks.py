#!/usr/bin/env python3
"""Writes the unwelded-zone benchmark decks of bench/decks/ and the nozzle example of examples/.

The stresses model the crotch corner of a nozzle in a P265GH shell of 20 mm (mean diameter
1000 mm) under internal pressure and a through-wall temperature difference:
  membrane      hoop 25 p, axial 12.5 p, radial -p/2
  linearised    mechanical = membrane + bending (5 p hoop, 3 p axial) + 2 p in-plane shear
                thermal    = 1.817 dT in both in-plane directions (E alpha dT / (2 (1 - nu)))
  total         mechanical + thermal + a non-linear thermal peak of 0.3 times the thermal part
Usage: bench/make_decks.py   (run from anywhere; rewrites the files)
"""
import os
import random

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def fmt(v):
    return "%.3f" % v


def record(name, p, t, dT):
    mech = [25 * p + 5 * p, 2 * p, 0.0, 12.5 * p + 3 * p, 0.0, -0.5 * p]
    memb = [25 * p, 0.0, 0.0, 12.5 * p, 0.0, -0.5 * p]
    ther = [1.817 * dT, 0.0, 0.0, 1.817 * dT, 0.0, 0.0]
    total = [mech[i] + 1.3 * ther[i] for i in range(6)]
    lines = ["*RELEVE             " + name,
             "*PARAMETRE " + fmt(p) + " " + fmt(t)]
    for card, tensor in (("*SIJ   ", total), ("*SIJM  ", memb), ("*SIJLM ", mech), ("*SIJLT ", ther)):
        lines.append(card + " " + " ".join(fmt(v) for v in tensor))
    lines.append("*FIN_RELEVE")
    return lines


HEAD = """*COMPOSANT          VIROLE_PIQUAGE
*COMMENTAIRE        Virole portant le piquage N2, D moyen 1000 mm
*TYPE TOLE_CYLINDRE
*PARAMETRE 20. 6.3 0.15
*COMPOSANT_MATERIAU P265GH
*FIN_COMPOSANT

*UWZONE             ANGLE_PIQUAGE_N2
*COMMENTAIRE        Congé intérieur du piquage N2, contraintes géométriques
*UWZONE_COMPOSANT   VIROLE_PIQUAGE
*PARAMETRE 1.8
*FIN_UWZONE
"""


def deck(states, request_file, method, comment):
    lines = comment + HEAD.splitlines() + ["", "*HISTORIQUE         TRANSITOIRE",
                                            "*HISTORIQUE_UWZONE  ANGLE_PIQUAGE_N2"]
    for k, (p, t, dT) in enumerate(states):
        lines += record("R%03d" % k, p, t, dT)
    lines += ["*FIN_HISTORIQUE", "", "*DOMMAGE", "*POINT_HISTORIQUE   TRANSITOIRE",
              "*FICHIER_SORTIE     " + request_file, method, "*FIN_DOMMAGE", ""]
    return "\n".join(lines)


def startup_shutdown():
    """One operating cycle: heat-up under rising pressure, steady state, cool-down, rest."""
    states = []
    for k in range(10):            # heat-up 20 -> 180 degC at 40 degC/h, pressure 0 -> 2.5 MPa
        f = k / 9.0
        states.append((2.5 * f, 20 + 160 * f, -45 * min(1.0, 3 * f) * (1 - f * f)))
    for k in range(6):             # steady state, small pressure swings
        states.append((2.5 + (0.15 if k % 2 else -0.1), 180.0, 0.0))
    for k in range(12):            # cool-down with a reversed gradient, depressurisation
        f = k / 11.0
        states.append((2.5 * (1 - f), 180 - 160 * f, 55 * min(1.0, 3 * f) * (1 - f * f)))
    states.append((0.0, 20.0, 0.0))
    return states


def random_states(count, seed):
    rng = random.Random(seed)
    states = []
    for _ in range(count - 1):
        states.append((round(rng.uniform(0.0, 2.8), 2), round(rng.uniform(50.0, 180.0), 1),
                       round(rng.uniform(-60.0, 60.0), 1)))
    states.append(states[0])      # periodic: the last state repeats the first
    return states


def write(path, text):
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def main():
    example = deck(startup_shutdown(), "piquage_N2.txt", "*RAINFLOW",
                   ["/ Piquage N2 d'une virole de réservoir : zone non soudée au congé intérieur.",
                    "/ Transitoire de démarrage (montée en pression et en température à 40 °C/h),",
                    "/ régime établi, puis arrêt avec refroidissement et dépressurisation.",
                    "/ Les contraintes données sont des contraintes géométriques (Kt de la zone 1,8).",
                    "/ Fichier écrit par bench/make_decks.py.", ""])
    write(os.path.join(ROOT, "examples", "piquage.dat"), example)
    for count in (50, 100, 200, 400):
        for method, tag in (("*RAINFLOW", "rainflow"), ("*RESERVOIR", "reservoir")):
            text = deck(random_states(count, count), "uw-%d-%s.txt" % (count, tag), method,
                        ["/ Banc d'essai : zone non soudée, %d relevés (%s)." % (count, tag),
                         "/ Fichier écrit par bench/make_decks.py.", ""])
            write(os.path.join(ROOT, "bench", "decks", "uw-%d-%s.dat" % (count, tag)), text)


if __name__ == "__main__":
    main()

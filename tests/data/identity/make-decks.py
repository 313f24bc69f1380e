#!/usr/bin/env python3
"""Writes the small data decks of tests/data/identity/decks/ whose reports and console output
are recorded under tests/data/identity/expected/ and compared byte for byte by the identity
test. They run with the library of examples/contexte.txt.

The decks cover the three procedures and both counting methods on short histories (3 to 40
records): random three-dimensional histories, uniaxial, equibiaxial and pure-shear histories
whose analysis planes tie with their mirror planes, shear stresses in steps of 0.005 MPa (so
that the equivalent stresses of some planes fall exactly 0.01 apart), plateaus of equal
records, constant histories, geometric and total stresses, plasticity corrections, throats
that fail the no-plasticity check, extrapolated records and too-short histories.

The values come from a seeded generator: the decks are the same on every machine.
Usage: tests/data/identity/make-decks.py   (rewrites the decks)
"""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
DECKS = os.path.join(HERE, "decks")


def card(keyword, name):
    return keyword.ljust(20) + name


def num(value):
    text = "%.3f" % value
    return "0.000" if text == "-0.000" else text


def tensor(values):
    return " ".join(num(v) for v in values)


ZERO = [0.0] * 6


def plain_record(name, pressure, temperature, sij, sijm=ZERO, sijlm=None, sijlt=ZERO):
    if sijlm is None:
        sijlm = sij
    return [card("*RELEVE", name), "*PARAMETRE %s %s" % (num(pressure), num(temperature)),
            "*SIJ   " + tensor(sij), "*SIJM  " + tensor(sijm), "*SIJLM " + tensor(sijlm),
            "*SIJLT " + tensor(sijlt), "*FIN_RELEVE"]


def extrapolated_record(kind, name, pressure, temperature, points):
    """kind "LIN" (points A, B) or "QUAD" (A, B, C); points: one (sij, sijm, sijlm, sijlt) each."""
    lines = [card("*RELEVE" + kind, name), "*PARAMETRE %s %s" % (num(pressure), num(temperature))]
    for letter, (sij, sijm, sijlm, sijlt) in zip("ABC", points):
        lines += ["*SIJ%s   " % letter + tensor(sij), "*SIJM%s  " % letter + tensor(sijm),
                  "*SIJLM%s " % letter + tensor(sijlm), "*SIJLT%s " % letter + tensor(sijlt)]
    return lines + ["*FIN_RELEVE" + kind]


def request(history, report, method):
    return ["*DOMMAGE", card("*POINT_HISTORIQUE", history), card("*FICHIER_SORTIE", report), method,
            "*FIN_DOMMAGE", ""]


def both_methods(history, stem):
    return request(history, stem + "-rainflow.txt", "*RAINFLOW") + \
        request(history, stem + "-reservoir.txt", "*RESERVOIR")


def history(name, kind_card, zone, records):
    lines = [card("*HISTORIQUE", name), card(kind_card, zone)]
    for record in records:
        lines += record
    return lines + ["*FIN_HISTORIQUE", ""]


# --- Unwelded zones ------------------------------------------------------------------------

UW_HEAD = [
    card("*MATERIAU", "ACIER_MOU"),
    "*TYPE F",
    "*PARAMETRE 150. 360. 210000. 0.3",
    "*RPT 20. 150.",
    "*RPT 400. 90.",
    "*FIN_MATERIAU",
    "",
    card("*COMPOSANT", "VIROLE"),
    "*TYPE TOLE_CYLINDRE",
    "*PARAMETRE 20. 6.3 0.15",
    card("*COMPOSANT_MATERIAU", "P265GH"),
    "*FIN_COMPOSANT",
    card("*COMPOSANT", "TUBULURE_INOX"),
    "*TYPE GENERAL",
    "*PARAMETRE 11. 1.6 0.",
    card("*COMPOSANT_MATERIAU", "X2CrNi18-9"),
    "*FIN_COMPOSANT",
    card("*COMPOSANT", "PLAQUE_MOLLE"),
    "*TYPE GENERAL",
    "*PARAMETRE 40. 12.5 0.",
    card("*COMPOSANT_MATERIAU", "ACIER_MOU"),
    "*FIN_COMPOSANT",
    "",
    card("*UWZONE", "PEAU"),
    card("*UWZONE_COMPOSANT", "VIROLE"),
    "*FIN_UWZONE",
    card("*UWZONE", "CONGE"),
    card("*UWZONE_COMPOSANT", "VIROLE"),
    "*PARAMETRE 1.8",
    "*FIN_UWZONE",
    card("*UWZONE", "LIMITE"),
    card("*UWZONE_COMPOSANT", "VIROLE"),
    "*PARAMETRE 1.0001",
    "*FIN_UWZONE",
    card("*UWZONE", "INOX"),
    card("*UWZONE_COMPOSANT", "TUBULURE_INOX"),
    "*PARAMETRE 2.5",
    "*FIN_UWZONE",
    card("*UWZONE", "MOLLE"),
    card("*UWZONE_COMPOSANT", "PLAQUE_MOLLE"),
    "*FIN_UWZONE",
    "",
]


def random_tensor(rng, scale):
    return [rng.uniform(-scale, scale) for _ in range(6)]


def uw_random(rng, count, scale, thermal_scale, periodic):
    """Records of a random history: total = mechanical + thermal + a small peak."""
    records = []
    states = []
    for k in range(count):
        mech = random_tensor(rng, scale)
        ther = random_tensor(rng, thermal_scale)
        states.append((rng.uniform(0.0, 3.0), rng.uniform(50.0, 250.0), mech, ther))
    if periodic and count > 1:
        states[-1] = states[0]
    for k, (p, t, mech, ther) in enumerate(states):
        total = [mech[i] + 1.2 * ther[i] for i in range(6)]
        records.append(plain_record("R%02d" % k, p, t, total, ZERO, mech, ther))
    return records


def uw_deck(name, zone, records, comment, method=None):
    lines = ["/ " + comment, "/ Fichier écrit par tests/data/identity/make-decks.py.", ""] + UW_HEAD
    lines += history("H", "*HISTORIQUE_UWZONE", zone, records)
    if method is None:
        lines += both_methods("H", name)
    else:
        lines += request("H", name + ".txt", method)
    return lines


def shaped(values, make):
    """One record per value; make(value) gives (total, mechanical, thermal)."""
    records = []
    for k, v in enumerate(values):
        total, mech, ther = make(v)
        records.append(plain_record("R%02d" % k, 1.0, 100.0 + 5.0 * (k % 7), total, ZERO, mech, ther))
    return records


# Shear stresses in steps of 0.005 MPa whose equivalent-stress series, seen from record 1 on
# the plane Theta 0, Phi 90 degrees, makes the rainflow residue come out of its second pass at
# another length (code 210): an error in the middle of the search.
SEARCH_ERROR = [20.020, 20.010, 0.020, 40.015, 40.025, 0.005, 40.020, 40.025, 40.005, 0.025, 0.040, 20.020,
                20.005, 20.040, 40.020]


def uw_decks():
    decks = {}
    rng = random.Random(20151)
    for count, zone, scale in ((10, "CONGE", 60.0), (25, "PEAU", 90.0), (40, "CONGE", 50.0)):
        decks["uw-random-%d-%s" % (count, zone.lower())] = uw_deck(
            "uw-random-%d" % count, zone, uw_random(rng, count, scale, 20.0, True),
            "Zone non soudée, historique aléatoire de %d relevés." % count)
    decks["uw-random-17-open"] = uw_deck(
        "uw-random-17-open", "PEAU", uw_random(rng, 17, 70.0, 30.0, False),
        "Zone non soudée, historique aléatoire non périodique (comptage rainflow seul).", "*RAINFLOW")
    decks["uw-random-12-inox"] = uw_deck(
        "uw-random-12-inox", "INOX", uw_random(rng, 12, 40.0, 15.0, True),
        "Zone non soudée en acier austénitique, contraintes géométriques.")
    decks["uw-random-15-kt-limite"] = uw_deck(
        "uw-random-15-limite", "LIMITE", uw_random(rng, 15, 80.0, 10.0, True),
        "Zone de Kt 1.0001 : calcul en contraintes totales.")
    decks["uw-plasticity-mixed"] = uw_deck(
        "uw-plasticity-mixed", "PEAU", uw_random(rng, 14, 260.0, 140.0, True),
        "Zone non soudée, grandes variations mécaniques et thermiques : corrections de plasticité.")
    decks["uw-plasticity-mechanical"] = uw_deck(
        "uw-plasticity-mech", "MOLLE",
        shaped([0, 380, -20, 300, 10, 420, 0],
               lambda v: ([v, 0.2 * v, 0, 0.5 * v, 0, 0], [v, 0.2 * v, 0, 0.5 * v, 0, 0], ZERO)),
        "Plasticité d'origine mécanique seule.")
    decks["uw-plasticity-thermal"] = uw_deck(
        "uw-plasticity-ther", "MOLLE",
        shaped([0, 350, -60, 280, 0],
               lambda v: ([v, 0, 0.1 * v, v, 0, 0], ZERO, [v, 0, 0.1 * v, v, 0, 0])),
        "Plasticité d'origine thermique seule.")
    uniaxial = [0, 120, 30, 150, -20, 90, 90, 10, 140, 0]
    decks["uw-uniaxial"] = uw_deck(
        "uw-uniaxial", "CONGE",
        shaped(uniaxial, lambda v: ([v, 0, 0, 0, 0, 0], [v, 0, 0, 0, 0, 0], ZERO)),
        "Traction simple : les plans symétriques voient le même endommagement.")
    decks["uw-equibiaxial"] = uw_deck(
        "uw-equibiaxial", "PEAU",
        shaped([0, 200, 50, 180, 0, 220, 0],
               lambda v: ([v, 0, 0, v, 0, 0], [v, 0, 0, v, 0, 0], ZERO)),
        "Traction équibiaxiale : tous les plans autour de z se valent.")
    decks["uw-pure-shear"] = uw_deck(
        "uw-pure-shear", "CONGE",
        shaped([0, 80, -60, 100, -100, 40, 0],
               lambda v: ([0, v, 0, 0, 0, 0], [0, v, 0, 0, 0, 0], ZERO)),
        "Cisaillement pur Sxy.")
    decks["uw-hydrostatic"] = uw_deck(
        "uw-hydrostatic", "PEAU",
        shaped([0, 100, 20, 150, 0],
               lambda v: ([v, 0, 0, v, 0, v], [v, 0, 0, v, 0, v], ZERO)),
        "Pression hydrostatique : aucun cisaillement, endommagement nul.")
    decks["uw-constant"] = uw_deck(
        "uw-constant", "CONGE",
        shaped([1] * 6, lambda v: ([50, 10, -5, 20, 3, 1], [50, 10, -5, 20, 3, 1], [5, 0, 0, 5, 0, 0])),
        "Historique constant : endommagement nul.")
    steps = [0.0, 0.005, 2.0, 1.995, 2.0, 0.0, 0.005, 0.01, 3.0, 3.0, 2.99, 0.005, 1.0, 0.995, 0.0]
    decks["uw-quantized-shear"] = uw_deck(
        "uw-quantized", "PEAU",
        shaped([s * 40.0 if s > 0.5 else s for s in steps],
               lambda v: ([0, v, 0, 0, 0, 0], [0, v, 0, 0, 0, 0], ZERO)),
        "Cisaillement par pas de 0.005 MPa : équivalents distants de 0.01 exactement, paliers.")
    fine = [0.0, 0.005, 0.0, 0.01, 0.005, 0.02, 0.015, 0.02, 0.0]
    decks["uw-tolerance"] = uw_deck(
        "uw-tolerance", "PEAU",
        shaped(fine, lambda v: ([0, v, 0, 0, 0, 0], [0, v, 0, 0, 0, 0], ZERO)),
        "Variations de l'ordre de la tolérance de 0.01 MPa.")
    plateau = [0, 0, 60, 60, 60, 10, 10, 90, 90, 0, 0]
    decks["uw-plateaus"] = uw_deck(
        "uw-plateaus", "CONGE",
        shaped(plateau, lambda v: ([v, 0.3 * v, 0, 0.2 * v, 0, 0], [v, 0.3 * v, 0, 0.2 * v, 0, 0], ZERO)),
        "Paliers de relevés égaux.")
    decks["uw-search-error"] = uw_deck(
        "uw-search-error", "PEAU",
        shaped(SEARCH_ERROR, lambda v: ([0, 0, 0, 0, v, 0], [0, 0, 0, 0, v, 0], ZERO)),
        "Cisaillement Syz par pas de 0.005 MPa : le comptage échoue au cours de la recherche.", "*RAINFLOW")
    decks["uw-three-records"] = uw_deck(
        "uw-three", "CONGE",
        shaped([0, 150, 0], lambda v: ([v, 0.5 * v, 0, 0, 0, 0], [v, 0.5 * v, 0, 0, 0, 0], ZERO)),
        "Trois relevés.")
    decks["uw-two-records"] = uw_deck(
        "uw-two", "CONGE",
        shaped([0, 150], lambda v: ([v, 0, 0, 0, 0, 0], [v, 0, 0, 0, 0, 0], ZERO)),
        "Deux relevés : trop peu pour compter des cycles.", "*RAINFLOW")
    return decks


# --- Weld seams ----------------------------------------------------------------------------

WELD_HEAD = [
    card("*COMPOSANT", "VIROLE_A"),
    "*TYPE TOLE_CYLINDRE",
    "*PARAMETRE 30. 6.3 0.5",
    card("*COMPOSANT_MATERIAU", "P355GH"),
    "*FIN_COMPOSANT",
    card("*COMPOSANT", "VIROLE_B"),
    "*TYPE TOLE_CYLINDRE",
    "*PARAMETRE 20. 6.3 0.3",
    card("*COMPOSANT_MATERIAU", "P265GH"),
    "*FIN_COMPOSANT",
    card("*COMPOSANT", "TUBULURE"),
    "*TYPE GENERAL",
    "*PARAMETRE 11. 1.6 0.",
    card("*COMPOSANT_MATERIAU", "X2CrNi18-9"),
    "*FIN_COMPOSANT",
    "",
    card("*CORDON", "SL"),
    card("*CORDON_TYPE", "BOUT_A_BOUT_BRUT"),
    card("*COMPOSANT_1", "VIROLE_A"),
    card("*COMPOSANT_2", "VIROLE_A"),
    "*LONGITUDINAL",
    card("*IMPERFECTION", "Relevé de forme"),
    "*DIAMETRE 1500. 1509. 1494.",
    "*PARAMETRE 1.2 20. 0. 1.5",
    "*FIN_IMPERFECTION",
    "*FIN_CORDON",
    card("*CORDON", "SC"),
    card("*CORDON_TYPE", "BOUT_A_BOUT_ARASE"),
    card("*COMPOSANT_1", "VIROLE_A"),
    card("*COMPOSANT_2", "VIROLE_B"),
    "*CIRCONFERENTIEL",
    "*FIN_CORDON",
    card("*CORDON", "PIQUAGE"),
    card("*CORDON_TYPE", "PIQUAGE_PENETRANT"),
    card("*COMPOSANT_1", "TUBULURE"),
    card("*COMPOSANT_2", "VIROLE_B"),
    "*FIN_CORDON",
    "",
]


def weld_deck(name, seam, records, comment, method=None):
    lines = ["/ " + comment, "/ Fichier écrit par tests/data/identity/make-decks.py.", ""] + WELD_HEAD
    lines += history("H", "*HISTORIQUE_CORDON", seam, records)
    if method is None:
        lines += both_methods("H", name)
    else:
        lines += request("H", name + ".txt", method)
    return lines


def weld_random(rng, count, scale, periodic):
    states = []
    for k in range(count):
        p = rng.uniform(0.0, 2.5)
        membrane = [37.5 * p, 0.0, 0.0, 18.75 * p, 0.0, -p / 2.0]
        mech = [membrane[i] + rng.uniform(-scale, scale) for i in range(6)]
        ther = [rng.uniform(-scale / 2, scale / 2), 0.0, 0.0, rng.uniform(-scale / 2, scale / 2), 0.0, 0.0]
        states.append((p, rng.uniform(60.0, 240.0), membrane, mech, ther))
    if periodic:
        states[-1] = states[0]
    records = []
    for k, (p, t, membrane, mech, ther) in enumerate(states):
        total = [mech[i] + ther[i] for i in range(6)]
        records.append(plain_record("R%02d" % k, p, t, total, membrane, mech, ther))
    return records


def weld_decks():
    decks = {}
    rng = random.Random(20152)
    for count, seam in ((12, "SL"), (30, "SC"), (21, "PIQUAGE")):
        decks["weld-random-%d-%s" % (count, seam.lower())] = weld_deck(
            "weld-random-%d" % count, seam, weld_random(rng, count, 40.0, True),
            "Zone soudée, historique aléatoire de %d relevés." % count)
    decks["weld-plasticity"] = weld_deck(
        "weld-plasticity", "SC", weld_random(rng, 9, 300.0, True),
        "Zone soudée, grandes variations : corrections de plasticité.")
    uniaxial = [0, 120, 30, 150, -20, 90, 90, 10, 140, 0]
    decks["weld-uniaxial"] = weld_deck(
        "weld-uniaxial", "PIQUAGE",
        shaped(uniaxial, lambda v: ([v, 0, 0, 0, 0, 0], [v, 0, 0, 0, 0, 0], ZERO)),
        "Traction simple : le premier plan rencontré garde l'égalité.")
    decks["weld-constant"] = weld_deck(
        "weld-constant", "SL",
        [plain_record("R%02d" % k, 2.0, 120.0, [75, 0, 0, 37.5, 0, -1], [75, 0, 0, 37.5, 0, -1],
                      [75, 0, 0, 37.5, 0, -1]) for k in range(5)],
        "Historique constant intensifié : endommagement nul.", "*RAINFLOW")
    steps = [0.0, 0.005, 2.0, 1.995, 2.0, 0.0, 0.005, 0.01, 3.0, 3.0, 2.99, 0.005, 1.0, 0.995, 0.0]
    decks["weld-quantized-shear"] = weld_deck(
        "weld-quantized", "PIQUAGE",
        shaped([s * 40.0 if s > 0.5 else s for s in steps],
               lambda v: ([0, v, 0, 0, 0, 0], [0, v, 0, 0, 0, 0], ZERO)),
        "Cisaillement par pas de 0.005 MPa.")

    lin = []
    quad = []
    for k in range(8):
        phase = 2.0 * math.pi * k / 7.0
        p = 1.0 + math.sin(phase)
        points = []
        for depth in (0.4, 0.9, 1.4):
            decay = 1.0 - 0.2 * depth
            sij = [37.5 * p * decay + 10 * math.cos(phase), 3 * math.sin(2 * phase), 0.0,
                   18.75 * p * decay, 0.0, -p / 2]
            points.append((sij, [37.5 * p, 0, 0, 18.75 * p, 0, -p / 2], sij,
                           [5 * math.cos(phase), 0, 0, 4 * math.cos(phase), 0, 0]))
        lin.append(extrapolated_record("LIN", "L%02d" % k, p, 100 + 10 * k, points[:2]))
        quad.append(extrapolated_record("QUAD", "Q%02d" % k, p, 100 + 10 * k, points))
    lin.append(extrapolated_record("LIN", "L08", 1.0, 100.0, [(ZERO, ZERO, ZERO, ZERO)] * 2))
    decks["weld-extrapolated-linear"] = weld_deck(
        "weld-lin", "SL", lin, "Relevés extrapolés linéairement au pied du cordon.", "*RAINFLOW")
    decks["weld-extrapolated-quadratic"] = weld_deck(
        "weld-quad", "SC", quad, "Relevés extrapolés quadratiquement au pied du cordon.", "*RESERVOIR")
    decks["weld-search-error"] = weld_deck(
        "weld-search-error", "PIQUAGE",
        shaped(SEARCH_ERROR, lambda v: ([0, 0, 0, 0, v, 0], [0, 0, 0, 0, v, 0], ZERO)),
        "Cisaillement Syz par pas de 0.005 MPa : le comptage échoue au cours de la recherche.", "*RAINFLOW")
    decks["weld-two-records"] = weld_deck(
        "weld-two", "SL", weld_random(rng, 2, 40.0, False), "Deux relevés.", "*RESERVOIR")
    return decks


# --- Weld throats --------------------------------------------------------------------------

THROAT_HEAD = [
    card("*COMPOSANT", "VIROLE"),
    "*TYPE TOLE_CYLINDRE",
    "*PARAMETRE 14. 6.3 0.1",
    card("*COMPOSANT_MATERIAU", "P265GH"),
    "*FIN_COMPOSANT",
    card("*COMPOSANT", "TUBULURE"),
    "*TYPE GENERAL",
    "*PARAMETRE 12.5 3.2 0.",
    card("*COMPOSANT_MATERIAU", "16Mo3"),
    "*FIN_COMPOSANT",
    card("*CORDON", "GORGE"),
    card("*CORDON_TYPE", "GORGE_PENETRATION_PARTIELLE"),
    card("*COMPOSANT_1", "VIROLE"),
    card("*COMPOSANT_2", "TUBULURE"),
    "*FIN_CORDON",
    "",
]


def throat_deck(name, records, comment, method=None):
    lines = ["/ " + comment, "/ Fichier écrit par tests/data/identity/make-decks.py.", ""] + THROAT_HEAD
    lines += history("H", "*HISTORIQUE_GORGE", "GORGE", records)
    if method is None:
        lines += both_methods("H", name)
    else:
        lines += request("H", name + ".txt", method)
    return lines


def throat_rows(rows):
    """rows: (temperature, sxx, sxy, sxz) per record."""
    records = []
    for k, (t, sxx, sxy, sxz) in enumerate(rows):
        total = [sxx, sxy, sxz, 0.4 * sxx, 0.1 * sxy, 0.15 * sxx]
        mech = [0.7 * v for v in total]
        ther = [0.2 * sxx, 0.05 * sxy, -0.1 * sxz, 0.1 * sxx, 0.0, 0.02 * sxx]
        records.append(plain_record("G%02d" % k, 1.5, t, total, [0.5 * v for v in total], mech, ther))
    return records


def throat_decks():
    decks = {}
    rng = random.Random(20153)
    for count in (11, 26, 40):
        rows = [(rng.uniform(60.0, 300.0), rng.uniform(-40, 80), rng.uniform(-30, 30), rng.uniform(-15, 15))
                for _ in range(count)]
        decks["throat-random-%d" % count] = throat_deck(
            "throat-random-%d" % count, throat_rows(rows), "Gorge, historique aléatoire de %d relevés." % count)
    decks["throat-constant"] = throat_deck(
        "throat-constant", throat_rows([(150.0, 40.0, 10.0, 5.0)] * 5), "Gorge, historique constant.")
    decks["throat-plasticity"] = throat_deck(
        "throat-plasticity", throat_rows([(200.0, 0, 0, 0), (220.0, 450, 120, 0), (200.0, -100, 0, 0),
                                          (200.0, 0, 0, 0)]),
        "Gorge : un cycle dépasse 2 Rpt.", "*RAINFLOW")
    decks["throat-symmetric"] = throat_deck(
        "throat-symmetric", throat_rows([(100.0, v, 0, 0) for v in (0, 60, 0, 60, 0, 60)]),
        "Gorge : origines de même endommagement.")
    decks["throat-search-error"] = throat_deck(
        "throat-search-error", throat_rows([(100.0, 0, 2 * v, 0) for v in SEARCH_ERROR]),
        "Gorge, cisaillement par pas de 0.01 MPa : le comptage échoue au cours de la recherche.", "*RAINFLOW")
    decks["throat-two-records"] = throat_deck(
        "throat-two", throat_rows([(100.0, 0, 0, 0), (100.0, 60, 0, 0)]), "Deux relevés.", "*RAINFLOW")
    return decks


def main():
    os.makedirs(DECKS, exist_ok=True)
    decks = {}
    decks.update(uw_decks())
    decks.update(weld_decks())
    decks.update(throat_decks())
    for name in os.listdir(DECKS):
        if name.endswith(".dat"):
            os.remove(os.path.join(DECKS, name))
    for name, lines in sorted(decks.items()):
        with open(os.path.join(DECKS, name + ".dat"), "w", encoding="utf-8", newline="\n") as out:
            out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()

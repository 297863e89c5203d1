#!/usr/bin/env python3
"""Generates program folders with large, realistic data files for the benchmark.

Each folder holds Halmor.ini, an empty Halmor.mdb, the logo the templates name
and one data file in Windows-1252 with CR LF line ends, as the host writes them:

    wz-a4-<n>     WZBeleg.xml, n records, "Wartezeiten A4 für Tierhalter"
    wz-a5-<n>     WZBeleg.xml, n records, "Wartezeiten auf A5-Papier"
    wz-2xa5-<n>   WZBeleg.xml, n records, "Wartezeiten 2 x A5 auf A4"
    cert-<n>      Besamung.xml, one certificate printed n times (Anzahl n)

for n in 1, 10, 100, 1000 (drug records) and 1, 100 (certificates). A file
holds one certificate only, so a batch of certificates is one file with Anzahl
n: the program lays the form out once and draws it on n sheets.

The records are drawn from fixed random seeds, so every run writes the same
bytes: several treatments per record, one to four animals per treatment,
applied and dispensed drugs with batches, periods (some fractional, some on
organic farms that double them) and instructions of very different lengths.
Smaller files are the beginning of larger ones; after 100 records the mix
repeats (with new running numbers), so that 1,000 records are ten times the
work of 100 and any difference in cost per record is the program's.

    bench/generate.py [--out DIR] [--sizes 1,10,100] [--certificates 1,100]
"""

import argparse
import os
import random
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
EXAMPLES = os.path.join(ROOT, "examples")

LAYOUTS = {
    "a4": "Wartezeiten A4 für Tierhalter",
    "a5": "Wartezeiten auf A5-Papier",
    "2xa5": "Wartezeiten 2 x A5 auf A4",
}
RECORD_SIZES = (1, 10, 100, 1000)
CERTIFICATE_SIZES = (1, 100)

PRACTICE = "Tierarztpraxis Dr. Katharina Leitner"
VET = ("Dr. Katharina Leitner", "T-4127")

# name, dosage form, unit, typical quantity, meat days, milk days
DRUGS = [
    ("Penicillin-Procain 300 mg/ml", "Injektionssuspension", "ml", 25, 7, 6),
    ("Mastiflex 200 mg/ml", "Injektionslösung", "ml", 20, 7, 5),
    ("Cefaluxin Euterinjektor", "Euterinjektor", "Stk", 1, 4, 4.5),
    ("Melocoxan 20 mg/ml", "Injektionslösung", "ml", 15, 15, 5),
    ("Oxytetra 100 mg/ml", "Injektionslösung", "ml", 10, 14, 7),
    ("Bolus Calcium Forte", "Bolus", "Stk", 2, 0, 0),
    ("Glucose 40 %", "Infusionslösung", "ml", 500, 0, 0),
    ("Enrofloxacin 100 mg/ml", "Injektionslösung", "ml", 12, 10, 4),
    ("Flunixin-Meglumin 50 mg/ml", "Injektionslösung", "ml", 18, 10, 1.5),
    ("Trockensteller Cloxacillin 500 mg", "Euterinjektor", "Stk", 4, 28, 35),
    ("Ivermectin Pour-on 5 mg/ml", "Lösung zum Übergießen", "ml", 45, 15, 0),
    ("Toltrazuril 50 mg/ml", "Suspension zum Eingeben", "ml", 30, 63, 0),
    ("Amoxicillin-Clavulansäure 175 mg/ml", "Injektionssuspension", "ml", 8, 42, 2.5),
    ("Utero-Stab", "Uterusstab", "Stk", 1, 0, 0),
    ("Oxytocin 10 IE/ml", "Injektionslösung", "ml", 2, 0, 0),
    ("Ketoprofen 100 mg/ml", "Injektionslösung", "ml", 9, 4, 0),
    ("Propylenglykol Trank", "Lösung zum Eingeben", "l", 0.5, 0, 0),
    ("Elektrolyt-Tränke für Kälber mit Glukose und Natriumhydrogencarbonat", "Pulver",
     "Btl", 6, 0, 0),
]

DIAGNOSES = [
    ("Akute Mastitis, Viertel hinten links", "Mastitis klinisch"),
    ("Nachgeburtsverhaltung", ""),
    ("Milchfieber", "Gebärparese"),
    ("Klauengeschwür", ""),
    ("Lungenentzündung", "Atemwegserkrankung"),
    ("Endometritis", "Gebärmutterentzündung"),
    ("Durchfall bei Kälbern, Kryptosporidien nachgewiesen", "Kälberdurchfall"),
    ("Ketose", "Stoffwechselstörung"),
    ("Trockenstellen mit antibiotischem Schutz aller vier Viertel", ""),
    ("Räude", "Parasitenbefall"),
    ("Labmagenverlagerung nach links, konservative Behandlung", ""),
]

COW_NAMES = ["Liesl", "Berta", "Rosi", "Gretl", "Hanni", "Moni", "Susi", "Lotte", "Fanny",
             "Zenzi", "Kathi", "Resi", "Vroni", "Burgi", "Anni", "Mirzl", "Sissi", "Traudl"]
FIRST = ["Georg", "Theresia", "Johann", "Maria", "Franz", "Anna", "Josef", "Elisabeth",
         "Michael", "Rosa", "Leopold", "Hildegard"]
LAST = ["Reiter", "Pichler", "Huber", "Aigner", "Moser", "Gruber", "Wimmer", "Schörgendorfer",
        "Hofinger", "Mayrhofer", "Weiß", "Größlbauer"]
PLACES = ["4920 Schildorn", "4910 Tumeltsham", "4911 Tumeltsham", "4906 Eberschwang",
          "4910 Ried im Innkreis", "4942 Gurten", "4950 Altheim", "4972 Utzenaich"]
STREETS = ["Am Anger", "Kirchweg", "Dorfstraße", "Hintersee", "Moosbachweg", "Höhenstraße",
           "Brunnenfeld", "Obere Hofmark"]

INSTRUCTION_SENTENCES = [
    "Je 1 Injektor nach dem Melken alle 12 Stunden in das betroffene Viertel.",
    "1 Bolus morgens und abends eingeben, bis die Fresslust wiederkehrt.",
    "Vor Gebrauch gut schütteln.",
    "1 ml je 10 kg Körpergewicht einmal täglich an drei aufeinanderfolgenden Tagen tief "
    "intramuskulär injizieren.",
    "An einer Injektionsstelle nicht mehr als 20 ml verabreichen.",
    "Während der Behandlung und bis zum Ende der Wartezeit darf die Milch nicht an eine "
    "Molkerei abgeliefert werden.",
    "Nach der Anwendung Hände gründlich waschen.",
    "Außerhalb der Reichweite von Kindern aufbewahren, nicht über 25 °C lagern.",
    "Angebrochene Behälter innerhalb von 28 Tagen verbrauchen; Reste über die Praxis "
    "entsorgen.",
    "Tränke täglich frisch ansetzen und lauwarm anbieten.",
]


def number(value):
    """A number as the host writes it: shortest form, decimal comma."""
    text = f"{value:g}"
    return text.replace(".", ",")


def template_entry(layout_name, typ, top, left, text="", font="Arial", size=8, bold=0,
                   width=None, height=None, color=0, align=0):
    parts = [f"<FormularTyp>{layout_name}</FormularTyp>", f"<Typ>{typ}</Typ>",
             f"<oben>{number(top)}</oben>", f"<links>{number(left)}</links>"]
    if width is not None:
        parts.append(f"<Breite>{number(width)}</Breite>")
    if height is not None:
        parts.append(f"<Hoehe>{number(height)}</Hoehe>")
    if typ == "Text":
        parts += [f"<Schriftart>{font}</Schriftart>", f"<Groesse>{number(size)}</Groesse>",
                  f"<fett>{bold}</fett>", "<kursiv>0</kursiv>"]
    parts += [f"<Wortlaut>{text}</Wortlaut>", f"<Farbe>{color}</Farbe>",
              f"<Ausrichtung>{align}</Ausrichtung>"]
    return "<FormularDaten>" + "".join(parts) + "</FormularDaten>"


def head_templates(layout):
    """The practice's letterhead for a layout: logo, name, address, contact.

    The two-halves layout repeats it in both halves and adds a foot line with
    the bank details below the dividing height, as practices set it up."""
    name = LAYOUTS[layout]
    grey = 5263440
    halves = [10, 158] if layout == "2xa5" else [10]
    entries = []
    for left in halves:
        entries += [
            template_entry(name, "Grafik", 8, left, "logo.png", width=22, height=10),
            template_entry(name, "Text", 8, left + 25, PRACTICE, size=10, bold=1),
            template_entry(name, "Text", 13, left + 25, "Marktplatz 7 · 4910 Ried im Innkreis",
                           size=7, color=grey),
            template_entry(name, "Text", 16.5, left + 25,
                           "Tel. 07752 83311 · praxis@leitner-vet.example", size=7, color=grey),
        ]
        if layout == "2xa5":
            entries += [
                template_entry(name, "Linie", 203, left, width=128, height=0.3, color=3309870),
                template_entry(name, "Text", 204, left,
                               "Raiffeisenbank Ried · IBAN AT12 3456 0000 1234 5678 · "
                               "UID ATU12345678", size=5, color=grey),
            ]
    if layout == "a4":
        entries.append(template_entry(name, "Linie", 24, 10, width=180, height=0.4,
                                      color=3309870))
    return entries


def instruction(rng):
    count = rng.choice([0, 0, 1, 1, 2, 3, 5, 8])
    return " ".join(rng.choice(INSTRUCTION_SENTENCES) for _ in range(count))


def medication(rng, status):
    drug, form, unit, quantity, meat, milk = rng.choice(DRUGS)
    quantity = quantity * rng.choice([1, 1, 2, 3, 0.5])
    batch = rng.choice(["", f"{drug[:2].upper()}{rng.randint(100, 99999)}",
                        f"B{rng.randint(20, 26)}-{rng.randint(1, 9999):04d}"])
    not_double = "<WZBeiBioNichtVerdoppeln>False</WZBeiBioNichtVerdoppeln>" \
        if rng.random() < 0.2 else ""
    text = instruction(rng) if status == "Abgegeben" else ""
    return ("<Medikament>"
            f"<Menge>{number(quantity)}</Menge><Einheit>{unit}</Einheit>"
            f"<AbgabeStatus>{status}</AbgabeStatus><Bezeichnung>{drug}</Bezeichnung>"
            f"<Darreichungsform>{form}</Darreichungsform><Charge>{batch}</Charge>"
            f"<WZFleischTage>{number(meat)}</WZFleischTage>"
            f"<WZMilchTage>{number(milk)}</WZMilchTage>{not_double}"
            f"<Anwendungsanweisung>{text}</Anwendungsanweisung></Medikament>")


def treatment(rng, number_, animal_base):
    lines = ["<Behandlung>", f"<BehandlungsNummer>{number_}</BehandlungsNummer>"]
    patients = "".join(
        f"<Patient><Nummer>AT {animal_base + 8 * i:03d}.{rng.randint(100, 999)}.{rng.randint(100, 999)}"
        f"</Nummer><Name>{rng.choice(COW_NAMES)}</Name></Patient>"
        for i in range(rng.choice([1, 1, 1, 2, 3, 4])))
    lines.append(patients)
    diagnosis, monitoring = rng.choice(DIAGNOSES)
    lines.append(f"<Diagnose><Bezeichnung>{diagnosis}</Bezeichnung>"
                 f"<Monitoring>{monitoring}</Monitoring></Diagnose>")
    statuses = rng.choice([["Angewandt"], ["Angewandt", "Abgegeben"],
                           ["Angewandt", "Angewandt", "Abgegeben"], ["Abgegeben"],
                           ["Angewandt", "Angewandt", "Abgegeben", "Abgegeben"]])
    lines += [medication(rng, s) for s in statuses]
    lines.append("</Behandlung>")
    return lines


def record(rng, layout, index):
    farmer = f"{rng.choice(FIRST)} {rng.choice(LAST)}"
    organic = rng.random() < 0.25
    doubled = organic and rng.random() < 0.5
    day = 1 + index % 28
    lines = ["<Wartezeitenzettel>"]
    lines += head_templates(layout)
    lines += [
        f"<Eigentum1>Eigentum der {PRACTICE}</Eigentum1>",
        "<Eigentum2>Kopie für den Tierhalter – bitte 5 Jahre aufbewahren</Eigentum2>",
        f"<Tierarzt><Name>{VET[0]}</Name><Nummer>{VET[1]}</Nummer></Tierarzt>",
        f"<Kunde><LFBIS>{1800000 + rng.randint(0, 999999)}</LFBIS>"
        f"<Name>{('Biohof ' + rng.choice(LAST) + ', ') if organic else ''}{farmer}</Name>"
        f"<Adresse>{rng.choice(STREETS)} {rng.randint(1, 60)}, {rng.choice(PLACES)}</Adresse>"
        f"<Bio>{organic}</Bio><WZBereitsVerdoppelt>{doubled}</WZBereitsVerdoppelt></Kunde>",
        f"<BehandlungsDatum>{day:02d}.11.2026</BehandlungsDatum>"
        f"<LaufendeNummer>2026-{index + 1:05d}</LaufendeNummer>",
        "<WZEndeZeigen>True</WZEndeZeigen><LaufendeNummerZeigen>True</LaufendeNummerZeigen>"
        f"<BereichFuerTierhalter>{rng.random() < 0.5}</BereichFuerTierhalter>"
        f"<KurzeUeberschrift>{rng.random() < 0.15}</KurzeUeberschrift>"
        f"<MediSeparateZeilen>{rng.random() < 0.5}</MediSeparateZeilen>",
    ]
    if rng.random() < 0.3:
        lines.append("<AllgemeineNachricht>Bitte die Wartezeiten genau einhalten und die "
                     "behandelten Tiere deutlich kennzeichnen.</AllgemeineNachricht>")
    animal_base = rng.randint(100, 899)
    for n in range(1, rng.choice([1, 2, 2, 3, 4]) + 1):
        lines += treatment(rng, n, animal_base)
    lines.append("</Wartezeitenzettel>")
    return lines


# Records repeat their content (not their running number) after this many, so
# that a file of 1,000 records holds ten times the mix of the file of 100 and
# the two sizes compare cost per record, not luck of the draw.
RECORD_PERIOD = 100


def withdrawal_file(layout, records, seed):
    lines = ['<?xml version="1.0" encoding="windows-1252"?>', "<WZBeleg>"]
    for i in range(records):
        rng = random.Random(f"{layout}-{seed}-{i % RECORD_PERIOD}")
        lines += record(rng, layout, i)
    lines.append("</WZBeleg>")
    return "\r\n".join(lines) + "\r\n"


def certificate_template():
    """The full form of the standard certificate example, entries as they stand."""
    with open(os.path.join(EXAMPLES, "besamung-standard", "Besamung.xml"), "rb") as f:
        text = f.read().decode("cp1252")
    entries, start = [], 0
    while True:
        begin = text.find("<FormularDaten>", start)
        if begin < 0:
            break
        end = text.index("</FormularDaten>", begin) + len("</FormularDaten>")
        entries.append(text[begin:end])
        start = end
    if not entries:
        sys.exit("generate.py: the certificate example has no form entries")
    return entries


def certificate_file(copies, seed):
    rng = random.Random(f"cert-{seed}")
    farmer = f"{rng.choice(FIRST)} {rng.choice(LAST)}"
    values = {
        "Anzahl": str(copies), "DoppeltAufA4": "Nein",
        "BesamungsScheinNummer": f"2026-{rng.randint(1, 99999):06d}", "Hofname": "Moarhof",
        "BetriebsleiterName": farmer,
        "AdresseOhneHofname": f"{rng.choice(STREETS)} {rng.randint(1, 60)}, "
                              f"{rng.choice(PLACES)}",
        "LFBIS": str(1800000 + rng.randint(0, 999999)), "GemeindeName": "Eberschwang",
        "KundenID": str(rng.randint(10000, 99999)), "KontrollBetrieb": "ja",
        "NameDerKuh": rng.choice(COW_NAMES), "LebensnummerFormatiertKuh": "AT 123.456.789",
        "RasseKuh": "Fleckvieh", "GeburtsdatumKuh": "14.03.2022", "VaterDerKuh": "HALDOR",
        "PatientenID": str(rng.randint(10000, 99999)), "ZumWievieltenKalb": "3. Kalb",
        "Datum": "05.12.2026", "WievielteBesamung": "1", "NameStier": "MANDOLIN",
        "LebensnummerFormatiertStier": "AT 987.654.321", "RasseStier": "Fleckvieh",
        "StierID": "4711", "Stationsnummer": "110347", "Chargennummer": "26-0815",
        "BesamerName": "Mag. Anna Gruber", "BesamerNummer": "4127",
        "AeussereBrunstsymptome": "deutlich", "InnereBrunstsymptome": "Follikel rechts",
        "KlarerSchleim": "ja", "SterilitaetsBehandlung": "nein", "Gebrauchskreuzung": "nein",
        "Anpaarungsberatung": "ja", "Hofcontainer": "nein", "VerspaeteteAnmeldung": "nein",
        "DatumVorigeBesamung": "02.11.2025", "StierNameVorigeBesamung": "RUBIN",
        "StierLOMVorigeBesamung": "AT 246.813.579", "ErsteBrunstKontrolle": "23.12.2026",
        "ZweiteBrunstKontrolle": "29.12.2026", "MoeglicheTU": "02.01.2027",
        "Trockenstellen": "24.07.2027", "VoraussichtlicheAbkalbung": "18.09.2027",
        "DatumSpaetesteBrunstNachGeburt": "17.12.2027", "Grundpreis": "30,00",
        "Samenpreis": "12,50", "Wochenendzuschlag": "8,00",
        "GemeindefoerderungGrundtarif": "5,00", "Kilometer": "14", "KilometerKosten": "7,00",
        "Betriebszuschlag": "0,00", "LandesZuchtBeitrag": "1,50",
        "Sonstiges": "Kuh im Laufstall, Box 12",
        "AllgemeineNachricht": "Bitte Brunst ab 23.12. beobachten und melden.",
    }
    lines = ['<?xml version="1.0" encoding="windows-1252"?>', "<Besamung>"]
    lines += [f"<{k}>{v}</{k}>" for k, v in values.items()]
    lines += certificate_template()
    lines.append("</Besamung>")
    return "\r\n".join(lines) + "\r\n"


HALMOR_INI = """[Allgemein]\r
Praxisname={practice}\r
Mandant=1\r
Datenbank=Halmor.mdb\r
Sprache=de-AT\r
\r
[Drucker]\r
Labeldrucker=\r
Standard=\r
\r
[Fenster]\r
Links=1200\r
Oben=900\r
Breit=12000\r
Hoch=8400\r
"""


def program_folder(path, data_name, text):
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, "Halmor.ini"), "wb") as f:
        f.write(HALMOR_INI.format(practice=PRACTICE).encode("cp1252"))
    open(os.path.join(path, "Halmor.mdb"), "wb").close()
    shutil.copyfile(os.path.join(EXAMPLES, "besamung-standard", "logo.png"),
                    os.path.join(path, "logo.png"))
    with open(os.path.join(path, data_name), "wb") as f:
        f.write(text.encode("cp1252"))


def generate(out, sizes=RECORD_SIZES, certificates=CERTIFICATE_SIZES, layouts=LAYOUTS):
    """Writes every folder under out; returns {folder name: (path, records)}."""
    made = {}
    for layout in layouts:
        for n in sizes:
            name = f"wz-{layout}-{n}"
            program_folder(os.path.join(out, name), "WZBeleg.xml", withdrawal_file(layout, n, 1))
            made[name] = (os.path.join(out, name), n)
    for n in certificates:
        name = f"cert-{n}"
        program_folder(os.path.join(out, name), "Besamung.xml", certificate_file(n, 1))
        made[name] = (os.path.join(out, name), n)
    return made


def sizes_argument(text):
    return tuple(int(x) for x in text.split(",") if x)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "build", "bench", "data"))
    parser.add_argument("--sizes", type=sizes_argument, default=RECORD_SIZES)
    parser.add_argument("--certificates", type=sizes_argument, default=CERTIFICATE_SIZES)
    args = parser.parse_args()
    for name, (path, _) in generate(args.out, args.sizes, args.certificates).items():
        data = [f for f in os.listdir(path) if f.endswith(".xml")][0]
        print(f"{name:14} {os.path.getsize(os.path.join(path, data)):>12,} bytes  {path}")


if __name__ == "__main__":
    main()

#include "documents/insemination/label_table.h"

#include <utility>
#include <vector>

#include "support/codepage.h"

namespace lumaro {

namespace {

using Row = std::pair<std::string, std::string>;  // label (Windows-1252), element

// The labels are the host's own wording, umlauts and all; the first matching
// row wins, so the order is kept as the host documents it.
const std::vector<Row>& labelTable() {
    static const std::vector<Row> rows = {
        {ansi("Adresse des Betriebsleiters"), "AdresseOhneHofname"},
        {ansi("Datum erste Brunstkontrolle"), "ErsteBrunstKontrolle"},
        {ansi("Datum der Abkalbung"), "VoraussichtlicheAbkalbung"},
        {ansi("Datum der Besamung"), "Datum"},
        {ansi("Datum der frühest möglichen TU"), "MoeglicheTU"},
        {ansi("Datum Trockenstellen"), "Trockenstellen"},
        {ansi("Datum zweite Brunstkontrolle"), "ZweiteBrunstKontrolle"},
        {ansi("Lebensnummer Kuh/Kalbin"), "LebensnummerFormatiertKuh"},
        {ansi("Lebensnummer Stier"), "LebensnummerFormatiertStier"},
        {ansi("Leistungskontrolle ja/nein"), "KontrollBetrieb"},
        {ansi("LFBIS-Nummer"), "LFBIS"},
        {ansi("Name des Besamers"), "BesamerName"},
        {ansi("Name des Betriebsleiters"), "BetriebsleiterName"},
        {ansi("Name Kuh/Kalbin"), "NameDerKuh"},
        {ansi("Name Stier"), "NameStier"},
        {ansi("Nummer des Besamers"), "BesamerNummer"},
        {ansi("Stationsnummer des Stieres"), "Stationsnummer"},
        {ansi("Sterilitätsbehandlung ja/nein"), "SterilitaetsBehandlung"},
        {ansi("Wievielte Besamung"), "WievielteBesamung"},
        {ansi("Kunden-ID"), "KundenID"},
        {ansi("Patienten-ID"), "PatientenID"},
        {ansi("Stier-ID"), "StierID"},
        {ansi("Verspätete Anmeldung"), "VerspaeteteAnmeldung"},
        {ansi("Rasse der Kuh"), "RasseKuh"},
        {ansi("Rasse des Stieres"), "RasseStier"},
        {ansi("Datum der letzten Besamung"), "DatumVorigeBesamung"},
        {ansi("Datum späteste Brunst nach Geburt"), "DatumSpaetesteBrunstNachGeburt"},
        {ansi("Name Stier letzte Besamung"), "StierNameVorigeBesamung"},
        {ansi("Lebensnummer Stier letzte Besamung"), "StierLOMVorigeBesamung"},
        {ansi("Geburtsdatum der Kuh/Kalbin"), "GeburtsdatumKuh"},
        {ansi("Besamungstarif/Grundpreis"), "Grundpreis"},
        {ansi("Preis/Aufpreis Samenportion"), "Samenpreis"},
        {ansi("Wochenendzuschlag"), "Wochenendzuschlag"},
        {ansi("Kilometer"), "Kilometer"},
        {ansi("Betriebszuschlag"), "Betriebszuschlag"},
        {ansi("Fahrtkosten"), "KilometerKosten"},
        {ansi("Hofname"), "Hofname"},
        {ansi("Besamungsschein-Nummer"), "BesamungsScheinNummer"},
        {ansi("Chargennummer"), "Chargennummer"},
        {ansi("Bezeichnung der Gemeinde"), "GemeindeName"},
        {ansi("Name des Vaters der Kuh/Kalbin"), "VaterDerKuh"},
        {ansi("Besamung zum wievielten Kalb"), "ZumWievieltenKalb"},
        {ansi("Beitrag für Landeszucht"), "LandesZuchtBeitrag"},
        {ansi("Gebrauchskreuzung"), "Gebrauchskreuzung"},
        {ansi("Anpaarungsberatung"), "Anpaarungsberatung"},
        {ansi("Sonstiges"), "Sonstiges"},
        {ansi("Äussere Brunstsymptome"), "AeussereBrunstsymptome"},
        {ansi("Innere Brunstsymptome"), "InnereBrunstsymptome"},
        {ansi("Klarer Schleim"), "KlarerSchleim"},
        {ansi("Hofcontainer"), "Hofcontainer"},
        {ansi("Allgemeine Nachricht"), "AllgemeineNachricht"},
    };
    return rows;
}

}  // namespace

std::optional<std::string> elementForLabel(const std::string& datenTyp) {
    for (const Row& row : labelTable()) {
        if (row.first == datenTyp)
            return row.second;
    }
    return std::nullopt;
}

}  // namespace lumaro

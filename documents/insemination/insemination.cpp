#include "documents/insemination/insemination.h"

#include "documents/insemination/certificate_data.h"
#include "documents/insemination/cost_list.h"
#include "documents/insemination/label_table.h"
#include "documents/insemination/text_replace.h"
#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/conversions.h"
#include "support/errors.h"
#include "templates/templates.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

const std::string kEmptyWortlaut = "<Wortlaut></Wortlaut>";
const std::string kCostList = "Aufstellung der Kosten";

void append(std::string& vorlage, const std::string& entry, std::size_t maxLength) {
    if (entry.size() > maxLength || vorlage.size() > maxLength - entry.size())
        raiseError(err::kOutOfMemory);
    vorlage += entry;
}

}  // namespace

CertificateOptions readCertificateOptions(Messages& messages, const Regional& regional,
                                          const std::string& data) {
    CertificateOptions options;
    // Only the exact word doubles the certificate; "ja" or "JA" prints it once.
    if (XMLWertHolen(messages, data, "DoppeltAufA4") == "Ja")
        options.secondOffset = 150;
    options.copies = toInt16(ZahlLesen(XMLWertHolen(messages, data, "Anzahl"), regional));
    // A host that leaves the count out, or sends 0, wants the one certificate.
    if (options.copies == 0)
        options.copies = 1;
    return options;
}

CertificateTemplate buildCertificateTemplate(Messages& messages, const Regional& regional,
                                             std::string data, std::size_t maxLength) {
    CertificateTemplate result;
    CertificateData working(messages, std::move(data));
    const ValueLookup valueOf = [&](const std::string& element) { return working.value(element); };
    // One advance for the whole certificate: a second cost list continues
    // below the first.
    double advance = 0;
    std::string entry;
    while (working.nextEntry(entry)) {
        result.entriesFound = true;
        const std::string datenTyp = XMLWertHolen(messages, entry, "DatenTyp");
        const std::string wortlaut = XMLWertHolen(messages, entry, "Wortlaut");
        // An entry with a text of its own is a fixed part of the form, whatever
        // it is labelled.
        if (wortlaut.empty() && !datenTyp.empty()) {
            if (const auto element = elementForLabel(datenTyp)) {
                // Only the empty element written exactly so takes the value;
                // an entry without it has nowhere to put one.
                if (entry.find(kEmptyWortlaut) != std::string::npos) {
                    entry = replaceAll(entry, kEmptyWortlaut,
                                       "<Wortlaut>" + working.value(*element) + "</Wortlaut>",
                                       maxLength);
                }
            } else if (datenTyp == kCostList) {
                entry = expandCostList(messages, regional, entry, valueOf, advance, maxLength);
            }
        }
        append(result.vorlage, entry, maxLength);
    }
    return result;
}

bool BesamungsscheinDrucken(Context& c, const std::string& text) {
    PrintSurface& printer = c.printer;
    setUpSheet(c, 1, 210, 297);

    Messages& messages = c.services.messages;
    const CertificateOptions options = readCertificateOptions(messages, c.services.regional, text);
    const CertificateTemplate form = buildCertificateTemplate(messages, c.services.regional, text);

    if (!form.vorlage.empty()) {
        for (int copy = 1; copy <= options.copies; ++copy) {
            XMLVorlageHinzufuegen(c, form.vorlage, 0);
            if (options.secondOffset > 0)
                XMLVorlageHinzufuegen(c, form.vorlage, options.secondOffset);
            if (copy < options.copies)
                printer.newPage();
        }
    }
    printer.setDocument({"Besamungsschein", XMLWertHolen(messages, text, "LFBIS"),
                         XMLWertHolen(messages, text, "BesamungsScheinNummer")});
    printer.endDoc();

    if (!form.entriesFound) {
        messages.show(ansi("Der Besamungsschein enthält keine Formulardaten und kann deshalb "
                           "nicht gedruckt werden!\r\n\r\nSie müssen die Daten nicht selber "
                           "definieren. Fragen Sie den Programmierer nach Vorlagen."),
                      ansi("Keine Formulardaten für Besamungsschein"), MessageIcon::Stop);
    }
    // The host may delete the file even without a form: printing it again
    // would not find one either.
    return true;
}

}  // namespace lumaro

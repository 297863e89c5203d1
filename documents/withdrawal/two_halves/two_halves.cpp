#include "documents/withdrawal/two_halves/two_halves.h"

#include "documents/withdrawal/model/calendar_day.h"
#include "documents/withdrawal/model/withdrawal_model.h"
#include "documents/withdrawal/two_halves/half_sheet.h"
#include "documents/withdrawal/two_halves/two_halves_record.h"
#include "support/codepage.h"
#include "xml/xml_tags.h"

namespace lumaro {

bool MediInhaltDrucken2xA5(Context& c, const std::string& text) {
    Messages& messages = c.services.messages;
    XmlCutter records(messages, text);
    std::string recordText;
    while (records.next(kWartezeitenzettel, recordText, true)) {
        const bool middleBreak = recordText.find(kMiddleBreakMarker) != std::string::npos;
        const WithdrawalRecord record = readRecord(messages, recordText);
        // Every end date is counted from this date: without it the record
        // must not be printed at all.
        if (trimBlanks(record.BehandlungsDatum).empty()) {
            messages.show(ansi("Ungültiges Behandlungsdatum!"), "", MessageIcon::Stop);
            return false;
        }
        const CalendarDay date = parseTreatmentDate(record.BehandlungsDatum);
        TwoHalvesRecord(c, record, date, middleBreak).print();
        c.printer.setDocument({"Wartezeiten-2xA5", record.LFBIS, record.LaufendeNummer});
        c.printer.endDoc();
    }
    return true;
}

}  // namespace lumaro

// The A4 portrait sheets for the animal keeper.
#include "documents/withdrawal/model/calendar_day.h"
#include "documents/withdrawal/sheets/sheet_pages.h"
#include "documents/withdrawal/sheets/withdrawal_sheets.h"
#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/regional.h"

namespace lumaro {

namespace {

const SheetStyle kA4Style{
    .procedure = "MediInhaltDruckenA4Blaetter",
    .kind = "Wartezeiten-A4",
    .rightTextEdge = kA4RightTextEdge,
    .runningNumberSize = 7,
    .customerTop = 50,
    .customerTopShortTitle = 41,
    .lfbisSize = 11,
    .lfbisCaptionSize = 7,
    .customerSize = 11,
    .afterCustomerName = 5,
    .textSize = 7,
    .afterAnimals = 3,
    .monitoringSize = 5,
    .afterMonitoring = 0,
    .headingSize = 7,
    .afterHeading = 4,
    .beforeDispensedRow = 4,
    .dispensedRowSize = 11,
    .instructionSize = 9,
};

class A4Sheets : public WithdrawalSheets {
  public:
    using WithdrawalSheets::WithdrawalSheets;

  protected:
    int copies() const override { return copyCount(record_); }

    bool firstPageHead() override {
        return KopfA4Drucken(c_, state_, 1, record_.templates, record_.Eigentum1, record_.Eigentum2,
                             !firstCopy(), record_.KurzeUeberschrift, record_.NurObereHaelfte);
    }

    void pageFoot() override {
        FussA4Drucken(c_, left(), bottom(), record_.LFBIS, edge(), page_, record_.LaufendeNummer);
    }

    void nextPage() override {
        page_ = SeitenwechselA4(c_, state_, page_, height_, record_.templates, record_.Eigentum1,
                                record_.Eigentum2, !firstCopy(), record_.KurzeUeberschrift,
                                record_.NurObereHaelfte);
    }

    void appliedSection(const Treatment& t, CalendarDay date) override {
        const Regional& regional = c_.services.regional;
        const Periods greatest = appliedHead(t, 7, 7);
        if (record_.WZEndeZeigen) {
            const double x = edge() - TextBreite(c_, "Wartezeiten in Tagen", 7, kTrue) - 4;
            TextDrucken(c_, {.x = x,
                             .y = height_ + 0.5,
                             .text = "Wartezeiten-Ende: Fleisch " +
                                     formatDayShort(addPeriod(date, greatest.meat)) + ", Milch " +
                                     formatDayShort(addPeriod(date, greatest.milk)),
                             .align = 1,
                             .size = 7,
                             .bold = kTrue});
        }
        height_ += 2;
        std::string joined;
        for (const MedicationRow& row : t.medications.rows()) {
            if (row.AbgabeStatus != kAngewandt)
                continue;
            changePageIfReached(4);
            if (!joined.empty())
                joined += ", ";
            joined += medicationText(row, regional, true);
        }
        height_ += 4;
        height_ += TextDrucken(c_, {.x = left(),
                                    .y = height_,
                                    .text = joined,
                                    .size = 7,
                                    .maxWidth = edge() - 4 - left(),
                                    .lines = 9});
    }

    void dispensedCaption() override {
        TextDrucken(c_, {.x = left(),
                         .y = height_,
                         .text = "Abgegebene Medikamente, Wartezeiten und Anwendungsanweisung",
                         .size = 7,
                         .italic = kTrue});
    }

    void keeperArea(bool measure) override {
        // While measuring the dispensed block the area counts as 10: the
        // return line has a page test of its own.
        if (measure) {
            height_ += 10;
            return;
        }
        height_ += 8;
        static const char* const captions[] = {"Anzahl + Identität der Tiere", "Standort der Tiere",
                                               "Datum von - bis", "Unterschrift Anwender",
                                               "Wartezeit endet am"};
        const double fieldWidth = (edge() - left() - 12) / 5.0;
        for (int i = 0; i < 5; ++i) {
            const double x = left() + i * (fieldWidth + 3);
            LinieDrucken(c_, x, x + fieldWidth, height_ - 0.5, kTrue);
            TextDrucken(c_, {.x = x,
                             .y = height_,
                             .text = ansi(captions[i]),
                             .align = 21,
                             .size = 5,
                             .maxWidth = fieldWidth});
        }
        height_ += 7;
        changePageIfReached(7);
        const std::string returned = ansi("Rücknahme:");
        height_ += TextDrucken(c_, {.x = left(), .y = height_, .text = returned, .size = 7});
        LinieDrucken(c_, left() + TextBreite(c_, returned, 7) + 1, edge(), height_, kTrue);
        height_ += 2;
    }

    void closingPart() override {
        height_ += 4;
        const std::string& message = record_.AllgemeineNachricht;
        height_ += keptWhole({.x = left(),
                              .text = message,
                              .size = 7,
                              .bold = kTrue,
                              .maxWidth = edge() - left(),
                              .lines = 11});

        // The signatures belong on the sheet they sign: a block that runs a
        // little past the bottom limit moves up to end on it, a block that
        // runs further goes to a new page.
        constexpr double kBlockHeight = 12 + 4;
        const double overrun = height_ + kBlockHeight - bottom();
        if (overrun > 10)
            changePage();
        else if (overrun > 0)
            height_ -= overrun;
        height_ += 12;
        const double width = (edge() - left() - 10) * 0.4;
        signatureLine(edge() - width, width, height_, "Unterschrift Tierarzt", 7);
        signatureLine(left(), width, height_, "Unterschrift Tierhalter", 7);
        height_ += 4;
    }
};

}  // namespace

bool MediInhaltDruckenA4Blaetter(Context& c, WithdrawalRunState& state, const std::string& text) {
    A4Sheets sheets(c, state, kA4Style);
    return sheets.run(text);
}

}  // namespace lumaro

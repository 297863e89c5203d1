// The A5 sheets: the A4 layout in the left half of a landscape page, with
// larger type, the applied drugs one per line and the vet's name and number
// under the signature.
#include "documents/withdrawal/model/calendar_day.h"
#include "documents/withdrawal/sheets/sheet_pages.h"
#include "documents/withdrawal/sheets/withdrawal_sheets.h"
#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/regional.h"

namespace lumaro {

namespace {

const SheetStyle kA5Style{
    .procedure = "MediInhaltDruckenA5Blaetter",
    .kind = "Wartezeiten-A5",
    .rightTextEdge = a5RightTextEdge(),
    .runningNumberSize = 9,
    .customerTop = 55,
    .customerTopShortTitle = 46,
    .lfbisSize = 10,
    .lfbisCaptionSize = 8,
    .customerSize = 10,
    .afterCustomerName = 4,
    .textSize = 9,
    .afterAnimals = 4,
    .monitoringSize = 7,
    .afterMonitoring = 2,
    .headingSize = 8,
    .afterHeading = 5,
    .beforeDispensedRow = 5,
    .dispensedRowSize = 8,
    .instructionSize = 8,
};

// Our own address on the vet's copy.
constexpr const char* kWebAddress = "www.lumaro.example";

class A5Sheets : public WithdrawalSheets {
  public:
    using WithdrawalSheets::WithdrawalSheets;

  protected:
    // The A5 record always has the vet's and the keeper's copy.
    int copies() const override { return 2; }

    bool firstPageHead() override {
        return KopfA5Drucken(c_, state_, 1, record_.templates, record_.Eigentum1, record_.Eigentum2,
                             !firstCopy(), record_.KurzeUeberschrift);
    }

    void pageFoot() override { FussA5Drucken(c_, left(), bottom(), record_.LFBIS, edge(), page_); }

    void nextPage() override {
        page_ = SeitenwechselA5(c_, state_, page_, height_, record_.templates, record_.Eigentum1,
                                record_.Eigentum2, !firstCopy());
    }

    void appliedSection(const Treatment& t, CalendarDay date) override {
        const Regional& regional = c_.services.regional;
        const Periods greatest = appliedHead(t, 9, 8);
        height_ += 1;
        for (const MedicationRow& row : t.medications.rows()) {
            if (row.AbgabeStatus != kAngewandt)
                continue;
            changePageIfReached(4);
            height_ += 4;
            // A drug with a long name and batch wraps inside the half instead
            // of running across into the empty right half of the sheet; the
            // next drug then starts below its last line.
            const double used = TextDrucken(c_, {.x = left(),
                                                 .y = height_,
                                                 .text = medicationText(row, regional, true),
                                                 .size = 8,
                                                 .maxWidth = edge() - left(),
                                                 .lines = -1});
            const double oneLine = c_.printer.textHeight("X");
            if (used > oneLine)
                height_ += used - oneLine;
        }
        if (record_.WZEndeZeigen) {
            height_ += 4;
            TextDrucken(c_, {.x = edge(),
                             .y = height_,
                             .text = endDatesText(date, greatest),
                             .align = 1,
                             .size = 8,
                             .bold = kTrue});
        }
        height_ += 3;
    }

    void dispensedCaption() override {
        height_ += 2;
        const std::string caption = "Abgegebene Medikamente, Wartezeiten und Anwendungsanweisung";
        KastenDrucken(c_, left(), height_,
                      TextBreite(c_, "Abgegebene Medikamente,  ", 9, kFalse, kTrue), 4, "", 0,
                      kFalse, kLightGrey);
        TextDrucken(c_, {.x = left(), .y = height_, .text = caption, .size = 9, .italic = kTrue});
    }

    void keeperArea(bool measure) override {
        // 16 to write in above the fields, then the captions. Measured as
        // drawn, so that the area never runs into the page foot.
        constexpr double kAbove = 16;
        constexpr double kBelow = 4;
        if (measure) {
            height_ += kAbove + kBelow;
            return;
        }
        height_ += kAbove;
        static const char* const captions[] = {"Identität der Tiere", "Datum von - bis",
                                               "Unterschrift Anwender", "Wartezeit endet am"};
        const double fieldWidth = (edge() - left() - 9) / 4.0;
        for (int i = 0; i < 4; ++i) {
            const double x = left() + i * (fieldWidth + 3);
            LinieDrucken(c_, x, x + fieldWidth, height_ - 0.5, kTrue);
            TextDrucken(c_, {.x = x,
                             .y = height_,
                             .text = ansi(captions[i]),
                             .align = 21,
                             .size = 7,
                             .maxWidth = fieldWidth});
        }
        height_ += kBelow;
    }

    void closingPart() override {
        height_ += 4;
        const std::string& message = record_.AllgemeineNachricht;
        height_ += keptWhole({.x = left(),
                              .text = message,
                              .size = 9,
                              .bold = kTrue,
                              .maxWidth = edge() - left(),
                              .lines = 10});

        // The signature block is never squeezed upwards here: it goes to a
        // new page whenever it does not end above the bottom limit.
        if (height_ + 12 + 4 >= bottom())
            changePage();
        height_ += 12;
        const double y0 = height_;
        const double fullWidth = edge() - left();
        const double width = (fullWidth - 10) * 0.4;
        const std::string& number = record_.TierarztNummer;
        signatureLine(edge() - width, width, y0,
                      firstCopy() ? "Unterschrift Tierarzt" : "Unterschrift Tierhalter", 8);
        if (!number.empty())
            TextDrucken(c_, {.x = left(),
                             .y = y0,
                             .text = "Tierarzt-Nr.:",
                             .align = 21,
                             .size = 8,
                             .maxWidth = fullWidth});
        if (firstCopy())
            TextDrucken(c_, {.x = left(), .y = y0 + 1, .text = "Programmierung:", .size = 6});
        height_ += 4;
        const double y1 = height_;
        if (firstCopy())
            TextDrucken(c_, {.x = edge() - width,
                             .y = y1,
                             .text = record_.TierarztName,
                             .align = 21,
                             .size = 8,
                             .maxWidth = width});
        else
            TextDrucken(c_, {.x = left(), .y = y1, .text = record_.TierarztName, .size = 8});
        TextDrucken(
            c_,
            {.x = left(), .y = y1, .text = number, .align = 21, .size = 8, .maxWidth = fullWidth});
        if (firstCopy())
            TextDrucken(c_, {.x = left(), .y = y1, .text = kWebAddress, .size = 6});
    }
};

}  // namespace

bool MediInhaltDruckenA5Blaetter(Context& c, WithdrawalRunState& state, const std::string& text) {
    A5Sheets sheets(c, state, kA5Style);
    return sheets.run(text);
}

}  // namespace lumaro

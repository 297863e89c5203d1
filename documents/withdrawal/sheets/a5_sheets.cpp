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
        changePageIfReached(6);
        const Periods greatest = greatestAppliedPeriods(t.medications, record_.alreadyDoubled);
        text(left(), height_, "Angewandte Medikamente und Darreichungsform:", 0, 9, false, true);
        greyBox(edge() - headingWidth_, height_, headingWidth_, 4);
        text(edge(), height_ + 0.5,
             "Fleisch " + formatShortest(greatest.meat, regional) + "  /  Milch " +
                 formatShortest(greatest.milk, regional),
             1, 8, true);
        height_ += 1;
        for (const MedicationRow& row : t.medications.rows()) {
            if (row.AbgabeStatus != kAngewandt)
                continue;
            changePageIfReached(4);
            height_ += 4;
            // A drug with a long name and batch wraps inside the half instead
            // of running across into the empty right half of the sheet; the
            // next drug then starts below its last line.
            const double used = text(left(), height_, medicationText(row, regional, true), 0, 8,
                                     false, false, edge() - left(), -1);
            const double oneLine = c_.printer.textHeight("X");
            if (used > oneLine)
                height_ += used - oneLine;
        }
        if (record_.WZEndeZeigen) {
            height_ += 4;
            text(edge(), height_,
                 "Wartezeiten enden am: Fleisch " + formatDayLong(addPeriod(date, greatest.meat)) +
                     " / Milch " + formatDayLong(addPeriod(date, greatest.milk)),
                 1, 8, true);
        }
        height_ += 3;
    }

    void dispensedCaption() override {
        height_ += 2;
        const std::string caption = "Abgegebene Medikamente, Wartezeiten und Anwendungsanweisung";
        greyBox(left(), height_, widthOf("Abgegebene Medikamente,  ", 9, false, true), 4);
        text(left(), height_, caption, 0, 9, false, true);
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
            text(x, height_, ansi(captions[i]), 21, 7, false, false, fieldWidth);
        }
        height_ += kBelow;
    }

    void closingPart() override {
        height_ += 4;
        const std::string& message = record_.AllgemeineNachricht;
        const double messageHeight =
            text(left(), height_, message, 0, 9, true, false, edge() - left(), 10, true);
        if (height_ + messageHeight >= bottom())
            changePage();
        height_ += text(left(), height_, message, 0, 9, true, false, edge() - left(), 10);

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
            text(left(), y0, "Tierarzt-Nr.:", 21, 8, false, false, fullWidth);
        if (firstCopy())
            text(left(), y0 + 1, "Programmierung:", 0, 6);
        height_ += 4;
        const double y1 = height_;
        if (firstCopy())
            text(edge() - width, y1, record_.TierarztName, 21, 8, false, false, width);
        else
            text(left(), y1, record_.TierarztName, 0, 8);
        text(left(), y1, number, 21, 8, false, false, fullWidth);
        if (firstCopy())
            text(left(), y1, kWebAddress, 0, 6);
    }
};

}  // namespace

bool MediInhaltDruckenA5Blaetter(Context& c, WithdrawalRunState& state, const std::string& text) {
    A5Sheets sheets(c, state, kA5Style);
    return sheets.run(text);
}

}  // namespace lumaro

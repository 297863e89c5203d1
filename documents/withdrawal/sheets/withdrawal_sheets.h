// What the A4 and A5 sheets share: the walk through records, copies and
// treatments, the page tests, and every step the two layouts draw alike with
// different sizes. The layouts fill in their own head, foot, page change,
// applied section, dispensed caption, keeper's area and closing part.
#pragma once

#include <cstdint>
#include <string>

#include "documents/withdrawal/model/calendar_day.h"
#include "documents/withdrawal/model/withdrawal_model.h"
#include "documents/withdrawal/sheets/withdrawal_renderers.h"
#include "printing/context.h"
#include "printing/drawing.h"

namespace lumaro {

// Sizes in points and steps in scale units where the layouts differ only in numbers.
struct SheetStyle {
    const char* procedure;  // named in the error report
    const char* kind;       // the document's name on its PDF and archive copy
    std::int16_t rightTextEdge;
    std::int16_t runningNumberSize;
    double customerTop, customerTopShortTitle;
    std::int16_t lfbisSize, lfbisCaptionSize, customerSize;
    double afterCustomerName;
    std::int16_t textSize;  // animals, treatment number, diagnosis
    double afterAnimals;
    std::int16_t monitoringSize;
    double afterMonitoring;
    std::int16_t headingSize;  // period heading, organic notice, period lines
    double afterHeading;
    double beforeDispensedRow;
    std::int16_t dispensedRowSize;
    std::int16_t instructionSize;
};

class WithdrawalSheets {
  public:
    WithdrawalSheets(Context& c, WithdrawalRunState& state, const SheetStyle& style);
    virtual ~WithdrawalSheets() = default;
    WithdrawalSheets(const WithdrawalSheets&) = delete;
    WithdrawalSheets& operator=(const WithdrawalSheets&) = delete;

    // Prints every record of the file text, each its own print job. Errors
    // are reported here (log at indent 4 and a message) and give false.
    bool run(const std::string& fileText);

  protected:
    virtual int copies() const = 0;
    // The head of page 1 of the current copy; false after a reported error.
    virtual bool firstPageHead() = 0;
    virtual void pageFoot() = 0;
    virtual void nextPage() = 0;  // NewPage, head, height 10
    virtual void appliedSection(const Treatment& t, CalendarDay date) = 0;
    virtual void dispensedCaption() = 0;
    // Advances height; draws nothing when measuring.
    virtual void keeperArea(bool measure) = 0;
    virtual void closingPart() = 0;

    // The start of the applied section: the page test, the caption, and the
    // greatest applied periods in the grey box, which it returns.
    Periods appliedHead(const Treatment& t, std::int16_t captionSize, std::int16_t periodsSize);

    // Foot of the current page and the next page.
    void changePage();
    // A page test: changes the page when height + margin reaches the bottom limit.
    void changePageIfReached(double margin);
    // A text kept on one sheet: measured first, then drawn at the height,
    // after a page change when it would reach the bottom limit. Returns the
    // height it took.
    double keptWhole(TextSpec spec);
    // The signature rule and its caption centred below it.
    void signatureLine(double x, double width, double y, const std::string& caption,
                       std::int16_t size);

    // The text area in scale units.
    double left() const { return c_.bounds.intLinkerRand; }
    double bottom() const { return c_.bounds.intUntererRand; }
    double edge() const { return edge_; }
    bool firstCopy() const { return copy_ == 1; }

    Context& c_;
    WithdrawalRunState& state_;
    const SheetStyle& style_;
    WithdrawalRecord record_;
    double height_ = 0;
    std::int16_t page_ = 1;
    int copy_ = 1;
    // Width of the period heading; the grey period boxes have it too.
    double headingWidth_ = 0;

  private:
    enum class Outcome { Printed, Refused };
    Outcome printRecord();
    void dateLine();
    void customerBlock();
    Outcome treatment(const std::string& treatmentText);
    void animals(const Treatment& t);
    double diagnosisLine(const Treatment& t);
    void monitoring(const Treatment& t, double x);
    void periodHeading();
    void dispensedSection(const Treatment& t);
    void dispensedBlock(const MedicationRow& row, bool measure);

    std::int16_t edge_ = 0;
};

}  // namespace lumaro

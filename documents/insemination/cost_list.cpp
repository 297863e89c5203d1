#include "documents/insemination/cost_list.h"

#include "documents/insemination/text_replace.h"
#include "support/codepage.h"
#include "support/conversions.h"
#include "support/errors.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

const char* const kEmptyWortlaut = "<Wortlaut></Wortlaut>";

// Whole-number arithmetic in the 16 bits the layout positions live in.
std::int16_t to16(long long v) {
    return toInt16(static_cast<double>(v));
}

Money addMoney(Money a, Money b) {
    Money sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        raiseError(err::kOverflow);
    return sum;
}

struct CostItem {
    const char* element;
    const char* label;  // UTF-8 in our sources
};

// The order of the rows on the certificate.
constexpr CostItem kItems[] = {
    {"Grundpreis", "Grundtarif"},
    {"Samenpreis", "Samenpreis"},
    {"Wochenendzuschlag", "Wochenendzuschlag"},
    {"GemeindefoerderungGrundtarif", "Gemeindeförderung"},
};
constexpr std::size_t kSubsidy = 3;

// Builds the rows of one cost list from its pattern entry.
class CostRows {
  public:
    CostRows(const Regional& r, std::string pattern, std::int16_t links, std::int16_t oben,
             std::int16_t width, std::size_t maxLength)
        : r_(r),
          pattern_(std::move(pattern)),
          oben_(oben),
          maxLength_(maxLength),
          linksFind_("<links>" + formatInteger(links) + "</links>"),
          // The amounts are right-aligned: the template places such a text so
          // that it ends this far from the right edge of the 210-unit page,
          // which puts its end at links + width.
          linksAmount_("<links>" + formatInteger(to16(210 - to16(links + width))) + "</links>"),
          obenFind_("<oben>" + formatInteger(oben) + "</oben>") {}

    std::string label(const std::string& text) const {
        return replaceAll(pattern_, kEmptyWortlaut, "<Wortlaut>" + text + "</Wortlaut>",
                          maxLength_);
    }

    std::string amount(Money value) const {
        std::string row = replaceAll(pattern_, linksFind_, linksAmount_, maxLength_);
        row = replaceAll(row, "<Ausrichtung>0</Ausrichtung>", "<Ausrichtung>1</Ausrichtung>",
                         maxLength_);
        return replaceAll(row, kEmptyWortlaut,
                          "<Wortlaut>" + formatAmount(value, r_) + ansi(" €") + "</Wortlaut>",
                          maxLength_);
    }

    // The row moved down by the advance. The pattern's own position is found
    // by the number as it was read, so an `oben` not written as a plain whole
    // number stays where it is.
    std::string moved(const std::string& row, double advance) const {
        return replaceAll(row, obenFind_,
                          "<oben>" + formatShortest(oben_ + advance, r_) + "</oben>", maxLength_);
    }

  private:
    const Regional& r_;
    std::string pattern_;
    std::int16_t oben_;
    std::size_t maxLength_;
    std::string linksFind_, linksAmount_, obenFind_;
};

}  // namespace

CostColumn costColumn(std::int16_t groesse) {
    const std::int16_t times70 = to16(groesse * 70);
    const std::int16_t times5 = to16(groesse * 5);
    return {toInt16(times70 / 11.0), toInt16(times5 / 11.0)};
}

std::string expandCostList(Messages& messages, const Regional& regional, const std::string& entry,
                           const ValueLookup& valueOf, double& advance, std::size_t maxLength) {
    const std::int16_t links =
        to16(GanzzahlLesen(XMLWertHolen(messages, entry, "links"), regional));
    const std::int16_t oben = to16(GanzzahlLesen(XMLWertHolen(messages, entry, "oben"), regional));
    const std::int16_t groesse =
        to16(GanzzahlLesen(XMLWertHolen(messages, entry, "Groesse"), regional));
    const CostColumn column = costColumn(groesse);

    // The rows are plain texts of the form; none of them stands for the cost
    // list any more.
    const CostRows rows(
        regional, replaceAll(entry, "<DatenTyp>Aufstellung der Kosten</DatenTyp>", "", maxLength),
        links, oben, column.width, maxLength);

    std::string list;
    Money total = 0;
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        Money amount = TextZuBetrag(valueOf(kItems[i].element), regional);
        // The host sends the municipal subsidy as a positive amount. It is
        // money the farmer does not pay, so it is shown negative and lowers
        // the total, as its row label and the total say.
        if (i == kSubsidy && amount > 0)
            amount = -amount;
        if (amount == 0)
            continue;
        std::string label = rows.label(ansi(kItems[i].label));
        std::string money = rows.amount(amount);
        // The first item stands at the pattern's own place; the advance of an
        // earlier list does not move it.
        if (i > 0) {
            label = rows.moved(label, advance);
            money = rows.moved(money, advance);
        }
        list += "\r\n" + label + "\r\n" + money;
        total = addMoney(total, amount);
        advance += column.step;
    }

    advance += 1;
    list += "\r\n<FormularDaten><FormularTyp>Besamungsschein</FormularTyp><Typ>Linie</Typ><oben>" +
            formatShortest(oben + advance, regional) + "</oben><links>" + formatInteger(links) +
            "</links><Breite>" + formatInteger(column.width) + "</Breite></FormularDaten>";
    advance += column.step * 0.4;

    list += "\r\n" + rows.moved(rows.label("Betrag"), advance) + "\r\n" +
            rows.moved(rows.amount(total), advance);
    return list;
}

}  // namespace lumaro

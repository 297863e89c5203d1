#include "printing/printer_choice.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

TEST(PrinterChoice, TheRuleInItsOrder) {
    const std::vector<std::string> three{"Etiketten", "Buero", "Stall"};
    struct Case {
        std::vector<std::string> system;
        std::string def, label;
        bool pdf;
        int index;
        bool announce;
        std::string reason;
    } cases[] = {
        // --pdf wins over everything, and says nothing.
        {three, "Buero", "Etiketten", true, -1, false, ""},
        // The system's default, even when it is the label printer.
        {three, "Stall", "Etiketten", false, 2, false, ""},
        {three, "Etiketten", "Etiketten", false, 0, false, ""},
        // No default (or one that is not installed): not the label printer.
        {three, "", "Etiketten", false, 1, false,
         "Kein Standarddrucker im System; die Dokumente gehen an Buero, den ersten Drucker, der "
         "nicht der Labeldrucker Etiketten ist."},
        {three, "Weg", "Etiketten", false, 1, false,
         "Kein Standarddrucker im System; die Dokumente gehen an Buero, den ersten Drucker, der "
         "nicht der Labeldrucker Etiketten ist."},
        // A label printer that is not installed, or none saved: the first one.
        {three, "", "Zebra", false, 0, false,
         "Kein Standarddrucker im System; die Dokumente gehen an Etiketten, den ersten Drucker "
         "der Liste."},
        {three, "", "", false, 0, false,
         "Kein Standarddrucker im System; die Dokumente gehen an Etiketten, den ersten Drucker "
         "der Liste."},
        // Names compare exactly.
        {three, "", "etiketten", false, 0, false,
         "Kein Standarddrucker im System; die Dokumente gehen an Etiketten, den ersten Drucker "
         "der Liste."},
        // Nothing but the label printer, or nothing at all: PDF files, announced.
        {{"Etiketten"},
         "",
         "Etiketten",
         false,
         -1,
         true,
         w("Kein Standarddrucker im System und kein Drucker außer dem Labeldrucker Etiketten; "
           "die Dokumente werden als PDF-Dateien im Ordner Ausdrucke gespeichert.")},
        {{},
         "",
         "Etiketten",
         false,
         -1,
         true,
         "Kein Drucker im System; die Dokumente werden als PDF-Dateien im Ordner Ausdrucke "
         "gespeichert."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("default '" + c.def + "', label '" + c.label + "'");
        const PrinterChoice got = choosePrinter(c.system, c.def, c.label, c.pdf);
        EXPECT_EQ(got.systemIndex, c.index);
        EXPECT_EQ(got.announcePdfFiles, c.announce);
        EXPECT_EQ(got.reason, c.reason);
    }
}

}  // namespace
}  // namespace lumaro::testing

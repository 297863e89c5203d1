#include "printing/printer_choice.h"

#include <gtest/gtest.h>

#include "printing/printer_list.h"
#include "support/file_system.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

// The start printer's rule in its order, as the printer list applies it; the
// built-in printer is always last in the list.
TEST(PrinterList, TheStartPrinterFollowsTheRuleInItsOrder) {
    const std::vector<std::string> three{"Etiketten", "Buero", "Stall"};
    const std::string noDefault = "Kein Standarddrucker im System; die Dokumente gehen an ";
    const std::string notLabel =
        noDefault + "Buero, den ersten Drucker, der nicht der Labeldrucker Etiketten ist.";
    const std::string first = noDefault + "Etiketten, den ersten Drucker der Liste.";
    struct Case {
        std::vector<std::string> system;
        std::string def, label, pdfFolder, current;
        bool announce;
        std::string reason;
    } cases[] = {
        // --pdf wins over everything, and says nothing.
        {three, "Buero", "Etiketten", "/tmp/pdf", "Lumaro PDF", false, ""},
        // The system's default, even when it is the label printer.
        {three, "Stall", "Etiketten", "", "Stall", false, ""},
        {three, "Etiketten", "Etiketten", "", "Etiketten", false, ""},
        // No default (or one that is not installed): not the label printer.
        {three, "", "Etiketten", "", "Buero", false, notLabel},
        {three, "Weg", "Etiketten", "", "Buero", false, notLabel},
        // A label printer that is not installed, none saved, or not exactly the name.
        {three, "", "Zebra", "", "Etiketten", false, first},
        {three, "", "", "", "Etiketten", false, first},
        {three, "", "etiketten", "", "Etiketten", false, first},
        // Nothing but the label printer, or nothing at all: PDF files, announced.
        {{"Etiketten"},
         "",
         "Etiketten",
         "",
         "Lumaro PDF",
         true,
         w("Kein Standarddrucker im System und kein Drucker außer dem Labeldrucker Etiketten; "
           "die Dokumente werden als PDF-Dateien im Ordner Ausdrucke gespeichert.")},
        {{},
         "",
         "Etiketten",
         "",
         "Lumaro PDF",
         true,
         "Kein Drucker im System; die Dokumente werden als PDF-Dateien im Ordner Ausdrucke "
         "gespeichert."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("default '" + c.def + "', label '" + c.label + "'");
        FakeSurface s;
        FakePrinterSystem system(c.system, c.def);
        PrinterList printers(s, system, c.pdfFolder, "/prog");
        EXPECT_EQ(printers.chooseStartPrinter(c.label), c.reason);
        EXPECT_EQ(s.deviceName(), c.current);
        EXPECT_EQ(printers.announcesPdfFiles(), c.announce);
        EXPECT_EQ(printers.pdfFolder(),
                  c.pdfFolder.empty() ? fs::joinPath("/prog", "Ausdrucke") : c.pdfFolder);
        const int count = static_cast<int>(c.system.size()) + 1;
        ASSERT_EQ(printers.count(), count);
        EXPECT_EQ(printers.deviceName(count - 1), "Lumaro PDF");
        EXPECT_EQ(printers.deviceName(count), "");
        EXPECT_EQ(printers.deviceName(-1), "");
        EXPECT_EQ(errorOf([&] { printers.makeCurrent(count); }), err::kSubscriptOutOfRange);
        printers.makeCurrent(0);
        EXPECT_EQ(s.deviceName(), c.system.empty() ? "Lumaro PDF" : c.system[0]);
    }
}

}  // namespace
}  // namespace lumaro::testing

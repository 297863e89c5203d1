// The one loop behind XMLVorlageHinzufuegen and the head and foot routines:
// cut the FormularDaten entries out one after the other, read each entry and
// draw its text, bar or picture. The three public routines differ only in the
// settings of a TemplatePass.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "printing/context.h"
#include "templates/template_entry.h"

namespace lumaro {

enum class TemplateSide { All, AboveLimit, BelowLimit };

struct TemplatePass {
    // Names the routine in the log and in the error message.
    std::string procedure;
    std::int16_t versatz = 0;
    // Which entries are handled, by their `oben` against `grenze`; an entry
    // exactly on the limit belongs to neither side.
    TemplateSide side = TemplateSide::All;
    std::int16_t grenze = 0;
    // The foot is measured once and drawn once per sheet, so it keeps its log short.
    bool fullLog = true;
    bool draw = true;
    // Text heights cost a measurement the plain template does not need.
    bool measureTextHeight = false;
    // Called after every handled "Text", "Linie" or "Grafik" entry, drawn or
    // only measured; textHeight is 0 unless measured for a "Text".
    std::function<void(const TemplateEntry&, double textHeight)> afterEntry;
};

enum class TemplateEnd {
    EmptyTemplate,  // nothing to do at all
    NoEntryLeft,    // the loop ran to its end
    ErrorReported,  // the routine's handler logged (and showed) an error
};

// Errors until the first text entry are reported here; after it they go to
// the caller, as do ProgramEnd and errors of the first log line.
TemplateEnd renderTemplate(Context& c, const std::string& vorlage, const TemplatePass& pass);

}  // namespace lumaro

// The insemination certificate ("Besamungsschein") from Besamung.xml.
//
// The data file carries both the values and the form: a sequence of
// FormularDaten entries. The entries that name a value by their DatenTyp get
// it filled in, the one that names the cost list is expanded into its rows,
// and the finished template is drawn once per copy (twice per sheet when the
// file asks for two certificates on one A4 sheet).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "printing/context.h"
#include "support/regional.h"
#include "support/services.h"

namespace lumaro {

struct CertificateOptions {
    std::int16_t copies = 1;        // sheets; below 1 prints none
    std::int16_t secondOffset = 0;  // 150 when each sheet carries the certificate twice
};

// Anzahl and DoppeltAufA4, read from the whole data before the layout.
CertificateOptions readCertificateOptions(Messages& messages, const Regional& regional,
                                          const std::string& data);

struct CertificateTemplate {
    std::string vorlage;        // the template to draw
    bool entriesFound = false;  // at least one FormularDaten entry was in the data
};

// A finished template longer than this raises error 7 ("Nicht genügend
// Speicher"). A real certificate is a few tens of kilobytes.
inline constexpr std::size_t kMaxTemplateLength = std::size_t{16} << 20;

// The layout pass: values filled in, cost lists expanded. Needs no surface.
CertificateTemplate buildCertificateTemplate(Messages& messages, const Regional& regional,
                                             std::string data,
                                             std::size_t maxLength = kMaxTemplateLength);

// Prints the certificate and ends the print job. Returns true once the job is
// ended, also when the data held no form (then with a message). Errors are not
// caught here: they end the run and the data file stays.
bool BesamungsscheinDrucken(Context& c, const std::string& text);

}  // namespace lumaro

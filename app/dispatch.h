// Finding the waiting data files, handing each to its renderer, and deleting
// what was printed.
#pragma once

#include <string>

#include "app/archive.h"
#include "documents/renderers.h"
#include "printing/context.h"

namespace lumaro {

// The renderer a WZBeleg.xml text asks for by its layout phrase.
enum class WithdrawalLayout { A4Blaetter, ZweiMalA5, A5Blaetter };
WithdrawalLayout chooseWithdrawalLayout(const std::string& text);

// Prints Besamung.xml first, then WZBeleg.xml, until neither is left. Each file
// goes to its renderer at most once per call; only a file whose renderer
// reported success is deleted, and with an archive only when its copies were
// written. True when at least one document was printed.
bool MediInhaltDrucken(Context& c, const Renderers& renderers, const Archive* archive = nullptr);

}  // namespace lumaro

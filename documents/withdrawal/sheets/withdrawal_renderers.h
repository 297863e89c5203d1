// The withdrawal-period record on A4 portrait sheets for the animal keeper and
// on A5 sheets (the left half of a landscape page). Each takes the whole text
// of WZBeleg.xml, prints every Wartezeitenzettel record as a print job of its
// own (two copies: the vet's and the keeper's) and returns true when all were
// printed. False leaves the file in place: a record without any applied or
// dispensed drug, an empty treatment date, or an error, which is reported in
// the log and a message.
#pragma once

#include <string>

#include "printing/context.h"

namespace lumaro {

// What the sheets keep across the records of one run: the owner lines of the
// keeper's copy are the first non-empty ones the run saw. The run creates one
// and passes it to every call.
struct WithdrawalRunState {
    std::string eigentum1;
    std::string eigentum2;
};

bool MediInhaltDruckenA4Blaetter(Context& c, WithdrawalRunState& state, const std::string& text);
bool MediInhaltDruckenA5Blaetter(Context& c, WithdrawalRunState& state, const std::string& text);

}  // namespace lumaro

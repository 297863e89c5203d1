// FormularDaten templates: texts, bars and pictures placed on the current page.
#pragma once

#include <cstdint>
#include <string>

#include "printing/context.h"

namespace lumaro {

// Draws every FormularDaten entry of the template, each `oben` shifted down by
// intVersatz. Faults until the first printed text are reported here (log and
// message); later ones go to the caller.
void XMLVorlageHinzufuegen(Context& c, const std::string& vorlage, std::int16_t intVersatz);

// Draws the entries above intGrenze; dblKopfUnten (in: lowest bottom known, out:
// lowest bottom of the head, 20 when it stays 0).
void DokuKopfHinzufuegen(Context& c, const std::string& vorlage, std::int16_t intGrenze,
                         double& dblKopfUnten);

// Draws (or only measures) the entries below intGrenze; dblFussOben: top of the
// highest of them, 200 when there is none.
void DokuFussHinzufuegen(Context& c, const std::string& vorlage, std::int16_t intGrenze,
                         double& dblFussOben, std::int16_t bolNurMessen);

}  // namespace lumaro

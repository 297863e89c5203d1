// A dosage and withdrawal instruction of the length the drug records carry
// at most (1,000 characters), for the wrap benchmark and the measurement
// budget test.
#pragma once

#include <string>

#include "support/codepage.h"

namespace lumaro::bench {

inline std::string instructionText() {
    return ansi(
        "Das Tierarzneimittel ist nur nach Anweisung des Tierarztes anzuwenden. Vorher "
        "gut schütteln und die Flasche nach der Entnahme sofort wieder verschließen. Die "
        "Dosierung richtet sich nach dem Körpergewicht des Tieres: 1 ml je 10 kg "
        "Körpergewicht einmal täglich an drei aufeinanderfolgenden Tagen tief intramuskulär "
        "injizieren. An einer Injektionsstelle nicht mehr als 20 ml verabreichen. Die "
        "Wartezeiten sind unbedingt einzuhalten: essbare Gewebe 28 Tage, Milch 5 Tage (10 "
        "Melkungen). Während der Behandlung und bis zum Ende der Wartezeit darf die Milch nicht "
        "an eine Molkerei abgeliefert und nicht als Lebensmittel verwendet werden. Bei "
        "Überempfindlichkeit gegen den Wirkstoff nicht anwenden. Nach der Anwendung Hände "
        "gründlich waschen. Außerhalb der Reichweite von Kindern aufbewahren, nicht über 25 °C "
        "lagern und vor Licht schützen. Angebrochene Behälter innerhalb von 28 Tagen "
        "verbrauchen; Reste sind über die Tierarztpraxis zu entsorgen. Nebenwirkungen dem "
        "Tierarzt melden, auch Wirkungslosigkeit.");
}

}  // namespace lumaro::bench

// One FormularDaten entry of a template, read field by field from the entry's
// content. Every entry is read afresh: nothing carries over from the one
// before, so a bold heading cannot make the following entries bold.
#pragma once

#include <cstdint>
#include <string>

#include "support/services.h"

namespace lumaro {

struct TemplateEntry {
    std::string typ;         // "Text", "Linie" or "Grafik"; anything else draws nothing
    double oben = 0;         // top edge, before the caller's offset
    double links = 0;        // horizontal position, meaning depends on ausrichtung
    double breite = 0;       // bar and picture width
    double hoehe = 0;        // bar and picture height
    std::string schriftart;  // font name, as written
    double groesse = 10;     // font size in points; 0 or nothing means 10
    bool fett = false;
    bool kursiv = false;
    std::string wortlaut;    // the text, or the picture file
    std::int32_t farbe = 0;  // 0x00BBGGRR
    double ausrichtung = 0;  // alignment code, already rounded to a whole number
};

// `oben` alone: the head and foot routines choose their entries by it before
// anything else of the entry is looked at.
double readOben(const Services& s, const std::string& content);

// Every other field. Numbers are read with the user's separators; a field that
// is blank counts as missing, one that is no number raises error 13.
void readRemainingFields(const Services& s, const std::string& content, TemplateEntry& entry);

}  // namespace lumaro

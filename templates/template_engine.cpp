#include "templates/template_engine.h"

#include <string>

#include "printing/drawing.h"
#include "support/codepage.h"
#include "support/conversions.h"
#include "support/errors.h"
#include "support/file_access.h"
#include "support/file_system.h"
#include "support/regional.h"
#include "support/run_log.h"
#include "support/trim.h"
#include "templates/picture_window.h"
#include "xml/xml_tags.h"

namespace lumaro {

namespace {

bool isSelected(const TemplatePass& pass, double oben) {
    switch (pass.side) {
        case TemplateSide::AboveLimit:
            return oben < pass.grenze;
        case TemplateSide::BelowLimit:
            return oben > pass.grenze;
        case TemplateSide::All:
            break;
    }
    return true;
}

std::int32_t colourOf(const TemplateEntry& e) {
    return e.farbe > 0 ? e.farbe : 0;
}

// Returns the text's height when the pass asks for it, else 0.
double placeText(Context& c, const TemplateEntry& e, double y, double pageWidth,
                 const TemplatePass& pass) {
    const Services& s = c.services;
    PrintSurface& p = c.printer;
    Protokollieren(s, "Printer.DeviceName = " + p.deviceName(), 12);
    Protokollieren(s, "Printer.CurrentY = " + formatShortest(y, s.regional), 12);
    p.setCurrentY(y);
    Protokollieren(s, "Printer.FontName = " + e.schriftart, 12);
    p.setFontName(e.schriftart);
    p.setFontSize(e.groesse);
    p.setForeColor(colourOf(e));
    p.setFontBold(e.fett);
    p.setFontItalic(e.kursiv);
    // Codes are relative to the page, not to the text bounds of the layout.
    if (e.ausrichtung == 0) {
        p.setCurrentX(e.links);
    } else if (e.ausrichtung == 1) {
        p.setCurrentX(pageWidth - p.textWidth(e.wortlaut) - e.links);
    } else if (e.ausrichtung == 2) {
        p.setCurrentX((pageWidth - p.textWidth(e.wortlaut)) / 2);
    }
    // Any other code leaves CurrentX where the previous output ended.
    const double height = pass.measureTextHeight ? p.textHeight(e.wortlaut) : 0.0;
    if (pass.draw) {
        if (pass.fullLog)
            Protokollieren(s, "Printer.Print " + e.wortlaut, 12);
        p.print(e.wortlaut);
    }
    return height;
}

void placeBar(Context& c, const TemplateEntry& e, double y, double pageWidth, bool draw) {
    PrintSurface& p = c.printer;
    p.setForeColor(colourOf(e));
    double left = 0;
    double right = 0;
    if (e.ausrichtung == 0) {
        left = e.links;
        right = e.links + e.breite;
    } else if (e.ausrichtung == 1) {
        left = e.links - e.breite;
        right = e.links;
    } else if (e.ausrichtung == 2) {
        left = (pageWidth - e.breite) / 2;
        right = left + e.breite;
    } else {
        return;
    }
    if (draw)
        p.filledBox(left, y, right, y + e.hoehe, p.foreColor());
}

void placePicture(Context& c, const TemplateEntry& e, double y, bool draw) {
    const Services& s = c.services;
    std::string path = e.wortlaut;
    // A bare file name lies beside the program; anything with a separator is
    // taken as the host wrote it.
    if (path.find_first_of("\\/") == std::string::npos)
        path = fs::joinPath(s.programFolder, path);
    if (!DateiVorhanden(s, path) || !draw)
        return;
    // One holder per picture: its load and unload keep the host's counter.
    PictureWindow holder(c);
    const Picture& picture = holder.load(path);
    PrintPicture(c, picture, toInt32(e.links), toInt32(y), toInt32(e.breite), toInt32(e.hoehe));
}

}  // namespace

TemplateEnd renderTemplate(Context& c, const std::string& vorlage, const TemplatePass& pass) {
    const Services& s = c.services;
    Protokollieren(
        s, pass.procedure + ansi(" - Länge: ") + formatInteger(trimBlanks(vorlage).size()), 4);
    if (vorlage.empty())
        return TemplateEnd::EmptyTemplate;
    const double pageWidth = roundHalfEven(c.printer.scaleWidth());

    // The handler guards only the entries before the first text: once text is
    // on the page, a half-drawn form must not look finished, so the caller
    // gets the error and its own handling decides.
    bool handling = true;
    try {
        XmlCutter cutter(s.messages, vorlage);
        std::string content;
        // A present but empty entry also ends the loop, as the cut reports it
        // like a missing one.
        while (cutter.next("FormularDaten", content, false)) {
            if (pass.fullLog)
                Protokollieren(s, "TagInhalt wurde ausgeschnitten: " + content, 8);
            TemplateEntry entry;
            entry.oben = readOben(s, content);
            if (!isSelected(pass, entry.oben))
                continue;
            readRemainingFields(s, content, entry);
            Protokollieren(s, "Typ = " + entry.typ, 12);
            const double y = pass.versatz + entry.oben;
            double textHeight = 0;
            if (entry.typ == "Text") {
                textHeight = placeText(c, entry, y, pageWidth, pass);
                handling = false;
                if (pass.fullLog)
                    Protokollieren(s, ansi("Printer.Print wurde ausgeführt."), 12);
            } else if (entry.typ == "Linie") {
                placeBar(c, entry, y, pageWidth, pass.draw);
            } else if (entry.typ == "Grafik") {
                placePicture(c, entry, y, pass.draw);
            } else {
                continue;
            }
            if (pass.afterEntry)
                pass.afterEntry(entry, textHeight);
        }
        if (pass.fullLog)
            Protokollieren(s, "TagInhalt wurde nicht ausgeschnitten - Schleife wird verlassen.", 8);
        return TemplateEnd::NoEntryLeft;
    } catch (const RuntimeError& e) {
        if (!handling)
            throw;
        Protokollieren(s, "Err.Number: " + formatInteger(e.number()), 0);
        // A printer fault is only logged: no message box for it.
        if (e.number() == err::kPrinterError)
            return TemplateEnd::ErrorReported;
        const std::string text = formatErrorText(e, pass.procedure);
        Protokollieren(s, text, 4);
        s.messages.show(text, "", MessageIcon::Stop);
        return TemplateEnd::ErrorReported;
    }
}

}  // namespace lumaro

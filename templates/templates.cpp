#include "templates/templates.h"

#include "templates/template_engine.h"

namespace lumaro {

void XMLVorlageHinzufuegen(Context& c, const std::string& vorlage, std::int16_t intVersatz) {
    TemplatePass pass;
    pass.procedure = "XMLVorlageHinzufuegen";
    pass.versatz = intVersatz;
    renderTemplate(c, vorlage, pass);
}

void DokuKopfHinzufuegen(Context& c, const std::string& vorlage, std::int16_t intGrenze,
                         double& dblKopfUnten) {
    TemplatePass pass;
    pass.procedure = "DokuKopfHinzufuegen";
    pass.side = TemplateSide::AboveLimit;
    pass.grenze = intGrenze;
    pass.measureTextHeight = true;
    pass.afterEntry = [&](const TemplateEntry& e, double textHeight) {
        if (e.typ == "Text") {
            if (e.oben + textHeight > dblKopfUnten)
                dblKopfUnten = e.oben + textHeight;
        } else if (e.typ == "Linie") {
            // A bar counts by its top only; its own height does not move the edge.
            if (e.oben > dblKopfUnten)
                dblKopfUnten = e.oben;
        } else if (e.typ == "Grafik") {
            // A picture reaching the dividing line or beyond is drawn but
            // must not push the content down into the foot's half.
            const double bottom = e.oben + e.hoehe;
            if (bottom < intGrenze && bottom > dblKopfUnten)
                dblKopfUnten = bottom;
        }
    };
    if (renderTemplate(c, vorlage, pass) == TemplateEnd::NoEntryLeft && dblKopfUnten == 0)
        dblKopfUnten = 20;
}

void DokuFussHinzufuegen(Context& c, const std::string& vorlage, std::int16_t intGrenze,
                         double& dblFussOben, std::int16_t bolNurMessen) {
    TemplatePass pass;
    pass.procedure = "DokuFussHinzufuegen";
    pass.side = TemplateSide::BelowLimit;
    pass.grenze = intGrenze;
    pass.fullLog = false;
    pass.draw = bolNurMessen == 0;
    pass.afterEntry = [&](const TemplateEntry& e, double) {
        if (e.oben < dblFussOben)
            dblFussOben = e.oben;
    };
    // Without entries below the limit the foot starts at the bottom of the
    // content area.
    if (!vorlage.empty())
        dblFussOben = 200;
    renderTemplate(c, vorlage, pass);
}

}  // namespace lumaro

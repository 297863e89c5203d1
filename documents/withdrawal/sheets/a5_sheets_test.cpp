#include <gtest/gtest.h>

#include "documents/withdrawal/sheets/sheet_test_support.h"
#include "documents/withdrawal/sheets/withdrawal_renderers.h"

namespace lumaro {
namespace {

using testing::Beh;
using testing::DrawCall;
using testing::Med;
using testing::Rec;
using testing::w;

class A5Sheets : public ::testing::Test {
  protected:
    testing::TestWorld world;
    testing::FakeSurface& surface = world.surface;
    WithdrawalRunState state;

    bool print(const std::string& xml) {
        return MediInhaltDruckenA5Blaetter(world.context, state, xml);
    }
    std::vector<DrawCall> texts(const std::string& utf8) {
        return testing::textsEqual(surface, w(utf8));
    }
};

// Two applied drugs (15 and 5 days, none) and a dispensed one (4 and 5).
Rec a5Record() {
    Rec r;
    r.treatments = {Beh{.meds = {Med{.bezeichnung = "Meloxicam",
                                     .menge = "12,5",
                                     .charge = "MX1",
                                     .form = "Injektionslösung",
                                     .fleisch = "15",
                                     .milch = "5"},
                                 Med{.bezeichnung = "Oxytocin", .menge = "2"},
                                 Med{.status = "Abgegeben",
                                     .bezeichnung = "Cefalexin",
                                     .menge = "4",
                                     .einheit = "Stk.",
                                     .charge = "CX-7781",
                                     .fleisch = "4",
                                     .milch = "5",
                                     .anweisung = "Nach dem Melken je einen Injektor."}}}};
    return r;
}

// The layout itself is pinned down by the example's expected trace; here the
// options the A5 sheets do not offer.
TEST_F(A5Sheets, AlwaysTwoCopiesOnTheWholeHalfWhateverTheA4Options) {
    Rec r = a5Record();
    r.flags = {{"A4NichtFuerTierarzt", "True"}, {"NurObereHaelfte", "True"}};
    ASSERT_TRUE(print(r.xml()));
    EXPECT_EQ(world.context.bounds.intUntererRand, 200);
    EXPECT_EQ(testing::countKind(surface, DrawCall::NewPage), 1);
    EXPECT_EQ(surface.jobsEnded, 1);
    EXPECT_EQ(texts("www.lumaro.example").size(), 1u) << "on the vet's copy only";
}

TEST_F(A5Sheets, SignatureBlockGoesToANewPageWhenItWouldReachTheBottom) {
    // 13 words of "Nachricht " fill one message line of 124 at 9 points.
    int samePage = 0, newPage = 0;
    for (int treatments = 3; treatments <= 7; ++treatments) {
        for (int monitored : {0, 2, 5}) {
            for (int lines = 1; lines <= 7; ++lines) {
                for (bool shortTitle : {false, true}) {
                    testing::TestWorld run;
                    const Rec r =
                        testing::steeredRecord(treatments, monitored, 13 * lines, shortTitle);
                    ASSERT_TRUE(MediInhaltDruckenA5Blaetter(run.context, state, r.xml()));
                    const testing::SignaturePlace p = testing::signaturePlace(run.surface, 3.6);
                    const double end = p.naturalStart + 16;
                    SCOPED_TRACE("block end " + std::to_string(end));
                    if (end >= 200) {
                        EXPECT_EQ(p.captionPage, p.messagePage + 1);
                        EXPECT_DOUBLE_EQ(p.captionY, 22);
                        ++newPage;
                    } else {
                        EXPECT_EQ(p.captionPage, p.messagePage);
                        EXPECT_NEAR(p.captionY, p.naturalStart + 12, 1e-9);
                        samePage += end > 196;
                    }
                }
            }
        }
    }
    EXPECT_TRUE(newPage > 0 && samePage > 0) << "the sweep met both sides of the bottom";
}

TEST_F(A5Sheets, OverlongUnitIsReportedWithTheA5RenderersName) {
    Rec r = a5Record();
    r.treatments[0].meds[0].einheit = "Milliliter je kg";
    EXPECT_FALSE(print(r.xml()));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("Fehler 3265 (Die Daten sind zu lang für das Feld der Medikamententabelle) in "
                "Prozedur MediInhaltDruckenA5Blaetter in Modul FunktionenDrucker"));
    EXPECT_EQ(surface.endDocCalls, 0);
}

}  // namespace
}  // namespace lumaro

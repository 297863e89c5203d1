#include "app/archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "pdf/testing_fonts.h"
#include "support/file_system.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

struct ArchiveTest : ::testing::Test {
    testing::TestWorld world;
    pdf::testing::DebianFonts fonts;
    Archive archive{world.services, fonts};

    ArchiveTest() { world.surface.addObserver(archive); }
    ~ArchiveTest() override { world.surface.removeObserver(archive); }

    // One job of two sheets on the world's (fake) printer.
    void printJob(const DocumentLabel& document) {
        PrintSurface& s = world.surface;
        s.print(w("Aufzeichnungen über Anwendung"));
        s.newPage();
        s.line(10, 20, 200, 20);
        s.setDocument(document);
        s.endDoc();
    }
    static std::vector<std::string> files(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A copy's sheets and log line are checked on the real program (tests/e2e), as
// is a copy that cannot be written.
TEST_F(ArchiveTest, EveryPrintedJobIsCopiedIntoItsYearNamedByItsDocument) {
    archive.setFolder("Archiv");  // relative: in the program folder
    printJob({"Wartezeiten-A4", "1234567", "2026/1201"});
    printJob({"Wartezeiten-A4", "1234567", "2026/1201"});  // the same second: never replaced
    printJob({"", " ", ""});
    const std::string year = fs::joinPath(fs::joinPath(world.folder.path(), "Archiv"), "2026");
    EXPECT_EQ(files(year),
              (std::vector<std::string>{
                  "2026-12-05_14-03-27_Druck.pdf",
                  "2026-12-05_14-03-27_Wartezeiten-A4_LFBIS-1234567_Nr-2026-1201.pdf",
                  "2026-12-05_14-03-27_Wartezeiten-A4_LFBIS-1234567_Nr-2026-1201_2.pdf"}));
    EXPECT_EQ(archive.failures(), 0);
}

TEST(ArchiveName, KeepsOnlyWhatAFileNameMayHold) {
    JobInfo job{1, {2027, 1, 2, 3, 4, 5}, 1, {"Wartezeiten-2xA5", " 12:34*5 ", "A<1>|\"B\"?"}};
    EXPECT_EQ(archiveName(job), "2027-01-02_03-04-05_Wartezeiten-2xA5_LFBIS-12-34-5_Nr-A-1---B--");
    job.document = {"Besamungsschein", "", ""};
    EXPECT_EQ(archiveName(job), "2027-01-02_03-04-05_Besamungsschein");
}

}  // namespace
}  // namespace lumaro

// A full disk while the PDF printer writes a file, shown with a file size
// limit in a child process (writes beyond it fail as on a full disk).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <random>

#include "pdf/pdf_printer.h"
#include "pdf/testing_fonts.h"
#include "support/testing_child_posix.h"
#include "tests/fakes/fakes.h"

namespace lumaro::pdf {
namespace {

TEST(PdfPrinter, AFullDiskIsAPrinterErrorAndLeavesNoFile) {
    lumaro::testing::TempFolder t;
    testing::DebianFonts fonts;
    Image noise;  // pixels that do not compress: about 30 KB in the file
    noise.width = noise.height = 100;
    std::mt19937 random(7);
    for (int i = 0; i < 100 * 100 * 3; ++i)
        noise.rgb.push_back(static_cast<std::uint8_t>(random()));
    const auto outcome = lumaro::testing::runInChild(
        [&] {
            PdfPrinter printer(t.path(), fonts);
            printer.beginJob(JobInfo{1, {2026, 12, 5, 14, 3, 27}, 1, {}});
            printer.picture(DeviceRect{0, 0, 1000, 1000}, noise);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{16384, 16384};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return std::to_string(lumaro::testing::errorOf([&] { printer.endJob(); }));
        },
        false);
    ASSERT_EQ(outcome.status, lumaro::testing::ChildOutcome::Ran);
    EXPECT_EQ(outcome.output, "482");
    EXPECT_TRUE(std::filesystem::is_empty(t.path()));
}

}  // namespace
}  // namespace lumaro::pdf

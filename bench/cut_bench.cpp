// Cutting every record out of a large data file: XmlCutter against calling
// XMLTagAusschneiden with the rest fed back, for 1, 100 and 1,000 records in
// a text of about 10 MB.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "tests/fakes/fakes.h"
#include "xml/xml_tags.h"

namespace {

constexpr std::size_t kTextSize = 10 * 1000 * 1000;

// A drug-record file: a head, then records padded so the whole is ~10 MB.
std::string dataFile(int records) {
    const std::size_t recordSize = kTextSize / static_cast<std::size_t>(records);
    std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<WZBeleg>\r\n";
    for (int i = 0; i < records; ++i) {
        std::string record = "<Wartezeitenzettel><Nr>" + std::to_string(i) + "</Nr><Text>";
        record.append(recordSize > record.size() + 60 ? recordSize - record.size() - 60 : 1, 'x');
        record += "</Text></Wartezeitenzettel>\r\n";
        text += record;
    }
    return text + "</WZBeleg>\r\n";
}

template <class Walk>
double once(Walk walk, int& found) {
    const auto start = std::chrono::steady_clock::now();
    found = walk();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count();
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The best of three runs: the first run of a size also pays for the fresh
// pages of its 10 MB copies, which says more about the machine than the cut.
template <class Walk>
double millisecondsFor(Walk walk, int& found) {
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        const double spent = once(walk, found);
        best = run == 0 ? spent : std::min(best, spent);
    }
    return best;
}

}  // namespace

int main() {
    lumaro::testing::RecordedMessages messages;
    std::printf("%8s %12s %16s %18s %14s\n", "records", "text bytes", "XmlCutter (ms)",
                "repeated cut (ms)", "peak RSS (MB)");
    for (const int records : {1, 100, 1000}) {
        const std::string text = dataFile(records);
        int fastFound = 0, plainFound = 0;
        const double fast = millisecondsFor(
            [&] {
                lumaro::XmlCutter cutter(messages, text);
                std::string content;
                int n = 0;
                while (cutter.next("Wartezeitenzettel", content, false))
                    ++n;
                return n;
            },
            fastFound);
        const double plain = millisecondsFor(
            [&] {
                std::string working = text, content;
                int n = 0;
                while (lumaro::XMLTagAusschneiden(messages, working, "Wartezeitenzettel", content,
                                                  working, false))
                    ++n;
                return n;
            },
            plainFound);
        std::printf("%8d %12zu %16.1f %18.1f %14.1f%s\n", records, text.size(), fast, plain,
                    static_cast<double>(peakKilobytes()) / 1024.0,
                    fastFound == records && plainFound == records ? "" : "  (count differs!)");
    }
    return 0;
}

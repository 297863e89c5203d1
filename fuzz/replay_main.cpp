// Runs a fuzz target's function on kept inputs, without libFuzzer, so that
// the normal build replays every finding that was ever fixed.
//
//   replay_TARGET [--only NAME] PATH...
//
// A PATH that is a folder is searched recursively; with --only, only files of
// that name are taken from folders that follow it (a data file among the
// examples). A path that does not exist is skipped, since a target may have
// no findings yet, but a run that found no input at all fails. A finding
// aborts, which fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void replay(const std::filesystem::path& file, int& count) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s (%zu bytes)\n", file.string().c_str(), bytes.size());
    // A copy of exactly the input's size, so that reading past its end is
    // caught under the sanitizers as libFuzzer would.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    ++count;
}

}  // namespace

int main(int argc, char** argv) {
    std::string only;
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
            continue;
        }
        const std::filesystem::path path(arg);
        if (std::filesystem::is_regular_file(path)) {
            replay(path, count);
        } else if (std::filesystem::is_directory(path)) {
            std::vector<std::filesystem::path> files;
            for (const auto& e : std::filesystem::recursive_directory_iterator(path)) {
                if (e.is_regular_file() && (only.empty() || e.path().filename() == only))
                    files.push_back(e.path());
            }
            std::sort(files.begin(), files.end());
            for (const auto& f : files)
                replay(f, count);
        }
    }
    std::printf("%d inputs replayed without a finding\n", count);
    // Nothing found to replay means the paths are wrong, not that all is well.
    return count > 0 ? 0 : 1;
}

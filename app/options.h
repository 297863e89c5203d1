// The command line and environment of a run: the options of the automation
// contract (--folder, --pdf, --unattended, --trace, --archive, --help,
// --version), each with its LUMARO_* variable, and the host's own arguments,
// which are only logged. An argument that starts with "--" and is no option is
// a usage error (a mistyped --folder must not run in the wrong folder), and so
// is a program folder that is not there.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumaro {

struct Options {
    std::optional<std::string> folder;  // the system's own encoding, as given
    std::optional<std::string> pdf;
    std::optional<std::string> trace;
    std::optional<std::string> archive;
    bool unattended = false;
    bool help = false;
    bool version = false;
    // Every argument as given, joined by blanks, for the log's parameter line;
    // empty when there was none.
    std::string commandLine;
};

struct ParsedOptions {
    Options options;
    std::string usageError;  // not empty: print it, exit 64, touch nothing
};

using Getenv = std::function<std::optional<std::string>(const std::string& name)>;
// True when the path (as given, the system's own encoding) names a folder.
using IsFolder = std::function<bool(const std::string& path)>;

// args without the program path. An option on the command line wins over its
// variable. With isFolder, a --folder or LUMARO_FOLDER that names no folder is
// a usage error.
ParsedOptions parseOptions(const std::vector<std::string>& args, const Getenv& getenv,
                           const IsFolder& isFolder = {});

std::string usageText();

inline constexpr int kExitPrinted = 0;
inline constexpr int kExitNothingPrinted = 1;
inline constexpr int kExitHostFileProblem = 2;
inline constexpr int kExitUnhandledError = 3;
inline constexpr int kExitUsage = 64;

}  // namespace lumaro

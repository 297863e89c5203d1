// Lumaro on Linux: the program on the Qt platform. Nothing else happens here.

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
    const lumaro::ProgramArguments arguments{
        std::vector<std::string>(argv + 1, argv + argc),
        [](const std::string& name) -> std::optional<std::string> {
            const char* v = std::getenv(name.c_str());
            return v ? std::optional<std::string>(v) : std::nullopt;
        },
        std::cout, std::cerr};
    return lumaro::runProgram(arguments, [&](bool unattended) {
        return std::make_unique<lumaro::platform::QtPlatform>(argc, argv, unattended);
    });
}

// For tests and the fuzzer: the structure every PDF file of ours must have,
// checked without a PDF reader.
#pragma once

#include <cstdio>
#include <string>

namespace lumaro::pdf::testing {

// "" when the file begins and ends as a PDF does, startxref points at the
// cross-reference table, and every object the table lists begins where the
// table says; otherwise what is wrong.
inline std::string structureFault(const std::string& pdf) {
    if (pdf.rfind("%PDF-1.4\n", 0) != 0)
        return "no header";
    const std::string tail = "\n%%EOF\n";
    if (pdf.size() < tail.size() || pdf.compare(pdf.size() - tail.size(), tail.size(), tail) != 0)
        return "no end";
    const auto start = pdf.rfind("startxref\n");
    if (start == std::string::npos)
        return "no startxref";
    const std::size_t xref = std::stoul(pdf.substr(start + 10));
    unsigned long count = 0;
    if (pdf.compare(xref, 5, "xref\n") != 0 ||
        std::sscanf(pdf.c_str() + xref + 5, "0 %lu\n", &count) != 1)
        return "startxref does not point at the table";
    std::size_t entry = pdf.find('\n', xref + 5) + 1;
    if (pdf.compare(entry, 20, "0000000000 65535 f \n") != 0)
        return "bad first entry";
    for (unsigned long i = 1; i < count; ++i) {
        entry += 20;
        const std::size_t offset = std::stoul(pdf.substr(entry, 10));
        if (pdf.compare(entry + 10, 10, " 00000 n \n") != 0)
            return "bad entry " + std::to_string(i);
        const std::string head = std::to_string(i) + " 0 obj\n";
        if (pdf.compare(offset, head.size(), head) != 0)
            return "object " + std::to_string(i) + " is not where the table says";
    }
    if (pdf.compare(entry + 20, 8, "trailer\n") != 0)
        return "no trailer after the table";
    if (pdf.find("/Size " + std::to_string(count) + " ", entry) == std::string::npos)
        return "the trailer's size is not the table's";
    return "";
}

}  // namespace lumaro::pdf::testing

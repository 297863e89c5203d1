#include "printing/trace.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "support/codepage.h"

namespace lumaro {

std::string jsonString(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(u));
            out += buf;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value))
        return "0";
    double rounded = std::round(value * 10000.0) / 10000.0;
    if (!std::isfinite(rounded))  // huge values overflow when multiplied
        rounded = value;
    if (rounded == 0.0)
        rounded = 0.0;  // no "-0"
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, rounded);
    return std::string(buf, res.ptr);
}

const char* iconWord(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return "stop";
        case MessageIcon::Exclamation:
            return "exclamation";
        case MessageIcon::Information:
            return "information";
        case MessageIcon::None:
            break;
    }
    return "none";
}

namespace {

// Builds one event object field by field, in the order the fields are added.
// Keys are the program's own ASCII names and need no escaping; a batch writes
// hundreds of thousands of events, so each is built in one buffer.
class Event {
  public:
    explicit Event(const char* ev) {
        out_.reserve(256);
        out_ += "{\"ev\":\"";
        out_ += ev;
        out_ += '"';
    }
    Event& num(const char* key, double v) { return raw(key, jsonNumber(v)); }
    Event& integer(const char* key, long long v) { return raw(key, std::to_string(v)); }
    Event& flag(const char* key, bool v) { return raw(key, v ? "true" : "false"); }
    Event& text(const char* key, std::string_view cp1252) {
        return raw(key, jsonString(toUtf8(cp1252)));
    }
    const std::string& done() {
        out_ += "}\n";
        return out_;
    }

  private:
    Event& raw(const char* key, std::string_view value) {
        out_ += ",\"";
        out_ += key;
        out_ += "\":";
        out_ += value;
        return *this;
    }
    std::string out_;
};

}  // namespace

TraceWriter::TraceWriter(const std::filesystem::path& path)
    : file_(path, std::ios::binary | std::ios::trunc) {}

void TraceWriter::writeLine(const std::string& line) {
    if (!file_.is_open())
        return;
    file_.write(line.data(), static_cast<std::streamsize>(line.size()));
    file_.flush();
}

void TraceWriter::job(int job, const std::string& printer, int orientation, double scaleWidth,
                      double scaleHeight) {
    writeLine(Event("job")
                  .integer("job", job)
                  .text("printer", printer)
                  .integer("orientation", orientation)
                  .num("scaleWidth", scaleWidth)
                  .num("scaleHeight", scaleHeight)
                  .done());
}

void TraceWriter::text(int job, int page, double x, double y, double w, double h,
                       const std::string& text, const FontState& font, std::int32_t color) {
    writeLine(Event("text")
                  .integer("job", job)
                  .integer("page", page)
                  .num("x", x)
                  .num("y", y)
                  .num("w", w)
                  .num("h", h)
                  .text("text", text)
                  .text("font", font.name)
                  .num("size", font.size)
                  .flag("bold", font.bold)
                  .flag("italic", font.italic)
                  .flag("underline", font.underline)
                  .integer("color", color)
                  .done());
}

void TraceWriter::line(int job, int page, double x1, double y1, double x2, double y2,
                       std::int32_t color) {
    writeLine(Event("line")
                  .integer("job", job)
                  .integer("page", page)
                  .num("x1", x1)
                  .num("y1", y1)
                  .num("x2", x2)
                  .num("y2", y2)
                  .integer("color", color)
                  .done());
}

void TraceWriter::box(int job, int page, double x1, double y1, double x2, double y2, bool filled,
                      std::int32_t color) {
    writeLine(Event("box")
                  .integer("job", job)
                  .integer("page", page)
                  .num("x1", x1)
                  .num("y1", y1)
                  .num("x2", x2)
                  .num("y2", y2)
                  .flag("filled", filled)
                  .integer("color", color)
                  .done());
}

void TraceWriter::picture(int job, int page, const std::string& file, double x, double y, double w,
                          double h) {
    writeLine(Event("picture")
                  .integer("job", job)
                  .integer("page", page)
                  .text("file", file)
                  .num("x", x)
                  .num("y", y)
                  .num("w", w)
                  .num("h", h)
                  .done());
}

void TraceWriter::newPage(int job, int page) {
    writeLine(Event("newpage").integer("job", job).integer("page", page).done());
}

void TraceWriter::endDoc(int job, int pages) {
    writeLine(Event("enddoc").integer("job", job).integer("pages", pages).done());
}

void TraceWriter::abort(int job, int pages) {
    writeLine(Event("abort").integer("job", job).integer("pages", pages).done());
}

void TraceWriter::message(const std::string& title, const std::string& text, MessageIcon icon) {
    writeLine(Event("message")
                  .text("title", title)
                  .text("text", text)
                  .text("icon", iconWord(icon))
                  .done());
}

}  // namespace lumaro

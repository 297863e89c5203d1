// Big-endian reading and writing for the font tables, every read checked
// against the end of its data: a font file is outside input, and a value
// pointing past its end must end in RuntimeError 482, never in a read beyond
// the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/errors.h"

namespace lumaro::pdf {

// A view of font data; every read outside it raises 482.
class Bytes {
  public:
    Bytes() = default;
    explicit Bytes(std::string_view data) : data_(data) {}

    std::size_t size() const { return data_.size(); }
    bool empty() const { return data_.empty(); }
    std::string_view view() const { return data_; }

    bool has(std::size_t offset, std::size_t length) const {
        return offset <= data_.size() && length <= data_.size() - offset;
    }
    Bytes sub(std::size_t offset, std::size_t length) const {
        need(offset, length);
        return Bytes(data_.substr(offset, length));
    }
    // From offset to the end.
    Bytes from(std::size_t offset) const {
        need(offset, 0);
        return Bytes(data_.substr(offset));
    }

    std::uint8_t u8(std::size_t offset) const {
        need(offset, 1);
        return static_cast<std::uint8_t>(data_[offset]);
    }
    std::uint16_t u16(std::size_t offset) const {
        need(offset, 2);
        return static_cast<std::uint16_t>(byte(offset) << 8 | byte(offset + 1));
    }
    std::int16_t i16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::uint32_t u32(std::size_t offset) const {
        need(offset, 4);
        return static_cast<std::uint32_t>(byte(offset)) << 24 |
               static_cast<std::uint32_t>(byte(offset + 1)) << 16 |
               static_cast<std::uint32_t>(byte(offset + 2)) << 8 | byte(offset + 3);
    }

  private:
    std::uint32_t byte(std::size_t offset) const {
        return static_cast<std::uint8_t>(data_[offset]);
    }
    void need(std::size_t offset, std::size_t length) const {
        if (!has(offset, length))
            raiseError(err::kPrinterError);
    }

    std::string_view data_;
};

inline void putU16(std::string& out, std::uint32_t v) {
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

inline void putU32(std::string& out, std::uint32_t v) {
    putU16(out, v >> 16);
    putU16(out, v & 0xFFFF);
}

inline void setU16(std::string& out, std::size_t offset, std::uint32_t v) {
    out[offset] = static_cast<char>((v >> 8) & 0xFF);
    out[offset + 1] = static_cast<char>(v & 0xFF);
}

inline void setU32(std::string& out, std::size_t offset, std::uint32_t v) {
    setU16(out, offset, v >> 16);
    setU16(out, offset + 2, v & 0xFFFF);
}

// A table tag as the file spells it ("glyf", "OS/2").
constexpr std::uint32_t tag(const char (&t)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(t[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[2])) << 8 |
           static_cast<unsigned char>(t[3]);
}

}  // namespace lumaro::pdf

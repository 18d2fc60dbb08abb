// SPDX-License-Identifier: MIT
#include "core/common/codepage.hpp"

#include <cstdint>

#include "core/common/xml.hpp"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <vector>

namespace kavo {

namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns false and leaves `in` at the offending sequence
    // when it meets one it cannot convert.
    bool run(std::string_view& in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        // A bounded buffer: a large text goes through it in turns (E2BIG).
        std::vector<char> buffer(std::min<std::size_t>(in.size() * 4 + 16, 64 * 1024));
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        while (true) {
            char* dst = buffer.data();
            std::size_t dstLeft = buffer.size();
            const auto rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer.data(), dst);
            if (rc != static_cast<std::size_t>(-1)) {
                in = {};
                return true;
            }
            if (errno == E2BIG)
                continue;
            in = std::string_view(src, srcLeft);
            return false;
        }
    }

  private:
    iconv_t cd_;
};

// Length and code point of the UTF-8 sequence at the start of `s`; length 1 and code point
// -1 for a byte that starts no valid sequence (an overlong form, beyond U+10FFFF). A
// surrogate's three bytes give its code point: it is how a lone surrogate of a widget reaches
// the core, to be refused by name.
std::pair<std::size_t, long> decodeOne(std::string_view s) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    const std::size_t len = b0 < 0x80   ? 1
                            : b0 < 0xC2 ? 0
                            : b0 < 0xE0 ? 2
                            : b0 < 0xF0 ? 3
                            : b0 < 0xF5 ? 4
                                        : 0;
    if (len == 0 || len > s.size())
        return {1, -1};
    long cp = len == 1 ? b0 : b0 & (0x7F >> len);
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80)
            return {1, -1};
        cp = (cp << 6) | (b & 0x3F);
    }
    const long least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[len] || cp > 0x10FFFF)
        return {1, -1};
    return {len, cp};
}

// Opening a converter costs more than converting a form's text: each thread keeps one of
// each direction (run() resets its state before every conversion).
Converter& toUtf8() {
    thread_local Converter conv("UTF-8", "CP1251");
    return conv;
}

Converter& fromUtf8() {
    thread_local Converter conv("CP1251", "UTF-8");
    return conv;
}

// Whether every byte is ASCII, which both encodings write alike.
bool ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string cp1251ToUtf8(std::string_view bytes) {
    if (ascii(bytes))
        return std::string(bytes);
    Converter& conv = toUtf8();
    std::string out;
    out.reserve(bytes.size() * 2);
    while (!conv.run(bytes, out)) {
        // The one byte the code page leaves undefined: keep it as U+0098.
        const auto b = static_cast<unsigned char>(bytes[0]);
        out += static_cast<char>(0xC0 | (b >> 6));
        out += static_cast<char>(0x80 | (b & 0x3F));
        bytes.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> utf8ToCp1251(std::string_view utf8, Unencodable mode) {
    if (ascii(utf8))
        return std::string(utf8);
    Converter& conv = fromUtf8();
    std::string out;
    out.reserve(utf8.size());
    while (!conv.run(utf8, out)) {
        const auto [len, cp] = decodeOne(utf8);
        utf8.remove_prefix(len);
        if (cp == 0x98) {
            out += static_cast<char>(0x98);
            continue;
        }
        // Invalid UTF-8 names no character; a reference to a character that XML or HTML
        // refuses would make the page or the description invalid.
        if (mode == Unencodable::Refuse || cp < 0 || !markupAllows(static_cast<char32_t>(cp)))
            return std::nullopt;
        out += "&#" + std::to_string(cp) + ";";
    }
    return out;
}

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        std::uint32_t cp = 0;
        if ((b0 >> 5) == 6) {
            len = 2;
            cp = b0 & 0x1F;
        } else if ((b0 >> 4) == 14) {
            len = 3;
            cp = b0 & 0x0F;
        } else if ((b0 >> 3) == 30) {
            len = 4;
            cp = b0 & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size())
            return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        static constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

} // namespace kavo

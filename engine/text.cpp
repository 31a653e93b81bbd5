#include "engine/text.h"

namespace kelvara {

namespace {
void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
constexpr char32_t kReplacement = 0xFFFD;
}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                AppendUtf8(out, cp);
                ++i;
            } else {
                AppendUtf8(out, kReplacement);
            }
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        char32_t cp = kReplacement;
        size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else {
            size_t need = (b >= 0xF0 && b <= 0xF4) ? 4 : (b >= 0xE0) ? 3 : (b >= 0xC2 && b < 0xE0) ? 2 : 0;
            if (b >= 0xF5) need = 0;
            if (need && i + need <= text.size()) {
                char32_t v = b & (0xFF >> (need + 1));
                bool ok = true;
                for (size_t k = 1; k < need; ++k) {
                    unsigned char cb = static_cast<unsigned char>(text[i + k]);
                    if ((cb & 0xC0) != 0x80) { ok = false; break; }
                    v = (v << 6) | (cb & 0x3F);
                }
                bool overlong = (need == 3 && v < 0x800) || (need == 4 && v < 0x10000);
                if (ok && !overlong && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                    cp = v;
                    len = need;
                }
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += len;
    }
    return out;
}

std::u16string AsciiToUtf16(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace kelvara

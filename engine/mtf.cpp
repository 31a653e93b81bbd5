#include "engine/mtf.h"

namespace kelvara {

const char kBlockTags[kBlockTypeCount][5] = {"TAPE", "SSET", "VOLB", "DIRB", "FILE",
                                             "CFIL", "SFMB", "ESET", "EOTM", "ESPB"};
const char kStreamTags[kStreamTypeCount][5] = {"STAN", "SPAD", "TFDD", "CSUM", "NTOI", "ADAT",
                                               "NTEA", "NACT", "NTED", "NTPR", "NTQP", "NACL",
                                               "MFID", "OTCP", "SMP2", "CPAD", "TSMP"};

namespace {
template <size_t N>
int LookUp(const uint8_t* tag, const char (&table)[N][5]) {
    signed char first = static_cast<signed char>(tag[0]);
    if (first < 'A' || first > 'Z') return -2;
    for (size_t i = 0; i < N; ++i) {
        if (std::memcmp(tag, table[i], 4) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool IsOneOf(const uint8_t* id, const char* const* list, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (std::memcmp(id, list[i], 4) == 0) return true;
    }
    return false;
}
}  // namespace

int FindBlockType(const uint8_t* tag) { return LookUp(tag, kBlockTags); }
int FindStreamType(const uint8_t* id) { return LookUp(id, kStreamTags); }

bool IsKnownBlockTag(const uint8_t* tag) {
    static const char* const kKnown[] = {"TAPE", "SSET", "EOTM", "SFMB", "ESET",
                                         "CFIL", "DIRB", "VOLB", "FILE"};
    return IsOneOf(tag, kKnown, std::size(kKnown));
}

bool IsValidStreamHeader(const uint8_t* header, bool heuristic) {
    if (!heuristic) {
        static const char* const kValid[] = {"STAN", "SPAD", "SMP2", "CSUM", "CPAD", "NTOI", "NTEA",
                                             "NTED", "NTQU", "NTQP", "NTPR", "NTRP", "NACT", "NACL",
                                             "ADAT", "MFID", "TFDD", "TSMP", "OTCP"};
        return IsOneOf(header, kValid, std::size(kValid));
    }
    for (int i = 0; i < 4; ++i) {
        uint8_t c = header[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return false;
    }
    return !IsKnownBlockTag(header);
}

std::u16string TakeName(const uint8_t* bytes, size_t size) {
    std::u16string name;
    size_t chars = (size + 1) / 2;
    name.reserve(chars);
    for (size_t i = 0; i < chars; ++i) {
        uint8_t lo = bytes[2 * i];
        uint8_t hi = (2 * i + 1 < size) ? bytes[2 * i + 1] : 0;
        char16_t c = static_cast<char16_t>(lo | (hi << 8));
        if (c == 0) break;
        name += c;
    }
    return name;
}

std::u16string ConvertDirectoryName(const uint8_t* bytes, size_t size) {
    size_t chars = (size + 1) / 2;
    std::u16string name;
    name.reserve(chars);
    for (size_t i = 0; i < chars; ++i) {
        uint8_t lo = bytes[2 * i];
        uint8_t hi = (2 * i + 1 < size) ? bytes[2 * i + 1] : 0;
        char16_t c = static_cast<char16_t>(lo | (hi << 8));
        if (c == 0) {
            if (i + 1 == chars) break;
            c = u'\\';
        }
        name += c;
    }
    return name;
}

}  // namespace kelvara

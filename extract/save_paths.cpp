#include "extract/save_paths.h"

#include <sys/stat.h>

#include <cerrno>

#include "engine/text.h"

namespace kelvara {

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Replaces every non-overlapping occurrence, left to right, in one pass.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to) {
    std::u16string out;
    out.reserve(text.size());
    size_t at = 0;
    for (size_t hit; (hit = text.find(from, at)) != std::u16string_view::npos;
         at = hit + from.size()) {
        out.append(text.substr(at, hit - at));
        out.append(to);
    }
    out.append(text.substr(at));
    return out;
}

std::u16string SafeComponent(std::u16string_view component) {
    if (component == u".") return u"_";
    if (component == u"..") return u"__";
    return std::u16string(component);
}

bool NamesSomething(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

SaveDestination MakeSaveDestination(std::string_view typed) {
    size_t first = 0, last = typed.size();
    while (first < last && IsWhiteSpace(typed[first])) ++first;
    while (last > first && IsWhiteSpace(typed[last - 1])) --last;
    SaveDestination d;
    d.shown = std::string(typed.substr(first, last - first));
    d.folder = d.shown;
    if (d.folder.empty() || d.folder.back() != '/') d.folder += '/';
    return d;
}

std::u16string MakeSafeRelativePath(std::u16string_view path) {
    std::u16string s = ReplaceAll(path, u"/", u"_");
    s = ReplaceAll(s, u"\\\\\\", u"\\");
    s = ReplaceAll(s, u"\\\\", u"\\");
    for (char16_t c : std::u16string_view(u":*?<>|\"")) {
        for (char16_t& x : s) {
            if (x == c) x = u'_';
        }
    }
    // A component must never climb out of, or stand for, the folder it is created in.
    for (char16_t& x : s) {
        if (x == u'\0') x = u'_';
    }
    std::u16string out;
    out.reserve(s.size() + 1);
    size_t start = 0;
    for (;;) {
        size_t slash = s.find(u'\\', start);
        std::u16string_view component = std::u16string_view(s).substr(
            start, slash == std::u16string::npos ? slash : slash - start);
        out += SafeComponent(component);
        if (slash == std::u16string::npos) break;
        out += u'\\';
        start = slash + 1;
    }
    if (out.empty() || out.back() == u'\\') out += u'_';
    return out;
}

std::u16string MakeSafeFileName(std::u16string_view name) {
    std::u16string s(name);
    for (char16_t& x : s) {
        if (x == u'/' || x == u'\0') x = u'_';
    }
    if (s.empty()) return u"_";
    return SafeComponent(s);
}

bool ExceedsMaxPath(const std::string& destinationFolder, std::u16string_view safeRelative) {
    return Utf8ToUtf16(destinationFolder).size() + safeRelative.size() > kMaxPath;
}

std::string ToDiskPath(const std::string& destinationFolder, std::u16string_view relative) {
    std::string path = destinationFolder;
    std::string tail = Utf16ToUtf8(relative);
    for (char& c : tail) {
        if (c == '\\') c = '/';
    }
    return path + tail;
}

std::string CreatePathFolders(const std::string& destinationFolder,
                              std::u16string_view safeRelative) {
    for (size_t slash = safeRelative.find(u'\\'); slash != std::u16string_view::npos;
         slash = safeRelative.find(u'\\', slash + 1)) {
        std::string folder = ToDiskPath(destinationFolder, safeRelative.substr(0, slash + 1));
        if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) break;
    }
    return ToDiskPath(destinationFolder, safeRelative);
}

std::string MakeUniquePath(const std::string& destinationFolder, std::u16string_view name,
                           uint64_t* nextNumber) {
    const std::string plain = Utf16ToUtf8(name);
    std::string path = destinationFolder + plain;
    if (!NamesSomething(path)) return path;
    for (uint64_t n = nextNumber ? *nextNumber : 0;; ++n) {
        path = destinationFolder + std::to_string(n) + plain;
        if (!NamesSomething(path)) {
            if (nextNumber) *nextNumber = n + 1;
            return path;
        }
    }
}

}  // namespace kelvara

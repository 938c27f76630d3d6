// Path text: combining, resolving, relating and taking apart paths without touching the disk.
//
// Settings files travel between Windows and other systems, so both '\\' and '/' are read as
// separators; what is written uses the platform's own separator.
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "ZUVO_CommonCoreExtras.h"

namespace {

constexpr char kSeparatorA = static_cast<char>(ZUVO_PATH_SEPARATOR);
constexpr wchar_t kSeparatorW = ZUVO_PATH_SEPARATOR;

template <typename Char>
bool IsSeparator(Char ch) {
    return ch == Char('\\') || ch == Char('/');
}

template <typename Char>
bool IsAsciiLetter(Char ch) {
    return (ch >= Char('a') && ch <= Char('z')) || (ch >= Char('A') && ch <= Char('Z'));
}

template <typename Char>
bool HasDrive(const Char* path) {
    return IsAsciiLetter(path[0]) && path[1] == Char(':');
}

template <typename Char>
Char AsciiLower(Char ch) {
    return ch >= Char('A') && ch <= Char('Z') ? Char(ch - Char('A') + Char('a')) : ch;
}

// Two path characters name the same thing: ASCII letters without regard to case, and either
// separator for the other.
template <typename Char>
bool SamePathChar(Char a, Char b) {
    if (IsSeparator(a) && IsSeparator(b)) {
        return true;
    }
    return AsciiLower(a) == AsciiLower(b);
}

// The root of a path ("C:\", "C:", "\\" of a UNC name, "\") written with the platform's
// separator, and where the pieces after it start.
struct PathRoot {
    std::string text;
    size_t piecesStart;
    size_t fixedPieces;  // pieces ".." may not remove: the server and share of a UNC name
    bool absolute;
};

PathRoot FindRoot(std::string_view path) {
    PathRoot root{"", 0, 0, false};
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
        root.text.assign(path.substr(0, 2));
        root.piecesStart = 2;
        root.absolute = true;
        if (path.size() > 2 && IsSeparator(path[2])) {
            root.text.push_back(kSeparatorA);
            root.piecesStart = 3;
        }
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        root.text.assign(2, kSeparatorA);
        root.piecesStart = 2;
        root.fixedPieces = 2;
        root.absolute = true;
    } else if (!path.empty() && IsSeparator(path[0])) {
        root.text.assign(1, kSeparatorA);
        root.piecesStart = 1;
        root.absolute = true;
    }
    return root;
}

// Resolves "." and ".." and makes the separators uniform. ".." above the root of an absolute
// path is dropped (as the system does); in a relative path it is kept.
std::string NormalisePath(std::string_view path) {
    const PathRoot root = FindRoot(path);
    std::vector<std::string_view> pieces;
    size_t at = root.piecesStart;
    while (at < path.size()) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        const std::string_view piece = path.substr(at, end - at);
        at = end + 1;
        if (piece.empty() || piece == ".") {
            continue;
        }
        if (piece == "..") {
            if (pieces.size() > root.fixedPieces && pieces.back() != "..") {
                pieces.pop_back();
            } else if (!root.absolute) {
                pieces.push_back(piece);
            }
            continue;
        }
        pieces.push_back(piece);
    }
    std::string result = root.text;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            result.push_back(kSeparatorA);
        }
        result.append(pieces[i]);
    }
    // Returning a fresh string rather than assigning "." to the empty one sidesteps a false
    // -Wrestrict of GCC 12 at -O3 (GCC bug 105329), which stops the optimised build.
    if (result.empty()) {
        return std::string(".");
    }
    return result;
}

template <typename Char>
int ExtensionOf(const Char* path, Char* out, int outSize) {
    if (path == nullptr || out == nullptr || outSize <= 0) {
        return 0;
    }
    out[0] = Char(0);
    // The last dot of the last piece: a dot in a folder name ("dir.x\file") does not count.
    const Char* lastDot = nullptr;
    for (const Char* at = path; *at != Char(0); ++at) {
        if (IsSeparator(*at)) {
            lastDot = nullptr;
        } else if (*at == Char('.')) {
            lastDot = at;
        }
    }
    if (lastDot == nullptr) {
        return 0;
    }
    const Char* extension = lastDot + 1;
    size_t length = 0;
    while (extension[length] != Char(0)) {
        ++length;
    }
    if (length == 0 || length + 1 > static_cast<size_t>(outSize)) {
        return 0;
    }
    for (size_t i = 0; i <= length; ++i) {
        out[i] = extension[i];
    }
    return static_cast<int>(length);
}

}  // namespace

extern "C" {

int ZUVO_CALL CombinePathNameW(wchar_t* out, const wchar_t* folder, const wchar_t* name) {
    if (out == nullptr || folder == nullptr || name == nullptr) {
        return 0;
    }
    // An empty folder gives the name alone: a separator in front would make it rooted.
    const size_t folderLength = std::wcslen(folder);
    const bool needSeparator = folderLength > 0 && !IsSeparator(folder[folderLength - 1]);
    if (folderLength > 0) {
        // One separator between the two, whichever side brought it.
        while (IsSeparator(*name)) {
            ++name;
        }
    }
    const size_t nameLength = std::wcslen(name);
    const size_t total = folderLength + (needSeparator ? 1 : 0) + nameLength;
    if (total + 1 > ZUVO_MAX_PATH) {
        return 0;
    }
    // Built aside first: out may be the folder buffer (or even overlap name).
    wchar_t combined[ZUVO_MAX_PATH];
    std::wmemcpy(combined, folder, folderLength);
    size_t length = folderLength;
    if (needSeparator) {
        combined[length++] = kSeparatorW;
    }
    std::wmemcpy(combined + length, name, nameLength);
    length += nameLength;
    combined[length] = L'\0';
    std::wmemcpy(out, combined, length + 1);
    return static_cast<int>(length);
}

int ZUVO_CALL GetFileAbsolutePathA(char* out, const char* path, const char* baseFolder) {
    if (out == nullptr || path == nullptr) {
        return 0;
    }
    try {
        const bool absolute = HasDrive(path) || IsSeparator(path[0]);
        std::string combined;
        if (!absolute && baseFolder != nullptr && baseFolder[0] != '\0') {
            combined = baseFolder;
            combined.push_back(kSeparatorA);
        }
        combined.append(path);
        const std::string result = NormalisePath(combined);
        if (result.size() + 1 > ZUVO_MAX_PATH) {
            return 0;
        }
        std::memcpy(out, result.c_str(), result.size() + 1);
        return static_cast<int>(result.size());
    } catch (...) {
        return 0;
    }
}

const wchar_t* ZUVO_CALL GetFileRelativePathW(const wchar_t* path, const wchar_t* baseFolder) {
    if (path == nullptr || baseFolder == nullptr) {
        return nullptr;
    }
    size_t baseLength = std::wcslen(baseFolder);
    while (baseLength > 0 && IsSeparator(baseFolder[baseLength - 1])) {
        --baseLength;
    }
    if (baseLength == 0) {
        return path;
    }
    for (size_t i = 0; i < baseLength; ++i) {
        if (path[i] == L'\0' || !SamePathChar(path[i], baseFolder[i])) {
            return path;
        }
    }
    const wchar_t* rest = path + baseLength;
    // Only a separator ends the folder: "C:\prog2" is not inside "C:\prog".
    if (*rest != L'\0' && !IsSeparator(*rest)) {
        return path;
    }
    while (IsSeparator(*rest)) {
        ++rest;
    }
    return *rest == L'\0' ? L"." : rest;
}

int ZUVO_CALL GetFileExtNameW(const wchar_t* path, wchar_t* out, int outSize) {
    return ExtensionOf(path, out, outSize);
}

int ZUVO_CALL GetFileExtNameA(const char* path, char* out, int outSize) {
    return ExtensionOf(path, out, outSize);
}

}  // extern "C"

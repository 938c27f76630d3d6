// Splitting text at a set of separator characters.
//
// The answer is a single malloc'ed block: the null-terminated pointer array followed by the
// zero-terminated pieces it points to, so that Internal_DelArray frees everything with one call.
// The text is scanned twice with the same rules: once to size the block, once to fill it.
// An empty text has no pieces, also with keepEmpty: there is nothing to keep.
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "ZUVO_CommonCoreExtras.h"

namespace {

template <typename Char>
bool IsBlank(Char ch) {
    return ch == Char(' ') || ch == Char('\t') || ch == Char('\r') || ch == Char('\n');
}

template <typename Char>
bool IsSeparator(Char ch, const Char* separators) {
    if (separators == nullptr) {
        return false;
    }
    for (const Char* at = separators; *at != Char(0); ++at) {
        if (*at == ch) {
            return true;
        }
    }
    return false;
}

template <typename Char>
size_t TextLength(const Char* text) {
    size_t length = 0;
    while (text[length] != Char(0)) {
        ++length;
    }
    return length;
}

struct SplitRules {
    bool keepEmpty;
    bool trim;
    int maxPieces;  // negative: no limit
};

// Narrows [*begin, *end) to the text without surrounding blanks.
template <typename Char>
void TrimBlanks(const Char** begin, const Char** end) {
    while (*begin < *end && IsBlank(**begin)) {
        ++*begin;
    }
    while (*end > *begin && IsBlank((*end)[-1])) {
        --*end;
    }
}

// Calls visit(begin, length) for every piece in order and answers how many there were. With a
// piece limit the last piece is the rest of the text, starting at the first piece that is kept
// (skipped empty pieces do not count towards the limit).
template <typename Char, typename Visit>
size_t ScanPieces(const Char* text, size_t length, const Char* separators, const SplitRules& rules,
                  Visit visit) {
    if (length == 0 || rules.maxPieces == 0) {
        return 0;
    }
    const Char* const end = text + length;
    const Char* pieceBegin = text;
    size_t pieces = 0;
    for (;;) {
        const Char* pieceEnd = pieceBegin;
        while (pieceEnd < end && !IsSeparator(*pieceEnd, separators)) {
            ++pieceEnd;
        }
        const Char* keptBegin = pieceBegin;
        const Char* keptEnd = pieceEnd;
        if (rules.trim) {
            TrimBlanks(&keptBegin, &keptEnd);
        }
        if (keptBegin < keptEnd || rules.keepEmpty) {
            if (rules.maxPieces > 0 && pieces + 1 == static_cast<size_t>(rules.maxPieces)) {
                pieceEnd = end;
                keptEnd = end;
                if (rules.trim) {
                    TrimBlanks(&keptBegin, &keptEnd);
                }
            }
            visit(keptBegin, static_cast<size_t>(keptEnd - keptBegin));
            ++pieces;
        }
        if (pieceEnd == end) {
            return pieces;
        }
        pieceBegin = pieceEnd + 1;
    }
}

template <typename Char>
int Split(const Char* text, int length, const Char* separators, int keepEmpty, int trim,
          Char*** pieces, int maxPieces) {
    if (pieces == nullptr) {
        return 0;
    }
    *pieces = nullptr;
    if (text == nullptr) {
        return 0;
    }
    const size_t textLength = length < 0 ? TextLength(text) : static_cast<size_t>(length);
    const SplitRules rules{keepEmpty != 0, trim != 0, maxPieces};

    size_t characters = 0;
    const size_t count = ScanPieces(
        text, textLength, separators, rules,
        [&characters](const Char*, size_t pieceLength) { characters += pieceLength + 1; });
    if (count == 0) {
        return 0;
    }
    // The pointer array comes first; its size is a multiple of the pointer size, which keeps
    // the characters after it aligned for any Char.
    const size_t arrayBytes = (count + 1) * sizeof(Char*);
    void* block = std::malloc(arrayBytes + characters * sizeof(Char));
    if (block == nullptr) {
        return 0;
    }
    Char** array = static_cast<Char**>(block);
    Char* chars = reinterpret_cast<Char*>(static_cast<unsigned char*>(block) + arrayBytes);
    size_t next = 0;
    ScanPieces(text, textLength, separators, rules,
               [array, &chars, &next](const Char* begin, size_t pieceLength) {
                   std::memcpy(chars, begin, pieceLength * sizeof(Char));
                   chars[pieceLength] = Char(0);
                   array[next++] = chars;
                   chars += pieceLength + 1;
               });
    array[count] = nullptr;
    *pieces = array;
    return static_cast<int>(count);
}

}  // namespace

extern "C" {

int ZUVO_CALL DevideStringByCharListA(const char* text, int length, const char* separators,
                                      int keepEmpty, int trim, char*** pieces, int maxPieces) {
    return Split(text, length, separators, keepEmpty, trim, pieces, maxPieces);
}

int ZUVO_CALL DevideStringByCharListW(const wchar_t* text, int length, const wchar_t* separators,
                                      int keepEmpty, int trim, wchar_t*** pieces, int maxPieces) {
    return Split(text, length, separators, keepEmpty, trim, pieces, maxPieces);
}

void ZUVO_CALL Internal_DelArrayA(char** pieces) {
    std::free(pieces);
}

void ZUVO_CALL Internal_DelArrayW(wchar_t** pieces) {
    std::free(pieces);
}

}  // extern "C"

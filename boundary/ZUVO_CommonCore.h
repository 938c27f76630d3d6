// ZUVO_Common: the portable half of the utility library.
//
// Everything declared here compiles without <windows.h>; the Windows-only half (serial ports,
// delayed window messages, bitmaps, the single-instance check) is in ZUVO_Common.h, which
// includes this file. Text arguments named "wide" are wchar_t strings (UTF-16 on Windows).
//
// Conventions of the library:
//  - Functions answer non-zero (or a count) on success and 0 (or -1 for a refused add) on
//    failure; no C++ exception leaves the library.
//  - Paths hold at most ZUVO_MAX_PATH characters including the terminating zero. The path
//    separator is '\\' on Windows and '/' elsewhere; both are accepted when reading a path.
//  - Times are the 32-bit millisecond counter of MS_GetTime; compare them only through
//    unsigned differences (now - then), so that the counter may wrap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ZUVO_Export.h"

#define ZUVO_MAX_PATH 260

#if defined(_WIN32)
#define ZUVO_PATH_SEPARATOR L'\\'
#else
#define ZUVO_PATH_SEPARATOR L'/'
#endif

// A rectangle with the layout of the Win32 RECT (left, top, right, bottom; right and bottom
// exclusive). ZUVO_Common.h converts to and from RECT.
struct ZRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// ---------------------------------------------------------------------------------------------
// Strings
// ---------------------------------------------------------------------------------------------

// A growable narrow string with printf formatting. The text is always zero-terminated; an
// empty object answers "" from GetString. Formatting follows the C library's printf rules.
class ZUVO_COMMON_API CBaseStringA {
public:
    CBaseStringA();
    explicit CBaseStringA(const char* text);
    CBaseStringA(const CBaseStringA& other);
    CBaseStringA& operator=(const CBaseStringA& other);
    virtual ~CBaseStringA();

    // Replaces the text with the formatted result; answers the new length.
    int Format(const char* format, ...) ZUVO_PRINTF(2, 3);
    // Appends the formatted result; answers the new length.
    int AppendFormat(const char* format, ...) ZUVO_PRINTF(2, 3);
    void SetString(const char* text, int length = -1);
    void Empty();

    const char* GetString() const;
    int GetLength() const;  // characters (bytes), without the terminating zero

private:
    void Append(const char* text, size_t length);
    void Reserve(size_t capacity);

    char* m_text;
    size_t m_length;
    size_t m_capacity;
};

// A growable wide string with printf formatting.
// Format/AppendFormat with a narrow format follow printf rules and convert the result from the
// ANSI code page (UTF-8 outside Windows). The wide overloads use swprintf rules; pass wide
// string arguments with %ls, which means the same thing on every C runtime.
class ZUVO_COMMON_API CBaseStringW {
public:
    CBaseStringW();
    explicit CBaseStringW(const wchar_t* text);
    CBaseStringW(const CBaseStringW& other);
    CBaseStringW& operator=(const CBaseStringW& other);
    virtual ~CBaseStringW();

    int Format(const char* format, ...) ZUVO_PRINTF(2, 3);
    int Format(const wchar_t* format, ...);
    int AppendFormat(const char* format, ...) ZUVO_PRINTF(2, 3);
    int AppendFormat(const wchar_t* format, ...);
    void SetString(const wchar_t* text, int length = -1);
    void Empty();

    const wchar_t* GetString() const;
    int GetLength() const;  // characters (wchar_t units), without the terminating zero

private:
    void Append(const wchar_t* text, size_t length);
    void Reserve(size_t capacity);

    wchar_t* m_text;
    size_t m_length;
    size_t m_capacity;
};

// ---------------------------------------------------------------------------------------------
// Pointer containers
// ---------------------------------------------------------------------------------------------

// Answers 0 when the entry equals the key (like strcmp), anything else otherwise.
typedef int(ZUVO_CALL* PtrCompareFunc)(const void* entry, const void* key);

// A sequence of pointers owned by the caller. The container never frees what it holds.
// Storage is a ring buffer: adding or removing at either end is O(1), access by index is O(1).
// Not thread-safe: guard it with a CBaseLock when threads share it.
class ZUVO_COMMON_API CPtrCtrl {
public:
    CPtrCtrl();
    CPtrCtrl(const CPtrCtrl&) = delete;
    CPtrCtrl& operator=(const CPtrCtrl&) = delete;
    virtual ~CPtrCtrl();

    // Inserts item before position; -1 (or any position at or past the end) appends and 0
    // inserts in front. Answers the index the item took, or -1 when memory ran out.
    int AddData(void* item, int position = -1);
    // The entry at index, or null when index is negative or past the end.
    void* GetAt(int index) const;
    int GetCount() const;
    // Removes the entry at index and answers it; null when index is out of range.
    void* RemoveAt(int index);
    // Removes every entry (the entries themselves are the caller's).
    void RemoveAll();
    // Index of the first entry for which compare(entry, key) answers 0, or -1.
    int FindData(const void* key, PtrCompareFunc compare) const;
    // Moves count entries starting at from so that they start at position to (counted after
    // the move, clamped to the end). MoveData(i, 1, 0) brings entry i to the front. Answers
    // non-zero when something moved.
    int MoveData(int from, int count, int to);

private:
    bool Grow();
    size_t Physical(size_t index) const { return (m_head + index) % m_capacity; }

    void** m_items;
    size_t m_capacity;
    size_t m_head;
    size_t m_count;
};

// A list of pointers (newest-first lists, point lists).
class ZUVO_COMMON_API CPtrListCtrl : public CPtrCtrl {
public:
    CPtrListCtrl();
    ~CPtrListCtrl() override;
};

// An array of pointers (tables the caller indexes).
class ZUVO_COMMON_API CPtrArrayCtrl : public CPtrCtrl {
public:
    CPtrArrayCtrl();
    ~CPtrArrayCtrl() override;
};

// Packs a point into a pointer-sized list entry: x (or column) in the low 32 bits and y (or
// row) in the high 32 bits, as DrawGradualMultiLine and the area drawing expect.
inline void* ZUVO_PackPoint(int32_t low, int32_t high) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(
        (static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | static_cast<uint32_t>(low)));
}
inline int32_t ZUVO_PackedLow(const void* entry) {
    return static_cast<int32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entry)));
}
inline int32_t ZUVO_PackedHigh(const void* entry) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(entry)) >> 32));
}

// ---------------------------------------------------------------------------------------------
// Locks
// ---------------------------------------------------------------------------------------------

// Mutual exclusion between threads. Recursive: the owning thread may lock again, and must
// unlock as often as it locked.
class ZUVO_COMMON_API CBaseLock {
public:
    CBaseLock();
    CBaseLock(const CBaseLock&) = delete;
    CBaseLock& operator=(const CBaseLock&) = delete;
    virtual ~CBaseLock();

    void Lock();
    void Unlock();

private:
    void* m_impl;
};

// Holds a CBaseLock for its own lifetime.
class ZUVO_COMMON_API CAutoBaseLock {
public:
    explicit CAutoBaseLock(CBaseLock& lock);
    CAutoBaseLock(const CAutoBaseLock&) = delete;
    CAutoBaseLock& operator=(const CAutoBaseLock&) = delete;
    ~CAutoBaseLock();

private:
    CBaseLock& m_lock;
};

// ---------------------------------------------------------------------------------------------
// GIF pictures
// ---------------------------------------------------------------------------------------------

// Decodes a GIF (87a or 89a) into full 32-bit ARGB frames of the logical screen size, with the
// frame delays and disposal applied. A damaged file keeps the frames decoded before the damage.
class ZUVO_COMMON_API CGifDecoder {
public:
    CGifDecoder();
    CGifDecoder(const CGifDecoder&) = delete;
    CGifDecoder& operator=(const CGifDecoder&) = delete;
    virtual ~CGifDecoder();

    // Decodes a whole file held in memory; answers the number of frames (0: not a GIF).
    int LoadFromMemory(const void* data, size_t size);
    // Releases every frame.
    void Unload();

    int GetFrameCount() const;
    int GetWidth() const;
    int GetHeight() const;
    // ARGB pixels of the frame, rows from the top, GetWidth() per row; null past the end.
    const uint32_t* GetFrame(int index) const;
    // Display time of the frame in milliseconds (0 when the file gives none).
    int GetFrameDelay(int index) const;
    // Loop count of the animation (0 = forever), -1 when the file gives none.
    int GetLoopCount() const;

private:
    void* m_impl;
};

// ---------------------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------------------

// Number type codes of DigtalStringToValue and ParseDigitalArrayValue.
enum eDIGITAL_TYPE {
    DIGITAL_TYPE_NONE = 0,
    DIGITAL_TYPE_BOOL8 = 1,    // 1 byte, 0 or 1 from any integer (0 off, anything else on)
    DIGITAL_TYPE_FLAG = 2,     // 4-byte signed flag: the integer as written (0 off)
    DIGITAL_TYPE_INT8 = 3,     // int8_t
    DIGITAL_TYPE_INT16 = 4,    // int16_t
    DIGITAL_TYPE_INT32 = 5,    // int32_t
    DIGITAL_TYPE_UINT32 = 6,   // uint32_t (colours)
    DIGITAL_TYPE_INT64 = 7,    // int64_t
    DIGITAL_TYPE_UINT64 = 8,   // uint64_t
    DIGITAL_TYPE_FLOAT = 9,    // float
    DIGITAL_TYPE_DOUBLE = 10,  // double
    DIGITAL_TYPE_COUNT = 11
};

extern "C" {

// Byte size of each type code, indexed by the code (0 for DIGITAL_TYPE_NONE).
ZUVO_COMMON_API extern const int gDigitalTypeSize[DIGITAL_TYPE_COUNT];

// 32-bit millisecond counter of a monotonic clock. Compare with unsigned differences.
ZUVO_COMMON_API uint32_t ZUVO_CALL MS_GetTime();
// Sleeps for at least the given number of milliseconds.
ZUVO_COMMON_API void ZUVO_CALL HQ_Sleep(uint32_t milliseconds);

// Writes one diagnostic line: OutputDebugStringA on Windows (stderr elsewhere), and, while the
// diagnostics switch is on, the same line with a time stamp appended to "ZUVO_Diagnostics.log"
// beside the program. The switch is on when the environment variable ZUVO_DIAGNOSTICS is "1"
// or a file named "ZUVO_Diagnostics.on" exists beside the program. Level 1 is information,
// level 2 a fault worth looking at. At most 4095 characters of a line are kept.
ZUVO_COMMON_API void ZUVO_CALL DbgOutputA(int level, const char* format, ...) ZUVO_PRINTF(2, 3);

// Parses text (length characters, or up to the terminating zero when length is negative) into
// dest as the type code's type. Accepted: optional blanks around the number; for integer codes
// an optional sign and decimal digits, or "0x"/"0X" and hexadecimal digits; for real codes
// anything strtod reads in full (decimal, exponent, "inf", "nan"). The value must fit the
// type. Answers non-zero on success; on failure dest is left unchanged.
ZUVO_COMMON_API int ZUVO_CALL DigtalStringToValue(const char* text, int length, void* dest,
                                                  int typeCode);

// Splits text at any of the separator characters and parses each piece with
// DigtalStringToValue. keepEmpty 1: an empty (or blank) piece counts as a piece that does not
// parse; 0: empty pieces are skipped. trim is accepted for symmetry with the split functions
// (numbers may carry blanks either way). Parsing stops at the first piece that does not parse.
// The first capacity numbers go to dest (an array of the type; null only counts). Answers how
// many numbers were parsed before the end or the first bad piece, including those beyond
// capacity, so a counting call and a filling call agree.
ZUVO_COMMON_API int ZUVO_CALL ParseDigitalArrayValue(const char* text, int length,
                                                     const char* separators, int keepEmpty,
                                                     int trim, int typeCode, void* dest,
                                                     int capacity);

// Splits text (length characters, or zero-terminated when negative) at every separator
// character. keepEmpty 1 keeps empty pieces (so "a\n\nb" gives three); trim 1 removes blanks
// (space, tab, CR, LF) around each piece. At most maxPieces pieces are made (-1: no limit);
// the last one then holds the rest of the text. *pieces receives an array of
// zero-terminated copies, freed with Internal_DelArrayA/W (null when the answer is 0).
// Answers the number of pieces.
ZUVO_COMMON_API int ZUVO_CALL DevideStringByCharListA(const char* text, int length,
                                                      const char* separators, int keepEmpty,
                                                      int trim, char*** pieces, int maxPieces);
ZUVO_COMMON_API int ZUVO_CALL DevideStringByCharListW(const wchar_t* text, int length,
                                                      const wchar_t* separators, int keepEmpty,
                                                      int trim, wchar_t*** pieces, int maxPieces);
ZUVO_COMMON_API void ZUVO_CALL Internal_DelArrayA(char** pieces);
ZUVO_COMMON_API void ZUVO_CALL Internal_DelArrayW(wchar_t** pieces);

// Non-zero for 0-9, a-f and A-F.
ZUVO_COMMON_API int ZUVO_CALL IsHexCharW(wchar_t ch);

// ----- paths -----

// The folder of the running program (processId 0 or the current process), without a trailing
// separator, into out (ZUVO_MAX_PATH characters). Windows can also answer for another process.
ZUVO_COMMON_API int ZUVO_CALL GetProgramPathW(uint32_t processId, wchar_t* out);
ZUVO_COMMON_API int ZUVO_CALL GetProgramPathA(uint32_t processId, char* out);
// out = folder + separator + name (one separator, whichever the folder ends with). out may be
// the same buffer as folder. Answers 0 when the result would not fit ZUVO_MAX_PATH.
ZUVO_COMMON_API int ZUVO_CALL CombinePathNameW(wchar_t* out, const wchar_t* folder,
                                               const wchar_t* name);
// out = path when it is absolute (drive letter, UNC or rooted), else baseFolder + path; "."
// and ".." pieces are resolved and separators made uniform. Answers 0 when it does not fit.
ZUVO_COMMON_API int ZUVO_CALL GetFileAbsolutePathA(char* out, const char* path,
                                                   const char* baseFolder);
// The text to store for path relative to baseFolder: when path lies inside baseFolder
// (compared without regard to ASCII case), a pointer into path just after the folder and its
// separator ("SaveData" for "C:\prog\SaveData" and "C:\prog"); "." for the folder itself;
// otherwise path itself, which GetFileAbsolutePathA reads back unchanged. Null only when path
// or baseFolder is null. The answer points into path and lives as long as path does.
ZUVO_COMMON_API const wchar_t* ZUVO_CALL GetFileRelativePathW(const wchar_t* path,
                                                              const wchar_t* baseFolder);
// The extension of the last path piece without the dot ("" when there is none) into out of
// outSize characters. Answers the length written, or 0 when there is none or it does not fit.
ZUVO_COMMON_API int ZUVO_CALL GetFileExtNameW(const wchar_t* path, wchar_t* out, int outSize);
ZUVO_COMMON_API int ZUVO_CALL GetFileExtNameA(const char* path, char* out, int outSize);

ZUVO_COMMON_API int ZUVO_CALL IsDirExistW(const wchar_t* path);
ZUVO_COMMON_API int ZUVO_CALL IsFileExistW(const wchar_t* path);
// Creates the folder and every missing parent; non-zero when the folder exists afterwards.
ZUVO_COMMON_API int ZUVO_CALL RecursiveCreateDirectoryW(const wchar_t* path);

// Reads a whole file (shared for reading and writing with other processes). Answers its size
// and sets *buffer to a copy followed by two zero bytes (so text can be used in place), or
// answers 0 with *buffer null when the file cannot be read. Free with ReleaseFileData.
ZUVO_COMMON_API int64_t ZUVO_CALL ReadFileDataW(const wchar_t* path, uint8_t** buffer);
ZUVO_COMMON_API void ZUVO_CALL ReleaseFileData(uint8_t* buffer);

// Writes prefix + date-time stamp + suffix + extension into out (ZUVO_MAX_PATH characters).
// The stamp is local time "YYYYMMDD_hhmmss" (sortable). Flags:
//   withMilliseconds 1: the stamp ends in "_mmm" (milliseconds);
//   unique 1: when this process already answered the same name, "_001", "_002", ... is put
//     after the stamp (before the suffix), so two calls within one second differ;
//   utc 1: the stamp is in UTC instead of local time.
// The extension is used as given ("." included when wanted). Answers the length, 0 on error.
ZUVO_COMMON_API int ZUVO_CALL GetFileNameByDateW(wchar_t* out, const wchar_t* extension,
                                                 const wchar_t* prefix, const wchar_t* suffix,
                                                 int withMilliseconds, int unique, int utc);

// ----- pixel buffers (32-bit ARGB, rows from the top, stride in bytes) -----

// Fills rect with colour. The rectangle is clipped to x >= 0, y >= 0 and x < stride / 4; the
// caller guarantees the buffer holds every row up to rect->bottom.
ZUVO_COMMON_API void ZUVO_CALL DrawColorOnBuffer(uint32_t colour, void* bits, const ZRect* rect,
                                                 int stride);
// Copies the source rectangle to the destination rectangle, pixel for pixel (no scaling):
// the copied size is the smaller of the two widths and heights, after clipping both
// rectangles to x, y >= 0 and x < stride / bytesPerPixel of their buffers. bytesPerPixel is 4
// (or 3 for 24-bit rows).
ZUVO_COMMON_API void ZUVO_CALL DrawBufferOnBuffer(void* destBits, const ZRect* destRect,
                                                  int destStride, const void* srcBits,
                                                  const ZRect* srcRect, int srcStride,
                                                  int bytesPerPixel);

// Draws an anti-aliased polyline of the given line width into an 8-bit intensity buffer of
// width x height bytes (row-major, row 0 at the top). points is a CPtrListCtrl whose entries
// are packed points (ZUVO_PackPoint: x low, y high), joined in list order; one point draws a
// round dot. Each byte touched becomes max(old, coverage x alpha x 255) with coverage the part
// of the pixel inside the round-capped stroke (0..1, from the distance of the pixel centre to
// the nearest segment, with a one-pixel soft edge), and alpha clamped to 0..1. The two other
// shaping values (begin and end fade) are reserved and must be 0.0.
// Writes only inside the polyline's bounding box grown by ceil(lineWidth / 2) + 1 on every
// side, clipped to the buffer, so a caller may clear just that box between lines; the box is
// returned through touched when it is not null (empty when nothing was written).
ZUVO_COMMON_API void ZUVO_CALL DrawGradualMultiLine(int width, int height,
                                                    const CPtrListCtrl* points, double lineWidth,
                                                    double beginFade, double alpha, double endFade,
                                                    uint8_t* buffer, ZRect* touched = nullptr);

// rect = (x, y, x + width, y + height).
ZUVO_COMMON_API void ZUVO_CALL SetRectXY(ZRect* rect, int x, int y, int width, int height);
// out = rect limited to bounds (empty, right = left and bottom = top, when they do not meet).
// Answers non-zero when the result is not empty.
ZUVO_COMMON_API int ZUVO_CALL BoundRect(ZRect* out, const ZRect* rect, const ZRect* bounds);

// Where (a, b) lies against the polygon of count (a, b) vertex pairs (pairs[2k], pairs[2k+1]):
// -1 outside, 0 strictly inside, 1 on the outline (an edge or a vertex). Exact integer
// arithmetic; the polygon may be concave or self-intersecting (even-odd rule).
ZUVO_COMMON_API int ZUVO_CALL IsPointInPolygonSides(int a, int b, const int32_t* pairs, int count);

}  // extern "C"

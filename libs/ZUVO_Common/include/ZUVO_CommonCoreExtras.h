// What our utility library offers beyond the family's interface (boundary/ZUVO_CommonCore.h),
// portable half: for the library itself, its tests and our tools. The program is written
// against the family's interface alone, so that the sensor maker's own library can take the
// place of ours; it must never include this header. The target zuvo_common_extras gives the
// include folder and the definition checked below, and no program target links it.
//
// The Windows half is ZUVO_CommonExtras.h.
#pragma once

#if !defined(ZUVO_COMMON_EXTRAS)
#error \
    "ZUVO_CommonCoreExtras.h belongs to the utility library and its tests: link zuvo_common_extras"
#endif

#include <cstdint>

#include "ZUVO_CommonCore.h"

// ---------------------------------------------------------------------------------------------
// What our implementation does where the family's interface leaves it open
// ---------------------------------------------------------------------------------------------
//
// - Failures answer 0, or -1 for a refused add; Format and AppendFormat answer the new length
//   (-1 when formatting failed, the text then unchanged), and an argument may point into the
//   string being formatted.
// - CPtrCtrl is a ring buffer: adding or removing at either end and access by index are O(1).
//   AddData answers the index the item took; any position at or past the end appends. GetAt
//   and RemoveAt answer null for a negative index too; FindData answers -1 when no entry
//   matches; MoveData(from, count, to) moves count entries so that they start at position to
//   (counted after the move, clamped to the end) and answers non-zero when something moved.
// - CBaseLock is recursive: the owning thread may lock again, and must unlock as often.
// - Paths: the separator is '\\' on Windows and ZUVO_PATH_SEPARATOR ('/') elsewhere; both are
//   accepted when reading a path. GetProgramPathW/A answer the folder without a trailing
//   separator. CombinePathNameW puts exactly one separator between folder and name, accepts
//   out == folder and answers 0 when the result does not fit. GetFileAbsolutePathA resolves
//   "." and ".." and keeps an absolute path (drive letter, UNC or rooted). GetFileRelativePathW
//   compares without regard to ASCII case and answers a pointer into path: the part after the
//   folder, "." for the folder itself, or path itself when it lies outside. GetFileExtNameW/A
//   answer the length written ("" and 0 when there is none or it does not fit).
// - ReadFileDataW shares the file for reading and writing with other processes and puts two
//   zero bytes after the data. RecursiveCreateDirectoryW answers non-zero when the folder
//   exists afterwards.
// - GetFileNameByDateW: the stamp is local time "YYYYMMDD_hhmmss"; flag1 adds "_mmm"
//   (milliseconds); flag2 numbers a name this process already answered ("_001", "_002", ...
//   after the stamp); flag3 takes UTC. Answers the length, 0 on error.
// - DigtalStringToValue accepts blanks around the number; for integer codes an optional sign
//   and decimal digits, or "0x"/"0X" and hexadecimal digits; for real codes anything strtod
//   reads in full. The value must fit the type. A negative length reads up to the zero.
// - ParseDigitalArrayValue: keepEmpty 1 makes an empty piece one that does not parse, 0 skips
//   it; trim is accepted for symmetry (numbers may carry blanks either way). Parsing stops at
//   the first piece that does not parse; the answer also counts numbers beyond capacity.
// - DevideStringByCharListA/W: keepEmpty 1 keeps empty pieces, trim 1 removes blanks (space,
//   tab, CR, LF) around each piece; at most maxPieces pieces (-1: no limit), the last then
//   holding the rest. *pieces is null when the answer is 0. A negative length reads up to the
//   zero.
// - DbgOutputA writes to OutputDebugStringA on Windows (stderr elsewhere) and, while the
//   diagnostics switch is on, appends the line with a time stamp to "ZUVO_Diagnostics.log"
//   beside the program. The switch is on when the environment variable ZUVO_DIAGNOSTICS is "1"
//   or a file "ZUVO_Diagnostics.on" exists beside the program. Lines are cut at 4095
//   characters.
// - DrawColorOnBuffer clips the rectangle to x >= 0, y >= 0 and x < stride / 4 (the caller
//   guarantees the rows); DrawBufferOnBuffer copies the smaller of the two sizes after clipping
//   both rectangles the same way, with 4 or 3 bytes per pixel. BoundRect answers non-zero when
//   the result is not empty (an empty result has right = left and bottom = top).
// - IsPointInPolygonSides answers -1 outside, 0 strictly inside and 1 on the outline, in exact
//   integer arithmetic, with the even-odd rule for self-intersecting polygons.
// - DrawGradualMultiLine: see DrawGradualMultiLineBox below.

#if defined(_WIN32)
#define ZUVO_PATH_SEPARATOR L'\\'
#else
#define ZUVO_PATH_SEPARATOR L'/'
#endif

// Number type codes that our DigtalStringToValue and ParseDigitalArrayValue take besides the
// family's (eDIGITAL_TYPE); gDigitalTypeSize has DIGITAL_TYPE_COUNT entries.
enum eDIGITAL_TYPE_EXTRA {
    DIGITAL_TYPE_NONE = 0,
    DIGITAL_TYPE_BOOL8 = 1,   // 1 byte, 0 or 1 from any integer (0 off, anything else on)
    DIGITAL_TYPE_INT8 = 3,    // int8_t
    DIGITAL_TYPE_INT16 = 4,   // int16_t
    DIGITAL_TYPE_INT64 = 7,   // int64_t
    DIGITAL_TYPE_UINT64 = 8,  // uint64_t
    DIGITAL_TYPE_FLOAT = 9,   // float
    DIGITAL_TYPE_COUNT = 11
};

// A point as a pointer-sized list entry of DrawGradualMultiLine: x (or column) in the low 32
// bits and y (or row) in the high 32 bits.
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

// The narrow string with what our library adds: a start text, copies, setting and emptying.
class ZUVO_COMMON_API CBaseStringAEx : public CBaseStringA {
public:
    CBaseStringAEx();
    explicit CBaseStringAEx(const char* text);
    CBaseStringAEx(const CBaseStringAEx& other);
    CBaseStringAEx& operator=(const CBaseStringAEx& other);
    ~CBaseStringAEx() override;

    // Replaces the text with length characters of text (-1: up to its zero; null: empty).
    void SetString(const char* text, int length);
    void Empty();
};

// The wide string with what our library adds: the same as CBaseStringAEx, and formatting with
// wide formats (swprintf rules; pass wide string arguments with %ls, which means the same thing
// on every C runtime).
class ZUVO_COMMON_API CBaseStringWEx : public CBaseStringW {
public:
    CBaseStringWEx();
    explicit CBaseStringWEx(const wchar_t* text);
    CBaseStringWEx(const CBaseStringWEx& other);
    CBaseStringWEx& operator=(const CBaseStringWEx& other);
    ~CBaseStringWEx() override;

    using CBaseStringW::AppendFormat;
    using CBaseStringW::Format;
    int Format(const wchar_t* format, ...);
    int AppendFormat(const wchar_t* format, ...);
    void SetString(const wchar_t* text, int length);
    void Empty();
};

// The GIF decoder with its decoding: a GIF (87a or 89a) into full 32-bit ARGB frames of the
// logical screen size, with the frame delays and disposal applied. A damaged file keeps the
// frames decoded before the damage.
class ZUVO_COMMON_API CGifDecoderEx : public CGifDecoder {
public:
    CGifDecoderEx();
    ~CGifDecoderEx() override;

    // Decodes a whole file held in memory; answers the number of frames (0: not a GIF).
    int LoadFromMemory(const void* data, size_t size);

    int GetFrameCount() const;
    int GetWidth() const;
    int GetHeight() const;
    // ARGB pixels of the frame, rows from the top, GetWidth() per row; null past the end.
    const uint32_t* GetFrame(int index) const;
    // Display time of the frame in milliseconds (0 when the file gives none).
    int GetFrameDelay(int index) const;
    // Loop count of the animation (0 = forever), -1 when the file gives none.
    int GetLoopCount() const;
};

extern "C" {

// DrawGradualMultiLine as our library draws it, and the box it wrote: an anti-aliased polyline
// whose entries are joined in list order; one point draws a round dot. Each byte touched
// becomes max(old, coverage x alpha x 255) with coverage the part of the pixel inside the
// round-capped stroke (0..1, from the distance of the pixel centre to the nearest segment, with
// a one-pixel soft edge), and alpha clamped to 0..1; beginFade and endFade have no effect.
// It writes only inside the polyline's bounding box grown by ceil(lineWidth / 2) + 1 on every
// side, clipped to the buffer; that box is returned through touched when it is not null (empty
// when nothing was written). DrawGradualMultiLine is this function without the box.
ZUVO_COMMON_API void ZUVO_CALL DrawGradualMultiLineBox(int width, int height,
                                                       const CPtrListCtrl* points, double lineWidth,
                                                       double beginFade, double alpha,
                                                       double endFade, uint8_t* buffer,
                                                       ZRect* touched);

}  // extern "C"

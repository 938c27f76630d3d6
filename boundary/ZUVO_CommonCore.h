// ZUVO_Common: the portable half of the utility library, as the system uses it.
//
// This header declares what the system may rely on and nothing more: a build of the library
// may offer further members and functions, but the system is written against this list so that
// any implementation of the family's utility library can take the place of ours. Everything
// here compiles without <windows.h>; the Windows half (serial ports, delayed window messages,
// bitmaps, the single-instance check) is in ZUVO_Common.h, which includes this file.
//
// What the system relies on throughout:
//  - Functions answer non-zero (or a count) on success; no C++ exception leaves the library.
//  - Paths hold at most ZUVO_MAX_PATH characters including the terminating zero.
//  - Times are the 32-bit millisecond counter of MS_GetTime; compare them only through
//    unsigned differences (now - then), so that the counter may wrap.
//
// The private and protected data members of the classes are the storage the library's own
// code uses. The system never touches them, but they stay declared as they are: a class's
// size and the order of its virtual functions are part of the binary interface between the
// program, which allocates the objects, and the library, which constructs them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ZUVO_Export.h"

#define ZUVO_MAX_PATH 260

// A rectangle with the layout of the Win32 RECT (left, top, right, bottom; right and bottom
// exclusive): the library's rectangle arguments are RECTs.
struct ZRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// ---------------------------------------------------------------------------------------------
// Strings
// ---------------------------------------------------------------------------------------------

// A narrow string with printf formatting. Constructed empty; destruction releases the text.
// Copying is not offered (the text buffer would be shared).
class ZUVO_COMMON_API CBaseStringA {
public:
    CBaseStringA();
    CBaseStringA(const CBaseStringA&) = delete;
    CBaseStringA& operator=(const CBaseStringA&) = delete;
    virtual ~CBaseStringA();

    // Replaces the text with the formatted result, with printf rules.
    int Format(const char* format, ...) ZUVO_PRINTF(2, 3);
    // Appends the formatted result, with printf rules.
    int AppendFormat(const char* format, ...) ZUVO_PRINTF(2, 3);

    const char* GetString() const;
    int GetLength() const;  // characters (bytes), without the terminating zero

protected:
    // Kept for the class's size (see the top of this file).
    char* m_text;
    size_t m_length;
    size_t m_capacity;
};

// A wide string with printf formatting: it takes a narrow format, and the formatted text is
// converted from the ANSI code page. Constructed empty; destruction releases the text.
class ZUVO_COMMON_API CBaseStringW {
public:
    CBaseStringW();
    CBaseStringW(const CBaseStringW&) = delete;
    CBaseStringW& operator=(const CBaseStringW&) = delete;
    virtual ~CBaseStringW();

    int Format(const char* format, ...) ZUVO_PRINTF(2, 3);
    int AppendFormat(const char* format, ...) ZUVO_PRINTF(2, 3);

    const wchar_t* GetString() const;
    int GetLength() const;  // characters (wchar_t units), without the terminating zero

protected:
    // Kept for the class's size (see the top of this file).
    wchar_t* m_text;
    size_t m_length;
    size_t m_capacity;
};

// ---------------------------------------------------------------------------------------------
// Pointer containers
// ---------------------------------------------------------------------------------------------

// The comparison callback of FindData: answers 0 when the entry equals the key.
typedef int(ZUVO_CALL* PtrCompareFunc)(const void* entry, const void* key);

// A sequence of pointers owned by the caller. The container never frees what it holds.
class ZUVO_COMMON_API CPtrCtrl {
public:
    CPtrCtrl();
    CPtrCtrl(const CPtrCtrl&) = delete;
    CPtrCtrl& operator=(const CPtrCtrl&) = delete;
    virtual ~CPtrCtrl();

    // Position -1 appends the item, 0 inserts it in front. Answers -1 when it was refused.
    int AddData(void* item, int position);
    // The entry at index; null past the end.
    void* GetAt(int index) const;
    int GetCount() const;
    // Removes the entry at index and answers it.
    void* RemoveAt(int index);
    // Removes every entry (the entries themselves are the caller's).
    void RemoveAll();
    // Index of the first entry that compare reports equal to the key.
    int FindData(const void* key, PtrCompareFunc compare) const;
    // MoveData(index, 1, 0) moves the entry at index to the front.
    int MoveData(int from, int count, int to);

private:
    // Kept for the class's size (see the top of this file).
    void** m_items;
    size_t m_capacity;
    size_t m_head;
    size_t m_count;
};

// A list of pointers.
class ZUVO_COMMON_API CPtrListCtrl : public CPtrCtrl {
public:
    CPtrListCtrl();
    ~CPtrListCtrl() override;
};

// An array of pointers.
class ZUVO_COMMON_API CPtrArrayCtrl : public CPtrCtrl {
public:
    CPtrArrayCtrl();
    ~CPtrArrayCtrl() override;
};

// ---------------------------------------------------------------------------------------------
// Locks
// ---------------------------------------------------------------------------------------------

// Mutual exclusion between threads.
class ZUVO_COMMON_API CBaseLock {
public:
    CBaseLock();
    CBaseLock(const CBaseLock&) = delete;
    CBaseLock& operator=(const CBaseLock&) = delete;
    virtual ~CBaseLock();

    void Lock();
    void Unlock();

private:
    void* m_impl;  // kept for the class's size
};

// Holds a CBaseLock for its own lifetime.
class ZUVO_COMMON_API CAutoBaseLock {
public:
    explicit CAutoBaseLock(CBaseLock& lock);
    CAutoBaseLock(const CAutoBaseLock&) = delete;
    CAutoBaseLock& operator=(const CAutoBaseLock&) = delete;
    ~CAutoBaseLock();

private:
    CBaseLock& m_lock;  // kept for the class's size
};

// ---------------------------------------------------------------------------------------------
// GIF pictures
// ---------------------------------------------------------------------------------------------

// A GIF decoder. The system constructs one, calls Unload when the picture it belongs to is
// replaced, and destroys it.
class ZUVO_COMMON_API CGifDecoder {
public:
    CGifDecoder();
    CGifDecoder(const CGifDecoder&) = delete;
    CGifDecoder& operator=(const CGifDecoder&) = delete;
    virtual ~CGifDecoder();

    // Releases the decoded picture.
    void Unload();

protected:
    void* m_impl;  // kept for the class's size
};

// ---------------------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------------------

// Number type codes of DigtalStringToValue and ParseDigitalArrayValue.
enum eDIGITAL_TYPE {
    DIGITAL_TYPE_FLAG = 2,     // 4-byte signed flag (0 off)
    DIGITAL_TYPE_INT32 = 5,    // int32_t
    DIGITAL_TYPE_UINT32 = 6,   // uint32_t (colours)
    DIGITAL_TYPE_DOUBLE = 10,  // double
};

extern "C" {

// Byte size of each type code, indexed by the code.
ZUVO_COMMON_API extern const int gDigitalTypeSize[];

// 32-bit millisecond counter. Compare with unsigned differences.
ZUVO_COMMON_API uint32_t ZUVO_CALL MS_GetTime();
// Sleeps for the given number of milliseconds.
ZUVO_COMMON_API void ZUVO_CALL HQ_Sleep(uint32_t milliseconds);

// Writes one diagnostic line with printf rules. Level 1 is information, level 2 a fault worth
// looking at.
ZUVO_COMMON_API void ZUVO_CALL DbgOutputA(int level, const char* format, ...) ZUVO_PRINTF(2, 3);

// Parses text (length characters) into dest as the type code's type. Answers non-zero on
// success; when the text does not parse, dest is left unchanged.
ZUVO_COMMON_API int ZUVO_CALL DigtalStringToValue(const char* text, int length, void* dest,
                                                  int typeCode);

// Parses the numbers of text (-1: up to its terminating zero) between the separator
// characters; the system passes 1 and 0 for the two flags. The first capacity numbers go to
// dest (an array of the type; null only counts). Answers the count parsed.
ZUVO_COMMON_API int ZUVO_CALL ParseDigitalArrayValue(const char* text, int length,
                                                     const char* separators, int keepEmpty,
                                                     int trim, int typeCode, void* dest,
                                                     int capacity);

// Splits text (length characters) at every separator character; the system passes 1 and 0 for
// the two flags and -1 for the piece limit. *pieces receives an array of zero-terminated
// copies, freed with Internal_DelArrayA / Internal_DelArrayW. Answers the number of pieces.
ZUVO_COMMON_API int ZUVO_CALL DevideStringByCharListA(const char* text, int length,
                                                      const char* separators, int keepEmpty,
                                                      int trim, char*** pieces, int maxPieces);
ZUVO_COMMON_API int ZUVO_CALL DevideStringByCharListW(const wchar_t* text, int length,
                                                      const wchar_t* separators, int keepEmpty,
                                                      int trim, wchar_t*** pieces, int maxPieces);
ZUVO_COMMON_API void ZUVO_CALL Internal_DelArrayA(char** pieces);
ZUVO_COMMON_API void ZUVO_CALL Internal_DelArrayW(wchar_t** pieces);

// Non-zero for a hexadecimal digit.
ZUVO_COMMON_API int ZUVO_CALL IsHexCharW(wchar_t ch);

// ----- paths -----

// The running program's folder (processId 0: this process) into out (ZUVO_MAX_PATH
// characters).
ZUVO_COMMON_API int ZUVO_CALL GetProgramPathW(uint32_t processId, wchar_t* out);
ZUVO_COMMON_API int ZUVO_CALL GetProgramPathA(uint32_t processId, char* out);
// out = the folder and the name joined as one path.
ZUVO_COMMON_API int ZUVO_CALL CombinePathNameW(wchar_t* out, const wchar_t* folder,
                                               const wchar_t* name);
// out = path made absolute against baseFolder.
ZUVO_COMMON_API int ZUVO_CALL GetFileAbsolutePathA(char* out, const char* path,
                                                   const char* baseFolder);
// The text of path relative to baseFolder, or null.
ZUVO_COMMON_API const wchar_t* ZUVO_CALL GetFileRelativePathW(const wchar_t* path,
                                                              const wchar_t* baseFolder);
// The extension of path without the dot into out of outSize characters.
ZUVO_COMMON_API int ZUVO_CALL GetFileExtNameW(const wchar_t* path, wchar_t* out, int outSize);
ZUVO_COMMON_API int ZUVO_CALL GetFileExtNameA(const char* path, char* out, int outSize);

// Non-zero when the folder or the file is present.
ZUVO_COMMON_API int ZUVO_CALL IsDirExistW(const wchar_t* path);
ZUVO_COMMON_API int ZUVO_CALL IsFileExistW(const wchar_t* path);
// Creates the folder and its missing parents.
ZUVO_COMMON_API int ZUVO_CALL RecursiveCreateDirectoryW(const wchar_t* path);

// Reads a whole file: answers its size and sets *buffer to its bytes, or leaves *buffer null
// when the file cannot be read. Free the bytes with ReleaseFileData.
ZUVO_COMMON_API int64_t ZUVO_CALL ReadFileDataW(const wchar_t* path, uint8_t** buffer);
ZUVO_COMMON_API void ZUVO_CALL ReleaseFileData(uint8_t* buffer);

// Writes prefix, the current date and time, suffix and extension as one name into out
// (ZUVO_MAX_PATH characters). The system passes the flags (0, 1, 0) for result logs and
// (0, 0, 0) for temporary pictures.
ZUVO_COMMON_API int ZUVO_CALL GetFileNameByDateW(wchar_t* out, const wchar_t* extension,
                                                 const wchar_t* prefix, const wchar_t* suffix,
                                                 int flag1, int flag2, int flag3);

// ----- pixel buffers (32-bit ARGB, rows from the top, stride in bytes) -----

// Fills rect with colour.
ZUVO_COMMON_API void ZUVO_CALL DrawColorOnBuffer(uint32_t colour, void* bits, const ZRect* rect,
                                                 int stride);
// Copies the source rectangle to the destination rectangle; the system passes 4 bytes per
// pixel.
ZUVO_COMMON_API void ZUVO_CALL DrawBufferOnBuffer(void* destBits, const ZRect* destRect,
                                                  int destStride, const void* srcBits,
                                                  const ZRect* srcRect, int srcStride,
                                                  int bytesPerPixel);

// Draws the polyline through the points of the list, in list order, with the given line width
// into an 8-bit intensity buffer of width x height bytes (row-major, row 0 at the top): the
// line's intensity, 0 to 255, on the line and 0 off it, in a buffer the caller cleared. An
// entry of the list is a packed point, x in its low and y in its high 32 bits. The system
// passes 0.0, the line's fade (0..1) and 0.0 as the three shaping values.
ZUVO_COMMON_API void ZUVO_CALL DrawGradualMultiLine(int width, int height,
                                                    const CPtrListCtrl* points, double lineWidth,
                                                    double beginFade, double alpha, double endFade,
                                                    uint8_t* buffer);

// rect = (x, y, x + width, y + height).
ZUVO_COMMON_API void ZUVO_CALL SetRectXY(ZRect* rect, int x, int y, int width, int height);
// out = rect limited to bounds.
ZUVO_COMMON_API int ZUVO_CALL BoundRect(ZRect* out, const ZRect* rect, const ZRect* bounds);

// Where (a, b) lies against the polygon of count (a, b) vertex pairs (pairs[2k], pairs[2k+1]):
// not negative inside or on the outline, negative outside.
ZUVO_COMMON_API int ZUVO_CALL IsPointInPolygonSides(int a, int b, const int32_t* pairs, int count);

}  // extern "C"

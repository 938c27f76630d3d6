// Picture helpers over GDI+, exported by ZUVO_MTT.exe under these plain names (C linkage, no
// decoration) for other programs.
//
// Before calling any of them, start GDI+ in the calling process: Gdiplus_Init, or the
// program's own GdiplusStartup. They never start it themselves.
//
// Using them from another program: load the program file as a library and take the
// functions with GetProcAddress. Loading an .exe that way maps it without running any of its
// start-up code, and the functions need none: they keep no state and rely on no static
// initialisation. Wine (8.0) maps such an .exe without relocating it or binding its imports
// (its loader does both only for DLL images), so the caller does that first:
// zuvo::imaging::LoadProgramModule (imaging/ProgramModule.h) loads it ready to call.
//
// Ownership: every Gdiplus::Bitmap answered is new and belongs to the caller, who releases
// it with Gdiplus_DeleteBitmap; answered HBITMAP and HRGN handles are released with
// DeleteObject. Objects passed in stay the caller's and are only changed where stated.
//
// Failures: a function that cannot do its work answers nothing (null) or 0; missing
// arguments (null pointers, sizes below 1) are such failures, never a crash. A failed GDI+
// call is also recorded as the last status of the bitmap or graphics object it was made on
// (Image::GetLastStatus, Graphics::GetLastStatus); reading that status resets it to Ok.
//
// Threads: no state of their own; one bitmap or graphics object must not be used from two
// threads at once (GDI+ objects are not thread-safe).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include "ZUVO_Export.h"
#include "imaging/ImageLayout.h"
#include "imaging/PictureTypes.h"

#if defined(ZUVO_BUILDING_IMAGING)
#define ZUVO_IMAGING_API ZUVO_DLL_EXPORT
#else
#define ZUVO_IMAGING_API
#endif

// What Gdiplus_Init hands out and Gdiplus_DeInit takes back.
struct GdiplusStartupRecord {
    ULONG_PTR token;  // 0 when GdiplusStartup failed
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartupOutput output;
};

extern "C" {

// ----- life cycle and status -----

// Starts GDI+ (version 1). Answers a new record, also when the start failed (token 0); null
// only when memory runs out.
ZUVO_IMAGING_API GdiplusStartupRecord* ZUVO_CALL Gdiplus_Init() noexcept;
// Shuts GDI+ down when the record's start succeeded, and frees the record.
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_DeInit(GdiplusStartupRecord* record) noexcept;
// 1 when the bitmap exists and its last status is Ok; resets the last status.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_BitmapOK(Gdiplus::Bitmap* bitmap) noexcept;
// The bitmap's last status (reset afterwards); GenericError for no bitmap.
ZUVO_IMAGING_API Gdiplus::Status ZUVO_CALL
Gdiplus_BitmapLastError(Gdiplus::Bitmap* bitmap) noexcept;
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_DeleteBitmap(Gdiplus::Bitmap* bitmap) noexcept;

// ----- picture types and encoders -----

// The CLSID of the first installed encoder with the MIME type (compared without regard to
// case); 1 when found.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_GetEncoderClsidByFormatTypeW(const wchar_t* mimeType,
                                                                    CLSID* clsid) noexcept;
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_GetEncoderClsidByFormatTypeA(const char* mimeType,
                                                                    CLSID* clsid) noexcept;
// The encoder of a PictureType (values outside 1 .. 4 mean BMP).
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_GetEncoderClsidByPictureType(int pictureType,
                                                                    CLSID* clsid) noexcept;
// The PictureType of a file name's extension: bmp, jpeg/jpg, gif, tiff; PNG for any other.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_GetPictureTypeByFileNameW(const wchar_t* path) noexcept;
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_GetPictureTypeByFileNameA(const char* path) noexcept;

// ----- creating and loading -----

// An empty bitmap.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL
Gdiplus_CreateBitmap(int width, int height, Gdiplus::PixelFormat format) noexcept;
// A 32-bit ARGB bitmap filled with the colour.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_CreateColorBmp(int width, int height,
                                                                   Gdiplus::ARGB colour) noexcept;
// A bitmap over the caller's pixel memory, which is not copied and must outlive the bitmap.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromImageBits(
    void* bits, int width, int height, int stride, Gdiplus::PixelFormat format) noexcept;
// Decodes a whole picture file held in memory; the bytes may be freed right afterwards.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromData(const void* data,
                                                                       DWORD size) noexcept;
// Decodes a picture resource of the module (null: the process's program) found by type and
// id (low 16 bits), in the interface language (zuvo::CurrentUiLanguage, falling back to
// en-US). The narrow type may also be an integer type (MAKEINTRESOURCEA).
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromResourceW(HMODULE module,
                                                                            const wchar_t* type,
                                                                            int id) noexcept;
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromResourceA(HMODULE module,
                                                                            const char* type,
                                                                            int id) noexcept;
// Reads a picture file; nothing when it does not exist.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL
Gdiplus_LoadBitmapFromFileW(const wchar_t* path) noexcept;
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromFileA(const char* path) noexcept;

// ----- saving and converting -----

// Saves in the type the path's extension names; 1 on success.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_SaveBitmapToFileW(Gdiplus::Bitmap* bitmap,
                                                         const wchar_t* path) noexcept;
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_SaveBitmapToFileA(Gdiplus::Bitmap* bitmap,
                                                         const char* path) noexcept;
// Writes the source picture as a new file of the PictureType, named "Temp_" + date and time
// + extension (in the working folder), and puts that name into newName (MAX_PATH
// characters). 1 on success.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_ConvertImageFormatW(const wchar_t* sourcePath,
                                                           wchar_t* newName,
                                                           int pictureType) noexcept;
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_ConvertImageFormatA(const char* sourcePath, char* newName,
                                                           int pictureType) noexcept;

// ----- new bitmaps from a bitmap (the source stays unchanged) -----

// Same size and pixel format.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_CopyBitmap(Gdiplus::Bitmap* source) noexcept;
// Same size in another pixel format.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL
Gdiplus_ModifyBitmapFormat(Gdiplus::Bitmap* source, Gdiplus::PixelFormat format) noexcept;
// 32-bit ARGB of width x height with the whole source stretched into it.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_StretchBitmap(Gdiplus::Bitmap* source,
                                                                  int width, int height) noexcept;
// Resized in a ResizeMode; outside the picture the background colour shows. Fit, fill, by
// width and by height keep the aspect ratio, so the result takes the scaled size.
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_ResizeBitmap(Gdiplus::Bitmap* source, int width,
                                                                 int height, int mode,
                                                                 Gdiplus::ARGB background) noexcept;
// Laid into width x height in a DisposeMode (fit answers the fitted size).
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_DisposeBitmapByMode(
    Gdiplus::Bitmap* source, int width, int height, int mode, Gdiplus::ARGB background) noexcept;
// The source region (x, y, width, height) scaled into a 32-bit ARGB bitmap of outputSize
// (null: width x height).
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_GetBitmapFromBitmap(
    Gdiplus::Bitmap* source, int x, int y, int width, int height, const SIZE* outputSize) noexcept;
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_GetBitmapFromBitmapByRect(
    Gdiplus::Bitmap* source, const RECT* rect, const SIZE* outputSize) noexcept;
// Grey copy in the source's pixel format (alpha kept; indexed pictures get a grey palette).
ZUVO_IMAGING_API Gdiplus::Bitmap* ZUVO_CALL Gdiplus_Gray(Gdiplus::Bitmap* source) noexcept;

// ----- drawing on a graphics surface -----

// Draws the bitmap's source rectangle (null: all of it) into destination in a DrawMode.
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_DrawBitmap(Gdiplus::Graphics* graphics,
                                                   const RECT* destination, Gdiplus::Bitmap* bitmap,
                                                   const RECT* source, int mode) noexcept;
// Draws with every pixel's alpha multiplied by (alpha & 0xFF) / 256: stretched into the
// destination, or (stretch 0) the source's top-left part unscaled and centred.
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_DrawAlphaBitmap(Gdiplus::Graphics* graphics,
                                                        const RECT* destination,
                                                        Gdiplus::Bitmap* bitmap, const RECT* source,
                                                        int stretch, int alpha) noexcept;
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_FillRect(Gdiplus::Graphics* graphics, const RECT* rect,
                                                 const Gdiplus::Brush* brush) noexcept;
// Fills the polygon (alternate fill mode).
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_FillPolygon(Gdiplus::Graphics* graphics,
                                                    const Gdiplus::Point* points, int count,
                                                    const Gdiplus::Brush* brush) noexcept;
// Outlines the rectangle with a pen of the colour and width, inside right and bottom by the
// pen width.
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_DrawRect(Gdiplus::Graphics* graphics, const RECT* rect,
                                                 Gdiplus::ARGB colour, float penWidth) noexcept;
// Draws the text into the box, anti-aliased (the surface keeps that text rendering hint).
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_DrawText(Gdiplus::Graphics* graphics, const wchar_t* text,
                                                 const Gdiplus::RectF* box,
                                                 const Gdiplus::Color* colour,
                                                 const Gdiplus::Font* font,
                                                 const Gdiplus::StringFormat* format) noexcept;
// The largest point size from startSize down at which the text, measured on the surface,
// fits maxSize; 0 when not even size 1 fits. An unknown family means sans-serif.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_CalcFontSize(Gdiplus::Graphics* graphics,
                                                    const wchar_t* text, SIZE maxSize,
                                                    const wchar_t* familyName, int startSize,
                                                    int style,
                                                    const Gdiplus::StringFormat* format) noexcept;
// 1 for the right-to-left languages Arabic (0x0401) and Hebrew (0x040D), else 0.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_GetStringFormat(DWORD languageId) noexcept;

// ----- pixels and regions -----

// A DIB section of the bitmap's size drawn over the background colour (alpha ignored),
// 24-bit for 24-bit bitmaps, else 32-bit; row 0 is the top row when topDown is non-zero.
ZUVO_IMAGING_API HBITMAP ZUVO_CALL Gdiplus_GetHBitmap(Gdiplus::Bitmap* bitmap,
                                                      Gdiplus::ARGB background,
                                                      int topDown) noexcept;
// Copies the rectangle (limited to the bitmap) in the pixel format into destination, row by
// row ((width x bits per pixel + 31) / 32 x 4 bytes each) at destinationStride. 1 on success.
ZUVO_IMAGING_API int ZUVO_CALL Gdiplus_GetBitmapBuffer(Gdiplus::Bitmap* bitmap, const RECT* rect,
                                                       Gdiplus::PixelFormat format,
                                                       void* destination,
                                                       int destinationStride) noexcept;
// In the rectangle (null: all; limited to the bitmap), pixels whose alpha lies in
// lowest .. highest get the alpha (low 8 bits).
ZUVO_IMAGING_API void ZUVO_CALL Gdiplus_SetBitmapAlpha(Gdiplus::Bitmap* bitmap, const RECT* rect,
                                                       int alpha, int lowest, int highest) noexcept;
// The region of all pixels whose alpha is at least threshold (empty when there are none).
ZUVO_IMAGING_API HRGN ZUVO_CALL Gdiplus_CreateRgnFromBitmap(Gdiplus::Bitmap* bitmap,
                                                            int threshold) noexcept;

}  // extern "C"

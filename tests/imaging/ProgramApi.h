// The picture helpers as the tests call them: taken with GetProcAddress from ZUVO_MTT.exe in
// the program folder, the way another program uses them. program::Gdiplus_X has the type of
// the declared ::Gdiplus_X and is never null once Load succeeded.
#pragma once

#include <string>
#include <vector>

#include "imaging/GdiplusHelpers.h"

#define ZUVO_PICTURE_HELPERS(X)             \
    X(Gdiplus_Init)                         \
    X(Gdiplus_DeInit)                       \
    X(Gdiplus_BitmapOK)                     \
    X(Gdiplus_BitmapLastError)              \
    X(Gdiplus_DeleteBitmap)                 \
    X(Gdiplus_GetEncoderClsidByFormatTypeW) \
    X(Gdiplus_GetEncoderClsidByFormatTypeA) \
    X(Gdiplus_GetEncoderClsidByPictureType) \
    X(Gdiplus_GetPictureTypeByFileNameW)    \
    X(Gdiplus_GetPictureTypeByFileNameA)    \
    X(Gdiplus_CreateBitmap)                 \
    X(Gdiplus_CreateColorBmp)               \
    X(Gdiplus_LoadBitmapFromImageBits)      \
    X(Gdiplus_LoadBitmapFromData)           \
    X(Gdiplus_LoadBitmapFromResourceW)      \
    X(Gdiplus_LoadBitmapFromResourceA)      \
    X(Gdiplus_LoadBitmapFromFileW)          \
    X(Gdiplus_LoadBitmapFromFileA)          \
    X(Gdiplus_SaveBitmapToFileW)            \
    X(Gdiplus_SaveBitmapToFileA)            \
    X(Gdiplus_ConvertImageFormatW)          \
    X(Gdiplus_ConvertImageFormatA)          \
    X(Gdiplus_CopyBitmap)                   \
    X(Gdiplus_ModifyBitmapFormat)           \
    X(Gdiplus_StretchBitmap)                \
    X(Gdiplus_ResizeBitmap)                 \
    X(Gdiplus_DisposeBitmapByMode)          \
    X(Gdiplus_GetBitmapFromBitmap)          \
    X(Gdiplus_GetBitmapFromBitmapByRect)    \
    X(Gdiplus_Gray)                         \
    X(Gdiplus_DrawBitmap)                   \
    X(Gdiplus_DrawAlphaBitmap)              \
    X(Gdiplus_FillRect)                     \
    X(Gdiplus_FillPolygon)                  \
    X(Gdiplus_DrawRect)                     \
    X(Gdiplus_DrawText)                     \
    X(Gdiplus_CalcFontSize)                 \
    X(Gdiplus_GetStringFormat)              \
    X(Gdiplus_GetHBitmap)                   \
    X(Gdiplus_GetBitmapBuffer)              \
    X(Gdiplus_SetBitmapAlpha)               \
    X(Gdiplus_CreateRgnFromBitmap)

namespace program {

#define ZUVO_DECLARE_HELPER(name) extern decltype(&::name) name;
ZUVO_PICTURE_HELPERS(ZUVO_DECLARE_HELPER)
#undef ZUVO_DECLARE_HELPER

// Loads ZUVO_MTT.exe from the program folder (..\bin beside the test folder) and takes every
// helper. False with the reason in *error when the program itself cannot be loaded. A helper
// the program does not export is replaced by one that fails the calling test (and answers
// zero or null), so the tests of the other helpers still run.
bool Load(std::wstring* error);

// The names of all helpers, in list order.
const std::vector<std::string>& HelperNames();
// The address the program file exports under name; null when it does not.
void* ExportedAddress(const std::string& name);
// The program file Load loaded.
HMODULE ProgramModule();

}  // namespace program

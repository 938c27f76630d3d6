// Starting and stopping GDI+, and the life and status of bitmaps handed out.
#include <new>

#include "imaging/GdiplusHelpers.h"

extern "C" {

GdiplusStartupRecord* ZUVO_CALL Gdiplus_Init() noexcept {
    auto* record = new (std::nothrow) GdiplusStartupRecord{};
    if (record == nullptr) {
        return nullptr;
    }
    if (Gdiplus::GdiplusStartup(&record->token, &record->input, &record->output) != Gdiplus::Ok) {
        record->token = 0;
    }
    return record;
}

void ZUVO_CALL Gdiplus_DeInit(GdiplusStartupRecord* record) noexcept {
    if (record == nullptr) {
        return;
    }
    if (record->token != 0) {
        Gdiplus::GdiplusShutdown(record->token);
    }
    delete record;
}

int ZUVO_CALL Gdiplus_BitmapOK(Gdiplus::Bitmap* bitmap) noexcept {
    return bitmap != nullptr && bitmap->GetLastStatus() == Gdiplus::Ok ? 1 : 0;
}

Gdiplus::Status ZUVO_CALL Gdiplus_BitmapLastError(Gdiplus::Bitmap* bitmap) noexcept {
    return bitmap != nullptr ? bitmap->GetLastStatus() : Gdiplus::GenericError;
}

void ZUVO_CALL Gdiplus_DeleteBitmap(Gdiplus::Bitmap* bitmap) noexcept {
    delete bitmap;
}

}  // extern "C"

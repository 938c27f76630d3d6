// Owners of what the utility library hands to its caller to free: the bytes of a file read
// with ReadFileDataW (ReleaseFileData) and the pieces of a split text (Internal_DelArrayA /
// Internal_DelArrayW). Portable: for code with and without the Windows API.
#pragma once

#include <cstdint>
#include <memory>

#include "ZUVO_CommonCore.h"

namespace zuvo {

struct FileDataRelease {
    void operator()(uint8_t* data) const noexcept { ReleaseFileData(data); }
};

struct PiecesReleaseA {
    void operator()(char** pieces) const noexcept { Internal_DelArrayA(pieces); }
};

struct PiecesReleaseW {
    void operator()(wchar_t** pieces) const noexcept { Internal_DelArrayW(pieces); }
};

using UniqueFileData = std::unique_ptr<uint8_t, FileDataRelease>;
using UniquePiecesA = std::unique_ptr<char*, PiecesReleaseA>;
using UniquePiecesW = std::unique_ptr<wchar_t*, PiecesReleaseW>;

}  // namespace zuvo

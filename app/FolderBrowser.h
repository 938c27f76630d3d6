// The standard folder browser, opened at a chosen folder and centred over its owner.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace zuvo::app {

// Runs the browser modally (no title, no flags). True with the picked folder in chosen; false
// when the operator cancelled or the pick is not a file-system folder.
bool BrowseForFolder(HWND owner, const std::wstring& initialFolder, std::wstring& chosen);

}  // namespace zuvo::app

// Loading ZUVO_MTT.exe into another program to call its exported picture helpers.
//
// LoadLibrary maps an .exe without running its entry point. Windows relocates it and binds its
// imports; Wine (8.0) does neither for an .exe loaded into a running program (its loader
// relocates and binds only DLL images, or the program's own .exe). There the program file
// would run at an address it was not linked for, with every pointer in its data (vtables)
// aiming at its preferred base and every call into another DLL jumping to an unbound import
// slot. LoadProgramModule applies the base relocations when the loader has not, and binds the
// imports (by name or ordinal, as the loader would); both steps are harmless where the loader
// did them already.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zuvo::imaging {

// Loads the program file at path (its own folder searched first for the DLLs it needs) and
// binds its imports. Answers the module, or null with the reason in *error when given.
// The caller frees the module with FreeLibrary; the DLLs it needs stay loaded for the rest of
// the process.
HMODULE LoadProgramModule(const wchar_t* path, const wchar_t** error = nullptr);

}  // namespace zuvo::imaging

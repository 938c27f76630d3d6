// Export and import decoration for the three family libraries.
//
// Each library defines its own ZUVO_BUILDING_<LIB> while it is compiled into its DLL, so the
// same header exports from inside the library and imports everywhere else. In the native
// (non-Windows) build the libraries are plain static libraries and the macros are empty.
#pragma once

#if defined(_WIN32)
#define ZUVO_DLL_EXPORT __declspec(dllexport)
#define ZUVO_DLL_IMPORT __declspec(dllimport)
#else
#define ZUVO_DLL_EXPORT __attribute__((visibility("default")))
#define ZUVO_DLL_IMPORT
#endif

#if defined(ZUVO_BUILDING_COMMON)
#define ZUVO_COMMON_API ZUVO_DLL_EXPORT
#elif defined(ZUVO_STATIC_COMMON)
#define ZUVO_COMMON_API
#else
#define ZUVO_COMMON_API ZUVO_DLL_IMPORT
#endif

#if defined(ZUVO_BUILDING_DATAPROCESS)
#define ZUVO_DATAPROCESS_API ZUVO_DLL_EXPORT
#elif defined(ZUVO_STATIC_DATAPROCESS)
#define ZUVO_DATAPROCESS_API
#else
#define ZUVO_DATAPROCESS_API ZUVO_DLL_IMPORT
#endif

#if defined(ZUVO_BUILDING_DLGRESOURCE)
#define ZUVO_DLGRESOURCE_API ZUVO_DLL_EXPORT
#else
#define ZUVO_DLGRESOURCE_API ZUVO_DLL_IMPORT
#endif

// Flat functions use the platform's C calling convention (the only one on x64; named so the
// declarations read the same as those of a 32-bit build).
#if defined(_WIN32)
#define ZUVO_CALL __cdecl
#else
#define ZUVO_CALL
#endif

#if defined(__GNUC__)
#define ZUVO_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define ZUVO_PRINTF(fmtIndex, firstArg)
#endif

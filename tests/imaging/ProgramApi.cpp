#include "tests/imaging/ProgramApi.h"

#include "imaging/ProgramModule.h"
#include "tests/support/TestPaths.h"

namespace program {

#define ZUVO_DEFINE_HELPER(name) decltype(&::name) name = nullptr;
ZUVO_PICTURE_HELPERS(ZUVO_DEFINE_HELPER)
#undef ZUVO_DEFINE_HELPER

namespace {

int g_found = 0;

std::wstring ProgramPath() {
    return zuvo::test::BuiltProgramFolder() + L"\\ZUVO_MTT.exe";
}

template <typename Pointer>
void Take(HMODULE module, const char* name, Pointer* pointer) {
    *pointer = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (*pointer != nullptr) {
        ++g_found;
    }
}

}  // namespace

bool Load(std::wstring* error) {
    const std::wstring path = ProgramPath();
    const wchar_t* reason = nullptr;
    HMODULE module = zuvo::imaging::LoadProgramModule(path.c_str(), &reason);
    if (module == nullptr) {
        *error = path + L": " + (reason != nullptr ? reason : L"?");
        return false;
    }
    g_found = 0;
#define ZUVO_TAKE_HELPER(name) Take(module, #name, &name);
    ZUVO_PICTURE_HELPERS(ZUVO_TAKE_HELPER)
#undef ZUVO_TAKE_HELPER
    if (g_found != HelperCount()) {
        *error = path + L": not every helper is exported";
        return false;
    }
    return true;
}

int HelperCount() {
#define ZUVO_COUNT_HELPER(name) +1
    return 0 ZUVO_PICTURE_HELPERS(ZUVO_COUNT_HELPER);
#undef ZUVO_COUNT_HELPER
}

int FoundCount() {
    return g_found;
}

}  // namespace program

#include "tests/imaging/ProgramApi.h"

#include <gtest/gtest.h>

#include <map>
#include <type_traits>

#include "imaging/ProgramModule.h"
#include "tests/support/TestPaths.h"

namespace program {

#define ZUVO_DEFINE_HELPER(name) decltype(&::name) name = nullptr;
ZUVO_PICTURE_HELPERS(ZUVO_DEFINE_HELPER)
#undef ZUVO_DEFINE_HELPER

namespace {

HMODULE g_module = nullptr;
std::map<std::string, void*> g_exported;

// Stands in for a helper the program does not export: the test that calls it fails, naming
// the helper, and goes on with a zero or null answer instead of jumping to address 0.
template <const char* kName, typename Pointer>
struct Missing;

template <const char* kName, typename Result, typename... Arguments>
struct Missing<kName, Result (*)(Arguments...) noexcept> {
    static Result Call(Arguments...) noexcept {
        ADD_FAILURE() << kName << " is not exported by ZUVO_MTT.exe";
        if constexpr (!std::is_void_v<Result>) {
            return Result{};
        }
    }
};

#define ZUVO_HELPER_NAME(name) constexpr char k##name[] = #name;
ZUVO_PICTURE_HELPERS(ZUVO_HELPER_NAME)
#undef ZUVO_HELPER_NAME

std::wstring ProgramPath() {
    return zuvo::test::BuiltProgramFolder() + L"\\ZUVO_MTT.exe";
}

template <typename Pointer>
void Take(const char* name, Pointer* pointer, Pointer missing) {
    void* address = reinterpret_cast<void*>(GetProcAddress(g_module, name));
    g_exported[name] = address;
    *pointer = address != nullptr ? reinterpret_cast<Pointer>(address) : missing;
}

}  // namespace

bool Load(std::wstring* error) {
    const std::wstring path = ProgramPath();
    const wchar_t* reason = nullptr;
    g_module = zuvo::imaging::LoadProgramModule(path.c_str(), &reason);
    if (g_module == nullptr) {
        *error = path + L": " + (reason != nullptr ? reason : L"?");
        return false;
    }
#define ZUVO_TAKE_HELPER(name) Take(#name, &name, &Missing<k##name, decltype(&::name)>::Call);
    ZUVO_PICTURE_HELPERS(ZUVO_TAKE_HELPER)
#undef ZUVO_TAKE_HELPER
    return true;
}

const std::vector<std::string>& HelperNames() {
#define ZUVO_HELPER_STRING(name) #name,
    static const std::vector<std::string> names{ZUVO_PICTURE_HELPERS(ZUVO_HELPER_STRING)};
#undef ZUVO_HELPER_STRING
    return names;
}

void* ExportedAddress(const std::string& name) {
    const auto found = g_exported.find(name);
    return found != g_exported.end() ? found->second : nullptr;
}

HMODULE ProgramModule() {
    return g_module;
}

}  // namespace program

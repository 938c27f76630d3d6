#include "imaging/ProgramModule.h"

#include "framework/Handles.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

namespace zuvo::imaging {

namespace {

// Headers of a mapped image, or null when it is not a PE image.
const IMAGE_NT_HEADERS* NtHeaders(const uint8_t* base) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) {
        return nullptr;
    }
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

// A byte range of the image made writable for the lifetime of the object.
class WritableRange {
public:
    WritableRange(void* address, size_t size) : m_address(address), m_size(size) {
        m_writable = VirtualProtect(address, size, PAGE_EXECUTE_READWRITE, &m_protection) != 0;
    }
    WritableRange(const WritableRange&) = delete;
    WritableRange& operator=(const WritableRange&) = delete;
    ~WritableRange() {
        if (m_writable) {
            VirtualProtect(m_address, m_size, m_protection, &m_protection);
        }
    }
    bool Writable() const { return m_writable; }

private:
    void* m_address;
    size_t m_size;
    DWORD m_protection = 0;
    bool m_writable;
};

// Calls fixup(address) for every 64-bit base relocation of the image; stops early when it
// answers false. False when the relocation data is malformed.
template <typename Fixup>
bool ForEachRelocation(uint8_t* base, const IMAGE_NT_HEADERS* nt, Fixup fixup) {
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC];
    const uint8_t* block = base + directory.VirtualAddress;
    const uint8_t* end = block + directory.Size;
    while (block + sizeof(IMAGE_BASE_RELOCATION) <= end) {
        const auto* header = reinterpret_cast<const IMAGE_BASE_RELOCATION*>(block);
        if (header->SizeOfBlock < sizeof(IMAGE_BASE_RELOCATION) ||
            block + header->SizeOfBlock > end) {
            return header->SizeOfBlock == 0;
        }
        const auto* entries = reinterpret_cast<const WORD*>(block + sizeof(IMAGE_BASE_RELOCATION));
        const size_t count = (header->SizeOfBlock - sizeof(IMAGE_BASE_RELOCATION)) / sizeof(WORD);
        for (size_t i = 0; i < count; ++i) {
            if ((entries[i] >> 12) == IMAGE_REL_BASED_DIR64 &&
                !fixup(base + header->VirtualAddress + (entries[i] & 0x0FFF))) {
                return true;
            }
        }
        block += header->SizeOfBlock;
    }
    return true;
}

// Moves every absolute address of the image from its preferred base to where it was mapped,
// unless the loader did so already: a relocated slot then holds an address inside the mapped
// image rather than inside the preferred range.
bool Relocate(uint8_t* base, const IMAGE_NT_HEADERS* nt, const wchar_t** error) {
    const ULONGLONG preferred = nt->OptionalHeader.ImageBase;
    const ULONGLONG actual = reinterpret_cast<ULONGLONG>(base);
    const ULONGLONG size = nt->OptionalHeader.SizeOfImage;
    if (preferred == actual) {
        return true;
    }
    bool loaderRelocated = false;
    bool decided = false;
    ForEachRelocation(base, nt, [&](uint8_t* slot) {
        ULONGLONG value = 0;
        std::memcpy(&value, slot, sizeof(value));
        if (value - actual < size) {
            loaderRelocated = true;
            decided = true;
        } else if (value - preferred < size) {
            decided = true;
        }
        return !decided;
    });
    if (!decided || loaderRelocated) {
        return true;
    }
    const ULONGLONG delta = actual - preferred;
    const bool wellFormed = ForEachRelocation(base, nt, [&](uint8_t* slot) {
        WritableRange writable(slot, sizeof(ULONGLONG));
        if (!writable.Writable()) {
            return false;
        }
        ULONGLONG value = 0;
        std::memcpy(&value, slot, sizeof(value));
        value += delta;
        std::memcpy(slot, &value, sizeof(value));
        return true;
    });
    if (!wellFormed) {
        *error = L"the relocation data is damaged";
        return false;
    }
    return true;
}

// The DLL named by an import entry: from the program's own folder when it is there, else
// by the usual search.
HMODULE LoadImportedLibrary(const std::wstring& folder, const char* name) {
    std::wstring wide(name, name + std::char_traits<char>::length(name));
    const std::wstring beside = folder + L"\\" + wide;
    if (GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return LoadLibraryW(beside.c_str());
    }
    return LoadLibraryW(wide.c_str());
}

bool BindImports(uint8_t* base, const IMAGE_NT_HEADERS* nt, const std::wstring& folder,
                 const wchar_t** error) {
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return true;
    }
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        HMODULE library = LoadImportedLibrary(folder, reinterpret_cast<char*>(base + entry->Name));
        if (library == nullptr) {
            *error = L"a DLL the program needs does not load";
            return false;
        }
        const DWORD namesRva =
            entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesRva);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            FARPROC function = nullptr;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                function =
                    GetProcAddress(library, MAKEINTRESOURCEA(IMAGE_ORDINAL(names->u1.Ordinal)));
            } else {
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                function = GetProcAddress(library, reinterpret_cast<const char*>(byName->Name));
            }
            if (function == nullptr) {
                *error = L"a function the program imports is missing";
                return false;
            }
            WritableRange writable(&slots->u1.Function, sizeof(slots->u1.Function));
            if (!writable.Writable()) {
                *error = L"an import slot cannot be written";
                return false;
            }
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(function);
        }
    }
    return true;
}

}  // namespace

HMODULE LoadProgramModule(const wchar_t* path, const wchar_t** error) {
    const wchar_t* ignored = nullptr;
    const wchar_t** reason = error != nullptr ? error : &ignored;
    *reason = nullptr;
    if (path == nullptr) {
        *reason = L"no path";
        return nullptr;
    }
    UniqueModule module(LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) {
        *reason = L"the program file does not load";
        return nullptr;
    }
    std::wstring folder(path);
    const size_t separator = folder.find_last_of(L"\\/");
    folder = separator == std::wstring::npos ? L"." : folder.substr(0, separator);
    auto* base = reinterpret_cast<uint8_t*>(module.get());
    const IMAGE_NT_HEADERS* nt = NtHeaders(base);
    if (nt == nullptr) {
        *reason = L"not a PE image";
        return nullptr;
    }
    if (!Relocate(base, nt, reason) || !BindImports(base, nt, folder, reason)) {
        return nullptr;
    }
    return module.release();
}

}  // namespace zuvo::imaging

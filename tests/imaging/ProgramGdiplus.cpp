// The picture helpers' test program uses the program's helpers the way another program
// would: before any test it takes them from ZUVO_MTT.exe, and it starts GDI+ with the
// program's own Gdiplus_Init rather than the shared main's session.
#include <memory>
#include <string>

#include "tests/imaging/ProgramApi.h"
#include "tests/support/WineMain.h"

namespace {

class ProgramGdiplus : public zuvo::test::GdiplusHold {
public:
    ProgramGdiplus() : m_record(program::Gdiplus_Init()) {}
    ~ProgramGdiplus() override { program::Gdiplus_DeInit(m_record); }
    ProgramGdiplus(const ProgramGdiplus&) = delete;
    ProgramGdiplus& operator=(const ProgramGdiplus&) = delete;

    bool IsRunning() const override { return m_record != nullptr && m_record->token != 0; }

private:
    GdiplusStartupRecord* m_record;
};

const bool kProgramHooks = zuvo::test::SetWineMainHooks({
    .prepare =
        [](std::wstring* error) {
            if (program::Load(error)) {
                return true;
            }
            *error = L"cannot use the program's picture helpers: " + *error;
            return false;
        },
    .startGdiplus = [] { return std::make_unique<ProgramGdiplus>(); },
});

}  // namespace

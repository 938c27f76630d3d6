// The picture helpers' test program uses the program's helpers the way another program
// would: before any test it takes them from ZUVO_MTT.exe, and it starts GDI+ with the
// program's own Gdiplus_Init rather than the shared main's session.
#include <memory>
#include <optional>
#include <string>

#include "framework/GdiplusSession.h"
#include "tests/imaging/ProgramApi.h"
#include "tests/support/WineMain.h"

namespace {

// GDI+ for the whole test run. Started through the program's Gdiplus_Init when the program
// exports it and its partner; otherwise directly, so that the tests of the other helpers can
// still run (the missing export fails its own case).
class ProgramGdiplus : public zuvo::test::GdiplusHold {
public:
    ProgramGdiplus() {
        if (program::ExportedAddress("Gdiplus_Init") != nullptr &&
            program::ExportedAddress("Gdiplus_DeInit") != nullptr) {
            m_record = program::Gdiplus_Init();
        } else {
            m_session.emplace();
        }
    }
    ~ProgramGdiplus() override {
        if (m_record != nullptr) {
            program::Gdiplus_DeInit(m_record);
        }
    }
    ProgramGdiplus(const ProgramGdiplus&) = delete;
    ProgramGdiplus& operator=(const ProgramGdiplus&) = delete;

    bool IsRunning() const override {
        return (m_record != nullptr && m_record->token != 0) ||
               (m_session && m_session->IsRunning());
    }

private:
    GdiplusStartupRecord* m_record = nullptr;
    std::optional<zuvo::GdiplusSession> m_session;
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

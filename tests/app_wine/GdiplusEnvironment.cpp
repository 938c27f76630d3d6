// GDI+ for the whole test program: the driver's window captures use it.
#include <gtest/gtest.h>

#include <objidl.h>

#include <gdiplus.h>

namespace {

class GdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};
const testing::Environment* const kGdiplus =
    testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

#include "tests/support/GdiplusEnvironment.h"

#include <utility>

#include "framework/GdiplusSession.h"

namespace zuvo::test {

namespace {

class SessionHold : public GdiplusHold {
public:
    bool IsRunning() const override { return m_session.IsRunning(); }

private:
    GdiplusSession m_session;
};

}  // namespace

std::unique_ptr<GdiplusHold> StartGdiplusSession() {
    return std::make_unique<SessionHold>();
}

GdiplusEnvironment::GdiplusEnvironment(GdiplusStarter start) : m_start(std::move(start)) {}

void GdiplusEnvironment::SetUp() {
    m_gdiplus = m_start();
    ASSERT_TRUE(m_gdiplus && m_gdiplus->IsRunning()) << "GDI+ did not start";
}

void GdiplusEnvironment::TearDown() {
    m_gdiplus.reset();
}

}  // namespace zuvo::test

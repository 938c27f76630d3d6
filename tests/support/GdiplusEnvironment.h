// GDI+ for a whole test program, as the program itself holds it for its whole run: started
// before the first test and shut down after the last. The shared main of the Wine tests
// installs it; a test program may start GDI+ its own way through the main's hooks.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zuvo::test {

// GDI+ started one way or another, running until the object goes.
class GdiplusHold {
public:
    virtual ~GdiplusHold() = default;
    virtual bool IsRunning() const = 0;
};

using GdiplusStarter = std::function<std::unique_ptr<GdiplusHold>()>;

// GDI+ through the framework's session, as the program starts it.
std::unique_ptr<GdiplusHold> StartGdiplusSession();

class GdiplusEnvironment : public testing::Environment {
public:
    explicit GdiplusEnvironment(GdiplusStarter start = StartGdiplusSession);
    // GDI+ that does not start is a fatal failure: then no test runs and the program fails.
    void SetUp() override;
    void TearDown() override;

private:
    GdiplusStarter m_start;
    std::unique_ptr<GdiplusHold> m_gdiplus;
};

}  // namespace zuvo::test

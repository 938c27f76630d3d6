// Where a Wine test program finds itself and the build's program folder: test programs live
// in build/windows/testbin, the program with its DLLs and data files in build/windows/bin.
#pragma once

#include <string>

namespace zuvo::test {

// This test program's file and its folder (without a trailing separator).
std::wstring TestProgramFile();
std::wstring TestProgramFolder();
// The build's program folder: "bin" beside the test programs' folder.
std::wstring BuiltProgramFolder();
// The folder beside this test program that keeps screenshots and captures for a look after
// the run; made when missing.
std::wstring ArtefactsFolder();

}  // namespace zuvo::test

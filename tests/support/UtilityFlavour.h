// Which build of the utility library ZUVO_Common.dll a Wine test runs with. The normal one
// lives in the program folder ("bin"); the strict one, which does only what the family
// promises (libs/ZUVO_Common/strict/), in "strict" beside it. ctest chooses per test with the
// environment variable ZUVO_UTILITY_FLAVOUR ("normal" or "strict"; the Strict.* tests set
// "strict"): tools/wine-run then puts that folder first on the DLL search path, and
// ProgramFolder copies the DLL from it.
#pragma once

#include <string>

namespace zuvo::test {

enum class UtilityFlavour { Normal, Strict };

// The flavour the environment chooses (unset: normal); false for any other value.
bool ChosenUtilityFlavour(UtilityFlavour* flavour);
UtilityFlavour UtilityFlavourOfRun();
// "normal" or "strict", for names of artefacts.
const wchar_t* UtilityFlavourName();
// The folder of the chosen flavour's ZUVO_Common.dll (without a trailing separator).
std::wstring UtilityLibraryFolder();
// The name with "_strict" appended in a strict run, so that both runs keep their artefacts.
std::wstring FlavouredName(const std::wstring& name);

// Whether this test program runs with the chosen flavour: the variable names one, and the
// ZUVO_Common.dll loaded into this process (when it uses the library at all) is that
// flavour's. On failure *error says why.
bool CheckUtilityFlavour(std::wstring* error);

}  // namespace zuvo::test

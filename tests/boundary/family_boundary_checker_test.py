#!/usr/bin/env python3
"""Tests of tools/check-family-boundary.py: the list parser, the import-table reader and the
report on a captured dump, and the declaration check with the cross-compiler on small headers.

data/imports_sample.objdump is `x86_64-w64-mingw32-objdump -p` of a small program built with
mingw-w64 (up to its export table): it imports from a DLL named ZUVO_Common.dll a C function,
two C++ members, data and one function by ordinal, and exports one function itself.
"""
import importlib.machinery
import os
import pathlib
import re
import tempfile
import types
import unittest

HERE = pathlib.Path(__file__).resolve().parent
SCRIPT = HERE.parents[1] / "tools" / "check-family-boundary.py"
_loader = importlib.machinery.SourceFileLoader("check_family_boundary", str(SCRIPT))
checker = types.ModuleType(_loader.name)
_loader.exec_module(checker)


class ContractList(unittest.TestCase):
    def test_entries_are_grouped_per_library(self):
        libraries = checker.parse_contract(
            "# comment\n\n[ZUVO_Common.dll]\n# group comment\n"
            "member CPtrCtrl::AddData(void*,  int)\n"
            "member CPtrCtrl::GetCount() const\n"
            "function MS_GetTime uint32_t()\n"
            "data gDigitalTypeSize const int[11]\n"
            "[ZUVO_DlgResource.dll]\nfunction ZUVO_EULADlg_Show int(ZUVO_EULADLG_HANDLE, int)\n")
        self.assertEqual(list(libraries), ["zuvo_common.dll", "zuvo_dlgresource.dll"])
        common = libraries["zuvo_common.dll"]
        self.assertEqual(common.name, "ZUVO_Common.dll")
        self.assertEqual(set(common.members),
                         {"CPtrCtrl::AddData(void*, int)", "CPtrCtrl::GetCount() const"})
        self.assertEqual(common.functions, {"MS_GetTime": "uint32_t()"})
        self.assertEqual(common.data, {"gDigitalTypeSize": "const int[11]"})
        self.assertEqual(libraries["zuvo_dlgresource.dll"].functions,
                         {"ZUVO_EULADlg_Show": "int(ZUVO_EULADLG_HANDLE, int)"})

    def test_malformed_lists_are_refused(self):
        cases = {
            "function F int()\n": "before the first",
            "[A.dll]\nfunc F int()\n": "unknown entry",
            "[A.dll]\nmember AddData(void*)\n": "Class::Name",
            "[A.dll]\nfunction F\n": "a name and a type",
            "[A.dll]\nfunction F int\n": "no function type",
            "[A.dll]\nmember C::F()\nmember C::F()\n": "listed twice",
            "[A.dll]\nfunction F int()\n[B.dll]\ndata F int\n": "listed twice (A.dll)",
        }
        for text, message in cases.items():
            with self.subTest(text=text):
                with self.assertRaisesRegex(checker.ListError, re.escape(message)):
                    checker.parse_contract(text)

    def test_the_committed_list_reads(self):
        text = (HERE / "family_contract.txt").read_text(encoding="utf-8")
        libraries = checker.parse_contract(text)
        self.assertEqual(sorted(lib.name for lib in libraries.values()),
                         ["ZUVO_Common.dll", "ZUVO_DataProcess.dll", "ZUVO_DlgResource.dll"])

    def test_function_types_split_into_arguments(self):
        cases = {
            "void()": ("void", [], False),
            "int(void)": ("int", [], False),
            "void(int, const char*, ...)": ("void", ["int", "const char*"], True),
            "int(int (*)(const void*, int), int)": ("int", ["int (*)(const void*, int)", "int"],
                                                    False),
            "const wchar_t*(const wchar_t*)": ("const wchar_t*", ["const wchar_t*"], False),
            "int": None,
            "(int)": None,
        }
        for text, expected in cases.items():
            with self.subTest(text=text):
                self.assertEqual(checker.split_function_type(text), expected)


class ImportTable(unittest.TestCase):
    def setUp(self):
        self.dump = (HERE / "data" / "imports_sample.objdump").read_text(encoding="utf-8")

    def test_reads_every_import_of_a_captured_dump(self):
        imports = checker.parse_imports(self.dump)
        family = [(name, ordinal) for dll, name, ordinal in imports if dll == "ZUVO_Common.dll"]
        self.assertEqual(family, [(None, 9), ("MS_GetTime", None),
                                  ("_ZN8CPtrCtrl7AddDataEPvi", None),
                                  ("_ZNK8CPtrCtrl8GetCountEv", None),
                                  ("gDigitalTypeSize", None)])
        self.assertIn(("KERNEL32.dll", "Sleep", None), imports)
        # The program's own export table follows the imports; none of it is an import.
        self.assertNotIn("Gdiplus_Sample", [name for _, name, _ in imports])

    def report(self, contract):
        imports = checker.parse_imports(self.dump)
        names = sorted({n for _, n, _ in imports if n and n.startswith("_Z")})
        return checker.check_imports(checker.parse_contract(contract), "sample.exe", imports,
                                     checker.demangle(names))

    def test_names_beyond_the_list_are_each_reported(self):
        problems, used = self.report(
            "[zuvo_common.DLL]\nmember CPtrCtrl::AddData(void*, int)\nfunction MS_GetTime int()\n"
            "[ZUVO_DataProcess.dll]\ndata gDigitalTypeSize const int[11]\n")
        self.assertEqual(problems, [
            "sample.exe imports ordinal 9 from ZUVO_Common.dll: only names are promised",
            "sample.exe imports CPtrCtrl::GetCount() const from ZUVO_Common.dll "
            "(CPtrCtrl promises AddData(void*, int))",
            "sample.exe imports gDigitalTypeSize from ZUVO_Common.dll "
            "(the list has it for ZUVO_DataProcess.dll)"])
        self.assertEqual(used, {"MS_GetTime", "_ZN8CPtrCtrl7AddDataEPvi",
                                "_ZNK8CPtrCtrl8GetCountEv", "gDigitalTypeSize"})

    def test_members_compare_by_their_whole_signature(self):
        problems, _ = self.report(
            "[ZUVO_Common.dll]\nmember CPtrCtrl::AddData(void*, int, int)\n"
            "member CPtrCtrl::GetCount()\nmember CBaseLock::Lock()\n"
            "function MS_GetTime int()\ndata gDigitalTypeSize const int[11]\n")
        self.assertEqual(problems[1:], [
            "sample.exe imports CPtrCtrl::AddData(void*, int) from ZUVO_Common.dll "
            "(the list allows CPtrCtrl::AddData(void*, int, int))",
            "sample.exe imports CPtrCtrl::GetCount() const from ZUVO_Common.dll "
            "(the list allows CPtrCtrl::GetCount())"])


class ExportTable(unittest.TestCase):
    """The --exports check, for a DLL that must export exactly what its library promises."""

    def test_reads_the_name_table_of_a_captured_dump(self):
        dump = (HERE / "data" / "imports_sample.objdump").read_text(encoding="utf-8")
        self.assertEqual(checker.parse_exports(dump), ["Gdiplus_Sample"])

    def test_names_beyond_and_missing_from_the_promise_are_reported(self):
        library = checker.parse_contract(
            "[ZUVO_Common.dll]\nmember CPtrCtrl::GetCount() const\nmember CBaseLock::Lock()\n"
            "member CBaseLock::CBaseLock()\nfunction MS_GetTime uint32_t()\n"
            "function HQ_Sleep void(uint32_t)\ndata gDigitalTypeSize const int[]\n"
        )["zuvo_common.dll"]
        exports = ["MS_GetTime", "DrawGradualMultiLineBox", "gDigitalTypeSize",
                   "_ZNK8CPtrCtrl8GetCountEv", "_ZN8CPtrCtrl7AddDataEPvi",
                   "_ZN9CBaseLockC1Ev", "_ZN9CBaseLockC2Ev", "_ZTV9CBaseLock"]
        names = [n for n in exports if n.startswith("_Z")]
        problems = checker.check_exports(library, "strict.dll", exports, checker.demangle(names))
        self.assertEqual(problems, [
            "strict.dll exports DrawGradualMultiLineBox (not promised)",
            "strict.dll exports CPtrCtrl::AddData(void*, int) (not promised)",
            "strict.dll exports vtable for CBaseLock (not promised)",
            "strict.dll does not export HQ_Sleep",
            "strict.dll does not export CBaseLock::Lock()"])

    def test_exactly_the_promise_passes(self):
        library = checker.parse_contract(
            "[ZUVO_Common.dll]\nmember CBaseLock::CBaseLock()\nfunction MS_GetTime uint32_t()\n"
        )["zuvo_common.dll"]
        exports = ["MS_GetTime", "_ZN9CBaseLockC1Ev", "_ZN9CBaseLockC2Ev"]
        self.assertEqual(checker.check_exports(library, "strict.dll", exports,
                                               checker.demangle(exports[1:])), [])


HEADER = """#pragma once
#include <cstdint>
struct Box { int left, top, right, bottom; };
struct WinBox { int l, t, r, b; };
extern "C" {
int Exact(const char* text, int length);
void Logged(int level, const char* format, ...);
void NinthArgument(int a, double b, Box* touched = nullptr);
int ChangedType(int64_t value);
int DefaultedLast(int a, int b = 1);
void Fill(uint32_t colour, const Box* box);
void FillMore(uint32_t colour, const Box* box);
extern const int gSizes[12];
extern Box gBox;
}
// Inline conveniences of the caller beside the library's own declarations.
inline void Fill(uint32_t colour, const WinBox* box) { Fill(colour, (const Box*)box); }
inline void FillMore(uint32_t colour, const WinBox* box) { FillMore(colour, (const Box*)box); }
"""

CONTRACT = """[ZUVO_Common.dll]
function Exact int(const char*, int)
function Logged void(int, const char*, ...)
function NinthArgument void(int, double)
function ChangedType int(int)
function DefaultedLast int(int, int)
function Fill void(uint32_t, const Box*)
function FillMore void(uint32_t, const Box*, int)
data gSizes const int[11]
data gBox Box
function PromisedUnused int()
function ImportedMissing int()
"""


class Declarations(unittest.TestCase):
    def test_each_declaration_beyond_the_list_is_reported(self):
        compiler = os.environ.get("ZUVO_CROSS_CXX", checker.DEFAULT_CXX)
        with tempfile.TemporaryDirectory() as folder:
            boundary = pathlib.Path(folder) / "boundary"
            boundary.mkdir()
            (boundary / "lib.h").write_text(HEADER)
            problems, checked, _ = checker.check_declarations(
                checker.parse_contract(CONTRACT), boundary, compiler, [], ["UNICODE"], folder,
                used={"ImportedMissing", "Fill"})
        self.assertEqual(checked, 11)
        expected = {
            "NinthArgument": "is declared void(int, double, Box*); the list allows "
                             "void(int, double)",
            "ChangedType": "is declared int(int64_t); the list allows int(int)",
            "DefaultedLast": "can be called without its last argument",
            "FillMore": "is declared only as void FillMore(uint32_t, const WinBox*); "
                        "void FillMore(uint32_t, const Box*); the list allows",
            "gSizes": "is declared const int[12]; the list allows const int[11]",
            "ImportedMissing": "is imported, but no header in boundary/ declares it",
        }
        self.assertEqual(len(problems), len(expected), "\n".join(problems))
        for name, text in expected.items():
            with self.subTest(name=name):
                self.assertTrue(any(p.startswith(f"{name} (ZUVO_Common.dll) {text}")
                                    for p in problems), "\n".join(problems))


if __name__ == "__main__":
    unittest.main()

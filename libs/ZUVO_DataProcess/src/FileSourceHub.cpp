#include "FileSourceHub.h"

#include "Diagnostics.h"

namespace zuvo::radar {

FileSourceHub::FileSourceHub() : m_source(nullptr) {}

void FileSourceHub::SetSource(IFileRadarDataSource* source) {
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    m_source = source;
}

template <typename Call>
void FileSourceHub::Notify(const char* what, Call call) {
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    if (m_source == nullptr) {
        return;
    }
    try {
        call(*m_source);
    } catch (...) {
        Diagnostic(2, "the playback data source threw an exception in %s; reading goes on", what);
    }
}

void FileSourceHub::ReadStart() {
    Notify("OnFileRadarReadStart", [](IFileRadarDataSource& s) { s.OnFileRadarReadStart(); });
}

void FileSourceHub::ReadLoopStart(int loopIndex) {
    Notify("OnFileRadarReadLoopStart",
           [&](IFileRadarDataSource& s) { s.OnFileRadarReadLoopStart(loopIndex); });
}

void FileSourceHub::ReadEnd() {
    Notify("OnFileRadarReadEnd", [](IFileRadarDataSource& s) { s.OnFileRadarReadEnd(); });
}

void FileSourceHub::GetFileList(const std::wstring& folder, int fileCount) {
    Notify("OnFileRadarGetFileList",
           [&](IFileRadarDataSource& s) { s.OnFileRadarGetFileList(folder.c_str(), fileCount); });
}

void FileSourceHub::ReleaseFileList() {
    Notify("OnFileRadarReleaseFileList",
           [](IFileRadarDataSource& s) { s.OnFileRadarReleaseFileList(); });
}

void FileSourceHub::ReadFileStart(const std::wstring& path) {
    Notify("OnFileRadarReadFileStart",
           [&](IFileRadarDataSource& s) { s.OnFileRadarReadFileStart(path.c_str()); });
}

void FileSourceHub::ReadFileEnd(const std::wstring& path) {
    Notify("OnFileRadarReadFileEnd",
           [&](IFileRadarDataSource& s) { s.OnFileRadarReadFileEnd(path.c_str()); });
}

void FileSourceHub::ReadProcess(int perMille) {
    Notify("OnFileRadarReadProcess",
           [&](IFileRadarDataSource& s) { s.OnFileRadarReadProcess(perMille); });
}

}  // namespace zuvo::radar

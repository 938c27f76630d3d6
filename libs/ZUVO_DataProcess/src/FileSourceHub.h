// The playback data source the caller registered (IFileRadarDataSource), called from the
// reader thread. Changing the source waits for a call in progress, so a source that has been
// replaced is never called again.
#pragma once

#include <mutex>
#include <string>

#include "ZUVO_DataProcess.h"

namespace zuvo::radar {

class FileSourceHub {
public:
    FileSourceHub();
    void SetSource(IFileRadarDataSource* source);

    void ReadStart();
    void ReadLoopStart(int loopIndex);
    void ReadEnd();
    void GetFileList(const std::wstring& folder, int fileCount);
    void ReleaseFileList();
    void ReadFileStart(const std::wstring& path);
    void ReadFileEnd(const std::wstring& path);
    void ReadProcess(int perMille);

private:
    template <typename Call>
    void Notify(const char* what, Call call);

    std::recursive_mutex m_lock;
    IFileRadarDataSource* m_source;
};

}  // namespace zuvo::radar

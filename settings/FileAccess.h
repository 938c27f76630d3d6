// The few file operations the settings file needs beyond the utility library, for wide paths:
// writing a new copy beside a file and swapping it in only once it is complete, so that a
// crash or a full disk never leaves a half-written settings file behind.
#pragma once

#include <cstdio>

namespace zuvo::settings {

// Creates or truncates the file for writing in byte mode (shared with other readers); null on
// failure.
std::FILE* OpenFileForWriting(const wchar_t* path);
// Hands what was written to the file to the disk (buffers flushed first); false on failure.
bool CommitFileToDisk(std::FILE* file);
// Puts source in the place of target in one step, replacing target when it exists: readers
// see either the old or the new file, never a mixture. On Windows a target held open for a
// moment by another program is waited for (about half a second at most). False leaves both as
// they were.
bool ReplaceFileAtomically(const wchar_t* source, const wchar_t* target);
// Deletes a file; false when it could not be deleted.
bool RemoveFile(const wchar_t* path);

}  // namespace zuvo::settings

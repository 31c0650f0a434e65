#pragma once

// The calls that take the name of a file, a folder, a library or a module, in
// the form the system takes names in: on the NT family the W functions, given
// the name as it is; on Windows 95, 98 and Me, whose W functions are stubs,
// the A functions, given the name in the ANSI code page, which holds every
// name those systems have. There a name that the code page cannot hold names
// nothing: the call fails with ERROR_NO_UNICODE_TRANSLATION as its last error.
// Each returns what its Windows function returns and leaves its last error.
// The form is the one that the table of kernel32 functions decides
// (kernel_functions.h).

#include <torvalink/handles.h>
#include <torvalink/raised_error.h>
#include <torvalink/text.h>

#include <windows.h>

namespace torvalink {

UniqueFile CreateNamedFile(const Text& path, DWORD access, DWORD share, DWORD disposition);
// A file of our own: created, never one that stands at the name opened, and
// where the system has reparse points (Windows 2000 on) a link at the name is
// not followed.
UniqueFile CreateNewNamedFile(const Text& path, DWORD access, DWORD share);
BOOL DeleteNamedFile(const Text& path);
// Deletes the file now or, where it cannot go yet (a library the process
// still maps), when Windows next starts; Windows 95, 98 and Me cannot
// schedule that. False when it is neither deleted nor scheduled.
BOOL DeleteNamedFileNowOrAtRestart(const Text& path);
// Replaces the destination.
BOOL CopyNamedFile(const Text& source, const Text& destination);
// A new name on the same volume; fails where the destination exists.
BOOL MoveNamedFile(const Text& source, const Text& destination);
BOOL SetNamedFileAttributes(const Text& path, DWORD attributes);

// The first directory entry that matches `pattern` (wildcards allowed).
struct FoundEntry {
    DWORD attributes = 0;
    bool named = false; // the entry has a non-empty name
};
UniqueFind FindNamedEntry(const Text& pattern, FoundEntry& found);

// `flags` as for LoadLibraryEx; 0 searches as LoadLibrary does.
UniqueModule LoadNamedLibrary(const Text& name, DWORD flags = 0);

} // namespace torvalink

#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pwx {

// The separator that folder texts use on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Paths are UTF-8 texts inside the program; this turns one into a filesystem path without
// passing through a code page.
std::filesystem::path PathOf(const std::string& utf8);

// The system's explanation of the last failed C library call, e.g. "Permission denied".
std::string SystemReason(int errorNumber);

// Whether a regular file stands at the path (a link counts as what it leads to).
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Whether anything (file, folder, pipe, device) stands at the path, a link counting as what
// it leads to: a reader then either reads it or says why it cannot.
bool EntryExists(const std::string& path);
// Whether anything (file, folder, link, even a dangling one) stands at the path.
bool PathExists(const std::string& path);

// The part of a path after its last "/" or "\\": the file's name.
std::string FileNameOf(std::string_view path);

// Whether a folder text ends with a separator, so that file names can be appended to it.
bool EndsWithSeparator(std::string_view folder);
// The folder with a separator at its end, added when it lacks one.
std::string WithSeparator(const std::string& folder);

// Creates one folder level (the parent must exist). True when the folder was created or
// already existed.
bool CreateFolder(const std::string& path);

// Creates a folder with every missing parent. Raises "Cannot create folder "<path>".
// <reason>" when it does not exist afterwards.
void CreateFolderWithParents(const std::string& path);

// Whether a path holds a CR or LF, which the one-path-a-line files cannot store.
bool HasLineBreak(std::string_view text);

// Deletes a file. Raises "Cannot delete file "<path>". <reason>" when it exists and stays,
// or when a folder stands at the path.
void DeleteFile(const std::string& path);

}  // namespace pwx

#pragma once

#include <cstdint>
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

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Whether anything (file, folder, link) stands at the path.
bool PathExists(const std::string& path);

// Creates one folder level (the parent must exist). True when the folder was created or
// already existed.
bool CreateFolder(const std::string& path);

// Creates a folder with every missing parent. Raises "Cannot create folder "<path>".
// <reason>" when it does not exist afterwards.
void CreateFolderWithParents(const std::string& path);

// Whether a path holds a CR or LF, which the one-path-a-line files cannot store.
bool HasLineBreak(std::string_view text);

// Size of a file in bytes, or -1 when it cannot be opened.
std::int64_t FileSize(const std::string& path);

// The whole file. Raises "Cannot open file "<path>". <reason>".
std::string ReadFileBytes(const std::string& path);

// At most `limit` bytes from the start of the file; the real length goes to `length`
// (-1 when the file cannot be opened, and then nothing is read).
std::string ReadFileHead(const std::string& path, std::size_t limit, std::int64_t& length);

// At most `limit` bytes from the start of the file. Raises "Cannot open file ...".
std::string ReadFileStart(const std::string& path, std::size_t limit);

// Replaces a file safely: the bytes go to a temporary file in the same folder, which is then
// synced to disk and renamed over the old one, so a failed or interrupted save never leaves a
// missing or half-written file.
// Raises "Cannot create file "<path>". <reason>" and leaves the old file as it was.
void ReplaceFile(const std::string& path, std::string_view bytes);

// Copies a file the same safe way, streaming (never the whole file in memory). Copying a
// file onto itself leaves it intact. Raises "Cannot create file "<dest>". <reason>", or
// "Cannot open file "<source>". <reason>" when the source cannot be read.
void CopyFileOver(const std::string& source, const std::string& dest);

// Deletes a file. Raises "Cannot delete file "<path>". <reason>" when it exists and stays,
// or when a folder stands at the path.
void DeleteFile(const std::string& path);

}  // namespace pwx

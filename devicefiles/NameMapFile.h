#pragma once

#include <string>
#include <string_view>

#include "common/DiagnosticLog.h"
#include "model/AudioLibrary.h"

namespace pwx {

inline constexpr const char* kNameMapFileName = "m3fn.txt";

// The bytes of m3fn.txt: UTF-8 byte-order mark, then the 64 source paths in number order,
// each followed by CR LF (an empty line for a free number).
std::string EncodeNameMap(const AudioLibrary& library);

// Replaces the whole library with what the bytes hold: line k is the source path of clip k,
// the shown name follows from it. Missing lines leave their numbers free; lines after the
// 64th are ignored; bytes that are not valid UTF-8 are kept as they are. Logs
// "list->Count: " and one "Short_FN: " line per number.
void DecodeNameMap(std::string_view bytes, AudioLibrary& library, DiagnosticLog& log);

// Writes workDir + "m3fn.txt" and logs "M3FN fname: " + path. Raises the file error.
void SaveNameMap(const AudioLibrary& library, const std::string& workDir, DiagnosticLog& log);

// Empties the library, reads workDir + "m3fn.txt" into it and logs "m3fn_fname Len: " +
// the file's size. Raises "Cannot open file ..." when the file cannot be read (the library
// then stays empty).
void LoadNameMap(AudioLibrary& library, const std::string& workDir, DiagnosticLog& log);

}  // namespace pwx

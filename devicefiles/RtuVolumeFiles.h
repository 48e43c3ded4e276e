#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/DiagnosticLog.h"
#include "model/AlarmProject.h"

namespace pwx {

inline constexpr const char* kRtuFileName = "rtu.cfg";
inline constexpr const char* kVolumeFileName = "vol.cfg";
inline constexpr const char* kErrorClipFileName = "Err1.mp3";
inline constexpr std::size_t kMaxRtuLineLength = 255;

inline constexpr const char* kDeviceIdRangeText = "Device ID range must be 1 ~ 247";
inline constexpr const char* kDeviceIdRangeCaption = "Modbus RTU Device ID Error";
inline constexpr const char* kRtuLineTooLongCaption = "Modbus RTU Settings Error";

// A message box that the save has for the user, with an OK button; the caller shows it.
struct UserNotice {
  std::string Text;
  std::string Caption;
  bool operator==(const UserNotice&) const = default;
};

// The length of the line BuildRtuLine would make: both texts plus seven bytes.
std::size_t RtuLineLength(const ModbusRtuSettings& settings);

// The message shown instead of writing a line of `length` bytes, which is over 255.
std::string RtuLineTooLongText(std::size_t length);

// Builds "DeviceId,BaudRate,P,D,S", logging the "+Device ID Len..SUM:.." lines and the two
// summary lines. A field that is empty contributes a zero byte. Returns nothing (and logs
// nothing) when the line would pass 255 bytes.
std::optional<std::string> BuildRtuLine(const ModbusRtuSettings& settings, DiagnosticLog& log);

// Scans one rtu.cfg line into the settings, logging a "Get , @ ci:.. ck:.. cl:.. sk:.."
// line per field. Safe for lines of any length.
void ScanRtuLine(const std::string& line, ModbusRtuSettings& settings, DiagnosticLog& log);

// The volume a vol.cfg line denotes, clamped to 0..10. Raises on a text that is not an integer.
int VolumeFromText(const std::string& text);

// What a save writes as rtu.cfg: the line, or (nothing written) the refusal to show instead.
struct RtuFileContent {
  std::optional<std::string> Line;
  std::optional<UserNotice> Refusal;
  bool operator==(const RtuFileContent&) const = default;
};

// The rtu.cfg a save writes for the settings: the line when the device id is an integer from
// 1 to 247 and the line fits into 255 bytes, else the device-id box or the line-length box.
RtuFileContent RtuFileFor(const ModbusRtuSettings& settings, DiagnosticLog& log);

// The bytes of vol.cfg for a volume.
std::string VolumeFileFor(int volume);

// rtu.cfg when the device id is an integer from 1 to 247 and the line fits into 255 bytes.
// Otherwise rtu.cfg is left as it was and the refusal comes back, to be shown before the
// save goes on: the device-id range box, or the box about the line's length.
std::optional<UserNotice> WriteRtuFile(const ModbusRtuSettings& settings,
                                       const std::string& workDir, DiagnosticLog& log);

// vol.cfg, then Err1.mp3: the last two files of a save.
void WriteVolumeAndErrorClip(int volume, const std::string& workDir, DiagnosticLog& log);

// vol.cfg into the volume, clamped to 0..10; 5 when the file is absent. Raises on an empty
// file or a first line that is not an integer.
void ReadVolumeFile(AlarmProject& project, const std::string& workDir, DiagnosticLog& log);

// rtu.cfg into the settings; nothing when the file is absent. Raises on an empty file.
void ReadRtuFile(ModbusRtuSettings& settings, const std::string& workDir, DiagnosticLog& log);

}  // namespace pwx

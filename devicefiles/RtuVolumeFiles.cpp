#include "devicefiles/RtuVolumeFiles.h"

#include <string_view>

#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/TextFile.h"
#include "devicefiles/ErrorClip.h"
#include "model/Choices.h"

namespace pwx {
namespace {

constexpr int kMinDeviceId = 1;
constexpr int kMaxDeviceId = 247;

// The one-character fields take the first character of their text; an empty text puts a
// zero byte in its place.
char FirstCharacter(const std::string& text) {
  return text.empty() ? '\0' : text.front();
}

std::string LengthSumLine(const char* label, std::size_t length, std::size_t sum) {
  return std::string(label) + std::to_string(length) + "SUM:" + std::to_string(sum);
}

// The parity letter of the line: exactly "O" or "E"; everything else (lower case included)
// stands for no parity.
std::string ParityChoiceFor(const std::string& letter) {
  if (letter == "O") return "Odd";
  if (letter == "E") return "Even";
  return "None";
}

void ApplyRtuField(int fieldNumber, const std::string& field, ModbusRtuSettings& settings) {
  switch (fieldNumber) {
    case 1:
      settings.DeviceId = field;  // checked only when the project is saved
      break;
    case 2:
      settings.BaudRate = SelectSettingChoice(kBaudRateChoices, field, settings.BaudRate);
      break;
    case 3:
      settings.Parity =
          SelectSettingChoice(kParityChoices, ParityChoiceFor(field), settings.Parity);
      break;
    case 4:
      settings.DataBits = SelectSettingChoice(kDataBitsChoices, field, settings.DataBits);
      break;
    default:
      break;  // a fifth field and beyond mean nothing; the tail is the stop bits
  }
}

std::string FieldLine(std::size_t commaPosition, std::size_t previousComma,
                      const std::string& field) {
  return "Get , @ ci:" + std::to_string(commaPosition) + " ck:" + std::to_string(previousComma) +
         " cl:" + std::to_string(field.size()) + " sk:" + field;
}

}  // namespace

std::size_t RtuLineLength(const ModbusRtuSettings& settings) {
  return settings.DeviceId.size() + settings.BaudRate.size() + 7;
}

std::string RtuLineTooLongText(std::size_t length) {
  return "The Modbus RTU settings line would be " + std::to_string(length) +
         " bytes long; the player accepts at most " + std::to_string(kMaxRtuLineLength) + ".";
}

std::optional<std::string> BuildRtuLine(const ModbusRtuSettings& settings, DiagnosticLog& log) {
  if (RtuLineLength(settings) > kMaxRtuLineLength) return std::nullopt;

  std::string line = settings.DeviceId + ",";
  log.Append(LengthSumLine("+Device ID Len", settings.DeviceId.size(), line.size()));
  line += settings.BaudRate + ",";
  log.Append(LengthSumLine("+Baudrate Len", settings.BaudRate.size(), line.size()));
  line += FirstCharacter(settings.Parity);
  line += ',';
  log.Append(LengthSumLine("+Parity Len", 1, line.size()));
  line += FirstCharacter(settings.DataBits);
  line += ',';
  log.Append(LengthSumLine("+Data bit Len", 1, line.size()));
  line += FirstCharacter(settings.StopBits);
  log.Append(LengthSumLine("+Stop bit Len", 1, line.size()));
  log.Append("RTU String Len =" + std::to_string(line.size()));
  log.Append("RTU String =" + line);
  return line;
}

void ScanRtuLine(const std::string& line, ModbusRtuSettings& settings, DiagnosticLog& log) {
  // Positions are 1-based: K is the position of the previous comma, 0 before the first.
  std::size_t previousComma = 0;
  int fieldNumber = 0;
  for (std::size_t position = 1; position <= line.size(); ++position) {
    if (line[position - 1] != ',') continue;
    const std::string field = line.substr(previousComma, position - previousComma - 1);
    log.Append(FieldLine(position, previousComma, field));
    previousComma = position;
    ++fieldNumber;
    ApplyRtuField(fieldNumber, field, settings);
  }
  // Whatever follows the last comma (the whole line when there is none) is the stop bits.
  const std::string tail = line.substr(previousComma);
  log.Append(FieldLine(line.size() + 1, previousComma, tail));
  settings.StopBits = SelectSettingChoice(kStopBitsChoices, tail, settings.StopBits);
}

int VolumeFromText(const std::string& text) {
  return AlarmProject::ClampVolume(StrToInt(text));
}

RtuFileContent RtuFileFor(const ModbusRtuSettings& settings, DiagnosticLog& log) {
  // An id that is no number at all (emptied, pasted letters, too many digits) is refused
  // like one out of range, so the save still writes the volume and the error clip.
  const std::optional<std::int32_t> deviceId = TryParseInt32(settings.DeviceId);
  if (!deviceId || *deviceId < kMinDeviceId || *deviceId > kMaxDeviceId) {
    return {std::nullopt, UserNotice{kDeviceIdRangeText, kDeviceIdRangeCaption}};
  }
  // An over-long line is refused rather than cut, and rtu.cfg keeps its old content.
  std::optional<std::string> line = BuildRtuLine(settings, log);
  if (!line) {
    return {std::nullopt,
            UserNotice{RtuLineTooLongText(RtuLineLength(settings)), kRtuLineTooLongCaption}};
  }
  return {std::move(line), std::nullopt};
}

std::string VolumeFileFor(int volume) {
  return std::to_string(AlarmProject::ClampVolume(volume));
}

std::optional<UserNotice> WriteRtuFile(const ModbusRtuSettings& settings,
                                       const std::string& workDir, DiagnosticLog& log) {
  const RtuFileContent content = RtuFileFor(settings, log);
  if (!content.Line) return content.Refusal;
  const std::string path = workDir + kRtuFileName;
  ReplaceFile(path, *content.Line);
  log.Append("RTU CFG fname: " + path);
  return std::nullopt;
}

void WriteVolumeAndErrorClip(int volume, const std::string& workDir, DiagnosticLog& log) {
  const std::string text = VolumeFileFor(volume);
  const std::string volumePath = workDir + kVolumeFileName;
  ReplaceFile(volumePath, text);
  log.Append("Volume fname: " + volumePath + text);

  const std::string clipPath = workDir + kErrorClipFileName;
  ReplaceFile(clipPath,
              std::string_view(reinterpret_cast<const char*>(kErrorClip), kErrorClipSize));
  log.Append("Err1 fname: " + clipPath);
}

void ReadVolumeFile(AlarmProject& project, const std::string& workDir, DiagnosticLog& log) {
  const std::string path = workDir + kVolumeFileName;
  if (!EntryExists(path)) {
    project.Volume = kDefaultVolume;
    return;
  }
  const std::string line = ReadFirstLine(path);
  log.Append("Get VOL.CFG : " + line);
  project.Volume = VolumeFromText(line);
}

void ReadRtuFile(ModbusRtuSettings& settings, const std::string& workDir, DiagnosticLog& log) {
  const std::string path = workDir + kRtuFileName;
  if (!EntryExists(path)) return;
  const std::string line = ReadFirstLine(path);
  log.Append("Get RTU.CFG : " + line);
  log.Append("Len:" + std::to_string(line.size()));
  ScanRtuLine(line, settings, log);
}

}  // namespace pwx

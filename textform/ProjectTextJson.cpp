// The one place that speaks JSON for the project's text form (nlohmann-json).
#include "textform/ProjectTextJson.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "common/IntegerText.h"
#include "common/MessageText.h"

namespace pwx {

namespace {

using Json = nlohmann::ordered_json;

double Rounded(double value, double step) {
  return std::round(value / step) * step;
}

std::string HexOf(const PlayListImage& image, const UnnamedRow& row) {
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = row.Offset; i < row.Offset + row.Length; ++i) {
    hex += digits[image.Bytes[i] >> 4];
    hex += digits[image.Bytes[i] & 0xF];
  }
  return hex;
}

Json SettingsJson(const ProjectText& text) {
  Json settings = Json::object();
  settings["device-id"] = text.Settings.DeviceId;
  settings["baud"] = text.Settings.BaudRate;
  settings["parity"] = text.Settings.Parity;
  settings["data-bits"] = text.Settings.DataBits;
  settings["stop-bits"] = text.Settings.StopBits;
  settings["volume"] = text.Volume;
  return settings;
}

Json SlotJson(const ProjectText& text, int s) {
  const TextSlot& slot = text.Slots[static_cast<std::size_t>(s)];
  const auto mode = static_cast<std::uint8_t>(text.Mode);
  Json json = Json::object();
  json["slot"] = s + 1;
  json["input"] = SlotInputLabel(s, mode);
  json["shown"] = s < (mode < 4 ? 4 : 15);
  Json clips = Json::array();
  for (int number : slot.Clips) {
    Json clip = Json::object();
    clip["number"] = number;
    if (const TextClip* known = FindClip(text, number)) clip["name"] = known->Name;
    clips.push_back(std::move(clip));
  }
  json["clips"] = std::move(clips);
  json["repeat"] = slot.Repeat;
  json["alarm-output"] = slot.AlarmOutput;
  return json;
}

Json ClipJson(const TextClip& clip) {
  Json json = Json::object();
  json["number"] = clip.Number;
  json["name"] = clip.Name;
  json["source"] = clip.Source;
  if (clip.Size) json["size"] = *clip.Size;
  if (clip.Sha256) json["sha256"] = *clip.Sha256;
  if (clip.Seconds) json["seconds"] = Rounded(*clip.Seconds, 0.001);
  if (!clip.Format.empty()) json["format"] = clip.Format;
  if (clip.Lufs) json["lufs"] = Rounded(*clip.Lufs, 0.1);
  return json;
}

// --- Reading ---------------------------------------------------------------------------

[[noreturn]] void WrongType(const std::string& key, const char* wanted, const Json& value) {
  throw TextFormError(key, std::string("a ") + wanted + " is wanted here, not " +
                               (value.is_null() ? "null" : std::string("a ") + value.type_name()) +
                               ".");
}

void ExpectObject(const std::string& key, const Json& value) {
  if (!value.is_object()) WrongType(key, "JSON object", value);
}

void ExpectArray(const std::string& key, const Json& value) {
  if (!value.is_array()) WrongType(key, "list", value);
}

// A key far longer than any the program knows is not quoted back.
void CheckKeyLength(const std::string& where, const std::string& key) {
  if (key.size() > 64) {
    throw TextFormError(
        where, "a key of " + GroupedDigits(key.size()) + " bytes is no key of the text form.");
  }
}

// Only the keys the program knows; anything else is likely a typing error that would
// otherwise be ignored in silence.
void OnlyKeys(const std::string& where, const Json& object,
              std::initializer_list<const char*> known) {
  for (const auto& item : object.items()) {
    const bool ok = std::any_of(known.begin(), known.end(),
                                [&](const char* name) { return item.key() == name; });
    if (!ok) {
      std::string names;
      for (const char* name : known) names += (names.empty() ? "" : ", ") + std::string(name);
      CheckKeyLength(where, item.key());
      throw TextFormError(where.empty() ? item.key() : where + "." + item.key(),
                          "unknown key; the keys here are " + names + ".");
    }
  }
}

std::string Key(const std::string& where, const char* name) {
  return where.empty() ? name : where + "." + name;
}

std::int64_t IntegerOf(const std::string& key, const Json& value) {
  if (value.is_number_unsigned()) {
    const auto number = value.get<std::uint64_t>();
    return number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
               ? std::numeric_limits<std::int64_t>::max()
               : static_cast<std::int64_t>(number);
  }
  if (value.is_number_integer()) return value.get<std::int64_t>();
  WrongType(key, "whole number", value);
}

double NumberOf(const std::string& key, const Json& value) {
  if (!value.is_number()) WrongType(key, "number", value);
  return value.get<double>();
}

std::string TextOf(const std::string& key, const Json& value) {
  if (!value.is_string()) WrongType(key, "text", value);
  std::string text = value.get<std::string>();
  CheckTextLength(key, text);
  return text;
}

bool SwitchOf(const std::string& key, const Json& value) {
  if (!value.is_boolean()) WrongType(key, "true or false", value);
  return value.get<bool>();
}

// A setting given as text, or as a whole number for those that are numbers.
std::string SettingText(const std::string& key, const Json& value) {
  if (value.is_number_integer()) return std::to_string(IntegerOf(key, value));
  return TextOf(key, value);
}

void ReadSettings(const Json& json, ProjectText& text) {
  const std::string where = "settings";
  ExpectObject(where, json);
  OnlyKeys(where, json, {"device-id", "baud", "parity", "data-bits", "stop-bits", "volume"});
  ModbusRtuSettings& settings = text.Settings;
  if (json.contains("device-id")) {
    const std::string key = Key(where, "device-id");
    settings.DeviceId = CheckedDeviceIdText(key, SettingText(key, json["device-id"]));
  }
  if (json.contains("baud")) {
    const std::string key = Key(where, "baud");
    settings.BaudRate = CheckedBaudRate(key, SettingText(key, json["baud"]));
  }
  if (json.contains("parity")) {
    const std::string key = Key(where, "parity");
    settings.Parity = CheckedParity(key, TextOf(key, json["parity"]));
  }
  if (json.contains("data-bits")) {
    const std::string key = Key(where, "data-bits");
    settings.DataBits = CheckedDataBits(key, SettingText(key, json["data-bits"]));
  }
  if (json.contains("stop-bits")) {
    const std::string key = Key(where, "stop-bits");
    settings.StopBits = CheckedStopBits(key, SettingText(key, json["stop-bits"]));
  }
  if (json.contains("volume")) {
    const std::string key = Key(where, "volume");
    text.Volume = CheckedVolume(key, IntegerOf(key, json["volume"]));
  }
}

int ClipOf(const std::string& key, const Json& value) {
  if (value.is_object()) {
    OnlyKeys(key, value, {"number", "name"});
    if (!value.contains("number")) throw TextFormError(key, "the clip's \"number\" is missing.");
    if (value.contains("name")) TextOf(Key(key, "name"), value["name"]);
    return CheckedClipNumber(Key(key, "number"), IntegerOf(Key(key, "number"), value["number"]));
  }
  return CheckedClipNumber(key, IntegerOf(key, value));
}

void ReadSlots(const Json& json, ProjectText& text) {
  ExpectArray("slots", json);
  std::set<std::int64_t> seen;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const std::string where = "slots[" + std::to_string(i) + "]";
    const Json& item = json[i];
    ExpectObject(where, item);
    OnlyKeys(where, item, {"slot", "input", "shown", "clips", "repeat", "alarm-output"});
    if (!item.contains("slot")) throw TextFormError(where, "the slot's \"slot\" is missing.");
    const std::int64_t number = IntegerOf(Key(where, "slot"), item["slot"]);
    if (number < 1 || number > kSlotCount) {
      throw TextFormError(Key(where, "slot"), "The slot must be from 1 to " +
                                                  std::to_string(kSlotCount) + " (not " +
                                                  std::to_string(number) + ").");
    }
    if (!seen.insert(number).second) {
      throw TextFormError(Key(where, "slot"),
                          "slot " + std::to_string(number) + " is given twice.");
    }
    const int s = static_cast<int>(number - 1);
    const std::string label = SlotInputLabel(s, static_cast<std::uint8_t>(text.Mode));
    TextSlot& slot = text.Slots[static_cast<std::size_t>(s)];
    if (item.contains("input")) TextOf(Key(where, "input"), item["input"]);
    if (item.contains("shown")) SwitchOf(Key(where, "shown"), item["shown"]);
    if (item.contains("clips")) {
      const std::string key = Key(where, "clips");
      const Json& clips = item["clips"];
      ExpectArray(key, clips);
      if (clips.size() > kClipsPerSlot) {
        throw TextFormError(key, label + " holds " + std::to_string(clips.size()) +
                                     " clips; an input plays at most " +
                                     std::to_string(kClipsPerSlot) + ".");
      }
      slot.Clips.clear();
      for (std::size_t k = 0; k < clips.size(); ++k) {
        slot.Clips.push_back(ClipOf(key + "[" + std::to_string(k) + "]", clips[k]));
      }
    }
    if (item.contains("repeat")) {
      const std::string key = Key(where, "repeat");
      slot.Repeat = CheckedRepeat(key, IntegerOf(key, item["repeat"]), label);
    }
    if (item.contains("alarm-output")) {
      slot.AlarmOutput = SwitchOf(Key(where, "alarm-output"), item["alarm-output"]);
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void ReadUnnamedBytes(const Json& json, ProjectText& text) {
  const std::string where = "unnamed-bytes";
  ExpectObject(where, json);
  const auto& rows = UnnamedPlayListRows();
  for (const auto& item : json.items()) {
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const UnnamedRow& r) {
      return RowKey(r.Offset) == item.key();
    });
    CheckKeyLength(where, item.key());
    const std::string key = where + "." + item.key();
    if (row == rows.end()) {
      throw TextFormError(key,
                          "unknown key; the keys here are the offsets of the play list's "
                          "unnamed bytes, 0004 to 01F0.");
    }
    const std::string hex = TextOf(key, item.value());
    bool ok = hex.size() == 2 * row->Length;
    for (std::size_t i = 0; ok && i < row->Length; ++i) {
      const int high = HexDigit(hex[2 * i]);
      const int low = HexDigit(hex[2 * i + 1]);
      ok = high >= 0 && low >= 0;
      if (ok) text.Image.Bytes[row->Offset + i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    if (!ok) {
      throw TextFormError(key, "the row holds " + std::to_string(row->Length) +
                                   " bytes, written as " + std::to_string(2 * row->Length) +
                                   " hex digits.");
    }
  }
}

bool IsSha256Text(const std::string& text) {
  return text.size() == 64 &&
         std::all_of(text.begin(), text.end(), [](char c) { return HexDigit(c) >= 0; });
}

void ReadLibrary(const Json& json, ProjectText& text) {
  ExpectArray("library", json);
  std::vector<TextClip> library;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const std::string where = "library[" + std::to_string(i) + "]";
    const Json& item = json[i];
    ExpectObject(where, item);
    OnlyKeys(where, item,
             {"number", "name", "source", "size", "sha256", "seconds", "format", "lufs"});
    if (!item.contains("number")) throw TextFormError(where, "the clip's \"number\" is missing.");
    if (!item.contains("source")) throw TextFormError(where, "the clip's \"source\" is missing.");
    TextClip clip;
    clip.Number =
        CheckedClipNumber(Key(where, "number"), IntegerOf(Key(where, "number"), item["number"]));
    if (std::any_of(library.begin(), library.end(),
                    [&](const TextClip& other) { return other.Number == clip.Number; })) {
      throw TextFormError(Key(where, "number"),
                          "clip " + ThreeDigits(clip.Number) + " is given twice.");
    }
    clip.Source = TextOf(Key(where, "source"), item["source"]);
    clip.Name = ShortNameOf(clip.Source);
    if (item.contains("name")) TextOf(Key(where, "name"), item["name"]);
    if (item.contains("size")) {
      const std::int64_t size = IntegerOf(Key(where, "size"), item["size"]);
      if (size < 0) throw TextFormError(Key(where, "size"), "a size is not negative.");
      clip.Size = static_cast<std::uint64_t>(size);
    }
    if (item.contains("sha256")) {
      const std::string digest = TextOf(Key(where, "sha256"), item["sha256"]);
      if (!IsSha256Text(digest)) {
        throw TextFormError(Key(where, "sha256"), "a SHA-256 is 64 hex digits.");
      }
      std::string lower = digest;
      std::transform(lower.begin(), lower.end(), lower.begin(),
                     [](char c) { return c >= 'A' && c <= 'F' ? static_cast<char>(c + 32) : c; });
      clip.Sha256 = lower;
    }
    if (item.contains("seconds")) clip.Seconds = NumberOf(Key(where, "seconds"), item["seconds"]);
    if (item.contains("format")) clip.Format = TextOf(Key(where, "format"), item["format"]);
    if (item.contains("lufs")) clip.Lufs = NumberOf(Key(where, "lufs"), item["lufs"]);
    library.push_back(std::move(clip));
  }
  std::sort(library.begin(), library.end(),
            [](const TextClip& a, const TextClip& b) { return a.Number < b.Number; });
  text.Library = std::move(library);
}

void ReadMissing(const Json& json, ProjectText& text) {
  ExpectArray("missing", json);
  std::vector<std::string> missing;
  for (std::size_t i = 0; i < json.size(); ++i) {
    missing.push_back(TextOf("missing[" + std::to_string(i) + "]", json[i]));
  }
  text.Missing = std::move(missing);
}

Json ParseDocument(std::string_view json) {
  try {
    return Json::parse(json.begin(), json.end());
  } catch (const Json::parse_error& error) {
    // "[json.exception.parse_error.101] parse error at line 2, column 5: ..." without its tag.
    std::string what = error.what();
    const auto tagEnd = what.find("] ");
    if (tagEnd != std::string::npos) what.erase(0, tagEnd + 2);
    throw TextFormError("", "The text form is not valid JSON: " + what);
  }
}

}  // namespace

std::string ProjectTextJson(const ProjectText& text) {
  Json json = Json::object();
  json["format"] = kProjectTextFormat;
  json["version"] = kProjectTextVersion;
  json["settings"] = SettingsJson(text);
  json["mode"] = text.Mode;
  Json slots = Json::array();
  for (int s = 0; s < kSlotCount; ++s) slots.push_back(SlotJson(text, s));
  json["slots"] = std::move(slots);
  Json unnamed = Json::object();
  for (const UnnamedRow& row : UnnamedPlayListRows()) {
    unnamed[RowKey(row.Offset)] = HexOf(text.Image, row);
  }
  json["unnamed-bytes"] = std::move(unnamed);
  Json library = Json::array();
  for (const TextClip& clip : text.Library) library.push_back(ClipJson(clip));
  json["library"] = std::move(library);
  json["missing"] = text.Missing;
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

ProjectText ReadProjectText(std::string_view document, const ProjectText& base) {
  const Json json = ParseDocument(document);
  ExpectObject("", json);
  OnlyKeys(
      "", json,
      {"format", "version", "settings", "mode", "slots", "unnamed-bytes", "library", "missing"});
  if (json.contains("format") && TextOf("format", json["format"]) != kProjectTextFormat) {
    throw TextFormError("format", std::string("this is no project text form (it would say \"") +
                                      kProjectTextFormat + "\").");
  }
  if (!json.contains("version")) {
    throw TextFormError("version", "the text form does not say its version.");
  }
  const std::int64_t version = IntegerOf("version", json["version"]);
  if (version != kProjectTextVersion) {
    throw TextFormError("version", "version " + std::to_string(version) +
                                       " is not known to this program, which reads version " +
                                       std::to_string(kProjectTextVersion) + ".");
  }
  ProjectText text = base;
  if (json.contains("settings")) ReadSettings(json["settings"], text);
  if (json.contains("mode")) text.Mode = CheckedMode("mode", IntegerOf("mode", json["mode"]));
  if (json.contains("slots")) ReadSlots(json["slots"], text);
  if (json.contains("unnamed-bytes")) ReadUnnamedBytes(json["unnamed-bytes"], text);
  if (json.contains("library")) ReadLibrary(json["library"], text);
  if (json.contains("missing")) ReadMissing(json["missing"], text);
  CheckedRtuSettings(text.Settings, "settings.");
  return text;
}

std::string ProjectDiffJson(const ProjectDiff& diff) {
  Json json = Json::object();
  switch (diff.Outcome()) {
    case DiffOutcome::Equal:
      json["outcome"] = "equal";
      break;
    case DiffOutcome::Different:
      json["outcome"] = "different";
      break;
    case DiffOutcome::Trouble:
      json["outcome"] = "trouble";
      break;
  }
  Json lines = Json::array();
  for (const DiffLine& line : diff.Lines) {
    Json item = Json::object();
    item["subject"] = line.Subject;
    if (!line.Before.empty() || !line.After.empty()) {
      item["a"] = line.Before;
      item["b"] = line.After;
    }
    item["text"] = line.Text;
    lines.push_back(std::move(item));
  }
  json["differences"] = std::move(lines);
  json["troubles"] = diff.Troubles;
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace pwx

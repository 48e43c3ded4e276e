#include "delivery/CardFolder.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#endif

#include "common/EditorError.h"
#include "common/FileIdentity.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"

namespace pwx {

namespace {

namespace fs = std::filesystem;

// FAT's own limits: fewer clusters than these make FAT12, then FAT16; more make FAT32.
constexpr std::uint64_t kMostFat12Clusters = 4084;
constexpr std::uint64_t kMostFat16Clusters = 65524;
// The root folder of FAT12 and FAT16 has a fixed size; formatting tools give it 512 entries.
constexpr int kFixedRootEntries = 512;

char OtherCase(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A name FAT stores in its short entry alone: upper-case 8.3 of plain characters.
bool IsPlainShortName(std::string_view name) {
  const auto dot = name.find('.');
  const std::string_view base = name.substr(0, dot);
  const std::string_view extension = dot == std::string_view::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || extension.size() > 3 ||
      extension.find('.') != std::string_view::npos) {
    return false;
  }
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
  });
}

// Characters as UTF-16 counts them: what long names are measured in.
std::size_t Utf16Length(std::string_view name) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    units += byte >= 0xF0 ? 2 : 1;        // beyond the basic plane: a surrogate pair
  }
  return units;
}

std::string Unescaped(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](std::size_t k) { return field[k] >= '0' && field[k] <= '7'; };
    if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

#ifndef _WIN32

// A file of the system's (its size shows as 0), read up to a limit; empty when it cannot be.
std::string SystemFileText(const std::string& path) {
  std::string text;
  try {
    ReadFileInChunks(path, 64 * 1024, 4 * 1024 * 1024,
                     [&](std::string_view piece) { text.append(piece); });
  } catch (const EditorError&) {
    text.clear();
  }
  return text;
}

// What the folder does with a name of its listing spelled in the other case: finds it (names
// ignore case), or finds nothing or another entry (they do not). Nothing when no name of the
// listing has a letter.
std::optional<bool> ProbeCase(const std::string& folder, const std::vector<std::string>& names) {
  const std::set<std::string> listed(names.begin(), names.end());
  for (const std::string& name : names) {
    std::string other = name;
    std::transform(other.begin(), other.end(), other.begin(), OtherCase);
    if (other == name) continue;
    if (listed.count(other)) return false;  // both spellings stand side by side
    struct stat status;
    if (lstat((folder + other).c_str(), &status) == 0) return true;
    if (errno == ENOENT) return false;
  }
  return std::nullopt;
}

// The file system a FUSE block device holds, as the system's device manager recorded it.
std::string UdevFileSystem(const std::string& source) {
  struct stat status;
  if (stat(source.c_str(), &status) != 0 || !S_ISBLK(status.st_mode)) return {};
  const std::string record = "/run/udev/data/b" + std::to_string(major(status.st_rdev)) + ":" +
                             std::to_string(minor(status.st_rdev));
  std::istringstream lines(SystemFileText(record));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("E:ID_FS_TYPE=", 0) == 0) return line.substr(13);
  }
  return {};
}

// The mount that holds the folder: of its device, the one whose mount point is the longest
// start of the folder's real path.
std::optional<MountEntry> MountOf(const std::string& folder, dev_t device) {
  const std::string mounts = SystemFileText("/proc/self/mountinfo");
  std::error_code error;
  const std::string real = fs::weakly_canonical(PathOf(folder), error).string();
  std::optional<MountEntry> best;
  for (MountEntry& entry : ParseMountInfo(mounts)) {
    if (entry.Major != major(device) || entry.Minor != minor(device)) continue;
    const bool holds = real.rfind(entry.MountPoint, 0) == 0;
    if (!best || (holds && entry.MountPoint.size() > best->MountPoint.size())) best = entry;
  }
  return best;
}

#endif

}  // namespace

CardFormat FormatOf(const std::string& fileSystem) {
  for (const char* fat : {"vfat", "msdos", "fat", "umsdos", "fuse.fusefat", "fusefat"}) {
    if (fileSystem == fat) return CardFormat::Fat;
  }
  for (const char* exfat : {"exfat", "fuse.exfat", "fuse.exfat-fuse", "fuse.fuse-exfat"}) {
    if (fileSystem == exfat) return CardFormat::ExFat;
  }
  return CardFormat::Other;
}

std::string FileSystemText(const CardFolderFacts& facts) {
  switch (facts.Format) {
    case CardFormat::Fat: {
      const std::uint64_t clusters = facts.TotalBytes / std::max<std::uint64_t>(facts.UnitBytes, 1);
      return clusters <= kMostFat12Clusters   ? "FAT12"
             : clusters <= kMostFat16Clusters ? "FAT16"
                                              : "FAT32";
    }
    case CardFormat::ExFat:
      return "exFAT";
    case CardFormat::Other:
      break;
  }
  return facts.FileSystem.empty() ? "an unknown file system" : facts.FileSystem;
}

std::string CardFolderText(const CardFolderFacts& card) {
  const char* unit = card.Format == CardFormat::Other ? "blocks" : "clusters";
  return FileSystemText(card) + ", " + SizeText(card.TotalBytes) + ", " + SizeText(card.FreeBytes) +
         " free, " + unit + " of " + GroupedDigits(card.UnitBytes) + " bytes";
}

bool SameCardName(std::string_view a, std::string_view b, bool ignoresCase) {
  if (!ignoresCase) return a == b;
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Upper(x) == Upper(y); });
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    // "36 35 98:0 /root /mnt/a rw,noatime master:1 - ext3 /dev/root rw,errors=continue"
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint, options, field;
    if (!(fields >> id >> parent >> device >> root >> mountPoint >> options)) continue;
    while (fields >> field && field != "-") {
    }
    MountEntry entry;
    std::string source;
    if (field != "-" || !(fields >> entry.Type >> source)) continue;
    const auto colon = device.find(':');
    if (colon == std::string::npos) continue;
    try {
      entry.Major = std::stoull(device.substr(0, colon));
      entry.Minor = std::stoull(device.substr(colon + 1));
    } catch (const std::exception&) {
      continue;
    }
    entry.MountPoint = Unescaped(mountPoint);
    entry.Source = Unescaped(source);
    if (root != "/") entry.MountPoint.clear();  // a folder of a volume mounted on its own
    entries.push_back(std::move(entry));
  }
  return entries;
}

int DirectoryEntriesFor(std::string_view name, CardFormat format) {
  const auto length = static_cast<int>(Utf16Length(name));
  switch (format) {
    case CardFormat::Fat:
      return IsPlainShortName(name) ? 1 : 1 + (length + 12) / 13;
    case CardFormat::ExFat:
      return 2 + (length + 14) / 15;
    case CardFormat::Other:
      break;
  }
  return 1;
}

#ifdef _WIN32

CardFolderFacts ExamineCardFolder(const std::string& folder, const std::vector<std::string>&) {
  CardFolderFacts facts;
  facts.IgnoresCase = true;  // the system's own rule for names
  std::error_code error;
  const auto space = fs::space(PathOf(folder), error);
  facts.TotalBytes = space.capacity;
  facts.FreeBytes = space.available;
  return facts;
}

#else

CardFolderFacts ExamineCardFolder(const std::string& folder,
                                  const std::vector<std::string>& names) {
  CardFolderFacts facts;
  const std::string at = WithSeparator(folder);
  struct stat status {};
  struct statvfs system {};
  if (stat(at.c_str(), &status) != 0 || statvfs(at.c_str(), &system) != 0) return facts;
  facts.Device = static_cast<std::uint64_t>(status.st_dev);
  const std::uint64_t fragment = system.f_frsize ? system.f_frsize : system.f_bsize;
  facts.TotalBytes = static_cast<std::uint64_t>(system.f_blocks) * fragment;
  facts.FreeBytes = static_cast<std::uint64_t>(system.f_bavail) * fragment;

  const auto mount = MountOf(at, status.st_dev);
  if (mount) {
    facts.FileSystem = mount->Type;
    if (mount->Type == "fuseblk") {
      const std::string held = UdevFileSystem(mount->Source);
      if (!held.empty()) facts.FileSystem = held;
    }
  }
  facts.Format = FormatOf(facts.FileSystem);
  // FAT and exFAT tell their cluster through the block size, the fragment size, or (FUSE) the
  // preferred size of a transfer; other file systems allocate in fragments.
  facts.UnitBytes = std::max<std::uint64_t>(fragment, 1);
  if (facts.Format != CardFormat::Other) {
    facts.UnitBytes = std::max<std::uint64_t>(
        {facts.UnitBytes, system.f_bsize, static_cast<std::uint64_t>(status.st_blksize)});
  }
  const bool volumeRoot =
      mount && !mount->MountPoint.empty() && IdentityOf(mount->MountPoint) == IdentityOf(at);
  if (facts.Format == CardFormat::Fat && volumeRoot &&
      facts.TotalBytes / facts.UnitBytes <= kMostFat16Clusters) {
    facts.FixedEntries = kFixedRootEntries;
  }
  const auto probed = ProbeCase(at, names);
  facts.IgnoresCase = probed ? *probed : facts.Format != CardFormat::Other;
  return facts;
}

#endif

}  // namespace pwx

#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "common/tests/TempFolder.h"

// Skips the test, saying why, where no FAT card can be mounted here.
#define PWX_SKIP_WITHOUT_FAT(card) \
  if (!(card).Mounted()) GTEST_SKIP() << "skipped: " << (card).WhyNot()

namespace pwx::testing {

// A real FAT card for a test: an image made with mkfs.vfat in a temporary folder, mounted
// through the kernel (a loop mount, where the kernel has vfat and the test runs as root) or
// through fusefat, and unmounted at the end. Where neither works, Mounted() is false and
// WhyNot() says why, for the test to skip.
struct FatFormat {
  int Megabytes = 64;
  int FatBits = 0;            // 12, 16 or 32; 0 lets mkfs.vfat choose
  int SectorsPerCluster = 0;  // of 512 bytes; 0 lets mkfs.vfat choose
};

class FatCard {
 public:
  explicit FatCard(FatFormat format = FatFormat()) {
    image_ = folder_ / "card.img";
    mountPoint_ = folder_ / "CARD";
    std::filesystem::create_directory(mountPoint_);
    { std::ofstream(image_, std::ios::binary).flush(); }
    std::filesystem::resize_file(image_, static_cast<std::uintmax_t>(format.Megabytes) << 20);
    std::string make = "mkfs.vfat";
    if (format.FatBits) make += " -F " + std::to_string(format.FatBits);
    if (format.SectorsPerCluster) make += " -s " + std::to_string(format.SectorsPerCluster);
    // No volume label: fusefat would list it as a file.
    if (!Run(make + " " + Quoted(image_))) {
      whyNot_ = "mkfs.vfat (dosfstools) cannot make a FAT image here";
      return;
    }
    if (KernelHasVfat() && geteuid() == 0 &&
        Run("mount -t vfat -o loop " + Quoted(image_) + " " + Quoted(mountPoint_)) &&
        WaitForMount()) {
      unmount_ = "umount " + Quoted(mountPoint_);
      return;
    }
    // fusefat tells about the volume on stdout as it mounts: kept out of the test's output.
    if (Run("fusefat -o rw+ " + Quoted(image_) + " " + Quoted(mountPoint_)) && WaitForMount()) {
      unmount_ = "fusermount -u " + Quoted(mountPoint_);
      return;
    }
    whyNot_ =
        "neither a loop mount (the kernel has no vfat, or not root) nor fusefat (FUSE) can "
        "mount a FAT image here";
  }

  ~FatCard() {
    if (unmount_.empty()) return;
    for (int attempt = 0; attempt < 50; ++attempt) {
      if (Run(unmount_)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    Run(unmount_ + (unmount_.rfind("fusermount", 0) == 0 ? "z" : " -l"));  // lazily, at last
  }
  FatCard(const FatCard&) = delete;
  FatCard& operator=(const FatCard&) = delete;

  bool Mounted() const { return !unmount_.empty(); }
  const std::string& WhyNot() const { return whyNot_; }
  // The card's root folder.
  std::string Path() const { return mountPoint_; }
  std::string operator/(const std::string& name) const { return mountPoint_ + "/" + name; }

 private:
  static std::string Quoted(const std::string& path) {
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
  }
  static bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
  }
  static bool KernelHasVfat() {
    std::ifstream systems("/proc/filesystems");
    std::string line;
    while (std::getline(systems, line)) {
      if (line.find("\tvfat") != std::string::npos) return true;
    }
    return false;
  }
  // The mount point is a mount once its device differs from its parent's.
  bool WaitForMount() const {
    for (int attempt = 0; attempt < 50; ++attempt) {
      struct stat point {
      }, parent{};
      if (stat(mountPoint_.c_str(), &point) == 0 && stat(folder_.Path().c_str(), &parent) == 0 &&
          point.st_dev != parent.st_dev) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  TempFolder folder_;
  std::string image_;
  std::string mountPoint_;
  std::string unmount_;
  std::string whyNot_;
};

}  // namespace pwx::testing

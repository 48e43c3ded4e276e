#include "common/Sha256.h"

#include <openssl/evp.h>

#include <vector>

#include "common/EditorError.h"
#include "common/FileReading.h"

namespace pwx {

namespace {
constexpr std::size_t kHashChunkBytes = 256 * 1024;
}

struct Sha256::Context {
  EVP_MD_CTX* md = nullptr;
};

Sha256::Sha256() : context_(std::make_unique<Context>()) {
  context_->md = EVP_MD_CTX_new();
  if (!context_->md || EVP_DigestInit_ex(context_->md, EVP_sha256(), nullptr) != 1) {
    EVP_MD_CTX_free(context_->md);
    throw EditorError("The SHA-256 hash cannot start.");
  }
}

Sha256::~Sha256() {
  EVP_MD_CTX_free(context_->md);
}

void Sha256::Update(std::string_view bytes) {
  EVP_DigestUpdate(context_->md, bytes.data(), bytes.size());
}

Sha256Digest Sha256::Finish() {
  Sha256Digest digest{};
  unsigned size = 0;
  EVP_DigestFinal_ex(context_->md, digest.data(), &size);
  return digest;
}

std::string HexText(const Sha256Digest& digest) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * digest.size());
  for (const std::uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

Sha256Digest HashFile(const std::string& path, const FileHashing& how) {
  InputFile file(path);
  return HashOpenFile(file, how);
}

Sha256Digest Sha256Of(std::string_view bytes) {
  Sha256 hash;
  hash.Update(bytes);
  return hash.Finish();
}

Sha256Digest HashOpenFile(InputFile& file, const FileHashing& how) {
  if (how.FromDevice) file.DropCachedPages();
  Sha256 hash;
  std::vector<char> buffer(kHashChunkBytes);
  std::uint64_t done = 0;
  while (const std::size_t got = file.Read(buffer.data(), buffer.size())) {
    hash.Update(std::string_view(buffer.data(), got));
    done += got;
    how.Work.Report(done, file.Size(), kHashingStep);
    if (how.Work.Cancelled()) throw EditorError("Cancelled.");
  }
  return hash.Finish();
}

}  // namespace pwx

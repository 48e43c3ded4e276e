#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "common/tests/TempFolder.h"

namespace pwx::testing {

// Compares the diagnostic trace of a flow, whole, with the golden file beside the tests
// (golden/<name>.txt), the start folder written as "<start>". With PWX_UPDATE_GOLDEN=1 in the
// environment the file is written anew from the trace instead, to be reviewed as a diff.
inline void ExpectGoldenTrace(const std::string& name, const std::vector<std::string>& trace,
                              const std::string& startFolder) {
  std::vector<std::string> lines;
  for (std::string line : trace) {
    for (auto at = line.find(startFolder); at != std::string::npos; at = line.find(startFolder)) {
      line.replace(at, startFolder.size(), "<start>");
    }
    lines.push_back(line);
  }
  const std::string path = std::string(PWX_GOLDEN_DIR) + "/" + name + ".txt";
  if (std::getenv("PWX_UPDATE_GOLDEN")) {
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : lines) out << line << '\n';
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no golden trace " << path << " (run with PWX_UPDATE_GOLDEN=1)";
  std::vector<std::string> golden;
  for (std::string line; std::getline(in, line);) golden.push_back(line);
  for (std::size_t i = 0; i < std::max(golden.size(), lines.size()); ++i) {
    const std::string expected = i < golden.size() ? golden[i] : "(no line)";
    const std::string actual = i < lines.size() ? lines[i] : "(no line)";
    ASSERT_EQ(actual, expected) << name << ".txt, line " << i + 1;
  }
}

}  // namespace pwx::testing

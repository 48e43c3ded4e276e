// Writes the manual page or the bash completion of pwx36-editor from its command tables, at
// build time:  pwx36-editor-docs man|completion FILE
#include <fstream>
#include <iostream>
#include <string>

#include "commands/BashCompletion.h"
#include "commands/ManPage.h"

int main(int argc, char* argv[]) {
  const std::string what = argc == 3 ? argv[1] : "";
  if (what != "man" && what != "completion") {
    std::cerr << "usage: pwx36-editor-docs man|completion FILE\n";
    return 2;
  }
  const std::string text = what == "man" ? pwx::ManPage(PWX_RELEASE_DATE) : pwx::BashCompletion();
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) {
    std::cerr << "pwx36-editor-docs: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}

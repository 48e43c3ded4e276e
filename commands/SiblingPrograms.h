#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pwx {

// The window and the PDF renderer are programs of their own, beside this one in a build and
// in the package's private folder when installed (lib/pwx36-editor/ next to bin/), so that a
// command line starts without loading the libraries of a window.

inline constexpr const char* kWindowProgram = "pwx36-editor-window";
inline constexpr const char* kPdfRendererProgram = "pwx36-editor-pdf";

// The path of the program of that name: in this program's folder, else in the private folder
// of the installed package; nothing when neither holds it.
std::optional<std::string> SiblingProgram(const std::string& name);

// Replaces this process with the window, given `arguments`; returns only when that fails,
// with the exit status after saying why on standard error.
int StartWindow(const std::vector<std::string>& arguments);

// Lays out a report's HTML as a PDF in the renderer program; nothing, and why on `why`,
// when it cannot.
std::optional<std::string> RenderPdfWithProgram(const std::string& html, const std::string& title,
                                                const std::string& creator, std::string& why);

}  // namespace pwx

#pragma once

#include <string>
#include <string_view>

namespace pwx {

// Text set into a report's HTML: its markup characters written as entities.
std::string HtmlEscaped(std::string_view text);

// A field of a report's CSV, quoted when it holds a separator, a quote or a line end.
std::string CsvField(const std::string& text);

}  // namespace pwx

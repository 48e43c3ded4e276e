#pragma once

#include <string>
#include <string_view>

namespace pwx {

// Text set into a report's HTML: its markup characters written as entities.
std::string HtmlEscaped(std::string_view text);

// The opening of a report's table: full width, thin black rules.
inline constexpr const char* kReportTable =
    "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
    "style=\"border-collapse: collapse; border-color: black;\">";

// A field of a report's CSV, quoted when it holds a separator, a quote or a line end.
std::string CsvField(const std::string& text);

}  // namespace pwx

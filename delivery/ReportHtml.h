#pragma once

#include <string>

#include "delivery/CommissioningReport.h"

namespace pwx {

// The commissioning report as one HTML page for a printed document: black on white, the
// sections in the order a hand-over reads them (title, player settings, alarm table, clips
// and files with their SHA-256, the check, the sign-off). Every text from the project is
// escaped.
std::string CommissioningReportHtml(const CommissioningReport& report);

}  // namespace pwx

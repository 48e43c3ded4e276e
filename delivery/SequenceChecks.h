#pragma once

#include <vector>

#include "delivery/ProjectCheck.h"

namespace pwx {

// A first sound later than this after the trigger of an input that switches the alarm output
// is warned of.
inline constexpr double kLatestFirstSoundSeconds = 3.0;

// The findings about what the inputs of the current mode play when they fire: a trigger that
// plays longer than the options' limit, an input that switches the alarm output and stays
// silent too long first. Inputs whose clips cannot be timed are left to the clips' findings.
void CheckSequences(const ProjectSnapshot& project, const CheckOptions& options,
                    std::vector<Finding>& findings);

}  // namespace pwx

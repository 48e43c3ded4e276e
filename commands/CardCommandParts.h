#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "commands/CardCommands.h"
#include "commands/CommandTable.h"
#include "common/JsonValue.h"
#include "delivery/CardPlan.h"

namespace pwx {

// What deploy and compare share: the request made of their words, the plan, and the card
// and plan as JSON.

CardCommandRequest CardRequestOf(const CommandInput& input, const CommandContext& context);

// The arguments both take.
const std::vector<ArgumentDefinition>& CardCommandArguments();

// The project folder the plan is made from, ending with a separator.
std::string ProjectFolderOf(const ProjectSnapshot& project);

// The plan, or nothing when it cannot be made (said on `err`, a cancel too).
std::optional<DeployPlan> MakeCardPlan(const ProjectSnapshot& project,
                                       const CardCommandRequest& request, FileHashCache* cache,
                                       std::ostream& err);

// The card's file system and room.
JsonValue CardJson(const DeployPlan& plan);

// The plan: every player file, what else is on the card, the room, a refusal or warning.
JsonValue PlanJson(const DeployPlan& plan);

}  // namespace pwx

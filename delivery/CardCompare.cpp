#include <algorithm>

#include "delivery/CardPlan.h"

// How a card compares with the project, and with a plan made of it before.
namespace pwx {

namespace {

std::vector<std::string> NamesOf(const std::vector<CardEntry>& entries) {
  std::vector<std::string> names;
  for (const CardEntry& entry : entries) names.push_back(entry.Name);
  return names;
}

}  // namespace

std::optional<std::string> HowTheCardChanged(const DeployPlan& reviewed, const DeployPlan& now,
                                             bool deleting) {
  if (now.Card.Device != reviewed.Card.Device) return "another card is in its place";
  if (now.Refusal && !reviewed.Refusal) return *now.Refusal;
  if (now.Files.size() != reviewed.Files.size()) return "the project's files are not the same";
  for (std::size_t i = 0; i < now.Files.size(); ++i) {
    const PlayerFile& a = reviewed.Files[i];
    const PlayerFile& b = now.Files[i];
    if (a.Name != b.Name || a.Digest != b.Digest) return a.Name + " changed in the project";
    if (a.UpToDate != b.UpToDate || a.OnCard != b.OnCard || a.CardBytes != b.CardBytes) {
      return a.Name + " changed on the card";
    }
  }
  if (deleting && (NamesOf(now.Stale) != NamesOf(reviewed.Stale) ||
                   NamesOf(now.ClutterFiles()) != NamesOf(reviewed.ClutterFiles()))) {
    return "the files to delete are not the same";
  }
  return std::nullopt;
}

std::string CardStateText(CardState state) {
  switch (state) {
    case CardState::Same:
      return "same";
    case CardState::Differs:
      return "differs";
    case CardState::MissingOnCard:
      return "missing on card";
    case CardState::OnlyOnCard:
      break;
  }
  return "only on card";
}

std::vector<CardComparison> CompareWithCard(const DeployPlan& plan) {
  std::vector<CardComparison> comparison;
  for (const PlayerFile& file : plan.Files) {
    comparison.push_back({file.Name, file.UpToDate ? CardState::Same
                                     : file.OnCard ? CardState::Differs
                                                   : CardState::MissingOnCard});
  }
  for (const StaleClip& clip : plan.Stale) comparison.push_back({clip.Name, CardState::OnlyOnCard});
  return comparison;
}

bool CardHoldsProject(const DeployPlan& plan, const std::vector<CardComparison>& comparison) {
  return plan.MissingInProject.empty() &&
         std::all_of(comparison.begin(), comparison.end(),
                     [](const CardComparison& c) { return c.State == CardState::Same; });
}

std::string ComparisonSummary(const std::vector<CardComparison>& comparison) {
  int counts[4] = {};
  for (const auto& item : comparison) ++counts[static_cast<int>(item.State)];
  std::string summary = "Compare: " + std::to_string(counts[0]) + " same";
  if (counts[1] > 0)
    summary += ", " + std::to_string(counts[1]) + (counts[1] == 1 ? " differs" : " differ");
  if (counts[2] > 0) summary += ", " + std::to_string(counts[2]) + " missing on card";
  if (counts[3] > 0) summary += ", " + std::to_string(counts[3]) + " only on card";
  return summary;
}

}  // namespace pwx

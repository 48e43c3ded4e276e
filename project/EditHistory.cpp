#include "project/EditHistory.h"

#include <algorithm>

namespace pwx {

namespace {

std::string Shown(const std::string& value) {
  return value.empty() ? "(empty)" : value;
}

}  // namespace

bool MergesWhileTyping(EditedField field) {
  return field != EditedField::Clip && field != EditedField::AlarmOutput;
}

std::string FieldEdit::Text() const {
  return Name + ": " + Shown(Before) + " -> " + Shown(After);
}

void EditHistory::Record(const FieldEdit& edit) {
  if (open_ && !done_.empty() && done_.back().SameField(edit)) {
    FieldEdit& step = done_.back();
    step.After = edit.After;
    if (step.After == step.Before) {
      // Typed back to where the run began: nothing was changed.
      done_.pop_back();
      open_ = false;
    }
    return;
  }
  open_ = false;
  if (edit.Before == edit.After) return;
  undone_.clear();
  done_.push_back(edit);
  if (done_.size() > kMaxSteps) done_.pop_front();
  open_ = MergesWhileTyping(edit.Field);
}

std::string EditHistory::UndoText() const {
  return done_.empty() ? std::string() : "Undo " + done_.back().Text();
}

std::string EditHistory::RedoText() const {
  return undone_.empty() ? std::string() : "Redo " + undone_.back().Text();
}

std::optional<FieldEdit> EditHistory::Undo() {
  open_ = false;
  if (done_.empty()) return std::nullopt;
  FieldEdit step = done_.back();
  done_.pop_back();
  undone_.push_back(step);
  return step;
}

std::optional<FieldEdit> EditHistory::Redo() {
  open_ = false;
  if (undone_.empty()) return std::nullopt;
  FieldEdit step = undone_.back();
  undone_.pop_back();
  done_.push_back(step);
  return step;
}

void EditHistory::Clear() {
  done_.clear();
  undone_.clear();
  open_ = false;
}

void EditHistory::ForgetClip(const std::string& clip) {
  const auto names = [&clip](const FieldEdit& step) {
    return step.Field == EditedField::Clip && (step.Before == clip || step.After == clip);
  };
  done_.erase(std::remove_if(done_.begin(), done_.end(), names), done_.end());
  undone_.erase(std::remove_if(undone_.begin(), undone_.end(), names), undone_.end());
  open_ = false;
}

}  // namespace pwx

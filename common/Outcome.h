#pragma once

#include <string>
#include <utility>

namespace pwx {

// How work that may be refused or cancelled ended: done, cancelled by the user, or refused
// with the sentence that says why ("File Size > then Buffer 10MB"). These are expected ends,
// told by value; a failure the user did not see coming is raised as an EditorError instead.
class Outcome {
 public:
  enum class Kind { Done, Cancelled, Refused };

  static Outcome Done() { return Outcome(Kind::Done, {}); }
  static Outcome Cancelled() { return Outcome(Kind::Cancelled, {}); }
  static Outcome Refused(std::string why) { return Outcome(Kind::Refused, std::move(why)); }

  Kind What() const { return kind_; }
  bool IsDone() const { return kind_ == Kind::Done; }
  bool IsCancelled() const { return kind_ == Kind::Cancelled; }
  bool IsRefused() const { return kind_ == Kind::Refused; }
  // Why it was refused; empty when it was not.
  const std::string& Why() const { return why_; }

  bool operator==(const Outcome&) const = default;

 private:
  Outcome(Kind kind, std::string why) : kind_(kind), why_(std::move(why)) {}

  Kind kind_;
  std::string why_;
};

}  // namespace pwx

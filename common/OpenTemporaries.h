#pragma once

#include <filesystem>

namespace pwx {

// The temporaries that file replacements of this process hold open, noted where a signal
// handler can reach them: a process that has to end at once (a second Ctrl+C) removes them
// first, so that no half-written file stays beside a project file or on a card. A few dozen
// can be noted at a time; one that finds no room is only left to the next run's clean-up.

// Notes a temporary just created; returns its place in the table, or -1 when not noted.
int NoteOpenTemporary(const std::filesystem::path& temporary) noexcept;

// Forgets a temporary that was renamed into place or removed.
void ForgetOpenTemporary(int place) noexcept;

// Removes every temporary still noted. Safe to call from a signal handler: it only reads the
// table and unlinks.
void RemoveOpenTemporaries() noexcept;

}  // namespace pwx

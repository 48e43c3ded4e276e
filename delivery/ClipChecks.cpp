#include "delivery/ClipChecks.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include "audio/ClipFiles.h"
#include "audio/ClipProbe.h"
#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/SourceComparison.h"

namespace pwx {

namespace {

// A copy up to twice the player's limit is decoded whole, to say what it is besides too
// large; of a larger one nothing is read.
constexpr std::uint64_t kLargestCopyRead = 2 * static_cast<std::uint64_t>(kMaxClipBytes);

std::string SecondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

std::string WhyNotPlayable(const ClipFacts& facts) {
  if (facts.Bytes == 0) return "is empty";
  if (!facts.Container.empty()) return "is a " + facts.Container + " file, not MP3";
  if (facts.Frames > 0 && !facts.FramesAccountForFile()) {
    const auto percent = facts.AudioBytes * 100 / facts.Bytes;
    return "is no MP3: MPEG audio frames make up only " + std::to_string(percent) +
           "% of its bytes";
  }
  if (facts.Frames > 0) {
    return "is MPEG audio Layer " + std::to_string(facts.Layer) + ", not Layer III";
  }
  return "holds no MP3 audio the player can play";
}

std::string TooLargeText(const std::string& file, const ClipFacts& facts) {
  return file + " is " + GroupedDigits(facts.Bytes) + " bytes, more than the " +
         GroupedDigits(static_cast<std::uint64_t>(kMaxClipBytes)) +
         " bytes the player can hold, so it never plays; import a shorter clip." +
         (facts.Unread ? " A copy this large is not decoded." : "");
}

std::string DamageText(const std::string& file, const ClipFacts& facts) {
  const DecodeProblem& first = facts.Problems.front();
  const std::string where =
      " at byte " + GroupedDigits(first.ByteOffset) + " (" + SecondsText(first.Seconds) + ")";
  std::string text;
  switch (first.What) {
    case DecodeProblem::Kind::LostSync:
      text = file + " is damaged: the decoder loses the frame sync" + where;
      break;
    case DecodeProblem::Kind::TruncatedLastFrame:
      text = file + " is cut short: it ends inside a frame" + where;
      break;
    case DecodeProblem::Kind::DecoderError:
      text = file + " is damaged: the decoder gives up" + where;
      break;
    case DecodeProblem::Kind::NotAudio:
      text = file + " is damaged: it holds bytes that are no MPEG audio" + where;
      break;
  }
  if (facts.Problems.size() > 1) {
    text += ", and in " + std::to_string(facts.Problems.size() - 1) + " more place" +
            (facts.Problems.size() > 2 ? "s" : "");
  }
  return text + "; the player may skip or stop there. Import the clip again.";
}

std::string FormatText(const std::string& file, const ClipFacts& facts) {
  return file + ": MPEG-" + facts.MpegVersion + " Layer III, " +
         GroupedDigits(static_cast<std::uint64_t>(facts.SampleRate)) + " Hz, " +
         (facts.Channels == 1 ? "mono" : "stereo") + ", " +
         (facts.VariableBitRate ? "variable" : "constant") + " bit rate, " +
         SecondsText(facts.Seconds()) + ".";
}

// Everything about one occupied clip, in the order a reader wants it.
std::vector<Finding> CheckOneClip(const ProjectSnapshot& project, int clip,
                                  const CheckOptions& options, CopyFacts& copy) {
  const AudioEntry& entry = project.Project.Library.Entry(clip);
  const std::string path = ProjectCopyPath(project.WorkDir, clip);
  const std::string file = ClipFileName(clip);
  std::vector<Finding> found;
  auto add = [&](Severity level, const char* code, std::string message) {
    found.push_back(Finding{level, code, clip, {}, -1, 0, file, std::move(message)});
  };
  const std::string clipName = "Clip " + ThreeDigits(clip) + " \"" + entry.Short_FN + "\"";
  if (!EntryExists(path)) {
    add(Severity::Error, "copy-missing",
        clipName + " has no copy " + file + " in the project folder; import it again.");
    return found;
  }
  try {
    InputFile input(path);
    // The source is read beside the copy, so that the copy is read once.
    SourceReading source(entry.Full_FN);
    ProbeFileOptions probing;
    probing.Cancel = options.Work.Cancel;
    probing.Depth = options.Depth;
    probing.MaxBytes = kLargestCopyRead;
    std::optional<Sha256> hash;
    if (options.Copies) hash.emplace();
    probing.AlsoSee = [&](std::string_view piece) {
      if (hash) hash->Update(piece);
      source.See(piece);
    };
    const ClipFacts facts = ProbeClipFile(input, probing);
    copy.Readable = true;
    copy.Facts = facts;
    if (hash) copy.Digest = hash->Finish();
    if (facts.Bytes > static_cast<std::uint64_t>(kMaxClipBytes)) {
      add(Severity::Error, "copy-too-large", TooLargeText(file, facts));
    }
    if (facts.Unread) return found;
    if (!facts.PlayableMp3()) {
      add(Severity::Error, "copy-undecodable",
          file + " " + WhyNotPlayable(facts) + "; import " + clipName + " again from an MP3 file.");
      return found;
    }
    if (!facts.Problems.empty()) add(Severity::Warning, "copy-damaged", DamageText(file, facts));
    add(Severity::Info, "copy-format", FormatText(file, facts));
    source.Finish();
    if (auto about = SourceFinding(clip, input.Stamp(), facts, source)) {
      found.push_back(std::move(*about));
    }
  } catch (const EditorError& error) {
    // A copy that vanished since it was seen is missing; any other is unreadable.
    if (!EntryExists(path)) {
      add(Severity::Error, "copy-missing",
          clipName + " has no copy " + file + " in the project folder; import it again.");
    } else {
      add(Severity::Error, "copy-undecodable",
          file + " cannot be read (" + error.what() + "); import " + clipName + " again.");
    }
  }
  return found;
}

std::vector<Finding> CheckStray(const ProjectSnapshot& project, int clip) {
  const std::string file = ClipFileName(clip);
  if (!PathExists(ProjectCopyPath(project.WorkDir, clip))) return {};
  return {Finding{Severity::Warning,
                  "copy-stray",
                  clip,
                  {},
                  -1,
                  0,
                  file,
                  file + " is in the project folder but clip " + ThreeDigits(clip) +
                      " is free, so the player never plays it; delete it, or import a clip "
                      "into row " +
                      ThreeDigits(clip) + "."}};
}

}  // namespace

std::vector<Finding> ClipCopyErrors(const ProjectSnapshot& project, int clip) {
  CheckOptions options;
  options.Depth = ProbeDepth::Scan;
  CopyFacts copy;
  std::vector<Finding> errors = CheckOneClip(project, clip, options, copy);
  std::erase_if(errors, [](const Finding& f) { return f.Level != Severity::Error; });
  return errors;
}

std::vector<Finding> CheckClips(const ProjectSnapshot& project, const CheckOptions& options) {
  std::vector<int> occupied;
  for (int clip = 1; clip <= kLibrarySize; ++clip) {
    if (project.Project.Library.Entry(clip).Occupied()) occupied.push_back(clip);
  }
  std::vector<std::vector<Finding>> perClip(kLibrarySize + 1);
  std::vector<CopyFacts> copies(kLibrarySize + 1);
  std::atomic<std::size_t> next{0};
  std::mutex progressLock;
  std::uint64_t done = 0;
  const std::string step =
      options.Depth == ProbeDepth::Decode ? "Decoding the clips" : "Reading the clips";
  auto work = [&] {
    for (std::size_t i = next++; i < occupied.size(); i = next++) {
      if (options.Work.Cancelled()) return;
      const int clip = occupied[i];
      auto& copy = copies[static_cast<std::size_t>(clip)];
      copy.Clip = clip;
      perClip[static_cast<std::size_t>(clip)] = CheckOneClip(project, clip, options, copy);
      const std::lock_guard lock(progressLock);
      ++done;
      options.Work.Report(done, occupied.size(), step, ProgressUnit::Items);
    }
  };
  const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t threads = std::min<std::size_t>(
      options.Threads > 0 ? static_cast<std::size_t>(options.Threads) : processors,
      std::max<std::size_t>(1, occupied.size()));
  std::vector<std::thread> workers;
  for (std::size_t t = 1; t < threads; ++t) workers.emplace_back(work);
  work();
  for (auto& worker : workers) worker.join();

  if (options.Copies) {
    for (int clip : occupied) options.Copies->push_back(copies[static_cast<std::size_t>(clip)]);
  }
  std::vector<Finding> findings;
  for (int clip = 1; clip <= kLibrarySize; ++clip) {
    const bool isOccupied = project.Project.Library.Entry(clip).Occupied();
    const auto& these =
        isOccupied ? perClip[static_cast<std::size_t>(clip)] : CheckStray(project, clip);
    findings.insert(findings.end(), these.begin(), these.end());
  }
  return findings;
}

}  // namespace pwx

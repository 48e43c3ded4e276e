#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace pwx::testing {

// A file made by assets/intake/make-intake-fixtures.sh.
inline std::string IntakeFixture(const std::string& name) {
  return std::string(PWX_INTAKE_FIXTURES) + "/" + name;
}

// Writes a 16-bit PCM WAV file of interleaved samples (full scale ±1), for sounds the
// fixtures do not have.
inline void WriteWav16(const std::string& path, int rate, int channels,
                       const std::vector<float>& samples) {
  const auto le = [](std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  le(out, 36 + dataBytes, 4);
  out << "WAVEfmt ";
  le(out, 16, 4);
  le(out, 1, 2);
  le(out, static_cast<std::uint32_t>(channels), 2);
  le(out, static_cast<std::uint32_t>(rate), 4);
  le(out, static_cast<std::uint32_t>(rate * channels * 2), 4);
  le(out, static_cast<std::uint32_t>(channels * 2), 2);
  le(out, 16, 2);
  out << "data";
  le(out, dataBytes, 4);
  for (const float sample : samples) {
    const float clamped = sample > 1 ? 1 : (sample < -1 ? -1 : sample);
    le(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(clamped * 32767)), 2);
  }
}

// Integrated loudness and true peak as ffmpeg's EBU R 128 filter measures them: a meter that
// shares no code with the editor's.
struct IndependentLoudness {
  double Lufs = 0;
  double PeakDbtp = 0;
};

// Runs ffmpeg on the file, after the filters given (ending in a comma); none when ffmpeg is
// missing or says nothing usable.
inline std::optional<IndependentLoudness> MeasureWithFfmpeg(const std::string& path,
                                                            const std::string& filters = "") {
  const std::string command = "ffmpeg -nostats -hide_banner -i '" + path + "' -af " + filters +
                              "ebur128=peak=true -f null - 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string output;
  char buffer[4096];
  while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
    output.append(buffer, got);
  }
  pclose(pipe);
  const auto summary = output.rfind("Summary:");
  if (summary == std::string::npos) return std::nullopt;
  const auto valueAfter = [&](const std::string& label) -> std::optional<double> {
    const auto at = output.find(label, summary);
    if (at == std::string::npos) return std::nullopt;
    return std::stod(output.substr(at + label.size()));
  };
  const auto lufs = valueAfter("I:");
  const auto peak = valueAfter("Peak:");
  if (!lufs || !peak) return std::nullopt;
  return IndependentLoudness{*lufs, *peak};
}

}  // namespace pwx::testing

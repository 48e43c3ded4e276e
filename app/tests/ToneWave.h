#pragma once

// A long sound for the tests that stop long work: a gliding mono tone as 16-bit WAV.

#include <QByteArray>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace pwx::apptest {

inline QByteArray ToneWave(int seconds) {
  constexpr int kRate = 44100;
  const int frames = kRate * seconds;
  QByteArray wave(44 + 2 * frames, '\0');
  auto put32 = [&](int at, quint32 value) { qToLittleEndian(value, wave.data() + at); };
  auto put16 = [&](int at, quint16 value) { qToLittleEndian(value, wave.data() + at); };
  wave.replace(0, 4, "RIFF");
  put32(4, static_cast<quint32>(wave.size() - 8));
  wave.replace(8, 8, "WAVEfmt ");
  put32(16, 16);
  put16(20, 1);  // PCM
  put16(22, 1);  // mono
  put32(24, kRate);
  put32(28, kRate * 2);
  put16(32, 2);
  put16(34, 16);
  wave.replace(36, 4, "data");
  put32(40, static_cast<quint32>(2 * frames));
  for (int i = 0; i < frames; ++i) {
    const double sample = 8000 * std::sin(2 * std::numbers::pi * (220 + i % 661) * i / kRate);
    put16(44 + 2 * i, static_cast<quint16>(static_cast<qint16>(sample)));
  }
  return wave;
}

}  // namespace pwx::apptest

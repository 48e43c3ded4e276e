#pragma once

#include <QDir>
#include <QString>
#include <string>

namespace pwx {

// The core's UTF-8 texts as Qt's strings.
inline QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

// A path as the core takes it: UTF-8 with the platform's separators.
inline std::string NativePath(const QString& path) {
  return QDir::toNativeSeparators(path).toStdString();
}

}  // namespace pwx

#pragma once

#include <QString>

class QWidget;

namespace pwx {

// The name the program goes by in its boxes and on the desktop.
inline constexpr const char* kDisplayName = "PWX36 Editor";
// The desktop entry the window belongs to, without ".desktop".
inline constexpr const char* kDesktopFileName = "io.pwx36.editor";

// The About box's text: the version, the libraries the program uses with their licences, and
// links to the README's sections on working in the window, importing and the card.
QString AboutText(const QString& version);

// Shows the About box over `parent`.
void ShowAbout(QWidget* parent);

}  // namespace pwx

// The look shared by the program's windows: the monospaced dialog font and the icon.
#pragma once
#include <QFont>
#include <QIcon>

namespace tarnwick {

// "Courier" (or the system's monospaced face where there is no Courier) at pointSize.
QFont windowFont(int pointSize = 10);

// The application icon, drawn at the usual sizes.
QIcon appIcon();

}  // namespace tarnwick

#pragma once

#include <QFont>

/// Window fonts, chosen by name so that the look does not depend on what else is installed:
/// Liberation Sans (Arial's metric twin) with Noto Naskh Arabic for the Arabic texts.
namespace UiFonts {
QFont sans(int pixelSize, bool bold = false);
} // namespace UiFonts

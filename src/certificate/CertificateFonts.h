#pragma once

#include "CertificateTemplate.h"

#include <QFont>
#include <QStringList>

class QPaintDevice;

/// The faces of the certificate, the same on every machine: Times New Roman and Arial are drawn by their
/// metric twins Liberation Serif and Liberation Sans, and Arabic letters by one named Arabic face.
namespace CertificateFonts {

/// The Arabic face that follows the Latin one in every font's family list.
QString arabicFamily();
/// The family list of a typeface: its Latin face, then the Arabic face.
QStringList families(CertificateTemplate::Typeface typeface);

/// The font of an object, sized for the layout device (96 per inch) and unhinted so that its advances
/// do not depend on the device that draws it.
QFont font(const CertificateTemplate::FontStyle& style);
/// Same, with an explicit family list (for measuring candidate faces and for tests on a fixed font).
QFont font(const QStringList& familyList, qreal pointSize, bool bold = false, bool underline = false);

/// The device every certificate text is measured and broken on: 96 pixels per inch, whatever draws it.
QPaintDevice* layoutDevice();

/// The em height of a point size in 96-per-inch pixels, plus the 2 px line spacing.
qreal lineHeight(qreal pointSize);

} // namespace CertificateFonts

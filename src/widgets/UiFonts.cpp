#include "UiFonts.h"

#include <QStringList>

namespace UiFonts {

QFont sans(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Noto Naskh Arabic")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace UiFonts

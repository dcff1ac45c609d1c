#include "UiFonts.h"

#include <QStringList>

namespace UiFonts {

QFont sans(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Noto Naskh Arabic")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Unhinted advances keep the texts at the widths the fixed layout was drawn for.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace UiFonts

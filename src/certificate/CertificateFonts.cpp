#include "CertificateFonts.h"

#include <QImage>
#include <cmath>

namespace CertificateFonts {

QString arabicFamily()
{
    return QStringLiteral("KacstBook");
}

QStringList families(CertificateTemplate::Typeface typeface)
{
    const QString latin = typeface == CertificateTemplate::Typeface::Sans ? QStringLiteral("Liberation Sans")
                                                                          : QStringLiteral("Liberation Serif");
    return {latin, arabicFamily()};
}

QFont font(const QStringList& familyList, qreal pointSize, bool bold, bool underline)
{
    QFont result;
    result.setFamilies(familyList);
    result.setPointSizeF(pointSize);
    result.setBold(bold);
    result.setUnderline(underline);
    result.setKerning(true);
    // Unhinted outlines keep advances fractional and identical on screen, printer and PDF.
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::PreferQuality));
    return QFont(result, layoutDevice());
}

QFont font(const CertificateTemplate::FontStyle& style)
{
    return font(families(style.typeface), style.pointSize, style.bold, style.underline);
}

QPaintDevice* layoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMetre = static_cast<int>(std::lround(96.0 / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return &device;
}

qreal lineHeight(qreal pointSize)
{
    // The em heights of the certificate's sizes as its pages were measured; other sizes follow 96/72.
    struct Known
    {
        qreal points;
        qreal emHeight;
    };
    static constexpr Known known[] = {{10, 13.28}, {13, 17.28}, {14, 18.72}, {16, 21.28}, {26, 34.72}};
    for (const Known& size : known) {
        if (qFuzzyCompare(size.points, pointSize))
            return size.emHeight + 2.0;
    }
    return pointSize * 96.0 / 72.0 + 2.0;
}

} // namespace CertificateFonts

#include "CertificateTemplate.h"

#include <array>

namespace CertificateTemplate {

namespace {

using Kind = PageObject::Kind;
using H = HorizontalAlignment;
using V = VerticalAlignment;

constexpr FontStyle serif(qreal points, bool bold = false, bool underline = false)
{
    return FontStyle{Typeface::Serif, points, bold, underline};
}

constexpr FontStyle sans(qreal points, bool bold = false, bool underline = false)
{
    return FontStyle{Typeface::Sans, points, bold, underline};
}

const QColor blue(0, 0, 255);

PageObject freeText(const char* name, QRectF box, FontStyle font, H horizontal, const QString& text)
{
    PageObject object;
    object.name = QString::fromLatin1(name);
    object.box = box;
    object.font = font;
    object.horizontal = horizontal;
    object.text = text;
    return object;
}

PageObject bound(const char* name, QRectF box, FontStyle font, H horizontal, Column column)
{
    PageObject object = freeText(name, box, font, horizontal, QString());
    object.boundColumn = column;
    return object;
}

PageObject line(const char* name, QPointF from, qreal length)
{
    PageObject object;
    object.kind = Kind::Line;
    object.name = QString::fromLatin1(name);
    object.box = QRectF(from, QSizeF(length, 0));
    return object;
}

PageObject vCentred(PageObject object)
{
    object.vertical = V::Centre;
    return object;
}

PageObject coloured(PageObject object, const QColor& colour)
{
    object.colour = colour;
    return object;
}

QString spaces(int count)
{
    return QString(count, QLatin1Char(' '));
}

// The footer advertises a free classified-ads site; the same address closes both pages.
const QString footerAddress = QStringLiteral("www.annonces-dz.com");

QList<PageObject> makePage1()
{
    const QRectF memo1(183.751855, 15.11812, 351.50, 37.80);
    return {
        coloured(
            freeText("Memo1", memo1, sans(16, true, true), H::Centre, QStringLiteral("ATTESTATION D'INSTALLATION")),
            blue),
        freeText("Memo2", {7.56, 137.94, 695.43, 102.05}, serif(14), H::Justified,
                 QStringLiteral("Nous soussignons M. VARNEK installateur G.P.L Certifions que le véhicule décrit "
                                "ci-desous a été vérifié conformément à l'arrête 31/08/1983 relatif aux conditions "
                                "d'equipement de surveillance et l'exploitation des installations G.P.L équipant les "
                                "véhicules automobiles.")),
        freeText("Memo3", {7.56, 260.79, 124.72, 30.24}, serif(14, true), H::Justified,
                 QStringLiteral("Appartenant :")),
        freeText("Memo4", {7.56, 313.70, 124.72, 22.68}, serif(14, true), H::Left, QStringLiteral("Véhicule N° :")),
        freeText("Memo5", {7.56, 362.83, 124.72, 26.46}, serif(14, true), H::Left, QStringLiteral("Marque :")),
        freeText("Memo6", {7.56, 415.75, 94.49, 26.46}, serif(14, true), H::Left, QStringLiteral("Type :")),
        freeText("Memo7", {7.56, 464.88, 117.17, 26.46}, serif(14, true), H::Left, QStringLiteral("N° de Série :")),
        freeText("Memo8", {7.56, 557.80, 173.64, 26.46}, serif(14, true), H::Left,
                 QStringLiteral("Réservoir G.P.L N° :")),
        freeText("Memo9", {7.56, 602.71, 128.50, 26.46}, serif(14, true), H::Left, QStringLiteral("Epreuve du :")),
        freeText("Memo10", {7.56, 651.84, 94.49, 26.46}, serif(14, true), H::Left, QStringLiteral("Capacité :")),
        freeText("Memo11", {7.56, 700.76, 105.83, 26.46}, serif(14, true), H::Left, QStringLiteral("SINCERE :")),
        freeText("Memo12", {234.69, 812.60, 173.86, 22.68}, serif(14, true), H::Left,
                 QStringLiteral("Date de validité : du")),
        freeText("Memo13", {528.59, 812.60, 30.24, 22.68}, serif(14, true), H::Left, QStringLiteral("Au")),
        freeText("Memo14", {476.22, 71.81, 109.61, 22.68}, serif(14, false, true), H::Left,
                 QStringLiteral("Durizura Le, ")),
        freeText("Memo15", {374.17, 869.97, 204.09, 26.46}, serif(16, true, true), H::Left,
                 QStringLiteral("L'INSTALLATEUR")),
        freeText("Memo16", {582.05, 870.75, 94.49, 30.24}, serif(16, true), H::Left, QStringLiteral("VARNEK")),
        freeText("Memo28", {589.61, 75.59, 94.49, 18.90}, serif(13), H::Left,
                 QStringLiteral("[Attest.\"Date_Start_Valid\"]")),
        bound("AttestAppart", {180.00, 262.00, 400.63, 22.90}, serif(13), H::Left, Column::Appart),
        bound("AttestVehicle_Immatricul", {180.00, 316.00, 400.63, 18.90}, serif(13), H::Left,
              Column::VehicleImmatricul),
        bound("AttestMarque", {180.00, 362.00, 400.63, 18.90}, serif(13), H::Left, Column::Marque),
        bound("AttestType", {179.00, 418.00, 400.63, 18.90}, serif(13), H::Left, Column::Type),
        bound("AttestN_Serie", {180.00, 466.00, 400.63, 24.90}, serif(13), H::Left, Column::NSerie),
        freeText("Memo17", {8.00, 512.00, 166.49, 26.90}, serif(14, true), H::Left,
                 QStringLiteral("Marque Réservoir :")),
        bound("AttestMarque_Reservoir", {180.00, 512.00, 400.63, 26.90}, serif(13), H::Left, Column::MarqueReservoir),
        bound("AttestN_Reservoir", {180.00, 559.00, 400.63, 25.90}, serif(13), H::Left, Column::NReservoir),
        bound("AttestEpreuve", {180.00, 605.00, 158.74, 18.90}, serif(13), H::Left, Column::Epreuve),
        bound("AttestCapacity", {180.00, 653.00, 400.63, 18.90}, serif(13), H::Left, Column::Capacity),
        bound("AttestCincere", {180.00, 703.00, 400.63, 18.90}, serif(13), H::Left, Column::Cincere),
        bound("AttestDate_Start_Valid", {414.00, 815.00, 109.74, 18.90}, serif(13), H::Left, Column::DateStartValid),
        freeText("Memo18", {568.00, 815.00, 94.49, 18.90}, serif(13), H::Left,
                 QStringLiteral("[<Attest.\"Date_Start_Valid\">+30]")),
        line("Line1", {1.00, 1016.00}, 716.00),
        freeText("Memo29", {11.00, 1021.00, 294.49, 23.90}, sans(10), H::Left,
                 footerAddress + QStringLiteral("  :  ضع إعلاناتك مجانا على    ")),
    };
}

QList<PageObject> makePage2()
{
    // Memo19 to Memo37 carry a 1.5 px frame width without sides: nothing is drawn and the text is not inset.
    auto framed = [](PageObject object) {
        object.frameWidth = 1.5;
        return object;
    };
    const QString identityBlock = spaces(31) + QStringLiteral("تسمية المركب : فارنيك") + spaces(3) + QLatin1Char('\n') +
                                  spaces(19) + QStringLiteral("N 27/GPL.C/2015 : رقم الإعتماد") + spaces(2) +
                                  QLatin1Char('\n') + QStringLiteral("             عنوان الورشة : ") +
                                  QStringLiteral("حي النصر، دريزورة") + QLatin1Char('\n') +
                                  QStringLiteral("  رقم الهاتف / العنوان الإلكتروني : ") + QStringLiteral("0550123456");
    const QString covers = QStringLiteral(".نوعية الخزانات و التجهيزات التي تمكن من إستعمال هذا الغاز  -") +
                           QLatin1Char('\n') + spaces(46) + QStringLiteral(".خدمات التركيب المقدمة  -") +
                           QString(6, QLatin1Char('\n')) + spaces(46);
    const QString exclusions =
        QStringLiteral(
            "يستثنى هذا الضمان العيوب و الأعطاب الناتجة عن سوء إستعمال هذه التجهيزات  أو الناجمة من جراء   ") +
        QLatin1Char('\n') + spaces(65) + QStringLiteral(".تدخلات مالكها أو أي شخص أو أي طرف آخر") + spaces(1);

    QList<PageObject> page{
        framed(freeText("Memo19", {374.00, 19.00, 333.49, 102.90}, serif(14, true), H::Justified, identityBlock)),
        framed(coloured(freeText("Memo20", {170.76, 162.55, 379.49, 46.90}, serif(26, true), H::Centre,
                                 QStringLiteral("شهـــــــادة ضمــــــــــان")),
                        blue)),
        framed(freeText("Memo21", {327.00, 271.00, 385.49, 21.90}, serif(14), H::Right,
                        QStringLiteral(": إن هذه الشهادة ذات مسؤولية محدودة , تم منحها لصاحبها السيد "))),
        framed(bound("AttestAppart1", {32.00, 271.00, 291.63, 21.90}, serif(14), H::Right, Column::Appart)),
        framed(freeText("Memo22", {476.00, 307.00, 236.49, 18.90}, serif(14), H::Right,
                        QStringLiteral(" : مالك المركبة ذات المواصفات الآتية "))),
        framed(freeText("Memo23", {420.00, 346.00, 221.49, 18.90}, serif(14), H::Right,
                        QStringLiteral(": MARQUE - العلامة / الصنف -    "))),
        framed(freeText("Memo24", {533.00, 405.00, 108.49, 20.90}, serif(14), H::Right,
                        QStringLiteral("  : رقم التعريف -"))),
        framed(freeText("Memo25", {347.00, 437.00, 294.49, 20.90}, serif(14), H::Right,
                        QStringLiteral("  : IMMATRICULATION - رقم التسجيل - "))),
        framed(vCentred(freeText("Memo26", {523.00, 468.00, 118.49, 24.90}, serif(14), H::Right,
                                 QStringLiteral("  : مراجع الخزان - ")))),
        framed(freeText("Memo27", {180.00, 469.00, 339.49, 20.90}, serif(14), H::Right,
                        QStringLiteral("[Attest.\"Marque_Reservoir\"] - [Attest.\"N_Reservoir\"] - "
                                       "[Attest.\"Capacity\"] - [Attest.\"Epreuve\"]"))),
        framed(vCentred(freeText(
            "Memo30", {176.00, 512.00, 536.49, 28.90}, serif(14), H::Justified,
            QStringLiteral("GPL.C - قد قمت بتجهيزها بالتركيبات التي تمكن من إستعمال غاز البترول المميع وقودا")))),
        framed(vCentred(
            freeText("Memo31", {639.00, 550.00, 73.49, 22.90}, serif(14), H::Right, QStringLiteral(": وتخص ")))),
        framed(freeText("Memo32", {161.00, 584.00, 480.49, 44.90}, serif(14), H::Right, covers)),
        framed(vCentred(freeText(
            "Memo33", {117.00, 632.00, 595.49, 24.90}, serif(14), H::Justified,
            QStringLiteral(
                ".مدة هذا الضمان اثنا عشر ( 12 ) شهرا , إبتداءا من تسليم رخصة إستعمال غاز البترول المميع وقودا")))),
        framed(freeText("Memo34", {618.00, 676.00, 94.49, 21.90}, serif(14), H::Right, QStringLiteral(": إبتداءا من"))),
        framed(freeText("Memo35", {618.00, 709.00, 94.49, 21.90}, serif(14), H::Right, QStringLiteral(": إلى تاريخ"))),
        framed(freeText("Memo36", {14.00, 753.00, 698.49, 57.90}, serif(14), H::Right, exclusions)),
        framed(freeText("Memo37", {19.00, 860.00, 265.49, 34.90}, serif(16, true), H::Centre,
                        QStringLiteral("إمضاء و ختم المركب المعتمد"))),
        bound("AttestMarque1", {218.00, 346.00, 197.63, 18.90}, serif(14), H::Right, Column::Marque),
        freeText("AttestN_Serie1", {78.00, 405.00, 450.63, 20.90}, serif(14), H::Right,
                 QStringLiteral("[Attest.\"N_Serie\"]")),
        bound("AttestVehicle_Immatricul1", {67.00, 437.00, 276.63, 20.90}, serif(14), H::Right,
              Column::VehicleImmatricul),
        [] {
            PageObject object = freeText("Memo38", {450.00, 676.00, 164.49, 21.90}, serif(14), H::Right,
                                         QStringLiteral("[Attest.\"Date_Start_Valid\"]"));
            object.dayMonthYearFormat = true;
            return object;
        }(),
        [] {
            PageObject object = freeText("Memo39", {451.00, 709.00, 162.49, 21.90}, serif(14), H::Right,
                                         QStringLiteral("[<Attest.\"Date_Start_Valid\">+364]"));
            object.dayMonthYearFormat = true;
            return object;
        }(),
        line("Line2", {2.00, 1015.00}, 716.00),
        freeText("Memo40", {12.00, 1020.00, 429.49, 24.90}, sans(10), H::Left,
                 footerAddress + QStringLiteral("  :  ضع إعلاناتك مجانا على   ")),
        freeText("Memo41", {537.00, 375.00, 104.49, 21.90}, serif(14), H::Right, QStringLiteral(":Type - النوع -")),
        bound("AttestType1", {294.00, 375.00, 235.98, 21.90}, serif(14), H::Right, Column::Type),
    };
    // The rows where a value stands left of its label.
    static constexpr std::pair<const char*, const char*> rows[] = {
        {"AttestAppart1", "Memo21"},
        {"AttestMarque1", "Memo23"},
        {"AttestType1", "Memo41"},
        {"AttestN_Serie1", "Memo24"},
        {"AttestVehicle_Immatricul1", "Memo25"},
        {"Memo27", "Memo26"},
        {"Memo38", "Memo34"},
        {"Memo39", "Memo35"},
    };
    for (PageObject& object : page) {
        for (const auto& [value, label] : rows) {
            if (object.name == QLatin1String(value))
                object.rowLabel = QString::fromLatin1(label);
        }
    }
    return page;
}

struct NamedColumn
{
    Column column;
    const char* name;
};

constexpr std::array<NamedColumn, 11> columnNames{{
    {Column::Appart, "Appart"},
    {Column::VehicleImmatricul, "Vehicle_Immatricul"},
    {Column::Marque, "Marque"},
    {Column::Type, "Type"},
    {Column::NSerie, "N_Serie"},
    {Column::MarqueReservoir, "Marque_Reservoir"},
    {Column::NReservoir, "N_Reservoir"},
    {Column::Epreuve, "Epreuve"},
    {Column::Capacity, "Capacity"},
    {Column::Cincere, "Cincere"},
    {Column::DateStartValid, "Date_Start_Valid"},
}};

} // namespace

QString columnName(Column column)
{
    for (const NamedColumn& named : columnNames) {
        if (named.column == column)
            return QString::fromLatin1(named.name);
    }
    return QString();
}

Column columnNamed(const QString& name)
{
    for (const NamedColumn& named : columnNames) {
        if (name == QLatin1String(named.name))
            return named.column;
    }
    return Column::None;
}

const QList<PageObject>& pageObjects(int pageIndex)
{
    static const QList<PageObject> page1 = makePage1();
    static const QList<PageObject> page2 = makePage2();
    static const QList<PageObject> none;
    switch (pageIndex) {
    case 0:
        return page1;
    case 1:
        return page2;
    default:
        return none;
    }
}

const PageObject* findObject(int pageIndex, const QString& name)
{
    for (const PageObject& object : pageObjects(pageIndex)) {
        if (object.name == name)
            return &object;
    }
    return nullptr;
}

} // namespace CertificateTemplate

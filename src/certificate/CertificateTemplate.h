#pragma once

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>

/// The certificate's two pages as data: every object with its box, font, alignment and text. Written once
/// here; the renderer, the preview's search and the tests all read these tables.
namespace CertificateTemplate {

/// The columns of the attestation table that the pages read. Date_Start_Valid is the only date-time.
enum class Column {
    None,
    Appart,
    VehicleImmatricul,
    Marque,
    Type,
    NSerie,
    MarqueReservoir,
    NReservoir,
    Epreuve,
    Capacity,
    Cincere,
    DateStartValid,
};

/// The column's name as the pages' expressions write it (Attest."Appart"), or an empty text.
QString columnName(Column column);
/// The column named so in an expression; Column::None for an unknown name.
Column columnNamed(const QString& name);

enum class Typeface { Serif, Sans };

struct FontStyle
{
    Typeface typeface = Typeface::Serif;
    qreal pointSize = 14;
    bool bold = false;
    bool underline = false;
};

enum class HorizontalAlignment { Left, Right, Centre, Justified };
enum class VerticalAlignment { Top, Centre };

struct PageObject
{
    enum class Kind { Text, Line };

    Kind kind = Kind::Text;
    QString name;
    /// Pixels at 96 per inch from the printable area's top-left corner. A line runs from topLeft to bottomRight.
    QRectF box;
    FontStyle font;
    HorizontalAlignment horizontal = HorizontalAlignment::Left;
    VerticalAlignment vertical = VerticalAlignment::Top;
    QColor colour = Qt::black;
    /// Free objects: the text with its bracketed expressions. Ignored when the object is bound.
    QString text;
    /// Bound objects show this column's display text.
    Column boundColumn = Column::None;
    /// Free objects whose values are dates written "dd/mm/yyyy" with the system's separator, never a time.
    bool dayMonthYearFormat = false;
    /// A value written on the same row as this label: its lines move toward the label's baseline as far as
    /// its letters stay inside its box, since the label may have moved to keep its Arabic letters inside.
    QString rowLabel;
    /// A frame is drawn, and insets the text, only on the sides listed; a width alone draws nothing.
    qreal frameWidth = 0;
    Qt::Edges frameSides;

    bool isBound() const { return boundColumn != Column::None; }
    /// A free text without expressions: what it shows never depends on the record.
    bool isStatic() const { return kind == Kind::Text && !isBound() && !text.contains(QLatin1Char('[')); }
};

/// Pixels at 96 per inch per millimetre, and the 10 mm margin on every side.
inline constexpr qreal pixelsPerMillimetre = 96.0 / 25.4;
inline constexpr qreal marginPx = 10.0 * pixelsPerMillimetre;

/// The objects of page 0 (installation attestation) or page 1 (guarantee), in drawing order.
const QList<PageObject>& pageObjects(int pageIndex);
/// The object of that name on the page, or nullptr.
const PageObject* findObject(int pageIndex, const QString& name);

} // namespace CertificateTemplate

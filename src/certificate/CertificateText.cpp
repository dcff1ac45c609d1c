#include "CertificateText.h"

#include "store/DayCount.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace CertificateText {

namespace {

using CertificateTemplate::Column;

struct Value
{
    enum class Type { Text, Number, DateTime };
    Type type = Type::Text;
    QString text;
    double number = 0;
};

QString columnText(Column column, const AttestationRecord& record)
{
    switch (column) {
    case Column::Appart:
        return record.appart;
    case Column::VehicleImmatricul:
        return record.vehicleImmatricul;
    case Column::Marque:
        return record.marque;
    case Column::Type:
        return record.type;
    case Column::NSerie:
        return record.nSerie;
    case Column::MarqueReservoir:
        return record.marqueReservoir;
    case Column::NReservoir:
        return record.nReservoir;
    case Column::Epreuve:
        return record.epreuve;
    case Column::Capacity:
        return record.capacity;
    case Column::Cincere:
        return record.cincere;
    case Column::DateStartValid:
    case Column::None:
        break;
    }
    return QString();
}

// With no row a text column reads as the empty text and the date-time column as the number 0.
Value columnValue(Column column, const CertificateRecord& record)
{
    if (column == Column::DateStartValid) {
        if (!record)
            return Value{Value::Type::Number, QString(), 0};
        return Value{Value::Type::DateTime, QString(), record->dateStartValid};
    }
    return Value{Value::Type::Text, record ? columnText(column, *record) : QString(), 0};
}

// A reference written Attest."Column", optionally between angle brackets.
const QRegularExpression& columnReference()
{
    static const QRegularExpression pattern(QString::fromLatin1(R"re(^\s*<?\s*Attest\s*\.\s*"([^"]*)"\s*>?\s*$)re"));
    return pattern;
}

/// One operand: a column reference, a whole number or a quoted string.
bool evaluateOperand(const QString& operand, const CertificateRecord& record, Value* value)
{
    const QString trimmed = operand.trimmed();
    const QRegularExpressionMatch reference = columnReference().match(trimmed);
    if (reference.hasMatch()) {
        const Column column = CertificateTemplate::columnNamed(reference.captured(1));
        if (column == Column::None)
            return false;
        *value = columnValue(column, record);
        return true;
    }
    bool isNumber = false;
    const qlonglong number = trimmed.toLongLong(&isNumber);
    if (isNumber) {
        *value = Value{Value::Type::Number, QString(), static_cast<double>(number)};
        return true;
    }
    if (trimmed.size() >= 2 && (trimmed.front() == QLatin1Char('\'') || trimmed.front() == QLatin1Char('"')) &&
        trimmed.back() == trimmed.front()) {
        *value = Value{Value::Type::Text, trimmed.mid(1, trimmed.size() - 2), 0};
        return true;
    }
    return false;
}

/// Splits at the "+" signs that are outside quotes and angle brackets.
QStringList splitSum(const QString& expression)
{
    QStringList parts;
    QString current;
    QChar quote;
    int angle = 0;
    for (const QChar c : expression) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('<')) {
            ++angle;
        } else if (c == QLatin1Char('>')) {
            --angle;
        } else if (c == QLatin1Char('+') && angle == 0) {
            parts.append(current);
            current.clear();
            continue;
        }
        current.append(c);
    }
    parts.append(current);
    return parts;
}

bool add(const Value& left, const Value& right, Value* sum)
{
    using T = Value::Type;
    const auto isWhole = [](const Value& v) { return v.type == T::Number && v.number == std::trunc(v.number); };
    if (left.type == T::DateTime && isWhole(right)) {
        // Whole days move the date and keep the time of day, before the epoch too.
        const QDateTime moved = DayCount::toDateTime(left.number).addDays(static_cast<qint64>(right.number));
        *sum = Value{T::DateTime, QString(), DayCount::fromDateTime(moved)};
        return true;
    }
    if (isWhole(left) && right.type == T::DateTime)
        return add(right, left, sum);
    if (left.type == T::Number && right.type == T::Number) {
        *sum = Value{T::Number, QString(), left.number + right.number};
        return true;
    }
    if (left.type == T::Text && right.type == T::Text) {
        *sum = Value{T::Text, left.text + right.text, 0};
        return true;
    }
    return false;
}

bool evaluate(const QString& expression, const CertificateRecord& record, Value* value)
{
    const QStringList operands = splitSum(expression);
    if (!evaluateOperand(operands.first(), record, value))
        return false;
    for (qsizetype i = 1; i < operands.size(); ++i) {
        Value operand;
        if (!evaluateOperand(operands.at(i), record, &operand) || !add(*value, operand, value))
            return false;
    }
    return true;
}

QString valueText(const Value& value, bool dayMonthYearFormat)
{
    switch (value.type) {
    case Value::Type::Text:
        return value.text;
    case Value::Type::Number:
    case Value::Type::DateTime:
        if (dayMonthYearFormat)
            return dayMonthYearText(value.number);
        if (value.type == Value::Type::DateTime)
            return dateTimeText(value.number);
        return QString::number(value.number, 'g', 15);
    }
    return QString();
}

/// The index of the "]" that closes the "[" at open, or -1.
qsizetype matchingBracket(const QString& text, qsizetype open)
{
    int depth = 0;
    QChar quote;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            ++depth;
        } else if (c == QLatin1Char(']') && --depth == 0) {
            return i;
        }
    }
    return -1;
}

// The system's long time format carries a time-zone field in some locales; the certificate shows wall time.
QString longTimeFormatWithoutZone()
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QString::fromLatin1(R"(\s*\bt+\b)"));
    format.remove(zone);
    return format.trimmed();
}

} // namespace

QChar systemDateSeparator()
{
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    for (const QChar c : format) {
        if (!c.isLetter() && c != QLatin1Char('\''))
            return c;
    }
    return QLatin1Char('/');
}

QString dateTimeText(double days)
{
    const QDateTime dateTime = DayCount::toDateTime(days);
    const QLocale locale = QLocale::system();
    QString text = locale.toString(dateTime.date(), QLocale::ShortFormat);
    if (DayCount::hasTimeOfDay(days))
        text += QLatin1Char(' ') + locale.toString(dateTime.time(), longTimeFormatWithoutZone());
    return text;
}

QString dayMonthYearText(double days)
{
    const QDate date = DayCount::toDateTime(days).date();
    const QChar separator = systemDateSeparator();
    return QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')) + separator +
           QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0')) + separator +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString expand(const QString& text, const CertificateRecord& record, bool dayMonthYearFormat)
{
    QString result;
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('['), position);
        if (open < 0)
            break;
        const qsizetype close = matchingBracket(text, open);
        if (close < 0)
            break;
        result += text.mid(position, open - position);
        Value value;
        if (evaluate(text.mid(open + 1, close - open - 1), record, &value))
            result += valueText(value, dayMonthYearFormat);
        else
            result += text.mid(open, close - open + 1);
        position = close + 1;
    }
    result += text.mid(position);
    return result;
}

QString objectText(const CertificateTemplate::PageObject& object, const CertificateRecord& record)
{
    if (!object.isBound())
        return expand(object.text, record, object.dayMonthYearFormat);
    if (!record)
        return QString();
    if (object.boundColumn == Column::DateStartValid)
        return dateTimeText(record->dateStartValid);
    return columnText(object.boundColumn, *record);
}

} // namespace CertificateText

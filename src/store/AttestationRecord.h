#pragma once

#include <QString>
#include <QtGlobal>

/// One row of Attest_Install_Garantie. The date is a day count since 30 December 1899 with the
/// time of day as the fraction, the form in which the database, the date fields and the certificate exchange it.
struct AttestationRecord
{
    qint32 id = 0;
    QString appart;
    QString vehicleImmatricul;
    QString marque;
    QString type;
    QString nSerie;
    QString marqueReservoir;
    QString nReservoir;
    QString epreuve;
    QString capacity;
    QString cincere;
    double dateStartValid = 0.0;

    friend bool operator==(const AttestationRecord&, const AttestationRecord&) = default;
};

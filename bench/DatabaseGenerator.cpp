#include "DatabaseGenerator.h"

#include "store/Connection.h"
#include "store/DayCount.h"
#include "store/RecordStore.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <vector>

namespace DatabaseGenerator {

namespace {

const QStringList surnames = {
    "BENALI",  "MANSOURI", "BOUZID",   "HADJ",      "BELKACEM", "SAIDI",     "BENAISSA", "CHERIF",   "KHELIFI",
    "BRAHIMI", "MEBARKI",  "AMRANI",   "BOUDIAF",   "HAMIDI",   "LAOUFI",    "TOUATI",   "ZIANE",    "BELHADJ",
    "MEZIANE", "OUALI",    "GHERBI",   "AIT AHMED", "BENSALEM", "DJEBBAR",   "FERHAT",   "HAMMOUDI", "KACI",
    "LARBI",   "MAHMOUDI", "NOURI",    "RAHMANI",   "SLIMANI",  "TALEB",     "YAHIAOUI", "ZAOUI",    "ABBAS",
    "BACHIR",  "CHAOUI",   "DAHMANI",  "FERKOUS",   "GUERFI",   "HADDAD",    "IDIR",     "KHALDI",   "LAKHDARI",
    "MERAH",   "NASRI",    "OMARI",    "RAHAL",     "SAADI",    "TAHRI",     "YOUCEF",   "ZEGHDOUD", "BENMOUSSA",
    "BOUAZIZ", "CHAREF",   "DERRADJI", "FELLAH",    "GACEM",    "HAMDI",     "ISSAD",    "KADRI",    "LOUNIS",
    "MOKRANI", "NACERI",   "OUADAH",   "REBAI",     "SAHRAOUI", "TIGHILT",   "YAHI",     "ZITOUNI",  "ACHOUR",
    "BELAID",  "CHIKH",    "DIB",      "FARES",     "GUEDDA",   "HAOUES",    "KHIARI",   "LAMRI",    "MEDJAHED",
    "NAIT",    "OUKACI",   "REZIG",    "SEBTI",     "TOUMI",    "BENYAHIA",  "BOUCHAMA", "CHABANE",  "DJELLAL",
    "FODIL",   "GOUASMIA", "HEBBAL",   "KEBIR",     "LEKHAL",   "MOUSSAOUI", "QUESSAR",  "CHÉRIFI",  "BENAÏSSA",
    "ÉL HADI",
};
const QStringList firstNames = {
    "MOHAMED", "AHMED",  "ALI",    "KARIM", "SAMIR",  "NADIR",  "RACHID", "YACINE",  "SOFIANE", "AMINE",
    "KHALED",  "HOCINE", "OMAR",   "FARID", "NABIL",  "MOURAD", "SALIM",  "ADEL",    "HAMZA",   "BILAL",
    "FATIMA",  "AMINA",  "SAMIRA", "NADIA", "KARIMA", "LEILA",  "SARAH",  "YASMINE", "MERIEM",  "ASMA",
};
const QStringList makes = {"RENAULT", "PEUGEOT", "HYUNDAI",   "DACIA", "VOLKSWAGEN",
                           "TOYOTA",  "KIA",     "CHEVROLET", "FIAT",  "CITROEN"};
const QStringList types = {"CLIO",    "SYMBOL", "206",   "301",   "ACCENT", "I10",     "LOGAN",
                           "SANDERO", "GOLF",   "POLO",  "YARIS", "HILUX",  "PICANTO", "RIO",
                           "AVEO",    "SAIL",   "PUNTO", "TIPO",  "C3",     "BERLINGO"};
const QStringList tankMakes = {"TOMASETTO", "BRC", "LANDI RENZO", "STAKO", "GZWM", "LOVATO"};
const QStringList capacities = {"40 L", "50 L", "60 L", "70 L", "85 L"};
// The surname that stopped coming after the first years: its prefixes match old rows only.
const QString oldFamily = QStringLiteral("ZERROUKI");

// Rows per year, first year 2008: busy early years, a dip, then steady growth.
const int yearWeights[] = {40, 60, 74, 72, 58, 50, 46, 44, 47, 50, 52, 55, 30, 44, 50, 53, 56, 58, 61};

} // namespace

bool generate(const QString& path, int rowCount, DbError* error)
{
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!Schema::createDatabaseFile(partial, RecordStore::password(), error))
        return false;
    {
        Connection connection;
        if (!connection.open(partial, RecordStore::password(), Connection::OpenMode::ExistingOnly, error) ||
            !connection.exec(QStringLiteral("PRAGMA synchronous = OFF; BEGIN IMMEDIATE;"), error))
            return false;
        Statement insert;
        if (!insert.prepare(connection.handle(),
                            QStringLiteral("INSERT INTO Attest_Install_Garantie (Appart, Vehicle_Immatricul, Marque, "
                                           "Type, N_Serie, Marque_Reservoir, N_Reservoir, Epreuve, Capacity, Cincere, "
                                           "Date_Start_Valid) VALUES (:x1, :x2, :x3, :x4, :x5, :x6, :x7, :x8, :x9, "
                                           ":x10, :x11)"),
                            error))
            return false;

        QRandomGenerator random(20261211);
        // Skewed surnames: weight 1/rank, so the first families are common and the last ones rare.
        std::vector<double> cumulative;
        double total = 0;
        for (qsizetype i = 0; i < surnames.size(); ++i)
            cumulative.push_back(total += 1.0 / static_cast<double>(i + 1));
        const int years = static_cast<int>(std::size(yearWeights));
        double weightTotal = 0;
        for (int w : yearWeights)
            weightTotal += w;

        int written = 0;
        for (int y = 0; y < years && written < rowCount; ++y) {
            const int year = 2008 + y;
            const int inYear = y == years - 1 ? rowCount - written
                                              : static_cast<int>(std::lround(rowCount * yearWeights[y] / weightTotal));
            const QDateTime yearStart(QDate(year, 1, 1), QTime(8, 0));
            for (int n = 1; n <= inYear && written < rowCount; ++n, ++written) {
                QString surname;
                if (year <= 2011 && random.bounded(100) < 4) {
                    surname = oldFamily;
                } else {
                    const double pick = random.generateDouble() * total;
                    const auto at = std::lower_bound(cumulative.begin(), cumulative.end(), pick);
                    surname = surnames.at(std::min<qsizetype>(at - cumulative.begin(), surnames.size() - 1));
                }
                const QString& make = makes.at(random.bounded(makes.size()));
                const double day = DayCount::fromDateTime(
                    yearStart.addSecs(static_cast<qint64>(static_cast<double>(n) / inYear * 364 * 86400)));
                const bool ok =
                    insert.bindText(
                        ":x1", surname + QLatin1Char(' ') + firstNames.at(random.bounded(firstNames.size())), error) &&
                    insert.bindText(":x2",
                                    QStringLiteral("%1 1%2 %3")
                                        .arg(random.bounded(100000), 5, 10, QLatin1Char('0'))
                                        .arg(year % 100, 2, 10, QLatin1Char('0'))
                                        .arg(1 + random.bounded(58), 2, 10, QLatin1Char('0')),
                                    error) &&
                    insert.bindText(":x3", make, error) &&
                    insert.bindText(":x4", types.at(random.bounded(types.size())), error) &&
                    insert.bindText(":x5",
                                    QStringLiteral("VF%1").arg(random.bounded(1000000000), 15, 10, QLatin1Char('0')),
                                    error) &&
                    insert.bindText(":x6", tankMakes.at(random.bounded(tankMakes.size())), error) &&
                    insert.bindText(":x7", QStringLiteral("T%1").arg(random.bounded(10000000), 7, 10, QLatin1Char('0')),
                                    error) &&
                    insert.bindText(":x8",
                                    QStringLiteral("%1/%2")
                                        .arg(1 + random.bounded(12), 2, 10, QLatin1Char('0'))
                                        .arg(year - random.bounded(3)),
                                    error) &&
                    insert.bindText(":x9", capacities.at(random.bounded(capacities.size())), error) &&
                    insert.bindText(":x10", QStringLiteral("%1-%2").arg(n).arg(year), error) &&
                    insert.bindReal(":x11", day, error) && insert.execute(error);
                if (!ok)
                    return false;
                insert.reset();
                if (written % 100000 == 0)
                    QTextStream(stderr) << "  " << written << " rows\n";
            }
        }
        if (!connection.exec(QStringLiteral("COMMIT;"), error))
            return false;
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        *error = {0, QStringLiteral("cannot rename %1").arg(partial)};
        return false;
    }
    return true;
}

} // namespace DatabaseGenerator

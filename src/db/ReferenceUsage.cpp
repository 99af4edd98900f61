#include "db/ReferenceUsage.h"

#include "db/Connection.h"

#include <QStringList>

namespace tav {

namespace {

// ACTION.Tag tells a consultation from a medicine purchase.
constexpr int kConsultation = 1;
constexpr int kPurchase = 2;

int countActions(Connection& c, const char* column, int tag, qint64 id)
{
    return c
        .scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION] WHERE Tag=? AND ") +
                    QLatin1String(column) + QStringLiteral("=?"),
                {tag, id})
        .toInt();
}

int countVaccinations(Connection& c, const char* column, qint64 id)
{
    return c
        .scalar(QStringLiteral("SELECT COUNT(*) FROM VACCINE WHERE ") + QLatin1String(column) +
                    QStringLiteral("=?"),
                {id})
        .toInt();
}

QString counted(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

} // namespace

ReferenceUsage countReferenceUsage(Connection& connection, ReferenceKind kind, qint64 id)
{
    ReferenceUsage u;
    switch (kind) {
    case ReferenceKind::Doctor:
        u.consultations = countActions(connection, "Id_Org", kConsultation, id);
        u.vaccinations = countVaccinations(connection, "Id_Org", id);
        break;
    case ReferenceKind::Pharmacy:
        u.purchases = countActions(connection, "Id_Org", kPurchase, id);
        break;
    case ReferenceKind::Drug:
        u.purchases = countActions(connection, "Id_Drug", kPurchase, id);
        break;
    case ReferenceKind::Vaccine:
        u.vaccinations = countVaccinations(connection, "Id_Vaccine", id);
        break;
    case ReferenceKind::Illness:
        u.consultations = countActions(connection, "Id_Illness", kConsultation, id);
        break;
    }
    return u;
}

QString referenceUsageText(ReferenceKind kind, const ReferenceUsage& usage)
{
    if (!usage.any())
        return {};
    const char* subject = "";
    switch (kind) {
    case ReferenceKind::Doctor:
        subject = "Ce praticien est cité par ";
        break;
    case ReferenceKind::Pharmacy:
        subject = "Cette pharmacie est citée par ";
        break;
    case ReferenceKind::Drug:
        subject = "Ce médicament est cité par ";
        break;
    case ReferenceKind::Vaccine:
        subject = "Ce vaccin est cité par ";
        break;
    case ReferenceKind::Illness:
        subject = "Cette pathologie est citée par ";
        break;
    }
    QStringList parts;
    if (usage.consultations > 0)
        parts << counted(usage.consultations, "acte", "actes");
    if (usage.purchases > 0)
        parts << counted(usage.purchases, "achat de médicament", "achats de médicaments");
    if (usage.vaccinations > 0)
        parts << counted(usage.vaccinations, "vaccination", "vaccinations");
    QString list = parts.takeLast();
    if (!parts.isEmpty())
        list = parts.join(QStringLiteral(", ")) + QStringLiteral(" et ") + list;
    return QString::fromUtf8(subject) + list + QLatin1Char('.');
}

} // namespace tav

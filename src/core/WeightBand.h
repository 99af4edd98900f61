#pragma once

#include <QString>

#include <optional>

namespace tav {

// The target weight of an animal, between a minimum and a maximum in
// kilograms; either end may be left open.
struct WeightBand
{
    std::optional<double> min;
    std::optional<double> max;

    enum class Flag { Inside, Below, Above };

    bool isEmpty() const { return !min && !max; }
    // Where a weighing lies against the band; Inside when the band is empty.
    Flag flag(double weight) const;
    // "Poids cible : de 28,000 kg à 32,000 kg", or an empty text.
    QString text() const;

    // Reads the two values as typed in the entry window, in the card's
    // weight format (comma or point, at most three decimals, no unit).
    // Returns the French reason naming the field by its caption when they
    // cannot be stored, else an empty text with *band filled.
    static QString fromTexts(const QString& minText, const QString& maxText, WeightBand* band);
};

// A weight as the card shows it: "28,500 kg".
QString weightText(double kilograms);

} // namespace tav

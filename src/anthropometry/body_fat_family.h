#pragma once

// The body fat family: the fat percentage of the sum of four skinfolds (looked up on the
// server by sex and age), the body density of age- and sex-specific skinfold equations
// made into fat by Siri with the fat weight, lean mass, ideal weight and excess weight, and
// the bioimpedance fat against an ideal by sex and age. No routine shows a message: missing
// measures or an age without an equation write nothing.

#include <QString>

#include <optional>

namespace anthropometry {

class Evaluation;

void Calcula_SomaPrega(Evaluation& ev);   // Soma 4 Pregas
void Calcula_BiaGordura(Evaluation& ev);  // Bia - Gordura Ideal
void Calcula_Siri(Evaluation& ev);        // Equação de Siri

// The skinfolds of the Siri equations, in mm.
struct Skinfolds
{
    double biceps = 0;
    double triceps = 0;
    double subscapular = 0;
    double suprailiac = 0;
    double thigh = 0;
};

// The body density (g/ml) of the skinfold equation for the sex letter ("M", any other) and
// the age in whole years: men 18 to 34, 13 to 17 and 9 to 12 years, everyone else 18 to 48,
// 13 to 17 and 9 to 12 years. No density for an age outside the bands or when the equation
// cannot be worked out (the logarithm of a skinfold that is not above 0).
std::optional<double> siriDensity(const QString& sex, int years, const Skinfolds& folds);

// The fat classification of the Siri method by sex letter, age (under 18 or not) and fat
// percentage; each band includes its upper limit.
QString siriClassification(const QString& sex, double age, double fatPercent);

}  // namespace anthropometry

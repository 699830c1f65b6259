#include "body_fat_family.h"

#include "body_fat_messages.h"
#include "evaluation.h"
#include "number_texts.h"
#include "reference_queries.h"

#include "hostfw/errors.h"
#include "hostfw/numbers.h"
#include "records/app_server.h"
#include "records/dataset.h"
#include "records/layouts.h"
#include "records/method_codes.h"
#include "workspace/age_band.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace anthropometry {

namespace {

using namespace records::data_type;

QString msg(const char* key)
{
    return msgGordura().Msg(QString::fromLatin1(key));
}

bool male(const Evaluation& ev)
{
    return ev.sexLetter() == u"M";
}

// The age of the header read as a whole number of years; any other text fails.
int wholeYears(const QString& text)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?\\d{1,9}\\s*$"));
    if (!whole.match(text).hasMatch())
        throw hostfw::ConversionError(
            QStringLiteral("'%1' não é um valor inteiro válido para o campo 'Idade'.").arg(text));
    return text.trimmed().toInt();
}

// The age of the header read as a real number of years.
double realYears(const QString& text)
{
    return hostfw::StrToFloat(text, QStringLiteral("Idade"));
}

// The classification of the sum of four skinfolds by the fat percentage rounded to three
// decimals; the female bands leave 8 up to 9 and 31 up to 32 without a text.
QString sumOfSkinfoldsClassification(bool isMale, double fat)
{
    if (isMale) {
        if (fat < 6)
            return msg("Desnutricao");
        if (fat <= 14)
            return msg("Normal");
        if (fat < 16)
            return msg("Media");
        if (fat < 25)
            return msg("Acima_Media");
        return msg("Obesidade");
    }
    if (fat < 8)
        return msg("Desnutricao");
    if (fat >= 9 && fat <= 22)
        return msg("Normal");
    if (fat > 22 && fat < 24)
        return msg("Media");
    if (fat >= 24 && fat < 31)
        return msg("Acima_Media");
    if (fat >= 32)
        return msg("Obesidade");
    return {};
}

// Whether the whole years lie in the band from `from` years to `to` years 11 months.
bool inYears(int years, int from, int to)
{
    return workspace::FaixaIdade(years, 0, from, 0, to, 11) == 0;
}

// log10 of a positive value; none for 0 or less (the equation cannot be worked out).
std::optional<double> log10Of(double value)
{
    if (!(value > 0))
        return std::nullopt;
    return std::log10(value);
}

// c - a log(Tr) - b log(Se), the equations of the younger bands.
std::optional<double> tricepsSubscapular(double c, double a, double b, const Skinfolds& folds)
{
    const std::optional<double> tr = log10Of(folds.triceps);
    const std::optional<double> se = log10Of(folds.subscapular);
    if (!tr || !se)
        return std::nullopt;
    return c - a * *tr - b * *se;
}

}  // namespace

std::optional<double> siriDensity(const QString& sex, int years, const Skinfolds& folds)
{
    std::optional<double> density;
    if (sex == u"M") {
        if (inYears(years, 18, 34)) {
            const std::optional<double> sum =
                log10Of(folds.biceps + folds.triceps + folds.subscapular + folds.suprailiac);
            if (sum)
                density = 1.161 - 0.0632 * *sum;
        } else if (inYears(years, 13, 17)) {
            density = tricepsSubscapular(1.13, 0.055, 0.026, folds);
        } else if (inYears(years, 9, 12)) {
            density = tricepsSubscapular(1.108, 0.027, 0.038, folds);
        }
    } else {
        if (inYears(years, 18, 48))
            density = 1.06234 - 0.00068 * folds.subscapular - 0.00039 * folds.triceps
                      - 0.00025 * folds.thigh;
        else if (inYears(years, 13, 17))
            density = tricepsSubscapular(1.114, 0.031, 0.041, folds);
        else if (inYears(years, 9, 12))
            density = tricepsSubscapular(1.088, 0.014, 0.036, folds);
    }
    // A density of 0 or less (skinfolds far beyond any body) gives no fat percentage.
    if (density && !(*density > 0 && std::isfinite(*density)))
        return std::nullopt;
    return density;
}

QString siriClassification(const QString& sex, double age, double fatPercent)
{
    // Upper limits of "Excessivamente baixa", "Baixa", "Adequada", "Moderadamente alta"
    // and "Alta"; above the last one "Excessivamente alta".
    static const double kLimits[2][2][5] = {
        {{6, 10, 20, 25, 31}, {12, 15, 25, 30, 36}},  // under 18: men, everyone else
        {{3, 10, 15, 20, 25}, {12, 14, 18, 30, 35}},  // 18 and over
    };
    static const char* const kKeys[] = {"Exc_baixa",  "Baixa", "Adeq",
                                        "Moder_alta", "Alta",  "Exc_alta"};
    const double(&limits)[5] = kLimits[age < 18 ? 0 : 1][sex == u"M" ? 0 : 1];
    int band = 0;
    while (band < 5 && fatPercent > limits[band])
        ++band;
    return msg(kKeys[band]);
}

// The sum of the biceps, triceps, subscapular and suprailiac skinfolds, its fat percentage
// from the server's table for the sex and age, classified by sex.
void Calcula_SomaPrega(Evaluation& ev)
{
    double sum = 0;
    for (QLatin1String type : {kPcb, kPct, kPcse, kPcsi}) {
        const Measure fold = ev.readFromGrid(type);
        if (!fold.present)
            return;
        sum += fold.value;
    }
    sum = settled(sum);
    if (!(sum > 0))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const records::DataSet& table = ev.query(
        records::layouts::cdsCalcSomaPrega(),
        ev.server().GetCalcSomaPrega(ev.sexLetter(), ev.reference(), realYears(ev.ageText()), sum));
    const QString field = QStringLiteral("VRPEPREGAS");
    // A reference without an equation for the sex and age has no fat percentage to show:
    // say so rather than show a fat of 0.
    if (table.isEmpty() || table.isNull(field)) {
        ev.writeNoClassificationInReference();
        return;
    }
    const double fat = table.asFloat(field);
    ev.writeResultLine(1, sumOfSkinfoldsClassification(male(ev), round3(fat)),
                       threeDecimals(fat) + QStringLiteral(" %"));
}

// The current bioimpedance fat against the ideal of the sex and age, adults only.
void Calcula_BiaGordura(Evaluation& ev)
{
    const Measure fat = ev.readFromGrid(kBiaGorduraAtual);
    if (!fat.present || !(fat.value > 0))
        return;
    const int years = ev.ageYears();
    if (years < 19)
        return;
    // 19 to 29, 30 to 39, 40 to 49, 50 to 59, 60 and above: one point more each.
    const int band = years < 30 ? 0 : std::min(years / 10 - 2, 4);
    const int ideal = (male(ev) ? 16 : 20) + band;
    const char* classification = fat.value == ideal  ? "Normal"
                                 : fat.value < ideal ? "Abaixo_Normal"
                                                     : "Acima_Normal";
    ev.writeResultLine(1, msg("BiaGord_Ideal"), QString::number(ideal));
    ev.writeResultLine(2, msg("Bia_Classifica"), msg(classification));
}

// Body density by the skinfold equation of the sex and age, fat by Siri and the weights
// derived from it.
void Calcula_Siri(Evaluation& ev)
{
    const Measure weight = ev.readFromGrid(kPeso);
    const Measure biceps = ev.readFromGrid(kPcb);
    const Measure triceps = ev.readFromGrid(kPct);
    const Measure subscapular = ev.readFromGrid(kPcse);
    const Measure suprailiac = ev.readFromGrid(kPcsi);
    const Measure thigh = ev.readFromGrid(kPccx);
    for (const Measure* m : {&weight, &biceps, &triceps, &subscapular, &suprailiac, &thigh}) {
        if (!m->present)
            return;
    }
    const std::optional<double> density = siriDensity(
        ev.sexLetter(), wholeYears(ev.ageText()),
        {biceps.value, triceps.value, subscapular.value, suprailiac.value, thigh.value});
    if (!density)
        return;
    const double fat = settled((4.95 / *density - 4.5) * 100);
    const double age = realYears(ev.ageText());
    const double w = weight.value;
    const double fatWeight = settled(fat / 100 * w);
    const double leanMass = settled(w - fatWeight);
    const double idealWeight = settled(leanMass / (male(ev) ? 0.85 : 0.75));
    ev.writeResultLine(1, msg("Siri_Den"),
                       hostfw::FormatFloat(QStringLiteral("#,##0.000000"), *density));
    ev.writeResultLine(2, msg(age < 18 ? "Siri_PorcGorduDeu" : "Siri_PorcGorduMca"),
                       twoDecimals(fat) + QStringLiteral("% - ")
                           + siriClassification(ev.sexLetter(), age, fat));
    ev.writeResultLine(3, msg("Siri_PesoGor"), twoDecimals(fatWeight, kKilograms));
    ev.writeResultLine(4, msg("Siri_MM"), twoDecimals(leanMass, kKilograms));
    ev.writeResultLine(5, msg("Siri_PMM"), twoDecimals(settled(100 - fat), QStringLiteral("%")));
    ev.writeResultLine(6, msg("Siri_PesoId"), twoDecimals(idealWeight, kKilograms));
    ev.writeResultLine(7, msg("Siri_PesoExc"), twoDecimals(settled(w - idealWeight), kKilograms));
}

}  // namespace anthropometry

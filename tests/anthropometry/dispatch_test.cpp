// The table from method code to routine on the anthropometric page.

#include "anthropometry/bmi_family.h"
#include "anthropometry/dispatch.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace anthropometry;

TEST(AnthropometricDispatch, EveryCodeOfTheListAndNoEnergyCode)
{
    QSet<QString> listed;
    for (const DispatchEntry& e : anthropometricDispatch()) {
        EXPECT_EQ(QString::fromLatin1(e.code).size(), 2) << e.code;
        EXPECT_FALSE(listed.contains(QString::fromLatin1(e.code))) << "twice: " << e.code;
        listed.insert(QString::fromLatin1(e.code));
    }
    for (int n = 0; n <= 68; ++n) {
        const QString code = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        const bool energy = n >= 30 && n <= 36;
        EXPECT_EQ(findAnthropometricEntry(code) != nullptr, !energy) << code.toStdString();
    }
    EXPECT_EQ(listed.size(), 69 - 7);
}

TEST(AnthropometricDispatch, BodyMassIndexCodesRunTheirRoutines)
{
    EXPECT_EQ(anthropometricRoutine("00"), &Calcula_IMC);
    EXPECT_EQ(anthropometricRoutine("01"), &Calcula_IMC_Must);
    EXPECT_EQ(anthropometricRoutine("18"), &Calcula_IMC_Amputado);
    EXPECT_EQ(anthropometricRoutine("48"), &Calcula_IMCAdolescente);
    EXPECT_EQ(anthropometricRoutine("49"), &Calcula_IMCOms98);
    EXPECT_EQ(anthropometricRoutine("67"), &Calcula_IMCIdoso);
    EXPECT_EQ(anthropometricRoutine("68"), &Calcula_IMCGestante);
}

TEST(AnthropometricDispatch, ExactTextComparison)
{
    EXPECT_STREQ(findAnthropometricEntry("07")->routineName, "Calcula_RCQ");
    for (int n = 37; n <= 47; ++n)
        EXPECT_STREQ(findAnthropometricEntry(QString::number(n))->routineName,
                     "Calcula_PesoIdadeAltura");
    for (const char* code : {"30", "36", "0", "7", " 0", "00 ", "69", "99", "", "AB"})
        EXPECT_EQ(anthropometricRoutine(QString::fromLatin1(code)), nullptr) << code;
}

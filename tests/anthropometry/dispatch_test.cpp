// The table from method code to routine on the assessment tab, against the catalogue's
// descriptors.

#include "anthropometry/bmi_family.h"
#include "anthropometry/dispatch.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace anthropometry;

TEST(AnthropometricDispatch, EveryEntryIsAnAssessmentMethodOnce)
{
    QSet<QString> listed;
    for (const DispatchEntry& e : anthropometricDispatch()) {
        const QString code(e.code);
        ASSERT_NE(records::findMethodDescriptor(code), nullptr) << code.toStdString();
        EXPECT_EQ(e.method().page, records::MethodPage::Assessment) << code.toStdString();
        EXPECT_NE(e.routine, nullptr) << code.toStdString();
        EXPECT_FALSE(listed.contains(code)) << "twice: " << code.toStdString();
        listed.insert(code);
    }
}

TEST(AnthropometricDispatch, CodesRunTheirRoutinesByExactText)
{
    namespace M = records::method;
    const std::pair<QLatin1String, Routine> routines[] = {
        {M::kImc, &Calcula_IMC},
        {M::kImcMust, &Calcula_IMC_Must},
        {M::kImcAmputado, &Calcula_IMC_Amputado},
        {M::kImcAdolescente, &Calcula_IMCAdolescente},
        {M::kImcOms98, &Calcula_IMCOms98},
        {M::kImcIdoso, &Calcula_IMCIdoso},
        {M::kImcGestante, &Calcula_IMCGestante},
    };
    for (const auto& [code, routine] : routines)
        EXPECT_EQ(anthropometricRoutine(code), routine) << code.data();
    for (const char* code : {"30", "36", "0", "1", " 1", "01 ", "69", "99", "", "AB"})
        EXPECT_EQ(anthropometricRoutine(QString::fromLatin1(code)), nullptr) << code;
}

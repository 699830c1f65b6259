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

TEST(AnthropometricDispatch, CodesAreMatchedByExactText)
{
    EXPECT_EQ(anthropometricRoutine(QStringLiteral("01")), &Calcula_IMC_Must);
    for (const char* code : {"30", "36", "0", "1", " 1", "01 ", "69", "99", "", "AB"})
        EXPECT_EQ(anthropometricRoutine(QString::fromLatin1(code)), nullptr) << code;
}

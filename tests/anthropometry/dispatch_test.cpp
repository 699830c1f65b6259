// Method codes to routines on the assessment tab: matched by their exact text.

#include "anthropometry/bmi_family.h"
#include "anthropometry/dispatch.h"

#include <gtest/gtest.h>

using namespace anthropometry;

TEST(AnthropometricDispatch, CodesAreMatchedByExactText)
{
    EXPECT_EQ(anthropometricRoutine(QStringLiteral("01")), &Calcula_IMC_Must);
    for (const char* code : {"30", "36", "0", "1", " 1", "01 ", "69", "99", "", "AB"})
        EXPECT_EQ(anthropometricRoutine(QString::fromLatin1(code)), nullptr) << code;
}

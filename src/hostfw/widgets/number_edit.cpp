#include "hostfw/widgets/number_edit.h"

#include "hostfw/numbers.h"

namespace hostfw {

NumberValidator::NumberValidator(QObject* parent) : QValidator(parent) {}

QValidator::State NumberValidator::validate(QString& input, int& /*pos*/) const
{
    input.replace(u'.', DecimalSeparator);
    qsizetype i = 0;
    if (m_allowNegative && input.startsWith(u'-'))
        i = 1;
    int digits = 0;
    int decimals = 0;
    bool seenComma = false;
    for (; i < input.size(); ++i) {
        const char16_t c = input.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            ++digits;
            if (seenComma)
                ++decimals;
        } else if (c == DecimalSeparator.unicode() && !seenComma && m_decimals != 0) {
            seenComma = true;
        } else {
            return Invalid;
        }
    }
    if (m_decimals >= 0 && decimals > m_decimals)
        return Invalid;
    if (input.isEmpty())
        return Acceptable;
    return digits > 0 ? Acceptable : Intermediate;
}

TNumberEdit::TNumberEdit(QWidget* parent)
    : QLineEdit(parent),
      m_validator(new NumberValidator(this))
{
    setValidator(m_validator);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

double TNumberEdit::GetNumber() const
{
    return number().value_or(0.0);
}

std::optional<double> TNumberEdit::number() const
{
    return TryStrToFloat(text());
}

void TNumberEdit::SetNumber(double value)
{
    const int d = m_validator->decimals();
    const QString pattern = d < 0    ? QString()
                            : d == 0 ? QStringLiteral("0")
                                     : QStringLiteral("0.") + QString(d, u'0');
    // Not validated: a value set by the program shows as it is.
    setText(FormatFloat(pattern, value));
}

void TNumberEdit::setDecimals(int decimals)
{
    m_validator->setDecimals(decimals < 0 ? -1 : decimals);
}

}  // namespace hostfw

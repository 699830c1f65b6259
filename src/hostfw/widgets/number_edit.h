#pragma once

#include <QLineEdit>
#include <QValidator>

#include <optional>

namespace hostfw {

// Lets through what can become a pt-BR number: digits, one decimal comma (a typed
// point becomes the comma), a leading minus when negatives are allowed, and no more
// decimals than allowed. Typed keys and pasted text alike.
class NumberValidator : public QValidator
{
    Q_OBJECT
public:
    explicit NumberValidator(QObject* parent = nullptr);

    void setDecimals(int decimals) { m_decimals = decimals; }
    int decimals() const { return m_decimals; }
    void setAllowNegative(bool allow) { m_allowNegative = allow; }
    bool allowNegative() const { return m_allowNegative; }

    State validate(QString& input, int& pos) const override;

private:
    int m_decimals = -1;  // -1: any number of decimals
    bool m_allowNegative = false;
};

// The host's number edit: a line edit that takes only a number, with the decimal comma.
class TNumberEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TNumberEdit(QWidget* parent = nullptr);

    // The number shown; 0 when the edit is empty or holds only "-" or ",".
    double GetNumber() const;
    // The number shown; nothing when the edit does not hold a whole number.
    std::optional<double> number() const;
    // Shows the value with the edit's decimals (all significant ones when any).
    void SetNumber(double value);

    // Decimals the user may type; -1 (the default) for any, 0 for whole numbers.
    void setDecimals(int decimals);
    int decimals() const { return m_validator->decimals(); }
    void setAllowNegative(bool allow) { m_validator->setAllowNegative(allow); }

private:
    NumberValidator* m_validator;
};

}  // namespace hostfw

#include "UpperCaseLineEdit.h"

#include <QValidator>

namespace {
// A validator sees every edit the user makes (keys, paste, drop) before it reaches the text.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};
} // namespace

UpperCaseLineEdit::UpperCaseLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new UpperCaseValidator(this));
}

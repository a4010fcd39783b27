#include "ui/window/cp1252_validator.h"

#include "ui/model/qt_text.h"

namespace ferolan {

Cp1252Validator::Cp1252Validator(QObject *parent, int limit) : QValidator(parent), limit_(limit) {}

QValidator::State Cp1252Validator::validate(QString &input, int &) const {
    if (limit_ >= 0 && input.size() > limit_)
        return Invalid;
    return fitsCp1252(input) ? Acceptable : Invalid;
}

} // namespace ferolan

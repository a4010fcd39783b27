#pragma once

#include <QValidator>

namespace ferolan {

// Refuses what Windows-1252 cannot hold (the booklet is written in that code page) and,
// when given a limit, typing beyond it. The limit bounds typing only: a longer text set
// by the program stays whole, as the input limits of the original text boxes did.
class Cp1252Validator final : public QValidator {
    Q_OBJECT
public:
    explicit Cp1252Validator(QObject *parent, int limit = -1);
    State validate(QString &input, int &pos) const override;

private:
    int limit_;
};

} // namespace ferolan

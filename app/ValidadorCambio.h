#pragma once

#include <QValidator>

// What reaches the rate field by other roads than a typed key (a paste, a
// drop, X11's middle-click selection) goes through the rule the key filter
// applies to each typed character: digits pass, a comma is a point, a point passes when the text
// so far with a point reads as a rate, anything else is dropped. A text of
// digits and at most one point is left as it is, since editing keys alone can
// make it.
class TValidadorCambio : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& sTexto, int& nCursor) const override;
};

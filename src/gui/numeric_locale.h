#pragma once
// The decimal symbol of the process's numeric locale, and switching it to the
// point for the run. ProcessNumericLocale is the real one; tests may supply
// their own.

#include <QLocale>
#include <QString>

#include <string>

namespace zl::gui {

class NumericLocale {
public:
    virtual ~NumericLocale() = default;
    /// The decimal symbol the user's settings give this process.
    virtual QString decimalSymbol() const = 0;
    /// From now on numbers read and written by the process use the point.
    virtual void usePoint() = 0;
    /// Back to the settings found at construction.
    virtual void restore() = 0;
};

/// The C library's LC_NUMERIC (taken from the environment, where the user
/// sets it) together with Qt's default locale.
class ProcessNumericLocale : public NumericLocale {
public:
    ProcessNumericLocale();
    QString decimalSymbol() const override;
    void usePoint() override;
    void restore() override;

private:
    std::string savedNumericName_;
    QLocale savedQtDefault_;
    QString symbol_;
};

}  // namespace zl::gui

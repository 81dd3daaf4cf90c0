#pragma once
// Switches the process's numeric locale to one whose decimal symbol is a
// comma, generating de_DE.UTF-8 with localedef into a private folder when the
// system has no such locale installed. Restores the former locale on exit.

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zl::testing {

class CommaLocale {
public:
    CommaLocale() {
        const char *current = std::setlocale(LC_ALL, nullptr);
        saved_ = current ? current : "C";
        active_ = tryActivate();
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    CommaLocale(const CommaLocale &) = delete;
    CommaLocale &operator=(const CommaLocale &) = delete;

    /// True when the decimal symbol really is a comma now.
    bool active() const { return active_; }

private:
    static bool decimalIsComma() {
        const std::lconv *conv = std::localeconv();
        return conv && conv->decimal_point && std::string(conv->decimal_point) == ",";
    }

    static bool tryActivate() {
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") && decimalIsComma()) return true;
        const auto folder = std::filesystem::temp_directory_path() / "zerolith-locales";
        std::filesystem::create_directories(folder);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (!std::filesystem::exists(folder / "de_DE.UTF-8") && std::system(command.c_str()) != 0) return false;
        ::setenv("LOCPATH", folder.c_str(), 1);
        return std::setlocale(LC_ALL, "de_DE.UTF-8") && decimalIsComma();
    }

    std::string saved_;
    bool active_ = false;
};

}  // namespace zl::testing

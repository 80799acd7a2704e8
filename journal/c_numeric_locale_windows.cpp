#include "journal/c_numeric_locale.h"

#include <clocale>
#include <cstring>
#include <string>

// The platform's part, Windows's. Qt leaves the C library's locale there as C, so numbers are
// C's already and nothing is switched. Where something did set a locale with a decimal comma,
// this thread is given a locale of its own with C's numbers, and both are put back after.
struct CNumericLocale::Saved {
    int previousMode = -1; // -1: nothing was switched
    std::string previousNumbers;

    static std::unique_ptr<Saved> useCNumbers() {
        if (const std::lconv* now = std::localeconv();
            now && std::strcmp(now->decimal_point, ".") == 0)
            return std::make_unique<Saved>();
        const int mode = ::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
        if (mode == -1) return nullptr;
        const char* numbers = std::setlocale(LC_NUMERIC, nullptr);
        auto saved = std::make_unique<Saved>();
        saved->previousMode = mode;
        saved->previousNumbers = numbers ? numbers : "C";
        if (!std::setlocale(LC_NUMERIC, "C")) {
            ::_configthreadlocale(mode);
            return nullptr;
        }
        return saved;
    }
    ~Saved() {
        if (previousMode == -1) return;
        std::setlocale(LC_NUMERIC, previousNumbers.c_str());
        ::_configthreadlocale(previousMode);
    }
};

CNumericLocale::CNumericLocale() : saved(Saved::useCNumbers()) {}
CNumericLocale::~CNumericLocale() = default;

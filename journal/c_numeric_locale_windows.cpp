#include "journal/c_numeric_locale.h"

#include <clocale>
#include <string>

// The platform's part, Windows's: this thread given a locale of its own, with C's numbers, and
// both put back as they were. Other threads never notice.
struct CNumericLocale::Saved {
    int previousMode;
    std::string previousNumbers;

    static std::unique_ptr<Saved> useCNumbers() {
        const int mode = ::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
        if (mode == -1) return nullptr;
        const char* now = std::setlocale(LC_NUMERIC, nullptr);
        std::string numbers = now ? now : "C";
        if (!std::setlocale(LC_NUMERIC, "C")) {
            ::_configthreadlocale(mode);
            return nullptr;
        }
        return std::unique_ptr<Saved>(new Saved{mode, std::move(numbers)});
    }
    ~Saved() {
        std::setlocale(LC_NUMERIC, previousNumbers.c_str());
        ::_configthreadlocale(previousMode);
    }
};

CNumericLocale::CNumericLocale() : saved(Saved::useCNumbers()) {}
CNumericLocale::~CNumericLocale() = default;

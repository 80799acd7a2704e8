#include "journal/c_numeric_locale.h"

#include <locale.h>

// The platform's part, POSIX's per-thread locales: the thread's locale as it was, with C's
// numbers, put in its place and taken away again. Other threads never notice.
struct CNumericLocale::Saved {
    locale_t previous;
    locale_t cNumbers;
    static std::unique_ptr<Saved> useCNumbers() {
        // A copy of the thread's locale: its encoding and everything but numbers stay.
        const locale_t copy = ::duplocale(::uselocale(locale_t(nullptr)));
        if (!copy) return nullptr;
        const locale_t cNumbers = ::newlocale(LC_NUMERIC_MASK, "C", copy);
        if (!cNumbers) {
            ::freelocale(copy);
            return nullptr;
        }
        return std::unique_ptr<Saved>(new Saved{::uselocale(cNumbers), cNumbers});
    }
    ~Saved() {
        ::uselocale(previous);
        ::freelocale(cNumbers);
    }
};

CNumericLocale::CNumericLocale() : saved(Saved::useCNumbers()) {}
CNumericLocale::~CNumericLocale() = default;

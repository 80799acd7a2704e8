// Numbers written as C writes them ("0.5", never "0,5") on this thread, whatever the program's
// locale: for libraries that format numbers with printf into files that other programs read.
// Qt sets the user's locale at start, and a Russian one writes a decimal comma.
#pragma once

#include <memory>

class CNumericLocale {
  public:
    CNumericLocale();  // from here on, this thread's numbers are C's
    ~CNumericLocale(); // and from here on as they were
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

    // False when the locale could not be switched (no memory): numbers are then as they were.
    explicit operator bool() const { return bool(saved); }

  private:
    struct Saved;
    std::unique_ptr<Saved> saved;
};

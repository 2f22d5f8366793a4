#pragma once
// The label texts the synchronizer loads from the server database at start-up.
#include <array>
#include <string>

namespace brindlemoor {

struct LabelTexts {
    // Run labels by position (SLBEU0461 onwards).
    static constexpr size_t kFirstLine = 0;    // interactive mode's first line
    static constexpr size_t kCompanyDone = 1;  // after each company's change file
    static constexpr size_t kRunComplete = 2;  // log line at the end of a run
    static constexpr size_t kErrorPart1 = 3;   // parts of the error lines
    static constexpr size_t kErrorPart2 = 4;
    static constexpr size_t kErrorPart3 = 5;
    static constexpr size_t kTableStart = 6;  // start of a table's progress line
    static constexpr size_t kTableDone = 7;   // end of a table's progress line

    std::array<std::string, 10> run;
    std::array<std::string, 28> captions;  // SLBEU0191 onwards
    std::string noChange;                  // SLBEU0085
    std::string unitsCaption;              // SLBEU0171

    // The table caption at `position`; -1 is the UNITS caption.
    const std::string& caption(int position) const {
        return position < 0 ? unitsCaption : captions.at(static_cast<size_t>(position));
    }
};

}  // namespace brindlemoor

#pragma once
// The start of a company's change window: the date and time in the name of the company's last
// change file, else the creation date of its master-data database, else (a company met for the
// first time) the earliest time, so that everything the ERP audit holds is transferred.
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace brindlemoor {

struct WindowStart {
    int16_t day = 0;
    int16_t month = 0;
    int16_t year = 0;
    int16_t hour = 0;
    int16_t minute = 0;
    bool earliest = false;  // the folder held neither a change file nor a database
};

// Stores the parts given as text; an empty hour or minute is 0. Type mismatch or overflow
// for a part that is no number that fits.
WindowStart SetWindowStart(std::string_view day, std::string_view month, std::string_view year,
                           std::string_view hour, std::string_view minute);

// The window start of a company folder (a Linux path).
WindowStart FindWindowStart(const std::filesystem::path& companyFolder);

// Entries of a folder in name order, compared without regard to case as a Windows folder
// listing gives them (names that differ only in case keep a stable byte order).
std::vector<std::filesystem::path> ListInNameOrder(const std::filesystem::path& folder,
                                                   bool folders);

}  // namespace brindlemoor

#pragma once

#include <cctype>
#include <string>

namespace TestNames {
// "a truncated archive" → "ATruncatedArchive", for the names of table-driven cases.
inline std::string identifier(const char* description) {
    std::string name;
    bool upper = true;
    for (const char* p = description; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            name += upper ? char(std::toupper(static_cast<unsigned char>(*p))) : *p;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}
} // namespace TestNames

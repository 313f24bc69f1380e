#pragma once

#include <cstdint>
#include <string>

// The library of reference data: materials, fatigue classes for welded zones, fatigue curves
// for unwelded zones and weld classifications, each kept by name.
class CPelnoFatigueContexte {
public:
    CPelnoFatigueContexte() = default;
    CPelnoFatigueContexte(const CPelnoFatigueContexte& source) = default;
    CPelnoFatigueContexte& operator=(const CPelnoFatigueContexte& source);

    // Empties the library.
    void Clear();

    // Reads a context file into the library (adding to what it holds). Returns 0, or the code
    // of the first failure (350 when the file cannot be opened).
    std::int32_t Read(const std::string& path);
};

#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// One material: family, yield strength at 20 °C and at other temperatures, tensile strength,
// modulus of elasticity and Poisson coefficient. Read from a "*MATERIAU" block of either card
// file and kept by name in the context library.
class CPelnoFatigueMateriau {
public:
    // Material families.
    static constexpr std::int32_t kUnknownType = 10;     // never valid
    static constexpr std::int32_t kFerriticType = 20;    // card letter F
    static constexpr std::int32_t kAusteniticType = 30;  // card letter A

    // Yield strength table: (T in °C, Rpt in MPa), kept sorted by T, then by Rpt.
    using RptTable = std::vector<std::pair<double, double>>;

    CPelnoFatigueMateriau() = default;
    CPelnoFatigueMateriau(const CPelnoFatigueMateriau& source);
    CPelnoFatigueMateriau& operator=(const CPelnoFatigueMateriau& source);

    // Reads the block that follows a "*MATERIAU" card up to "*FIN_MATERIAU" and defines the
    // material. header is the card buffer of the "*MATERIAU" line.
    void Read(std::istream& input, const std::string& header);

    // Validates and stores a full definition (code 390 on any bad value); the table is sorted.
    void SetDefinition(std::string name, std::int32_t type, std::string comment, double re20,
                       RptTable rptTable, double rm, double e, double nu);

    // Yield strength (MPa) at the temperature (°C): Re20 within 0.1 °C of 20 °C, otherwise
    // read or interpolated in the table; code 480 outside the table (0.1 °C tolerance).
    double GetRet(double temperature) const;

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    std::int32_t GetType() const { return type_; }
    const std::string& GetComment() const { return comment_; }
    double GetRe20() const { return re20_; }
    const RptTable& GetRptTable() const { return rptTable_; }
    double GetRm() const { return rm_; }
    double GetE() const { return e_; }
    double GetNu() const { return nu_; }

private:
    void CopyFrom(const CPelnoFatigueMateriau& source);

    bool defined_ = false;
    std::string name_ = " ";
    std::int32_t type_ = kUnknownType;
    std::string comment_ = " ";
    double re20_ = -1.7976931348623157e308;
    RptTable rptTable_;
    double rm_ = -1.7976931348623157e308;
    double e_ = -1.7976931348623157e308;
    double nu_ = -1.7976931348623157e308;
};

// Report printout of the material.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueMateriau& material);

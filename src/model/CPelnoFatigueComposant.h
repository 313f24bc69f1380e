#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <ostream>
#include <string>

#include "model/CPelnoFatigueMateriau.h"

// One component of the vessel (a plate or shell part): kind, thickness, surface roughness,
// admissible external pressure and the name of its material in the context library. Read from
// a "*COMPOSANT" block of the data file and kept there by name.
class CPelnoFatigueComposant {
public:
    // Component kinds.
    static constexpr std::int32_t kUnknownType = 10;   // never valid
    static constexpr std::int32_t kGeneralType = 20;   // GENERAL
    static constexpr std::int32_t kCylinderType = 30;  // TOLE_CYLINDRE
    static constexpr std::int32_t kSphereType = 40;    // TOLE_SPHERE

    using MaterialTable = std::map<std::string, CPelnoFatigueMateriau>;

    CPelnoFatigueComposant() = default;
    CPelnoFatigueComposant(const CPelnoFatigueComposant& source);
    CPelnoFatigueComposant& operator=(const CPelnoFatigueComposant& source);

    // Reads the block that follows a "*COMPOSANT" card up to "*FIN_COMPOSANT"; its material
    // must be in the table.
    void Read(std::istream& input, const std::string& header, const MaterialTable& materials);

    // Validates and stores the component (code 140 on any bad value); a roughness of 0.1 µm or
    // less is replaced by 200 µm.
    void SetDefinition(const MaterialTable& materials, std::string name, std::int32_t type,
                       std::string comment, double thickness, double roughness,
                       double externalPressure, std::string materialName);

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    std::int32_t GetType() const { return type_; }
    const std::string& GetComment() const { return comment_; }
    double GetThickness() const { return thickness_; }
    double GetRoughness() const { return roughness_; }
    double GetExternalPressure() const { return externalPressure_; }
    const std::string& GetMaterialName() const { return materialName_; }

private:
    void CopyFrom(const CPelnoFatigueComposant& source);

    bool defined_ = false;
    std::string name_ = " ";
    std::int32_t type_ = kUnknownType;
    std::string comment_ = " ";
    double thickness_ = -1.7976931348623157e308;
    double roughness_ = 200.0;
    double externalPressure_ = -1.7976931348623157e308;
    std::string materialName_ = " ";
};

// Report printout of the component.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueComposant& component);

#pragma once

#include <istream>
#include <map>
#include <ostream>
#include <string>

#include "deck/CPelnoFatigueContexte.h"
#include "model/CPelnoFatigueComposant.h"

// A zone of a component without welds, computed with the unwelded-zone curve built from the
// tensile strength of the component's material, and with the stress concentration factor Kt
// (geometric stresses when Kt > 1.0001, total stresses otherwise). Read from a "*UWZONE"
// block of the data file and kept there by name.
class CPelnoFatigueUWZone {
public:
    using ComponentTable = std::map<std::string, CPelnoFatigueComposant>;

    CPelnoFatigueUWZone() = default;
    CPelnoFatigueUWZone(const CPelnoFatigueUWZone& source);
    CPelnoFatigueUWZone& operator=(const CPelnoFatigueUWZone& source);

    // Reads the block that follows a "*UWZONE" card up to "*FIN_UWZONE". The component must be
    // in the table; the zone's curve may be added to the library.
    void Read(std::istream& input, const std::string& header, const ComponentTable& components,
              CPelnoFatigueContexte& context);

    // Validates the zone (code 150), builds its curve from the Rm of the component's material
    // (code 70 when it cannot be built) and adds that curve to the library unless a curve of
    // that name is already there, which is then used.
    void SetDefinition(const ComponentTable& components, CPelnoFatigueContexte& context,
                       std::string name, std::string componentName, std::string comment, double kt);

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetComment() const { return comment_; }
    const std::string& GetComponentName() const { return componentName_; }
    const std::string& GetCurveName() const { return curveName_; }
    double GetKt() const { return kt_; }

private:
    void CopyFrom(const CPelnoFatigueUWZone& source);

    bool defined_ = false;
    std::string name_ = " ";
    std::string comment_ = " ";
    std::string componentName_ = " ";
    std::string curveName_ = " ";
    double kt_ = -1.7976931348623157e308;
};

// Report printout of the zone.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueUWZone& zone);

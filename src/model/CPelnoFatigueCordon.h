#pragma once

#include <istream>
#include <map>
#include <ostream>
#include <string>

#include "model/CPelnoFatigueClassification.h"
#include "model/CPelnoFatigueComposant.h"
#include "model/CPelnoFatigueImperfection.h"

// A weld seam joining two components, with the weld classification per C11.A5 that gives its
// fatigue class and, where the kinds of its components allow it, one shape imperfection per
// C11.A6. Read from a "*CORDON" block of the data file and kept there by name.
//
// The kinds of the two components decide what the block may hold:
//   cylinder plate + cylinder plate : "*LONGITUDINAL" or "*CIRCONFERENTIEL", imperfection;
//   cylinder plate + sphere plate   : imperfection on a circumferential geometry;
//   sphere plate + sphere plate     : imperfection on a sphere;
//   a general component on a side   : neither.
class CPelnoFatigueCordon {
public:
    using ComponentTable = std::map<std::string, CPelnoFatigueComposant>;
    using ClassificationTable = std::map<std::string, CPelnoFatigueClassification>;

    CPelnoFatigueCordon() = default;
    CPelnoFatigueCordon(const CPelnoFatigueCordon& source);
    CPelnoFatigueCordon& operator=(const CPelnoFatigueCordon& source);

    // Reads the block that follows a "*CORDON" card (its card buffer) up to "*FIN_CORDON". Both
    // components must be in the component table, the classification in the classification
    // table (the context library's).
    void Read(std::istream& input, const std::string& header, const ComponentTable& components,
              const ClassificationTable& classifications);

    // Validates and stores the seam (code 170 for a blank name, an unknown component or an
    // unknown classification). The imperfection, defined or not, is taken as it is.
    void SetDefinition(const ComponentTable& components,
                       const ClassificationTable& classifications, std::string name,
                       std::string component1, std::string component2,
                       std::string classificationName, CPelnoFatigueImperfection imperfection);

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetComponent1Name() const { return component1_; }
    const std::string& GetComponent2Name() const { return component2_; }
    const std::string& GetClassificationName() const { return classificationName_; }
    // Not defined when the seam has no shape imperfection.
    const CPelnoFatigueImperfection& GetImperfection() const { return imperfection_; }

private:
    void CopyFrom(const CPelnoFatigueCordon& source);

    bool defined_ = false;
    std::string name_ = " ";
    std::string component1_ = " ";
    std::string component2_ = " ";
    std::string classificationName_ = " ";
    CPelnoFatigueImperfection imperfection_;
};

// Report printout of the seam, its imperfection included.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueCordon& weld);

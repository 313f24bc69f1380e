#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <string>

#include "app/MethodLogName.h"
#include "model/CPelnoFatigueClasse.h"
#include "model/CPelnoFatigueClassification.h"
#include "model/CPelnoFatigueMateriau.h"
#include "model/CPelnoFatigueUWCourbe.h"

// The library of reference data: materials, fatigue classes for welded zones, fatigue curves
// for unwelded zones and weld classifications, each kept by name (exact bytes).
class CPelnoFatigueContexte {
public:
    using ClassTable = std::map<std::string, CPelnoFatigueClasse>;
    using MaterialTable = std::map<std::string, CPelnoFatigueMateriau>;
    using UWCurveTable = std::map<std::string, CPelnoFatigueUWCourbe>;
    using WeldDetailTable = std::map<std::string, CPelnoFatigueClassification>;

    CPelnoFatigueContexte() = default;
    CPelnoFatigueContexte(const CPelnoFatigueContexte& source);
    CPelnoFatigueContexte& operator=(const CPelnoFatigueContexte& source);

    // Empties the library.
    void Clear();

    // Reads a context file into the library (adding to what it holds). Returns 0, or the code
    // of the first failure (350 when the file cannot be opened).
    std::int32_t Read(const std::string& path);

    // Welded-zone fatigue classes: duplicate 60, missing 90.
    void AddFatigueClass(CPelnoFatigueClasse fatigueClass);
    bool ClassExist(std::string name) const;
    CPelnoFatigueClasse GetClass(std::string name) const;

    // Materials: duplicate 400, missing 410.
    void AddMaterial(CPelnoFatigueMateriau material);
    bool MaterialExist(std::string name) const;
    CPelnoFatigueMateriau GetMaterial(std::string name) const;

    // Unwelded-zone curves: duplicate 80, missing 100.
    void AddUWCurve(CPelnoFatigueUWCourbe curve);
    bool UWCurveExist(std::string name) const;
    CPelnoFatigueUWCourbe GetUWCurve(std::string name) const;

    // Weld classifications: duplicate 130, missing 120.
    void AddWeldDetail(CPelnoFatigueClassification classification);
    bool WeldDetailExist(std::string name) const;
    CPelnoFatigueClassification GetWeldDetail(std::string name) const;

    // Read access for the block readers that resolve names while reading.
    const ClassTable& GetFatigueClasses() const { return fatigueClasses_; }
    const MaterialTable& GetMaterials() const { return materials_; }
    const UWCurveTable& GetUWCurves() const { return uwCurves_; }
    const WeldDetailTable& GetWeldDetails() const { return weldDetails_; }

private:
    // The blocks of the context file: each reads one block (its header card line already read)
    // and stores the object, raising the duplicate code under the file reader's log name.
    void ReadFatigueClass(std::istream& input, const std::string& header, const MethodLogName& log);
    void ReadMaterial(std::istream& input, const std::string& header, const MethodLogName& log);
    void ReadUWCurve(std::istream& input, const std::string& header, const MethodLogName& log);
    void ReadWeldDetail(std::istream& input, const std::string& header, const MethodLogName& log);

    ClassTable fatigueClasses_;
    MaterialTable materials_;
    UWCurveTable uwCurves_;
    WeldDetailTable weldDetails_;
};

#include "deck/CPelnoFatigueContexte.h"

#include <fstream>

#include "app/Guarded.h"
#include "deck/CardReader.h"
#include "deck/InputFile.h"

namespace {

constexpr std::int32_t kClassExists = 60;
constexpr std::int32_t kUWCurveExists = 80;
constexpr std::int32_t kClassMissing = 90;
constexpr std::int32_t kUWCurveMissing = 100;
constexpr std::int32_t kWeldDetailMissing = 120;
constexpr std::int32_t kWeldDetailExists = 130;
constexpr std::int32_t kContextUnavailable = 350;
constexpr std::int32_t kMaterialExists = 400;
constexpr std::int32_t kMaterialMissing = 410;

// Inserts the object under its name, or raises the code when the name is already there (the
// stored object stays).
template <class Table, class Object>
void Insert(Table& table, const Object& object, std::int32_t duplicateCode, const MethodLogName& log)
{
    if (table.find(object.GetName()) != table.end()) log.Raise(duplicateCode);
    table.emplace(object.GetName(), object);
}

template <class Table>
typename Table::mapped_type Find(const Table& table, const std::string& name,
                                 std::int32_t missingCode, const MethodLogName& log)
{
    const auto found = table.find(name);
    if (found == table.end()) log.Raise(missingCode);
    return found->second;
}

}  // namespace

CPelnoFatigueContexte::CPelnoFatigueContexte(const CPelnoFatigueContexte& source)
{
    static const MethodLogName log("CPelnoFatigueContexte::CPelnoFatigueContexte(&SourceObject)");
    Guarded(log, [&] {
        fatigueClasses_ = source.fatigueClasses_;
        materials_ = source.materials_;
        uwCurves_ = source.uwCurves_;
        weldDetails_ = source.weldDetails_;
    });
}

CPelnoFatigueContexte& CPelnoFatigueContexte::operator=(const CPelnoFatigueContexte& source)
{
    static const MethodLogName log("CPelnoFatigueContexte::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueContexte& {
        if (this != &source) {
            fatigueClasses_ = source.fatigueClasses_;
            materials_ = source.materials_;
            uwCurves_ = source.uwCurves_;
            weldDetails_ = source.weldDetails_;
        }
        return *this;
    });
}

void CPelnoFatigueContexte::Clear()
{
    fatigueClasses_.clear();
    materials_.clear();
    uwCurves_.clear();
    weldDetails_.clear();
}

std::int32_t CPelnoFatigueContexte::Read(const std::string& path)
{
    return EntryGuarded([&] {
        static const MethodLogName log("CPelnoFatigueContexte::Read");
        std::ifstream input;
        OpenCardFile(input, path);
        if (!input.is_open()) log.Raise(kContextUnavailable);
        // Only the four kinds of the library; anything else is an unknown card.
        ReadCardFile(input, log, [&](const CardLine& line) {
            if (IsCard(line.text, "*CLASSE")) {
                ReadFatigueClass(input, line.buffer, log);
            } else if (IsCard(line.text, "*MATERIAU")) {
                ReadMaterial(input, line.buffer, log);
            } else if (IsCard(line.text, "*UWCOURBE")) {
                ReadUWCurve(input, line.buffer, log);
            } else if (IsCard(line.text, "*CLASSIFICATION")) {
                ReadWeldDetail(input, line.buffer, log);
            } else {
                return false;
            }
            return true;
        });
    });
}

void CPelnoFatigueContexte::ReadFatigueClass(std::istream& input, const std::string& header,
                                             const MethodLogName& log)
{
    CPelnoFatigueClasse fatigueClass;
    fatigueClass.Read(input, header);
    Insert(fatigueClasses_, fatigueClass, kClassExists, log);
}

void CPelnoFatigueContexte::ReadMaterial(std::istream& input, const std::string& header,
                                         const MethodLogName& log)
{
    CPelnoFatigueMateriau material;
    material.Read(input, header);
    Insert(materials_, material, kMaterialExists, log);
}

void CPelnoFatigueContexte::ReadUWCurve(std::istream& input, const std::string& header,
                                        const MethodLogName& log)
{
    CPelnoFatigueUWCourbe curve;
    curve.Read(input, header);
    Insert(uwCurves_, curve, kUWCurveExists, log);
}

void CPelnoFatigueContexte::ReadWeldDetail(std::istream& input, const std::string& header,
                                           const MethodLogName& log)
{
    CPelnoFatigueClassification classification;
    classification.Read(input, header, fatigueClasses_);
    Insert(weldDetails_, classification, kWeldDetailExists, log);
}

void CPelnoFatigueContexte::AddFatigueClass(CPelnoFatigueClasse fatigueClass)
{
    static const MethodLogName log("CPelnoFatigueContexte::AddFatigueClass");
    Guarded(log, [&] { Insert(fatigueClasses_, fatigueClass, kClassExists, log); });
}

bool CPelnoFatigueContexte::ClassExist(std::string name) const
{
    return fatigueClasses_.find(name) != fatigueClasses_.end();
}

CPelnoFatigueClasse CPelnoFatigueContexte::GetClass(std::string name) const
{
    static const MethodLogName log("CPelnoFatigueContexte::GetClass");
    return Guarded(log, [&] { return Find(fatigueClasses_, name, kClassMissing, log); });
}

void CPelnoFatigueContexte::AddMaterial(CPelnoFatigueMateriau material)
{
    static const MethodLogName log("CPelnoFatigueContexte::AddMaterial");
    Guarded(log, [&] { Insert(materials_, material, kMaterialExists, log); });
}

bool CPelnoFatigueContexte::MaterialExist(std::string name) const
{
    return materials_.find(name) != materials_.end();
}

CPelnoFatigueMateriau CPelnoFatigueContexte::GetMaterial(std::string name) const
{
    static const MethodLogName log("CPelnoFatigueContexte::GetMaterial");
    return Guarded(log, [&] { return Find(materials_, name, kMaterialMissing, log); });
}

void CPelnoFatigueContexte::AddUWCurve(CPelnoFatigueUWCourbe curve)
{
    static const MethodLogName log("CPelnoFatigueContexte::AddUWCurve");
    Guarded(log, [&] { Insert(uwCurves_, curve, kUWCurveExists, log); });
}

bool CPelnoFatigueContexte::UWCurveExist(std::string name) const
{
    return uwCurves_.find(name) != uwCurves_.end();
}

CPelnoFatigueUWCourbe CPelnoFatigueContexte::GetUWCurve(std::string name) const
{
    static const MethodLogName log("CPelnoFatigueContexte::GetUWCurve");
    return Guarded(log, [&] { return Find(uwCurves_, name, kUWCurveMissing, log); });
}

void CPelnoFatigueContexte::AddWeldDetail(CPelnoFatigueClassification classification)
{
    static const MethodLogName log("CPelnoFatigueContexte::AddWeldDetail");
    Guarded(log, [&] { Insert(weldDetails_, classification, kWeldDetailExists, log); });
}

bool CPelnoFatigueContexte::WeldDetailExist(std::string name) const
{
    return weldDetails_.find(name) != weldDetails_.end();
}

CPelnoFatigueClassification CPelnoFatigueContexte::GetWeldDetail(std::string name) const
{
    static const MethodLogName log("CPelnoFatigueContexte::GetWeldDetail");
    return Guarded(log, [&] { return Find(weldDetails_, name, kWeldDetailMissing, log); });
}

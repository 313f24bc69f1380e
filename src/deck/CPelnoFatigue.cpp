#include "deck/CPelnoFatigue.h"

#include "app/Guarded.h"
#include "app/UserLocale.h"
#include "deck/CardReader.h"
#include "deck/InputFile.h"

namespace {

constexpr std::int32_t kComponentExists = 250;
constexpr std::int32_t kUWZoneExists = 260;

// Stores the object under its name, or raises the code when the name is already there (the
// earlier object stays).
template <class Table, class Object>
void Store(Table& table, const Object& object, std::int32_t duplicateCode, const MethodLogName& log)
{
    if (table.find(object.GetName()) != table.end()) log.Raise(duplicateCode);
    table.emplace(object.GetName(), object);
}

}  // namespace

CPelnoFatigue::CPelnoFatigue(const CPelnoFatigue& source)
    : components_(source.components_),
      uwZones_(source.uwZones_),
      context_(source.context_),
      inputPath_(source.inputPath_),
      outputDirectory_(source.outputDirectory_)
{
}

std::int32_t CPelnoFatigue::SetInputFile(const std::string& path)
{
    return EntryGuarded([&] {
        static const MethodLogName log("CPelnoFatigue::SetInputFile");
        inputPath_ = path;
        OpenCardFile(input_, path);
        if (!input_.is_open()) log.Raise(240);
        input_.imbue(UserLocale());
    });
}

std::int32_t CPelnoFatigue::SetContext(const CPelnoFatigueContexte& library)
{
    return EntryGuarded([&] {
        context_.Clear();
        context_ = library;
    });
}

std::int32_t CPelnoFatigue::SetOutputDirectory(const std::string& path)
{
    return EntryGuarded([&] { outputDirectory_ = path; });
}

std::int32_t CPelnoFatigue::Read()
{
    return EntryGuarded([&] {
        static const MethodLogName log("CPelnoFatigue::Read");
        if (!input_.is_open()) log.Raise(240);
        ReadCardFile(input_, log, [&](const CardLine& line) { return ReadCard(line, log); });
    });
}

bool CPelnoFatigue::ReadCard(const CardLine& line, const MethodLogName& log)
{
    // The keywords are tested in this order, the first prefix match winning.
    const std::string& card = line.text;
    if (IsCard(card, "*CLASSE")) {
        CPelnoFatigueClasse fatigueClass;
        fatigueClass.Read(input_, line.buffer);
        context_.AddFatigueClass(fatigueClass);
    } else if (IsCard(card, "*COMPOSANT")) {
        CPelnoFatigueComposant component;
        component.Read(input_, line.buffer, context_.GetMaterials());
        Store(components_, component, kComponentExists, log);
    }
    // "*HISTORIQUE" (stress histories; duplicate 280) is tested here, third.
    else if (IsCard(card, "*MATERIAU")) {
        CPelnoFatigueMateriau material;
        material.Read(input_, line.buffer);
        context_.AddMaterial(material);
    } else if (IsCard(card, "*UWCOURBE")) {
        CPelnoFatigueUWCourbe curve;
        curve.Read(input_, line.buffer);
        context_.AddUWCurve(curve);
    } else if (IsCard(card, "*UWZONE")) {
        CPelnoFatigueUWZone zone;
        zone.Read(input_, line.buffer, components_, context_);
        Store(uwZones_, zone, kUWZoneExists, log);
    }
    // "*CORDON" (weld seams; duplicate 270) is tested here, seventh.
    else if (IsCard(card, "*CLASSIFICATION")) {
        CPelnoFatigueClassification classification;
        classification.Read(input_, line.buffer, context_.GetFatigueClasses());
        context_.AddWeldDetail(classification);
    }
    // "*DOMMAGE" (damage requests, executed at once) is tested here, last.
    else {
        return false;
    }
    return true;
}

#include "deck/CPelnoFatigue.h"

#include "app/Guarded.h"
#include "app/UserLocale.h"
#include "damage/CPelnoFatigueClause.h"
#include "deck/CardReader.h"
#include "deck/InputFile.h"

namespace {

constexpr std::int32_t kComponentExists = 250;
constexpr std::int32_t kUWZoneExists = 260;
constexpr std::int32_t kWeldExists = 270;
constexpr std::int32_t kHistoryExists = 280;

// Stores the object under its name, or raises the code when the name is already there (the
// earlier object stays).
template <class Table, class Object>
void Store(Table& table, const Object& object, std::int32_t duplicateCode, const MethodLogName& log)
{
    if (table.find(object.GetName()) != table.end()) log.Raise(duplicateCode);
    table.emplace(object.GetName(), object);
}

// A copy of the object of that name, or the code when the table has none.
template <class Table>
typename Table::mapped_type Find(const Table& table, const std::string& name,
                                 std::int32_t missingCode, const MethodLogName& log)
{
    const auto found = table.find(name);
    if (found == table.end()) log.Raise(missingCode);
    return found->second;
}

}  // namespace

CPelnoFatigue::CPelnoFatigue(const CPelnoFatigue& source)
    : components_(source.components_),
      welds_(source.welds_),
      uwZones_(source.uwZones_),
      histories_(source.histories_),
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
        // One request object, reused for every "*DOMMAGE" block.
        CPelnoFatigueClause request;
        ReadCardFile(input_, log, [&](const CardLine& line) { return ReadCard(line, log, request); });
    });
}

CPelnoFatigueComposant CPelnoFatigue::GetComponent(std::string name) const
{
    static const MethodLogName log("CPelnoFatigue::GetComponent");
    return Guarded(log, [&] { return Find(components_, name, 380, log); });
}

CPelnoFatigueHistorique CPelnoFatigue::GetHistory(std::string name) const
{
    static const MethodLogName log("CPelnoFatigue::GetHistory");
    return Guarded(log, [&] { return Find(histories_, name, 300, log); });
}

CPelnoFatigueUWZone CPelnoFatigue::GetUWZone(std::string name) const
{
    static const MethodLogName log("CPelnoFatigue::GetUWZone");
    return Guarded(log, [&] { return Find(uwZones_, name, 370, log); });
}

CPelnoFatigueCordon CPelnoFatigue::GetWeld(std::string name) const
{
    static const MethodLogName log("CPelnoFatigue::GetWeld");
    return Guarded(log, [&] { return Find(welds_, name, 360, log); });
}

bool CPelnoFatigue::ReadCard(const CardLine& line, const MethodLogName& log, CPelnoFatigueClause& request)
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
    } else if (IsCard(card, "*HISTORIQUE")) {
        CPelnoFatigueHistorique history;
        history.Read(input_, line.buffer, uwZones_, welds_);
        Store(histories_, history, kHistoryExists, log);
    } else if (IsCard(card, "*MATERIAU")) {
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
    } else if (IsCard(card, "*CORDON")) {
        CPelnoFatigueCordon weld;
        weld.Read(input_, line.buffer, components_, context_.GetWeldDetails());
        Store(welds_, weld, kWeldExists, log);
    } else if (IsCard(card, "*CLASSIFICATION")) {
        CPelnoFatigueClassification classification;
        classification.Read(input_, line.buffer, context_.GetFatigueClasses());
        context_.AddWeldDetail(classification);
    }
    else if (IsCard(line.text, "*DOMMAGE")) {
        // Executed at once, on a copy of the study as it stands at this line: a request sees
        // exactly the objects defined above it, and its report is complete before the next
        // line is read.
        request.Clear();
        request.Read(input_, outputDirectory_, *this);
        request.SetOutputMode(CPelnoFatigueClause::kReport);
        request.Damage();
        request.Clear();
    }
    else {
        return false;
    }
    return true;
}

#include "stress/CPelnoFatigueHistorique.h"

#include <limits>
#include <utility>

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"
#include "stress/CPelnoFatigueReleveLin.h"
#include "stress/CPelnoFatigueReleveQuad.h"

namespace {

constexpr std::int32_t kBadHistory = 200;
constexpr std::int32_t kInternalError = 210;
// A history holds at least this many records.
constexpr std::size_t kMinimumRecords = 3;

// The record of an entry as the class of the entry's kind; code 210 when it is not one.
template <class Record>
const Record& AsKind(const CPelnoFatigueReleve& record, const MethodLogName& log)
{
    const Record* typed = dynamic_cast<const Record*>(&record);
    if (typed == nullptr) log.Raise(kInternalError);
    return *typed;
}

}  // namespace

const CPelnoFatigueReleve& CPelnoFatigueHistorique::Entry::GetRecord() const
{
    static const MethodLogName log("CPelnoFatigueHistorique::Entry::GetRecord");
    if (!record_) log.Raise(kInternalError);
    return *record_;
}

CPelnoFatigueReleve& CPelnoFatigueHistorique::Entry::GetRecord()
{
    static const MethodLogName log("CPelnoFatigueHistorique::Entry::GetRecord");
    if (!record_) log.Raise(kInternalError);
    return *record_;
}

CPelnoFatigueHistorique::CPelnoFatigueHistorique(const CPelnoFatigueHistorique& source)
{
    static const MethodLogName log("CPelnoFatigueHistorique::CPelnoFatigueHistorique(&Source)");
    Guarded(log, [&] {
        records_ = CopyRecords(source.records_, log);
        defined_ = source.defined_;
        name_ = source.name_;
        zoneName_ = source.zoneName_;
        type_ = source.type_;
    });
}

CPelnoFatigueHistorique& CPelnoFatigueHistorique::operator=(const CPelnoFatigueHistorique& source)
{
    static const MethodLogName log("CPelnoFatigueHistorique::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueHistorique& {
        if (this == &source) return *this;
        // Copied whole before anything is replaced.
        RecordTable records = CopyRecords(source.records_, log);
        std::string name = source.name_;
        std::string zoneName = source.zoneName_;
        records_ = std::move(records);
        name_ = std::move(name);
        zoneName_ = std::move(zoneName);
        type_ = source.type_;
        defined_ = source.defined_;
        return *this;
    });
}

CPelnoFatigueHistorique::RecordTable CPelnoFatigueHistorique::CopyRecords(
    const RecordTable& records, const MethodLogName& log)
{
    RecordTable copy;
    for (const auto& [number, entry] : records) {
        const CPelnoFatigueReleve& record = entry.GetRecord();
        std::unique_ptr<CPelnoFatigueReleve> made;
        switch (entry.GetKind()) {
        case kPlainRecord:
            made = std::make_unique<CPelnoFatigueReleve>(record);
            break;
        case kLinearRecord:
            made = std::make_unique<CPelnoFatigueReleveLin>(
                AsKind<CPelnoFatigueReleveLin>(record, log));
            break;
        case kQuadraticRecord:
            made = std::make_unique<CPelnoFatigueReleveQuad>(
                AsKind<CPelnoFatigueReleveQuad>(record, log));
            break;
        default:
            log.Raise(kInternalError);
        }
        copy.emplace(number, Entry(entry.GetKind(), std::move(made)));
    }
    return copy;
}

CPelnoFatigueReleve& CPelnoFatigueHistorique::GetRecord(std::int32_t number)
{
    static const MethodLogName log("CPelnoFatigueHistorique::GetRecord");
    return Guarded(log, [&]() -> CPelnoFatigueReleve& {
        const auto entry = records_.find(number);
        if (entry == records_.end()) log.Raise(kInternalError);
        return entry->second.GetRecord();
    });
}

const CPelnoFatigueReleve& CPelnoFatigueHistorique::GetRecord(std::int32_t number) const
{
    static const MethodLogName log("CPelnoFatigueHistorique::GetRecord");
    return Guarded(log, [&]() -> const CPelnoFatigueReleve& {
        const auto entry = records_.find(number);
        if (entry == records_.end()) log.Raise(kInternalError);
        return entry->second.GetRecord();
    });
}

void CPelnoFatigueHistorique::Read(std::istream& input, const std::string& cardLine,
                                   const UWZoneTable& uwZones, const WeldTable& welds)
{
    static const MethodLogName log("CPelnoFatigueHistorique::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(cardLine);
        std::string zoneName = " ";
        std::int32_t type = kUnknownType;
        bool zoneGiven = false;
        RecordTable records;
        std::int32_t number = 0;

        // A record block of the given kind, numbered in reading order whatever its kind.
        const auto readRecord = [&](std::int32_t kind, std::unique_ptr<CPelnoFatigueReleve> record,
                                    const std::string& card) {
            if (number == std::numeric_limits<std::int32_t>::max()) log.Raise(kBadHistory);
            record->Read(input, card, number);
            records.emplace(number, Entry(kind, std::move(record)));
            ++number;
        };
        // The zone group: one card of the three, once.
        const auto zoneCard = [&](std::int32_t kind, const std::string& card) {
            if (zoneGiven) log.Raise(30);
            zoneGiven = true;
            zoneName = CardText(card);
            type = kind;
        };

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*HISTORIQUE_UWZONE")) {
                zoneCard(kUWZoneType, card);
            } else if (IsCard(card, "*HISTORIQUE_CORDON")) {
                zoneCard(kWeldType, card);
            } else if (IsCard(card, "*HISTORIQUE_GORGE")) {
                zoneCard(kThroatType, card);
            } else if (IsCard(card, "*RELEVE") && card.at(7) == ' ') {
                // The plain record's card is followed by a blank, which sets it apart from
                // "*RELEVELIN" and "*RELEVEQUAD"; at() fails on the keyword alone, an unknown
                // failure as for the record's own cards.
                readRecord(kPlainRecord, std::make_unique<CPelnoFatigueReleve>(), card);
            } else if (IsCard(card, "*RELEVELIN")) {
                readRecord(kLinearRecord, std::make_unique<CPelnoFatigueReleveLin>(), card);
            } else if (IsCard(card, "*RELEVEQUAD")) {
                readRecord(kQuadraticRecord, std::make_unique<CPelnoFatigueReleveQuad>(), card);
            } else if (IsCard(card, "*FIN_HISTORIQUE")) {
                if (!zoneGiven || records.size() < kMinimumRecords) log.Raise(kBadHistory);
                SetDefinition(uwZones, welds, name, zoneName, type, records);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueHistorique::SetDefinition(const UWZoneTable& uwZones, const WeldTable& welds,
                                            std::string name, std::string zoneName,
                                            std::int32_t type, const RecordTable& records)
{
    static const MethodLogName log("CPelnoFatigueHistorique::SetDefinition");
    Guarded(log, [&] {
        defined_ = false;
        bool zoneKnown = false;
        if (type == kWeldType || type == kThroatType) {
            zoneKnown = welds.find(zoneName) != welds.end();
        } else if (type == kUWZoneType) {
            zoneKnown = uwZones.find(zoneName) != uwZones.end();
        }
        if (name == " " || !zoneKnown) log.Raise(kBadHistory);

        RecordTable copy = CopyRecords(records, log);
        name_ = std::move(name);
        zoneName_ = std::move(zoneName);
        type_ = type;
        records_ = std::move(copy);
        defined_ = true;
    });
}

void CPelnoFatigueHistorique::PrintReport(std::ostream& out) const
{
    static const MethodLogName log("CPelnoFatigueHistorique std::ofstream operator<<");
    static const char* const legend[4] = {
        "                                               10-->inconnu",
        "                                               20-->pour une zone soudée",
        "                                               30-->pour une zone non soudée",
        "                                               40-->pour une gorge de cordon",
    };
    out << '\n';
    out << ToReportText("Nom de l'historique de contraintes           : ") << name_ << '\n';
    out << ToReportText("Nom de la zone (cordon, UW , gorge) associée : ") << zoneName_ << '\n';
    out << ToReportText("Type de l'historique                         : ") << type_ << '\n';
    for (const char* line : legend) out << ToReportText(line) << '\n';
    out << ToReportText("Nombre de relevés de contraintes stockés     : ") << records_.size()
        << '\n';
    out << '\n';
    for (const auto& [number, entry] : records_) {
        const CPelnoFatigueReleve& record = entry.GetRecord();
        switch (entry.GetKind()) {
        case kPlainRecord:
            out << record;
            break;
        case kLinearRecord:
            out << AsKind<CPelnoFatigueReleveLin>(record, log);
            break;
        case kQuadraticRecord:
            out << AsKind<CPelnoFatigueReleveQuad>(record, log);
            break;
        default:
            log.Raise(kInternalError);
        }
        out << '\n';
    }
    out << '\n';
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueHistorique& history)
{
    static const MethodLogName log("CPelnoFatigueHistorique std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        history.PrintReport(out);
        return out;
    });
}

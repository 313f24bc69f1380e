#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "app/MethodLogName.h"
#include "model/CPelnoFatigueCordon.h"
#include "model/CPelnoFatigueUWZone.h"
#include "stress/CPelnoFatigueReleve.h"

// The ordered stress records that load one analysed zone over one loading period: a weld seam,
// an unwelded zone or the throat of a weld seam. The records are numbered 0, 1, 2, ... in the
// order of their blocks, whatever their kind; these numbers are the instants of the damage
// computations. Read from a "*HISTORIQUE" block of the data file and kept there by name.
class CPelnoFatigueHistorique {
public:
    // Kinds of history: the zone name refers to ...
    static constexpr std::int32_t kUnknownType = 10;  // nothing (never valid)
    static constexpr std::int32_t kWeldType = 20;     // a weld seam ("*HISTORIQUE_CORDON")
    static constexpr std::int32_t kUWZoneType = 30;   // an unwelded zone ("*HISTORIQUE_UWZONE")
    static constexpr std::int32_t kThroatType = 40;   // a weld seam's throat ("*HISTORIQUE_GORGE")

    // Kinds of record, each the code of the record's class.
    static constexpr std::int32_t kPlainRecord = 10;      // CPelnoFatigueReleve
    static constexpr std::int32_t kLinearRecord = 20;     // CPelnoFatigueReleveLin
    static constexpr std::int32_t kQuadraticRecord = 30;  // CPelnoFatigueReleveQuad

    // One record with the kind of its class; the entry owns the record. Inside a history the
    // kind always matches the record's class.
    class Entry {
    public:
        Entry(std::int32_t kind, std::unique_ptr<CPelnoFatigueReleve> record)
            : kind_(kind), record_(std::move(record))
        {
        }
        std::int32_t GetKind() const { return kind_; }
        // Code 210 on an entry without a record.
        const CPelnoFatigueReleve& GetRecord() const;
        CPelnoFatigueReleve& GetRecord();

    private:
        std::int32_t kind_;
        std::unique_ptr<CPelnoFatigueReleve> record_;
    };
    // Records by number, ascending.
    using RecordTable = std::map<std::int32_t, Entry>;
    using UWZoneTable = std::map<std::string, CPelnoFatigueUWZone>;
    using WeldTable = std::map<std::string, CPelnoFatigueCordon>;

    CPelnoFatigueHistorique() = default;
    // Deep copies: every record is copied by its kind.
    CPelnoFatigueHistorique(const CPelnoFatigueHistorique& source);
    CPelnoFatigueHistorique& operator=(const CPelnoFatigueHistorique& source);
    ~CPelnoFatigueHistorique() = default;

    // Reads the block opened by cardLine (the "*HISTORIQUE" line, already read) up to
    // "*FIN_HISTORIQUE". The zone is looked up among the study's unwelded zones or weld seams.
    void Read(std::istream& input, const std::string& cardLine, const UWZoneTable& uwZones,
              const WeldTable& welds);

    // Validates the names and the kind (code 200) and stores them with a copy of every record
    // made by its kind (code 210 for a kind that is none of the three, or that does not match
    // the record's class).
    void SetDefinition(const UWZoneTable& uwZones, const WeldTable& welds, std::string name,
                       std::string zoneName, std::int32_t type, const RecordTable& records);

    bool IsDefined() const { return defined_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetZoneName() const { return zoneName_; }
    std::int32_t GetType() const { return type_; }
    std::size_t GetRecordCount() const { return records_.size(); }
    // The records in ascending number order:
    //     for (const auto& [number, entry] : history.GetRecords()) entry.GetKind(), entry.GetRecord()
    const RecordTable& GetRecords() const { return records_; }
    // The record of a number, for instance to change the stresses of a working copy of the
    // history (code 210 when the history has no record of that number).
    CPelnoFatigueReleve& GetRecord(std::int32_t number);
    const CPelnoFatigueReleve& GetRecord(std::int32_t number) const;

private:
    // A copy of the records, each made by its kind, raising 210 under the caller's log name.
    static RecordTable CopyRecords(const RecordTable& records, const MethodLogName& log);
    void PrintReport(std::ostream& out) const;
    friend std::ostream& operator<<(std::ostream& out, const CPelnoFatigueHistorique& history);

    bool defined_ = false;
    std::string name_ = " ";
    std::string zoneName_ = " ";
    std::int32_t type_ = kUnknownType;
    RecordTable records_;
};

// Report printout of the history, each record with the layout of its kind.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueHistorique& history);

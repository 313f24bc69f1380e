#include "damage/CPelnoFatigueClause.h"

#include <boost/filesystem.hpp>

#include "app/Guarded.h"
#include "app/UserLocale.h"
#include "damage/CPelnoFatigueMises.h"
#include "damage/CPelnoFatigueRainFlow.h"
#include "damage/CPelnoFatigueReservoir.h"
#include "damage/CPelnoFatigueTresca.h"
#include "damage/UWZoneDamage.h"
#include "damage/WeldDamage.h"
#include "damage/WeldThroatDamage.h"
#include "deck/BlockReader.h"
#include "deck/CPelnoFatigue.h"

CPelnoFatigueClause::CPelnoFatigueClause() = default;
CPelnoFatigueClause::~CPelnoFatigueClause() = default;

void CPelnoFatigueClause::Clear()
{
    study_.reset();
    history_.reset();
    countingMethod_.reset();
    criterion_.reset();
    outputFileName_.clear();
    outputDirectory_.clear();
    outputMode_ = kNoReport;
}

void CPelnoFatigueClause::Read(std::istream& input, std::string outputDirectory, const CPelnoFatigue& study)
{
    static const MethodLogName log("CPelnoFatigueClause::Read");
    Guarded(log, [&] {
        std::string historyName = " ";
        std::string fileName = " ";
        std::int32_t method = 10;
        bool historyGiven = false;
        bool fileGiven = false;
        bool methodGiven = false;
        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*POINT_HISTORIQUE")) {
                block.Once(historyGiven);
                historyName = CardText(card);
            } else if (IsCard(card, "*FICHIER_SORTIE")) {
                block.Once(fileGiven);
                fileName = CardText(card);
            } else if (IsCard(card, "*RESERVOIR")) {
                block.Once(methodGiven);
                method = kReservoir;
            } else if (IsCard(card, "*RAINFLOW")) {
                block.Once(methodGiven);
                method = kRainFlow;
            } else if (IsCard(card, "*FIN_DOMMAGE")) {
                if (!historyGiven) log.Raise(310);
                SetDefinition(study, outputDirectory, fileName, historyName, kTresca, method);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueClause::SetDefinition(const CPelnoFatigue& study, std::string outputDirectory,
                                        std::string outputFileName, std::string historyName,
                                        std::int32_t criterion, std::int32_t countingMethod)
{
    static const MethodLogName log("CPelnoFatigueClause::SetDefinition");
    Guarded(log, [&] {
        study_.reset();
        history_.reset();
        countingMethod_.reset();
        criterion_.reset();
        try {
            study_ = std::make_unique<CPelnoFatigue>(study);
            history_ = std::make_unique<CPelnoFatigueHistorique>(study_->GetHistory(historyName));
            if (countingMethod == kReservoir) {
                countingMethod_ = std::make_unique<CPelnoFatigueReservoir>();
            } else if (countingMethod == kRainFlow) {
                countingMethod_ = std::make_unique<CPelnoFatigueRainFlow>();
            } else {
                log.Raise(330);
            }
            if (criterion == kTresca) {
                criterion_ = std::make_unique<CPelnoFatigueTresca>();
            } else if (criterion == kMises) {
                criterion_ = std::make_unique<CPelnoFatigueMises>();
            } else {
                log.Raise(320);
            }
        } catch (...) {
            study_.reset();
            history_.reset();
            countingMethod_.reset();
            criterion_.reset();
            throw;
        }
        outputFileName_ = std::move(outputFileName);
        outputDirectory_ = std::move(outputDirectory);
    });
}

void CPelnoFatigueClause::Damage()
{
    static const MethodLogName log("CPelnoFatigueClause::Damage");
    Guarded(log, [&] {
        if (!history_) log.Raise(200);
#ifdef PELNO_FUZZ_HISTORY_LIMIT
        // Fuzzing builds only: the search grows with the square of the records, so long
        // histories would make the fuzzer slow without reaching new code.
        if (history_->GetRecordCount() > PELNO_FUZZ_HISTORY_LIMIT) return;
#endif
        switch (history_->GetType()) {
        case CPelnoFatigueHistorique::kWeldType:
            DamageWeldCriticalPlane();
            break;
        case CPelnoFatigueHistorique::kThroatType:
            DamageWeldThroat();
            break;
        case CPelnoFatigueHistorique::kUWZoneType:
            DamageUWZoneCriticalPlane();
            break;
        default:
            log.Raise(200);
        }
    });
}

std::unique_ptr<std::ofstream> CPelnoFatigueClause::GetFile() const
{
    static const MethodLogName log("CPelnoFatigueClause::GetFile");
    return Guarded(log, [&]() -> std::unique_ptr<std::ofstream> {
        if (outputFileName_.empty()) log.Raise(290);
        // The report path is the directory text immediately followed by the file name. The
        // text must name an existing entry of any kind (450 otherwise). When it names a
        // directory without its final '/', plain concatenation would put the reports beside that
        // directory, under another name, while the run ends normally: they go inside it, as if
        // the '/' were there.
        std::string directory = outputDirectory_;
        if (!directory.empty()) {
            boost::system::error_code error;
            const boost::filesystem::file_status status =
                boost::filesystem::status(boost::filesystem::path(directory), error);
            if (!boost::filesystem::exists(status)) log.Raise(450);
            if (boost::filesystem::is_directory(status) && directory.back() != '/') directory += '/';
        }
        const std::string path = directory + outputFileName_;
        boost::system::error_code error;
        const bool present = boost::filesystem::exists(boost::filesystem::path(path), error);
        // Binary: line ends are written as single line feeds, whatever the platform.
        const std::ios::openmode mode =
            present ? std::ios::out | std::ios::app | std::ios::binary : std::ios::out | std::ios::binary;
        auto stream = std::make_unique<std::ofstream>(path, mode);
        stream->imbue(UserLocale());
        if (!stream->good()) log.Raise(290);
        return stream;
    });
}

void CPelnoFatigueClause::FinishReport(const MethodLogName& log, std::unique_ptr<std::ofstream> report)
{
    if (!report) return;
    report->flush();
    const bool written = report->good();
    report->close();
    if (!written || report->fail()) log.Raise(290);
}

void CPelnoFatigueClause::DamageUWZoneCriticalPlane()
{
    static const MethodLogName log("CPelnoFatigueClause::DamageUWZoneCriticalPlane");
    Guarded(log, [&] {
        std::unique_ptr<std::ofstream> report;
        if (outputMode_ == kReport) report = GetFile();
        UWZoneDamage procedure(log, *study_, *history_, *countingMethod_, *criterion_);
        procedure.Run(report.get());
        FinishReport(log, std::move(report));
    });
}

void CPelnoFatigueClause::DamageWeldCriticalPlane()
{
    static const MethodLogName log("CPelnoFatigueClause::DamageWeldCriticalPlane");
    Guarded(log, [&] {
        std::unique_ptr<std::ofstream> report;
        if (outputMode_ == kReport) report = GetFile();
        // The procedure intensifies the stresses of this request's own copy of the history.
        WeldDamage procedure(log, *study_, *history_, *countingMethod_, *criterion_);
        procedure.Run(report.get());
        FinishReport(log, std::move(report));
    });
}

void CPelnoFatigueClause::DamageWeldThroat()
{
    static const MethodLogName log("CPelnoFatigueClause::DamageWeldThroat");
    Guarded(log, [&] {
        std::unique_ptr<std::ofstream> report;
        if (outputMode_ == kReport) report = GetFile();
        WeldThroatDamage procedure(log, *study_, *history_, *countingMethod_, *criterion_);
        procedure.Run(report.get());
        FinishReport(log, std::move(report));
    });
}

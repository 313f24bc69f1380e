#include "model/CPelnoFatigueComposant.h"

#include <limits>

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"
#include "deck/CardValues.h"

namespace {

constexpr std::int32_t kBadComponent = 140;

}  // namespace

CPelnoFatigueComposant::CPelnoFatigueComposant(const CPelnoFatigueComposant& source)
{
    static const MethodLogName log("CPelnoFatigueComposant::CPelnoFatigueComposant(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueComposant& CPelnoFatigueComposant::operator=(const CPelnoFatigueComposant& source)
{
    static const MethodLogName log("CPelnoFatigueComposant::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueComposant& {
        if (this != &source) CopyFrom(source);
        return *this;
    });
}

void CPelnoFatigueComposant::CopyFrom(const CPelnoFatigueComposant& source)
{
    defined_ = source.defined_;
    name_ = source.name_;
    type_ = source.type_;
    comment_ = source.comment_;
    thickness_ = source.thickness_;
    roughness_ = source.roughness_;
    externalPressure_ = source.externalPressure_;
    materialName_ = source.materialName_;
}

void CPelnoFatigueComposant::Read(std::istream& input, const std::string& header,
                                  const MaterialTable& materials)
{
    static const MethodLogName log("CPelnoFatigueComposant::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(header);
        std::string comment = " ";
        std::int32_t type = kUnknownType;
        double thickness = std::numeric_limits<double>::lowest();
        double roughness = 200.0;
        double externalPressure = std::numeric_limits<double>::lowest();
        std::string materialName = " ";
        bool commentGiven = false;
        bool typeGiven = false;
        bool parametersGiven = false;
        bool materialGiven = false;

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*COMMENTAIRE")) {
                block.Once(commentGiven);
                comment = CardText(card);
            } else if (IsCard(card, "*TYPE")) {
                block.Once(typeGiven);
                CardValues values(card);
                std::string word;
                if (!values.NextWord(word)) log.Raise(kBadComponent);
                if (word == "GENERAL") {
                    type = kGeneralType;
                } else if (word == "TOLE_CYLINDRE") {
                    type = kCylinderType;
                } else if (word == "TOLE_SPHERE") {
                    type = kSphereType;
                } else {
                    log.Raise(kBadComponent);
                }
            } else if (IsCard(card, "*PARAMETRE")) {
                block.Once(parametersGiven);
                CardValues values(card);
                thickness = values.Number(kBadComponent, log);
                roughness = values.Number(kBadComponent, log);
                externalPressure = values.Number(kBadComponent, log);
            } else if (IsCard(card, "*COMPOSANT_MATERIAU")) {
                block.Once(materialGiven);
                materialName = CardText(card);
            } else if (IsCard(card, "*FIN_COMPOSANT")) {
                if (!typeGiven || !parametersGiven || !materialGiven) log.Raise(kBadComponent);
                SetDefinition(materials, name, type, comment, thickness, roughness,
                              externalPressure, materialName);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueComposant::SetDefinition(const MaterialTable& materials, std::string name,
                                           std::int32_t type, std::string comment,
                                           double thickness, double roughness,
                                           double externalPressure, std::string materialName)
{
    static const MethodLogName log("CPelnoFatigueComposant::SetDefinition");
    Guarded(log, [&] {
        if (name == " ") log.Raise(kBadComponent);
        if (type != kGeneralType && type != kCylinderType && type != kSphereType) {
            log.Raise(kBadComponent);
        }
        if (materials.find(materialName) == materials.end()) log.Raise(kBadComponent);
        if (!(thickness >= 0.5 && thickness <= 1000.0)) log.Raise(kBadComponent);
        if (!(roughness <= 2000.0)) log.Raise(kBadComponent);
        // No roughness given (0) or a negligible one: the default roughness.
        if (roughness <= 0.1) roughness = 200.0;

        name_ = std::move(name);
        type_ = type;
        comment_ = std::move(comment);
        thickness_ = thickness;
        roughness_ = roughness;
        externalPressure_ = externalPressure;
        materialName_ = std::move(materialName);
        defined_ = true;
    });
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueComposant& component)
{
    static const MethodLogName log("CPelnoFatigueComposant std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        out << '\n';
        out << ToReportText("Nom du composant                : ") << component.GetName() << '\n';
        out << ToReportText("Type du composant               : ") << component.GetType() << '\n';
        out << ToReportText("                                  10-->Inconnu") << '\n';
        out << ToReportText("                                  20-->Général") << '\n';
        out << ToReportText("                                  30-->Tôle de cylindre") << '\n';
        out << ToReportText("                                  40-->Tôle de sphère") << '\n';
        out << ToReportText("Commentaire                     : ") << component.GetComment() << '\n';
        out << ToReportText("Épaisseur du composant (mm)     : ") << component.GetThickness() << '\n';
        out << ToReportText("Rugosité du composant (micro m) : ") << component.GetRoughness() << '\n';
        out << ToReportText("Pression extérieure admissible  : ") << component.GetExternalPressure()
            << '\n';
        out << ToReportText(
                   "                                  Utile pour les cylindres et les cônes avec défauts")
            << '\n';
        out << ToReportText("Nom du matériau utilisé         : ") << component.GetMaterialName()
            << '\n';
        out << '\n';
        return out;
    });
}

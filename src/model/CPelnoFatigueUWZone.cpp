#include "model/CPelnoFatigueUWZone.h"

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"
#include "deck/CardValues.h"
#include "model/CPelnoFatigueUWCourbe.h"

namespace {

constexpr std::int32_t kBadZone = 150;

}  // namespace

CPelnoFatigueUWZone::CPelnoFatigueUWZone(const CPelnoFatigueUWZone& source)
{
    static const MethodLogName log("CPelnoFatigueUWZone::CPelnoFatigueUWZone(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueUWZone& CPelnoFatigueUWZone::operator=(const CPelnoFatigueUWZone& source)
{
    static const MethodLogName log("CPelnoFatigueUWZone::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueUWZone& {
        if (this != &source) CopyFrom(source);
        return *this;
    });
}

void CPelnoFatigueUWZone::CopyFrom(const CPelnoFatigueUWZone& source)
{
    defined_ = source.defined_;
    name_ = source.name_;
    comment_ = source.comment_;
    componentName_ = source.componentName_;
    curveName_ = source.curveName_;
    kt_ = source.kt_;
}

void CPelnoFatigueUWZone::Read(std::istream& input, const std::string& header,
                               const ComponentTable& components, CPelnoFatigueContexte& context)
{
    static const MethodLogName log("CPelnoFatigueUWZone::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(header);
        std::string comment = " ";
        std::string componentName = " ";
        double kt = 1.0;
        bool commentGiven = false;
        bool componentGiven = false;
        bool ktGiven = false;

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*COMMENTAIRE")) {
                block.Once(commentGiven);
                comment = CardText(card);
            } else if (IsCard(card, "*UWZONE_COMPOSANT")) {
                block.Once(componentGiven);
                componentName = CardText(card);
            } else if (IsCard(card, "*PARAMETRE")) {
                block.Once(ktGiven);
                CardValues values(card);
                kt = values.Number(kBadZone, log);
            } else if (IsCard(card, "*FIN_UWZONE")) {
                if (!componentGiven) log.Raise(kBadZone);
                SetDefinition(components, context, name, componentName, comment, kt);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueUWZone::SetDefinition(const ComponentTable& components,
                                        CPelnoFatigueContexte& context, std::string name,
                                        std::string componentName, std::string comment, double kt)
{
    static const MethodLogName log("CPelnoFatigueUWZone::SetDefinition");
    Guarded(log, [&] {
        const auto component = components.find(componentName);
        if (name == " " || component == components.end() || !(kt >= 0.9999)) log.Raise(kBadZone);

        // The zone's curve comes from the tensile strength of its material; a curve already
        // known under the same name (the integer part of Rm) is used as it is.
        const CPelnoFatigueMateriau material =
            context.GetMaterial(component->second.GetMaterialName());
        CPelnoFatigueUWCourbe curve;
        curve.SetDefinition(material.GetRm());
        if (!context.UWCurveExist(curve.GetName())) context.AddUWCurve(curve);

        name_ = std::move(name);
        comment_ = std::move(comment);
        componentName_ = std::move(componentName);
        curveName_ = curve.GetName();
        kt_ = kt;
        defined_ = true;
    });
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueUWZone& zone)
{
    static const MethodLogName log("CPelnoFatigueUWZone std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        out << '\n';
        out << ToReportText("Nom de la zone non soudée                  : ") << zone.GetName() << '\n';
        out << ToReportText("Commentaire associé                        : ") << zone.GetComment()
            << '\n';
        out << ToReportText("Nom du composant auquel la zone appartient : ")
            << zone.GetComponentName() << '\n';
        out << ToReportText("Nom de la courbe de fatigue de la zone     : ") << zone.GetCurveName()
            << '\n';
        out << ToReportText("Valeur du coefficient Kt de la zone        : ") << zone.GetKt() << '\n';
        if (zone.IsDefined() && zone.GetKt() > 1.0001) {
            out << ToReportText("Cette zone doit être calculée avec des contraintes géométriques")
                << '\n';
            out << ToReportText("      ****                             ************************")
                << '\n';
        } else {
            out << ToReportText("Cette zone doit être calculée avec des contraintes totales") << '\n';
            out << ToReportText("      ****                             *******************") << '\n';
        }
        out << '\n';
        return out;
    });
}

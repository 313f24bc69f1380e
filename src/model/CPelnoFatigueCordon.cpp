#include "model/CPelnoFatigueCordon.h"

#include <utility>

#include "app/Guarded.h"
#include "damage/ReportText.h"
#include "deck/BlockReader.h"
#include "deck/CardReader.h"

namespace {

constexpr std::int32_t kBadWeld = 170;

// What the kinds of the two welded components allow inside the block, and the geometry an
// imperfection is read with when no orientation card decides it.
struct Permissions {
    bool orientation = false;   // "*CIRCONFERENTIEL" / "*LONGITUDINAL"
    bool imperfection = false;  // "*IMPERFECTION"
    std::int32_t geometry = CPelnoFatigueImperfection::kUnknown;
};

Permissions PermissionsFor(std::int32_t kind1, std::int32_t kind2)
{
    const std::int32_t cylinder = CPelnoFatigueComposant::kCylinderType;
    const std::int32_t sphere = CPelnoFatigueComposant::kSphereType;
    Permissions allowed;
    if (kind1 == cylinder && kind2 == cylinder) {
        // The orientation card decides the geometry.
        allowed.orientation = true;
        allowed.imperfection = true;
    } else if ((kind1 == cylinder && kind2 == sphere) || (kind1 == sphere && kind2 == cylinder)) {
        allowed.imperfection = true;
        allowed.geometry = CPelnoFatigueImperfection::kCircumferential;
    } else if (kind1 == sphere && kind2 == sphere) {
        allowed.imperfection = true;
        allowed.geometry = CPelnoFatigueImperfection::kSphere;
    }
    // A general component on either side: neither orientation nor imperfection.
    return allowed;
}

}  // namespace

CPelnoFatigueCordon::CPelnoFatigueCordon(const CPelnoFatigueCordon& source)
{
    static const MethodLogName log("CPelnoFatigueCordon::CPelnoFatigueCordon(&SourceObject)");
    Guarded(log, [&] { CopyFrom(source); });
}

CPelnoFatigueCordon& CPelnoFatigueCordon::operator=(const CPelnoFatigueCordon& source)
{
    static const MethodLogName log("CPelnoFatigueCordon::operator=");
    return Guarded(log, [&]() -> CPelnoFatigueCordon& {
        if (this != &source) CopyFrom(source);
        return *this;
    });
}

void CPelnoFatigueCordon::CopyFrom(const CPelnoFatigueCordon& source)
{
    defined_ = source.defined_;
    name_ = source.name_;
    component1_ = source.component1_;
    component2_ = source.component2_;
    classificationName_ = source.classificationName_;
    imperfection_ = source.imperfection_;
}

void CPelnoFatigueCordon::Read(std::istream& input, const std::string& header,
                               const ComponentTable& components,
                               const ClassificationTable& classifications)
{
    static const MethodLogName log("CPelnoFatigueCordon::Read");
    Guarded(log, [&] {
        const std::string name = HeaderName(header);
        std::string classificationName = " ";
        std::string component1 = " ";
        std::string component2 = " ";
        bool classificationGiven = false;
        bool component1Given = false;
        bool component2Given = false;
        // Nothing is allowed until both components are known.
        Permissions allowed;
        CPelnoFatigueImperfection imperfection;

        // Once both components are given, their kinds decide what may follow.
        const auto componentsKnown = [&] {
            if (!component1Given || !component2Given) return;
            const auto first = components.find(component1);
            const auto second = components.find(component2);
            if (first == components.end() || second == components.end()) log.Raise(kBadWeld);
            allowed = PermissionsFor(first->second.GetType(), second->second.GetType());
        };

        BlockReader block(input, log);
        for (;;) {
            const std::string& card = block.NextCard();
            if (IsCard(card, "*CORDON_TYPE")) {
                block.Once(classificationGiven);
                classificationName = CardText(card);
            } else if (IsCard(card, "*COMPOSANT_1")) {
                block.Once(component1Given);
                component1 = CardText(card);
                componentsKnown();
            } else if (IsCard(card, "*COMPOSANT_2")) {
                block.Once(component2Given);
                component2 = CardText(card);
                componentsKnown();
            } else if (IsCard(card, "*CIRCONFERENTIEL")) {
                if (!allowed.orientation) block.Misplaced();
                allowed.orientation = false;
                allowed.geometry = CPelnoFatigueImperfection::kCircumferential;
            } else if (IsCard(card, "*LONGITUDINAL")) {
                if (!allowed.orientation) block.Misplaced();
                allowed.orientation = false;
                allowed.geometry = CPelnoFatigueImperfection::kLongitudinal;
            } else if (IsCard(card, "*IMPERFECTION")) {
                if (!allowed.imperfection) block.Misplaced();
                imperfection.Read(input, card, allowed.geometry);
                // One imperfection, and no orientation card after it.
                allowed.orientation = false;
                allowed.imperfection = false;
            } else if (IsCard(card, "*FIN_CORDON")) {
                if (!classificationGiven || !component1Given || !component2Given) {
                    log.Raise(kBadWeld);
                }
                SetDefinition(components, classifications, name, component1, component2,
                              classificationName, imperfection);
                return;
            } else {
                block.Unknown();
            }
        }
    });
}

void CPelnoFatigueCordon::SetDefinition(const ComponentTable& components,
                                        const ClassificationTable& classifications,
                                        std::string name, std::string component1,
                                        std::string component2, std::string classificationName,
                                        CPelnoFatigueImperfection imperfection)
{
    static const MethodLogName log("CPelnoFatigueCordon::SetDefinition");
    Guarded(log, [&] {
        // The same component may be welded on both sides. The imperfection was validated
        // when it was read.
        if (name == " " || components.find(component1) == components.end() ||
            components.find(component2) == components.end() ||
            classifications.find(classificationName) == classifications.end()) {
            log.Raise(kBadWeld);
        }
        name_ = std::move(name);
        component1_ = std::move(component1);
        component2_ = std::move(component2);
        classificationName_ = std::move(classificationName);
        imperfection_ = imperfection;
        defined_ = true;
    });
}

std::ostream& operator<<(std::ostream& out, const CPelnoFatigueCordon& weld)
{
    static const MethodLogName log("CPelnoFatigueCordon std::ofstream operator<<");
    return Guarded(log, [&]() -> std::ostream& {
        out << '\n';
        out << ToReportText("Nom du cordon de soudure                   : ") << weld.GetName()
            << '\n';
        out << ToReportText("Nom du premier composé soudé               : ")
            << weld.GetComponent1Name() << '\n';
        out << ToReportText("Nom du second composé soudé                : ")
            << weld.GetComponent2Name() << '\n';
        out << ToReportText("Classification de zone soudée selon C11.A5 : ")
            << weld.GetClassificationName() << '\n';
        if (weld.GetImperfection().IsDefined()) {
            out << weld.GetImperfection() << '\n' << '\n';
        } else {
            out << ToReportText("Cordon de soudure sans imperfection de forme !") << '\n' << '\n';
        }
        return out;
    });
}
